// Walks arbitrary bytes as a RIFF file: descends into the form (whatever its
// type), searches for the chunks a WAV file has and into LIST chunks, nested
// as deep as the parser allows, reading what it finds.

#include "common/ByteOrder.h"
#include "media/CBlockStream.h"
#include "media/CRiffParser.h"

#include <cstdlib>
#include <vector>

namespace {
void Search(CRiffParser& parser, CStream& stream, int depth)
{
    static const char* const kIds[] = {"fmt ", "data", "fact", "LIST", "INAM", "IART", "ICMT"};
    std::vector<uint8_t> buffer(256);
    for (const char* id : kIds) {
        uint32_t tag = uint32_t(uint8_t(id[0])) | uint32_t(uint8_t(id[1])) << 8 | uint32_t(uint8_t(id[2])) << 16 |
                       uint32_t(uint8_t(id[3])) << 24;
        if (!parser.FindChunk(tag))
            continue;
        if (parser.GetAvailableSize() > parser.GetChunkSize())
            std::abort();
        stream.Read(buffer.data(), buffer.size());
        parser.Ascend();
    }
    for (uint32_t type : {FourCC("INFO"), FourCC("adtl")}) {
        if (depth < 20 && parser.FindList(type)) {
            const size_t before = parser.GetDepth();
            Search(parser, stream, depth + 1);
            if (parser.GetDepth() != before)
                std::abort();
            parser.Ascend();
        }
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 12)
        return 0;
    CBlockStream stream(CMemoryBlock::Wrap(const_cast<uint8_t*>(data), size, BlockOwnership::Borrowed),
                        BlockStreamMode::Read, BlockOwnership::Owned);
    CRiffParser parser(&stream);
    if (parser.DescendForm(ReadLE32(data + 8)))
        Search(parser, stream, 0);
    return 0;
}
