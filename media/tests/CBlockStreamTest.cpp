#include "AudioTestSupport.h"
#include "media/CBlockStream.h"
#include "media/CSampleCodeStream.h"
#include "media/CWindowStream.h"

#include <gtest/gtest.h>
#include <memory>

using namespace audiotest;

namespace {
Bytes Counting(size_t n)
{
    Bytes b(n);
    for (size_t i = 0; i < n; ++i)
        b[i] = static_cast<uint8_t>(i);
    return b;
}

// A stream that reads but cannot seek.
class ForwardOnly : public CStream {
public:
    size_t Read(void*, size_t) override { return 0; }
    int64_t Seek(int64_t, int) override { return 0; }
    bool IsAtEnd() override { return true; }
    uint32_t GetCapabilities() const override { return STREAM_CAN_READ; }
    int GetHealth() const override { return 1; }
    int64_t GetSize() override { return 0; }
};
} // namespace

TEST(CBlockStream, ReadsSeeksAndClampsWithinTheBlock)
{
    CBlockStream stream(BlockOf(Counting(100)), BlockStreamMode::Read, BlockOwnership::Owned);
    EXPECT_EQ(stream.GetHealth(), 1);
    EXPECT_EQ(stream.GetCapabilities(), 0xFu);
    EXPECT_EQ(stream.GetSize(), 100);
    uint8_t buffer[64];
    EXPECT_EQ(stream.Read(buffer, 10), 10u);
    EXPECT_EQ(buffer[9], 9);
    EXPECT_EQ(stream.Seek(-5, STREAM_SEEK_END), 95);
    EXPECT_EQ(stream.Read(buffer, 64), 5u);
    EXPECT_TRUE(stream.IsAtEnd());
    EXPECT_EQ(stream.Read(buffer, 64), 0u);
    EXPECT_EQ(stream.Seek(-10, STREAM_SEEK_SET), 0);
    EXPECT_EQ(stream.Seek(1000, STREAM_SEEK_CUR), 100);
    EXPECT_EQ(stream.Seek(INT64_MAX, STREAM_SEEK_END), 100);
    EXPECT_EQ(stream.Write(buffer, 4), 0u) << "a reading stream does not write";
}

TEST(CBlockStream, WritingGrowsAndKeepsWhatWasWritten)
{
    std::unique_ptr<CBlockStream> stream(CBlockStream::CreateWriter(4));
    EXPECT_EQ(stream->GetHealth(), 2);
    Bytes data = Counting(70000);
    EXPECT_EQ(stream->Write(data.data(), 3), 3u);
    EXPECT_EQ(stream->Write(data.data() + 3, data.size() - 3), data.size() - 3);
    EXPECT_EQ(stream->GetSize(), 70000);
    EXPECT_GE(stream->GetBlock()->Size(), 70000u + 32768u);
    EXPECT_EQ(std::memcmp(stream->GetData(), data.data(), data.size()), 0);
    // Overwrite in the middle: the length stays.
    stream->Seek(10, STREAM_SEEK_SET);
    uint8_t x = 0xEE;
    stream->Write(&x, 1);
    EXPECT_EQ(stream->GetSize(), 70000);
    EXPECT_EQ(stream->GetData()[10], 0xEE);
}

TEST(CBlockStream, NullOrEmptyBlocks)
{
    CBlockStream none(nullptr, BlockStreamMode::Read, BlockOwnership::Borrowed);
    EXPECT_EQ(none.GetHealth(), 0);
    uint8_t b;
    EXPECT_EQ(none.Read(&b, 1), 0u);
    CBlockStream empty(CMemoryBlock::Allocate(0), BlockStreamMode::Read, BlockOwnership::Owned);
    EXPECT_EQ(empty.GetHealth(), 1);
    EXPECT_TRUE(empty.IsAtEnd());
}

TEST(CWindowStream, SeeksAndReadsInsideItsRange)
{
    CBlockStream base(BlockOf(Counting(100)), BlockStreamMode::Read, BlockOwnership::Owned);
    CWindowStream window(&base, 20, 30, StreamOwnership::Borrowed);
    ASSERT_EQ(window.GetHealth(), 1);
    EXPECT_EQ(window.GetCapabilities(), 5u);
    EXPECT_EQ(window.GetSize(), 30);
    uint8_t buffer[64];
    window.Read(buffer, 3);
    EXPECT_EQ(window.Seek(0, STREAM_SEEK_SET), 0);
    ASSERT_EQ(window.Read(buffer, 1), 1u);
    EXPECT_EQ(buffer[0], 20) << "position 0 is the window's start in the base";
    EXPECT_EQ(window.Read(buffer, 64), 29u);
    EXPECT_EQ(buffer[28], 49);
    EXPECT_TRUE(window.IsAtEnd());
    EXPECT_EQ(window.Seek(-4, STREAM_SEEK_END), 26);
    EXPECT_EQ(window.Seek(-100, STREAM_SEEK_CUR), 0);
    EXPECT_EQ(window.Seek(100, STREAM_SEEK_CUR), 30);
    // The shared base moved elsewhere: the window reads nothing.
    base.Seek(0, STREAM_SEEK_SET);
    EXPECT_EQ(window.Read(buffer, 4), 0u);
}

