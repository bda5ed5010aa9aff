// Undo and redo: a seeded model test of random edits that undoes and redoes
// every step, checking each frame bit for bit against the states recorded
// on the way; the history's bounds; groups; the saved point.

#include "EditorTestSupport.h"

#include "editor/CKVFEditorDoc.h"
#include "editor/PaletteFile.h"

#include <gtest/gtest.h>
#include <random>

using namespace edtest;

namespace {

// Random edits on one document, and the states the model expects.
class EditModel {
public:
    EditModel(uint32_t seed, const TempDir& dir) : m_random(seed), m_seed(seed), m_dir(dir)
    {
        const PixelFormat formats[] = {PF_INDEX4, PF_INDEX8, PF_RGB565, PF_RGB24, PF_RGB32};
        m_format = formats[Pick(5)];
        m_width = 2 + Pick(7);
        m_height = 1 + Pick(6);
        m_states.push_back(Snapshot(m_doc).frames);
        Bytes palette(1024);
        for (uint8_t& byte : palette)
            byte = uint8_t(Pick(256));
        WriteFile(m_dir.File("model.pal"), palette);
    }

    // One random edit; records the new state when it made a step.
    void Edit()
    {
        const size_t before = m_doc.History().UndoCount();
        const std::string what = Apply();
        const size_t after = m_doc.History().UndoCount();
        ASSERT_LE(after, before + 1) << Where(what);
        if (after == before + 1) {
            if (m_saved > int64_t(m_position))
                m_saved = -1; // the saved state was on the redo branch just cut off
            m_states.resize(m_position + 1);
            m_states.push_back(Snapshot(m_doc).frames);
            ++m_position;
        }
        Check(what);
    }

    void UndoAll()
    {
        while (m_position > 0) {
            ASSERT_EQ(m_doc.Undo(), EditorStatus::Ok) << Where("undo");
            --m_position;
            Check("undo");
        }
        EXPECT_FALSE(m_doc.CanUndo()) << Where("undo");
    }

    void RedoAll()
    {
        while (m_position + 1 < m_states.size()) {
            ASSERT_EQ(m_doc.Redo(), EditorStatus::Ok) << Where("redo");
            ++m_position;
            Check("redo");
        }
        EXPECT_FALSE(m_doc.CanRedo()) << Where("redo");
    }

    size_t Steps() const { return m_states.size() - 1; }

private:
    int Pick(int count) { return int(m_random() % uint32_t(count)); }

    std::string Where(const std::string& what) const
    {
        return "seed " + std::to_string(m_seed) + ", step " + std::to_string(m_position) + ", " + what;
    }

    // The frames are those recorded for this position, stored byte for byte
    // as they were; the working image shows the current frame; the document
    // is modified exactly when away from the saved state.
    void Check(const std::string& what)
    {
        ASSERT_TRUE(Snapshot(m_doc).frames == m_states[m_position]) << Where(what);
        if (m_doc.GetFrameCount() > 0) {
            CDibSection& working = m_doc.GetWorkingImage();
            ASSERT_EQ(PackedBytes(working), Decoded(m_doc.GetFrame(m_doc.GetCurrentFrame()))) << Where(what);
        }
        EXPECT_EQ(m_doc.IsModified(), m_saved != int64_t(m_position)) << Where(what);
    }

    Bytes NewPicture()
    {
        int width = m_width, height = m_height;
        PixelFormat format = m_format;
        if (const CStoredFrame* first = m_doc.GetFrame(0)) {
            width = first->Width();
            height = first->Height();
            format = first->Format();
        }
        return MakePicture(format, width, height, m_random());
    }

