#include "setup/CDisplayDialog.h"

#include "DialogLayout.h"
#include "SetupTexts.h"
#include "setup/IDialogHost.h"

#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

CDisplayDialog::CDisplayDialog(const CGameFolder& folder, IDialogHost& host, QWidget* parent)
    : QDialog(parent), m_folder(folder), m_host(host), m_highColour(folder.Config().Read().highColour)
{
    setWindowTitle(Text(texts::kDisplayCaption));

    auto* group = new QGroupBox(this);
    auto* highColour = new QRadioButton(ButtonText(texts::kHighColour, 'H'), group);
    auto* eightBit = new QRadioButton(ButtonText(texts::kEightBit, '8'), group);
    (m_highColour ? highColour : eightBit)->setChecked(true);
    auto* choices = new QVBoxLayout(group);
    choices->addWidget(highColour);
    choices->addWidget(eightBit);

    auto* ok = new QPushButton(ButtonText(texts::kOk, 'O'), this);
    auto* cancel = new QPushButton(ButtonText(texts::kCancel, 'C'), this);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addStretch();
    layout->addLayout(BottomButtonRow({ok, cancel}));

    connect(highColour, &QRadioButton::clicked, this, [this] { m_highColour = true; });
    connect(eightBit, &QRadioButton::clicked, this, [this] { m_highColour = false; });
    connect(ok, &QPushButton::clicked, this, [this] { Confirm(); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    FixDialogSize(*this, 115, 77);
}

void CDisplayDialog::Confirm()
{
    // On failure the dialog stays open with the user's choice, to retry or cancel.
    if (!m_folder.Config().WriteHighColour(m_highColour)) {
        m_host.ShowError(this, TextAboutFile(texts::kSaveFailed, m_folder.ConfigPath()));
        return;
    }
    accept();
}
