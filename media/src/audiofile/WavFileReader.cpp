#include "AudioFileReaders.h"

#include "common/ByteOrder.h"
#include "media/CBlockStream.h"
#include "media/CRiffParser.h"
#include "media/CWindowStream.h"

#include <algorithm>

namespace {
// No format record needs more than its 18 bytes and 64 KiB of extras, and no
// INFO text is longer than this; larger claims are read only this far.
constexpr uint32_t kMaxFormatBytes = WAVE_FORMAT_RECORD_SIZE + 0xFFFF;
constexpr uint32_t kMaxInfoText = 0x10000;

uint32_t TagOf(const char* text)
{
    return uint32_t(uint8_t(text[0])) | uint32_t(uint8_t(text[1])) << 8 | uint32_t(uint8_t(text[2])) << 16 |
           uint32_t(uint8_t(text[3])) << 24;
}

bool ReadFormat(CRiffParser& parser, CStream* stream, WavLayout& layout)
{
    if (!parser.FindChunk(FourCC("fmt ")))
        return false;
    const uint32_t available = std::min(parser.GetAvailableSize(), kMaxFormatBytes);
    // A 16-byte chunk (no extra-size field) still gives the full record.
    std::vector<uint8_t> bytes(std::max<size_t>(available, WAVE_FORMAT_RECORD_SIZE), 0);
    if (stream->Read(bytes.data(), available) != available)
        return false;
    parser.Ascend();
    layout.format = ReadWaveFormat(bytes.data());
    if (layout.format.IsPcm()) {
        layout.format.extraSize = 0;
    } else {
        // The extras cannot be longer than the chunk that holds them.
        size_t present = available > WAVE_FORMAT_RECORD_SIZE ? available - WAVE_FORMAT_RECORD_SIZE : 0;
        layout.format.extraSize = static_cast<uint16_t>(std::min<size_t>(layout.format.extraSize, present));
        layout.formatExtra.assign(bytes.begin() + WAVE_FORMAT_RECORD_SIZE,
                                  bytes.begin() + WAVE_FORMAT_RECORD_SIZE + layout.format.extraSize);
    }
    return NormaliseFormat(layout.format);
}

void ReadInfoTexts(CRiffParser& parser, CStream* stream, WavLayout& layout)
{
    if (!parser.FindList(FourCC("INFO")))
        return;
    for (size_t i = 0; i < AUDIO_INFO_TAG_COUNT; ++i) {
        if (!parser.FindChunk(TagOf(AUDIO_INFO_TAGS[i])))
            continue;
        std::vector<char> text(std::min(parser.GetAvailableSize(), kMaxInfoText));
        size_t got = stream->Read(text.data(), text.size());
        // The text ends at the first zero byte.
        auto end = std::find(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(got), '\0');
        layout.info[i].Assign(std::string_view(text.data(), static_cast<size_t>(end - text.begin())));
        parser.Ascend();
    }
    parser.Ascend();
}
} // namespace

int ParseWavLayout(CStream* stream, WavLayout& layout)
{
    CRiffParser parser(stream);
    if (!parser.IsUsable() || !parser.DescendForm(FourCC("WAVE")))
        return AUDIO_ERR_STRUCTURE;
    if (!ReadFormat(parser, stream, layout))
        return AUDIO_ERR_STRUCTURE;
    if (!parser.FindChunk(FourCC("data")))
        return AUDIO_ERR_STRUCTURE;
    layout.dataStart = parser.GetChunkStart();
    layout.dataSize = parser.GetChunkSize();
    if (layout.dataStart + layout.dataSize > stream->GetSize())
        return AUDIO_ERR_STRUCTURE;
    parser.Ascend();
    ReadInfoTexts(parser, stream, layout);
    return AUDIO_OK;
}

int ReadWavStreamed(CMemoryBlock* source, bool headerOnly, AudioContent& content)
{
    auto stream = std::make_unique<CBlockStream>(source, BlockStreamMode::Read, BlockOwnership::Owned);
    WavLayout layout;
    int result = ParseWavLayout(stream.get(), layout);
    if (result != AUDIO_OK)
        return result;
    content.format = layout.format;
    content.formatExtra = std::move(layout.formatExtra);
    content.info = layout.info;
    content.fileKind = AUDIO_FILE_WAV;
    if (!headerOnly)
        content.dataStream = std::make_unique<CWindowStream>(stream.release(), layout.dataStart, layout.dataSize,
                                                             StreamOwnership::Owned);
    return AUDIO_OK;
}
