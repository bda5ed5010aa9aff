// The view and the Paint Tools Bar driven with the mouse: where clicks land
// at each zoom, the pen, the shapes (line, outlined and filled rectangle),
// the fill, the dropper, the read-outs, the wheel, the swatches and the
// onion skin.

#include "TestSupport.h"

#include "kvfedit/CKVFEditorView.h"
#include "kvfedit/CPaintToolsBar.h"

#include <QAbstractButton>
#include <QScrollBar>
#include <QApplication>
#include <QTest>

using namespace kvtest;
using edtest::Bytes;

namespace {

constexpr uint32_t kWhite = 0xFFFFFF;

// The document's only frame: a 24-bit picture of one colour.
void OneSolidFrame(CKVFEditorDoc& doc, int width, int height, uint32_t colour = kWhite)
{
    const Bytes picture = edtest::SolidPicture(width, height, uint8_t(colour >> 16), uint8_t(colour >> 8),
                                               uint8_t(colour));
    QCOMPARE(doc.InsertFrame(picture.data(), picture.size(), InsertPlace::After), EditorStatus::Ok);
}

// The working image's pixel memory, to compare bit for bit.
Bytes WorkingBytes(CKVFEditorDoc& doc)
{
    const CDibSection& working = doc.GetWorkingImage();
    return Bytes(working.Bits(), working.Bits() + size_t(working.Pitch()) * size_t(working.GetHeight()));
}

// The middle of picture pixel (x, y) on the viewport at an integral zoom
// factor, unscrolled.
QPoint Middle(int x, int y, int zoom)
{
    return QPoint(x * zoom + zoom / 2, y * zoom + zoom / 2);
}

// The pixels whose colour differs from `colour`, as "x,y" in row order.
QStringList PixelsNotOf(const std::vector<uint32_t>& pixels, int width, uint32_t colour)
{
    QStringList points;
    for (size_t i = 0; i < pixels.size(); ++i)
        if (pixels[i] != colour)
            points << QStringLiteral("%1,%2").arg(int(i) % width).arg(int(i) / width);
    return points;
}

} // namespace

class ViewTest : public QObject {
    Q_OBJECT

private slots:
    void penAtZoomEightAddressesThePixelUnderThePointer()
    {
        CEditorWindow window;
        OneSolidFrame(window.Doc(), 16, 16);
        CKVFEditorView& view = window.Frame().View();
        view.SetZoomIndex(6);
        QCOMPARE(view.ZoomFactor(), 8.0);
        QWidget& viewport = *view.viewport();
        MousePress(viewport, Qt::LeftButton, QPoint(17, 9));
        QVERIFY(view.IsBusy());
        MouseRelease(viewport, Qt::LeftButton, QPoint(17, 9));
        QVERIFY(!view.IsBusy());
        QCOMPARE(PixelsNotOf(FrameColours(window.Doc(), 0), 16, kWhite), QStringList{"2,1"});
        QCOMPARE(FrameColours(window.Doc(), 0)[1 * 16 + 2], 0u); // black: the foreground
        // A stroke: a line through every pixel between its points, both ends included.
        MousePress(viewport, Qt::LeftButton, QPoint(4, 40));
        MouseMove(viewport, Qt::LeftButton, QPoint(44, 40));
        MouseRelease(viewport, Qt::LeftButton, QPoint(44, 56));
        QCOMPARE(PixelsNotOf(FrameColours(window.Doc(), 0), 16, kWhite),
                 (QStringList{"2,1", "0,5", "1,5", "2,5", "3,5", "4,5", "5,5", "5,6", "5,7"}));
        // Each stroke is an undo step of its own.
        QCOMPARE(window.Doc().History().UndoCount(), size_t(3)); // the insertion and two strokes
        QCOMPARE(QString::fromStdString(window.Doc().GetUndoName()), QStringLiteral("Pen Stroke"));
    }

    void rightButtonPaintsTheBackgroundColour()
    {
        CEditorWindow window;
        OneSolidFrame(window.Doc(), 8, 8, 0x000000);
        window.Frame().PaintTools().SetColour(Swatch::Background, QColor(10, 200, 30));
        QWidget& viewport = *window.Frame().View().viewport();
        MousePress(viewport, Qt::RightButton, QPoint(3, 3));
        MouseRelease(viewport, Qt::RightButton, QPoint(3, 3));
        QCOMPARE(FrameColours(window.Doc(), 0)[3 * 8 + 3], 0x0AC81Eu);
    }

