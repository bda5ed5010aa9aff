// The frame model: inserting, pasting, deleting, committing the working
// image, the same-format check, the clipboard's pictures and the command
// enabling.

#include "EditorTestSupport.h"

#include "editor/CKVFEditorDoc.h"
#include "imaging/CDibContext.h"
#include "sprites/PictureLayout.h"

#include <gtest/gtest.h>
#include <memory>

using namespace edtest;

namespace {

// A document of `count` 4 × 3 frames of distinct solid colours: frame i is
// red i × 10 + 10.
void FillDocument(CKVFEditorDoc& doc, int count)
{
    for (int i = 0; i < count; ++i) {
        Bytes picture = SolidPicture(4, 3, uint8_t(i * 10 + 10), 0, 0);
        ASSERT_EQ(doc.Paste(picture.data(), picture.size()), EditorStatus::Ok);
    }
}

// The red of each frame, which names it.
std::vector<int> FrameNames(const CKVFEditorDoc& doc)
{
    std::vector<int> names;
    for (int i = 0; i < doc.GetFrameCount(); ++i)
        names.push_back(int(ColourAt(doc.GetFrame(i), 0, 0) >> 16));
    return names;
}

} // namespace

TEST(DocumentTest, PasteIntoAnEmptyDocumentMakesFrameZero)
{
    CKVFEditorDoc doc;
    Bytes picture = MakePicture(PF_INDEX8, 5, 4, 1);
    ASSERT_EQ(doc.Paste(picture.data(), picture.size(), InsertPlace::Before), EditorStatus::Ok);
    EXPECT_EQ(doc.GetFrameCount(), 1);
    EXPECT_EQ(doc.GetCurrentFrame(), 0);
    EXPECT_EQ(Decoded(doc.GetFrame(0)), picture);
    EXPECT_TRUE(doc.GetWorkingImage().IsCreated());
    EXPECT_TRUE(doc.IsModified());
}

TEST(DocumentTest, PasteGoesAfterTheCurrentFramePasteBeforeInPlaceOfIt)
{
    CKVFEditorDoc doc;
    FillDocument(doc, 5);
    ASSERT_EQ(doc.SetCurrentFrame(2), EditorStatus::Ok);
    Bytes after = SolidPicture(4, 3, 200, 0, 0);
    ASSERT_EQ(doc.Paste(after.data(), after.size(), InsertPlace::After), EditorStatus::Ok);
    EXPECT_EQ(doc.GetCurrentFrame(), 3);
    EXPECT_EQ(FrameNames(doc), (std::vector<int>{10, 20, 30, 200, 40, 50}));

    ASSERT_EQ(doc.SetCurrentFrame(2), EditorStatus::Ok);
    Bytes before = SolidPicture(4, 3, 100, 0, 0);
    ASSERT_EQ(doc.Paste(before.data(), before.size(), InsertPlace::Before), EditorStatus::Ok);
    EXPECT_EQ(doc.GetCurrentFrame(), 2);
    EXPECT_EQ(FrameNames(doc), (std::vector<int>{10, 20, 100, 30, 200, 40, 50}));
    EXPECT_EQ(ColourAt(doc.GetFrame(2), 0, 0) >> 16, 100u);
}

TEST(DocumentTest, DeletingMovesTheIndexBackOnlyPastTheEnd)
{
    CKVFEditorDoc doc;
    FillDocument(doc, 3);
    ASSERT_EQ(doc.GetCurrentFrame(), 2);
    ASSERT_EQ(doc.DeleteCurrentFrame(), EditorStatus::Ok);
    EXPECT_EQ(doc.GetFrameCount(), 2);
    EXPECT_EQ(doc.GetCurrentFrame(), 1);

    ASSERT_EQ(doc.SetCurrentFrame(0), EditorStatus::Ok);
    ASSERT_EQ(doc.DeleteCurrentFrame(), EditorStatus::Ok);
    EXPECT_EQ(doc.GetCurrentFrame(), 0);
    EXPECT_EQ(FrameNames(doc), (std::vector<int>{20}));

    ASSERT_EQ(doc.DeleteCurrentFrame(), EditorStatus::Ok);
    EXPECT_EQ(doc.GetFrameCount(), 0);
    EXPECT_EQ(doc.GetCurrentFrame(), 0);
    EXPECT_FALSE(doc.GetWorkingImage().IsCreated());
    EXPECT_EQ(doc.DeleteCurrentFrame(), EditorStatus::NothingToDo);
}

