#include "kvfedit/CTimeline.h"

#include "editor/CKVFEditorDoc.h"
#include "imaging/CDibSection.h"
#include "kvfedit/PictureImage.h"

#include <QPixmap>

CTimeline::CTimeline(CKVFEditorDoc& doc, QWidget* parent) : QListWidget(parent), m_doc(doc)
{
    setViewMode(QListView::IconMode);
    setFlow(QListView::LeftToRight);
    setWrapping(false);
    setMovement(QListView::Static);
    setResizeMode(QListView::Adjust);
    setUniformItemSizes(true);
    setIconSize(QSize(kThumbnailSide, kThumbnailSide));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFixedHeight(kThumbnailSide + fontMetrics().height() + 3 * frameWidth() + 24);
    setToolTip(QStringLiteral("The frames; click one to go to it"));
    connect(this, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!m_updating && row >= 0 && row != m_doc.GetCurrentFrame())
            m_doc.SetCurrentFrame(row);
    });
}

QIcon CTimeline::Thumbnail(int index)
{
    const FrameRef frame = m_doc.GetFrameRef(index);
    if (!frame)
        return QIcon();
    const auto found = m_thumbnails.find(frame.get());
    if (found != m_thumbnails.end() && found->second.frame.lock() == frame)
        return found->second.icon;
    CDibSection picture;
    QIcon icon;
    if (m_doc.GetStoredFrameImage(*frame, picture) == EditorStatus::Ok) {
        const QImage image = PictureToImage(picture);
        // Small pictures keep their pixels sharp; large ones are smoothed down.
        const Qt::TransformationMode mode =
            image.width() > kThumbnailSide || image.height() > kThumbnailSide ? Qt::SmoothTransformation
                                                                              : Qt::FastTransformation;
        icon = QIcon(QPixmap::fromImage(
            image.scaled(QSize(kThumbnailSide, kThumbnailSide), Qt::KeepAspectRatio, mode)));
    }
    m_thumbnails[frame.get()] = Cached{frame, icon};
    return icon;
}

void CTimeline::OnDocumentChanged()
{
    m_updating = true;
    const int count = m_doc.GetFrameCount();
    while (this->count() > count)
        delete takeItem(this->count() - 1);
    for (int i = 0; i < count; ++i) {
        QListWidgetItem* entry = i < this->count() ? item(i) : nullptr;
        if (!entry) {
            entry = new QListWidgetItem(this);
            entry->setTextAlignment(Qt::AlignHCenter);
        }
        // Only what changed is set: a stroke's end updates every view.
        const QString number = QString::number(i + 1);
        if (entry->text() != number)
            entry->setText(number);
        const QIcon icon = Thumbnail(i);
        if (entry->icon().cacheKey() != icon.cacheKey())
            entry->setIcon(icon);
    }
    // Thumbnails of frames gone from the document and its history go too.
    for (auto it = m_thumbnails.begin(); it != m_thumbnails.end();)
        it = it->second.frame.expired() ? m_thumbnails.erase(it) : std::next(it);
    if (count > 0) {
        setCurrentRow(m_doc.GetCurrentFrame());
        scrollToItem(currentItem());
    }
    m_updating = false;
}
