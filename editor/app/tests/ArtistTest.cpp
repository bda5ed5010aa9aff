// What artists expect of the window beyond the classic commands: the
// timeline, the palette panel, zoom to fit and the pixel grid, the
// selection's clipboard and drag, Cancel in the progress dialog, Open of a
// strip, the question before a video of another codec is saved
// uncompressed, the title and the frame commands.

#include "TestSupport.h"

#include "editor/CAviFile.h"
#include "kvfedit/CKVFEditorView.h"
#include "kvfedit/CPaintToolsBar.h"
#include "kvfedit/CPalettePanel.h"
#include "kvfedit/CProgressDialog.h"
#include "kvfedit/CTimeline.h"
#include "kvfedit/CFieldsDialog.h"

#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

#include <cstring>

using namespace kvtest;
using edtest::Bytes;

namespace {

void SolidFrames(CKVFEditorDoc& doc, int count, int side = 8)
{
    for (int i = 0; i < count; ++i) {
        const Bytes picture = edtest::SolidPicture(side, side, uint8_t(40 * i + 20), 100, 200);
        QCOMPARE(doc.InsertFrame(picture.data(), picture.size(), InsertPlace::After), EditorStatus::Ok);
    }
}

// The palette entry `index` of the current 8-bit frame's pixel at (x, y).
uint32_t IndexAt(CKVFEditorDoc& doc, int x, int y)
{
    return doc.GetWorkingImage().GetPixel(x, y);
}

} // namespace

class ArtistTest : public QObject {
    Q_OBJECT

private slots:
    void theTimelineShowsEveryFrameAndGoesToOne()
    {
        CEditorWindow window;
        SolidFrames(window.Doc(), 4);
        CTimeline& timeline = window.Frame().Timeline();
        QCOMPARE(timeline.count(), 4);
        QCOMPARE(timeline.item(0)->text(), QStringLiteral("1"));
        QCOMPARE(timeline.item(3)->text(), QStringLiteral("4"));
        QVERIFY(!timeline.item(2)->icon().isNull());
        QCOMPARE(timeline.currentRow(), window.Doc().GetCurrentFrame());
        // A click goes to that frame; the status bar counts from 1 too.
        QTest::mouseClick(timeline.viewport(), Qt::LeftButton, {}, timeline.visualItemRect(timeline.item(1)).center());
        QCOMPARE(window.Doc().GetCurrentFrame(), 1);
        QCOMPARE(window.Frame().PaneTexts()[3], QStringLiteral("Frame: 2"));
        // Duplicate and blank frames each one step, both shown at once.
        window.Trigger(EditorCommand::DuplicateFrame);
        QCOMPARE(timeline.count(), 5);
        QCOMPARE(window.Doc().GetCurrentFrame(), 2);
        QCOMPARE(QString::fromStdString(window.Doc().GetUndoName()), QStringLiteral("Duplicate Frame"));
        QVERIFY(edtest::Decoded(window.Doc().GetFrame(2)) == edtest::Decoded(window.Doc().GetFrame(1)));
        window.Trigger(EditorCommand::InsertBlankFrame);
        QCOMPARE(timeline.count(), 6);
        QCOMPARE(FrameColours(window.Doc(), 3)[0], 0xFFFFFFu); // the background colour
        window.Trigger(EditorCommand::Undo);
        window.Trigger(EditorCommand::Undo);
        QCOMPARE(timeline.count(), 4);
        QCOMPARE(timeline.currentRow(), window.Doc().GetCurrentFrame());
    }

