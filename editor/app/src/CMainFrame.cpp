// The main window: its parts, command enabling, status panes, title, closing
// and dropped files. The commands are in CMainFrameFiles.cpp and
// CMainFrameTools.cpp.

#include "kvfedit/CMainFrame.h"

#include "EditorIcons.h"
#include "EditorTexts.h"
#include "kvfedit/CAnimationPreview.h"
#include "kvfedit/CKVFEditorView.h"
#include "kvfedit/CPaintToolsBar.h"
#include "kvfedit/CProgressDialog.h"
#include "kvfedit/CRecentFileList.h"
#include "kvfedit/EditorClipboard.h"
#include "kvfedit/IEditorHost.h"

#include <QAction>
#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDockWidget>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusBar>
#include <QToolBar>

CMainFrame::CMainFrame(IEditorHost& host, QSettings& settings, QWidget* parent)
    : QMainWindow(parent), m_host(host), m_recent(std::make_unique<CRecentFileList>(settings))
{
    setAcceptDrops(true);
    m_progress = new CProgressDialog(this);
    CreatePaintToolsDock();
    m_view = new CKVFEditorView(m_doc, *m_tools, this);
    setCentralWidget(m_view);
    CreateActions();
    CreateMenus();
    UpdateRecentMenu();
    CreateToolBar();
    CreateStatusBar();
    QAction* togglePaintTools = Action(EditorCommand::TogglePaintTools);
    togglePaintTools->setCheckable(true);
    togglePaintTools->setChecked(true);
    connect(togglePaintTools, &QAction::toggled, m_toolsDock, &QWidget::setVisible);
    connect(m_toolsDock, &QDockWidget::visibilityChanged, this, &CMainFrame::UpdateCommands);

    m_doc.SetUpdateViews([this] { OnDocumentChanged(); });
    connect(m_view, &CKVFEditorView::StatusChanged, this, &CMainFrame::UpdatePanes);
    connect(m_view, &CKVFEditorView::BusyChanged, this, &CMainFrame::UpdateCommands);
    // Asking the clipboard what it holds may mean a round trip to another
    // program: it is asked when its contents change, not at every update.
    m_clipboardHasPicture = ClipboardHasPicture();
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, [this] {
        m_clipboardHasPicture = ClipboardHasPicture();
        UpdateCommands();
    });
    resize(800, 600);
    m_view->setFocus();
    OnDocumentChanged();
}

CMainFrame::~CMainFrame()
{
    // The view and the preview read the document while they live, and the
    // base class closes the docks and the view after this object's members
    // are gone: nothing may call back into it from here on.
    m_doc.SetUpdateViews({});
    disconnect(m_toolsDock, nullptr, this, nullptr);
    disconnect(m_view, nullptr, this, nullptr);
    disconnect(QGuiApplication::clipboard(), nullptr, this, nullptr);
}

QAction* CMainFrame::Action(EditorCommand command) const
{
    const auto found = m_actions.find(command);
    return found == m_actions.end() ? nullptr : found->second;
}

QStringList CMainFrame::RecentFiles() const
{
    return m_recent->Files();
}

