#include "TestSupport.h"

#include "imaging/PngWriter.h"
#include "sprites/SpriteFiles.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QMouseEvent>
#include <QTest>
#include <QWheelEvent>

namespace kvtest {


int CScriptedHost::Run(QDialog& dialog)
{
    dialogTitles << dialog.windowTitle();
    if (dialogs.empty())
        return QDialog::Rejected;
    DialogScript script = std::move(dialogs.front());
    dialogs.pop_front();
    dialog.show();
    // Laid out and on screen, so that clicks land on the buttons.
    if (!QTest::qWaitForWindowExposed(&dialog))
        return QDialog::Rejected;
    const bool accept = script(dialog);
    dialog.hide();
    // As when a modal dialog closes, the window it belongs to is active again.
    if (QWidget* owner = dialog.parentWidget())
        QApplication::setActiveWindow(owner->window());
    return accept ? QDialog::Accepted : QDialog::Rejected;
}

FileChoice CScriptedHost::NextFile(const QString& caption, const QString& filters)
{
    fileCaptions << caption;
    fileFilters << filters;
    if (files.empty())
        return {};
    FileChoice choice = files.front();
    files.pop_front();
    return choice;
}

FileChoice CScriptedHost::OpenFile(QWidget*, const QString& caption, const QString& filters)
{
    return NextFile(caption, filters);
}

FileChoice CScriptedHost::SaveFile(QWidget*, const QString& caption, const QString& filters, const QString&)
{
    return NextFile(caption, filters);
}

void CScriptedHost::ShowMessage(QWidget*, const QString& text)
{
    messages << text;
}

bool CScriptedHost::AskYesNo(QWidget*, const QString& text)
{
    questions << text;
    if (yesNoAnswers.empty())
        return false;
    const bool answer = yesNoAnswers.front();
    yesNoAnswers.pop_front();
    return answer;
}

SaveChangesAnswer CScriptedHost::AskSaveChanges(QWidget*, const QString& text)
{
    messages << text;
    if (saveAnswers.empty())
        return SaveChangesAnswer::Cancel;
    const SaveChangesAnswer answer = saveAnswers.front();
    saveAnswers.pop_front();
    return answer;
}

bool CScriptedHost::PickColour(QWidget*, QColor& colour)
{
    if (colours.empty())
        return false;
    colour = colours.front();
    colours.pop_front();
    return true;
}

CEditorWindow::CEditorWindow()
    : m_settings(m_folder.filePath(QStringLiteral("kvfedit.ini")), QSettings::IniFormat)
{
    m_frame = std::make_unique<CMainFrame>(m_host, m_settings);
    m_frame->show();
    QApplication::setActiveWindow(m_frame.get());
    QVERIFY(QTest::qWaitForWindowExposed(m_frame.get()));
}

std::string CEditorWindow::File(const std::string& name) const
{
    return m_folder.filePath(QString::fromStdString(name)).toStdString();
}

void CEditorWindow::Trigger(EditorCommand command)
{
    m_frame->UpdateCommands();
    QAction* action = m_frame->Action(command);
    QVERIFY(action);
    QVERIFY2(action->isEnabled(), qPrintable(action->text() + " is disabled"));
    action->trigger();
}

namespace {

void SendMouse(QWidget& viewport, QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons held, QPoint at)
{
    QMouseEvent event(type, QPointF(at), QPointF(viewport.mapToGlobal(at)), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(&viewport, &event);
}

} // namespace

void MousePress(QWidget& viewport, Qt::MouseButton button, QPoint at)
{
    SendMouse(viewport, QEvent::MouseButtonPress, button, button, at);
}

void MouseMove(QWidget& viewport, Qt::MouseButtons held, QPoint at)
{
    SendMouse(viewport, QEvent::MouseMove, Qt::NoButton, held, at);
}

void MouseRelease(QWidget& viewport, Qt::MouseButton button, QPoint at)
{
    SendMouse(viewport, QEvent::MouseButtonRelease, button, Qt::NoButton, at);
}

void Wheel(QWidget& viewport, int angle, QPoint at, Qt::KeyboardModifiers modifiers)
{
    QWheelEvent event(QPointF(at), QPointF(viewport.mapToGlobal(at)), QPoint(), QPoint(0, angle), Qt::NoButton,
                      modifiers, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(&viewport, &event);
}

void AddFrames(CKVFEditorDoc& doc, PixelFormat format, int width, int height, int count, uint32_t seed)
{
    CDibSection section;
    edtest::FillSection(section, format, width, height, seed);
    for (int i = 0; i < count; ++i) {
        // New pixels for each frame, the palette kept.
        uint32_t state = seed * 7919u + uint32_t(i);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < section.Pitch(); ++x)
                section.Bits()[size_t(y) * size_t(section.Pitch()) + size_t(x)] = uint8_t(edtest::Noise(state));
        const edtest::Bytes picture = edtest::PackedBytes(section);
        QCOMPARE(doc.InsertFrame(picture.data(), picture.size(), InsertPlace::After), EditorStatus::Ok);
    }
}

void WriteSprite(const std::string& path, const edtest::Bytes& picture)
{
    QVERIFY(WriteSpriteFile(path, picture.data(), picture.size()));
}

std::vector<uint32_t> Colours(CDib& picture)
{
    return ImageToRgb(&picture);
}

std::vector<uint32_t> FrameColours(CKVFEditorDoc& doc, int index)
{
    CDibSection picture;
    if (doc.GetFrameImage(index, picture) != EditorStatus::Ok)
        return {};
    return Colours(picture);
}

} // namespace kvtest
