#pragma once
// How the window runs dialogs and talks to the user. The program shows real
// modal dialogs (CModalEditorHost); the tests put a scripted host in its
// place, so that every command can be driven headless without blocking.

#include <QString>

class QColor;
class QDialog;
class QWidget;

// A file chosen in a file dialog and the filter it was chosen under; an
// empty path when the dialog was cancelled.
struct FileChoice {
    QString path;
    QString filter;
    bool IsEmpty() const { return path.isEmpty(); }
};

enum class SaveChangesAnswer { Save, Discard, Cancel };

class IEditorHost {
public:
    virtual ~IEditorHost() = default;
    // Runs the dialog modally: QDialog::Accepted or QDialog::Rejected.
    virtual int Run(QDialog& dialog) = 0;
    // `filters` in the file dialog's form: "Name (*.a *.b);;Other (*)".
    virtual FileChoice OpenFile(QWidget* parent, const QString& caption, const QString& filters) = 0;
    // Save mode with an overwrite prompt; `defaultSuffix` is added to a name without one.
    virtual FileChoice SaveFile(QWidget* parent, const QString& caption, const QString& filters,
                                const QString& defaultSuffix) = 0;
    // A message box with the application's caption and the OK button.
    virtual void ShowMessage(QWidget* parent, const QString& text) = 0;
    // Yes, No and Cancel, for a document with unsaved changes.
    virtual SaveChangesAnswer AskSaveChanges(QWidget* parent, const QString& text) = 0;
    // A question answered Yes (true) or No.
    virtual bool AskYesNo(QWidget* parent, const QString& text) = 0;
    // The colour dialog, starting at `colour`; true (and `colour` set) on OK.
    virtual bool PickColour(QWidget* parent, QColor& colour) = 0;
};

// A filter of the system's own form ("Bitmaps (*.bmp)|*.bmp|All Files
// (*.*)|*.*||") in the file dialog's form ("Bitmaps (*.bmp);;All Files
// (*)"). On this system "*.*" would hide names without a dot: it becomes "*".
QString FileDialogFilter(const char* filter);