TEST(CWindowStream, RefusesBadBasesAndShortensOverlongRanges)
{
    ForwardOnly forward;
    CWindowStream overForward(&forward, 0, 10, StreamOwnership::Borrowed);
    EXPECT_EQ(overForward.GetHealth(), 0);

    CBlockStream base(BlockOf(Counting(10)), BlockStreamMode::Read, BlockOwnership::Owned);
    CWindowStream beyond(&base, 11, 4, StreamOwnership::Borrowed);
    EXPECT_EQ(beyond.GetHealth(), 0);
    CWindowStream tooLong(&base, 6, 1000, StreamOwnership::Borrowed);
    EXPECT_EQ(tooLong.GetSize(), 4);
    EXPECT_EQ(ReadAll(&tooLong).size(), 4u);
}

TEST(CSampleCodeStream, ConvertsSignAndByteOrder)
{
    Bytes be = {0x12, 0x34};
    CSampleCodeStream swap(new CBlockStream(BlockOf(be), BlockStreamMode::Read, BlockOwnership::Owned),
                           SAMPLE_CODE_S16BE, SAMPLE_CODE_S16LE, StreamOwnership::Owned);
    EXPECT_EQ(ReadAll(&swap), (Bytes{0x34, 0x12}));

    Bytes s8 = {0x00, 0x7F, 0x80, 0xFF};
    CSampleCodeStream sign(new CBlockStream(BlockOf(s8), BlockStreamMode::Read, BlockOwnership::Owned),
                           SAMPLE_CODE_S8, SAMPLE_CODE_U8, StreamOwnership::Owned);
    EXPECT_EQ(ReadAll(&sign), (Bytes{0x80, 0xFF, 0x00, 0x7F}));

    // Every 16-bit code to every other and back restores the samples, and
    // the value seen through the signed little-endian code is the same.
    Bytes samples = {0x00, 0x80, 0xFF, 0x7F, 0x34, 0x12, 0x00, 0x00};
    for (int from = SAMPLE_CODE_S16LE; from <= SAMPLE_CODE_U16BE; ++from)
        for (int to = SAMPLE_CODE_S16LE; to <= SAMPLE_CODE_U16BE; ++to) {
            Bytes x = samples;
            CSampleCodeStream::ConvertInPlace(x.data(), x.size(), SAMPLE_CODE_S16LE, from);
            CSampleCodeStream::ConvertInPlace(x.data(), x.size(), from, to);
            CSampleCodeStream::ConvertInPlace(x.data(), x.size(), to, SAMPLE_CODE_S16LE);
            EXPECT_EQ(x, samples) << from << " -> " << to;
        }
    Bytes u16be = samples;
    CSampleCodeStream::ConvertInPlace(u16be.data(), u16be.size(), SAMPLE_CODE_S16LE, SAMPLE_CODE_U16BE);
    EXPECT_EQ(u16be[0], 0x00) << "-32768 is unsigned 0";
    EXPECT_EQ(u16be[1], 0x00);
    EXPECT_EQ(u16be[2], 0xFF) << "32767 is unsigned 0xFFFF";
}

TEST(CSampleCodeStream, ReadsWholeSamplesOnlyAndRefusesWidthChanges)
{
    Bytes odd = {1, 2, 3, 4, 5};
    CSampleCodeStream stream(new CBlockStream(BlockOf(odd), BlockStreamMode::Read, BlockOwnership::Owned),
                             SAMPLE_CODE_S16LE, SAMPLE_CODE_S16BE, StreamOwnership::Owned);
    EXPECT_EQ(stream.GetSize(), 4);
    uint8_t buffer[8];
    EXPECT_EQ(stream.Read(buffer, 3), 2u) << "read lengths round down to whole samples";
    EXPECT_EQ(stream.Read(buffer, 8), 2u);
    EXPECT_EQ(stream.Read(buffer, 8), 0u) << "the odd trailing byte is never yielded";
    EXPECT_TRUE(stream.IsAtEnd());

    // Odd 8-bit data are read to the last byte.
    CSampleCodeStream bytes(new CBlockStream(BlockOf(odd), BlockStreamMode::Read, BlockOwnership::Owned),
                            SAMPLE_CODE_U8, SAMPLE_CODE_S8, StreamOwnership::Owned);
    EXPECT_EQ(ReadAll(&bytes, 1).size(), 5u);

    CSampleCodeStream widths(new CBlockStream(BlockOf(odd), BlockStreamMode::Read, BlockOwnership::Owned),
                             SAMPLE_CODE_U8, SAMPLE_CODE_S16LE, StreamOwnership::Owned);
    EXPECT_EQ(widths.GetHealth(), 0);
    CSampleCodeStream invalid(new CBlockStream(BlockOf(odd), BlockStreamMode::Read, BlockOwnership::Owned), 0, 7,
                              StreamOwnership::Owned);
    EXPECT_EQ(invalid.GetHealth(), 0);
}
