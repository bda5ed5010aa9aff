#include "CodecTestPictures.h"
#include "sprites/MemoEnvelope.h"
#include "sprites/PkcCodec.h"

#include <gtest/gtest.h>
#include <zlib.h>

namespace {

using Bytes = std::vector<uint8_t>;


// Encodes, checks the stored form, decodes and checks the picture came back
// byte for byte (apart from the image-size field, which decoding clears).
void ExpectRoundTrip(const Bytes& picture, uint32_t storedTag)
{
    PicturePtr packed(PkcEncode(picture.data(), picture.size()));
    ASSERT_TRUE(packed);
    EXPECT_EQ(InfoCompression(packed.get()), storedTag);
    EXPECT_EQ(PictureHeaderSize(packed.get()), HeaderOf(picture));
    const uint8_t* envelope = packed.get() + HeaderOf(picture);
    EXPECT_EQ(MemoPackedSize(envelope, InfoImageSize(packed.get())), InfoImageSize(packed.get()));
    EXPECT_EQ(MemoUnpackedSize(envelope, InfoImageSize(packed.get())), PictureDataSize(picture.data()));

    PicturePtr back(PkcDecode(packed.get(), PictureSize(packed.get())));
    ASSERT_TRUE(back);
    EXPECT_EQ(InfoImageSize(back.get()), 0u);
    Bytes expected = picture;
    WriteLE32(&expected[BIH_IMAGE_SIZE], 0);
    EXPECT_EQ(BytesOf(back), expected);
}

} // namespace

TEST(PkcCodec, ChoosesTheTagAndHeaderByTheMasks)
{
    // 24 bits, 3 × 2: "PKC1", a bare 40-byte header, 2 rows of 12 bytes.
    Bytes rgb = MakePicture(3, 2, 24);
    FillRandom(rgb, 1);
    PicturePtr pkc1(PkcEncode(rgb.data(), rgb.size()));
    ASSERT_TRUE(pkc1);
    EXPECT_EQ(InfoCompression(pkc1.get()), TAG_PKC1);
    EXPECT_EQ(PictureHeaderSize(pkc1.get()), 40u);
    EXPECT_EQ(MemoUnpackedSize(pkc1.get() + 40, InfoImageSize(pkc1.get())), 24u);
    ExpectRoundTrip(rgb, TAG_PKC1);

    // 16 bits with masks: "PKC2", 52 bytes, masks kept, compression 3 again.
    Bytes masked = MakePicture(7, 5, 16, BI_BITFIELDS);
    WriteLE32(&masked[40], 0x7C00);
    WriteLE32(&masked[44], 0x03E0);
    WriteLE32(&masked[48], 0x001F);
    FillRandom(masked, 2);
    PicturePtr pkc2(PkcEncode(masked.data(), masked.size()));
    ASSERT_TRUE(pkc2);
    EXPECT_EQ(InfoCompression(pkc2.get()), TAG_PKC2);
    EXPECT_EQ(PictureHeaderSize(pkc2.get()), 52u);
    EXPECT_TRUE(std::equal(masked.begin() + 40, masked.begin() + 52, pkc2.get() + 40));
    ExpectRoundTrip(masked, TAG_PKC2);

    // 8 bits keep the whole colour table in front of the envelope.
    Bytes indexed = MakeSpriteStrip(9, 4, 3, 3);
    PicturePtr pkc8(PkcEncode(indexed.data(), indexed.size()));
    ASSERT_TRUE(pkc8);
    EXPECT_EQ(PictureHeaderSize(pkc8.get()), 1064u);
    EXPECT_TRUE(std::equal(indexed.begin() + 40, indexed.begin() + 1064, pkc8.get() + 40));
    EXPECT_EQ(ReadLE32(pkc8.get() + 1064), TAG_MEMO);
}

