#include "setup/CDisplayDialog.h"

#include "ChoiceDialogFrame.h"
#include "SetupTexts.h"

#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

CDisplayDialog::CDisplayDialog(const CGameFolder& folder, IDialogHost& host, QWidget* parent)
    : QDialog(parent), m_folder(folder), m_highColour(folder.Config().Read().highColour)
{
    setWindowTitle(Text(texts::kDisplayCaption));

    auto* group = new QGroupBox(this);
    auto* highColour = new QRadioButton(ButtonText(texts::kHighColour, 'H'), group);
    auto* eightBit = new QRadioButton(ButtonText(texts::kEightBit, '8'), group);
    (m_highColour ? highColour : eightBit)->setChecked(true);
    auto* choices = new QVBoxLayout(group);
    choices->addWidget(highColour);
    choices->addWidget(eightBit);

    connect(highColour, &QRadioButton::clicked, this, [this] { m_highColour = true; });
    connect(eightBit, &QRadioButton::clicked, this, [this] { m_highColour = false; });

    FrameChoiceDialog(*this, group, folder, host, [this] { return m_folder.Config().WriteHighColour(m_highColour); }, 115, 77);
}
