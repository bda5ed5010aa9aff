#pragma once
// CFileCommands: the File menu of the main window: new, open (documents,
// and sprite or PNG strips, which become a new document), save (asking
// first before a video of another codec becomes a large uncompressed file),
// import, insert video, export through one dialog, and the recent files.

#include "editor/SpriteExport.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

class CMainFrame;
class CRecentFileList;
class QAction;
class QMenu;
class QSettings;

class CFileCommands {
public:
    // `settings` keeps the recent-file list; it must outlive this object.
    CFileCommands(CMainFrame& frame, QSettings& settings);
    ~CFileCommands();
    CFileCommands(const CFileCommands&) = delete;
    CFileCommands& operator=(const CFileCommands&) = delete;

    // The File menu, whose recent-file entries go before `place`.
    void SetRecentMenu(QMenu* menu, QAction* place);

    // An AVI file is opened as the document (after asking to save changes);
    // a picture file is cut into `frames` frames inserted after the current
    // one. A file that is neither gets a message and changes nothing.
    bool OpenPath(const QString& path, int frames = 1);
    // Opens a document file; false (with a message) when it cannot be read.
    bool OpenDocumentFile(const QString& path);
    // Asks to save a modified document: false when the user cancels or the
    // save fails, so whatever was about to replace the document stops.
    bool SaveModified();

    void New();
    void Open();
    void Save();
    void SaveAs();
    void Import();
    void InsertVideo();
    void Export();

    QStringList RecentFiles() const;
    QList<QAction*> RecentFileActions() const;

    // The frames a strip of this size most likely holds: square frames
    // stacked top to bottom when the height is a whole multiple of the
    // width, else one.
    static int GuessStripFrames(int width, int height);

private:
    bool SaveTo(const QString& path);
    bool SaveAsDialog();
    // After an open or a save: the document is named `path` and listed
    // first among the recent files; a failure is shown instead.
    bool NameDocument(const QString& path, EditorStatus status);
    // A picture file as a new document: the frame count asked for, with a
    // guess from the picture's proportions.
    bool OpenStrip(const QString& path);
    void OpenRecent(const QString& path);
    void UpdateRecentMenu();

    CMainFrame& m_frame;
    std::unique_ptr<CRecentFileList> m_recent;
    QMenu* m_menu = nullptr;
    QAction* m_recentPlace = nullptr;
    QList<QAction*> m_recentActions;
    ExportOptions m_exportOptions;
    ExportLayout m_exportLayout = ExportLayout::Strip;
};
