#include "EditorIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygon>

#include <functional>

namespace {

using Drawing = std::function<void(QPainter&)>;

QPixmap Draw(int size, const Drawing& drawing)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(Qt::black, 1));
    drawing(painter);
    return pixmap;
}

QIcon Icon(const Drawing& drawing)
{
    return QIcon(Draw(16, drawing));
}

void Triangle(QPainter& p, int x, int direction)
{
    // A filled triangle 6 pixels wide pointing left (-1) or right (+1).
    QPolygon shape;
    if (direction > 0)
        shape << QPoint(x, 3) << QPoint(x + 6, 8) << QPoint(x, 13);
    else
        shape << QPoint(x + 6, 3) << QPoint(x, 8) << QPoint(x + 6, 13);
    p.setBrush(Qt::black);
    p.drawPolygon(shape);
}

void Page(QPainter& p, int x, int y, int w, int h)
{
    p.setBrush(Qt::white);
    p.drawRect(x, y, w, h);
}

void Magnifier(QPainter& p, bool plus)
{
    p.setBrush(Qt::white);
    p.drawEllipse(1, 1, 9, 9);
    p.setPen(QPen(Qt::black, 2));
    p.drawLine(9, 9, 14, 14);
    p.setPen(QPen(Qt::black, 1));
    p.drawLine(3, 5, 8, 5);
    if (plus)
        p.drawLine(5, 3, 5, 8);
}

} // namespace

QIcon CommandIcon(EditorCommand command)
{
    using C = EditorCommand;
    switch (command) {
    case C::New:
        return Icon([](QPainter& p) { Page(p, 3, 1, 10, 13); });
    case C::Open:
        return Icon([](QPainter& p) {
            p.setBrush(QColor(230, 200, 90));
            p.drawRect(1, 4, 13, 9);
            p.drawRect(1, 2, 5, 2);
        });
    case C::Save:
        return Icon([](QPainter& p) {
            p.setBrush(QColor(60, 80, 160));
            p.drawRect(1, 1, 13, 13);
            p.setBrush(Qt::white);
            p.drawRect(4, 1, 7, 5);
        });
    case C::Cut:
        return Icon([](QPainter& p) {
            p.drawLine(4, 1, 10, 10);
            p.drawLine(11, 1, 5, 10);
            p.drawEllipse(2, 10, 4, 4);
            p.drawEllipse(9, 10, 4, 4);
        });
    case C::Copy:
        return Icon([](QPainter& p) {
            Page(p, 1, 1, 8, 10);
            Page(p, 6, 4, 8, 10);
        });
    case C::Paste:
        return Icon([](QPainter& p) {
            p.setBrush(QColor(180, 130, 70));
            p.drawRect(2, 2, 11, 13);
            Page(p, 6, 6, 8, 9);
        });
    case C::FirstFrame:
        return Icon([](QPainter& p) {
            p.fillRect(3, 3, 2, 11, Qt::black);
            Triangle(p, 6, -1);
        });
    case C::PreviousFrame:
        return Icon([](QPainter& p) { Triangle(p, 5, -1); });
    case C::NextFrame:
        return Icon([](QPainter& p) { Triangle(p, 5, +1); });
    case C::LastFrame:
        return Icon([](QPainter& p) {
            Triangle(p, 4, +1);
            p.fillRect(11, 3, 2, 11, Qt::black);
        });
    case C::DeleteFrame:
        return Icon([](QPainter& p) {
            p.setPen(QPen(QColor(190, 30, 30), 2));
            p.drawLine(3, 3, 12, 12);
            p.drawLine(12, 3, 3, 12);
        });
    case C::GoToFrame:
        return Icon([](QPainter& p) {
            p.drawLine(2, 8, 11, 8);
            p.setBrush(Qt::black);
            p.drawPolygon(QPolygon({QPoint(9, 4), QPoint(14, 8), QPoint(9, 12)}));
            p.fillRect(1, 3, 1, 11, Qt::black);
        });
    case C::ZoomIn:
        return Icon([](QPainter& p) { Magnifier(p, true); });
    case C::ZoomOut:
        return Icon([](QPainter& p) { Magnifier(p, false); });
    case C::About:
        return Icon([](QPainter& p) {
            QFont font = p.font();
            font.setBold(true);
            font.setPixelSize(13);
            p.setFont(font);
            p.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, QStringLiteral("?"));
        });
    default:
        return QIcon();
    }
}

QCursor ToolCursor(PaintTool tool)
{
    switch (tool) {
    case PaintTool::Pen:
        // A pencil whose tip, the hot spot, is the pixel that is drawn.
        return QCursor(Draw(24,
                            [](QPainter& p) {
                                p.setBrush(QColor(240, 200, 80));
                                p.drawPolygon(QPolygon({QPoint(3, 17), QPoint(17, 3), QPoint(20, 6), QPoint(6, 20)}));
                                p.setBrush(Qt::black);
                                p.drawPolygon(QPolygon({QPoint(0, 23), QPoint(3, 17), QPoint(6, 20)}));
                            }),
                       0, 23);
    case PaintTool::Fill:
        return QCursor(Draw(24,
                            [](QPainter& p) {
                                p.setBrush(Qt::white);
                                p.drawPolygon(QPolygon({QPoint(4, 10), QPoint(12, 2), QPoint(20, 10), QPoint(12, 18)}));
                                p.setBrush(Qt::black);
                                p.drawEllipse(1, 12, 4, 8);
                            }),
                       3, 21);
    case PaintTool::Dropper:
        return QCursor(Draw(24,
                            [](QPainter& p) {
                                p.setBrush(Qt::white);
                                p.drawPolygon(QPolygon({QPoint(2, 19), QPoint(14, 7), QPoint(17, 10), QPoint(5, 22)}));
                                p.setBrush(Qt::black);
                                p.drawEllipse(14, 1, 8, 8);
                            }),
                       1, 22);
    case PaintTool::Line:
    case PaintTool::Rect:
    case PaintTool::FRect:
        return QCursor(Qt::CrossCursor);
    default:
        return QCursor(Qt::ArrowCursor);
    }
}
