#include "kvfedit/COutputOptionsDialog.h"

#include "DialogButtons.h"
#include "EditorTexts.h"
#include "kvfedit/IEditorHost.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

const char* const COutputOptionsDialog::kChoiceTexts[6] = {
    "Uncompressed Bitmap", "PKC1 / PKC2", "ARLE", "PRLE", "TRLE", "JPEG (JFIF compliant non-progressive)",
};

COutputOptionsDialog::COutputOptionsDialog(QWidget* parent, IEditorHost& host, const ExportOptions& options)
    : QDialog(parent), m_host(host)
{
    setWindowTitle(QStringLiteral("Output Options"));
    auto* group = new QGroupBox(this);
    auto* radios = new QVBoxLayout(group);
    m_choices = new QButtonGroup(this);
    for (int i = 0; i < 6; ++i) {
        auto* radio = new QRadioButton(QString::fromUtf8(kChoiceTexts[i]), group);
        m_choices->addButton(radio, i);
        radios->addWidget(radio);
    }
    const int choice = options.encoding == ExportEncoding::Png ? 0 : int(options.encoding);
    m_choices->button(choice)->setChecked(true);

    m_quality = new QSpinBox(this);
    m_quality->setRange(ExportOptions::kMinQuality, ExportOptions::kMaxQuality);
    m_quality->setValue(options.quality);
    m_alpha = new QLineEdit(QString::fromStdString(options.alphaPath), this);
    m_browse = new QToolButton(this);
    m_browse->setText(QStringLiteral("..."));
    connect(m_browse, &QToolButton::clicked, this, &COutputOptionsDialog::BrowseAlpha);

    auto* quality = new QHBoxLayout;
    quality->addWidget(new QLabel(QStringLiteral("Quality (0-100)"), this));
    quality->addWidget(m_quality);
    quality->addStretch();
    auto* alpha = new QHBoxLayout;
    alpha->addWidget(new QLabel(QStringLiteral("Alpha"), this));
    alpha->addWidget(m_alpha, 1);
    alpha->addWidget(m_browse);

    QDialogButtonBox* buttons = DialogButtons(*this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(quality);
    layout->addLayout(alpha);
    layout->addWidget(buttons);

    connect(m_choices, &QButtonGroup::idClicked, this, &COutputOptionsDialog::EnableFields);
    EnableFields();
}

ExportOptions COutputOptionsDialog::Options() const
{
    ExportOptions options;
    options.encoding = ExportEncoding(m_choices->checkedId());
    options.quality = m_quality->value();
    options.alphaPath = m_alpha->text().toStdString();
    return options;
}

void COutputOptionsDialog::BrowseAlpha()
{
    const FileChoice choice = m_host.OpenFile(this, QStringLiteral("Alpha"), FileDialogFilter(kAlphaFilter));
    if (!choice.IsEmpty())
        m_alpha->setText(choice.path);
}

void COutputOptionsDialog::EnableFields()
{
    // The quality is a JPEG setting; the reference serves TRLE only.
    const int choice = m_choices->checkedId();
    m_quality->setEnabled(choice == int(ExportEncoding::Jpeg));
    m_alpha->setEnabled(choice == int(ExportEncoding::Trle));
    m_browse->setEnabled(choice == int(ExportEncoding::Trle));
}
