#include "setup/CAidsDialog.h"

#include "ChoiceDialogFrame.h"
#include "SetupTexts.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QVBoxLayout>

CAidsDialog::CAidsDialog(const CGameFolder& folder, IDialogHost& host, QWidget* parent)
    : QDialog(parent), m_folder(folder), m_aids(folder.Config().Read().aids)
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

    connect(radar, &QCheckBox::toggled, this, [this](bool on) { m_aids.quarryOnRadar = on; });
    connect(reticle, &QCheckBox::toggled, this, [this](bool on) { m_aids.aimReticle = on; });

    FrameChoiceDialog(*this, group, folder, host, [this] { return m_folder.Config().WriteAids(m_aids); }, 180, 77);
}