    std::string Apply()
    {
        const EditorColour colour{uint8_t(Pick(256)), uint8_t(Pick(256)), uint8_t(Pick(256))};
        switch (Pick(16)) {
        case 0:
        case 1: {
            Bytes picture = NewPicture();
            m_doc.Paste(picture.data(), picture.size(), Pick(2) ? InsertPlace::After : InsertPlace::Before);
            return "paste";
        }
        case 2:
            m_doc.DeleteCurrentFrame();
            return "delete";
        case 3:
            m_doc.Cut();
            return "cut";
        case 4: {
            if (m_doc.GetFrameCount() == 0)
                return "paint nothing";
            m_doc.SetCurrentFrame(Pick(m_doc.GetFrameCount()));
            CDibSection& working = m_doc.GetWorkingImage();
            working.FillRect(Pick(working.GetWidth()), Pick(working.GetHeight()), 1 + Pick(3), 1 + Pick(3),
                             uint32_t(m_random()));
            m_doc.SetWorkingDirty();
            m_doc.Commit();
            return "paint";
        }
        case 5:
            m_doc.Mirror();
            return "mirror";
        case 6:
            m_doc.Flip();
            return "flip";
        case 7:
            m_doc.Invert();
            return "invert";
        case 8:
            m_doc.Resize(ResizeParams{1 + Pick(10), 1 + Pick(10)});
            return "resize";
        case 9:
            m_doc.EnlargeCanvas(CanvasParams{1 + Pick(10), 1 + Pick(10), Pick(4), Pick(4)}, colour);
            return "canvas";
        case 10:
            if (Pick(2))
                m_doc.FadeIn(colour);
            else
                m_doc.FadeOut(colour);
            return "fade";
        case 11:
            m_doc.Reverse();
            return "reverse";
        case 12:
            m_doc.TimeStretch(TimeStretchParams{1 + Pick(8)});
            return "stretch";
        case 13: {
            ColourDepthParams params;
            params.target = ColourTarget(Pick(5));
            params.method = ColourMethod(Pick(4));
            params.colours = 8 + Pick(249);
            params.includeWindowsColours = Pick(2);
            params.errorDiffusion = Pick(2);
            m_doc.ChangeColourDepth(params);
            return "colour depth";
        }
        case 14:
            m_doc.LoadPalette(m_dir.File("model.pal"));
            return "load palette";
        default:
            // Saving changes no frame; the state it leaves is the saved one.
            if (m_doc.SaveDocument(m_dir.File("model.avi")) == EditorStatus::Ok) {
                m_saved = int64_t(m_position);
                m_states[m_position] = Snapshot(m_doc).frames;
            }
            return "save";
        }
    }

    std::mt19937 m_random;
    uint32_t m_seed;
    const TempDir& m_dir;
    CKVFEditorDoc m_doc;
    PixelFormat m_format = PF_RGB24;
    int m_width = 4, m_height = 4;
    std::vector<std::vector<Bytes>> m_states;
    size_t m_position = 0;
    int64_t m_saved = 0; // the empty new document counts as saved
};

void FillNoise(CKVFEditorDoc& doc, int count)
{
    for (int i = 0; i < count; ++i) {
        Bytes picture = MakePicture(PF_RGB24, 64, 64, uint32_t(i) + 1);
        ASSERT_EQ(doc.Paste(picture.data(), picture.size()), EditorStatus::Ok);
    }
}

} // namespace

TEST(HistoryTest, UndoAndRedoRestoreEveryFrameAfterRandomEdits)
{
    TempDir dir;
    size_t steps = 0;
    for (uint32_t seed = 1; seed <= 12; ++seed) {
        EditModel model(seed, dir);
        for (int i = 0; i < 60; ++i) {
            model.Edit();
            if (::testing::Test::HasFatalFailure())
                return;
        }
        model.UndoAll();
        model.RedoAll();
        model.UndoAll();
        if (::testing::Test::HasFatalFailure())
            return;
        steps += model.Steps();
    }
    EXPECT_GT(steps, 300u); // the edits really made steps
}

TEST(HistoryTest, UndoPutsTheCurrentFrameBack)
{
    CKVFEditorDoc doc;
    FillNoise(doc, 3);
    ASSERT_EQ(doc.SetCurrentFrame(1), EditorStatus::Ok);
    Bytes picture = MakePicture(PF_RGB24, 64, 64, 9);
    doc.Paste(picture.data(), picture.size(), InsertPlace::Before);
    EXPECT_EQ(doc.GetUndoName(), "Paste");
    ASSERT_EQ(doc.Undo(), EditorStatus::Ok);
    EXPECT_EQ(doc.GetCurrentFrame(), 1);
    EXPECT_EQ(doc.GetRedoName(), "Paste");

    ASSERT_EQ(doc.DeleteCurrentFrame(), EditorStatus::Ok);
    ASSERT_EQ(doc.Undo(), EditorStatus::Ok);
    EXPECT_EQ(doc.GetCurrentFrame(), 1);
    EXPECT_EQ(doc.GetFrameCount(), 3);

    ASSERT_EQ(doc.SetCurrentFrame(0), EditorStatus::Ok);
    ASSERT_EQ(doc.Invert(), EditorStatus::Ok);
    EXPECT_EQ(doc.GetCurrentFrame(), 2);
    EXPECT_EQ(doc.GetUndoName(), "Invert");
    ASSERT_EQ(doc.Undo(), EditorStatus::Ok);
    EXPECT_EQ(doc.GetCurrentFrame(), 0);
}

TEST(HistoryTest, UnstoredStrokesAreTheFirstThingUndone)
{
    CKVFEditorDoc doc;
    FillNoise(doc, 1);
    const Bytes before = Decoded(doc.GetFrame(0));
    doc.GetWorkingImage().FillRect(0, 0, 10, 10, 0xFF00FF);
    doc.SetWorkingDirty();
    EXPECT_TRUE(doc.CanUndo());
    EXPECT_FALSE(doc.CanRedo());
    EXPECT_EQ(doc.GetUndoName(), "Paint");
    ASSERT_EQ(doc.Undo(), EditorStatus::Ok);
    EXPECT_EQ(Decoded(doc.GetFrame(0)), before);
    EXPECT_EQ(PackedBytes(doc.GetWorkingImage()), before);
    ASSERT_EQ(doc.Redo(), EditorStatus::Ok);
    EXPECT_EQ(doc.GetWorkingImage().GetPixel(3, 3), 0xFF00FFu);
    // New strokes make the redo steps go.
    ASSERT_EQ(doc.Undo(), EditorStatus::Ok);
    doc.GetWorkingImage().SetPixel(0, 0, 1);
    doc.SetWorkingDirty();
    EXPECT_FALSE(doc.CanRedo());
    EXPECT_EQ(doc.Redo(), EditorStatus::NothingToDo);
}