TEST(DocumentTest, StrokesAreCommittedCompressedToTheFrameTheyWerePaintedOn)
{
    CKVFEditorDoc doc;
    FillDocument(doc, 2);
    ASSERT_EQ(doc.SetCurrentFrame(0), EditorStatus::Ok);
    doc.GetWorkingImage().SetPixel(1, 1, 0x00FF00);
    doc.SetWorkingDirty();
    EXPECT_TRUE(doc.IsWorkingDirty());

    // Pasting moves the index to the new frame; the stroke stays with frame 0.
    Bytes picture = SolidPicture(4, 3, 99, 0, 0);
    ASSERT_EQ(doc.Paste(picture.data(), picture.size()), EditorStatus::Ok);
    EXPECT_FALSE(doc.IsWorkingDirty());
    EXPECT_EQ(FrameNames(doc), (std::vector<int>{10, 99, 20}));
    EXPECT_EQ(ColourAt(doc.GetFrame(0), 1, 1), 0x00FF00u);
    EXPECT_EQ(ColourAt(doc.GetFrame(1), 1, 1), 99u << 16);
    // Frames of one colour take a fraction of their pixels in memory.
    EXPECT_TRUE(doc.GetFrame(1)->IsPacked());
    EXPECT_LT(doc.GetFrame(1)->StoredBytes(), doc.GetFrame(1)->PixelBytes() + 200);

    // Moving to another frame commits as well.
    doc.GetWorkingImage().SetPixel(0, 0, 0x0000FF);
    doc.SetWorkingDirty();
    ASSERT_EQ(doc.SetCurrentFrame(2), EditorStatus::Ok);
    EXPECT_EQ(ColourAt(doc.GetFrame(1), 0, 0), 0x0000FFu);
    EXPECT_EQ(doc.GetWorkingImage().GetPixel(0, 0), 20u << 16);
}

TEST(DocumentTest, SetCurrentFrameIgnoresIndicesOutOfRange)
{
    CKVFEditorDoc doc;
    int updates = 0;
    doc.SetUpdateViews([&] { ++updates; });
    EXPECT_EQ(doc.SetCurrentFrame(0), EditorStatus::NothingToDo);
    EXPECT_EQ(updates, 1);
    FillDocument(doc, 2);
    EXPECT_EQ(doc.SetCurrentFrame(2), EditorStatus::NothingToDo);
    EXPECT_EQ(doc.SetCurrentFrame(-1), EditorStatus::NothingToDo);
    EXPECT_EQ(doc.GetCurrentFrame(), 1);
}

TEST(DocumentTest, SameFormatCheckComparesSizeAndPixelFormat)
{
    CKVFEditorDoc doc;
    EXPECT_TRUE(doc.IsSameFormat());
    Bytes a = MakePicture(PF_RGB565, 6, 4, 1), b = MakePicture(PF_RGB565, 6, 4, 2);
    doc.Paste(a.data(), a.size());
    doc.Paste(b.data(), b.size());
    EXPECT_TRUE(doc.IsSameFormat());
    Bytes other = MakePicture(PF_RGB555, 6, 4, 3);
    doc.Paste(other.data(), other.size());
    EXPECT_FALSE(doc.IsSameFormat());
    doc.DeleteCurrentFrame();
    Bytes taller = MakePicture(PF_RGB565, 6, 5, 3);
    doc.Paste(taller.data(), taller.size());
    EXPECT_FALSE(doc.IsSameFormat());
    EXPECT_STREQ(EditorStatusMessage(EditorStatus::NotSameFormat),
                 "Not all the frames are in the same format and dimensions");
}

