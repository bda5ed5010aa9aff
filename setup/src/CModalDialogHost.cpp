#include "setup/CModalDialogHost.h"

#include "SetupTexts.h"

#include <QDialog>
#include <QMessageBox>
#include <QPushButton>

int CModalDialogHost::Run(QDialog& dialog)
{
    return dialog.exec();
}

void CModalDialogHost::ShowError(QWidget* parent, const QString& text)
{
    QMessageBox box(QMessageBox::Critical, Text(texts::kErrorCaption), text, QMessageBox::Ok, parent);
    box.exec();
}

bool CModalDialogHost::AskYesNo(QWidget* parent, const QString& caption, const QString& text)
{
    QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::NoButton, parent);
    QPushButton* yes = box.addButton(Text(texts::kYes), QMessageBox::YesRole);
    QPushButton* no = box.addButton(Text(texts::kNo), QMessageBox::NoRole);
    box.setDefaultButton(no);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}