    void aPickedPaletteEntryIsThePaintedOne()
    {
        CEditorWindow window;
        // An 8-bit frame whose entries 5 and 200 have the same colour.
        CDibSection frame;
        edtest::FillSection(frame, PF_INDEX8, 6, 6, 9);
        PaletteEntry entries[256] = {};
        for (int i = 0; i < 256; ++i)
            entries[i] = PaletteEntry{uint8_t(i), uint8_t(255 - i), uint8_t(i / 2), 0};
        entries[200] = entries[5];
        frame.GetPalette()->SetEntries(entries, 0, 256);
        std::memset(frame.Bits(), 0, size_t(frame.Pitch()) * 6);
        const Bytes picture = edtest::PackedBytes(frame);
        QCOMPARE(window.Doc().InsertFrame(picture.data(), picture.size(), InsertPlace::After), EditorStatus::Ok);
        CPalettePanel& panel = window.Frame().PalettePanel();
        QCOMPARE(panel.Entries().size(), 256);
        QCOMPARE(panel.Entries()[77], QColor(77, 178, 38));
        // Left: foreground; right: background.
        QTest::mouseClick(&panel, Qt::LeftButton, {}, panel.CellRect(200).center());
        QTest::mouseClick(&panel, Qt::RightButton, {}, panel.CellRect(77).center());
        CPaintToolsBar& tools = window.Frame().PaintTools();
        QCOMPARE(tools.Colour(Swatch::Foreground), QColor(5, 250, 2));
        QCOMPARE(tools.Colour(Swatch::Background), QColor(77, 178, 38));
        CKVFEditorView& view = window.Frame().View();
        view.SetZoomIndex(6);
        MousePress(*view.viewport(), Qt::LeftButton, QPoint(12, 12));
        MouseRelease(*view.viewport(), Qt::LeftButton, QPoint(12, 12));
        MousePress(*view.viewport(), Qt::RightButton, QPoint(28, 12));
        MouseRelease(*view.viewport(), Qt::RightButton, QPoint(28, 12));
        QCOMPARE(IndexAt(window.Doc(), 1, 1), 200u); // not 5, though they look alike
        QCOMPARE(IndexAt(window.Doc(), 3, 1), 77u);

        // A colour the palette lacks shows as the entry the pen will paint.
        tools.SetColour(Swatch::Foreground, QColor(255, 0, 0));
        const QColor shown = tools.Colour(Swatch::Foreground);
        QVERIFY(shown != QColor(255, 0, 0));
        MousePress(*view.viewport(), Qt::LeftButton, QPoint(4, 36));
        MouseRelease(*view.viewport(), Qt::LeftButton, QPoint(4, 36));
        const PaletteEntry& painted = entries[IndexAt(window.Doc(), 0, 4)];
        QCOMPARE(shown, QColor(painted.red, painted.green, painted.blue));

        // The choice outlives the 8-bit frame: a high-colour frame shows and
        // paints the red chosen, not the entry the 8-bit frame stood it for.
        const Bytes rgb = edtest::MakePicture(PF_RGB24, 6, 6, 3);
        QCOMPARE(window.Doc().InsertFrame(rgb.data(), rgb.size(), InsertPlace::After), EditorStatus::Ok);
        QCOMPARE(window.Doc().GetCurrentFrame(), 1);
        QCOMPARE(tools.Colour(Swatch::Foreground), QColor(255, 0, 0));
        QCOMPARE(tools.EditorColourOf(Swatch::Foreground).red, uint8_t(255));
        window.Doc().SetCurrentFrame(0);
        QCOMPARE(tools.Colour(Swatch::Foreground), shown);
    }

    void fitActualSizeAndTheGrid()
    {
        CEditorWindow window;
        SolidFrames(window.Doc(), 1, 20);
        CKVFEditorView& view = window.Frame().View();
        window.Frame().resize(800, 600);
        QApplication::processEvents();
        window.Trigger(EditorCommand::ZoomToFit);
        QCOMPARE(view.ZoomIndex(), 6); // 20 pixels at 8 fit any window
        QVERIFY(view.ZoomedSize().width() <= view.viewport()->width());
        window.Trigger(EditorCommand::ActualSize);
        QCOMPARE(view.ZoomIndex(), CKVFEditorView::kDefaultZoom);
        // Ctrl+= zooms in as Ctrl++ does.
        QVERIFY(window.Frame().Action(EditorCommand::ZoomIn)->shortcuts().contains(QKeySequence(QStringLiteral("Ctrl+="))));

        // The grid: a line between the pixels from zoom 4 on, only when asked.
        window.Trigger(EditorCommand::PixelGrid);
        QVERIFY(view.Grid());
        view.SetZoomIndex(4);
        QVERIFY(!view.ShowsGrid());
        view.SetZoomIndex(6);
        QVERIFY(view.ShowsGrid());
        const QImage shown = view.viewport()->grab().toImage();
        // A solid frame: the grid line at the pixel edge differs from a pixel's middle.
        QVERIFY(shown.pixelColor(8, 4) != shown.pixelColor(4, 4));
        QCOMPARE(shown.pixelColor(4, 4), shown.pixelColor(12, 4));
        window.Trigger(EditorCommand::PixelGrid);
        QVERIFY(!view.ShowsGrid());
    }