TEST(DocumentTest, CopyHandsOutTheWorkingImageAndCutRemovesTheFrame)
{
    CKVFEditorDoc doc;
    EXPECT_TRUE(doc.Copy().empty());
    for (PixelFormat format : AllFormats()) {
        Bytes picture = MakePicture(format, 7, 3, format);
        ASSERT_EQ(doc.Paste(picture.data(), picture.size()), EditorStatus::Ok) << std::hex << format;
        EXPECT_EQ(doc.Copy(), picture) << std::hex << format;
    }
    doc.GetWorkingImage().SetPixel(0, 0, 0x123456);
    doc.SetWorkingDirty();
    const Bytes painted = doc.Copy();
    const int count = doc.GetFrameCount();
    EXPECT_EQ(doc.Cut(), painted);
    EXPECT_EQ(doc.GetFrameCount(), count - 1);
    // Pasting it back gives the painted picture.
    ASSERT_EQ(doc.Paste(painted.data(), painted.size()), EditorStatus::Ok);
    EXPECT_EQ(Decoded(doc.GetFrame(doc.GetCurrentFrame())), painted);
}

TEST(DocumentTest, PastedPicturesOfOtherFormsAreStoredPlain)
{
    CKVFEditorDoc doc;
    // With the 14-byte file header in front.
    Bytes plain = MakePicture(PF_INDEX4, 9, 2, 5);
    Bytes file(14, 0);
    BuildFileHeader(file.data(), plain.size(), PictureHeaderSize(plain.data()));
    file.insert(file.end(), plain.begin(), plain.end());
    ASSERT_EQ(doc.Paste(file.data(), file.size()), EditorStatus::Ok);
    EXPECT_EQ(Decoded(doc.GetFrame(0)), plain);

    // A 24-bit picture with an optional colour table before its pixels:
    // stored without it, so the editor's 40-byte count of its header is exact.
    Bytes solid = SolidPicture(3, 2, 1, 2, 3);
    Bytes withTable(solid.begin(), solid.begin() + 40);
    WriteLE32(withTable.data() + BIH_COLOURS_USED, 2);
    withTable.insert(withTable.end(), 8, 0xEE);
    withTable.insert(withTable.end(), solid.begin() + 40, solid.end());
    ASSERT_EQ(doc.Paste(withTable.data(), withTable.size()), EditorStatus::Ok);
    EXPECT_EQ(Decoded(doc.GetFrame(1)), solid);
    EXPECT_EQ(doc.Copy(), solid);

    // An encoded picture is decoded as it comes in.
    CDibPacked encoded;
    Bytes source = MakePicture(PF_INDEX8, 8, 8, 6);
    CMemoryBlock* block = CMemoryBlock::Allocate(source.size());
    std::copy(source.begin(), source.end(), block->Lock());
    block->Unlock();
    ASSERT_EQ(encoded.Attach(block), DIB_OK);
    ASSERT_EQ(encoded.Compress(TAG_ARLE), DIB_OK);
    Bytes arle = Stored(&encoded);
    ASSERT_EQ(doc.Paste(arle.data(), arle.size()), EditorStatus::Ok);
    EXPECT_EQ(Decoded(doc.GetFrame(2)), source);
}

TEST(DocumentTest, BytesThatAreNoPictureChangeNothing)
{
    CKVFEditorDoc doc;
    FillDocument(doc, 2);
    const DocumentState before = Snapshot(doc);
    Bytes garbage(100, 0x42);
    EXPECT_EQ(doc.Paste(garbage.data(), garbage.size()), EditorStatus::NotAPicture);
    EXPECT_EQ(doc.Paste(nullptr, 0), EditorStatus::NotAPicture);
    Bytes cut = MakePicture(PF_RGB24, 10, 10, 1);
    cut.resize(cut.size() - 1);
    EXPECT_EQ(doc.Paste(cut.data(), cut.size()), EditorStatus::NotAPicture);
    // A codec tag nobody knows cannot be decoded, so it is no picture either.
    Bytes unknown = MakePicture(PF_INDEX8, 4, 4, 1);
    WriteLE32(unknown.data() + BIH_COMPRESSION, FourCC("ZZZZ"));
    WriteLE32(unknown.data() + BIH_IMAGE_SIZE, 16);
    EXPECT_EQ(doc.Paste(unknown.data(), unknown.size()), EditorStatus::NotAPicture);
    EXPECT_EQ(Snapshot(doc), before);
}

