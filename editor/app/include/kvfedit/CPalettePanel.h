#pragma once
// CPalettePanel: the palette of the current frame when it is indexed, as a
// grid of swatches, 16 to a row. A click picks an entry: the left button
// for the foreground colour, the right for the background. For frames of
// more bits it says there is no palette.

#include <QColor>
#include <QVector>
#include <QWidget>

class CPalettePanel : public QWidget {
    Q_OBJECT

public:
    static constexpr int kColumns = 16;
    static constexpr int kCell = 12;

    explicit CPalettePanel(QWidget* parent = nullptr);

    // The entries to show; none for a frame without a palette.
    void SetEntries(const QVector<QColor>& colours);
    const QVector<QColor>& Entries() const { return m_colours; }
    // The entry under a point of the panel, -1 for none.
    int EntryAt(QPoint point) const;
    QRect CellRect(int index) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

signals:
    void EntryPicked(int index, Qt::MouseButton button);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    bool event(QEvent* event) override;

private:
    QVector<QColor> m_colours;
};
