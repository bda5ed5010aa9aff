#include "AudioFileWriters.h"

#include "media/CSampleCodeStream.h"

// Nothing but the samples, stored as `sampleCode` says.
int WriteRawPcmFile(const std::string& path, const WaveFormat& sourceFormat, CStream* data, int sampleCode,
                    const AudioProgress& progress)
{
    if (!IsValidSampleCode(sampleCode))
        return AUDIO_ERR_SAVE_TYPE;
    // The code fixes the sample size; the data are brought to it first.
    const uint16_t bits = SampleCodeBytes(sampleCode) == 1 ? 8 : 16;
    auto pcm = OpenPcmReader(sourceFormat, data, bits);
    if (!pcm)
        return AUDIO_ERR_ENCODING;
    CSampleCodeStream samples(pcm.get(), bits == 8 ? SAMPLE_CODE_U8 : SAMPLE_CODE_S16LE, sampleCode,
                              StreamOwnership::Borrowed);
    CAtomicOutputFile file;
    if (!file.Create(path))
        return AUDIO_ERR_CREATE;
    if (CopyToFile(&samples, file, progress) < 0 || !file.Commit())
        return AUDIO_ERR_TEMP_WRITE;
    return AUDIO_OK;
}
