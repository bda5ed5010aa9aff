// The picture files beside the sprite files: PNG read and written, JPEG
// written; and the document's imports (strips, video) failing without a
// trace in the document.

#include "EditorTestSupport.h"

#include "editor/CKVFEditorDoc.h"
#include "editor/JpegFile.h"
#include "editor/PngPicture.h"
#include "editor/SpriteExport.h"
#include "editor/SpriteImport.h"
#include "imaging/PngWriter.h"
#include "sprites/SpriteFiles.h"

#include <gtest/gtest.h>
#include <png.h>

#include <filesystem>

using namespace edtest;

namespace {

std::vector<uint32_t> ColoursOf(const Bytes& picture)
{
    CDibPacked packed;
    CMemoryBlock* block = CMemoryBlock::Allocate(picture.size());
    std::copy(picture.begin(), picture.end(), block->Lock());
    block->Unlock();
    if (packed.Attach(block) != DIB_OK)
        return {};
    return ImageToRgb(&packed);
}

Bytes RgbaPng(int width, int height, const std::vector<uint8_t>& rgba)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = png_uint_32(width);
    image.height = png_uint_32(height);
    image.format = PNG_FORMAT_RGBA;
    png_alloc_size_t size = 0;
    png_image_write_to_memory(&image, nullptr, &size, 0, rgba.data(), 0, nullptr);
    Bytes png(size);
    png_image_write_to_memory(&image, png.data(), &size, 0, rgba.data(), 0, nullptr);
    return png;
}

} // namespace

TEST(PictureFilesTest, PngRoundTripKeepsIndicesAndColours)
{
    for (PixelFormat format : AllFormats()) {
        CDibSection picture;
        FillSection(picture, format, 13, 7, 3);
        Bytes png;
        ASSERT_EQ(EncodePng(picture, png), EditorStatus::Ok) << std::hex << format;
        Bytes back;
        ASSERT_EQ(DecodePngPicture(png.data(), png.size(), back), EditorStatus::Ok);
        EXPECT_EQ(InfoBitCount(back.data()), PixelFormatIsIndexed(format) ? 8 : 24);
        CDibSection wide;
        ASSERT_EQ(wide.CopyFrom(&picture), DIB_OK);
        ASSERT_EQ(wide.ConvertFormat(PF_RGB24, nullptr, 0), DIB_OK);
        EXPECT_EQ(ColoursOf(back), ImageToRgb(&wide)) << std::hex << format;
        if (format == PF_INDEX8) {
            // The indices themselves come back, not just their colours.
            CDibSection read;
            CDibPacked packed;
            CMemoryBlock* block = CMemoryBlock::Allocate(back.size());
            std::copy(back.begin(), back.end(), block->Lock());
            block->Unlock();
            ASSERT_EQ(packed.Attach(block), DIB_OK);
            ASSERT_EQ(read.CopyFrom(&packed), DIB_OK);
            for (int y = 0; y < 7; ++y)
                EXPECT_EQ(0, std::memcmp(read.Bits() + y * read.Pitch(), picture.Bits() + y * picture.Pitch(), 13));
        }
    }
}

TEST(PictureFilesTest, PngTransparencyBecomesBlackAndBadFilesAreRefused)
{
    const Bytes png = RgbaPng(2, 1, {200, 100, 50, 255, 200, 100, 50, 0});
    Bytes picture;
    ASSERT_EQ(DecodePngPicture(png.data(), png.size(), picture), EditorStatus::Ok);
    EXPECT_EQ(ColoursOf(picture), (std::vector<uint32_t>{0xC86432, 0x000000}));

    Bytes cut(png.begin(), png.begin() + ptrdiff_t(png.size() / 2));
    EXPECT_EQ(DecodePngPicture(cut.data(), cut.size(), picture), EditorStatus::NotAPictureFile);
    EXPECT_TRUE(picture.empty());
    const Bytes text{'n', 'o', 't', ' ', 'p', 'n', 'g', '!', '!'};
    EXPECT_EQ(DecodePngPicture(text.data(), text.size(), picture), EditorStatus::NotAPictureFile);
    // A header claiming more pixels than allowed is refused before reading them.
    const Bytes big = RgbaPng(300, 200, std::vector<uint8_t>(300 * 200 * 4, 7));
    EXPECT_EQ(DecodePngPicture(big.data(), big.size(), picture, 100 * 1000), EditorStatus::TooLarge);
}

