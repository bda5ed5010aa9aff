#pragma once
// How the setup dialogs run other dialogs and talk to the user. The program
// runs them modally and shows message boxes; the tests put a scripted host in
// its place, so every dialog can be driven without blocking on an event loop.

class QDialog;
class QString;
class QWidget;

class IDialogHost {
public:
    virtual ~IDialogHost() = default;
    // Runs the dialog modally; QDialog::Accepted or QDialog::Rejected.
    virtual int Run(QDialog& dialog) = 0;
    // A message with the caption "Error" and the stop icon, modal to `parent`.
    virtual void ShowError(QWidget* parent, const QString& text) = 0;
    // A question with the buttons "Si" and "No" ("No" the default); true for "Si".
    virtual bool AskYesNo(QWidget* parent, const QString& caption, const QString& text) = 0;
};
