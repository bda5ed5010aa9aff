#include "AudioFileReaders.h"

int ReadMpeg(CMemoryBlock* source, bool headerOnly, AudioContent& content)
{
    auto stream = std::make_unique<CMpegAudioStream>(source);
    if (!stream->GetHealth())
        return AUDIO_ERR_WRITE;
    MpegAudioInfo info;
    if (!stream->GetInfo(info) || info.channels == 0 || info.channels > 2)
        return AUDIO_ERR_WRITE;
    content.format = MakePcmFormat(info.sampleRate, 16, static_cast<uint16_t>(info.channels));
    if (!NormaliseFormat(content.format))
        return AUDIO_ERR_WRITE;
    content.mpegInfo = info;
    content.fileKind = AUDIO_FILE_MPEG;
    if (!headerOnly)
        content.dataStream = std::move(stream);
    return AUDIO_OK;
}
