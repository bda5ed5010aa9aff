#pragma once
// CColourSwatches: the two overlapping colour swatches of the Paint Tools
// Bar, the foreground colour upper left over the background colour lower
// right. A click on either asks for it to be changed.

#include <QColor>
#include <QWidget>

enum class Swatch { Foreground, Background };

class CColourSwatches : public QWidget {
    Q_OBJECT

public:
    explicit CColourSwatches(QWidget* parent = nullptr);

    void SetColour(Swatch swatch, const QColor& colour);
    QColor Colour(Swatch swatch) const;
    // Where each swatch lies (the foreground one wins where they overlap).
    QRect SwatchRect(Swatch swatch) const;

    QSize sizeHint() const override;

signals:
    void Clicked(Swatch swatch);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QColor m_foreground = Qt::black;
    QColor m_background = Qt::white;
};
