// Documents as AVI files: saving and opening again, every pixel depth,
// palettes that change between frames, the stream's header, and files
// written by other programs (top-down rows, repeated frames, codecs).

#include "EditorTestSupport.h"

#include "editor/CAviFile.h"
#include "editor/CKVFEditorDoc.h"

#include <gtest/gtest.h>

using namespace edtest;

namespace {

// A document of `count` frames of the format, each with its own pixels and
// (for indexed formats) its own palette; frame 1 painted, so that it is
// stored encoded.
void FillDocument(CKVFEditorDoc& doc, PixelFormat format, int count, int width, int height)
{
    for (int i = 0; i < count; ++i) {
        Bytes picture = MakePicture(format, width, height, uint32_t(i) * 31 + format);
        ASSERT_EQ(doc.Paste(picture.data(), picture.size()), EditorStatus::Ok);
    }
    ASSERT_EQ(doc.SetCurrentFrame(1), EditorStatus::Ok);
    doc.GetWorkingImage().FillRect(0, 0, 2, 1, 1);
    doc.SetWorkingDirty();
    ASSERT_EQ(doc.Commit(), EditorStatus::Ok);
}

// Rows of a 24-bit picture of the given colours, bottom row first, padded.
Bytes Rows24(int width, const std::vector<uint32_t>& colourRows)
{
    const size_t stride = (size_t(width) * 3 + 3) & ~size_t(3);
    Bytes data;
    for (uint32_t colour : colourRows) {
        Bytes row(stride, 0);
        for (int x = 0; x < width; ++x) {
            row[size_t(x) * 3] = uint8_t(colour);
            row[size_t(x) * 3 + 1] = uint8_t(colour >> 8);
            row[size_t(x) * 3 + 2] = uint8_t(colour >> 16);
        }
        data.insert(data.end(), row.begin(), row.end());
    }
    return data;
}

} // namespace

TEST(AviFileTest, ASavedDocumentReopensIdenticallyAt15FramesPerSecond)
{
    TempDir dir;
    CKVFEditorDoc doc;
    FillDocument(doc, PF_RGB24, 4, 13, 7);
    const std::vector<Bytes> frames = DecodedFrames(doc);
    RecordingProgress saving;
    ASSERT_EQ(doc.SaveDocument(dir.File("walk.avi"), &saving), EditorStatus::Ok);
    EXPECT_EQ(doc.GetCurrentFrame(), 3);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(saving.log.front(), "begin Saving ...");
    EXPECT_EQ(dir.EntryCount(), 1u); // no temporary file left

    // One "vids" stream without a handler, scale 1, rate 15; its format is
    // the frames' header.
    const Bytes file = ReadFile(dir.File("walk.avi"));
    const ptrdiff_t strh = FindChunk(file, "strh");
    ASSERT_GE(strh, 0);
    const uint8_t* header = file.data() + strh + 8;
    EXPECT_TRUE(std::equal(header, header + 4, "vids"));
    EXPECT_EQ(ReadLE32(header + 4), 0u);
    EXPECT_EQ(ReadLE32(header + 20), 1u);
    EXPECT_EQ(ReadLE32(header + 24), 15u);
    EXPECT_EQ(ReadLE32(header + 32), 4u);
    const ptrdiff_t strf = FindChunk(file, "strf");
    ASSERT_GE(strf, 0);
    const uint8_t* format = file.data() + strf + 8;
    EXPECT_EQ(ReadLE32(format + BIH_WIDTH), 13u);
    EXPECT_EQ(ReadLE32(format + BIH_HEIGHT), 7u);
    EXPECT_EQ(ReadLE16(format + BIH_BIT_COUNT), 24u);
    EXPECT_EQ(ReadLE32(format + BIH_COMPRESSION), BI_RGB);

    CKVFEditorDoc reopened;
    RecordingProgress loading;
    ASSERT_EQ(reopened.OpenDocument(dir.File("walk.avi"), &loading), EditorStatus::Ok);
    EXPECT_EQ(DecodedFrames(reopened), frames);
    EXPECT_EQ(reopened.GetCurrentFrame(), 0); // a document opens on its first frame
    EXPECT_FALSE(reopened.IsModified());
    EXPECT_FALSE(reopened.CanUndo());
    EXPECT_EQ(loading.log.front(), "begin Loading ...");
    EXPECT_EQ(loading.log[1], "range 0 4");
    EXPECT_EQ(loading.log.back(), "end");
}

