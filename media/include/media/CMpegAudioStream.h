#pragma once
// 16-bit PCM decoded from an MPEG audio file (layers I-III) held whole in a
// CMemoryBlock. The decoding library is an optional run-time component: when
// it is missing or refuses the data the stream is unusable (health 0).

#include "common/CMemoryBlock.h"
#include "media/CStream.h"

#include <memory>

// What the decoder reports about a file. The first field is the record's own
// size (40); rate and channels describe the PCM the stream yields.
struct MpegAudioInfo {
    uint32_t size = sizeof(MpegAudioInfo);
    uint32_t version = 0;      // 1 = MPEG-1, 2 = MPEG-2, 3 = MPEG-2.5
    uint32_t layer = 0;
    uint32_t bitrate = 0;      // kilobits per second of the first frame
    uint32_t sampleRate = 0;
    uint32_t channels = 0;
    uint32_t mode = 0;         // 0 stereo, 1 joint stereo, 2 dual channel, 3 mono
    uint32_t frameBytes = 0;   // bytes per PCM frame (channels x 2)
    uint32_t sampleFrames = 0; // PCM frames in the whole file
    uint32_t flags = 0;
};
static_assert(sizeof(MpegAudioInfo) == 40, "the information record is 40 bytes");

class CMpegDecoder;

class CMpegAudioStream : public CStream {
public:
    // Takes the block over: it is deleted with the stream (also when the
    // stream turns out unusable).
    explicit CMpegAudioStream(CMemoryBlock* source);
    ~CMpegAudioStream() override;
    CMpegAudioStream(const CMpegAudioStream&) = delete;
    CMpegAudioStream& operator=(const CMpegAudioStream&) = delete;

    size_t Read(void* buffer, size_t length) override;
    int64_t Seek(int64_t offset, int origin) override;
    bool IsAtEnd() override;
    uint32_t GetCapabilities() const override;
    int GetHealth() const override { return m_usable ? 1 : 0; }
    // The exact number of PCM bytes the stream yields.
    int64_t GetSize() override;

    // Fills the record; `info.size` must be 40 on entry. False when unusable.
    bool GetInfo(MpegAudioInfo& info) const;

    // The decoding library's file name; null restores the default. Tests use
    // a name that does not exist to run without the library.
    static void SetDecoderLibraryName(const char* name);
    // True while a decoder stream holds the library loaded.
    static bool IsDecoderLibraryLoaded();

private:
    bool m_usable = false;
    CMemoryBlock* m_source;
    std::unique_ptr<CMpegDecoder> m_decoder;
};
