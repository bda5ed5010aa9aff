#include "kvfedit/CColorReductionDialog.h"

#include "DialogButtons.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

const char* const CColorReductionDialog::kTargetTexts[5] = {
    "8 Bits", "15 Bits (RGB)", "16 Bits (RGB)", "24 Bits (RGB)", "32 Bits (RGB)",
};
// The fourth is the image library's refined k-means quantizer.
const char* const CColorReductionDialog::kMethodTexts[4] = {
    "OctTree", "Min. Variance (5 bits histogram)", "Min. Variance (6 bits histogram)", "K-Means (refined)",
};

namespace {

QButtonGroup* RadioGroup(QWidget* owner, QGroupBox* box, const char* const* texts, int count, int checked)
{
    auto* group = new QButtonGroup(owner);
    auto* layout = new QVBoxLayout(box);
    for (int i = 0; i < count; ++i) {
        auto* radio = new QRadioButton(QString::fromUtf8(texts[i]), box);
        group->addButton(radio, i);
        layout->addWidget(radio);
    }
    group->button(checked)->setChecked(true);
    return group;
}

} // namespace

CColorReductionDialog::CColorReductionDialog(QWidget* parent, const ColourDepthParams& params) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Color Reduction"));
    auto* targetBox = new QGroupBox(QStringLiteral("Target"), this);
    m_targets = RadioGroup(this, targetBox, kTargetTexts, 5, int(params.target));
    auto* methodBox = new QGroupBox(QStringLiteral("Method"), this);
    m_methods = RadioGroup(this, methodBox, kMethodTexts, 4, int(params.method));

    m_colours = new QSpinBox(this);
    m_colours->setRange(ColourDepthParams::kMinColours, ColourDepthParams::kMaxColours);
    m_colours->setValue(params.colours);
    m_windowsColours = new QCheckBox(QStringLiteral("Include Windows Color"), this);
    m_windowsColours->setChecked(params.includeWindowsColours);
    m_diffusion = new QCheckBox(QStringLiteral("Error Diffusion if necessary"), this);
    m_diffusion->setChecked(params.errorDiffusion);

    auto* palette = new QFormLayout;
    palette->addRow(QStringLiteral("Num. of Colors"), m_colours);
    auto* eightBits = new QVBoxLayout;
    eightBits->addWidget(methodBox);
    eightBits->addLayout(palette);
    eightBits->addWidget(m_windowsColours);
    auto* columns = new QHBoxLayout;
    columns->addWidget(targetBox);
    columns->addLayout(eightBits);

    QDialogButtonBox* buttons = DialogButtons(*this);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addWidget(m_diffusion);
    layout->addWidget(buttons);

    connect(m_targets, &QButtonGroup::idClicked, this, &CColorReductionDialog::EnableFields);
    EnableFields();
}

ColourDepthParams CColorReductionDialog::Params() const
{
    ColourDepthParams params;
    params.target = ColourTarget(m_targets->checkedId());
    params.method = ColourMethod(m_methods->checkedId());
    params.colours = m_colours->value();
    params.includeWindowsColours = m_windowsColours->isChecked();
    params.errorDiffusion = m_diffusion->isChecked();
    return params;
}

void CColorReductionDialog::EnableFields()
{
    // The palette settings mean something for an 8-bit target only.
    const bool eightBits = m_targets->checkedId() == int(ColourTarget::Index8);
    for (QAbstractButton* button : m_methods->buttons())
        button->setEnabled(eightBits);
    m_colours->setEnabled(eightBits);
    m_windowsColours->setEnabled(eightBits);
}
