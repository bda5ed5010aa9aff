#include "kvfedit/CColourSwatches.h"

#include <QMouseEvent>
#include <QPainter>

namespace {

constexpr int kSwatchSide = 28;
constexpr int kOffset = 14;

} // namespace

CColourSwatches::CColourSwatches(QWidget* parent) : QWidget(parent)
{
    setFixedSize(sizeHint());
    setCursor(Qt::PointingHandCursor);
}

QSize CColourSwatches::sizeHint() const
{
    return QSize(kSwatchSide + kOffset + 1, kSwatchSide + kOffset + 1);
}

void CColourSwatches::SetColour(Swatch swatch, const QColor& colour)
{
    (swatch == Swatch::Foreground ? m_foreground : m_background) = colour;
    update();
}

QColor CColourSwatches::Colour(Swatch swatch) const
{
    return swatch == Swatch::Foreground ? m_foreground : m_background;
}

QRect CColourSwatches::SwatchRect(Swatch swatch) const
{
    const int at = swatch == Swatch::Foreground ? 0 : kOffset;
    return QRect(at, at, kSwatchSide, kSwatchSide);
}

void CColourSwatches::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    for (Swatch swatch : {Swatch::Background, Swatch::Foreground}) {
        painter.setBrush(Colour(swatch));
        painter.drawRect(SwatchRect(swatch));
    }
}

void CColourSwatches::mousePressEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    if (SwatchRect(Swatch::Foreground).contains(at))
        emit Clicked(Swatch::Foreground);
    else if (SwatchRect(Swatch::Background).contains(at))
        emit Clicked(Swatch::Background);
}
