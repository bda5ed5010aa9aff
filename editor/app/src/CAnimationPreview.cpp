#include "kvfedit/CAnimationPreview.h"

#include "editor/CKVFEditorDoc.h"
#include "imaging/CDibSection.h"
#include "kvfedit/PictureImage.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

CAnimationPreview::CAnimationPreview(CKVFEditorDoc& doc, QWidget* parent) : QDialog(parent), m_doc(doc)
{
    setWindowTitle(QStringLiteral("Preview"));
    m_canvas = new QLabel(this);
    m_canvas->setAlignment(Qt::AlignCenter);
    m_canvas->setMinimumSize(64, 64);
    m_counter = new QLabel(this);
    m_rate = new QSpinBox(this);
    m_rate->setRange(kMinRate, kMaxRate);
    m_rate->setValue(kDefaultRate);
    m_play = new QPushButton(QStringLiteral("Pause"), this);
    m_timer = new QTimer(this);
    m_timer->setTimerType(Qt::PreciseTimer);

    auto* controls = new QHBoxLayout;
    controls->addWidget(new QLabel(QStringLiteral("Frames per second:"), this));
    controls->addWidget(m_rate);
    controls->addWidget(m_play);
    controls->addStretch();
    controls->addWidget(m_counter);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_canvas, 1);
    layout->addLayout(controls);

    connect(m_timer, &QTimer::timeout, this, &CAnimationPreview::Step);
    connect(m_rate, &QSpinBox::valueChanged, this, &CAnimationPreview::SetRate);
    connect(m_play, &QPushButton::clicked, this, [this] { SetPlaying(!m_playing); });
    SetRate(kDefaultRate);
    ShowFrame(0);
}

void CAnimationPreview::SetRate(int rate)
{
    rate = std::clamp(rate, kMinRate, kMaxRate);
    if (m_rate->value() != rate)
        m_rate->setValue(rate);
    m_timer->setInterval(1000 / rate);
}

int CAnimationPreview::Rate() const
{
    return m_rate->value();
}

void CAnimationPreview::SetPlaying(bool playing)
{
    m_playing = playing;
    m_play->setText(playing ? QStringLiteral("Pause") : QStringLiteral("Play"));
    if (playing && isVisible())
        m_timer->start();
    else
        m_timer->stop();
}

bool CAnimationPreview::IsPlaying() const
{
    return m_playing;
}

void CAnimationPreview::SetScale(double scale)
{
    m_scale = scale;
    ShowFrame(m_frame);
}

void CAnimationPreview::Step()
{
    const int count = m_doc.GetFrameCount();
    ShowFrame(count > 0 ? (m_frame + 1) % count : 0);
}

void CAnimationPreview::OnDocumentChanged()
{
    ShowFrame(m_frame);
}

void CAnimationPreview::ShowFrame(int index)
{
    const int count = m_doc.GetFrameCount();
    m_frame = index < count ? index : 0;
    CDibSection picture;
    m_image = count > 0 && m_doc.GetFrameImage(m_frame, picture) == EditorStatus::Ok ? PictureToImage(picture)
                                                                                       : QImage();
    if (m_image.isNull()) {
        m_canvas->clear();
    } else {
        const QSize size(std::max(1, int(m_image.width() * m_scale)), std::max(1, int(m_image.height() * m_scale)));
        m_canvas->setPixmap(QPixmap::fromImage(m_image.scaled(size, Qt::IgnoreAspectRatio, Qt::FastTransformation)));
    }
    // Frames are numbered from 1, as in the timeline and the status bar.
    m_counter->setText(QString::asprintf("Frame: %d / %d", count > 0 ? m_frame + 1 : 0, count));
}

void CAnimationPreview::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    SetPlaying(m_playing);
}

void CAnimationPreview::hideEvent(QHideEvent* event)
{
    m_timer->stop();
    QDialog::hideEvent(event);
}
