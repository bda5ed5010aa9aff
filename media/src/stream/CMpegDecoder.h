#pragma once
// The MPEG audio decoder contract the media library relies on: open a whole
// MPEG file held in memory, read 16-bit little-endian PCM, seek, test for the
// end, report the exact uncompressed size and an information record, close.
// The decoding library is loaded at run time with the first decoder that
// opens and unloaded when the last one closes; without it, Open fails.

#include "media/CMpegAudioStream.h"

#include <cstddef>
#include <cstdint>

class CMpegDecoder {
public:
    CMpegDecoder() = default;
    ~CMpegDecoder() { Close(); }
    CMpegDecoder(const CMpegDecoder&) = delete;
    CMpegDecoder& operator=(const CMpegDecoder&) = delete;

    // `data` must stay valid until Close.
    bool Open(const uint8_t* data, size_t size);
    void Close();
    bool IsOpen() const { return m_handle != nullptr; }

    size_t Read(void* buffer, size_t length);
    // Byte positions of the decoded PCM, clamped to the uncompressed size.
    int64_t Seek(int64_t offset, int origin);
    bool IsAtEnd() const { return m_position >= m_size; }
    int64_t GetUncompressedSize() const { return m_size; }
    void GetInfo(MpegAudioInfo& info) const;

    // Where the decoding library is looked for (tests point it nowhere).
    static void SetLibraryName(const char* name);
    static bool IsLibraryLoaded();

    // The compressed bytes, as the library's reader callbacks see them.
    struct Source {
        const uint8_t* data;
        size_t size;
        size_t position;
    };

private:
    void* m_handle = nullptr;
    Source m_source{nullptr, 0, 0};
    int64_t m_position = 0;
    int64_t m_size = 0;
    MpegAudioInfo m_info;
    bool m_decoderDone = false;
};