void CMainFrame::CreateActions()
{
    for (const EditorCommandInfo& info : EditorCommands()) {
        auto* action = new QAction(QString::fromUtf8(info.text), this);
        const QStringList prompt = QString::fromUtf8(info.prompt).split(QLatin1Char('\n'));
        action->setStatusTip(prompt.first());
        action->setToolTip(prompt.last());
        action->setShortcuts(info.shortcuts);
        action->setIcon(CommandIcon(info.id));
        action->setIconVisibleInMenu(false);
        m_actions[info.id] = action;
        // The window's accelerators work wherever the focus is in it.
        addAction(action);
    }
    using C = EditorCommand;
    Connect(C::New, &CMainFrame::OnNew);
    Connect(C::Open, &CMainFrame::OnOpen);
    Connect(C::Save, &CMainFrame::OnSave);
    Connect(C::SaveAs, &CMainFrame::OnSaveAs);
    Connect(C::Import, &CMainFrame::OnImport);
    Connect(C::InsertVideo, &CMainFrame::OnInsertVideo);
    Connect(C::Export, &CMainFrame::OnExport);
    connect(Action(C::Exit), &QAction::triggered, this, &QWidget::close);
    Connect(C::Undo, &CMainFrame::OnUndo);
    Connect(C::Redo, &CMainFrame::OnRedo);
    Connect(C::Cut, &CMainFrame::OnCut);
    Connect(C::Copy, &CMainFrame::OnCopy);
    Connect(C::Paste, &CMainFrame::OnPaste);
    Connect(C::PasteBefore, &CMainFrame::OnPasteBefore);
    Connect(C::DeleteFrame, &CMainFrame::OnDeleteFrame);
    Connect(C::FirstFrame, &CMainFrame::OnFirstFrame);
    Connect(C::PreviousFrame, &CMainFrame::OnPreviousFrame);
    Connect(C::NextFrame, &CMainFrame::OnNextFrame);
    Connect(C::LastFrame, &CMainFrame::OnLastFrame);
    Connect(C::GoToFrame, &CMainFrame::OnGoToFrame);
    Connect(C::ZoomIn, &CMainFrame::OnZoomIn);
    Connect(C::ZoomOut, &CMainFrame::OnZoomOut);
    Connect(C::OnionSkin, &CMainFrame::OnOnionSkin);
    Connect(C::Preview, &CMainFrame::OnPreview);
    Connect(C::NextPane, &CMainFrame::OnNextPane);
    Connect(C::PreviousPane, &CMainFrame::OnPreviousPane);
    Connect(C::About, &CMainFrame::OnAbout);
    Connect(C::Resize, &CMainFrame::OnResize);
    Connect(C::EnlargeCanvas, &CMainFrame::OnEnlargeCanvas);
    Connect(C::FadeIn, &CMainFrame::OnFadeIn);
    Connect(C::FadeOut, &CMainFrame::OnFadeOut);
    Connect(C::Mirror, &CMainFrame::OnMirror);
    Connect(C::Flip, &CMainFrame::OnFlip);
    Connect(C::Invert, &CMainFrame::OnInvert);
    Connect(C::Reverse, &CMainFrame::OnReverse);
    Connect(C::TimeStretch, &CMainFrame::OnTimeStretch);
    Connect(C::RemoveAlphaChannel, &CMainFrame::OnRemoveAlphaChannel);
    Connect(C::ChangeColorDepth, &CMainFrame::OnChangeColorDepth);
    Connect(C::LoadPalette, &CMainFrame::OnLoadPalette);
    Connect(C::SavePalette, &CMainFrame::OnSavePalette);
    Action(C::OnionSkin)->setCheckable(true);
}

void CMainFrame::Connect(EditorCommand command, Handler handler)
{
    connect(Action(command), &QAction::triggered, this, [this, handler] {
        // A command may move to another frame or change this one: a stroke
        // in progress is finished (and stored) first.
        m_view->FinishStroke();
        (this->*handler)();
        UpdateCommands();
    });
}

void CMainFrame::CreateMenus()
{
    using C = EditorCommand;
    auto add = [this](QMenu* menu, std::initializer_list<C> commands) {
        for (C command : commands)
            menu->addAction(Action(command));
    };
    m_fileMenu = menuBar()->addMenu(QStringLiteral("&File"));
    add(m_fileMenu, {C::New, C::Open, C::Save, C::SaveAs});
    m_fileMenu->addSeparator();
    add(m_fileMenu, {C::Import, C::InsertVideo, C::Export});
    m_recentPlace = m_fileMenu->addSeparator();
    add(m_fileMenu, {C::Exit});

    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    add(edit, {C::Undo, C::Redo});
    edit->addSeparator();
    add(edit, {C::Cut, C::Copy, C::Paste, C::PasteBefore});

    QMenu* frame = menuBar()->addMenu(QStringLiteral("F&rame"));
    add(frame, {C::FirstFrame, C::PreviousFrame, C::NextFrame, C::LastFrame, C::GoToFrame});
    frame->addSeparator();
    add(frame, {C::DeleteFrame});

    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    add(view, {C::ToggleToolBar, C::ToggleStatusBar, C::TogglePaintTools});
    view->addSeparator();
    add(view, {C::ZoomIn, C::ZoomOut});
    view->addSeparator();
    add(view, {C::OnionSkin, C::Preview});

    QMenu* tools = menuBar()->addMenu(QStringLiteral("&Tools"));
    add(tools, {C::Resize, C::EnlargeCanvas, C::Crop});
    tools->addSeparator();
    add(tools, {C::FadeIn, C::FadeOut, C::Mirror, C::Flip, C::Invert});
    tools->addSeparator();
    add(tools, {C::Reverse, C::TimeStretch});
    tools->addSeparator();
    add(tools, {C::RemoveAlphaChannel, C::ChangeColorDepth, C::LoadPalette, C::SavePalette, C::EditPalette});

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    add(help, {C::About});

    // Menus show what is possible at the moment they open.
    for (QMenu* menu : {m_fileMenu, edit, frame, view, tools})
        connect(menu, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommands);
}

