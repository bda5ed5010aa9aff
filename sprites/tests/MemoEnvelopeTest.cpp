#include "CodecTestPictures.h"
#include "sprites/MemoEnvelope.h"

#include <gtest/gtest.h>
#include <zlib.h>

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Pack(const Bytes& data)
{
    PicturePtr envelope(MemoPack(data.data(), data.size()));
    if (!envelope)
        return {};
    return Bytes(envelope.get(), envelope.get() + MemoPackedSize(envelope.get(), MEMO_HEADER_SIZE));
}

// An envelope around `content`'s zlib stream with a chosen unpacked size.
Bytes Envelope(const Bytes& content, uint32_t statedUnpacked)
{
    uLongf length = compressBound(uLong(content.size()));
    Bytes envelope(MEMO_HEADER_SIZE + length);
    EXPECT_EQ(compress2(&envelope[MEMO_HEADER_SIZE], &length, content.data(), uLong(content.size()), 9), Z_OK);
    envelope.resize(MEMO_HEADER_SIZE + length);
    WriteLE32(&envelope[0], TAG_MEMO);
    WriteLE32(&envelope[4], uint32_t(envelope.size()));
    WriteLE32(&envelope[8], statedUnpacked);
    return envelope;
}

} // namespace

TEST(MemoEnvelope, PacksAndUnpacksAnyBuffer)
{
    std::mt19937 random(3);
    for (size_t size : {size_t(0), size_t(1), size_t(100), size_t(70000), size_t(300000)}) {
        Bytes noise(size), runs(size);
        for (size_t i = 0; i < size; ++i) {
            noise[i] = uint8_t(random());
            runs[i] = uint8_t(i / 1000);
        }
        for (const Bytes& data : {noise, runs}) {
            const Bytes envelope = Pack(data);
            ASSERT_GE(envelope.size(), MEMO_HEADER_SIZE) << size;
            EXPECT_EQ(ReadLE32(&envelope[0]), TAG_MEMO);
            EXPECT_EQ(MemoUnpackedSize(envelope.data(), envelope.size()), size);
            EXPECT_LE(envelope.size(), 24 + size_t(1.001 * double(size))) << size;
            PicturePtr back(MemoUnpack(envelope.data(), envelope.size()));
            ASSERT_TRUE(back);
            EXPECT_TRUE(std::equal(data.begin(), data.end(), back.get()));
            // The packed size is the whole envelope: one byte less is missing data.
            EXPECT_FALSE(PicturePtr(MemoUnpack(envelope.data(), envelope.size() - 1)));
        }
    }
}

TEST(MemoEnvelope, RefusesHeadersThatLie)
{
    const Bytes data(5000, 42);
    const Bytes good = Pack(data);
    EXPECT_TRUE(IsMemoEnvelopeWithin(good.data(), good.size()));

    Bytes magic = good;
    magic[3] = 'm';
    EXPECT_EQ(MemoPackedSize(magic.data(), magic.size()), 0u);
    EXPECT_EQ(MemoUnpackedSize(magic.data(), magic.size()), 0u);
    EXPECT_FALSE(PicturePtr(MemoUnpack(magic.data(), magic.size())));
    EXPECT_FALSE(PicturePtr(MemoUnpack(good.data(), 11)));

    for (uint32_t packed : {0u, 11u, uint32_t(good.size() + 1), 0xFFFFFFFFu}) {
        Bytes lie = good;
        WriteLE32(&lie[4], packed);
        EXPECT_FALSE(PicturePtr(MemoUnpack(lie.data(), lie.size()))) << packed;
    }
    // More than the stream could ever inflate to is refused before allocating.
    Bytes huge = good;
    WriteLE32(&huge[8], uint32_t(MEMO_MAX_EXPANSION * (good.size() - MEMO_HEADER_SIZE) + 1));
    EXPECT_FALSE(IsMemoEnvelopeWithin(huge.data(), huge.size()));
    EXPECT_FALSE(PicturePtr(MemoUnpack(huge.data(), huge.size())));

    Bytes damaged = good;
    damaged[MEMO_HEADER_SIZE + 5] ^= 0x55;
    EXPECT_FALSE(PicturePtr(MemoUnpack(damaged.data(), damaged.size())));
}

TEST(MemoEnvelope, InflatesExactlyTheStatedSize)
{
    const Bytes data(100000, 7);
    // Stated smaller than the stream: inflation stops at the stated size and
    // nothing beyond the buffer is touched.
    const Bytes bomb = Envelope(data, 4096);
    Bytes buffer(4096 + 64, 0xEE);
    EXPECT_FALSE(MemoUnpackInto(bomb.data(), bomb.size(), buffer.data(), 4096));
    EXPECT_TRUE(std::all_of(buffer.begin() + 4096, buffer.end(), [](uint8_t b) { return b == 0xEE; }));
    EXPECT_FALSE(PicturePtr(MemoUnpack(bomb.data(), bomb.size())));
    // Stated larger than the stream gives: refused, not padded.
    const Bytes shortStream = Envelope(data, 100001);
    EXPECT_FALSE(PicturePtr(MemoUnpack(shortStream.data(), shortStream.size())));
    // The caller's buffer must be the stated size.
    const Bytes exact = Envelope(data, 100000);
    Bytes out(100000);
    EXPECT_FALSE(MemoUnpackInto(exact.data(), exact.size(), out.data(), 99999));
    EXPECT_TRUE(MemoUnpackInto(exact.data(), exact.size(), out.data(), out.size()));
    EXPECT_EQ(out, data);
    // An empty stream unpacks to an empty block.
    const Bytes empty = Envelope({}, 0);
    EXPECT_TRUE(PicturePtr(MemoUnpack(empty.data(), empty.size())));
}
