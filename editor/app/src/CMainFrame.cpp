// The main window: its parts, command enabling, status panes, title, the
// palette and colours, closing and dropped files.

#include "kvfedit/CMainFrame.h"

#include "EditorIcons.h"
#include "EditorTexts.h"
#include "editor/PaintOps.h"
#include "imaging/CDibPalette.h"
#include "kvfedit/CAnimationPreview.h"
#include "kvfedit/CEditCommands.h"
#include "kvfedit/CFileCommands.h"
#include "kvfedit/CKVFEditorView.h"
#include "kvfedit/CPaintToolsBar.h"
#include "kvfedit/CPalettePanel.h"
#include "kvfedit/CProgressDialog.h"
#include "kvfedit/CTimeline.h"
#include "kvfedit/CToolCommands.h"
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
    : QMainWindow(parent), m_host(host), m_files(std::make_unique<CFileCommands>(*this, settings)),
      m_edits(std::make_unique<CEditCommands>(*this)), m_toolCommands(std::make_unique<CToolCommands>(*this))
{
    setAcceptDrops(true);
    m_progress = new CProgressDialog(this);
    m_tools = new CPaintToolsBar(m_host, this);
    m_view = new CKVFEditorView(m_doc, *m_tools, this);
    setCentralWidget(m_view);
    CreateDocks();
    CreateActions();
    CreateMenus();
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
    connect(m_view, &CKVFEditorView::SelectionChanged, this, &CMainFrame::UpdateCommands);
    connect(m_tools, &CPaintToolsBar::ToolChanged, this, &CMainFrame::UpdateCommands);
    connect(m_tools, &CPaintToolsBar::ColourChosen, this, &CMainFrame::SnapColours);
    for (const auto& [command, name] : {std::pair{EditorCommand::TogglePalette, "Palette"},
                                        std::pair{EditorCommand::ToggleTimeline, "Timeline"}}) {
        QDockWidget* dock = findChild<QDockWidget*>(QString::fromUtf8(name));
        QAction* toggle = Action(command);
        toggle->setCheckable(true);
        toggle->setChecked(true);
        connect(toggle, &QAction::toggled, dock, &QWidget::setVisible);
        connect(dock, &QDockWidget::visibilityChanged, this, [toggle, dock] {
            const QSignalBlocker block(toggle);
            toggle->setChecked(!dock->isHidden());
        });
    }
    // Asking the clipboard what it holds may mean a round trip to another
    // program: it is asked when its contents change, not at every update.
    m_clipboardHasPicture = ::ClipboardHasPicture();
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, [this] {
        m_clipboardHasPicture = ::ClipboardHasPicture();
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
    return m_files->RecentFiles();
}

QList<QAction*> CMainFrame::RecentFileActions() const
{
    return m_files->RecentFileActions();
}

bool CMainFrame::OpenPath(const QString& path, int frames)
{
    return m_files->OpenPath(path, frames);
}

bool CMainFrame::OpenDocumentFile(const QString& path)
{
    return m_files->OpenDocumentFile(path);
}

void CMainFrame::SetDocumentPath(const QString& path)
{
    m_path = path;
    UpdateTitle();
}

bool CMainFrame::ActsOnSelection() const
{
    const PaintTool tool = m_tools->Tool();
    return (tool == PaintTool::Select || tool == PaintTool::Drag) && m_doc.GetFrameCount() > 0;
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
    CFileCommands& files = *m_files;
    CEditCommands& edits = *m_edits;
    CToolCommands& tools = *m_toolCommands;
    Connect(C::New, [&files] { files.New(); });
    Connect(C::Open, [&files] { files.Open(); });
    Connect(C::Save, [&files] { files.Save(); });
    Connect(C::SaveAs, [&files] { files.SaveAs(); });
    Connect(C::Import, [&files] { files.Import(); });
    Connect(C::InsertVideo, [&files] { files.InsertVideo(); });
    Connect(C::Export, [&files] { files.Export(); });
    connect(Action(C::Exit), &QAction::triggered, this, &QWidget::close);
    Connect(C::Undo, [&edits] { edits.Undo(); });
    Connect(C::Redo, [&edits] { edits.Redo(); });
    Connect(C::Cut, [&edits] { edits.Cut(); });
    Connect(C::Copy, [&edits] { edits.Copy(); });
    Connect(C::Paste, [&edits] { edits.Paste(); });
    Connect(C::PasteBefore, [&edits] { edits.PasteBefore(); });
    Connect(C::DeleteFrame, [&edits] { edits.Delete(); });
    Connect(C::DuplicateFrame, [&edits] { edits.DuplicateFrame(); });
    Connect(C::InsertBlankFrame, [&edits] { edits.InsertBlankFrame(); });
    Connect(C::FirstFrame, [&edits] { edits.FirstFrame(); });
    Connect(C::PreviousFrame, [&edits] { edits.PreviousFrame(); });
    Connect(C::NextFrame, [&edits] { edits.NextFrame(); });
    Connect(C::LastFrame, [&edits] { edits.LastFrame(); });
    Connect(C::GoToFrame, [&edits] { edits.GoToFrame(); });
    Connect(C::ZoomIn, [&edits] { edits.ZoomIn(); });
    Connect(C::ZoomOut, [&edits] { edits.ZoomOut(); });
    Connect(C::ZoomToFit, [&edits] { edits.ZoomToFit(); });
    Connect(C::ActualSize, [&edits] { edits.ActualSize(); });
    Connect(C::PixelGrid, [this, &edits] { edits.PixelGrid(Action(EditorCommand::PixelGrid)->isChecked()); });
    Connect(C::OnionSkin, [this, &edits] { edits.OnionSkin(Action(EditorCommand::OnionSkin)->isChecked()); });
    Connect(C::Preview, [&edits] { edits.Preview(); });
    Connect(C::NextPane, [this] { SwitchPane(+1); });
    Connect(C::PreviousPane, [this] { SwitchPane(-1); });
    Connect(C::About, [&edits] { edits.About(); });
    Connect(C::Resize, [&tools] { tools.Resize(); });
    Connect(C::EnlargeCanvas, [&tools] { tools.EnlargeCanvas(); });
    Connect(C::FadeIn, [&tools] { tools.FadeIn(); });
    Connect(C::FadeOut, [&tools] { tools.FadeOut(); });
    Connect(C::Mirror, [&tools] { tools.Mirror(); });
    Connect(C::Flip, [&tools] { tools.Flip(); });
    Connect(C::Invert, [&tools] { tools.Invert(); });
    Connect(C::Reverse, [&tools] { tools.Reverse(); });
    Connect(C::TimeStretch, [&tools] { tools.TimeStretch(); });
    Connect(C::RemoveAlphaChannel, [&tools] { tools.RemoveAlphaChannel(); });
    Connect(C::ChangeColorDepth, [&tools] { tools.ChangeColorDepth(); });
    Connect(C::LoadPalette, [&tools] { tools.LoadPalette(); });
    Connect(C::SavePalette, [&tools] { tools.SavePalette(); });
    Action(C::OnionSkin)->setCheckable(true);
    Action(C::PixelGrid)->setCheckable(true);
}

void CMainFrame::Connect(EditorCommand command, std::function<void()> handler)
{
    connect(Action(command), &QAction::triggered, this, [this, handler = std::move(handler)] {
        // A command may move to another frame or change this one: a stroke
        // in progress is finished (and stored) first.
        m_view->FinishStroke();
        handler();
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
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    add(file, {C::New, C::Open, C::Save, C::SaveAs});
    file->addSeparator();
    add(file, {C::Import, C::InsertVideo, C::Export});
    m_files->SetRecentMenu(file, file->addSeparator());
    add(file, {C::Exit});

    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    add(edit, {C::Undo, C::Redo});
    edit->addSeparator();
    add(edit, {C::Cut, C::Copy, C::Paste, C::PasteBefore});

    QMenu* frame = menuBar()->addMenu(QStringLiteral("F&rame"));
    add(frame, {C::FirstFrame, C::PreviousFrame, C::NextFrame, C::LastFrame, C::GoToFrame});
    frame->addSeparator();
    add(frame, {C::DuplicateFrame, C::InsertBlankFrame, C::DeleteFrame});

    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    add(view, {C::ToggleToolBar, C::ToggleStatusBar, C::TogglePaintTools, C::TogglePalette, C::ToggleTimeline});
    view->addSeparator();
    add(view, {C::ZoomIn, C::ZoomOut, C::ZoomToFit, C::ActualSize, C::PixelGrid});
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
    for (QMenu* menu : {file, edit, frame, view, tools})
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
        {C::ZoomIn, C::ZoomOut, C::ZoomToFit, C::ActualSize},
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

void CMainFrame::CreateDocks()
{
    m_toolsDock = new QDockWidget(QString::fromUtf8(CPaintToolsBar::kTitle), this);
    m_toolsDock->setObjectName(QStringLiteral("PaintToolsBar"));
    m_toolsDock->setWidget(m_tools);
    addDockWidget(Qt::LeftDockWidgetArea, m_toolsDock);

    m_palette = new CPalettePanel(this);
    auto* paletteDock = new QDockWidget(QStringLiteral("Palette"), this);
    paletteDock->setObjectName(QStringLiteral("Palette"));
    paletteDock->setWidget(m_palette);
    addDockWidget(Qt::LeftDockWidgetArea, paletteDock);
    connect(m_palette, &CPalettePanel::EntryPicked, this, &CMainFrame::OnPaletteEntryPicked);

    m_timeline = new CTimeline(m_doc, this);
    auto* timelineDock = new QDockWidget(QStringLiteral("Timeline"), this);
    timelineDock->setObjectName(QStringLiteral("Timeline"));
    timelineDock->setWidget(m_timeline);
    addDockWidget(Qt::BottomDockWidgetArea, timelineDock);
    // The bottom belongs to the timeline across the whole window.
    setCorner(Qt::BottomLeftCorner, Qt::BottomDockWidgetArea);
    setCorner(Qt::BottomRightCorner, Qt::BottomDockWidgetArea);
}

void CMainFrame::OnDocumentChanged()
{
    m_view->OnDocumentChanged();
    m_timeline->OnDocumentChanged();
    if (m_preview)
        m_preview->OnDocumentChanged();
    UpdatePalette();
    SnapColours();
    UpdateTitle();
    UpdatePanes();
    UpdateCommands();
}

void CMainFrame::UpdatePalette()
{
    QVector<QColor> colours;
    CDibSection& working = m_doc.GetWorkingImage();
    const CDibPalette* palette = working.GetPalette();
    if (m_doc.GetFrameCount() > 0 && PixelFormatIsIndexed(working.GetFormat()) && palette) {
        // The entries the frame's depth can address.
        const int count = std::min(palette->GetCount(), 1 << std::min<uint32_t>(PixelFormatBits(working.GetFormat()), 8));
        for (int i = 0; i < count; ++i) {
            const PaletteEntry& entry = palette->Entries()[i];
            colours << QColor(entry.red, entry.green, entry.blue);
        }
    }
    m_palette->SetEntries(colours);
}

void CMainFrame::SnapColours()
{
    if (m_doc.GetFrameCount() == 0)
        return;
    for (Swatch swatch : {Swatch::Foreground, Swatch::Background}) {
        // The choice stays; the swatch shows what this frame would paint.
        const EditorColour painted = PaintedColour(m_doc.GetWorkingImage(), m_tools->EditorColourOf(swatch));
        m_tools->ShowPaintedColour(swatch, QColor(painted.red, painted.green, painted.blue));
    }
}

void CMainFrame::OnPaletteEntryPicked(int index, Qt::MouseButton button)
{
    const QVector<QColor>& colours = m_palette->Entries();
    if (index < 0 || index >= colours.size())
        return;
    m_tools->SetColour(button == Qt::RightButton ? Swatch::Background : Swatch::Foreground, colours[index], index);
}

QString CMainFrame::DocumentTitle() const
{
    return m_path.isEmpty() ? QString::fromUtf8(kUntitled) : QFileInfo(m_path).fileName();
}

void CMainFrame::UpdateTitle()
{
    // A modified document is marked after its name, as editors mark it.
    const QString title = DocumentTitle() + (m_doc.IsModified() ? QStringLiteral("*") : QString()) +
                          QStringLiteral(" - ") + QString::fromUtf8(kAppTitle);
    if (windowTitle() != title)
        setWindowTitle(title);
}

void CMainFrame::UpdatePanes()
{
    const CKVFEditorView::StatusValues values = m_view->Status();
    const QString texts[kPaneCount] = {
        QString::asprintf(kZoomPane, values.zoom),
        QString::asprintf(kBitsPane, values.bits),
        QString::asprintf(kSizePane, values.width, values.height),
        QString::asprintf(kFramePane, values.total > 0 ? values.frame + 1 : 0),
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
        {C::Paste, state.paste && (!ActsOnSelection() || count > 0)},
        {C::PasteBefore, state.pasteBefore && !ActsOnSelection()},
        {C::Undo, state.undo},
        {C::Redo, state.redo},
        {C::Crop, state.crop},
        {C::EditPalette, state.editPalette},
        {C::NextFrame, !busy && index + 1 < count},
        {C::PreviousFrame, !busy && index > 0},
        {C::FirstFrame, !busy && index > 0},
        // Enabled during a stroke too; the stroke is finished before it runs.
        {C::LastFrame, index < count - 1},
        {C::DeleteFrame, !busy && count > 0 && (!ActsOnSelection() || m_view->HasSelection())},
        {C::GoToFrame, !busy && count > 0},
        {C::ZoomIn, !busy && m_view->CanZoomIn()},
        {C::ZoomOut, !busy && m_view->CanZoomOut()},
        {C::ZoomToFit, !busy && count > 0},
        {C::ActualSize, !busy && count > 0},
        {C::DuplicateFrame, !busy && count > 0},
        {C::InsertBlankFrame, !busy && count > 0},
    };
    for (const auto& [command, enabled] : enabling)
        Action(command)->setEnabled(enabled);
    // With the Select or Drag tool the clipboard commands take the selection.
    const bool selection = ActsOnSelection();
    Action(C::Copy)->setEnabled(state.copy && (!selection || m_view->HasSelection()));
    Action(C::Cut)->setEnabled(state.cut && !busy && (!selection || m_view->HasSelection()));
    Action(C::DeleteFrame)->setText(selection ? QStringLiteral("&Delete Selection") : QStringLiteral("&Delete Frame"));
    UpdateTitle();
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
    if (!m_files->SaveModified()) {
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
