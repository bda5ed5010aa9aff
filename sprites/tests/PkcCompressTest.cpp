// The ARLE, PRLE and PKC codecs as packed images reach them: Compress with a
// request tag, Decompress by the stored tag.

#include "CodecTestPictures.h"
#include "sprites/CDibPacked.h"

#include <cstring>
#include <gtest/gtest.h>

namespace {

using Bytes = std::vector<uint8_t>;

// A packed image holding a copy of `picture`.
void AttachCopy(CDibPacked& image, const Bytes& picture)
{
    uint8_t* copy = AllocPicture(picture.size());
    std::memcpy(copy, picture.data(), picture.size());
    ASSERT_EQ(image.Attach(CMemoryBlock::Wrap(copy, picture.size(), BlockOwnership::Owned)), DIB_OK);
}

Bytes Held(const CDibPacked& image)
{
    return Bytes(image.GetInfoHeader(), image.GetInfoHeader() + image.GetPictureSize());
}

} // namespace

TEST(PkcCompress, RequestTagStoresPkc1OrPkc2ByTheMasks)
{
    Bytes rgb = MakePicture(3, 2, 24);
    FillRandom(rgb, 4);
    CDibPacked image;
    AttachCopy(image, rgb);
    ASSERT_EQ(image.Compress(TAG_PKCC), DIB_OK);
    EXPECT_TRUE(image.IsCompressed());
    EXPECT_EQ(InfoCompression(image.GetInfoHeader()), TAG_PKC1);
    EXPECT_EQ(PictureHeaderSize(image.GetInfoHeader()), 40u);
    ASSERT_EQ(image.Decompress(), DIB_OK);
    EXPECT_EQ(PixelsOf(image.GetInfoHeader()), PixelsOf(rgb.data()));

    Bytes masked = MakePicture(5, 4, 16, BI_BITFIELDS);
    FillRandom(masked, 5);
    AttachCopy(image, masked);
    ASSERT_EQ(image.Compress(TAG_PKCC), DIB_OK);
    EXPECT_EQ(InfoCompression(image.GetInfoHeader()), TAG_PKC2);
    EXPECT_EQ(PictureHeaderSize(image.GetInfoHeader()), 52u);
    ASSERT_EQ(image.Decompress(), DIB_OK);
    EXPECT_EQ(InfoCompression(image.GetInfoHeader()), BI_BITFIELDS);
    EXPECT_TRUE(std::equal(masked.begin() + 40, masked.end(), image.GetInfoHeader() + 40));
}

TEST(PkcCompress, RunLengthTagsRoundTripEightBitStripsAndRefuseDeeperPictures)
{
    const Bytes strip = MakeSpriteStrip(32, 20, 6, 8);
    for (uint32_t tag : {TAG_ARLE, TAG_PRLE}) {
        CDibPacked image;
        AttachCopy(image, strip);
        ASSERT_EQ(image.Compress(tag), DIB_OK);
        EXPECT_EQ(InfoCompression(image.GetInfoHeader()), tag);
        EXPECT_LT(image.GetPictureSize(), strip.size());
        ASSERT_EQ(image.Decompress(), DIB_OK);
        EXPECT_EQ(PixelsOf(image.GetInfoHeader()), PixelsOf(strip.data()));

        Bytes deep = MakePicture(4, 4, 24);
        AttachCopy(image, deep);
        EXPECT_NE(image.Compress(tag), DIB_OK);
        EXPECT_FALSE(image.IsCompressed());
        EXPECT_EQ(Held(image), deep);
    }
}
