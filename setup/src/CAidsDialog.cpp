#include "setup/CAidsDialog.h"

#include "DialogLayout.h"
#include "SetupTexts.h"
#include "setup/IDialogHost.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QVBoxLayout>

CAidsDialog::CAidsDialog(const CGameFolder& folder, IDialogHost& host, QWidget* parent)
    : QDialog(parent), m_folder(folder), m_host(host), m_aids(folder.Config().Read().aids)
{
    setWindowTitle(Text(texts::kAidsCaption));

    auto* group = new QGroupBox(this);
    auto* radar = new QCheckBox(ButtonText(texts::kQuarryOnRadar, 'R'), group);
    auto* reticle = new QCheckBox(ButtonText(texts::kAimReticle, 'M'), group);
    radar->setChecked(m_aids.quarryOnRadar);
    reticle->setChecked(m_aids.aimReticle);
    auto* choices = new QVBoxLayout(group);
    choices->addWidget(radar);
    choices->addWidget(reticle);

    auto* ok = new QPushButton(ButtonText(texts::kOk, 'O'), this);
    auto* cancel = new QPushButton(ButtonText(texts::kCancel, 'C'), this);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addStretch();
    layout->addLayout(BottomButtonRow({ok, cancel}));

    connect(radar, &QCheckBox::toggled, this, [this](bool on) { m_aids.quarryOnRadar = on; });
    connect(reticle, &QCheckBox::toggled, this, [this](bool on) { m_aids.aimReticle = on; });
    connect(ok, &QPushButton::clicked, this, [this] { Confirm(); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    FixDialogSize(*this, 180, 77);
}

void CAidsDialog::Confirm()
{
    // On failure the dialog stays open with the user's choice, to retry or cancel.
    if (!m_folder.Config().WriteAids(m_aids)) {
        m_host.ShowError(this, TextAboutFile(texts::kSaveFailed, m_folder.ConfigPath()));
        return;
    }
    accept();
}