    void theSelectionIsCopiedPastedAndDraggedWithUndo()
    {
        CEditorWindow window;
        SolidFrames(window.Doc(), 1, 10);
        CKVFEditorDoc& doc = window.Doc();
        CKVFEditorView& view = window.Frame().View();
        view.SetZoomIndex(6);
        QWidget& viewport = *view.viewport();
        auto at = [](int x, int y) { return QPoint(x * 8 + 4, y * 8 + 4); };
        CPaintToolsBar& tools = window.Frame().PaintTools();
        // A red square at (1, 1)-(2, 2).
        tools.SetTool(PaintTool::FRect);
        tools.SetColour(Swatch::Foreground, QColor(255, 0, 0));
        MousePress(viewport, Qt::LeftButton, at(1, 1));
        MouseMove(viewport, Qt::LeftButton, at(2, 2));
        MouseRelease(viewport, Qt::LeftButton, at(2, 2));
        const std::vector<uint32_t> painted = FrameColours(doc, 0);

        tools.SetTool(PaintTool::Select);
        MousePress(viewport, Qt::LeftButton, at(1, 1));
        MouseMove(viewport, Qt::LeftButton, at(2, 2));
        MouseRelease(viewport, Qt::LeftButton, at(2, 2));
        QCOMPARE(view.Selection().left, 1);
        QCOMPARE(view.Selection().right, 3);
        QCOMPARE(window.Frame().Action(EditorCommand::DeleteFrame)->text(), QStringLiteral("&Delete Selection"));

        // Copy takes the selection, Paste puts it at the selection's corner.
        window.Trigger(EditorCommand::Copy);
        QImage copied = QGuiApplication::clipboard()->image();
        view.SetSelection(PaintRect{6, 5, 7, 6});
        window.Trigger(EditorCommand::Paste);
        QCOMPARE(doc.GetFrameCount(), 1); // no new frame
        QCOMPARE(QString::fromStdString(doc.GetUndoName()), QStringLiteral("Paste Into Frame"));
        QCOMPARE(FrameColours(doc, 0)[5 * 10 + 6], 0xFF0000u);
        QCOMPARE(FrameColours(doc, 0)[6 * 10 + 7], 0xFF0000u);
        QCOMPARE(view.Selection().right, 8); // the pasted picture is selected
        window.Trigger(EditorCommand::Undo);
        QVERIFY(FrameColours(doc, 0) == painted);
        Q_UNUSED(copied);

        // Drag moves the pixels and leaves the background colour behind.
        view.SetSelection(PaintRect{1, 1, 3, 3});
        tools.SetTool(PaintTool::Drag);
        MousePress(viewport, Qt::LeftButton, at(1, 1));
        MouseMove(viewport, Qt::LeftButton, at(4, 3));
        MouseRelease(viewport, Qt::LeftButton, at(4, 3));
        std::vector<uint32_t> moved = FrameColours(doc, 0);
        QCOMPARE(moved[1 * 10 + 1], 0xFFFFFFu);
        QCOMPARE(moved[3 * 10 + 4], 0xFF0000u);
        QCOMPARE(moved[4 * 10 + 5], 0xFF0000u);
        QCOMPARE(view.Selection().left, 4);
        QCOMPARE(QString::fromStdString(doc.GetUndoName()), QStringLiteral("Move Selection"));
        // Delete clears it; Cut copies and clears; every step undoes alone.
        window.Trigger(EditorCommand::DeleteFrame);
        QCOMPARE(doc.GetFrameCount(), 1);
        QCOMPARE(FrameColours(doc, 0)[3 * 10 + 4], 0xFFFFFFu);
        QCOMPARE(QString::fromStdString(doc.GetUndoName()), QStringLiteral("Delete Selection"));
        window.Trigger(EditorCommand::Undo);
        QVERIFY(FrameColours(doc, 0) == moved);
        window.Trigger(EditorCommand::Undo);
        QVERIFY(FrameColours(doc, 0) == painted);
    }

