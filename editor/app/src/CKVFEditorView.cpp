#include "kvfedit/CKVFEditorView.h"

#include "EditorIcons.h"
#include "editor/CKVFEditorDoc.h"
#include "editor/SelectionOps.h"
#include "imaging/CDibSection.h"
#include "kvfedit/CPaintToolsBar.h"
#include "kvfedit/PictureImage.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <cstring>

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

// The shape tools' drawing, from the first corner to the second.
PaintRect DrawShape(CDib& image, PaintTool tool, QPoint from, QPoint to, EditorColour colour)
{
    switch (tool) {
    case PaintTool::Rect:
        return PaintRectangle(image, from.x(), from.y(), to.x(), to.y(), colour);
    case PaintTool::FRect:
        return PaintFilledRectangle(image, from.x(), from.y(), to.x(), to.y(), colour);
    default:
        return PaintLine(image, from.x(), from.y(), to.x(), to.y(), colour);
    }
}

bool IsShapeTool(PaintTool tool)
{
    return tool == PaintTool::Line || tool == PaintTool::Rect || tool == PaintTool::FRect;
}

// The undo step a tool's change is named after.
const char* StepName(PaintTool tool)
{
    switch (tool) {
    case PaintTool::Pen:
        return "Pen Stroke";
    case PaintTool::Fill:
        return "Fill";
    case PaintTool::Line:
        return "Line";
    case PaintTool::Rect:
        return "Rectangle";
    case PaintTool::FRect:
        return "Filled Rectangle";
    default:
        return "Move Selection";
    }
}

// Copies rows `top` to `bottom` − 1 of one picture into a copy of it (same
// size and format, so the same pitch); false, copying nothing, when the
// two no longer match.
bool CopyRows(const CDibSection& from, CDibSection& to, int top, int bottom)
{
    if (from.Pitch() != to.Pitch() || from.GetHeight() != to.GetHeight() || from.GetFormat() != to.GetFormat() ||
        !from.Bits() || !to.Bits() || top < 0 || bottom > from.GetHeight() || top >= bottom)
        return false;
    std::memcpy(to.Bits() + size_t(top) * size_t(to.Pitch()), from.Bits() + size_t(top) * size_t(from.Pitch()),
                size_t(bottom - top) * size_t(from.Pitch()));
    return true;
}

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

int CKVFEditorView::FitZoomIndex() const
{
    if (m_image.isNull())
        return kDefaultZoom;
    const QSize room = viewport()->size();
    for (int index = kZoomSteps - 1; index > 0; --index) {
        const ZoomScale scale = ScaleOf(index);
        if (m_image.width() * scale.numerator / scale.denominator <= room.width() &&
            m_image.height() * scale.numerator / scale.denominator <= room.height())
            return index;
    }
    return 0;
}

void CKVFEditorView::ZoomToSmallPicture()
{
    const int fit = FitZoomIndex();
    if (fit > kDefaultZoom)
        SetZoomIndex(fit);
}

void CKVFEditorView::SetGrid(bool on)
{
    m_grid = on;
    viewport()->update();
}

void CKVFEditorView::SetSelection(const PaintRect& selection)
{
    m_selection = selection;
    m_dragging = false;
    m_dragOffset = QPoint();
    viewport()->update();
    emit SelectionChanged();
}

QRect CKVFEditorView::ToViewport(const PaintRect& rect) const
{
    const ZoomScale scale = ScaleOf(m_zoom);
    auto toView = [&](int value) { return int(int64_t(value) * scale.numerator / scale.denominator); };
    const QPoint origin(-horizontalScrollBar()->value(), -verticalScrollBar()->value());
    return QRect(origin + QPoint(toView(rect.left), toView(rect.top)),
                 origin + QPoint(toView(rect.right) - 1, toView(rect.bottom) - 1));
}

