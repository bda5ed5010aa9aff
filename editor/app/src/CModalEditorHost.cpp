#include "kvfedit/CModalEditorHost.h"

#include "EditorTexts.h"

#include <QColorDialog>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QRegularExpression>

int CModalEditorHost::Run(QDialog& dialog)
{
    return dialog.exec();
}

FileChoice CModalEditorHost::OpenFile(QWidget* parent, const QString& caption, const QString& filters)
{
    FileChoice choice;
    choice.path = QFileDialog::getOpenFileName(parent, caption, QString(), filters, &choice.filter);
    return choice;
}

FileChoice CModalEditorHost::SaveFile(QWidget* parent, const QString& caption, const QString& filters,
                                      const QString& defaultSuffix)
{
    QFileDialog dialog(parent, caption, QString(), filters);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(defaultSuffix);
    // A name typed without an extension takes the chosen filter's first one.
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& filter) {
        const QRegularExpressionMatch match = QRegularExpression(QStringLiteral("\\(\\*\\.(\\w+)")).match(filter);
        if (match.hasMatch())
            dialog.setDefaultSuffix(match.captured(1));
    });
    FileChoice choice;
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
        choice.path = dialog.selectedFiles().first();
        choice.filter = dialog.selectedNameFilter();
    }
    return choice;
}

void CModalEditorHost::ShowMessage(QWidget* parent, const QString& text)
{
    QMessageBox box(QMessageBox::Warning, QString::fromUtf8(kAppTitle), text, QMessageBox::Ok, parent);
    box.exec();
}

SaveChangesAnswer CModalEditorHost::AskSaveChanges(QWidget* parent, const QString& text)
{
    QMessageBox box(QMessageBox::Question, QString::fromUtf8(kAppTitle), text,
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, parent);
    box.setDefaultButton(QMessageBox::Yes);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return SaveChangesAnswer::Save;
    case QMessageBox::No:
        return SaveChangesAnswer::Discard;
    default:
        return SaveChangesAnswer::Cancel;
    }
}

bool CModalEditorHost::AskYesNo(QWidget* parent, const QString& text)
{
    QMessageBox box(QMessageBox::Question, QString::fromUtf8(kAppTitle), text, QMessageBox::Yes | QMessageBox::No,
                    parent);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

bool CModalEditorHost::PickColour(QWidget* parent, QColor& colour)
{
    const QColor chosen = QColorDialog::getColor(colour, parent);
    if (!chosen.isValid())
        return false;
    colour = chosen;
    return true;
}
