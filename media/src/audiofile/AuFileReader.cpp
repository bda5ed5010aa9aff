#include "AudioFileReaders.h"
#include "AuFormat.h"

#include "common/ByteOrder.h"
#include "media/CBlockStream.h"
#include "media/CFormatConverter.h"
#include "media/CSampleCodeStream.h"
#include "media/CWindowStream.h"

namespace {
constexpr uint32_t kMinHeader = 24;      // the fixed fields; annotations follow
constexpr uint32_t kUnknownSize = 0xFFFFFFFF;
} // namespace

int ReadAu(CMemoryBlock* source, bool headerOnly, AudioContent& content)
{
    std::unique_ptr<CMemoryBlock> owned(source);
    const uint8_t* data = source->Lock();
    if (!data)
        return AUDIO_ERR_OPEN;
    const uint64_t size = source->Size();
    uint32_t header[6] = {};
    if (size >= kMinHeader)
        for (int i = 0; i < 6; ++i)
            header[i] = ReadBE32(data + 4 * i);
    source->Unlock();
    if (size < kMinHeader || header[0] != kAuMagic)
        return AUDIO_ERR_STRUCTURE;
    const uint32_t dataOffset = header[1];
    uint64_t dataSize = header[2];
    const uint32_t encoding = header[3];
    const uint32_t rate = header[4];
    const uint32_t channels = header[5];
    if (dataOffset < kMinHeader || dataOffset > size || rate == 0 || channels == 0 || channels > 0xFFFF)
        return AUDIO_ERR_STRUCTURE;
    // Streams written before their length was known say "unknown": the
    // samples run to the end of the file.
    if (dataSize == kUnknownSize)
        dataSize = size - dataOffset;
    if (dataSize > size - dataOffset)
        return AUDIO_ERR_STRUCTURE;

    uint16_t law = 0;
    switch (encoding) {
    case AU_MULAW:
        law = WAVE_FORMAT_MULAW;
        break;
    case AU_ALAW:
        law = WAVE_FORMAT_ALAW;
        break;
    case AU_LINEAR8:
    case AU_LINEAR16:
        break;
    default:
        return AUDIO_ERR_ENCODING;
    }
    content.format = MakePcmFormat(rate, encoding == AU_LINEAR8 ? 8 : 16, static_cast<uint16_t>(channels));
    if (!NormaliseFormat(content.format))
        return AUDIO_ERR_STRUCTURE;
    content.fileKind = AUDIO_FILE_AU;
    if (headerOnly)
        return AUDIO_OK;

    auto* stream = new CBlockStream(owned.release(), BlockStreamMode::Read, BlockOwnership::Owned);
    auto* window = new CWindowStream(stream, dataOffset, static_cast<int64_t>(dataSize), StreamOwnership::Owned);
    if (law) {
        WaveFormat coded = content.format;
        coded.formatTag = law;
        coded.bitsPerSample = 8;
        coded.blockAlign = static_cast<uint16_t>(channels);
        coded.avgBytesPerSec = rate * channels;
        content.dataStream =
            std::make_unique<CFormatConverter>(coded, content.format, window, StreamOwnership::Owned);
    } else if (encoding == AU_LINEAR8) {
        content.dataStream =
            std::make_unique<CSampleCodeStream>(window, SAMPLE_CODE_S8, SAMPLE_CODE_U8, StreamOwnership::Owned);
    } else {
        content.dataStream =
            std::make_unique<CSampleCodeStream>(window, SAMPLE_CODE_S16BE, SAMPLE_CODE_S16LE, StreamOwnership::Owned);
    }
    return content.dataStream->GetHealth() ? AUDIO_OK : AUDIO_ERR_ENCODING;
}
