#include "CodecTestPictures.h"
#include "sprites/ArleCodec.h"
#include "sprites/MemoEnvelope.h"
#include "sprites/PrleCodec.h"

#include <cstring>
#include <gtest/gtest.h>
#include <zlib.h>

namespace {

using Bytes = std::vector<uint8_t>;


// A "PRLE" picture whose envelope is built by hand: a zlib stream of `content`
// with the stated unpacked size.
Bytes MakePrle(const Bytes& header, const Bytes& content, uint32_t statedUnpacked)
{
    uLongf length = compressBound(uLong(content.size()));
    Bytes stream(length);
    EXPECT_EQ(compress2(stream.data(), &length, content.data(), uLong(content.size()), 9), Z_OK);
    Bytes picture(header);
    picture.resize(picture.size() + MEMO_HEADER_SIZE);
    uint8_t* envelope = &picture[header.size()];
    WriteLE32(envelope, TAG_MEMO);
    WriteLE32(envelope + 4, uint32_t(MEMO_HEADER_SIZE + length));
    WriteLE32(envelope + 8, statedUnpacked);
    picture.insert(picture.end(), stream.begin(), stream.begin() + long(length));
    WriteLE32(&picture[BIH_COMPRESSION], TAG_PRLE);
    WriteLE32(&picture[BIH_IMAGE_SIZE], uint32_t(MEMO_HEADER_SIZE + length));
    return picture;
}

} // namespace

TEST(PrleCodec, RoundTripsStripsThroughTheArleForm)
{
    for (const Bytes& plain : {MakeSpriteStrip(48, 40, 24, 3), MakeSpriteStrip(5, 3, 40, 4)}) {
        PicturePtr prle(PrleEncode(plain.data(), plain.size()));
        ASSERT_TRUE(prle);
        EXPECT_EQ(InfoCompression(prle.get()), TAG_PRLE);
        const uint8_t* envelope = prle.get() + HeaderOf(plain);
        EXPECT_EQ(MemoPackedSize(envelope, InfoImageSize(prle.get())), InfoImageSize(prle.get()));

        // The envelope holds exactly the "ARLE" data area.
        PicturePtr arle(ArleEncode(plain.data(), plain.size()));
        ASSERT_TRUE(arle);
        EXPECT_EQ(MemoUnpackedSize(envelope, InfoImageSize(prle.get())), InfoImageSize(arle.get()));
        PicturePtr unpacked(PrleToArle(prle.get(), PictureSize(prle.get())));
        ASSERT_TRUE(unpacked);
        EXPECT_EQ(BytesOf(unpacked), BytesOf(arle));
        PicturePtr repacked(ArleToPrle(arle.get(), PictureSize(arle.get())));
        ASSERT_TRUE(repacked);
        EXPECT_EQ(BytesOf(repacked), BytesOf(prle));

        PicturePtr back(PrleDecode(prle.get(), PictureSize(prle.get())));
        ASSERT_TRUE(back);
        EXPECT_EQ(InfoCompression(back.get()), BI_RGB);
        EXPECT_EQ(InfoImageSize(back.get()), 0u);
        EXPECT_EQ(PixelsOf(back.get()), PixelsOf(plain.data()));
        PicturePtr viaArle(ArleDecode(arle.get(), PictureSize(arle.get())));
        EXPECT_EQ(BytesOf(back), BytesOf(viaArle));
    }
}

TEST(PrleCodec, RefusesOtherPicturesAndTruncation)
{
    Bytes deep = MakePicture(4, 4, 24);
    EXPECT_FALSE(PicturePtr(PrleEncode(deep.data(), deep.size())));
    const Bytes plain = MakeSpriteStrip(16, 16, 2, 5);
    PicturePtr prle(PrleEncode(plain.data(), plain.size()));
    ASSERT_TRUE(prle);
    const Bytes good = BytesOf(prle);
    EXPECT_FALSE(PicturePtr(PrleDecode(plain.data(), plain.size())));
    EXPECT_FALSE(PicturePtr(PrleEncode(good.data(), good.size())));
    EXPECT_FALSE(PicturePtr(ArleToPrle(good.data(), good.size())));
    for (size_t cut : {size_t(20), HeaderOf(plain) + 11, good.size() - 1}) {
        EXPECT_FALSE(PicturePtr(PrleDecode(good.data(), cut))) << cut;
        EXPECT_FALSE(PicturePtr(PrleToArle(good.data(), cut))) << cut;
    }
    Bytes noMagic = good;
    noMagic[HeaderOf(plain)] = 'm';
    EXPECT_FALSE(PicturePtr(PrleDecode(noMagic.data(), noMagic.size())));
    EXPECT_FALSE(PicturePtr(PrleToArle(noMagic.data(), noMagic.size())));
    // An envelope claiming more bytes than the picture's data area.
    Bytes longer = good;
    WriteLE32(&longer[HeaderOf(plain) + 4], InfoImageSize(good.data()) + 1);
    longer.push_back(0);
    EXPECT_FALSE(PicturePtr(PrleDecode(longer.data(), longer.size())));
}

TEST(PrleCodec, StopsAtTheStatedUnpackedSize)
{
    Bytes header = MakePicture(100, 100, 8);
    header.resize(1064);
    // A valid "ARLE" area for 100 × 100: one long run per row.
    Bytes area(400);
    for (uint32_t r = 0; r < 100; ++r) {
        WriteLE32(&area[4 * r], uint32_t(area.size()));
        area.insert(area.end(), {0xC0, 100, uint8_t(r)});
    }
    const Bytes exact = MakePrle(header, area, uint32_t(area.size()));
    PicturePtr decoded(PrleDecode(exact.data(), exact.size()));
    ASSERT_TRUE(decoded);
    EXPECT_EQ(PixelsOf(decoded.get())[0], 99);

    // The stream inflates to more than stated (a bomb, in the large), or to
    // less: both are refused.
    Bytes bomb = area;
    bomb.resize(4 << 20, 0x40);
    for (const Bytes& lie : {MakePrle(header, bomb, uint32_t(area.size())),
                             MakePrle(header, area, uint32_t(area.size() + 1)),
                             MakePrle(header, area, 1u << 31)}) {
        EXPECT_FALSE(PicturePtr(PrleDecode(lie.data(), lie.size())));
        EXPECT_FALSE(PicturePtr(PrleToArle(lie.data(), lie.size())));
    }
}
