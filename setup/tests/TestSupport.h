#pragma once
// Shared pieces of the setup tool's tests, beside the test-class registry
// and button look-up of QtTestClasses.h: a scripted dialog host, more widget
// look-ups by visible text, small file helpers and a guard that makes a
// folder refuse writes.

#include "QtTestClasses.h"
#include "setup/IDialogHost.h"

#include <QDialog>
#include <QString>
#include <QStringList>

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QAbstractButton;
class QLineEdit;
class QObject;

using qttest::FindButton;

// Runs each dialog it is handed with the next script: the dialog is shown,
// the script acts on it (clicks, keys) and the dialog's result is returned.
// Messages and questions are recorded; questions get `answer`.
class CScriptedHost final : public IDialogHost {
public:
    using Script = std::function<void(QDialog&)>;
    std::deque<Script> scripts;
    QStringList errors;
    QStringList questions; // "caption|text"
    bool answer = false;
    int unscripted = 0;    // dialogs run with no script left (rejected)

    int Run(QDialog& dialog) override;
    void ShowError(QWidget* parent, const QString& text) override;
    bool AskYesNo(QWidget* parent, const QString& caption, const QString& text) override;
};

// Clicks the button with this text with the mouse; fails the test when absent.
void Click(QWidget& parent, const QString& text);
// The name boxes of the controls dialog, top to bottom.
QStringList KeyNamesShown(QWidget& controlsDialog);
// A key event as the windowing system delivers it: evdev code + 8 as the native scan code.
void SendKey(QWidget& target, int evdevCode, bool press = true, bool autoRepeat = false);

std::string ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::string& bytes);

// While alive, writes into `folder` fail: the folder is made read-only, and
// where that does not stop this process (it runs as root), regular files may
// not grow beyond 0 bytes instead. Removing files still works then.
class CWriteRefusal {
public:
    explicit CWriteRefusal(const QString& folder);
    ~CWriteRefusal();
    CWriteRefusal(const CWriteRefusal&) = delete;
    CWriteRefusal& operator=(const CWriteRefusal&) = delete;

private:
    std::string m_folder;
    bool m_limited = false;
    unsigned long long m_oldLimit = 0;
};
