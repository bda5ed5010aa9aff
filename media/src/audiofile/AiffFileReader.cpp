#include "AiffRate.h"
#include "AudioFileReaders.h"

#include "common/ByteOrder.h"
#include "media/CBlockStream.h"
#include "media/CSampleCodeStream.h"
#include "media/CWindowStream.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr size_t kCommBytes = 18;

struct AiffChunks {
    bool commFound = false;
    uint8_t comm[18] = {};
    bool ssndFound = false;
    uint64_t ssndStart = 0;
    uint64_t ssndLength = 0;
};

// Walks the chunks after the form type. A chunk that claims more than the file
// holds ends the walk; what was found before it stays valid.
int FindChunks(const uint8_t* data, uint64_t size, AiffChunks& chunks)
{
    uint64_t position = 12;
    while (position + 8 <= size) {
        const uint32_t id = ReadLE32(data + position);
        const uint64_t length = ReadBE32(data + position + 4);
        const uint64_t body = position + 8;
        const uint64_t available = size - body;
        if (id == FourCC("COMM")) {
            if (length < kCommBytes || available < kCommBytes)
                return AUDIO_ERR_STRUCTURE;
            chunks.commFound = true;
            std::memcpy(chunks.comm, data + body, kCommBytes);
        } else if (id == FourCC("SSND")) {
            if (length < 8 || available < 8)
                return AUDIO_ERR_STRUCTURE;
            const uint64_t offset = ReadBE32(data + body);
            // The samples follow the offset and block-size fields, after
            // `offset` bytes of alignment; all of it inside the chunk and the file.
            if (offset > length - 8 || length > available)
                return AUDIO_ERR_STRUCTURE;
            chunks.ssndFound = true;
            chunks.ssndStart = body + 8 + offset;
            chunks.ssndLength = length - 8 - offset;
        }
        if (length > available)
            break;
        // IFF pads odd-sized chunks to an even length.
        position = body + length + (length & 1);
    }
    return AUDIO_OK;
}
} // namespace

int ReadAiff(CMemoryBlock* source, bool headerOnly, AudioContent& content)
{
    std::unique_ptr<CMemoryBlock> owned(source);
    const uint8_t* data = source->Lock();
    if (!data)
        return AUDIO_ERR_OPEN;
    const uint64_t size = source->Size();
    AiffChunks chunks;
    int result = AUDIO_ERR_STRUCTURE;
    if (size >= 12 && ReadLE32(data) == FourCC("FORM") && ReadLE32(data + 8) == FourCC("AIFF"))
        result = FindChunks(data, size, chunks);
    source->Unlock();
    if (result != AUDIO_OK)
        return result;
    if (!chunks.commFound || (!headerOnly && !chunks.ssndFound))
        return AUDIO_ERR_STRUCTURE;

    const uint16_t channels = ReadBE16(chunks.comm);
    const uint32_t frames = ReadBE32(chunks.comm + 2);
    const uint16_t sampleSize = ReadBE16(chunks.comm + 6);
    const uint32_t rate = ReadAiffRate(chunks.comm + 8);
    if (rate == 0 || channels == 0)
        return AUDIO_ERR_STRUCTURE;
    // Samples of up to 8 bits take one byte, up to 16 bits two; wider
    // samples are not read as something they are not.
    if (sampleSize == 0 || sampleSize > 16)
        return AUDIO_ERR_ENCODING;
    const uint16_t bits = sampleSize <= 8 ? 8 : 16;
    content.format = MakePcmFormat(rate, bits, channels);
    if (!NormaliseFormat(content.format))
        return AUDIO_ERR_STRUCTURE;
    content.fileKind = AUDIO_FILE_AIFF;
    if (headerOnly)
        return AUDIO_OK;

    // The frame count is authoritative when the chunk holds more (padding).
    const uint64_t length = std::min<uint64_t>(chunks.ssndLength, uint64_t(frames) * content.format.blockAlign);
    auto* stream = new CBlockStream(owned.release(), BlockStreamMode::Read, BlockOwnership::Owned);
    auto* window = new CWindowStream(stream, static_cast<int64_t>(chunks.ssndStart), static_cast<int64_t>(length),
                                     StreamOwnership::Owned);
    content.dataStream = std::make_unique<CSampleCodeStream>(
        window, bits == 8 ? SAMPLE_CODE_S8 : SAMPLE_CODE_S16BE, bits == 8 ? SAMPLE_CODE_U8 : SAMPLE_CODE_S16LE,
        StreamOwnership::Owned);
    return AUDIO_OK;
}