TEST(HistoryTest, MemoryBoundDropsTheOldestStepsButKeepsTheNewest)
{
    CKVFEditorDoc doc;
    const size_t frameBytes = 64 * 64 * 3;
    doc.History().SetLimits(3 * frameBytes, 100);
    FillNoise(doc, 1);
    std::vector<Bytes> states{Decoded(doc.GetFrame(0))};
    for (int i = 0; i < 10; ++i) {
        ASSERT_EQ(doc.Invert(), EditorStatus::Ok);
        states.push_back(Decoded(doc.GetFrame(0)));
        EXPECT_LE(doc.HistoryHeldBytes(), 3 * frameBytes + 4096);
    }
    const size_t kept = doc.History().StepCount();
    EXPECT_GE(kept, 2u);
    EXPECT_LT(kept, 5u);
    // The steps kept still undo exactly.
    for (size_t i = 0; i < kept; ++i) {
        ASSERT_EQ(doc.Undo(), EditorStatus::Ok);
        EXPECT_EQ(Decoded(doc.GetFrame(0)), states[states.size() - 2 - i]);
    }
    EXPECT_FALSE(doc.CanUndo());
    // The state the document was new in can no longer be reached.
    EXPECT_TRUE(doc.IsModified());

    // A single step larger than the bound still stays.
    doc.History().SetLimits(1000, 100);
    ASSERT_EQ(doc.Mirror(), EditorStatus::Ok);
    EXPECT_EQ(doc.History().StepCount(), 1u);
    EXPECT_TRUE(doc.CanUndo());
}

TEST(HistoryTest, StepBoundAndRepeatedFramesCountedOnce)
{
    CKVFEditorDoc doc;
    doc.History().SetLimits(CEditHistory::kDefaultMaxBytes, 3);
    FillNoise(doc, 2);
    for (int i = 0; i < 5; ++i)
        doc.Invert();
    EXPECT_EQ(doc.History().StepCount(), 3u);

    // Stretching repeats frames without copying them: the step keeps only
    // the old list, whose frames are all still in the document.
    CKVFEditorDoc stretched;
    FillNoise(stretched, 2);
    stretched.History().Clear();
    ASSERT_EQ(stretched.TimeStretch(TimeStretchParams{500}), EditorStatus::Ok);
    EXPECT_LT(stretched.HistoryHeldBytes(), 64 * 64 * 3u);
}

TEST(HistoryTest, GroupsUndoAsOneStep)
{
    CKVFEditorDoc doc;
    FillNoise(doc, 1);
    const DocumentState before = Snapshot(doc);
    doc.BeginCommandGroup("Import");
    for (int i = 0; i < 3; ++i) {
        Bytes picture = MakePicture(PF_RGB24, 64, 64, uint32_t(i) + 20);
        doc.Paste(picture.data(), picture.size());
    }
    EXPECT_FALSE(doc.History().CanUndo());
    doc.EndCommandGroup();
    const DocumentState after = Snapshot(doc);
    EXPECT_EQ(doc.GetUndoName(), "Import");
    ASSERT_EQ(doc.Undo(), EditorStatus::Ok);
    EXPECT_EQ(Snapshot(doc), before);
    ASSERT_EQ(doc.Redo(), EditorStatus::Ok);
    EXPECT_EQ(Snapshot(doc), after);
    // An empty group leaves no step.
    doc.BeginCommandGroup("Nothing");
    doc.EndCommandGroup();
    EXPECT_EQ(doc.GetUndoName(), "Import");
}

TEST(HistoryTest, ASavedStateOnACutOffRedoBranchIsGone)
{
    TempDir dir;
    CKVFEditorDoc doc;
    FillNoise(doc, 2);
    ASSERT_EQ(doc.SaveDocument(dir.File("s.avi")), EditorStatus::Ok);
    ASSERT_EQ(doc.Undo(), EditorStatus::Ok);
    EXPECT_TRUE(doc.IsModified());
    ASSERT_EQ(doc.Mirror(), EditorStatus::Ok);
    EXPECT_TRUE(doc.IsModified());
    ASSERT_EQ(doc.Undo(), EditorStatus::Ok);
    EXPECT_TRUE(doc.IsModified()); // one frame: not what was saved
    EXPECT_FALSE(doc.CanRedo() && doc.GetRedoName() == "Paste");
}
