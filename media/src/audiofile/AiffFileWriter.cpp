#include "AiffRate.h"
#include "AudioFileWriters.h"

#include "common/ByteOrder.h"
#include "media/CSampleCodeStream.h"

#include <cstring>

// Layout: "FORM" <size> "AIFF", "COMM" 18 (channels, frames, sample size,
// rate), "SSND" <data + 8> (offset 0, block size 0) and the samples, signed
// 8-bit or big-endian 16-bit. All numbers big-endian.
int WriteAiffFile(const std::string& path, const WaveFormat& sourceFormat, CStream* data,
                  const AudioProgress& progress)
{
    // AIFF holds 8- or 16-bit PCM; anything else is written as 16-bit PCM.
    const bool keep8 = sourceFormat.IsPcm() && sourceFormat.bitsPerSample == 8;
    const uint16_t bits = keep8 ? 8 : 16;
    auto pcm = OpenPcmReader(sourceFormat, data, bits);
    if (!pcm)
        return AUDIO_ERR_ENCODING;
    CSampleCodeStream samples(pcm.get(), bits == 8 ? SAMPLE_CODE_U8 : SAMPLE_CODE_S16LE,
                              bits == 8 ? SAMPLE_CODE_S8 : SAMPLE_CODE_S16BE, StreamOwnership::Borrowed);

    CAtomicOutputFile file;
    if (!file.Create(path))
        return AUDIO_ERR_CREATE;
    uint8_t header[54] = {};
    std::memcpy(header, "FORM", 4);
    std::memcpy(header + 8, "AIFF", 4);
    std::memcpy(header + 12, "COMM", 4);
    WriteBE32(header + 16, 18);
    WriteBE16(header + 20, sourceFormat.channels);
    WriteBE16(header + 26, bits);
    WriteAiffRate(sourceFormat.samplesPerSec, header + 28);
    std::memcpy(header + 38, "SSND", 4);
    if (!file.Write(header, sizeof header))
        return AUDIO_ERR_WRITE;
    const int64_t dataBytes = CopyToFile(&samples, file, progress);
    if (dataBytes < 0 || dataBytes > 0xFFFF0000LL)
        return AUDIO_ERR_WRITE;
    const uint32_t frameBytes = static_cast<uint32_t>(bits / 8 * sourceFormat.channels);
    const uint32_t padded = static_cast<uint32_t>(dataBytes + (dataBytes & 1));
    WriteBE32(header + 4, padded + 46);
    WriteBE32(header + 22, static_cast<uint32_t>(dataBytes) / frameBytes);
    WriteBE32(header + 42, static_cast<uint32_t>(dataBytes) + 8);
    const uint8_t pad = 0;
    // Chunks are padded to an even length, counted in the form's size.
    if ((dataBytes & 1) && !file.Write(&pad, 1))
        return AUDIO_ERR_WRITE;
    if (!file.WriteAt(0, header, sizeof header) || !file.Commit())
        return AUDIO_ERR_WRITE;
    return AUDIO_OK;
}
