#include "setup/CMainDialog.h"

#include "DialogLayout.h"
#include "SetupTexts.h"
#include "setup/CAidsDialog.h"
#include "setup/CControlsDialog.h"
#include "setup/CDisplayDialog.h"
#include "setup/IDialogHost.h"

#include <QPushButton>
#include <QVBoxLayout>

CMainDialog::CMainDialog(const CGameFolder& folder, IDialogHost& host, QWidget* parent)
    : QDialog(parent), m_folder(folder), m_host(host)
{
    setWindowTitle(Text(texts::kMainCaption));

    auto* display = new QPushButton(ButtonText(texts::kDisplayButton, 'd'), this);
    auto* controls = new QPushButton(ButtonText(texts::kControlsButton, 'c'), this);
    auto* aids = new QPushButton(ButtonText(texts::kAidsButton, 'A'), this);
    auto* trophies = new QPushButton(ButtonText(texts::kResetTrophiesButton, 'T'), this);
    auto* ok = new QPushButton(ButtonText(texts::kOk, 'O'), this);
    auto* leave = new QPushButton(ButtonText(texts::kLeave, 'L'), this);

    auto* choices = new QVBoxLayout;
    choices->setSpacing(DialogUnitsToPixels(*this, 0, 6).height());
    for (QPushButton* button : {display, controls, aids, trophies}) {
        button->setMinimumHeight(DialogUnitsToPixels(*this, 0, 18).height());
        choices->addWidget(button);
    }

    auto* layout = new QVBoxLayout(this);
    layout->addStretch();
    layout->addLayout(choices);
    layout->addStretch();
    layout->addLayout(BottomButtonRow({ok, leave}));

    connect(display, &QPushButton::clicked, this, [this] { OpenDisplay(); });
    connect(controls, &QPushButton::clicked, this, [this] { OpenControls(); });
    connect(aids, &QPushButton::clicked, this, [this] { OpenAids(); });
    connect(trophies, &QPushButton::clicked, this, [this] { ResetTrophies(); });
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(leave, &QPushButton::clicked, this, &QDialog::reject);

    FixDialogSize(*this, 189, 164);
}

void CMainDialog::OpenDisplay()
{
    CDisplayDialog dialog(m_folder, m_host, this);
    m_host.Run(dialog);
}

void CMainDialog::OpenControls()
{
    CControlsDialog dialog(m_bindings, m_folder, m_host, this);
    if (m_host.Run(dialog) == QDialog::Accepted)
        m_bindings = dialog.Bindings();
}

void CMainDialog::OpenAids()
{
    CAidsDialog dialog(m_folder, m_host, this);
    m_host.Run(dialog);
}

void CMainDialog::ResetTrophies()
{
    // Removing the record cannot be undone, so it is asked for first.
    if (!m_host.AskYesNo(this, Text(texts::kResetTrophiesButton), Text(texts::kResetQuestion)))
        return;
    if (m_folder.ResetTrophies() == CGameFolder::TrophyReset::Failed)
        m_host.ShowError(this, TextAboutFile(texts::kResetFailed, m_folder.TrophyPath()));
}
