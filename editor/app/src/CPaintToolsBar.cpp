#include "kvfedit/CPaintToolsBar.h"

#include "kvfedit/IEditorHost.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

const char* const CPaintToolsBar::kToolTexts[8] = {"Pen", "Fill", "Line", "Rect", "FRect", "Dropper", "Drag", "Select"};
const char CPaintToolsBar::kToolKeys[8] = {'P', 'G', 'L', 'R', 'U', 'I', 'V', 'M'};
const char* const CPaintToolsBar::kToolTips[8] = {
    "Pen: draw freehand (left button foreground, right button background)",
    "Fill: fill the area of one colour",
    "Line: drag a straight line",
    "Rect: drag a rectangle's outline",
    "FRect: drag a filled rectangle",
    "Dropper: take a colour from the picture",
    "Drag: move the selected pixels",
    "Select: drag out a rectangle to copy, cut, delete or move",
};

CPaintToolsBar::CPaintToolsBar(IEditorHost& host, QWidget* parent) : QWidget(parent), m_host(host)
{
    m_tools = new QButtonGroup(this);
    m_tools->setExclusive(true);
    auto* buttons = new QGridLayout;
    buttons->setSpacing(2);
    for (int i = 0; i < 8; ++i) {
        auto* button = new QToolButton(this);
        button->setText(QString::fromUtf8(kToolTexts[i]));
        button->setCheckable(true);
        button->setToolButtonStyle(Qt::ToolButtonTextOnly);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        // One key chooses the tool wherever the focus is in the window.
        button->setShortcut(QKeySequence(QChar(kToolKeys[i])));
        button->setToolTip(QStringLiteral("%1 (%2)").arg(QString::fromUtf8(kToolTips[i])).arg(QChar(kToolKeys[i])));
        m_tools->addButton(button, i);
        buttons->addWidget(button, i / 2, i % 2);
    }
    m_tools->button(int(PaintTool::Pen))->setChecked(true);
    connect(m_tools, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked)
            emit ToolChanged(PaintTool(id));
    });

    m_swatches = new CColourSwatches(this);
    m_swatches->setToolTip(QStringLiteral("Foreground (upper) and background (lower) colours: click to change"));
    connect(m_swatches, &CColourSwatches::Clicked, this, &CPaintToolsBar::PickColour);
    for (Swatch swatch : {Swatch::Foreground, Swatch::Background}) {
        const QColor colour = m_swatches->Colour(swatch);
        m_chosen[swatch == Swatch::Foreground ? 0 : 1] =
            EditorColour{uint8_t(colour.red()), uint8_t(colour.green()), uint8_t(colour.blue()), -1};
    }
    auto* swatchRow = new QHBoxLayout;
    swatchRow->addStretch();
    swatchRow->addWidget(m_swatches);
    swatchRow->addStretch();

    auto* fields = new QGridLayout;
    const char* names[3] = {"R", "G", "B"};
    for (int i = 0; i < 3; ++i) {
        m_components[i] = new QLineEdit(this);
        m_components[i]->setReadOnly(true);
        m_components[i]->setMaximumWidth(m_components[i]->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 16);
        fields->addWidget(new QLabel(QString::fromUtf8(names[i]), this), i, 0);
        fields->addWidget(m_components[i], i, 1);
    }
    fields->setColumnStretch(2, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addSpacing(6);
    layout->addLayout(swatchRow);
    layout->addSpacing(6);
    layout->addLayout(fields);
    for (QLabel*& line : m_lines) {
        line = new QLabel(this);
        line->setMinimumWidth(line->fontMetrics().horizontalAdvance(QStringLiteral("00000,00000")));
        layout->addWidget(line);
    }
    layout->addStretch();
    ShowComponents(Colour(Swatch::Foreground));
}

PaintTool CPaintToolsBar::Tool() const
{
    return PaintTool(m_tools->checkedId());
}

void CPaintToolsBar::SetTool(PaintTool tool)
{
    m_tools->button(int(tool))->setChecked(true);
}

QAbstractButton* CPaintToolsBar::ToolButton(PaintTool tool) const
{
    return m_tools->button(int(tool));
}

EditorColour CPaintToolsBar::EditorColourOf(Swatch swatch) const
{
    return m_chosen[swatch == Swatch::Foreground ? 0 : 1];
}

void CPaintToolsBar::SetColour(Swatch swatch, const QColor& colour, int index)
{
    m_chosen[swatch == Swatch::Foreground ? 0 : 1] =
        EditorColour{uint8_t(colour.red()), uint8_t(colour.green()), uint8_t(colour.blue()), index};
    m_swatches->SetColour(swatch, colour);
    ShowComponents(colour);
    emit ColourChosen();
}

void CPaintToolsBar::ShowPaintedColour(Swatch swatch, const QColor& colour)
{
    m_swatches->SetColour(swatch, colour);
}

void CPaintToolsBar::ShowComponents(const QColor& colour)
{
    const int values[3] = {colour.red(), colour.green(), colour.blue()};
    for (int i = 0; i < 3; ++i)
        m_components[i]->setText(QString::asprintf("%d", values[i]));
}

void CPaintToolsBar::ShowNoComponents()
{
    for (QLineEdit* field : m_components)
        field->setText(QStringLiteral("--"));
}

QString CPaintToolsBar::ComponentText(int channel) const
{
    return m_components[channel]->text();
}

void CPaintToolsBar::ShowPosition(int x, int y)
{
    m_lines[0]->setText(QString::asprintf("%d,%d", x, y));
    m_lines[1]->clear();
    m_lines[2]->clear();
}

void CPaintToolsBar::ClearLines()
{
    for (QLabel* line : m_lines)
        line->clear();
}

QString CPaintToolsBar::LineText(int line) const
{
    return m_lines[line]->text();
}

void CPaintToolsBar::PickColour(Swatch swatch)
{
    const EditorColour chosen = EditorColourOf(swatch);
    QColor colour(chosen.red, chosen.green, chosen.blue);
    if (m_host.PickColour(this, colour))
        SetColour(swatch, colour);
}
