#include "SpriteTestPictures.h"

#include "sprites/PictureFormat.h"
#include "sprites/SpriteFiles.h"
#include "sprites/TrleCodec.h"

#include <gtest/gtest.h>

TEST(SpriteFiles, StripFramesCountFromTheTop)
{
    EXPECT_EQ(StripFrameHeight(200, 5), 40);
    StripFrame first = StripFrameRows(200, 5, 0);
    EXPECT_EQ(first.height, 40);
    EXPECT_EQ(first.firstTableRow, 0);
    EXPECT_EQ(first.firstMemoryRow, 160); // the top 40 rows are last in memory
    StripFrame last = StripFrameRows(200, 5, 4);
    EXPECT_EQ(last.firstTableRow, 160);
    EXPECT_EQ(last.firstMemoryRow, 0);
    // Leftover rows of an uneven division belong to no frame.
    StripFrame uneven = StripFrameRows(203, 5, 4);
    EXPECT_EQ(uneven.height, 40);
    EXPECT_EQ(uneven.firstMemoryRow, 3);
    EXPECT_EQ(StripFrameRows(200, 5, 5).height, 0);
    EXPECT_EQ(StripFrameRows(200, 0, 0).height, 0);
    EXPECT_EQ(StripFrameRows(4, 5, 0).height, 0);
    EXPECT_EQ(StripFrameRows(200, 5, -1).height, 0);
}

TEST(SpriteFiles, SequenceNamesInsertTheFrameNumber)
{
    EXPECT_EQ(SequenceFrameName("c:\\art\\walk.bmp", 12), "c:\\art\\walk0012.bmp");
    EXPECT_EQ(SequenceFrameName("art/walk.bmp", 0), "art/walk0000.bmp");
    EXPECT_EQ(SequenceFrameName("walk.bmp", 10000), "walk10000.bmp");
    EXPECT_EQ(SequenceFrameName("frames.v2/walk", 3), "frames.v2/walk0003");
    EXPECT_EQ(SequenceFrameName("a.b\\run.x.bmp", 1), "a.b\\run.x0001.bmp");
    EXPECT_EQ(SequenceFrameName("walk.bmp", -1), "");
}

TEST(SpriteFiles, WritingPutsTheFileHeaderInFront)
{
    testpic::TempFolder folder("sprite-write");
    testpic::Picture pic = testpic::Make(5, 4, 24);
    pic.Set(1, 1, 0xABCDEF);
    const std::string path = folder.File("out.bmp");
    ASSERT_TRUE(WriteSpriteFile(path, pic.bytes.data(), pic.bytes.size()));
    std::vector<uint8_t> file = testpic::ReadFile(path);
    ASSERT_EQ(file.size(), 14 + pic.bytes.size());
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(file[1], 'M');
    EXPECT_EQ(ReadLE32(file.data() + 2), file.size());
    EXPECT_EQ(ReadLE32(file.data() + 10), 54u);
    EXPECT_EQ(std::vector<uint8_t>(file.begin() + 14, file.end()), pic.bytes);

    // A masked 16-bit sprite: the bits offset names its uncompressed header.
    const uint32_t masks[3] = {0xF800, 0x7E0, 0x1F};
    testpic::Picture deep = testpic::Make(2, 2, 16, masks);
    testpic::Picture alpha = testpic::Make(2, 2, 8);
    alpha.Set(0, 0, 1);
    uint8_t* reference = TrleEncode8(alpha.bytes.data(), alpha.bytes.size());
    uint8_t* encoded = TrleEncodeWithReference(deep.bytes.data(), deep.bytes.size(), reference, PictureSize(reference));
    ASSERT_NE(encoded, nullptr);
    EXPECT_EQ(UncompressedHeaderSize(encoded), 52u);
    ASSERT_TRUE(WriteSpriteFile(path, encoded, PictureSize(encoded)));
    EXPECT_EQ(ReadLE32(testpic::ReadFile(path).data() + 10), 14u + 52);
    // A truncated picture is not written, and the old file stays.
    EXPECT_FALSE(WriteSpriteFile(path, encoded, PictureSize(encoded) - 1));
    EXPECT_EQ(testpic::ReadFile(path).size(), 14 + PictureSize(encoded));
    FreePicture(encoded);
    FreePicture(reference);
}
