#pragma once
// CMainFrame: the editor's main window: the menu, the tool bar, the status
// bar with its panes, the dockable "Paint Tools Bar" and the view of the
// document's current frame. It owns the document, turns commands into
// document operations, enables the commands from the document's state,
// shows the outcome's message where there is one, and keeps the recent-file
// list. Dialogs and messages go through an IEditorHost, so the window can
// be driven headless.

#include "editor/CKVFEditorDoc.h"
#include "editor/SpriteExport.h"
#include "editor/ToolParams.h"
#include "kvfedit/EditorCommand.h"

#include <QMainWindow>

#include <map>
#include <memory>

class CAnimationPreview;
class CKVFEditorView;
class CPaintToolsBar;
class CProgressDialog;
class CRecentFileList;
class IEditorHost;
class QDockWidget;
class QLabel;
class QSettings;
class QToolBar;

class CMainFrame : public QMainWindow {
    Q_OBJECT

public:
    static constexpr int kPaneCount = 5;

    // `settings` keeps the recent-file list; it must outlive the window.
    CMainFrame(IEditorHost& host, QSettings& settings, QWidget* parent = nullptr);
    ~CMainFrame() override;

    CKVFEditorDoc& Document() { return m_doc; }
    CKVFEditorView& View() const { return *m_view; }
    CPaintToolsBar& PaintTools() const { return *m_tools; }
    QDockWidget& PaintToolsDock() const { return *m_toolsDock; }
    QToolBar& ToolBar() const { return *m_toolBar; }
    CProgressDialog& Progress() const { return *m_progress; }
    // The preview once it has been opened, else null.
    CAnimationPreview* Preview() const { return m_preview; }
    QAction* Action(EditorCommand command) const;
    QStringList RecentFiles() const;
    // The File menu's entries of the recent files, newest first.
    QList<QAction*> RecentFileActions() const;
    // The open document's file; empty for a new document.
    QString DocumentPath() const { return m_path; }
    // The status-bar panes after the message pane: zoom, depth, size,
    // frame and total.
    QStringList PaneTexts() const;

    // The command line and dropped files: an AVI file is opened as the
    // document (after asking to save changes); a picture file is cut into
    // `frames` frames inserted after the current one. A file that is
    // neither gets a message and leaves the document as it was.
    bool OpenPath(const QString& path, int frames = 1);
    // Opens a document file; false (with a message) when it cannot be read.
    bool OpenDocumentFile(const QString& path);

    // Enables and names the commands from the document and the view.
    void UpdateCommands();

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    using Handler = void (CMainFrame::*)();

    void CreateActions();
    void CreateMenus();
    void CreateToolBar();
    void CreateStatusBar();
    void CreatePaintToolsDock();
    void Connect(EditorCommand command, Handler handler);

    void OnDocumentChanged();
    void UpdateTitle();
    void UpdatePanes();
    void UpdateRecentMenu();
    QString DocumentTitle() const;
    // Shows the outcome's message, if it has one.
    void Report(EditorStatus status);
    // Asks to save a modified document: false when the user cancels or the
    // save fails, so whatever was about to replace the document stops.
    bool SaveModified();
    bool SaveTo(const QString& path);
    // After an open or a save: the document is named `path` and listed
    // first among the recent files; a failure is shown instead.
    bool NameDocument(const QString& path, EditorStatus status);
    bool SaveAsDialog();
    // Runs a dialog through the host; true on OK.
    bool RunDialog(QDialog& dialog);
    EditorColour BackgroundColour() const;
    void SwitchPane(int step);

    // Files.
    void OnNew();
    void OnOpen();
    void OnSave();
    void OnSaveAs();
    void OnImport();
    void OnInsertVideo();
    void OnExport();
    void OnOpenRecent(const QString& path);
    // Edit.
    void OnUndo();
    void OnRedo();
    void OnCut();
    void OnCopy();
    void OnPaste();
    void OnPasteBefore();
    void OnDeleteFrame();
    // Frames and the view.
    void OnFirstFrame();
    void OnPreviousFrame();
    void OnNextFrame();
    void OnLastFrame();
    void OnGoToFrame();
    void OnZoomIn();
    void OnZoomOut();
    void OnOnionSkin();
    void OnPreview();
    void OnNextPane();
    void OnPreviousPane();
    void OnAbout();
    // Tools.
    void OnResize();
    void OnEnlargeCanvas();
    void OnFadeIn();
    void OnFadeOut();
    void OnMirror();
    void OnFlip();
    void OnInvert();
    void OnReverse();
    void OnTimeStretch();
    void OnRemoveAlphaChannel();
    void OnChangeColorDepth();
    void OnLoadPalette();
    void OnSavePalette();

    IEditorHost& m_host;
    CKVFEditorDoc m_doc;
    std::unique_ptr<CRecentFileList> m_recent;
    std::map<EditorCommand, QAction*> m_actions;
    CPaintToolsBar* m_tools = nullptr;
    QDockWidget* m_toolsDock = nullptr;
    CKVFEditorView* m_view = nullptr;
    QToolBar* m_toolBar = nullptr;
    CProgressDialog* m_progress = nullptr;
    CAnimationPreview* m_preview = nullptr;
    QMenu* m_fileMenu = nullptr;
    QAction* m_recentPlace = nullptr;
    QList<QAction*> m_recentActions;
    QLabel* m_panes[kPaneCount] = {};
    QString m_path;
    bool m_clipboardHasPicture = false;
    ExportOptions m_exportOptions;
    ColourDepthParams m_colourParams;
};
