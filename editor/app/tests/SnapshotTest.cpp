// The window's parts as people see them: the main window with an animation
// open at zoom 4 (timeline and palette beside it), the Paint Tools Bar, the
// Export dialog, the preview, a selection, and the shape tools' work with a
// shape still being dragged.
// Each is checked for what a glance would catch (texts cut off, an empty
// picture) and, when KVFEDIT_SNAPSHOTS names a folder, saved there as PNG
// to be looked at (run under a real display for real fonts and styles).

#include "TestSupport.h"

#include "kvfedit/CAnimationPreview.h"
#include "kvfedit/CKVFEditorView.h"
#include "kvfedit/CPaintToolsBar.h"
#include "kvfedit/COutputOptionsDialog.h"
#include "kvfedit/CPalettePanel.h"
#include "kvfedit/CTimeline.h"

#include <QAbstractButton>
#include <QDir>
#include <QDockWidget>
#include <QLabel>
#include <QTest>

using namespace kvtest;
using edtest::Bytes;

namespace {

void Keep(QWidget& widget, const QString& name)
{
    const QString folder = qEnvironmentVariable("KVFEDIT_SNAPSHOTS");
    const QImage image = widget.grab().toImage();
    QVERIFY2(!image.isNull() && image.width() > 20 && image.height() > 20, qPrintable(name));
    if (!folder.isEmpty()) {
        QDir().mkpath(folder);
        QVERIFY(image.save(folder + QLatin1Char('/') + name + QStringLiteral(".png")));
    }
}

// Every button and label shows its whole text.
void ExpectTextsWhole(QWidget& widget)
{
    for (QAbstractButton* button : widget.findChildren<QAbstractButton*>())
        if (button->isVisible() && !button->text().isEmpty())
            QVERIFY2(button->width() >= button->sizeHint().width() - 1, qPrintable(button->text()));
    for (QLabel* label : widget.findChildren<QLabel*>())
        if (label->isVisible() && !label->text().isEmpty() && !label->wordWrap())
            QVERIFY2(label->width() >= label->minimumSizeHint().width() - 1, qPrintable(label->text()));
}

void LookAtOutputOptions(QDialog& dialog)
{
    Keep(dialog, QStringLiteral("export-dialog"));
    ExpectTextsWhole(dialog);
    for (const char* text : COutputOptionsDialog::kChoiceTexts)
        QVERIFY2(FindButton(dialog, QString::fromUtf8(text)), text);
}

// Six frames of a ball bouncing across a 48 × 40 field, 8 bits, black around it.
void BallFrames(CKVFEditorDoc& doc)
{
    CDibSection frame;
    edtest::FillSection(frame, PF_INDEX8, 48, 40, 3);
    PaletteEntry entries[256] = {};
    for (int i = 1; i < 256; ++i)
        entries[i] = PaletteEntry{uint8_t(i), uint8_t(255 - i), uint8_t(96 + i / 3), 0};
    frame.GetPalette()->SetEntries(entries, 0, 256);
    for (int f = 0; f < 6; ++f) {
        const int cx = 8 + f * 6, cy = 30 - (f % 3) * 9;
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 48; ++x) {
                const int d = (x - cx) * (x - cx) + (y - cy) * (y - cy);
                frame.Bits()[size_t(y) * size_t(frame.Pitch()) + size_t(x)] = d < 49 ? uint8_t(40 + d * 4) : 0;
            }
        const Bytes picture = edtest::PackedBytes(frame);
        QCOMPARE(doc.InsertFrame(picture.data(), picture.size(), InsertPlace::After), EditorStatus::Ok);
    }
}

} // namespace