    void strokeLeavingThePictureIsClippedUntilTheRelease()
    {
        CEditorWindow window;
        OneSolidFrame(window.Doc(), 8, 8);
        CKVFEditorView& view = window.Frame().View();
        view.SetZoomIndex(6);
        QWidget& viewport = *view.viewport();
        MousePress(viewport, Qt::LeftButton, QPoint(6 * 8 + 2, 2 * 8 + 2)); // pixel (6, 2)
        MouseMove(viewport, Qt::LeftButton, QPoint(12 * 8 + 2, 2 * 8 + 2)); // (12, 2): outside
        QVERIFY(view.IsBusy());
        MouseMove(viewport, Qt::LeftButton, QPoint(12 * 8 + 2, 4 * 8 + 2)); // (12, 4)
        MouseRelease(viewport, Qt::LeftButton, QPoint(4 * 8 + 2, 4 * 8 + 2)); // back in at (4, 4)
        QCOMPARE(PixelsNotOf(FrameColours(window.Doc(), 0), 8, kWhite),
                 (QStringList{"6,2", "7,2", "4,4", "5,4", "6,4", "7,4"}));
        // Left of or above the picture is outside it, not its first column or row.
        QCOMPARE(view.ToPicture(QPoint(-1, -1)), QPoint(-1, -1));
        QVERIFY(!view.IsInsidePicture(view.ToPicture(QPoint(-1, 3))));
    }

    void zoomStepsScaleTheDrawingAndThePanes()
    {
        CEditorWindow window;
        OneSolidFrame(window.Doc(), 100, 100);
        CKVFEditorView& view = window.Frame().View();
        view.SetZoomIndex(0);
        QCOMPARE(view.ZoomedSize(), QSize(12, 12));
        QCOMPARE(view.ToPicture(QPoint(17, 9)), QPoint(136, 72));
        QCOMPARE(window.Frame().PaneTexts(),
                 (QStringList{"Zoom: 0.125", "24 bit", "100 x 100", "Frame: 1", "Total: 1"}));
        const QImage shown = view.viewport()->grab().toImage();
        QCOMPARE(shown.pixelColor(11, 11), QColor(Qt::white));
        QVERIFY(shown.pixelColor(12, 12) != QColor(Qt::white)); // the hatch
        view.SetZoomIndex(6);
        QCOMPARE(view.ZoomedSize(), QSize(800, 800));
        QCOMPARE(window.Frame().PaneTexts().first(), QStringLiteral("Zoom: 8.000"));

        window.Host().saveAnswers.push_back(SaveChangesAnswer::Discard);
        window.Trigger(EditorCommand::New);
        QCOMPARE(window.Frame().PaneTexts(), (QStringList{"Zoom: 8.000", "0 bit", "0 x 0", "Frame: 0", "Total: 0"}));
    }

    void ctrlWheelZoomsAroundThePointerAndTheWheelScrolls()
    {
        CEditorWindow window;
        OneSolidFrame(window.Doc(), 1000, 1000);
        CKVFEditorView& view = window.Frame().View();
        QWidget& viewport = *view.viewport();
        const QPoint pointer(90, 70);
        const QPoint before = view.ToPicture(pointer);
        Wheel(viewport, 120, pointer, Qt::ControlModifier);
        QCOMPARE(view.ZoomIndex(), 4);
        Wheel(viewport, 120, pointer, Qt::ControlModifier);
        QCOMPARE(view.ZoomIndex(), 5);
        QVERIFY(view.horizontalScrollBar()->value() > 0);
        QCOMPARE(view.ToPicture(pointer), before);
        Wheel(viewport, -240, pointer, Qt::ControlModifier);
        QCOMPARE(view.ZoomIndex(), 3);
        QCOMPARE(view.ToPicture(pointer), before);
        // Without Ctrl the wheel scrolls down, the zoom kept.
        const int top = view.verticalScrollBar()->value();
        Wheel(viewport, -120, pointer);
        QCOMPARE(view.ZoomIndex(), 3);
        QVERIFY(view.verticalScrollBar()->value() > top);
        // The middle button pans: the picture follows the pointer.
        const QPoint scroll(view.horizontalScrollBar()->value(), view.verticalScrollBar()->value());
        const size_t steps = window.Doc().History().UndoCount();
        MousePress(viewport, Qt::MiddleButton, QPoint(100, 100));
        MouseMove(viewport, Qt::MiddleButton, QPoint(60, 70));
        MouseRelease(viewport, Qt::MiddleButton, QPoint(60, 70));
        QCOMPARE(QPoint(view.horizontalScrollBar()->value(), view.verticalScrollBar()->value()),
                 scroll + QPoint(40, 30));
        QCOMPARE(window.Doc().History().UndoCount(), steps); // nothing painted
    }