    void cancelLeavesTheDocumentAsItWas()
    {
        CEditorWindow window;
        SolidFrames(window.Doc(), 30, 16);
        const std::vector<Bytes> before = edtest::DecodedFrames(window.Doc());
        const std::string undo = window.Doc().GetUndoName();
        CProgressDialog& progress = window.Frame().Progress();
        // The button is pressed while the operation runs, as a user would.
        QTimer::singleShot(0, &progress, [&progress] { QTest::mouseClick(progress.CancelButton(), Qt::LeftButton); });
        window.Trigger(EditorCommand::Invert);
        QVERIFY(progress.IsCancelled());
        QVERIFY(edtest::DecodedFrames(window.Doc()) == before);
        QCOMPARE(window.Doc().GetUndoName(), undo);
        QVERIFY(window.Host().messages.isEmpty()); // a cancel is no failure
        QVERIFY(!progress.isVisible());
        // The next operation starts afresh.
        window.Trigger(EditorCommand::Invert);
        QVERIFY(!progress.IsCancelled());
        QVERIFY(edtest::DecodedFrames(window.Doc()) != before);
    }

    void openTakesAStripWithAGuessedFrameCount()
    {
        CEditorWindow window;
        const std::string strip = window.File("walk.bmp");
        WriteSprite(strip, edtest::MakePicture(PF_INDEX8, 16, 64, 3));
        window.Host().files.push_back({QString::fromStdString(strip), {}});
        int guessed = 0;
        window.Host().dialogs.push_back([&guessed](QDialog& dialog) {
            guessed = static_cast<CFieldsDialog&>(dialog).Value(0);
            return true;
        });
        window.Trigger(EditorCommand::Open);
        QCOMPARE(guessed, 4); // square frames, 16 × 16
        QCOMPARE(window.Doc().GetFrameCount(), 4);
        QCOMPARE(window.Doc().GetCurrentFrame(), 0);
        QVERIFY(!window.Doc().CanUndo());
        QVERIFY(window.Doc().IsModified());
        QCOMPARE(window.Frame().windowTitle(), QStringLiteral("Untitled* - KVF Editor"));
        // Small pictures open zoomed to fit.
        QVERIFY(window.Frame().View().ZoomIndex() > CKVFEditorView::kDefaultZoom);
    }

    void savingAVideoOfAnotherCodecAsksFirst()
    {
        CEditorWindow window;
        // A video of another codec: run-length coded 8-bit frames.
        const std::string video = window.File("clip.avi");
        Bytes colours;
        for (int i = 0; i < 256; ++i)
            colours.insert(colours.end(), {uint8_t(i), uint8_t(255 - i), uint8_t(i / 2), 0});
        edtest::HandAvi rle = edtest::CodecAvi(4, 2, 8, 1 /* BI_RLE8 */, colours, {Bytes{4, 7, 0, 0, 2, 9, 2, 3, 0, 1}});
        rle.handler = 0;
        edtest::WriteFile(video, rle.Build());
        QVERIFY(window.Frame().OpenDocumentFile(QString::fromStdString(video)));
        QVERIFY(window.Doc().WasOpenedFromForeignVideo());
        const std::string saved = window.File("clip2.avi");
        window.Host().files.push_back({QString::fromStdString(saved), {}});
        window.Trigger(EditorCommand::SaveAs); // answered No
        QCOMPARE(window.Host().questions.size(), 1);
        QVERIFY(window.Host().questions[0].contains(QStringLiteral("uncompressed")));
        QVERIFY(!QFileInfo::exists(QString::fromStdString(saved)));
        window.Host().yesNoAnswers.push_back(true);
        window.Host().files.push_back({QString::fromStdString(saved), {}});
        window.Trigger(EditorCommand::SaveAs);
        QVERIFY(QFileInfo::exists(QString::fromStdString(saved)));
        // Saved once, it is the editor's own document: no more questions.
        window.Trigger(EditorCommand::Save);
        QCOMPARE(window.Host().questions.size(), 2);
        QCOMPARE(window.Frame().windowTitle(), QStringLiteral("clip2.avi - KVF Editor"));

        // The editor's own documents are saved without a question.
        CEditorWindow own;
        QVERIFY(own.Frame().OpenDocumentFile(QString::fromStdString(saved)));
        QVERIFY(!own.Doc().WasOpenedFromForeignVideo());
    }
};

QT_TEST_CLASS(ArtistTest);
#include "ArtistTest.moc"
