// How the document keeps its frames: packed pictures that come back byte for
// byte, refused bytes, the worker queue that stores them, and long
// operations that are cancelled half-way.

#include "EditorTestSupport.h"
#include "editor/CStoredFrame.h"
#include "editor/SpriteExport.h"
#include "FrameTools.h"
#include "frames/CFramePacker.h"
#include "frames/CWorkQueue.h"
#include "imaging/ColourReduction.h"

#include <gtest/gtest.h>

#include <atomic>

using namespace edtest;

namespace {

// A picture that packs well: bands of a few colours.
Bytes BandedPicture(PixelFormat format, int width, int height, uint32_t seed)
{
    CDibSection section;
    FillSection(section, format, width, height, seed);
    const size_t rowBytes = (size_t(width) * PixelFormatBits(format) + 7) / 8;
    for (int y = 0; y < height; ++y)
        for (size_t x = 0; x < rowBytes; ++x)
            section.Bits()[size_t(y) * size_t(section.Pitch()) + x] = uint8_t(seed + uint32_t(y / 4) * 37);
    return PackedBytes(section);
}

} // namespace

TEST(FrameStoreTest, FramesComeBackByteForByteAtEveryDepth)
{
    for (PixelFormat format : AllFormats())
        for (int width : {1, 3, 17, 64}) {
            for (const Bytes& picture : {MakePicture(format, width, 9, 3), BandedPicture(format, width, 40, 5)}) {
                const FrameRef frame = CStoredFrame::FromPicture(picture.data(), picture.size());
                ASSERT_TRUE(frame) << std::hex << format << " " << width;
                EXPECT_EQ(frame->Picture(), picture) << std::hex << format << " " << width;
                EXPECT_EQ(frame->Format(), format);
                EXPECT_EQ(frame->Width(), width);
            }
        }
    // Bands pack to a fraction; noise is kept plain rather than packed for nothing.
    const Bytes banded = BandedPicture(PF_RGB24, 64, 64, 1);
    const FrameRef packed = CStoredFrame::FromPicture(banded.data(), banded.size());
    EXPECT_TRUE(packed->IsPacked());
    EXPECT_LT(packed->StoredBytes(), banded.size() / 4);
    const Bytes noise = MakePicture(PF_RGB24, 64, 64, 1);
    EXPECT_FALSE(CStoredFrame::FromPicture(noise.data(), noise.size())->IsPacked());
}

TEST(FrameStoreTest, OnlyWholePlainPicturesAreStored)
{
    const Bytes picture = MakePicture(PF_INDEX8, 8, 8, 2);
    EXPECT_FALSE(CStoredFrame::FromPicture(nullptr, 0));
    EXPECT_FALSE(CStoredFrame::FromPicture(picture.data(), picture.size() - 1));
    Bytes longer = picture;
    longer.push_back(0);
    EXPECT_FALSE(CStoredFrame::FromPicture(longer.data(), longer.size()));
    Bytes encoded = picture;
    WriteLE32(encoded.data() + BIH_COMPRESSION, TAG_PKC1);
    EXPECT_FALSE(CStoredFrame::FromPicture(encoded.data(), encoded.size()));
    Bytes huge = picture;
    WriteLE32(huge.data() + BIH_WIDTH, 70000);
    EXPECT_FALSE(CStoredFrame::FromPicture(huge.data(), huge.size()));
}

TEST(FrameStoreTest, TheWorkQueueRunsEveryJobAndReportsAFailure)
{
    std::atomic<int> ran{0};
    {
        CWorkQueue queue;
        for (int i = 0; i < 100; ++i)
            queue.Add([&ran] { return ++ran > 0; });
        EXPECT_TRUE(queue.Finish());
    }
    EXPECT_EQ(ran.load(), 100);
    CWorkQueue failing;
    for (int i = 0; i < 10; ++i)
        failing.Add([i] { return i != 7; });
    EXPECT_FALSE(failing.Finish());

    // Places filled out of order come back in order; a repeat takes the one before.
    CFramePacker packer(3);
    const Bytes a = SolidPicture(4, 4, 1, 2, 3), c = SolidPicture(4, 4, 7, 8, 9);
    packer.Pack(2, c);
    packer.Pack(0, a);
    std::vector<FrameRef> frames;
    ASSERT_TRUE(packer.Finish(frames, {false, true, false}));
    EXPECT_EQ(frames[0]->Picture(), a);
    EXPECT_EQ(frames[1], frames[0]);
    EXPECT_EQ(frames[2]->Picture(), c);
    CFramePacker missing(2);
    missing.Pack(0, a);
    EXPECT_FALSE(missing.Finish(frames));
}

TEST(FrameStoreTest, ACancelledOperationLeavesTheDocumentAsItWas)
{
    CKVFEditorDoc doc;
    for (int i = 0; i < 6; ++i) {
        const Bytes picture = MakePicture(PF_RGB24, 12, 10, uint32_t(i));
        ASSERT_EQ(doc.Paste(picture.data(), picture.size()), EditorStatus::Ok);
    }
    doc.SetCurrentFrame(2);
    const DocumentState before = Snapshot(doc);
    const std::string undo = doc.GetUndoName();
    RecordingProgress progress;
    progress.cancelAfter = 3;
    ColourDepthParams reduce;
    reduce.errorDiffusion = true;
    const std::vector<std::function<EditorStatus()>> operations = {
        [&] { return doc.Invert(&progress); },
        [&] { return doc.Resize(ResizeParams{5, 5}, &progress); },
        [&] { return doc.ChangeColourDepth(reduce, &progress); },
    };
    for (const auto& operation : operations) {
        progress.log.clear();
        EXPECT_EQ(operation(), EditorStatus::Cancelled);
        EXPECT_EQ(Snapshot(doc), before);
        EXPECT_EQ(doc.GetUndoName(), undo);
        EXPECT_EQ(progress.log.back(), "end");
    }
    // Uncancelled, the same operation goes through.
    progress.cancelAfter = -1;
    EXPECT_EQ(doc.Invert(&progress), EditorStatus::Ok);
    EXPECT_NE(Snapshot(doc), before);
}