TEST(AviFileTest, DocumentsOfEveryPixelDepthRoundTrip)
{
    TempDir dir;
    for (PixelFormat format : AllFormats()) {
        CKVFEditorDoc doc;
        FillDocument(doc, format, 3, 11, 5);
        const std::vector<Bytes> frames = DecodedFrames(doc);
        if (PixelFormatIsIndexed(format)) { // every frame has colours of its own
            ASSERT_NE(Bytes(frames[0].begin() + 40, frames[0].begin() + 48),
                      Bytes(frames[2].begin() + 40, frames[2].begin() + 48));
        }
        const std::string path = dir.File("depth.avi");
        ASSERT_EQ(doc.SaveDocument(path), EditorStatus::Ok) << std::hex << format;
        CKVFEditorDoc reopened;
        ASSERT_EQ(reopened.OpenDocument(path), EditorStatus::Ok) << std::hex << format;
        EXPECT_EQ(DecodedFrames(reopened), frames) << std::hex << format;
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(reopened.GetFrame(i)->Format(), format);
    }
}

TEST(AviFileTest, SaveRefusesMixedFramesAndWritesNothing)
{
    TempDir dir;
    CKVFEditorDoc doc;
    EXPECT_EQ(doc.SaveDocument(dir.File("empty.avi")), EditorStatus::NothingToDo);
    Bytes a = MakePicture(PF_INDEX8, 4, 4, 1), b = MakePicture(PF_INDEX8, 4, 5, 1);
    doc.Paste(a.data(), a.size());
    doc.Paste(b.data(), b.size());
    EXPECT_EQ(doc.SaveDocument(dir.File("mixed.avi")), EditorStatus::NotSameFormat);
    EXPECT_EQ(dir.EntryCount(), 0u);
    EXPECT_TRUE(doc.IsModified());
}

TEST(AviFileTest, AFailedSaveLeavesNoFileAndTheDocumentModified)
{
    TempDir dir;
    CKVFEditorDoc doc;
    Bytes a = MakePicture(PF_RGB555, 4, 4, 1);
    doc.Paste(a.data(), a.size());
    EXPECT_EQ(doc.SaveDocument(dir.File("missing/x.avi")), EditorStatus::CannotWriteFile);
    // The target is a folder: the finished file cannot take its place.
    std::filesystem::create_directory(dir.File("taken.avi"));
    EXPECT_EQ(doc.SaveDocument(dir.File("taken.avi")), EditorStatus::CannotWriteFile);
    EXPECT_EQ(dir.EntryCount(), 1u);
    EXPECT_TRUE(std::filesystem::is_directory(dir.File("taken.avi")));
    EXPECT_TRUE(doc.IsModified());
}

TEST(AviFileTest, FramesAreReadInAnyOrderAndNotBeyondTheCount)
{
    TempDir dir;
    CKVFEditorDoc doc;
    FillDocument(doc, PF_INDEX4, 3, 6, 6);
    const std::vector<Bytes> frames = DecodedFrames(doc);
    ASSERT_EQ(doc.SaveDocument(dir.File("a.avi")), EditorStatus::Ok);
    CAviFile file;
    ASSERT_EQ(file.OpenRead(dir.File("a.avi")), EditorStatus::Ok);
    ASSERT_EQ(file.GetFrameCount(), 3);
    for (int i : {2, 0, 1, 1, 2}) {
        size_t size = 0;
        const uint8_t* picture = file.GetFrame(i, &size);
        ASSERT_TRUE(picture);
        // The reader's pictures are of the plain form the document stores.
        EXPECT_EQ(Bytes(picture, picture + size), frames[size_t(i)]) << i;
    }
    EXPECT_EQ(file.GetFrame(3), nullptr);
    EXPECT_EQ(file.GetFrame(-1), nullptr);
    EXPECT_EQ(file.Close(), EditorStatus::Ok);
    EXPECT_EQ(file.GetFrameCount(), 0);
}

TEST(AviFileTest, TheWriterTakesOnlyFramesOfItsStreamsFormat)
{
    TempDir dir;
    CAviFile file;
    Bytes picture = MakePicture(PF_RGB565, 4, 3, 1);
    EXPECT_EQ(file.WriteFrame(picture.data(), picture.size()), EditorStatus::CannotWriteFile);
    ASSERT_EQ(file.OpenWrite(dir.File("w.avi"), picture.data(), 52), EditorStatus::Ok);
    ASSERT_EQ(file.WriteFrame(picture.data(), picture.size()), EditorStatus::Ok);
    Bytes other = MakePicture(PF_RGB555, 4, 3, 1);
    EXPECT_EQ(file.WriteFrame(other.data(), other.size()), EditorStatus::BadParameters);
    Bytes wider = MakePicture(PF_RGB565, 5, 3, 1);
    EXPECT_EQ(file.WriteFrame(wider.data(), wider.size()), EditorStatus::BadParameters);
    EXPECT_EQ(file.WriteFrame(picture.data(), picture.size() - 1), EditorStatus::BadParameters);
    // Until Close, nothing is in the target's place; Discard leaves nothing.
    EXPECT_FALSE(std::filesystem::exists(dir.File("w.avi")));
    file.Discard();
    EXPECT_EQ(dir.EntryCount(), 0u);
    Bytes header = InfoHeader(4, 3, 12, BI_RGB);
    EXPECT_EQ(file.OpenWrite(dir.File("w.avi"), header.data(), header.size()), EditorStatus::BadParameters);
}

