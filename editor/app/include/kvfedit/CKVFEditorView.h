#pragma once
// CKVFEditorView: the document's current frame at one of seven zoom steps,
// scrolled, with the paint tools at work on it. The working image is drawn
// at the top left, scaled by the zoom factor (nearest pixel; the size
// rounded toward zero); the rest of the view is hatched.
//
// A pen stroke runs from the button press to its release; it is then
// committed, so every stroke (and every fill) is an undo step of its own.
// Commands that change the document end a stroke in progress first
// (FinishStroke), so a stroke never continues on another frame.

#include "editor/EditorTypes.h"
#include "editor/PaintOps.h"
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

    // The picture's size on screen at the present zoom.
    QSize ZoomedSize() const;
    // A viewport position in picture coordinates: the scroll position added,
    // divided by the zoom factor, rounded down (so a point left of or above
    // the picture is outside it, never on its first column or row).
    QPoint ToPicture(QPoint viewportPosition) const;
    bool IsInsidePicture(QPoint picturePoint) const;

    // True while a pen stroke is in progress.
    bool IsBusy() const { return m_busy; }
    // Ends a stroke in progress as its release would (and commits it).
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

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void UpdateScrollBars();
    void RebuildOnionSkin();
    void Refresh(const PaintRect& changed);
    void ShowReadOuts(QPoint picturePoint, Qt::MouseButtons buttons);
    void TakeColour(QPoint picturePoint, Qt::MouseButton button);
    EditorColour ColourFor(Qt::MouseButton button) const;
    void EndStroke(QPoint picturePoint);

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
    int m_wheelDelta = 0;
};
