#pragma once
// Shared pieces of kvfedit's tests, beside the test-class registry and
// button look-up of QtTestClasses.h: a scripted host that answers the
// window's dialogs, a window with settings of its own, mouse events
// delivered to the view, and generated pictures (the document tests'
// fixtures, EditorTestSupport.h).

#include "EditorTestSupport.h"
#include "QtTestClasses.h"
#include "kvfedit/CMainFrame.h"
#include "kvfedit/IEditorHost.h"

#include <QColor>
#include <QSettings>
#include <QStringList>
#include <QTemporaryDir>

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QAbstractButton;

namespace kvtest {

using qttest::FindButton;

// Answers the window's dialogs from queues, in order, and records what the
// window showed. A dialog script sets the dialog's fields and returns
// whether to press OK; a dialog without a script is cancelled.
class CScriptedHost final : public IEditorHost {
public:
    using DialogScript = std::function<bool(QDialog&)>;

    std::deque<FileChoice> files;
    std::deque<DialogScript> dialogs;
    std::deque<SaveChangesAnswer> saveAnswers;
    std::deque<bool> yesNoAnswers; // No when none is left
    QStringList questions;
    std::deque<QColor> colours;
    QStringList messages;
    QStringList dialogTitles;
    QStringList fileCaptions;
    QStringList fileFilters;

    int Run(QDialog& dialog) override;
    FileChoice OpenFile(QWidget* parent, const QString& caption, const QString& filters) override;
    FileChoice SaveFile(QWidget* parent, const QString& caption, const QString& filters,
                        const QString& defaultSuffix) override;
    void ShowMessage(QWidget* parent, const QString& text) override;
    SaveChangesAnswer AskSaveChanges(QWidget* parent, const QString& text) override;
    bool AskYesNo(QWidget* parent, const QString& text) override;
    bool PickColour(QWidget* parent, QColor& colour) override;

private:
    FileChoice NextFile(const QString& caption, const QString& filters);
};

// A main window shown offscreen, with a settings file of its own and a
// folder for the files a test writes.
class CEditorWindow {
public:
    CEditorWindow();
    CMainFrame& Frame() { return *m_frame; }
    CKVFEditorDoc& Doc() { return m_frame->Document(); }
    CScriptedHost& Host() { return m_host; }
    QSettings& Settings() { return m_settings; }
    // A file in the test's folder.
    std::string File(const std::string& name) const;
    // Triggers the command as its menu entry would.
    void Trigger(EditorCommand command);

private:
    QTemporaryDir m_folder;
    QSettings m_settings;
    CScriptedHost m_host;
    std::unique_ptr<CMainFrame> m_frame;
};

// Mouse events as the windowing system delivers them to the view, at
// viewport positions.
void MousePress(QWidget& viewport, Qt::MouseButton button, QPoint at);
void MouseMove(QWidget& viewport, Qt::MouseButtons held, QPoint at);
void MouseRelease(QWidget& viewport, Qt::MouseButton button, QPoint at);
void Wheel(QWidget& viewport, int angle, QPoint at, Qt::KeyboardModifiers modifiers = Qt::NoModifier);


// Frames added to the document after the current one: `count` pictures of
// the format with seeded pixels (one palette for indexed formats).
void AddFrames(CKVFEditorDoc& doc, PixelFormat format, int width, int height, int count, uint32_t seed = 1);

// A sprite file (file header and picture) holding the packed picture.
void WriteSprite(const std::string& path, const edtest::Bytes& picture);

// The picture's colours (0x00RRGGBB, top row first).
std::vector<uint32_t> Colours(CDib& picture);
// Frame `index` of the document, decoded, as colours.
std::vector<uint32_t> FrameColours(CKVFEditorDoc& doc, int index);

} // namespace kvtest
