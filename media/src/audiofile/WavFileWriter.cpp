#include "AudioFileWriters.h"

#include "common/ByteOrder.h"
#include "media/CFormatConverter.h"

#include <cstring>

namespace {
bool WriteChunkHeader(CAtomicOutputFile& file, const char (&id)[5], uint32_t size)
{
    uint8_t header[8];
    std::memcpy(header, id, 4);
    WriteLE32(header + 4, size);
    return file.Write(header, sizeof header);
}

bool WritePad(CAtomicOutputFile& file, uint64_t chunkSize)
{
    const uint8_t zero = 0;
    return (chunkSize & 1) == 0 || file.Write(&zero, 1);
}

bool WriteInfoList(CAtomicOutputFile& file, const InfoTexts& info)
{
    bool any = false;
    for (const CSmallString& text : info)
        any = any || !text.IsEmpty();
    if (!any)
        return true;
    const uint64_t listStart = file.Size();
    if (!WriteChunkHeader(file, "LIST", 0) || !file.Write("INFO", 4))
        return false;
    for (size_t i = 0; i < AUDIO_INFO_TAG_COUNT; ++i) {
        if (info[i].IsEmpty())
            continue;
        // The text with its terminating zero.
        const uint32_t size = static_cast<uint32_t>(info[i].Length() + 1);
        uint8_t header[8];
        std::memcpy(header, AUDIO_INFO_TAGS[i], 4);
        WriteLE32(header + 4, size);
        if (!file.Write(header, 8) || !file.Write(info[i].CStr(), size) || !WritePad(file, size))
            return false;
    }
    uint8_t size[4];
    WriteLE32(size, static_cast<uint32_t>(file.Size() - listStart - 8));
    return file.WriteAt(listStart + 4, size, 4);
}
} // namespace

int WriteWavFile(const std::string& path, const WaveFormat& sourceFormat, CStream* data, const WaveFormat& target,
                 const std::vector<uint8_t>& targetExtra, const InfoTexts& info, const AudioProgress& progress)
{
    CFormatConverter converter(sourceFormat, target, data, StreamOwnership::Borrowed);
    if (!converter.GetHealth())
        return AUDIO_ERR_ENCODING;
    converter.Seek(0, STREAM_SEEK_SET);

    CAtomicOutputFile file;
    if (!file.Create(path))
        return AUDIO_ERR_CREATE;
    // The format record: 18 bytes for PCM, 18 + extra size otherwise.
    WaveFormat stored = target;
    if (stored.IsPcm())
        stored.extraSize = 0;
    else
        stored.extraSize = static_cast<uint16_t>(std::min<size_t>(stored.extraSize, targetExtra.size()));
    std::vector<uint8_t> record(WaveFormatCopyLength(stored));
    StoreWaveFormat(stored, record.data());
    if (stored.extraSize)
        std::memcpy(record.data() + WAVE_FORMAT_RECORD_SIZE, targetExtra.data(), stored.extraSize);

    if (!file.Write("RIFF\0\0\0\0WAVE", 12) || !WriteChunkHeader(file, "fmt ", static_cast<uint32_t>(record.size())) ||
        !file.Write(record.data(), record.size()) || !WritePad(file, record.size()))
        return AUDIO_ERR_WRITE;
    const uint64_t dataHeader = file.Size();
    if (!WriteChunkHeader(file, "data", 0))
        return AUDIO_ERR_WRITE;
    const int64_t dataBytes = CopyToFile(&converter, file, progress);
    // A RIFF file cannot describe more than 4 GiB.
    if (dataBytes < 0 || dataBytes > 0xFFFF0000LL)
        return AUDIO_ERR_WRITE;
    uint8_t size[4];
    WriteLE32(size, static_cast<uint32_t>(dataBytes));
    if (!file.WriteAt(dataHeader + 4, size, 4) || !WritePad(file, static_cast<uint64_t>(dataBytes)) ||
        !WriteInfoList(file, info))
        return AUDIO_ERR_WRITE;
    if (file.Size() - 8 > 0xFFFFFFFFULL)
        return AUDIO_ERR_WRITE;
    WriteLE32(size, static_cast<uint32_t>(file.Size() - 8));
    if (!file.WriteAt(4, size, 4) || !file.Commit())
        return AUDIO_ERR_WRITE;
    return AUDIO_OK;
}
