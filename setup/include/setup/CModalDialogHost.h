#pragma once
// The program's dialog host: modal dialogs and message boxes.

#include "setup/IDialogHost.h"

class CModalDialogHost final : public IDialogHost {
public:
    int Run(QDialog& dialog) override;
    void ShowError(QWidget* parent, const QString& text) override;
    bool AskYesNo(QWidget* parent, const QString& caption, const QString& text) override;
};