void CKVFEditorView::OnDocumentChanged()
{
    // Commands finish a shape before they change the document; a change
    // that comes without that still takes the picture the preview copies
    // from, so the shape is dropped with nothing drawn.
    if (IsShapeInProgress()) {
        m_busy = false;
        m_shapeTool = PaintTool::Pen;
        m_strokeButton = Qt::NoButton;
        m_preview.Destroy();
        m_previewRect = PaintRect{};
        emit BusyChanged(false);
    }
    CDibSection& working = m_doc.GetWorkingImage();
    const QSize before = m_image.size();
    m_image = m_doc.GetFrameCount() > 0 ? PictureToImage(working) : QImage();
    // A selection belongs to a picture of its size.
    if (m_image.size() != before)
        m_selection = PaintRect{};
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
            painter.setOpacity(1.0);
        }
        if (ShowsGrid()) {
            // A line between every two pixels, light enough to paint under.
            const int step = int(ZoomFactor());
            painter.setPen(QColor(128, 128, 128, 110));
            const QRect visible = target.intersected(event->rect());
            const int firstX = target.left() + (visible.left() - target.left()) / step * step;
            const int firstY = target.top() + (visible.top() - target.top()) / step * step;
            for (int x = firstX; x <= visible.right() + 1; x += step)
                painter.drawLine(x, visible.top(), x, visible.bottom());
            for (int y = firstY; y <= visible.bottom() + 1; y += step)
                painter.drawLine(visible.left(), y, visible.right(), y);
        }
        if (HasSelection()) {
            // While dragged, the rectangle follows the pointer.
            const QRect shown = ToViewport(m_selection).translated((QPointF(m_dragOffset) * ZoomFactor()).toPoint());
            painter.setPen(QPen(Qt::white, 1));
            painter.drawRect(shown);
            painter.setPen(QPen(Qt::black, 1, Qt::DashLine));
            painter.drawRect(shown);
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

void CKVFEditorView::Refresh(CDib& source, const PaintRect& changed)
{
    if (changed.IsEmpty())
        return;
    RefreshImageRows(source, m_image, changed.top, changed.bottom);
    const ZoomScale scale = ScaleOf(m_zoom);
    const QPoint origin(-horizontalScrollBar()->value(), -verticalScrollBar()->value());
    auto toView = [&](int value) { return int(int64_t(value) * scale.numerator / scale.denominator); };
    // One pixel more on every side: at zoom-out a changed pixel may be the
    // one sampled for a neighbouring screen pixel.
    viewport()->update(QRect(origin + QPoint(toView(changed.left) - 1, toView(changed.top) - 1),
                             origin + QPoint(toView(changed.right) + 1, toView(changed.bottom) + 1)));
}

void CKVFEditorView::BeginPan(QPoint position)
{
    m_panning = true;
    m_panStart = position;
    m_panScroll = QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value());
    viewport()->setCursor(Qt::ClosedHandCursor);
}

void CKVFEditorView::mousePressEvent(QMouseEvent* event)
{
    const Qt::MouseButton button = event->button();
    if (!m_busy && !m_panning &&
        (button == Qt::MiddleButton || (button == Qt::LeftButton && m_spaceHeld))) {
        BeginPan(event->position().toPoint());
        return;
    }
    if (m_busy || m_panning || (button != Qt::LeftButton && button != Qt::RightButton) ||
        m_doc.GetFrameCount() == 0)
        return;
    const QPoint point = ToPicture(event->position().toPoint());
    if (button == Qt::LeftButton && m_tools.Tool() == PaintTool::Select) {
        // A rectangle starts at the nearest pixel, even from outside the picture.
        m_anchor = m_last = ClampToPicture(point);
        m_selecting = true;
        SetSelection(SelectionRect(m_doc.GetWorkingImage(), m_anchor.x(), m_anchor.y(), m_anchor.x(), m_anchor.y()));
        return;
    }
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
        Refresh(working, PaintLine(working, point.x(), point.y(), point.x(), point.y(), m_strokeColour));
        emit BusyChanged(true);
        break;
    case PaintTool::Fill: {
        const PaintRect changed = FloodFill(working, point.x(), point.y(), ColourFor(button));
        if (!changed.IsEmpty()) {
            m_doc.SetWorkingDirty();
            Refresh(working, changed);
            m_doc.Commit(StepName(PaintTool::Fill));
        }
        break;
    }
    case PaintTool::Line:
    case PaintTool::Rect:
    case PaintTool::FRect:
        BeginShape(m_tools.Tool(), button, point);
        break;
    case PaintTool::Dropper:
        TakeColour(point, button);
        break;
    case PaintTool::Drag:
        // The selected pixels follow the pointer while the button is held.
        if (button == Qt::LeftButton && HasSelection() && point.x() >= m_selection.left &&
            point.x() < m_selection.right && point.y() >= m_selection.top && point.y() < m_selection.bottom) {
            m_dragging = true;
            m_anchor = point;
            m_dragOffset = QPoint();
        }
        break;
    default:
        break;
    }
}

