// The main window's commands: undo through the menu and the accelerator,
// enabling, navigation keys, prompts, the clipboard, the recent files, the
// save prompt, dropped files and the progress dialog.

#include "TestSupport.h"

#include "kvfedit/CFieldsDialog.h"
#include "kvfedit/CKVFEditorView.h"
#include "kvfedit/CPaintToolsBar.h"
#include "kvfedit/CProgressDialog.h"
#include "kvfedit/CRecentFileList.h"

#include <QAction>
#include <QClipboard>
#include <QDockWidget>
#include <QDropEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QSpinBox>
#include <QTest>
#include <QToolBar>
#include <QUrl>

using namespace kvtest;
using edtest::Bytes;

namespace {

QMenu* MenuNamed(QMainWindow& window, const QString& title)
{
    for (QAction* action : window.menuBar()->actions())
        if (action->menu() && action->text() == title)
            return action->menu();
    return nullptr;
}

// One stroke of black across row 0 of a white frame.
void PaintRowZero(CEditorWindow& window)
{
    QWidget& viewport = *window.Frame().View().viewport();
    MousePress(viewport, Qt::LeftButton, QPoint(0, 0));
    MouseRelease(viewport, Qt::LeftButton, QPoint(3, 0));
}

void WhiteFrames(CKVFEditorDoc& doc, int count)
{
    for (int i = 0; i < count; ++i) {
        const Bytes picture = edtest::SolidPicture(4, 4, 255, 255, uint8_t(255 - i));
        QCOMPARE(doc.InsertFrame(picture.data(), picture.size(), InsertPlace::After), EditorStatus::Ok);
    }
}

void Drop(QWidget& target, const QStringList& files)
{
    QMimeData data;
    QList<QUrl> urls;
    for (const QString& file : files)
        urls << QUrl::fromLocalFile(file);
    data.setUrls(urls);
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&target, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&target, &drop);
}

QStringList EnabledOf(CMainFrame& frame, std::initializer_list<EditorCommand> commands)
{
    frame.UpdateCommands();
    QStringList enabled;
    for (EditorCommand command : commands)
        if (frame.Action(command)->isEnabled())
            enabled << frame.Action(command)->text().remove(QLatin1Char('&'));
    return enabled;
}

} // namespace