void CMainFrame::CreateToolBar()
{
    using C = EditorCommand;
    m_toolBar = addToolBar(QStringLiteral("Standard"));
    m_toolBar->setObjectName(QStringLiteral("Standard"));
    m_toolBar->setIconSize(QSize(16, 16));
    const std::initializer_list<std::initializer_list<C>> groups = {
        {C::New, C::Open, C::Save},
        {C::Cut, C::Copy, C::Paste},
        {C::FirstFrame, C::PreviousFrame, C::NextFrame, C::LastFrame, C::DeleteFrame, C::GoToFrame},
        {C::ZoomIn, C::ZoomOut},
        {C::About},
    };
    bool first = true;
    for (const auto& group : groups) {
        if (!first)
            m_toolBar->addSeparator();
        first = false;
        for (C command : group)
            m_toolBar->addAction(Action(command));
    }
    // The View menu's toggles are the bars' own.
    QAction* toggleToolBar = Action(C::ToggleToolBar);
    toggleToolBar->setCheckable(true);
    toggleToolBar->setChecked(true);
    connect(toggleToolBar, &QAction::toggled, m_toolBar, &QWidget::setVisible);
    connect(m_toolBar, &QToolBar::visibilityChanged, toggleToolBar, &QAction::setChecked);
}

void CMainFrame::CreateStatusBar()
{
    QStatusBar* bar = statusBar();
    // A normal widget: status tips hide it while they show, and it returns.
    bar->addWidget(new QLabel(QString::fromUtf8(kReady), bar), 1);
    for (QLabel*& pane : m_panes) {
        pane = new QLabel(bar);
        pane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        pane->setAlignment(Qt::AlignCenter);
        bar->addPermanentWidget(pane);
    }
    m_panes[0]->setMinimumWidth(m_panes[0]->fontMetrics().horizontalAdvance(QStringLiteral("Zoom: 0.125")) + 8);
    QAction* toggle = Action(EditorCommand::ToggleStatusBar);
    toggle->setCheckable(true);
    toggle->setChecked(true);
    connect(toggle, &QAction::toggled, bar, &QWidget::setVisible);
}

void CMainFrame::CreatePaintToolsDock()
{
    m_tools = new CPaintToolsBar(m_host, this);
    m_toolsDock = new QDockWidget(QString::fromUtf8(CPaintToolsBar::kTitle), this);
    m_toolsDock->setObjectName(QStringLiteral("PaintToolsBar"));
    m_toolsDock->setWidget(m_tools);
    addDockWidget(Qt::LeftDockWidgetArea, m_toolsDock);
}

void CMainFrame::OnDocumentChanged()
{
    m_view->OnDocumentChanged();
    if (m_preview)
        m_preview->OnDocumentChanged();
    UpdateTitle();
    UpdatePanes();
    UpdateCommands();
}

QString CMainFrame::DocumentTitle() const
{
    return m_path.isEmpty() ? QString::fromUtf8(kUntitled) : QFileInfo(m_path).fileName();
}

void CMainFrame::UpdateTitle()
{
    setWindowTitle(DocumentTitle() + QStringLiteral(" - ") + QString::fromUtf8(kAppTitle));
}

void CMainFrame::UpdatePanes()
{
    const CKVFEditorView::StatusValues values = m_view->Status();
    const QString texts[kPaneCount] = {
        QString::asprintf(kZoomPane, values.zoom),
        QString::asprintf(kBitsPane, values.bits),
        QString::asprintf(kSizePane, values.width, values.height),
        QString::asprintf(kFramePane, values.frame),
        QString::asprintf(kTotalPane, values.total),
    };
    for (int i = 0; i < kPaneCount; ++i)
        if (m_panes[i]->text() != texts[i])
            m_panes[i]->setText(texts[i]);
}

QStringList CMainFrame::PaneTexts() const
{
    QStringList texts;
    for (const QLabel* pane : m_panes)
        texts << pane->text();
    return texts;
}

