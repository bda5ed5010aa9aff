// The view and the Paint Tools Bar driven with the mouse: where clicks land
// at each zoom, the pen, the fill, the dropper, the read-outs, the wheel,
// the swatches and the onion skin.

#include "TestSupport.h"

#include "kvfedit/CKVFEditorView.h"
#include "kvfedit/CPaintToolsBar.h"

#include <QAbstractButton>
#include <QScrollBar>
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
        QCOMPARE(QString::fromStdString(window.Doc().GetUndoName()), QStringLiteral("Paint"));
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
                 (QStringList{"Zoom: 0.125", "24 bit", "100 x 100", "Frame: 0", "Total: 1"}));
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

    void wheelZoomsAroundThePointer()
    {
        CEditorWindow window;
        OneSolidFrame(window.Doc(), 1000, 1000);
        CKVFEditorView& view = window.Frame().View();
        QWidget& viewport = *view.viewport();
        const QPoint pointer(90, 70);
        const QPoint before = view.ToPicture(pointer);
        Wheel(viewport, 120, pointer);
        QCOMPARE(view.ZoomIndex(), 4);
        Wheel(viewport, 120, pointer);
        QCOMPARE(view.ZoomIndex(), 5);
        QVERIFY(view.horizontalScrollBar()->value() > 0);
        QCOMPARE(view.ToPicture(pointer), before);
        Wheel(viewport, -240, pointer);
        QCOMPARE(view.ZoomIndex(), 3);
        QCOMPARE(view.ToPicture(pointer), before);
    }

    void drawingToolsWithoutBehaviourChangeNothing()
    {
        CEditorWindow window;
        OneSolidFrame(window.Doc(), 8, 8);
        const edtest::DocumentState before = edtest::Snapshot(window.Doc());
        CPaintToolsBar& tools = window.Frame().PaintTools();
        QWidget& viewport = *window.Frame().View().viewport();
        for (PaintTool tool : {PaintTool::Line, PaintTool::Rect, PaintTool::FRect}) {
            QTest::mouseClick(tools.ToolButton(tool), Qt::LeftButton);
            QCOMPARE(tools.Tool(), tool);
            MousePress(viewport, Qt::LeftButton, QPoint(1, 1));
            MouseMove(viewport, Qt::LeftButton, QPoint(6, 5));
            MouseRelease(viewport, Qt::LeftButton, QPoint(6, 5));
        }
        QVERIFY(edtest::Snapshot(window.Doc()) == before);
        QVERIFY(!window.Doc().IsWorkingDirty());
        QVERIFY(!tools.ToolButton(PaintTool::Drag)->isEnabled());
        QVERIFY(!tools.ToolButton(PaintTool::Select)->isEnabled());
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

KVFEDIT_TEST_CLASS(ViewTest);
#include "ViewTest.moc"