TEST(PictureFilesTest, JpegNeedsTwentyFourBitsAndAWritableFolder)
{
    TempDir dir;
    CDibSection eight;
    FillSection(eight, PF_INDEX8, 8, 8, 1);
    EXPECT_EQ(WriteJpegFile(dir.File("a.jpg"), eight, 80), EditorStatus::JpegNeeds24Bits);
    CDibSection rgb;
    FillSection(rgb, PF_RGB24, 8, 8, 1);
    EXPECT_EQ(WriteJpegFile(dir.File("missing/a.jpg"), rgb, 80), EditorStatus::CannotWriteFile);
    EXPECT_EQ(dir.EntryCount(), 0u);
    ASSERT_EQ(WriteJpegFile(dir.File("b.jpg"), rgb, 0), EditorStatus::Ok);
    const Bytes jpeg = ReadFile(dir.File("b.jpg"));
    ASSERT_GT(jpeg.size(), 100u);
    EXPECT_EQ(jpeg[0], 0xFF);
    EXPECT_EQ(jpeg[1], 0xD8);
}

TEST(PictureFilesTest, ImportRefusesMoreFramesThanRowsAndKeepsTheDocument)
{
    TempDir dir;
    const Bytes strip = MakePicture(PF_INDEX8, 4, 6, 1);
    ASSERT_TRUE(WriteSpriteFile(dir.File("s.bmp"), strip.data(), strip.size()));
    CKVFEditorDoc doc;
    ImportParams params;
    params.frames = 7;
    EXPECT_EQ(ImportStrip(doc, dir.File("s.bmp"), params), EditorStatus::BadParameters);
    params.frames = 0;
    EXPECT_EQ(ImportStrip(doc, dir.File("s.bmp"), params), EditorStatus::BadParameters);
    EXPECT_EQ(ImportStrip(doc, dir.File("none.bmp"), ImportParams{}), EditorStatus::CannotOpenFile);
    EXPECT_EQ(doc.GetFrameCount(), 0);
    EXPECT_FALSE(doc.CanUndo());
    params.frames = 6;
    RecordingProgress progress;
    ASSERT_EQ(ImportStrip(doc, dir.File("s.bmp"), params, &progress), EditorStatus::Ok);
    EXPECT_EQ(doc.GetFrameCount(), 6);
    EXPECT_EQ(progress.log.front(), "begin Importing");
    EXPECT_EQ(progress.log[1], "range 0 6");
}

TEST(PictureFilesTest, ADamagedVideoInsertsNothing)
{
    const std::filesystem::path folder = std::filesystem::path(EDITOR_TEST_DATA) / "malformed";
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        CKVFEditorDoc doc;
        for (uint32_t i = 0; i < 2; ++i) {
            const Bytes picture = MakePicture(PF_RGB24, 5, 4, i + 1);
            doc.Paste(picture.data(), picture.size());
        }
        const DocumentState before = Snapshot(doc);
        const size_t steps = doc.History().UndoCount();
        if (InsertVideo(doc, entry.path().string()) == EditorStatus::Ok)
            continue;
        EXPECT_EQ(Snapshot(doc), before) << entry.path();
        EXPECT_EQ(doc.History().UndoCount(), steps) << entry.path();
        EXPECT_FALSE(doc.CanRedo()) << entry.path();
    }
}

TEST(PictureFilesTest, ExportRefusesAStripHigherThanAPicture)
{
    TempDir dir;
    CKVFEditorDoc doc;
    const Bytes tall = MakePicture(PF_INDEX8, 2, 30000, 1);
    for (int i = 0; i < 3; ++i)
        ASSERT_EQ(doc.Paste(tall.data(), tall.size()), EditorStatus::Ok);
    EXPECT_EQ(ExportFrames(doc, dir.File("tall.bmp"), ExportLayout::Strip, ExportOptions{}), EditorStatus::TooLarge);
    EXPECT_EQ(dir.EntryCount(), 0u);
    EXPECT_EQ(ExportFrames(doc, dir.File("tall.bmp"), ExportLayout::Sequence, ExportOptions{}), EditorStatus::Ok);
    EXPECT_EQ(dir.EntryCount(), 3u);
}

TEST(PictureFilesTest, ACancelledGroupLeavesNoTrace)
{
    // What an import or a video that fails half-way does with what it has
    // inserted so far.
    CKVFEditorDoc doc;
    const Bytes first = MakePicture(PF_INDEX8, 3, 3, 1);
    ASSERT_EQ(doc.Paste(first.data(), first.size()), EditorStatus::Ok);
    const DocumentState before = Snapshot(doc);
    doc.BeginCommandGroup("Import");
    for (uint32_t i = 2; i < 5; ++i) {
        const Bytes picture = MakePicture(PF_INDEX8, 3, 3, i);
        ASSERT_EQ(doc.InsertFrame(picture.data(), picture.size(), InsertPlace::Before), EditorStatus::Ok);
    }
    EXPECT_EQ(doc.GetFrameCount(), 4);
    doc.CancelCommandGroup();
    EXPECT_EQ(Snapshot(doc), before);
    EXPECT_EQ(doc.GetUndoName(), "Paste");
    EXPECT_FALSE(doc.CanRedo());
    EXPECT_EQ(Decoded(doc.GetFrame(0)), first);
}
