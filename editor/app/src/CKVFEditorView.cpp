#include "kvfedit/CKVFEditorView.h"

#include "EditorIcons.h"
#include "editor/CKVFEditorDoc.h"
#include "imaging/CDibSection.h"
#include "kvfedit/CPaintToolsBar.h"
#include "kvfedit/PictureImage.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include <cmath>

namespace {

// A zoom step as a fraction: 2^(index − 3).
struct ZoomScale {
    int64_t numerator;
    int64_t denominator;
};

ZoomScale ScaleOf(int index)
{
    return index >= CKVFEditorView::kDefaultZoom ? ZoomScale{int64_t(1) << (index - CKVFEditorView::kDefaultZoom), 1}
                                                 : ZoomScale{1, int64_t(1) << (CKVFEditorView::kDefaultZoom - index)};
}

int64_t FloorDivide(int64_t value, int64_t divisor)
{
    const int64_t quotient = value / divisor;
    return (value % divisor != 0 && value < 0) ? quotient - 1 : quotient;
}

constexpr double kOnionOpacity = 0.3;
constexpr int kWheelStep = 120;

} // namespace

double CKVFEditorView::ZoomFactorOf(int index)
{
    const ZoomScale scale = ScaleOf(index);
    return double(scale.numerator) / double(scale.denominator);
}

CKVFEditorView::CKVFEditorView(CKVFEditorDoc& doc, CPaintToolsBar& tools, QWidget* parent)
    : QAbstractScrollArea(parent), m_doc(doc), m_tools(tools)
{
    viewport()->setMouseTracking(true);
    viewport()->setCursor(ToolCursor(m_tools.Tool()));
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    connect(&m_tools, &CPaintToolsBar::ToolChanged, this,
            [this](PaintTool tool) { viewport()->setCursor(ToolCursor(tool)); });
    OnDocumentChanged();
}

QSize CKVFEditorView::ZoomedSize() const
{
    if (m_image.isNull())
        return QSize(0, 0);
    const ZoomScale scale = ScaleOf(m_zoom);
    return QSize(int(m_image.width() * scale.numerator / scale.denominator),
                 int(m_image.height() * scale.numerator / scale.denominator));
}

QPoint CKVFEditorView::ToPicture(QPoint position) const
{
    const ZoomScale scale = ScaleOf(m_zoom);
    const int64_t x = int64_t(position.x()) + horizontalScrollBar()->value();
    const int64_t y = int64_t(position.y()) + verticalScrollBar()->value();
    return QPoint(int(FloorDivide(x * scale.denominator, scale.numerator)),
                  int(FloorDivide(y * scale.denominator, scale.numerator)));
}

bool CKVFEditorView::IsInsidePicture(QPoint point) const
{
    return !m_image.isNull() && point.x() >= 0 && point.y() >= 0 && point.x() < m_image.width() &&
           point.y() < m_image.height();
}

void CKVFEditorView::SetZoomIndex(int index)
{
    ZoomAround(index, viewport()->rect().center());
}

void CKVFEditorView::ZoomAround(int index, QPoint anchor)
{
    if (index < 0 || index >= kZoomSteps || index == m_zoom)
        return;
    const double oldFactor = ZoomFactor();
    const double x = (anchor.x() + horizontalScrollBar()->value()) / oldFactor;
    const double y = (anchor.y() + verticalScrollBar()->value()) / oldFactor;
    m_zoom = index;
    UpdateScrollBars();
    horizontalScrollBar()->setValue(int(std::lround(x * ZoomFactor() - anchor.x())));
    verticalScrollBar()->setValue(int(std::lround(y * ZoomFactor() - anchor.y())));
    viewport()->update();
    emit StatusChanged();
}

void CKVFEditorView::SetOnionSkin(bool on)
{
    m_onionSkin = on;
    RebuildOnionSkin();
    viewport()->update();
}

void CKVFEditorView::OnDocumentChanged()
{
    CDibSection& working = m_doc.GetWorkingImage();
    m_image = m_doc.GetFrameCount() > 0 ? PictureToImage(working) : QImage();
    RebuildOnionSkin();
    UpdateScrollBars();
    viewport()->update();
    emit StatusChanged();
}

