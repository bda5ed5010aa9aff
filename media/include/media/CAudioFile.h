#pragma once
// An audio file: WAV, AIFF, AU/SND, MPEG audio or headerless PCM, opened from
// a file name or a memory block. An open file exposes its wave format and its
// sample data in the WAV conventions (unsigned 8-bit, signed little-endian
// 16-bit), either as a stream (AUDIO_STATE_STREAM) or whole in memory
// (AUDIO_STATE_MEMORY). It
// saves as WAV (with INFO texts), AIFF, AU (linear, mu-law, A-law) or
// headerless PCM; every output file is written whole or not at all.
//
// Every operation reports an AudioResult; a failed Open leaves the object
// empty.

#include "common/CMemoryBlock.h"
#include "common/CSmallString.h"
#include "media/AudioFileTypes.h"
#include "media/CMpegAudioStream.h"
#include "media/CStream.h"
#include "media/WaveFormat.h"

#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct AudioProgress;

// Per-type choices of Save.
struct AudioSaveOption {
    // WAV: the format to write (null: the file's own); the data go through a
    // converter into it. `targetExtra` holds its bytes after the 18.
    const WaveFormat* targetFormat = nullptr;
    std::vector<uint8_t> targetExtra;
    // AU: AU_SAVE_LINEAR, AU_SAVE_MULAW or AU_SAVE_ALAW.
    int auEncoding = AU_SAVE_LINEAR;
    // Headerless PCM: the SampleCode to write (1..6).
    int sampleCode = 0;
};

enum AudioFileState : int {
    AUDIO_STATE_EMPTY = 0,
    AUDIO_STATE_HEADER = 1,   // format known, no data
    AUDIO_STATE_MEMORY = 2,   // data held in memory
    AUDIO_STATE_STREAM = 3,   // data read through a stream
};

class CAudioFile {
public:
    explicit CAudioFile(int flag = 0);
    ~CAudioFile();
    CAudioFile(const CAudioFile&) = delete;
    CAudioFile& operator=(const CAudioFile&) = delete;

    // Opens a file by name. The mode's high 16 bits give the AudioFileType
    // (0: by extension); `raw` describes a headerless PCM file.
    [[nodiscard]] int Open(const std::string& name, uint32_t mode, const RawPcmDesc* raw = nullptr,
             AudioProgressCallback progress = nullptr, void* context = nullptr);
    // Opens the bytes of a block. With AUDIO_OPEN_OWN_BLOCK the block belongs
    // to this object from now on (also when the open fails); otherwise the
    // caller keeps it and must keep it alive while the file is open.
    [[nodiscard]] int Open(CMemoryBlock* block, uint32_t mode, const RawPcmDesc* raw = nullptr,
             AudioProgressCallback progress = nullptr, void* context = nullptr);
    // The save mode's high 16 bits give the AudioSaveType (0: by extension).
    [[nodiscard]] int Save(const std::string& name, uint32_t mode, const AudioSaveOption& option = {},
             AudioProgressCallback progress = nullptr, void* context = nullptr);
    void Close();
    // Holds the given sample data in memory (AUDIO_STATE_MEMORY) with a copy
    // of the format; 1 on success, 0 when the block has no memory (the caller
    // then keeps the block whatever the ownership said).
    [[nodiscard]] int Attach(const WaveFormat& format, CMemoryBlock* block, BlockOwnership ownership);
    // Brings streamed data into memory through a temporary file that is
    // deleted with the data; AUDIO_ERR_NOT_STREAMED unless in AUDIO_STATE_STREAM.
    [[nodiscard]] int LoadIntoMemory(AudioProgressCallback progress = nullptr, void* context = nullptr);

    // INFO texts by tag ("INAM", ...); empty when absent or unknown.
    std::string_view GetInfoText(std::string_view tag) const;
    bool SetInfoText(std::string_view tag, std::string_view text);

    int GetState() const { return m_state; }
    // Null when empty.
    const WaveFormat* GetFormat() const { return m_state ? &m_format : nullptr; }
    int GetFrameCode() const { return m_frameCode; }
    // The sample data in AUDIO_STATE_STREAM (owned by this object), else null.
    CStream* GetDataStream() const { return m_dataStream.get(); }
    // The sample data in AUDIO_STATE_MEMORY (locked while open), else null.
    CMemoryBlock* GetMemoryData() const { return m_memoryData.get(); }
    int GetFileType() const { return m_fileKind; }
    const MpegAudioInfo& GetMpegInfo() const { return m_mpegInfo; }
    // Sample frames of the data (see the implementation for the rules).
    uint32_t GetFrameCount() const;

    // The flag given at construction (the sound device passes 1).
    int GetFlag() const { return m_flag; }
    // Folder for temporary files (empty: the current folder).
    void SetTempFolder(const std::string& folder) { m_tempFolder = folder; }

private:
    int OpenSource(const std::string* name, CMemoryBlock* block, uint32_t mode, const RawPcmDesc* raw,
                   AudioProgressCallback progress, void* context);
    int OpenWavInMemory(CMemoryBlock* source, uint32_t mode, const AudioProgress& progress);
    [[nodiscard]] int LoadIntoMemory(const AudioProgress& progress);
    int SaveWith(const std::string& name, uint32_t mode, const AudioSaveOption& option, const AudioProgress& progress);
    std::string MakeTemporaryFile(int& fd) const;
    // The data from their start, borrowed, in whatever state holds them.
    CStream* OpenDataReader(std::unique_ptr<CStream>& holder);

    int m_state = AUDIO_STATE_EMPTY;
    int m_flag;
    WaveFormat m_format;
    std::vector<uint8_t> m_formatExtra;
    int m_frameCode = 0;
    std::unique_ptr<CMemoryBlock> m_memoryParent;
    std::unique_ptr<CMemoryBlock> m_memoryData;
    bool m_memoryLocked = false;
    std::unique_ptr<CStream> m_dataStream;
    int m_fileKind = AUDIO_FILE_WAV;
    MpegAudioInfo m_mpegInfo;
    std::array<CSmallString, AUDIO_INFO_TAG_COUNT> m_info;
    std::string m_tempFolder;
    std::string m_deleteOnClose;
};
