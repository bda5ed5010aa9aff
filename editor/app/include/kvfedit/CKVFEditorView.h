#pragma once
// CKVFEditorView: the document's current frame at one of seven zoom steps,
// scrolled, with the paint tools at work on it. The working image is drawn
// at the top left, scaled by the zoom factor (nearest pixel; the size
// rounded toward zero); the rest of the view is hatched.
//
// A pen stroke runs from the button press to its release; it is then
// committed, so every stroke (and every fill) is an undo step of its own,
// named after its tool.
// A shape (Line, Rect, FRect) is dragged from the press point to the
// pointer, shown on a copy of the working image while the button is held,
// and drawn into the working image and committed, one undo step, on the
// release; Escape drops it with nothing drawn. Commands that change the
// document end a stroke or shape in progress first (FinishStroke), so
// neither continues on another frame.
//
// The Select tool drags out a rectangle of the picture (shown dashed); the
// Drag tool moves the pixels inside it (one undo step, "Move Selection").
// The wheel scrolls and, with Ctrl, zooms around the pointer; the middle
// button, or the left one while Space is held, pans. From zoom 4 on, a grid
// can be drawn between the pixels.

#include "editor/EditorTypes.h"
#include "editor/PaintOps.h"
#include "imaging/CDibSection.h"
#include "kvfedit/PaintTool.h"

#include <QAbstractScrollArea>
#include <QImage>

class CKVFEditorDoc;
class CPaintToolsBar;

class CKVFEditorView : public QAbstractScrollArea {
    Q_OBJECT

public:
    static constexpr int kZoomSteps = 7;
    static constexpr int kDefaultZoom = 3;
    // The zoom factor of a step: 0.125, 0.25, 0.5, 1, 2, 4, 8.
    static double ZoomFactorOf(int index);

    CKVFEditorView(CKVFEditorDoc& doc, CPaintToolsBar& tools, QWidget* parent = nullptr);

    int ZoomIndex() const { return m_zoom; }
    double ZoomFactor() const { return ZoomFactorOf(m_zoom); }
    // Keeps the picture point at the middle of the view in place.
    void SetZoomIndex(int index);
    // Keeps the picture point under `anchor` (a viewport position) in place.
    void ZoomAround(int index, QPoint anchor);
    bool CanZoomIn() const { return m_zoom < kZoomSteps - 1; }
    bool CanZoomOut() const { return m_zoom > 0; }
    // The largest zoom step at which the whole picture fits the view (at
    // most 8); the actual-size step (1) without a picture.
    int FitZoomIndex() const;
    void ZoomToFit() { SetZoomIndex(FitZoomIndex()); }
    // A document just opened: a picture smaller than the view is zoomed
    // to fit it.
    void ZoomToSmallPicture();

    // The pixel grid, drawn from zoom 4 on while it is on.
    static constexpr int kGridFromZoom = 5;
    void SetGrid(bool on);
    bool Grid() const { return m_grid; }
    bool ShowsGrid() const { return m_grid && m_zoom >= kGridFromZoom; }

    // The Select tool's rectangle, in picture coordinates; empty for none.
    const PaintRect& Selection() const { return m_selection; }
    bool HasSelection() const { return !m_selection.IsEmpty(); }
    void SetSelection(const PaintRect& selection);
    void ClearSelection() { SetSelection(PaintRect{}); }

    // The picture's size on screen at the present zoom.
    QSize ZoomedSize() const;
    // A viewport position in picture coordinates: the scroll position added,
    // divided by the zoom factor, rounded down (so a point left of or above
    // the picture is outside it, never on its first column or row).
    QPoint ToPicture(QPoint viewportPosition) const;
    bool IsInsidePicture(QPoint picturePoint) const;

    // True while a pen stroke or a shape is in progress.
    bool IsBusy() const { return m_busy; }
    // Ends a stroke or shape in progress as its release would (and commits it).
    void FinishStroke();

    // The previous frame drawn faintly over the current one.
    void SetOnionSkin(bool on);
    bool OnionSkin() const { return m_onionSkin; }

    // The document changed: the picture is converted again, the scroll size
    // set to the zoomed picture and the view repainted.
    void OnDocumentChanged();

    // What the status-bar panes show.
    struct StatusValues {
        double zoom = 1.0;
        int bits = 0;
        int width = 0;
        int height = 0;
        int frame = 0;
        int total = 0;
    };
    StatusValues Status() const;
    // The picture as the view shows it at zoom 1.
    const QImage& ShownImage() const { return m_image; }

signals:
    // After each drawing of the view, and when the zoom changes.
    void StatusChanged();
    void BusyChanged(bool busy);
    void SelectionChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void UpdateScrollBars();
    void RebuildOnionSkin();
    // Converts the changed rows of `source` (the working image or the shape
    // preview) into the shown image and repaints them.
    void Refresh(CDib& source, const PaintRect& changed);
    void ShowReadOuts(QPoint picturePoint, Qt::MouseButtons buttons);
    void TakeColour(QPoint picturePoint, Qt::MouseButton button);
    EditorColour ColourFor(Qt::MouseButton button) const;
    void EndStroke(QPoint picturePoint);

    enum class ShapeEnd { Draw, Cancel };
    bool IsShapeInProgress() const { return m_busy && m_shapeTool != PaintTool::Pen; }
    void BeginShape(PaintTool tool, Qt::MouseButton button, QPoint picturePoint);
    void PreviewShape(QPoint picturePoint);
    void EndShape(ShapeEnd end);
    // A point moved to the nearest pixel of the picture.
    QPoint ClampToPicture(QPoint picturePoint) const;
    // A rectangle of picture pixels as a rectangle of the viewport.
    QRect ToViewport(const PaintRect& rect) const;
    void BeginPan(QPoint viewportPosition);
    void EndDrag(QPoint picturePoint);

    CKVFEditorDoc& m_doc;
    CPaintToolsBar& m_tools;
    int m_zoom = kDefaultZoom;
    QImage m_image;
    QImage m_onionImage;
    bool m_onionSkin = false;
    bool m_busy = false;
    Qt::MouseButton m_strokeButton = Qt::NoButton;
    EditorColour m_strokeColour;
    QPoint m_last;
    // The shape in progress: its tool (Pen while there is none), its first
    // corner, and the working image with the shape drawn over `m_previewRect`.
    PaintTool m_shapeTool = PaintTool::Pen;
    QPoint m_anchor;
    CDibSection m_preview;
    PaintRect m_previewRect;
    int m_wheelDelta = 0;

    bool m_grid = false;
    PaintRect m_selection;
    // Select: the first corner while a rectangle is dragged out. Drag: the
    // press point and how far the pixels have been moved.
    bool m_selecting = false;
    bool m_dragging = false;
    QPoint m_dragOffset;
    // Panning: where it started, and the scroll position then.
    bool m_panning = false;
    bool m_spaceHeld = false;
    QPoint m_panStart;
    QPoint m_panScroll;
};