void CKVFEditorView::RebuildOnionSkin()
{
    m_onionImage = QImage();
    const int previous = m_doc.GetCurrentFrame() - 1;
    if (!m_onionSkin || previous < 0)
        return;
    CDibSection picture;
    picture.LeaveRegistry();
    if (m_doc.GetFrameImage(previous, picture) == EditorStatus::Ok)
        m_onionImage = PictureToImage(picture);
}

CKVFEditorView::StatusValues CKVFEditorView::Status() const
{
    StatusValues values;
    values.zoom = ZoomFactor();
    if (m_doc.GetFrameCount() > 0) {
        CDibSection& working = m_doc.GetWorkingImage();
        values.bits = int(PixelFormatBits(working.GetFormat()));
        values.width = working.GetWidth();
        values.height = working.GetHeight();
        values.frame = m_doc.GetCurrentFrame();
        values.total = m_doc.GetFrameCount();
    }
    return values;
}

void CKVFEditorView::UpdateScrollBars()
{
    const QSize size = ZoomedSize();
    const QSize page = viewport()->size();
    horizontalScrollBar()->setRange(0, std::max(0, size.width() - page.width()));
    horizontalScrollBar()->setPageStep(page.width());
    horizontalScrollBar()->setSingleStep(std::max(1, page.width() / 20));
    verticalScrollBar()->setRange(0, std::max(0, size.height() - page.height()));
    verticalScrollBar()->setPageStep(page.height());
    verticalScrollBar()->setSingleStep(std::max(1, page.height() / 20));
}

void CKVFEditorView::paintEvent(QPaintEvent* event)
{
    QPainter painter(viewport());
    const QRect target(QPoint(-horizontalScrollBar()->value(), -verticalScrollBar()->value()), ZoomedSize());
    // Hatch where the picture is not.
    const QRegion outside = QRegion(event->rect()) - QRegion(target);
    for (const QRect& rect : outside) {
        painter.fillRect(rect, palette().color(QPalette::Window));
        painter.fillRect(rect, QBrush(palette().color(QPalette::Mid), Qt::DiagCrossPattern));
    }
    if (!target.isEmpty()) {
        // No smoothing: every picture pixel stays a sharp square.
        painter.drawImage(target, m_image);
        if (m_onionSkin && m_onionImage.size() == m_image.size()) {
            painter.setOpacity(kOnionOpacity);
            painter.drawImage(target, m_onionImage);
        }
    }
    emit StatusChanged();
}

void CKVFEditorView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBars();
}

void CKVFEditorView::scrollContentsBy(int, int)
{
    viewport()->update();
}

EditorColour CKVFEditorView::ColourFor(Qt::MouseButton button) const
{
    return m_tools.EditorColourOf(button == Qt::RightButton ? Swatch::Background : Swatch::Foreground);
}

void CKVFEditorView::Refresh(const PaintRect& changed)
{
    if (changed.IsEmpty())
        return;
    RefreshImageRows(m_doc.GetWorkingImage(), m_image, changed.top, changed.bottom);
    const ZoomScale scale = ScaleOf(m_zoom);
    const QPoint origin(-horizontalScrollBar()->value(), -verticalScrollBar()->value());
    auto toView = [&](int value) { return int(int64_t(value) * scale.numerator / scale.denominator); };
    // One pixel more on every side: at zoom-out a changed pixel may be the
    // one sampled for a neighbouring screen pixel.
    viewport()->update(QRect(origin + QPoint(toView(changed.left) - 1, toView(changed.top) - 1),
                             origin + QPoint(toView(changed.right) + 1, toView(changed.bottom) + 1)));
}

