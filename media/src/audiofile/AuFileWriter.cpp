#include "AudioFileWriters.h"
#include "AuFormat.h"

#include "common/ByteOrder.h"
#include "media/CFormatConverter.h"
#include "media/CSampleCodeStream.h"

#include <cstring>

// The header the writer writes: the fixed fields and a four-byte annotation.
constexpr uint32_t kAuHeaderBytes = 28;

// Header: magic, header size 28, data size, encoding, rate, channels and the
// annotation "mood"; then the samples, all numbers big-endian.
int WriteAuFile(const std::string& path, const WaveFormat& sourceFormat, CStream* data, int encodingChoice,
                const AudioProgress& progress)
{
    std::unique_ptr<CStream> pcm;
    std::unique_ptr<CStream> samples;
    uint32_t encoding = 0;
    if (encodingChoice == AU_SAVE_LINEAR) {
        // Linear AU holds 8- or 16-bit samples; anything else goes as 16-bit.
        const bool keep8 = sourceFormat.IsPcm() && sourceFormat.bitsPerSample == 8;
        pcm = OpenPcmReader(sourceFormat, data, keep8 ? 8 : 16);
        if (!pcm)
            return AUDIO_ERR_ENCODING;
        encoding = keep8 ? AU_LINEAR8 : AU_LINEAR16;
        samples = std::make_unique<CSampleCodeStream>(pcm.get(), keep8 ? SAMPLE_CODE_U8 : SAMPLE_CODE_S16LE,
                                                      keep8 ? SAMPLE_CODE_S8 : SAMPLE_CODE_S16BE,
                                                      StreamOwnership::Borrowed);
    } else if (encodingChoice == AU_SAVE_MULAW || encodingChoice == AU_SAVE_ALAW) {
        WaveFormat law;
        law.formatTag = encodingChoice == AU_SAVE_MULAW ? WAVE_FORMAT_MULAW : WAVE_FORMAT_ALAW;
        law.channels = sourceFormat.channels;
        law.samplesPerSec = sourceFormat.samplesPerSec;
        law.bitsPerSample = 8;
        law.blockAlign = sourceFormat.channels;
        law.avgBytesPerSec = sourceFormat.samplesPerSec * sourceFormat.channels;
        encoding = encodingChoice == AU_SAVE_MULAW ? AU_MULAW : AU_ALAW;
        samples = std::make_unique<CFormatConverter>(sourceFormat, law, data, StreamOwnership::Borrowed);
        if (!samples->GetHealth())
            return AUDIO_ERR_AU_CONVERTER;
        samples->Seek(0, STREAM_SEEK_SET);
    } else {
        return AUDIO_ERR_SAVE_TYPE;
    }

    CAtomicOutputFile file;
    if (!file.Create(path))
        return AUDIO_ERR_CREATE;
    uint8_t header[kAuHeaderBytes];
    WriteBE32(header, kAuMagic);
    WriteBE32(header + 4, kAuHeaderBytes);
    WriteBE32(header + 8, 0);
    WriteBE32(header + 12, encoding);
    WriteBE32(header + 16, sourceFormat.samplesPerSec);
    WriteBE32(header + 20, sourceFormat.channels);
    std::memcpy(header + 24, "mood", 4);
    if (!file.Write(header, sizeof header))
        return AUDIO_ERR_WRITE;
    const int64_t dataBytes = CopyToFile(samples.get(), file, progress);
    if (dataBytes < 0 || dataBytes >= 0xFFFFFFFFLL)
        return AUDIO_ERR_WRITE;
    WriteBE32(header + 8, static_cast<uint32_t>(dataBytes));
    if (!file.WriteAt(0, header, sizeof header) || !file.Commit())
        return AUDIO_ERR_WRITE;
    return AUDIO_OK;
}
