#include "kvfedit/COutputOptionsDialog.h"

#include "DialogButtons.h"
#include "EditorTexts.h"
#include "kvfedit/IEditorHost.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

const char* const COutputOptionsDialog::kChoiceTexts[7] = {
    "Uncompressed Bitmap", "PKC1 / PKC2", "ARLE", "PRLE", "TRLE", "JPEG (JFIF compliant non-progressive)",
    "PNG (for other programs)",
};

COutputOptionsDialog::COutputOptionsDialog(QWidget* parent, IEditorHost& host, const ExportOptions& options,
                                           ExportLayout layout, PixelFormat frameFormat)
    : QDialog(parent), m_host(host), m_format(frameFormat)
{
    setWindowTitle(QStringLiteral("Export"));

    auto* layoutGroup = new QGroupBox(QStringLiteral("Layout"), this);
    auto* layoutRows = new QVBoxLayout(layoutGroup);
    m_layouts = new QButtonGroup(this);
    const char* layoutTexts[2] = {kStripText, kSequenceText};
    for (int i = 0; i < 2; ++i) {
        auto* radio = new QRadioButton(QString::fromUtf8(layoutTexts[i]), layoutGroup);
        m_layouts->addButton(radio, i);
        layoutRows->addWidget(radio);
    }
    m_layouts->button(layout == ExportLayout::Sequence ? 1 : 0)->setChecked(true);

    auto* group = new QGroupBox(QStringLiteral("Output Options"), this);
    auto* radios = new QGridLayout(group);
    m_choices = new QButtonGroup(this);
    for (int i = 0; i < 7; ++i) {
        auto* radio = new QRadioButton(QString::fromUtf8(kChoiceTexts[i]), group);
        m_choices->addButton(radio, i);
        radios->addWidget(radio, i, 0);
        m_reasons[i] = new QLabel(group);
        m_reasons[i]->setForegroundRole(QPalette::PlaceholderText);
        radios->addWidget(m_reasons[i], i, 1);
    }
    radios->setColumnStretch(1, 1);

    m_quality = new QSpinBox(this);
    m_quality->setRange(ExportOptions::kMinQuality, ExportOptions::kMaxQuality);
    m_quality->setValue(options.quality);
    m_alpha = new QLineEdit(QString::fromStdString(options.alphaPath), this);
    m_browse = new QToolButton(this);
    m_browse->setText(QStringLiteral("..."));
    m_browse->setToolTip(QStringLiteral("Choose the 8-bit TRLE picture whose rows the strip keeps"));
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
    auto* top = new QVBoxLayout(this);
    top->addWidget(layoutGroup);
    top->addWidget(group);
    top->addLayout(quality);
    top->addLayout(alpha);
    top->addWidget(buttons);

    // The last choice again, unless these frames cannot take it.
    const int wanted = int(options.encoding);
    m_choices->button(Reason(options.encoding).isEmpty() ? wanted : 0)->setChecked(true);
    connect(m_choices, &QButtonGroup::idClicked, this, &COutputOptionsDialog::EnableFields);
    connect(m_layouts, &QButtonGroup::idClicked, this, &COutputOptionsDialog::EnableFields);
    connect(m_alpha, &QLineEdit::textChanged, this, &COutputOptionsDialog::EnableFields);
    EnableFields();
}

QString COutputOptionsDialog::Reason(ExportEncoding encoding) const
{
    const uint32_t bits = PixelFormatBits(m_format);
    switch (encoding) {
    case ExportEncoding::Arle:
    case ExportEncoding::Prle:
        return m_format == PF_INDEX8 ? QString() : QStringLiteral("8-bit frames only");
    case ExportEncoding::Jpeg:
        return m_format == PF_RGB24 ? QString() : QStringLiteral("24-bit frames only");
    case ExportEncoding::Trle:
        if (bits == 8 && PixelFormatIsIndexed(m_format))
            return QString();
        if (bits < 8)
            return QStringLiteral("8-bit and deeper frames only");
        // Deeper frames are trimmed as an 8-bit picture's rows are.
        if (Layout() == ExportLayout::Sequence)
            return QStringLiteral("deeper than 8 bits: a strip with an Alpha file only");
        return m_alpha && m_alpha->text().isEmpty() ? QStringLiteral("deeper than 8 bits: needs an Alpha file")
                                                    : QString();
    default:
        return QString();
    }
}

QAbstractButton* COutputOptionsDialog::ChoiceButton(ExportEncoding encoding) const
{
    return m_choices->button(int(encoding));
}

ExportOptions COutputOptionsDialog::Options() const
{
    ExportOptions options;
    options.encoding = ExportEncoding(m_choices->checkedId());
    options.quality = m_quality->value();
    options.alphaPath = m_alpha->text().toStdString();
    return options;
}

ExportLayout COutputOptionsDialog::Layout() const
{
    return m_layouts->checkedId() == 1 ? ExportLayout::Sequence : ExportLayout::Strip;
}

QString COutputOptionsDialog::FileFilter(ExportEncoding encoding)
{
    switch (encoding) {
    case ExportEncoding::Jpeg:
        return QStringLiteral("JPEG Pictures (*.jpg)");
    case ExportEncoding::Png:
        return QStringLiteral("PNG Pictures (*.png)");
    default:
        return QStringLiteral("Bitmaps (*.bmp)");
    }
}

void COutputOptionsDialog::BrowseAlpha()
{
    const FileChoice choice = m_host.OpenFile(this, QStringLiteral("Alpha"), FileDialogFilter(kAlphaFilter));
    if (!choice.IsEmpty())
        m_alpha->setText(choice.path);
}

void COutputOptionsDialog::EnableFields()
{
    for (int i = 0; i < 7; ++i) {
        const QString reason = Reason(ExportEncoding(i));
        // TRLE stays choosable while its Alpha file is missing: that is
        // filled in below it.
        const bool waitsForAlpha = ExportEncoding(i) == ExportEncoding::Trle && Layout() == ExportLayout::Strip &&
                                   PixelFormatBits(m_format) > 8;
        m_choices->button(i)->setEnabled(reason.isEmpty() || waitsForAlpha);
        m_choices->button(i)->setToolTip(reason);
        m_reasons[i]->setText(reason);
    }
    if (!m_choices->checkedButton() || !m_choices->checkedButton()->isEnabled())
        m_choices->button(0)->setChecked(true);
    // The quality is a JPEG setting; the reference serves TRLE strips only.
    const int choice = m_choices->checkedId();
    m_quality->setEnabled(choice == int(ExportEncoding::Jpeg));
    const bool alpha = choice == int(ExportEncoding::Trle) && Layout() == ExportLayout::Strip;
    m_alpha->setEnabled(alpha);
    m_browse->setEnabled(alpha);
    // OK only for an encoding the frames can take.
    if (QPushButton* ok = findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok))
        ok->setEnabled(Reason(ExportEncoding(choice)).isEmpty());
}