void CKVFEditorView::mousePressEvent(QMouseEvent* event)
{
    const Qt::MouseButton button = event->button();
    if (m_busy || (button != Qt::LeftButton && button != Qt::RightButton) || m_doc.GetFrameCount() == 0)
        return;
    const QPoint point = ToPicture(event->position().toPoint());
    if (!IsInsidePicture(point))
        return;
    CDibSection& working = m_doc.GetWorkingImage();
    switch (m_tools.Tool()) {
    case PaintTool::Pen:
        m_strokeButton = button;
        m_strokeColour = ColourFor(button);
        m_last = point;
        m_busy = true;
        m_doc.SetWorkingDirty();
        Refresh(PaintLine(working, point.x(), point.y(), point.x(), point.y(), m_strokeColour));
        emit BusyChanged(true);
        break;
    case PaintTool::Fill: {
        const PaintRect changed = FloodFill(working, point.x(), point.y(), ColourFor(button));
        if (!changed.IsEmpty()) {
            m_doc.SetWorkingDirty();
            Refresh(changed);
            m_doc.Commit();
        }
        break;
    }
    case PaintTool::Dropper:
        TakeColour(point, button);
        break;
    default:
        // Line, Rect and FRect do not draw yet; Drag and Select cannot be chosen.
        break;
    }
}

void CKVFEditorView::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint point = ToPicture(event->position().toPoint());
    if (m_busy) {
        // The segment and its end: consecutive segments share their ends,
        // and a stroke leaving the picture is clipped, not stopped.
        Refresh(PaintLine(m_doc.GetWorkingImage(), m_last.x(), m_last.y(), point.x(), point.y(), m_strokeColour));
        m_last = point;
    }
    ShowReadOuts(point, event->buttons());
}

void CKVFEditorView::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_busy && event->button() == m_strokeButton)
        EndStroke(ToPicture(event->position().toPoint()));
}

void CKVFEditorView::EndStroke(QPoint point)
{
    Refresh(PaintLine(m_doc.GetWorkingImage(), m_last.x(), m_last.y(), point.x(), point.y(), m_strokeColour));
    m_busy = false;
    m_strokeButton = Qt::NoButton;
    m_doc.Commit();
    emit BusyChanged(false);
}

void CKVFEditorView::FinishStroke()
{
    if (m_busy)
        EndStroke(m_last);
}

void CKVFEditorView::ShowReadOuts(QPoint point, Qt::MouseButtons buttons)
{
    const PaintTool tool = m_tools.Tool();
    if (tool != PaintTool::Pen && tool != PaintTool::Fill && tool != PaintTool::Dropper)
        return;
    const bool inside = m_doc.GetFrameCount() > 0 && IsInsidePicture(point);
    if (inside)
        m_tools.ShowPosition(point.x(), point.y());
    else
        m_tools.ClearLines();
    if (tool != PaintTool::Dropper)
        return;
    EditorColour colour;
    if (!inside || !ColourAt(m_doc.GetWorkingImage(), point.x(), point.y(), colour)) {
        m_tools.ShowNoComponents();
        return;
    }
    const QColor shown(colour.red, colour.green, colour.blue);
    if (buttons & Qt::LeftButton)
        m_tools.SetColour(Swatch::Foreground, shown);
    else if (buttons & Qt::RightButton)
        m_tools.SetColour(Swatch::Background, shown);
    else
        m_tools.ShowComponents(shown);
}

void CKVFEditorView::TakeColour(QPoint point, Qt::MouseButton button)
{
    EditorColour colour;
    if (!ColourAt(m_doc.GetWorkingImage(), point.x(), point.y(), colour))
        return;
    m_tools.SetColour(button == Qt::RightButton ? Swatch::Background : Swatch::Foreground,
                      QColor(colour.red, colour.green, colour.blue));
}

void CKVFEditorView::wheelEvent(QWheelEvent* event)
{
    // The wheel zooms around the pointer; with Ctrl or Shift it scrolls.
    if (event->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier)) {
        QAbstractScrollArea::wheelEvent(event);
        return;
    }
    m_wheelDelta += event->angleDelta().y();
    const QPoint anchor = event->position().toPoint();
    while (m_wheelDelta >= kWheelStep) {
        m_wheelDelta -= kWheelStep;
        ZoomAround(m_zoom + 1, anchor);
    }
    while (m_wheelDelta <= -kWheelStep) {
        m_wheelDelta += kWheelStep;
        ZoomAround(m_zoom - 1, anchor);
    }
    event->accept();
}