TEST(PkcCodec, RoundTripsEveryDepth)
{
    for (uint16_t bits : {1, 2, 4, 8, 16, 24, 32})
        for (int32_t width : {1, 3, 17, 64}) {
            SCOPED_TRACE(::testing::Message() << bits << " bits, width " << width);
            Bytes picture = MakePicture(width, 5, bits, BI_RGB, bits == 4 ? 9 : 0);
            FillRandom(picture, bits * 100u + uint32_t(width));
            ExpectRoundTrip(picture, TAG_PKC1);
            if (bits >= 16) {
                Bytes masked = MakePicture(width, 3, bits, BI_BITFIELDS);
                FillRandom(masked, 7);
                ExpectRoundTrip(masked, TAG_PKC2);
            }
        }
    // A colour table in front of high-colour pixels stays in place.
    Bytes tabled = MakePicture(6, 6, 24, BI_RGB, 3);
    FillRandom(tabled, 8);
    ExpectRoundTrip(tabled, TAG_PKC1);
    ExpectRoundTrip(MakeSpriteStrip(64, 32, 40, 6), TAG_PKC1);
}

TEST(PkcCodec, RefusesWhatItCannotRead)
{
    Bytes picture = MakePicture(10, 10, 24);
    FillRandom(picture, 9);
    PicturePtr packed(PkcEncode(picture.data(), picture.size()));
    ASSERT_TRUE(packed);
    const Bytes good = BytesOf(packed);
    EXPECT_FALSE(PicturePtr(PkcEncode(good.data(), good.size())));         // already coded
    EXPECT_FALSE(PicturePtr(PkcDecode(picture.data(), picture.size())));   // not coded
    EXPECT_FALSE(PicturePtr(PkcEncode(picture.data(), picture.size() - 1))); // truncated
    for (size_t cut : {size_t(0), size_t(40), size_t(51), good.size() - 1})
        EXPECT_FALSE(PicturePtr(PkcDecode(good.data(), cut))) << cut;

    Bytes noMagic = good;
    noMagic[40] = 'N';
    EXPECT_FALSE(PicturePtr(PkcDecode(noMagic.data(), noMagic.size())));
    Bytes damaged = good;
    damaged.back() ^= 1; // the stream's check value
    EXPECT_FALSE(PicturePtr(PkcDecode(damaged.data(), damaged.size())));
    Bytes otherTag = good;
    WriteLE32(&otherTag[BIH_COMPRESSION], TAG_ARLE);
    EXPECT_FALSE(PicturePtr(PkcDecode(otherTag.data(), otherTag.size())));

    // The unpacked size must be what the rows need: less would leave the
    // picture short, more is a lie about the stream.
    for (uint32_t stated : {299u, 301u, 0x7FFFFFFFu}) {
        Bytes lie = good;
        WriteLE32(&lie[48], stated);
        EXPECT_FALSE(PicturePtr(PkcDecode(lie.data(), lie.size()))) << stated;
    }
    // A picture claiming more rows than the envelope holds, however large.
    Bytes tall = good;
    WriteLE32(&tall[BIH_HEIGHT], 60000);
    WriteLE32(&tall[BIH_WIDTH], 60000);
    EXPECT_FALSE(PicturePtr(PkcDecode(tall.data(), tall.size())));
}

TEST(PkcCodec, StopsInflatingAtThePictureSize)
{
    // A stream of 1 MiB whose envelope and picture say 10 × 10 × 24 bits.
    Bytes zeros(1 << 20);
    uLongf length = compressBound(uLong(zeros.size()));
    Bytes stream(length);
    ASSERT_EQ(compress2(stream.data(), &length, zeros.data(), uLong(zeros.size()), 9), Z_OK);
    Bytes bomb = MakePicture(10, 10, 24);
    bomb.resize(40 + 12);
    WriteLE32(&bomb[40], TAG_MEMO);
    WriteLE32(&bomb[44], uint32_t(12 + length));
    WriteLE32(&bomb[48], 300);
    bomb.insert(bomb.end(), stream.begin(), stream.begin() + long(length));
    WriteLE32(&bomb[BIH_COMPRESSION], TAG_PKC1);
    WriteLE32(&bomb[BIH_IMAGE_SIZE], uint32_t(12 + length));
    EXPECT_FALSE(PicturePtr(PkcDecode(bomb.data(), bomb.size())));
}
