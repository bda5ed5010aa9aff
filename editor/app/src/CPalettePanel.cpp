#include "kvfedit/CPalettePanel.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

CPalettePanel::CPalettePanel(QWidget* parent) : QWidget(parent)
{
    setToolTip(QStringLiteral("The frame's palette: left click for the foreground colour, right click for the "
                              "background colour"));
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void CPalettePanel::SetEntries(const QVector<QColor>& colours)
{
    if (colours == m_colours)
        return;
    m_colours = colours;
    updateGeometry();
    update();
}

QSize CPalettePanel::sizeHint() const
{
    const int rows = (256 + kColumns - 1) / kColumns;
    return QSize(kColumns * kCell + 1, rows * kCell + 1);
}

QRect CPalettePanel::CellRect(int index) const
{
    return QRect((index % kColumns) * kCell, (index / kColumns) * kCell, kCell, kCell);
}

int CPalettePanel::EntryAt(QPoint point) const
{
    if (point.x() < 0 || point.y() < 0 || point.x() >= kColumns * kCell)
        return -1;
    const int index = point.y() / kCell * kColumns + point.x() / kCell;
    return index < m_colours.size() ? index : -1;
}

void CPalettePanel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (m_colours.isEmpty()) {
        painter.setPen(palette().color(QPalette::PlaceholderText));
        painter.drawText(rect(), Qt::AlignCenter | Qt::TextWordWrap, QStringLiteral("No palette: the frame has\nmore than 8 bits"));
        return;
    }
    painter.setPen(palette().color(QPalette::Mid));
    for (int i = 0; i < m_colours.size(); ++i) {
        painter.setBrush(m_colours[i]);
        painter.drawRect(CellRect(i).adjusted(0, 0, 0, 0));
    }
}

void CPalettePanel::mousePressEvent(QMouseEvent* event)
{
    const int index = EntryAt(event->position().toPoint());
    if (index >= 0 && (event->button() == Qt::LeftButton || event->button() == Qt::RightButton))
        emit EntryPicked(index, event->button());
}

bool CPalettePanel::event(QEvent* event)
{
    // Over an entry, the tip names it and its colour.
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const int index = EntryAt(help->pos());
        if (index >= 0) {
            const QColor& colour = m_colours[index];
            QToolTip::showText(help->globalPos(), QStringLiteral("Entry %1: %2, %3, %4")
                                                      .arg(index)
                                                      .arg(colour.red())
                                                      .arg(colour.green())
                                                      .arg(colour.blue()),
                               this, CellRect(index));
            return true;
        }
    }
    return QWidget::event(event);
}