class CommandsTest : public QObject {
    Q_OBJECT

private slots:
    void undoOfAPenStrokeThroughTheMenuAndTheAccelerator()
    {
        CEditorWindow window;
        WhiteFrames(window.Doc(), 1);
        const std::vector<uint32_t> clean = FrameColours(window.Doc(), 0);
        PaintRowZero(window);
        QVERIFY(FrameColours(window.Doc(), 0) != clean);

        QMenu* edit = MenuNamed(window.Frame(), QStringLiteral("&Edit"));
        QVERIFY(edit);
        emit edit->aboutToShow(); // as the menu opens
        QAction* undo = window.Frame().Action(EditorCommand::Undo);
        QVERIFY(edit->actions().contains(undo));
        QCOMPARE(undo->text(), QStringLiteral("&Undo Pen Stroke"));
        QVERIFY(undo->isEnabled());
        undo->trigger();
        QVERIFY(FrameColours(window.Doc(), 0) == clean);
        QCOMPARE(window.Frame().Action(EditorCommand::Redo)->text(), QStringLiteral("&Redo Pen Stroke"));

        QTest::keyClick(&window.Frame(), Qt::Key_Y, Qt::ControlModifier);
        QVERIFY(FrameColours(window.Doc(), 0) != clean);
        QTest::keyClick(&window.Frame(), Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(FrameColours(window.Doc(), 0) == clean);
        PaintRowZero(window);
        QTest::keyClick(window.Frame().View().viewport(), Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(FrameColours(window.Doc(), 0) == clean);
    }

    void navigationKeysAndTheirEnabling()
    {
        CEditorWindow window;
        using C = EditorCommand;
        const auto navigation = {C::FirstFrame, C::PreviousFrame, C::NextFrame, C::LastFrame, C::DeleteFrame,
                                 C::GoToFrame};
        QCOMPARE(EnabledOf(window.Frame(), navigation), QStringList());
        WhiteFrames(window.Doc(), 3);
        QCOMPARE(window.Doc().GetCurrentFrame(), 2);
        QCOMPARE(EnabledOf(window.Frame(), navigation),
                 (QStringList{"First Frame", "Previous Frame", "Delete Frame", "Go To Frame..."}));
        QWidget& frame = window.Frame();
        QTest::keyClick(&frame, Qt::Key_Home);
        QCOMPARE(window.Doc().GetCurrentFrame(), 0);
        QCOMPARE(EnabledOf(window.Frame(), navigation),
                 (QStringList{"Next Frame", "Last Frame", "Delete Frame", "Go To Frame..."}));
        QTest::keyClick(&frame, Qt::Key_Right);
        QCOMPARE(window.Doc().GetCurrentFrame(), 1);
        QTest::keyClick(&frame, Qt::Key_End);
        QCOMPARE(window.Doc().GetCurrentFrame(), 2);
        QTest::keyClick(&frame, Qt::Key_Left);
        QCOMPARE(window.Doc().GetCurrentFrame(), 1);
        window.Host().dialogs.push_back([](QDialog& dialog) {
            auto& fields = static_cast<CFieldsDialog&>(dialog);
            // Numbered from 1 like the status bar: the second of three frames.
            if (fields.Box(0)->value() != 2 || fields.Box(0)->minimum() != 1 || fields.Box(0)->maximum() != 3)
                return false;
            fields.Box(0)->setValue(9); // held to the limit
            return true;
        });
        QTest::keyClick(&frame, Qt::Key_G, Qt::ControlModifier);
        QCOMPARE(window.Host().dialogTitles, QStringList{"Goto"});
        QCOMPARE(window.Doc().GetCurrentFrame(), 2);
        QTest::keyClick(&frame, Qt::Key_Delete);
        QCOMPARE(window.Doc().GetFrameCount(), 2);
        QCOMPARE(window.Doc().GetCurrentFrame(), 1);
    }

    void aStrokeEndsBeforeACommandMovesToAnotherFrame()
    {
        CEditorWindow window;
        WhiteFrames(window.Doc(), 2);
        window.Doc().SetCurrentFrame(0);
        const std::vector<uint32_t> secondFrame = FrameColours(window.Doc(), 1);
        QWidget& viewport = *window.Frame().View().viewport();
        MousePress(viewport, Qt::LeftButton, QPoint(0, 0));
        using C = EditorCommand;
        // While the button is held only the last frame can be reached.
        QCOMPARE(EnabledOf(window.Frame(), {C::FirstFrame, C::NextFrame, C::LastFrame, C::ZoomIn, C::Undo}),
                 QStringList{"Last Frame"});
        window.Trigger(C::LastFrame);
        QVERIFY(!window.Frame().View().IsBusy());
        MouseMove(viewport, Qt::LeftButton, QPoint(3, 3));
        MouseRelease(viewport, Qt::LeftButton, QPoint(3, 3));
        QCOMPARE(window.Doc().GetCurrentFrame(), 1);
        QVERIFY(FrameColours(window.Doc(), 1) == secondFrame); // the stroke stayed on frame 0
        QCOMPARE(FrameColours(window.Doc(), 0)[0], 0u);
    }

    void commandEnablingFollowsTheDocument()
    {
        CEditorWindow window;
        using C = EditorCommand;
        const auto commands = {C::Import, C::Export, C::Resize, C::Invert, C::FadeIn, C::Mirror, C::SavePalette,
                               C::Copy, C::Crop, C::EditPalette};
        QCOMPARE(EnabledOf(window.Frame(), commands), QStringList{"Import..."});
        WhiteFrames(window.Doc(), 1);
        QCOMPARE(EnabledOf(window.Frame(), commands),
                 (QStringList{"Import...", "Export...", "Resize...", "Invert", "Copy"}));
        AddFrames(window.Doc(), PF_INDEX8, 4, 4, 1);
        QCOMPARE(EnabledOf(window.Frame(), commands), (QStringList{"Import...", "Export...", "Resize...", "Invert",
                                                                   "Fade In", "Mirror", "Save Palette...", "Copy"}));
    }

    void promptsToolBarAndPaintToolsBar()
    {
        CEditorWindow window;
        CMainFrame& frame = window.Frame();
        using C = EditorCommand;
        QCOMPARE(frame.Action(C::Paste)->statusTip(), QStringLiteral("Insert Clipboard contents after current frame"));
        QCOMPARE(frame.Action(C::Paste)->toolTip(), QStringLiteral("Paste"));
        QCOMPARE(frame.Action(C::TogglePaintTools)->statusTip(), QStringLiteral("Show or hide PaintTools"));
        QCOMPARE(frame.Action(C::InsertVideo)->statusTip(),
                 QStringLiteral("Append sequences of frames from source video to current frame"));
        QCOMPARE(frame.Action(C::GoToFrame)->statusTip(), QStringLiteral("Go to particular frame"));
        QList<QAction*> expected;
        for (C command : {C::New, C::Open, C::Save, C::Cut, C::Copy, C::Paste, C::FirstFrame, C::PreviousFrame,
                          C::NextFrame, C::LastFrame, C::DeleteFrame, C::GoToFrame, C::ZoomIn, C::ZoomOut,
                          C::ZoomToFit, C::ActualSize, C::About})
            expected << frame.Action(command);
        QList<QAction*> shown;
        int separators = 0;
        for (QAction* action : frame.ToolBar().actions())
            action->isSeparator() ? void(++separators) : void(shown << action);
        QCOMPARE(shown, expected);
        QCOMPARE(separators, 4);
        QCOMPARE(frame.PaintToolsDock().windowTitle(), QStringLiteral("Paint Tools Bar"));
        for (const char* text : CPaintToolsBar::kToolTexts)
            QVERIFY2(FindButton(frame.PaintTools(), QString::fromUtf8(text)), text);
        QCOMPARE(frame.PaintTools().Tool(), PaintTool::Pen);
        QCOMPARE(frame.PaintTools().Colour(Swatch::Foreground), QColor(Qt::black));
        QCOMPARE(frame.PaintTools().Colour(Swatch::Background), QColor(Qt::white));
        frame.Action(C::TogglePaintTools)->trigger();
        QVERIFY(frame.PaintToolsDock().isHidden());
        frame.Action(C::TogglePaintTools)->trigger();
        QVERIFY(!frame.PaintToolsDock().isHidden());
        QCOMPARE(frame.windowTitle(), QStringLiteral("Untitled - KVF Editor"));
    }

    void clipboardCarriesTheBitmapAndAPng()
    {
        CEditorWindow window;
        AddFrames(window.Doc(), PF_INDEX8, 5, 3, 2);
        window.Doc().SetCurrentFrame(0);
        QGuiApplication::clipboard()->clear();
        window.Frame().UpdateCommands();
        QVERIFY(!window.Frame().Action(EditorCommand::Paste)->isEnabled());
        window.Trigger(EditorCommand::Copy);
        QVERIFY(window.Frame().Action(EditorCommand::Paste)->isEnabled());
        const QMimeData* data = QGuiApplication::clipboard()->mimeData();
        QVERIFY(data->hasFormat(QStringLiteral("image/bmp")));
        QVERIFY(data->hasFormat(QStringLiteral("image/png")));
        const QByteArray bitmap = data->data(QStringLiteral("image/bmp"));
        QVERIFY(bitmap.startsWith("BM"));
        const Bytes frame0 = edtest::Decoded(window.Doc().GetFrame(0));
        QCOMPARE(Bytes(bitmap.begin() + 14, bitmap.end()), frame0);
        QImage png;
        QVERIFY(png.loadFromData(data->data(QStringLiteral("image/png")), "PNG"));
        QCOMPARE(png.size(), QSize(5, 3));
        const std::vector<uint32_t> colours = FrameColours(window.Doc(), 0);
        QCOMPARE(png.pixel(4, 2) & 0xFFFFFFu, colours[2 * 5 + 4]);

        window.Trigger(EditorCommand::Paste);
        QCOMPARE(window.Doc().GetFrameCount(), 3);
        QCOMPARE(window.Doc().GetCurrentFrame(), 1);
        QCOMPARE(edtest::Decoded(window.Doc().GetFrame(1)), frame0);
        window.Trigger(EditorCommand::PasteBefore);
        QCOMPARE(window.Doc().GetCurrentFrame(), 1);
        QCOMPARE(window.Doc().GetFrameCount(), 4);

        // Another program's image (no bitmap, no PNG) comes in as 24 bits.
        QImage other(6, 2, QImage::Format_RGB32);
        other.fill(QColor(1, 2, 3));
        QGuiApplication::clipboard()->setImage(other);
        window.Trigger(EditorCommand::Paste);
        QCOMPARE(window.Doc().GetFrameCount(), 5);
        QCOMPARE(window.Frame().PaneTexts()[1], QStringLiteral("24 bit"));
        QCOMPARE(FrameColours(window.Doc(), window.Doc().GetCurrentFrame())[0], 0x010203u);

        window.Trigger(EditorCommand::Cut);
        QCOMPARE(window.Doc().GetFrameCount(), 4);
        QVERIFY(QGuiApplication::clipboard()->mimeData()->hasFormat(QStringLiteral("image/bmp")));
    }

    void recentFilesAndTheSavePrompt()
    {
        auto window = std::make_unique<CEditorWindow>();
        WhiteFrames(window->Doc(), 2);
        const QString first = QString::fromStdString(window->File("first.avi"));
        const QString second = QString::fromStdString(window->File("second.avi"));

        // New on a modified document asks first; Cancel keeps it.
        window->Trigger(EditorCommand::New);
        QCOMPARE(window->Host().messages, QStringList{"Save changes to Untitled?"});
        QCOMPARE(window->Doc().GetFrameCount(), 2);
        // Yes with a name saves it there.
        window->Host().saveAnswers.push_back(SaveChangesAnswer::Save);
        window->Host().files.push_back({first, {}});
        window->Trigger(EditorCommand::New);
        QCOMPARE(window->Doc().GetFrameCount(), 0);
        WhiteFrames(window->Doc(), 3);
        window->Host().files.push_back({second, {}});
        window->Trigger(EditorCommand::SaveAs);
        QCOMPARE(window->Frame().windowTitle(), QStringLiteral("second.avi - KVF Editor"));
        QCOMPARE(window->Frame().RecentFiles(), (QStringList{second, first}));
        QCOMPARE(window->Settings().value(QStringLiteral("Recent File List/File1")).toString(), second);

        // A new window with the same settings offers them; the entry opens the file.
        const QString settingsFile = window->Settings().fileName();
        QSettings settings(settingsFile, QSettings::IniFormat);
        CScriptedHost host;
        CMainFrame other(host, settings);
        QCOMPARE(other.RecentFiles(), (QStringList{second, first}));
        QCOMPARE(other.RecentFileActions().size(), 2);
        QVERIFY(other.RecentFileActions()[1]->text().endsWith(first));
        other.RecentFileActions()[1]->trigger();
        QCOMPARE(other.Document().GetFrameCount(), 2);
        QCOMPARE(other.DocumentPath(), first);
        QCOMPARE(other.RecentFiles(), (QStringList{first, second}));
        // A file gone since: a message, and off the list.
        QFile::remove(second);
        other.RecentFileActions()[1]->trigger();
        QCOMPARE(host.messages, QStringList{"Cannot open the file."});
        QCOMPARE(other.RecentFiles(), QStringList{first});
        QCOMPARE(other.Document().GetFrameCount(), 2);
    }

    void droppedFilesOpenOrInsertAndBadOnesLeaveTheDocument()
    {
        CEditorWindow window;
        WhiteFrames(window.Doc(), 2);
        const edtest::DocumentState before = edtest::Snapshot(window.Doc());
        const std::string text = window.File("notes.txt");
        edtest::WriteFile(text, Bytes{'h', 'e', 'l', 'l', 'o', '\n'});
        Drop(window.Frame(), {QString::fromStdString(text)});
        QCOMPARE(window.Host().messages,
                 QStringList{"The file is not a picture the editor can read, or it is damaged."});
        QVERIFY(edtest::Snapshot(window.Doc()) == before);

        const std::string picture = window.File("single.bmp");
        WriteSprite(picture, edtest::MakePicture(PF_RGB565, 4, 4, 3));
        Drop(window.Frame(), {QString::fromStdString(picture)});
        QCOMPARE(window.Doc().GetFrameCount(), 3);
        QCOMPARE(window.Doc().GetCurrentFrame(), 2);

        // A document dropped replaces the open one, once its changes are dealt with.
        const std::string saved = window.File("doc.avi");
        QCOMPARE(window.Doc().SaveDocument(saved), EditorStatus::NotSameFormat);
        window.Trigger(EditorCommand::DeleteFrame);
        QCOMPARE(window.Doc().SaveDocument(saved), EditorStatus::Ok);
        window.Trigger(EditorCommand::DeleteFrame);
        window.Host().saveAnswers.push_back(SaveChangesAnswer::Discard);
        Drop(window.Frame(), {QString::fromStdString(saved)});
        QCOMPARE(window.Doc().GetFrameCount(), 2);
        QCOMPARE(window.Frame().DocumentPath(), QString::fromStdString(saved));
    }

    void progressDialogShowsCaptionPercentAndFrames()
    {
        QCOMPARE(CProgressDialog::PercentText(5, 0, 10), QStringLiteral("50%"));
        QCOMPARE(CProgressDialog::PercentText(3, 2, 6), QStringLiteral("25%"));
        QCOMPARE(CProgressDialog::PercentText(0, 0, 0), QStringLiteral("0%"));
        CEditorWindow window;
        WhiteFrames(window.Doc(), 4);
        CProgressDialog& progress = window.Frame().Progress();
        QStringList seen;
        QObject::connect(&progress, &QWidget::windowTitleChanged, &progress, [&](const QString& title) { seen << title; });
        window.Trigger(EditorCommand::Invert);
        QCOMPARE(seen, QStringList{"Processing ..."});
        QCOMPARE(progress.ShownMessage(), QStringLiteral("Processing frame 3 out of 4 ..."));
        QCOMPARE(progress.ShownPercent(), QStringLiteral("75%"));
        QVERIFY(!progress.isVisible());
        QVERIFY(window.Frame().isEnabled());
    }
};

QT_TEST_CLASS(CommandsTest);
#include "CommandsTest.moc"