void CKVFEditorView::mouseMoveEvent(QMouseEvent* event)
{
    if (m_panning) {
        const QPoint moved = event->position().toPoint() - m_panStart;
        horizontalScrollBar()->setValue(m_panScroll.x() - moved.x());
        verticalScrollBar()->setValue(m_panScroll.y() - moved.y());
        return;
    }
    const QPoint point = ToPicture(event->position().toPoint());
    if (m_selecting) {
        m_last = ClampToPicture(point);
        m_selection = SelectionRect(m_doc.GetWorkingImage(), m_anchor.x(), m_anchor.y(), m_last.x(), m_last.y());
        viewport()->update();
    } else if (m_dragging) {
        m_dragOffset = point - m_anchor;
        viewport()->update();
    } else if (IsShapeInProgress()) {
        PreviewShape(point);
    } else if (m_busy) {
        // The segment and its end: consecutive segments share their ends,
        // and a stroke leaving the picture is clipped, not stopped.
        CDibSection& working = m_doc.GetWorkingImage();
        Refresh(working, PaintLine(working, m_last.x(), m_last.y(), point.x(), point.y(), m_strokeColour));
        m_last = point;
    }
    ShowReadOuts(point, event->buttons());
}

void CKVFEditorView::EndDrag(QPoint point)
{
    m_dragging = false;
    const QPoint offset = point - m_anchor;
    m_dragOffset = QPoint();
    if (offset.isNull()) {
        viewport()->update();
        return;
    }
    CDibSection& working = m_doc.GetWorkingImage();
    const PaintRect changed =
        MoveArea(working, m_selection, offset.x(), offset.y(), m_tools.EditorColourOf(Swatch::Background));
    // The selection moves with its pixels, kept to the picture.
    const PaintRect moved{m_selection.left + offset.x(), m_selection.top + offset.y(), m_selection.right + offset.x(),
                          m_selection.bottom + offset.y()};
    m_selection = SelectionRect(working, moved.left, moved.top, moved.right - 1, moved.bottom - 1);
    if (!changed.IsEmpty()) {
        m_doc.SetWorkingDirty();
        Refresh(working, changed);
        m_doc.Commit(StepName(PaintTool::Drag));
    }
    viewport()->update();
}

void CKVFEditorView::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_panning && (event->button() == Qt::MiddleButton || event->button() == Qt::LeftButton)) {
        m_panning = false;
        viewport()->setCursor(ToolCursor(m_tools.Tool()));
        return;
    }
    if (m_selecting && event->button() == Qt::LeftButton) {
        m_selecting = false;
        // A click without a drag selects nothing.
        if (m_anchor == m_last)
            ClearSelection();
        else
            emit SelectionChanged();
        return;
    }
    if (m_dragging && event->button() == Qt::LeftButton) {
        EndDrag(ToPicture(event->position().toPoint()));
        return;
    }
    if (!m_busy || event->button() != m_strokeButton)
        return;
    const QPoint point = ToPicture(event->position().toPoint());
    if (IsShapeInProgress()) {
        PreviewShape(point);
        EndShape(ShapeEnd::Draw);
    } else {
        EndStroke(point);
    }
}

void CKVFEditorView::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && IsShapeInProgress()) {
        EndShape(ShapeEnd::Cancel);
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_Escape && HasSelection()) {
        ClearSelection();
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_Space) {
        if (!event->isAutoRepeat()) {
            m_spaceHeld = true;
            viewport()->setCursor(Qt::OpenHandCursor);
        }
        event->accept();
        return;
    }
    QAbstractScrollArea::keyPressEvent(event);
}