TEST(DocumentTest, ModifiedUntilSavedAndCleanAgainWhenUndoneToTheSavedState)
{
    TempDir dir;
    CKVFEditorDoc doc;
    EXPECT_FALSE(doc.IsModified());
    FillDocument(doc, 2);
    EXPECT_TRUE(doc.IsModified());
    ASSERT_EQ(doc.SaveDocument(dir.File("a.avi")), EditorStatus::Ok);
    EXPECT_FALSE(doc.IsModified());
    doc.GetWorkingImage().SetPixel(0, 0, 7);
    doc.SetWorkingDirty();
    EXPECT_TRUE(doc.IsModified());
    ASSERT_EQ(doc.Undo(), EditorStatus::Ok);
    EXPECT_FALSE(doc.IsModified());
    ASSERT_EQ(doc.Mirror(), EditorStatus::Ok);
    EXPECT_TRUE(doc.IsModified());
    ASSERT_EQ(doc.Undo(), EditorStatus::Ok);
    EXPECT_FALSE(doc.IsModified());
    ASSERT_EQ(doc.Undo(), EditorStatus::Ok); // the second paste, from before the save
    EXPECT_TRUE(doc.IsModified());
    ASSERT_EQ(doc.Redo(), EditorStatus::Ok);
    EXPECT_FALSE(doc.IsModified());
    doc.SetModifiedFlag();
    EXPECT_TRUE(doc.IsModified());
    doc.DeleteContents();
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.GetFrameCount(), 0);
    EXPECT_FALSE(doc.CanUndo());
}

TEST(DocumentTest, CommandEnablingFollowsTheFrames)
{
    CKVFEditorDoc doc;
    EditorCommandState state = doc.GetCommandState(false, false);
    EXPECT_TRUE(state.import);
    EXPECT_FALSE(state.exportFile || state.resize || state.copy || state.cut || state.mirror || state.paste);
    EXPECT_TRUE(doc.GetCommandState(true, false).paste);
    EXPECT_FALSE(doc.GetCommandState(true, true).pasteBefore);

    Bytes eight = MakePicture(PF_INDEX8, 3, 3, 1);
    doc.Paste(eight.data(), eight.size());
    state = doc.GetCommandState(false, false);
    EXPECT_TRUE(state.exportFile && state.resize && state.changeColourDepth && state.loadPalette);
    EXPECT_TRUE(state.enlargeCanvas && state.timeStretch && state.reverse && state.removeAlphaChannel);
    EXPECT_TRUE(state.invert && state.copy && state.cut && state.savePalette && state.undo);
    EXPECT_FALSE(state.fadeIn || state.fadeOut || state.mirror || state.flip || state.redo);
    EXPECT_FALSE(state.crop || state.editPalette);

    Bytes deep = MakePicture(PF_RGB24, 3, 3, 1);
    doc.Paste(deep.data(), deep.size());
    state = doc.GetCommandState(false, false);
    EXPECT_TRUE(state.fadeIn && state.fadeOut && state.mirror && state.flip);
    EXPECT_FALSE(state.savePalette);
    EXPECT_FALSE(doc.GetCommandState(false, true).undo);
}

TEST(DocumentTest, WorksBesideAnImageContextThatEndsFirst)
{
    // The editor keeps an image context for the whole program; the
    // document's frames and working image are its own, never the context's.
    auto context = std::make_unique<CDibContext>();
    EXPECT_EQ(context->Init(nullptr, nullptr, 0), DIB_OK);
    auto doc = std::make_unique<CKVFEditorDoc>();
    for (PixelFormat format : {PF_INDEX4, PF_INDEX8, PF_RGB565, PF_RGB24}) {
        Bytes picture = MakePicture(format, 9, 7, format);
        ASSERT_EQ(doc->Paste(picture.data(), picture.size()), EditorStatus::Ok);
    }
    ASSERT_EQ(doc->Mirror(), EditorStatus::Ok);
    ASSERT_EQ(doc->Resize(ResizeParams{5, 5}), EditorStatus::Ok);
    ASSERT_EQ(doc->ChangeColourDepth(ColourDepthParams{}), EditorStatus::Ok);
    const std::vector<Bytes> frames = DecodedFrames(*doc);
    context.reset();
    EXPECT_EQ(DecodedFrames(*doc), frames);
    ASSERT_EQ(doc->Undo(), EditorStatus::Ok);
    ASSERT_EQ(doc->Redo(), EditorStatus::Ok);
    EXPECT_EQ(DecodedFrames(*doc), frames);
    EXPECT_EQ(doc->GetWorkingImage().GetFormat(), PF_INDEX8);
}