TEST(AviFileTest, TopDownRowsAndEmptyChunksOfOtherProgramsAreRead)
{
    TempDir dir;
    HandAvi avi;
    avi.width = 3;
    avi.height = 2;
    avi.format = InfoHeader(3, -2, 24, BI_RGB); // negative height: rows top-down
    avi.chunks = {Rows24(3, {0x112233, 0x445566}), Bytes(), Rows24(3, {0x778899, 0xAABBCC})};
    WriteFile(dir.File("other.avi"), avi.Build());
    CKVFEditorDoc doc;
    ASSERT_EQ(doc.OpenDocument(dir.File("other.avi")), EditorStatus::Ok);
    ASSERT_EQ(doc.GetFrameCount(), 3);
    EXPECT_EQ(ColourAt(doc.GetFrame(0), 0, 0), 0x112233u);
    EXPECT_EQ(ColourAt(doc.GetFrame(0), 2, 1), 0x445566u);
    // An empty chunk shows the frame before once more.
    EXPECT_EQ(doc.GetFrame(1), doc.GetFrame(0));
    EXPECT_EQ(ColourAt(doc.GetFrame(2), 0, 0), 0x778899u);

    // Bottom-up (the usual) rows come the other way round.
    avi.format = InfoHeader(3, 2, 24, BI_RGB);
    WriteFile(dir.File("bottom.avi"), avi.Build());
    ASSERT_EQ(doc.OpenDocument(dir.File("bottom.avi")), EditorStatus::Ok);
    EXPECT_EQ(ColourAt(doc.GetFrame(0), 0, 0), 0x445566u);

    // A file with a stream but no frames gives an empty document.
    avi.chunks.clear();
    WriteFile(dir.File("none.avi"), avi.Build());
    ASSERT_EQ(doc.OpenDocument(dir.File("none.avi")), EditorStatus::Ok);
    EXPECT_EQ(doc.GetFrameCount(), 0);
    EXPECT_FALSE(doc.IsModified());
}

TEST(AviFileTest, CompressedStreamsAreDecoded)
{
    TempDir dir;
    // Run-length coded 8-bit frames: 4 × 2, bottom row first.
    Bytes colours;
    for (int i = 0; i < 256; ++i)
        colours.insert(colours.end(), {uint8_t(i), uint8_t(255 - i), uint8_t(i / 2), 0});
    HandAvi rle = CodecAvi(4, 2, 8, 1 /* BI_RLE8 */, colours, {Bytes{4, 7, 0, 0, 2, 9, 2, 3, 0, 1}});
    rle.handler = 0;
    WriteFile(dir.File("rle.avi"), rle.Build());
    CKVFEditorDoc doc;
    ASSERT_EQ(doc.OpenDocument(dir.File("rle.avi")), EditorStatus::Ok);
    ASSERT_EQ(doc.GetFrameCount(), 1);
    EXPECT_EQ(doc.GetFrame(0)->Format(), PF_INDEX8);
    // Index 7 on the bottom row: red 3, green 248, blue 7.
    EXPECT_EQ(ColourAt(doc.GetFrame(0), 1, 1), 0x03F807u);
    EXPECT_EQ(ColourAt(doc.GetFrame(0), 3, 0), 0x01FC03u);
    EXPECT_EQ(ColourAt(doc.GetFrame(0), 0, 0), 0x04F609u);

    // Packed YUV frames come out as 24-bit pictures.
    HandAvi yuv = CodecAvi(2, 2, 16, FourCC("YUY2"), {}, {Bytes{235, 128, 235, 128, 16, 128, 16, 128}});
    WriteFile(dir.File("yuv.avi"), yuv.Build());
    ASSERT_EQ(doc.OpenDocument(dir.File("yuv.avi")), EditorStatus::Ok);
    ASSERT_EQ(doc.GetFrame(0)->Format(), PF_RGB24);
    const uint32_t light = ColourAt(doc.GetFrame(0), 0, 0), dark = ColourAt(doc.GetFrame(0), 1, 1);
    EXPECT_GE(light & 0xFF, 250u);
    EXPECT_EQ(light >> 16, light & 0xFF);
    EXPECT_LE(dark & 0xFF, 5u);
}
