#include "AudioTestSupport.h"
#include "common/ByteOrder.h"
#include "media/CBlockStream.h"
#include "media/CRiffParser.h"

#include <gtest/gtest.h>

using namespace audiotest;

namespace {
struct ParsedBytes {
    explicit ParsedBytes(const Bytes& bytes)
        : stream(CMemoryBlock::Wrap(const_cast<uint8_t*>(bytes.data()), bytes.size(), BlockOwnership::Borrowed),
                 BlockStreamMode::Read, BlockOwnership::Owned),
          parser(&stream)
    {
    }
    CBlockStream stream;
    CRiffParser parser;
};
} // namespace

TEST(CRiffParser, SkipsOddChunksWithTheirPadByte)
{
    Bytes chunks;
    PutChunk(chunks, "odd ", Bytes{1, 2, 3});
    PutChunk(chunks, "next", Bytes{9, 8});
    Bytes file = Riff(chunks);
    ParsedBytes p(file);
    ASSERT_TRUE(p.parser.DescendForm(FourCC("WAVE")));
    ASSERT_TRUE(p.parser.FindChunk(FourCC("next")));
    EXPECT_EQ(p.parser.GetChunkSize(), 2u);
    uint8_t b[2];
    ASSERT_EQ(p.stream.Read(b, 2), 2u);
    EXPECT_EQ(b[0], 9);
    p.parser.Ascend();
    // Searches start over at the parent's data after an ascent.
    EXPECT_TRUE(p.parser.FindChunk(FourCC("odd ")));
    p.parser.Ascend();
    EXPECT_FALSE(p.parser.FindChunk(FourCC("gone")));
}

TEST(CRiffParser, FindsListsByTypeAndChunksInsideThem)
{
    Bytes inner;
    PutTag(inner, "INFO");
    PutChunk(inner, "INAM", Bytes{'h', 'i', 0});
    Bytes other;
    PutTag(other, "adtl");
    Bytes chunks;
    PutChunk(chunks, "LIST", other);
    PutChunk(chunks, "LIST", inner);
    Bytes file = Riff(chunks);
    ParsedBytes p(file);
    ASSERT_TRUE(p.parser.DescendForm(FourCC("WAVE")));
    ASSERT_TRUE(p.parser.FindList(FourCC("INFO")));
    EXPECT_EQ(p.parser.GetDepth(), 2u);
    ASSERT_TRUE(p.parser.FindChunk(FourCC("INAM")));
    EXPECT_EQ(p.parser.GetChunkSize(), 3u);
    p.parser.Ascend();
    p.parser.Ascend();
    EXPECT_FALSE(p.parser.FindList(FourCC("none")));
    // Nothing can be searched inside a plain chunk.
    ASSERT_TRUE(p.parser.FindChunk(FourCC("LIST")));
    EXPECT_FALSE(p.parser.FindChunk(FourCC("INAM")));
}

TEST(CRiffParser, RefusesWrongFormsAndHostileSizes)
{
    Bytes chunks;
    PutChunk(chunks, "junk", Bytes{});
    Bytes wrongForm = Riff(chunks, "AVI ");
    ParsedBytes a(wrongForm);
    EXPECT_FALSE(a.parser.DescendForm(FourCC("WAVE")));

    Bytes notRiff = Riff(chunks);
    notRiff[0] = 'X';
    ParsedBytes b(notRiff);
    EXPECT_FALSE(b.parser.DescendForm(FourCC("WAVE")));

    // A chunk claiming 4 GiB ends the search instead of wrapping around.
    Bytes huge;
    PutChunk(huge, "big ", Bytes{1, 2, 3, 4}, 0xFFFFFFF0u);
    PutChunk(huge, "data", Bytes{1});
    Bytes hugeFile = Riff(huge);
    ParsedBytes c(hugeFile);
    ASSERT_TRUE(c.parser.DescendForm(FourCC("WAVE")));
    EXPECT_FALSE(c.parser.FindChunk(FourCC("data")));
    ASSERT_TRUE(c.parser.FindChunk(FourCC("big ")));
    EXPECT_EQ(c.parser.GetAvailableSize(), hugeFile.size() - 20);

    // Many empty chunks: each step still moves forward.
    Bytes empties;
    for (int i = 0; i < 1000; ++i)
        PutChunk(empties, "zero", Bytes{});
    Bytes emptyFile = Riff(empties);
    ParsedBytes d(emptyFile);
    ASSERT_TRUE(d.parser.DescendForm(FourCC("WAVE")));
    EXPECT_FALSE(d.parser.FindChunk(FourCC("data")));

    // A truncated header.
    Bytes stub = {'R', 'I', 'F', 'F', 4, 0};
    ParsedBytes e(stub);
    EXPECT_FALSE(e.parser.DescendForm(FourCC("WAVE")));
}
