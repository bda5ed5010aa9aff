#pragma once
// CAnimationPreview: "Preview", the frames played in a loop at a chosen
// rate, so an animation can be judged while it is drawn. It reads the
// document afresh at every frame (strokes in progress included) and never
// changes it.

#include <QDialog>
#include <QImage>

class CKVFEditorDoc;
class QLabel;
class QPushButton;
class QSpinBox;
class QTimer;

class CAnimationPreview : public QDialog {
    Q_OBJECT

public:
    static constexpr int kMinRate = 1, kMaxRate = 60, kDefaultRate = 15;

    CAnimationPreview(CKVFEditorDoc& doc, QWidget* parent = nullptr);

    // Frames per second.
    void SetRate(int rate);
    int Rate() const;
    void SetPlaying(bool playing);
    bool IsPlaying() const;
    // The picture scale (a zoom factor of the view).
    void SetScale(double scale);

    // Shows the next frame, after the last the first.
    void Step();
    int ShownFrame() const { return m_frame; }
    const QImage& ShownImage() const { return m_image; }

    // The document changed: the frame shown is read again.
    void OnDocumentChanged();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void ShowFrame(int index);

    CKVFEditorDoc& m_doc;
    QLabel* m_canvas;
    QLabel* m_counter;
    QSpinBox* m_rate;
    QPushButton* m_play;
    QTimer* m_timer;
    QImage m_image;
    double m_scale = 1.0;
    int m_frame = 0;
    bool m_playing = true;
};
