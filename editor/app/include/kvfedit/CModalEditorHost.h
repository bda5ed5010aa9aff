#pragma once
// The program's host: modal dialogs, the platform's file and colour
// dialogs, and message boxes with the application's caption.

#include "kvfedit/IEditorHost.h"

class CModalEditorHost final : public IEditorHost {
public:
    int Run(QDialog& dialog) override;
    FileChoice OpenFile(QWidget* parent, const QString& caption, const QString& filters) override;
    FileChoice SaveFile(QWidget* parent, const QString& caption, const QString& filters,
                        const QString& defaultSuffix) override;
    void ShowMessage(QWidget* parent, const QString& text) override;
    SaveChangesAnswer AskSaveChanges(QWidget* parent, const QString& text) override;
    bool AskYesNo(QWidget* parent, const QString& text) override;
    bool PickColour(QWidget* parent, QColor& colour) override;
};
