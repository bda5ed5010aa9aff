#pragma once
// CMainFrame: the editor's main window: the menu, the tool bar, the status
// bar with its panes, the dockable "Paint Tools Bar", palette and timeline,
// and the view of the document's current frame. It owns the document,
// enables the commands from the document's state, shows the outcome's
// message where there is one, and keeps the title (the file's name, marked
// while modified). The commands themselves are carried out by CFileCommands
// (File menu, recent files), CEditCommands (Edit, Frame and View menus) and
// CToolCommands (Tools menu). Dialogs and messages go through an
// IEditorHost, so the window can be driven headless.

#include "editor/CKVFEditorDoc.h"
#include "kvfedit/EditorCommand.h"

#include <QMainWindow>

#include <functional>
#include <map>
#include <memory>

class CAnimationPreview;
class CEditCommands;
class CFileCommands;
class CKVFEditorView;
class CPalettePanel;
class CTimeline;
class CToolCommands;
class CPaintToolsBar;
class CProgressDialog;
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
    IEditorHost& Host() const { return m_host; }
    CKVFEditorView& View() const { return *m_view; }
    CPaintToolsBar& PaintTools() const { return *m_tools; }
    QDockWidget& PaintToolsDock() const { return *m_toolsDock; }
    CTimeline& Timeline() const { return *m_timeline; }
    CPalettePanel& PalettePanel() const { return *m_palette; }
    QToolBar& ToolBar() const { return *m_toolBar; }
    CProgressDialog& Progress() const { return *m_progress; }
    // The preview once it has been opened, else null.
    CAnimationPreview* Preview() const { return m_preview; }
    void SetPreview(CAnimationPreview* preview) { m_preview = preview; }
    QAction* Action(EditorCommand command) const;
    CFileCommands& Files() const { return *m_files; }
    // The open document's file; empty for a new document.
    QString DocumentPath() const { return m_path; }
    void SetDocumentPath(const QString& path);
    // The status-bar panes after the message pane: zoom, depth, size,
    // frame (numbered from 1) and total.
    QStringList PaneTexts() const;
    // The recent files, newest first, and their File menu entries.
    QStringList RecentFiles() const;
    QList<QAction*> RecentFileActions() const;

    // The command line and dropped files (see CFileCommands::OpenPath).
    bool OpenPath(const QString& path, int frames = 1);
    bool OpenDocumentFile(const QString& path);

    // Enables and names the commands from the document and the view.
    void UpdateCommands();
    // Shows the outcome's message, if it has one.
    void Report(EditorStatus status);
    // Runs a dialog through the host; true on OK.
    bool RunDialog(QDialog& dialog);
    EditorColour BackgroundColour() const;
    // Whether the clipboard commands act on the selection (the Select or
    // Drag tool is chosen) rather than on whole frames.
    bool ActsOnSelection() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void CreateActions();
    void CreateMenus();
    void CreateToolBar();
    void CreateStatusBar();
    void CreateDocks();
    // Runs `handler` for the command, a stroke in progress finished first.
    void Connect(EditorCommand command, std::function<void()> handler);

    void OnDocumentChanged();
    void UpdateTitle();
    void UpdatePanes();
    void UpdatePalette();
    // The swatches show what the tools will paint on the current frame.
    void SnapColours();
    void OnPaletteEntryPicked(int index, Qt::MouseButton button);
    QString DocumentTitle() const;
    void SwitchPane(int step);

    IEditorHost& m_host;
    CKVFEditorDoc m_doc;
    std::map<EditorCommand, QAction*> m_actions;
    CPaintToolsBar* m_tools = nullptr;
    QDockWidget* m_toolsDock = nullptr;
    CPalettePanel* m_palette = nullptr;
    CTimeline* m_timeline = nullptr;
    CKVFEditorView* m_view = nullptr;
    QToolBar* m_toolBar = nullptr;
    CProgressDialog* m_progress = nullptr;
    CAnimationPreview* m_preview = nullptr;
    QLabel* m_panes[kPaneCount] = {};
    QString m_path;
    bool m_clipboardHasPicture = false;
    std::unique_ptr<CFileCommands> m_files;
    std::unique_ptr<CEditCommands> m_edits;
    std::unique_ptr<CToolCommands> m_toolCommands;
};