    void shapesAreDrawnFromThePressToTheRelease_data()
    {
        QTest::addColumn<PaintTool>("tool");
        QTest::addColumn<QStringList>("pixels");
        // From (1, 1) to (6, 4): every pixel of the line between them, the
        // outline with both corners, the whole rectangle.
        QTest::newRow("Line") << PaintTool::Line << QStringList{"1,1", "2,2", "3,2", "4,3", "5,3", "6,4"};
        QTest::newRow("Rect") << PaintTool::Rect
                              << QStringList{"1,1", "2,1", "3,1", "4,1", "5,1", "6,1", "1,2", "6,2",
                                             "1,3", "6,3", "1,4", "2,4", "3,4", "4,4", "5,4", "6,4"};
        QStringList filled;
        for (int y = 1; y <= 4; ++y)
            for (int x = 1; x <= 6; ++x)
                filled << QStringLiteral("%1,%2").arg(x).arg(y);
        QTest::newRow("FRect") << PaintTool::FRect << filled;
    }

    void shapesAreDrawnFromThePressToTheRelease()
    {
        QFETCH(PaintTool, tool);
        QFETCH(QStringList, pixels);
        CEditorWindow window;
        OneSolidFrame(window.Doc(), 10, 8);
        CKVFEditorView& view = window.Frame().View();
        view.SetZoomIndex(4);
        QCOMPARE(view.ZoomFactor(), 2.0);
        CPaintToolsBar& tools = window.Frame().PaintTools();
        QTest::mouseClick(tools.ToolButton(tool), Qt::LeftButton);
        QCOMPARE(tools.Tool(), tool);
        QCOMPARE(view.viewport()->cursor().shape(), Qt::CrossCursor);
        tools.SetColour(Swatch::Foreground, QColor(200, 0, 100));
        const size_t steps = window.Doc().History().UndoCount();
        QWidget& viewport = *view.viewport();

        MousePress(viewport, Qt::LeftButton, Middle(1, 1, 2));
        QVERIFY(view.IsBusy());
        MouseMove(viewport, Qt::LeftButton, Middle(8, 7, 2)); // a corner on the way, not kept
        MouseMove(viewport, Qt::LeftButton, Middle(6, 4, 2));
        QCOMPARE(tools.LineText(0), QStringLiteral("6,4"));
        // The preview is shown, but the picture holds nothing of it yet.
        QCOMPARE(PixelsNotOf(FrameColours(window.Doc(), 0), 10, kWhite), QStringList());
        QVERIFY(!window.Doc().IsWorkingDirty());
        std::vector<uint32_t> shown;
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 10; ++x)
                shown.push_back(view.ShownImage().pixel(x, y) & 0xFFFFFFu);
        QCOMPARE(PixelsNotOf(shown, 10, kWhite), pixels);
        const QImage preview = view.ShownImage();