void CMainFrame::UpdateCommands()
{
    using C = EditorCommand;
    const bool busy = m_view->IsBusy();
    const EditorCommandState state = m_doc.GetCommandState(m_clipboardHasPicture, busy);
    const int count = m_doc.GetFrameCount();
    const int index = m_doc.GetCurrentFrame();
    const std::pair<C, bool> enabling[] = {
        {C::Import, state.import},
        {C::InsertVideo, state.import},
        {C::Export, state.exportFile},
        {C::Resize, state.resize},
        {C::ChangeColorDepth, state.changeColourDepth},
        {C::LoadPalette, state.loadPalette},
        {C::EnlargeCanvas, state.enlargeCanvas},
        {C::TimeStretch, state.timeStretch},
        {C::Reverse, state.reverse},
        {C::RemoveAlphaChannel, state.removeAlphaChannel},
        {C::Invert, state.invert},
        {C::FadeIn, state.fadeIn},
        {C::FadeOut, state.fadeOut},
        {C::Mirror, state.mirror},
        {C::Flip, state.flip},
        {C::SavePalette, state.savePalette},
        {C::Copy, state.copy},
        {C::Cut, state.cut},
        {C::Paste, state.paste},
        {C::PasteBefore, state.pasteBefore},
        {C::Undo, state.undo},
        {C::Redo, state.redo},
        {C::Crop, state.crop},
        {C::EditPalette, state.editPalette},
        {C::NextFrame, !busy && index + 1 < count},
        {C::PreviousFrame, !busy && index > 0},
        {C::FirstFrame, !busy && index > 0},
        // Enabled during a stroke too; the stroke is finished before it runs.
        {C::LastFrame, index < count - 1},
        {C::DeleteFrame, !busy && count > 0},
        {C::GoToFrame, !busy && count > 0},
        {C::ZoomIn, !busy && m_view->CanZoomIn()},
        {C::ZoomOut, !busy && m_view->CanZoomOut()},
    };
    for (const auto& [command, enabled] : enabling)
        Action(command)->setEnabled(enabled);
    const QString undo = QString::fromStdString(m_doc.GetUndoName());
    const QString redo = QString::fromStdString(m_doc.GetRedoName());
    Action(C::Undo)->setText(undo.isEmpty() ? QStringLiteral("&Undo") : QStringLiteral("&Undo ") + undo);
    Action(C::Redo)->setText(redo.isEmpty() ? QStringLiteral("&Redo") : QStringLiteral("&Redo ") + redo);
    // A dock closed by its own button unchecks the toggle (only the check
    // mark changes here: the toggle's signal would show or hide the dock).
    if (isVisible()) {
        QAction* toggle = Action(C::TogglePaintTools);
        const QSignalBlocker block(toggle);
        toggle->setChecked(!m_toolsDock->isHidden());
    }
}

void CMainFrame::Report(EditorStatus status)
{
    const char* message = EditorStatusMessage(status);
    if (message && *message)
        m_host.ShowMessage(this, QString::fromUtf8(message));
}

bool CMainFrame::RunDialog(QDialog& dialog)
{
    return m_host.Run(dialog) == QDialog::Accepted;
}

EditorColour CMainFrame::BackgroundColour() const
{
    return m_tools->EditorColourOf(Swatch::Background);
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    m_view->FinishStroke();
    if (!SaveModified()) {
        event->ignore();
        return;
    }
    if (m_preview)
        m_preview->close();
    event->accept();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event)
{
    const QMimeData* data = event->mimeData();
    if (data && data->hasUrls())
        for (const QUrl& url : data->urls())
            if (url.isLocalFile()) {
                event->acceptProposedAction();
                return;
            }
}

void CMainFrame::dropEvent(QDropEvent* event)
{
    const QList<QUrl> urls = event->mimeData() ? event->mimeData()->urls() : QList<QUrl>();
    event->acceptProposedAction();
    m_view->FinishStroke();
    for (const QUrl& url : urls)
        if (url.isLocalFile() && !OpenPath(url.toLocalFile()))
            break;
    UpdateCommands();
}

void CMainFrame::SwitchPane(int step)
{
    // The panes in order: the view, then the Paint Tools Bar when it shows.
    QList<QWidget*> panes{m_view};
    if (m_toolsDock->isVisible())
        panes << m_tools;
    int current = 0;
    for (int i = 0; i < panes.size(); ++i)
        if (panes[i]->isAncestorOf(QApplication::focusWidget()) || panes[i] == QApplication::focusWidget())
            current = i;
    QWidget* next = panes[(current + step + int(panes.size())) % int(panes.size())];
    if (next == m_tools)
        m_tools->ToolButton(m_tools->Tool())->setFocus(Qt::OtherFocusReason);
    else
        next->setFocus(Qt::OtherFocusReason);
}

void CMainFrame::OnNextPane()
{
    SwitchPane(+1);
}

void CMainFrame::OnPreviousPane()
{
    SwitchPane(-1);
}
