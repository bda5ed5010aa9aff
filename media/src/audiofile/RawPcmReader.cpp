#include "AudioFileReaders.h"

#include "media/CBlockStream.h"
#include "media/CSampleCodeStream.h"

int ReadRawPcm(CMemoryBlock* source, const RawPcmDesc* desc, bool headerOnly, AudioContent& content)
{
    std::unique_ptr<CMemoryBlock> owned(source);
    if (!desc || desc->size != sizeof(RawPcmDesc) || !IsValidSampleCode(static_cast<int>(desc->sampleCode)) ||
        desc->sampleRate == 0 || desc->channels == 0 || desc->channels > 0xFFFF)
        return AUDIO_ERR_SAVE_TYPE;
    const int code = static_cast<int>(desc->sampleCode);
    const uint16_t bits = SampleCodeBytes(code) == 1 ? 8 : 16;
    content.format = MakePcmFormat(desc->sampleRate, bits, static_cast<uint16_t>(desc->channels));
    if (!NormaliseFormat(content.format))
        return AUDIO_ERR_SAVE_TYPE;
    content.fileKind = AUDIO_FILE_RAW;
    if (headerOnly)
        return AUDIO_OK;
    auto* stream = new CBlockStream(owned.release(), BlockStreamMode::Read, BlockOwnership::Owned);
    content.dataStream = std::make_unique<CSampleCodeStream>(stream, code, bits == 8 ? SAMPLE_CODE_U8 : SAMPLE_CODE_S16LE,
                                                             StreamOwnership::Owned);
    return content.dataStream->GetHealth() ? AUDIO_OK : AUDIO_ERR_OPEN;
}
