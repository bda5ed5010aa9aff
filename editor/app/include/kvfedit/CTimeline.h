#pragma once
// CTimeline: the frames of the document as a row of thumbnails under the
// view, numbered from 1; the current frame is selected, and a click on
// another makes it current. Thumbnails are made once per stored frame
// (frames never change, so an edit brings a new one) and kept while the
// frame lives.

#include "editor/CStoredFrame.h"

#include <QIcon>
#include <QListWidget>

#include <map>
#include <memory>

class CKVFEditorDoc;

class CTimeline : public QListWidget {
    Q_OBJECT

public:
    static constexpr int kThumbnailSide = 64;

    explicit CTimeline(CKVFEditorDoc& doc, QWidget* parent = nullptr);

    // The document changed: items for every frame, the current one selected.
    void OnDocumentChanged();

private:
    QIcon Thumbnail(int index);

    CKVFEditorDoc& m_doc;
    struct Cached {
        std::weak_ptr<const CStoredFrame> frame;
        QIcon icon;
    };
    std::map<const CStoredFrame*, Cached> m_thumbnails;
    bool m_updating = false;
};