TEST(FrameStoreTest, ReducingFrameByFrameGivesWhatReducingThemTogetherGives)
{
    for (ColourMethod method : {ColourMethod::Octree, ColourMethod::Box5, ColourMethod::KMeans})
        for (bool diffuse : {false, true}) {
            ColourReductionOptions options;
            options.method = method;
            options.colours = 40;
            options.errorDiffusion = diffuse;
            std::vector<CDibSection> together(3), apart(3);
            std::vector<CDib*> frames;
            for (int i = 0; i < 3; ++i) {
                FillSection(together[size_t(i)], i == 1 ? PF_RGB565 : PF_RGB24, 20, 9, uint32_t(i) + 11);
                FillSection(apart[size_t(i)], i == 1 ? PF_RGB565 : PF_RGB24, 20, 9, uint32_t(i) + 11);
                frames.push_back(&together[size_t(i)]);
            }
            ASSERT_EQ(ReduceColours(frames.data(), 3, options), DIB_OK);
            std::unique_ptr<CColourQuantizer> quantizer = MakeColourQuantizer(method, options.colours);
            for (CDibSection& frame : apart)
                ASSERT_EQ(AddReductionFrame(*quantizer, &frame, options), DIB_OK);
            CDibPalette* palette = nullptr;
            ASSERT_EQ(FinishReductionPalette(*quantizer, options, &palette), DIB_OK);
            for (int i = 0; i < 3; ++i) {
                ASSERT_EQ(ReduceFrame(&apart[size_t(i)], palette, options), DIB_OK);
                EXPECT_EQ(PackedBytes(apart[size_t(i)]), PackedBytes(together[size_t(i)]))
                    << int(method) << " " << diffuse << " frame " << i;
            }
            palette->Release();
        }
}

TEST(FrameStoreTest, TheDocumentsReductionOnWorkersEqualsTheImageLibrarys)
{
    // Frames after the first are converted on worker threads from their
    // pixels; the result must be what the image library makes of them all.
    for (bool diffuse : {false, true}) {
        CKVFEditorDoc doc;
        std::vector<CDibSection> sections(4);
        std::vector<CDib*> frames;
        for (int i = 0; i < 4; ++i) {
            FillSection(sections[size_t(i)], PF_RGB24, 23, 11, uint32_t(i) + 40);
            const Bytes picture = PackedBytes(sections[size_t(i)]);
            ASSERT_EQ(doc.Paste(picture.data(), picture.size()), EditorStatus::Ok);
            frames.push_back(&sections[size_t(i)]);
        }
        ColourDepthParams params;
        params.method = ColourMethod::Box6;
        params.colours = 64;
        params.errorDiffusion = diffuse;
        ASSERT_EQ(doc.ChangeColourDepth(params), EditorStatus::Ok);
        ColourReductionOptions options;
        options.method = params.method;
        options.colours = params.colours;
        options.errorDiffusion = diffuse;
        ASSERT_EQ(ReduceColours(frames.data(), 4, options), DIB_OK);
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(Decoded(doc.GetFrame(i)), PackedBytes(sections[size_t(i)])) << diffuse << " frame " << i;
    }
}

TEST(FrameStoreTest, ToolsOnWorkerThreadsGiveEachFrameItsOwnResultInOrder)
{
    // Fade's factor depends on the frame's place, so a result stored at the
    // wrong place or made from the wrong frame shows; many more frames than
    // workers, of mixed depths.
    constexpr int kFrames = 24;
    CKVFEditorDoc doc;
    std::vector<Bytes> pictures;
    for (int i = 0; i < kFrames; ++i) {
        pictures.push_back(MakePicture(i % 3 == 0 ? PF_INDEX8 : PF_RGB24, 31, 7, uint32_t(i) + 3));
        ASSERT_EQ(doc.Paste(pictures.back().data(), pictures.back().size()), EditorStatus::Ok);
    }
    const EditorColour black{0, 0, 0};
    ASSERT_EQ(doc.FadeOut(black), EditorStatus::Ok);
    ASSERT_EQ(doc.GetFrameCount(), kFrames);
    for (int i = 0; i < kFrames; ++i) {
        CDibSection source, expected;
        SectionOfPicture(pictures[size_t(i)], source);
        ASSERT_EQ(FadePicture(source, FadeFactor(i, kFrames, false), black, expected), DIB_OK);
        EXPECT_EQ(Decoded(doc.GetFrame(i)), PackedBytes(expected)) << "frame " << i;
    }
    // One undo step brings every frame back.
    ASSERT_EQ(doc.Undo(), EditorStatus::Ok);
    for (int i = 0; i < kFrames; ++i)
        EXPECT_EQ(Decoded(doc.GetFrame(i)), pictures[size_t(i)]) << "frame " << i;
}