        MouseRelease(viewport, Qt::LeftButton, Middle(6, 4, 2));
        QVERIFY(!view.IsBusy());
        const std::vector<uint32_t> drawn = FrameColours(window.Doc(), 0);
        QCOMPARE(PixelsNotOf(drawn, 10, kWhite), pixels);
        QCOMPARE(drawn[1 * 10 + 1], 0xC80064u);
        QVERIFY(view.ShownImage() == preview); // what was shown is what was drawn
        QCOMPARE(window.Doc().History().UndoCount(), steps + 1);
        // The step is named after the tool.
        const QString name = tool == PaintTool::Line ? QStringLiteral("Line")
                             : tool == PaintTool::Rect ? QStringLiteral("Rectangle")
                                                       : QStringLiteral("Filled Rectangle");
        QCOMPARE(QString::fromStdString(window.Doc().GetUndoName()), name);
        QVERIFY(!window.Doc().IsWorkingDirty()); // committed
    }

    void shapeFollowsThePointerAlongTheEdgeOutsideThePicture()
    {
        CEditorWindow window;
        OneSolidFrame(window.Doc(), 6, 5);
        CKVFEditorView& view = window.Frame().View();
        view.SetZoomIndex(5);
        CPaintToolsBar& tools = window.Frame().PaintTools();
        QWidget& viewport = *view.viewport();
        tools.SetTool(PaintTool::Rect);
        MousePress(viewport, Qt::LeftButton, Middle(2, 1, 4));
        MouseMove(viewport, Qt::LeftButton, QPoint(200, 300)); // pixel (50, 75): outside
        QCOMPARE(tools.LineText(0), QString());                // no position outside, as for the pen
        MouseRelease(viewport, Qt::LeftButton, QPoint(200, 300));
        QCOMPARE(PixelsNotOf(FrameColours(window.Doc(), 0), 6, kWhite),
                 (QStringList{"2,1", "3,1", "4,1", "5,1", "2,2", "5,2", "2,3", "5,3", "2,4", "3,4", "4,4", "5,4"}));
        tools.SetTool(PaintTool::Line);
        MousePress(viewport, Qt::LeftButton, Middle(1, 0, 4));
        MouseRelease(viewport, Qt::LeftButton, QPoint(-30, -30)); // above and left: the corner (0, 0)
        QCOMPARE(PixelsNotOf(FrameColours(window.Doc(), 0), 6, kWhite),
                 (QStringList{"0,0", "1,0", "2,1", "3,1", "4,1", "5,1", "2,2", "5,2", "2,3", "5,3", "2,4", "3,4",
                              "4,4", "5,4"}));
        QCOMPARE(window.Doc().History().UndoCount(), size_t(3)); // the insertion and two shapes
    }

    void clickWithoutMovingAndEscapeLeaveEverythingAsItWas()
    {
        CEditorWindow window;
        AddFrames(window.Doc(), PF_INDEX4, 9, 7, 1);
        QCOMPARE(window.Doc().SaveDocument(window.File("clean.avi")), EditorStatus::Ok);
        QVERIFY(!window.Doc().IsModified());
        CKVFEditorView& view = window.Frame().View();
        view.SetZoomIndex(5);
        QWidget& viewport = *view.viewport();
        const edtest::DocumentState stored = edtest::Snapshot(window.Doc());
        const Bytes working = WorkingBytes(window.Doc());
        const QImage shown = view.ShownImage();
        const size_t steps = window.Doc().History().UndoCount();
        auto expectUntouched = [&](const char* what) {
            QVERIFY2(!view.IsBusy(), what);
            QVERIFY2(WorkingBytes(window.Doc()) == working, what);
            QVERIFY2(view.ShownImage() == shown, what);
            QVERIFY2(edtest::Snapshot(window.Doc()) == stored, what);
            QVERIFY2(!window.Doc().IsWorkingDirty(), what);
            QVERIFY2(!window.Doc().IsModified(), what);
            QVERIFY2(window.Doc().History().UndoCount() == steps, what);
        };
        for (PaintTool tool : {PaintTool::Line, PaintTool::Rect, PaintTool::FRect}) {
            window.Frame().PaintTools().SetTool(tool);
            for (Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton}) {
                MousePress(viewport, button, Middle(3, 2, 4));
                MouseRelease(viewport, button, Middle(3, 2, 4) + QPoint(1, 1)); // the same pixel
                expectUntouched("a click");
                // Away and back again before the release is a click too.
                MousePress(viewport, button, Middle(3, 2, 4));
                MouseMove(viewport, button, Middle(7, 6, 4));
                QVERIFY(view.ShownImage() != shown);
                MouseMove(viewport, button, Middle(3, 2, 4));
                QVERIFY(view.ShownImage() == shown);
                MouseRelease(viewport, button, Middle(3, 2, 4));
                expectUntouched("a release on the press point");
                // Escape drops the shape; the release and moves after it draw nothing.
                MousePress(viewport, button, Middle(1, 1, 4));
                MouseMove(viewport, button, Middle(8, 5, 4));
                QVERIFY(view.ShownImage() != shown);
                QTest::keyClick(&view, Qt::Key_Escape);
                expectUntouched("Escape");
                MouseMove(viewport, button, Middle(6, 6, 4));
                MouseRelease(viewport, button, Middle(6, 6, 4));
                expectUntouched("the release after Escape");
            }
        }
    }

    void shapeIsOneUndoStepLikeAPenStroke()
    {
        CEditorWindow window;
        AddFrames(window.Doc(), PF_RGB565, 12, 10, 1);
        QCOMPARE(window.Doc().SaveDocument(window.File("clean.avi")), EditorStatus::Ok);
        CKVFEditorView& view = window.Frame().View();
        view.SetZoomIndex(4);
        QWidget& viewport = *view.viewport();
        CPaintToolsBar& tools = window.Frame().PaintTools();
        const Bytes clean = WorkingBytes(window.Doc());
        const std::vector<Bytes> cleanFrames = edtest::DecodedFrames(window.Doc());
        const size_t steps = window.Doc().History().UndoCount();

        // A pen stroke and its undo, for the flags a shape must match.
        MousePress(viewport, Qt::LeftButton, Middle(1, 1, 2));
        MouseMove(viewport, Qt::LeftButton, Middle(9, 2, 2));
        MouseRelease(viewport, Qt::LeftButton, Middle(9, 8, 2));
        const bool modifiedAfterStroke = window.Doc().IsModified();
        window.Trigger(EditorCommand::Undo);
        const bool modifiedAfterStrokeUndone = window.Doc().IsModified();
        QVERIFY(modifiedAfterStroke);
        QVERIFY(WorkingBytes(window.Doc()) == clean);

        for (PaintTool tool : {PaintTool::Line, PaintTool::Rect, PaintTool::FRect}) {
            tools.SetTool(tool);
            MousePress(viewport, Qt::LeftButton, Middle(10, 8, 2));
            MouseMove(viewport, Qt::LeftButton, Middle(4, 4, 2));
            MouseMove(viewport, Qt::LeftButton, Middle(2, 1, 2));
            MouseRelease(viewport, Qt::LeftButton, Middle(2, 1, 2));
            QVERIFY(WorkingBytes(window.Doc()) != clean);
            QCOMPARE(window.Doc().IsModified(), modifiedAfterStroke);
            QCOMPARE(window.Doc().History().UndoCount(), steps + 1);
            window.Trigger(EditorCommand::Undo);
            QVERIFY(WorkingBytes(window.Doc()) == clean);
            QVERIFY(edtest::DecodedFrames(window.Doc()) == cleanFrames);
            QCOMPARE(window.Doc().IsModified(), modifiedAfterStrokeUndone);
            QCOMPARE(window.Doc().History().UndoCount(), steps);
        }

        // A command during the drag finishes the shape as its release would.
        tools.SetTool(PaintTool::FRect);
        MousePress(viewport, Qt::LeftButton, Middle(0, 0, 2));
        MouseMove(viewport, Qt::LeftButton, Middle(1, 1, 2));
        QVERIFY(!window.Frame().Action(EditorCommand::Undo)->isEnabled()); // as during a stroke
        window.Trigger(EditorCommand::Invert);
        QVERIFY(!view.IsBusy());
        QCOMPARE(window.Doc().History().UndoCount(), steps + 2); // the rectangle, then the inversion
        window.Trigger(EditorCommand::Undo);
        window.Trigger(EditorCommand::Undo);
        QVERIFY(WorkingBytes(window.Doc()) == clean);
    }

    void shapesWithTheRightButtonUseTheBackgroundColour()
    {
        CEditorWindow window;
        OneSolidFrame(window.Doc(), 8, 6, 0x000000);
        CPaintToolsBar& tools = window.Frame().PaintTools();
        tools.SetColour(Swatch::Background, QColor(10, 200, 30));
        tools.SetColour(Swatch::Foreground, QColor(250, 250, 0));
        CKVFEditorView& view = window.Frame().View();
        view.SetZoomIndex(6);
        QWidget& viewport = *view.viewport();
        for (PaintTool tool : {PaintTool::Line, PaintTool::Rect, PaintTool::FRect}) {
            tools.SetTool(tool);
            const int row = int(tool) - int(PaintTool::Line) + 1;
            MousePress(viewport, Qt::RightButton, Middle(1, row, 8));
            MouseMove(viewport, Qt::RightButton, Middle(5, row, 8));
            MouseRelease(viewport, Qt::RightButton, Middle(6, row, 8));
        }
        const std::vector<uint32_t> pixels = FrameColours(window.Doc(), 0);
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < 8; ++x)
                QCOMPARE(pixels[size_t(y * 8 + x)], y >= 1 && y <= 3 && x >= 1 && x <= 6 ? 0x0AC81Eu : 0u);
    }

    void shapeIsDroppedWhenTheFrameChangesUnderIt()
    {
        // Commands finish a shape first; a change that does not (the
        // document switching frames on its own) must not leave the preview
        // copying rows of a picture of another size.
        CEditorWindow window;
        OneSolidFrame(window.Doc(), 4, 3);
        OneSolidFrame(window.Doc(), 9, 8);
        const std::vector<Bytes> frames = edtest::DecodedFrames(window.Doc());
        CKVFEditorView& view = window.Frame().View();
        view.SetZoomIndex(5);
        QWidget& viewport = *view.viewport();
        window.Frame().PaintTools().SetTool(PaintTool::FRect);
        MousePress(viewport, Qt::LeftButton, Middle(8, 7, 4));
        MouseMove(viewport, Qt::LeftButton, Middle(6, 5, 4));
        QCOMPARE(window.Doc().SetCurrentFrame(0), EditorStatus::Ok);
        QVERIFY(!view.IsBusy());
        MouseMove(viewport, Qt::LeftButton, Middle(1, 1, 4));
        MouseRelease(viewport, Qt::LeftButton, Middle(1, 1, 4));
        QVERIFY(edtest::DecodedFrames(window.Doc()) == frames);
        QVERIFY(!window.Doc().IsWorkingDirty());
        QCOMPARE(view.ShownImage().size(), QSize(4, 3));
    }

    void everyToolHasATipAndAKey()
    {
        CEditorWindow window;
        CPaintToolsBar& tools = window.Frame().PaintTools();
        QStringList keys;
        for (int i = 0; i < 8; ++i) {
            QAbstractButton* button = tools.ToolButton(PaintTool(i));
            QVERIFY(button->isEnabled());
            QVERIFY(button->toolTip().startsWith(button->text()));
            QVERIFY(!button->shortcut().isEmpty());
            QVERIFY(button->toolTip().contains(button->shortcut().toString()));
            keys << button->shortcut().toString();
        }
        keys.removeDuplicates();
        QCOMPARE(keys.size(), 8);
        // The key chooses the tool.
        QApplication::setActiveWindow(&window.Frame());
        QVERIFY(QTest::qWaitForWindowActive(&window.Frame()));
        QTest::keyClick(window.Frame().windowHandle(), Qt::Key_M);
        QTRY_COMPARE(tools.Tool(), PaintTool::Select); // a button's shortcut clicks it in a moment
    }

    void fillFloodsTheRegionUnderThePointer()
    {
        CEditorWindow window;
        OneSolidFrame(window.Doc(), 8, 8);
        CKVFEditorView& view = window.Frame().View();
        view.SetZoomIndex(6);
        QWidget& viewport = *view.viewport();
        // A black wall down column 3 splits the frame in two.
        MousePress(viewport, Qt::LeftButton, QPoint(3 * 8, 0));
        MouseRelease(viewport, Qt::LeftButton, QPoint(3 * 8, 7 * 8));
        window.Frame().PaintTools().SetTool(PaintTool::Fill);
        window.Frame().PaintTools().SetColour(Swatch::Foreground, QColor(255, 0, 0));
        MousePress(viewport, Qt::LeftButton, QPoint(6 * 8, 6 * 8));
        MouseRelease(viewport, Qt::LeftButton, QPoint(6 * 8, 6 * 8));
        const std::vector<uint32_t> pixels = FrameColours(window.Doc(), 0);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                QCOMPARE(pixels[size_t(y * 8 + x)], x < 3 ? kWhite : x == 3 ? 0u : 0xFF0000u);
        QCOMPARE(window.Doc().History().UndoCount(), size_t(3)); // insertion, wall, fill
    }

    void dropperTakesColoursAndReadsThemOut()
    {
        CEditorWindow window;
        OneSolidFrame(window.Doc(), 4, 4, 0x204060);
        CKVFEditorView& view = window.Frame().View();
        view.SetZoomIndex(6);
        CPaintToolsBar& tools = window.Frame().PaintTools();
        tools.SetTool(PaintTool::Dropper);
        QWidget& viewport = *view.viewport();
        MouseMove(viewport, Qt::NoButton, QPoint(17, 9));
        QCOMPARE(tools.LineText(0), QStringLiteral("2,1"));
        QCOMPARE((QStringList{tools.ComponentText(0), tools.ComponentText(1), tools.ComponentText(2)}),
                 (QStringList{"32", "64", "96"}));
        QCOMPARE(tools.Colour(Swatch::Foreground), QColor(Qt::black)); // moving alone takes nothing
        MousePress(viewport, Qt::LeftButton, QPoint(17, 9));
        MouseRelease(viewport, Qt::LeftButton, QPoint(17, 9));
        QCOMPARE(tools.Colour(Swatch::Foreground), QColor(32, 64, 96));
        MousePress(viewport, Qt::RightButton, QPoint(1, 1));
        MouseMove(viewport, Qt::RightButton, QPoint(2, 2));
        QCOMPARE(tools.Colour(Swatch::Background), QColor(32, 64, 96));
        MouseRelease(viewport, Qt::RightButton, QPoint(2, 2));
        MouseMove(viewport, Qt::NoButton, QPoint(100, 100)); // outside the 32 × 32 picture
        QCOMPARE(tools.ComponentText(0), QStringLiteral("--"));
        QCOMPARE(tools.LineText(0), QString());
        QCOMPARE(window.Doc().History().UndoCount(), size_t(1)); // the insertion only
    }

    void swatchClickOpensTheColourDialog()
    {
        CEditorWindow window;
        CPaintToolsBar& tools = window.Frame().PaintTools();
        window.Host().colours.push_back(QColor(250, 5, 7));
        CColourSwatches& swatches = *tools.Swatches();
        QTest::mouseClick(&swatches, Qt::LeftButton, {}, swatches.SwatchRect(Swatch::Foreground).topLeft() + QPoint(2, 2));
        QCOMPARE(tools.Colour(Swatch::Foreground), QColor(250, 5, 7));
        QCOMPARE(tools.ComponentText(0), QStringLiteral("250"));
        // Cancelled: nothing changes.
        QTest::mouseClick(&swatches, Qt::LeftButton, {},
                          swatches.SwatchRect(Swatch::Background).bottomRight() - QPoint(2, 2));
        QCOMPARE(tools.Colour(Swatch::Background), QColor(Qt::white));
    }

    void onionSkinShowsThePreviousFrameFaintly()
    {
        CEditorWindow window;
        OneSolidFrame(window.Doc(), 8, 8, 0x000000);
        OneSolidFrame(window.Doc(), 8, 8, kWhite);
        CKVFEditorView& view = window.Frame().View();
        QCOMPARE(view.viewport()->grab().toImage().pixelColor(2, 2), QColor(Qt::white));
        window.Trigger(EditorCommand::OnionSkin);
        const QColor blended = view.viewport()->grab().toImage().pixelColor(2, 2);
        QVERIFY2(blended.red() > 128 && blended.red() < 255, qPrintable(blended.name()));
        window.Trigger(EditorCommand::OnionSkin);
        QCOMPARE(view.viewport()->grab().toImage().pixelColor(2, 2), QColor(Qt::white));
    }
};

QT_TEST_CLASS(ViewTest);
#include "ViewTest.moc"