void CKVFEditorView::keyReleaseEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Space && !event->isAutoRepeat()) {
        m_spaceHeld = false;
        if (!m_panning)
            viewport()->setCursor(ToolCursor(m_tools.Tool()));
        event->accept();
        return;
    }
    QAbstractScrollArea::keyReleaseEvent(event);
}

void CKVFEditorView::EndStroke(QPoint point)
{
    CDibSection& working = m_doc.GetWorkingImage();
    Refresh(working, PaintLine(working, m_last.x(), m_last.y(), point.x(), point.y(), m_strokeColour));
    m_busy = false;
    m_strokeButton = Qt::NoButton;
    m_doc.Commit(StepName(PaintTool::Pen));
    emit BusyChanged(false);
}

void CKVFEditorView::FinishStroke()
{
    if (IsShapeInProgress())
        EndShape(ShapeEnd::Draw);
    else if (m_busy)
        EndStroke(m_last);
}

QPoint CKVFEditorView::ClampToPicture(QPoint point) const
{
    return QPoint(std::clamp(point.x(), 0, std::max(0, m_image.width() - 1)),
                  std::clamp(point.y(), 0, std::max(0, m_image.height() - 1)));
}

void CKVFEditorView::BeginShape(PaintTool tool, Qt::MouseButton button, QPoint point)
{
    // The preview is drawn on a copy, so the working image (and with it the
    // document, the onion skin of the next frame and the undo history)
    // never holds a shape that is not finished.
    if (m_preview.CopyFrom(&m_doc.GetWorkingImage()) != DIB_OK)
        return;
    m_shapeTool = tool;
    m_strokeButton = button;
    m_strokeColour = ColourFor(button);
    m_anchor = m_last = point;
    m_previewRect = PaintRect{};
    m_busy = true;
    // Escape cancels the shape, so the keys come here while it is dragged.
    setFocus(Qt::MouseFocusReason);
    emit BusyChanged(true);
}

void CKVFEditorView::PreviewShape(QPoint point)
{
    // Outside the picture the shape follows the pointer along its edge.
    const QPoint end = ClampToPicture(point);
    if (end == m_last)
        return;
    m_last = end;
    CDibSection& working = m_doc.GetWorkingImage();
    // The last preview is wiped from the copy before the next is drawn; the
    // shown image is converted again over both.
    const PaintRect previous = m_previewRect;
    if (!previous.IsEmpty() && !CopyRows(working, m_preview, previous.top, previous.bottom))
        return;
    // Back on the first corner the shape is nothing, as a click is.
    m_previewRect = end == m_anchor ? PaintRect{} : DrawShape(m_preview, m_shapeTool, m_anchor, end, m_strokeColour);
    Refresh(m_preview, Union(previous, m_previewRect));
}

void CKVFEditorView::EndShape(ShapeEnd end)
{
    const PaintTool tool = m_shapeTool;
    const PaintRect shown = m_previewRect;
    // The state is cleared before the commit, whose update of the views
    // must not find a shape in progress.
    m_busy = false;
    m_shapeTool = PaintTool::Pen;
    m_strokeButton = Qt::NoButton;
    m_previewRect = PaintRect{};
    m_preview.Destroy();
    CDibSection& working = m_doc.GetWorkingImage();
    PaintRect drawn;
    // A release on the first corner draws nothing, as it did before these
    // tools drew, and leaves the document unmodified.
    if (end == ShapeEnd::Draw && m_last != m_anchor) {
        drawn = DrawShape(working, tool, m_anchor, m_last, m_strokeColour);
        if (!drawn.IsEmpty())
            m_doc.SetWorkingDirty();
    }
    // Where the preview was, the view shows the working image again.
    Refresh(working, Union(shown, drawn));
    m_doc.Commit(StepName(tool));
    emit BusyChanged(false);
}

void CKVFEditorView::ShowReadOuts(QPoint point, Qt::MouseButtons buttons)
{
    const PaintTool tool = m_tools.Tool();
    if (tool != PaintTool::Pen && tool != PaintTool::Fill && tool != PaintTool::Dropper && !IsShapeTool(tool))
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
    // The wheel scrolls (with Shift, sideways); with Ctrl it zooms around
    // the pointer.
    if (!(event->modifiers() & Qt::ControlModifier)) {
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