class SnapshotTest : public QObject {
    Q_OBJECT

private slots:
    void mainWindowPaintToolsOutputOptionsAndPreview()
    {
        CEditorWindow window;
        BallFrames(window.Doc());
        window.Doc().SetCurrentFrame(2);
        window.Frame().View().SetZoomIndex(5);
        QApplication::processEvents();
        Keep(window.Frame(), QStringLiteral("main-window"));
        Keep(window.Frame().PaintToolsDock(), QStringLiteral("paint-tools-bar"));
        ExpectTextsWhole(window.Frame().PaintToolsDock());
        // The picture is drawn: its pixels are not all one colour.
        const QImage view = window.Frame().View().viewport()->grab().toImage();
        QVERIFY(view.pixelColor(2, 2) != view.pixelColor(4 * 20, 4 * 12)); // the ball's middle

        Keep(window.Frame().Timeline(), QStringLiteral("timeline"));
        Keep(window.Frame().PalettePanel(), QStringLiteral("palette"));
        window.Host().dialogs.push_back([](QDialog& dialog) {
            LookAtOutputOptions(dialog);
            return false;
        });
        window.Trigger(EditorCommand::Export);
        QCOMPARE(window.Host().dialogTitles, QStringList{"Export"});

        window.Trigger(EditorCommand::Preview);
        CAnimationPreview* preview = window.Frame().Preview();
        QVERIFY(preview && preview->isVisible());
        QVERIFY(QTest::qWaitForWindowExposed(preview));
        QCOMPARE(preview->Rate(), 15);
        QVERIFY(preview->IsPlaying());
        preview->SetPlaying(false);
        const int first = preview->ShownFrame();
        preview->Step();
        QCOMPARE(preview->ShownFrame(), (first + 1) % 6);
        const QImage shown = preview->ShownImage();
        preview->Step();
        QVERIFY(preview->ShownImage() != shown);
        for (int i = 0; i < 6; ++i)
            preview->Step();
        QCOMPARE(preview->ShownFrame(), (first + 2) % 6);
        Keep(*preview, QStringLiteral("preview"));
        // Painting shows in the preview at once.
        window.Doc().SetCurrentFrame(preview->ShownFrame());
        const QRgb before = preview->ShownImage().pixel(0, 0);
        const QColor pen(200, 55, 162); // palette entry 200, far from the ground's black
        window.Frame().PaintTools().SetColour(Swatch::Foreground, pen);
        MousePress(*window.Frame().View().viewport(), Qt::LeftButton, QPoint(1, 1));
        preview->OnDocumentChanged();
        QVERIFY(preview->ShownImage().pixel(0, 0) != before);
        QCOMPARE(QColor(preview->ShownImage().pixel(0, 0)), pen);
        MouseRelease(*window.Frame().View().viewport(), Qt::LeftButton, QPoint(1, 1));
    }

    void shapesOverTheBall()
    {
        CEditorWindow window;
        BallFrames(window.Doc());
        window.Doc().SetCurrentFrame(2);
        CKVFEditorView& view = window.Frame().View();
        view.SetZoomIndex(5);
        CPaintToolsBar& tools = window.Frame().PaintTools();
        tools.SetColour(Swatch::Foreground, QColor(255, 0, 160));
        tools.SetColour(Swatch::Background, QColor(0, 255, 96));
        QWidget& viewport = *view.viewport();
        struct Shape {
            PaintTool tool;
            Qt::MouseButton button;
            QPoint from, to; // picture pixels
        };
        const Shape shapes[] = {{PaintTool::Line, Qt::LeftButton, {2, 37}, {45, 3}},
                                {PaintTool::Rect, Qt::LeftButton, {30, 4}, {44, 14}},
                                {PaintTool::FRect, Qt::RightButton, {3, 3}, {12, 9}},
                                {PaintTool::Rect, Qt::RightButton, {24, 20}, {40, 36}}};
        auto at = [](QPoint pixel) { return pixel * 4 + QPoint(2, 2); };
        for (const Shape& shape : shapes) {
            tools.SetTool(shape.tool);
            MousePress(viewport, shape.button, at(shape.from));
            MouseMove(viewport, shape.button, at((shape.from + shape.to) / 2));
            MouseMove(viewport, shape.button, at(shape.to));
            QApplication::processEvents();
            if (&shape == &shapes[3])
                Keep(window.Frame(), QStringLiteral("shapes-dragged"));
            // What the view shows while dragging is what the release draws.
            const QImage dragged = viewport.grab().toImage();
            MouseRelease(viewport, shape.button, at(shape.to));
            QApplication::processEvents();
            QVERIFY(viewport.grab().toImage() == dragged);
        }
        Keep(window.Frame(), QStringLiteral("shapes"));

        // A selection dragged to another place.
        tools.SetTool(PaintTool::Select);
        MousePress(viewport, Qt::LeftButton, at(QPoint(4, 4)));
        MouseMove(viewport, Qt::LeftButton, at(QPoint(20, 16)));
        MouseRelease(viewport, Qt::LeftButton, at(QPoint(20, 16)));
        tools.SetTool(PaintTool::Drag);
        MousePress(viewport, Qt::LeftButton, at(QPoint(10, 10)));
        MouseMove(viewport, Qt::LeftButton, at(QPoint(22, 24)));
        MouseRelease(viewport, Qt::LeftButton, at(QPoint(22, 24)));
        QApplication::processEvents();
        QVERIFY(view.HasSelection());
        Keep(window.Frame(), QStringLiteral("selection"));
    }
};

QT_TEST_CLASS(SnapshotTest);
#include "SnapshotTest.moc"
