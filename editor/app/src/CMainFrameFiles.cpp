// The main window's file, import, export and clipboard commands.

#include "kvfedit/CMainFrame.h"

#include "EditorTexts.h"
#include "editor/SpriteImport.h"
#include "kvfedit/CFieldsDialog.h"
#include "kvfedit/CKVFEditorView.h"
#include "kvfedit/COutputOptionsDialog.h"
#include "kvfedit/CProgressDialog.h"
#include "kvfedit/CRecentFileList.h"
#include "kvfedit/EditorClipboard.h"
#include "kvfedit/IEditorHost.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QMenu>

namespace {

// The editor's documents are RIFF files; anything else offered to open is
// taken for a picture.
bool IsRiffFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(4) == "RIFF";
}

} // namespace

bool CMainFrame::OpenPath(const QString& path, int frames)
{
    if (IsRiffFile(path))
        return SaveModified() && OpenDocumentFile(path);
    ImportParams params;
    params.frames = frames;
    const EditorStatus status = ImportStrip(m_doc, path.toStdString(), params, m_progress);
    Report(status);
    return status == EditorStatus::Ok;
}

bool CMainFrame::OpenDocumentFile(const QString& path)
{
    const EditorStatus status = m_doc.OpenDocument(path.toStdString(), m_progress);
    return NameDocument(path, status);
}

bool CMainFrame::SaveTo(const QString& path)
{
    const EditorStatus status = m_doc.SaveDocument(path.toStdString(), m_progress);
    return NameDocument(path, status);
}

bool CMainFrame::NameDocument(const QString& path, EditorStatus status)
{
    if (status != EditorStatus::Ok) {
        Report(status);
        return false;
    }
    m_path = QFileInfo(path).absoluteFilePath();
    m_recent->Add(m_path);
    UpdateRecentMenu();
    UpdateTitle();
    return true;
}

bool CMainFrame::SaveAsDialog()
{
    const FileChoice file =
        m_host.SaveFile(this, QStringLiteral("Save As"), FileDialogFilter(kDocumentFilter), QStringLiteral("avi"));
    return !file.IsEmpty() && SaveTo(file.path);
}

bool CMainFrame::SaveModified()
{
    // A document without frames has nothing that could be saved.
    if (!m_doc.IsModified() || m_doc.GetFrameCount() == 0)
        return true;
    switch (m_host.AskSaveChanges(this, QString::fromUtf8(kAskSaveChanges).arg(DocumentTitle()))) {
    case SaveChangesAnswer::Save:
        return m_path.isEmpty() ? SaveAsDialog() : SaveTo(m_path);
    case SaveChangesAnswer::Discard:
        return true;
    case SaveChangesAnswer::Cancel:
        break;
    }
    return false;
}

void CMainFrame::OnNew()
{
    if (!SaveModified())
        return;
    m_path.clear();
    m_doc.DeleteContents();
}

void CMainFrame::OnOpen()
{
    if (!SaveModified())
        return;
    const FileChoice file = m_host.OpenFile(this, QStringLiteral("Open"), FileDialogFilter(kDocumentFilter));
    if (!file.IsEmpty())
        OpenDocumentFile(file.path);
}

void CMainFrame::OnSave()
{
    if (m_path.isEmpty())
        SaveAsDialog();
    else
        SaveTo(m_path);
}

void CMainFrame::OnSaveAs()
{
    SaveAsDialog();
}

void CMainFrame::OnOpenRecent(const QString& path)
{
    if (!SaveModified())
        return;
    if (!QFileInfo::exists(path)) {
        Report(EditorStatus::CannotOpenFile);
        m_recent->Remove(path);
        UpdateRecentMenu();
        return;
    }
    OpenDocumentFile(path);
}

void CMainFrame::UpdateRecentMenu()
{
    qDeleteAll(m_recentActions);
    m_recentActions.clear();
    const QStringList files = m_recent->Files();
    if (files.isEmpty())
        return;
    auto* separator = new QAction(this);
    separator->setSeparator(true);
    m_fileMenu->insertAction(m_recentPlace, separator);
    m_recentActions << separator;
    for (int i = 0; i < files.size(); ++i) {
        const QString path = files[i];
        const QString number = i + 1 < 10 ? QString::number(i + 1) : QStringLiteral("1&0");
        auto* action = new QAction(QStringLiteral("&") + number + QLatin1Char(' ') + path, this);
        action->setStatusTip(QStringLiteral("Open this document"));
        action->setData(path);
        connect(action, &QAction::triggered, this, [this, path] {
            m_view->FinishStroke();
            OnOpenRecent(path);
            UpdateCommands();
        });
        m_fileMenu->insertAction(m_recentPlace, action);
        m_recentActions << action;
    }
}

QList<QAction*> CMainFrame::RecentFileActions() const
{
    QList<QAction*> actions;
    for (QAction* action : m_recentActions)
        if (!action->isSeparator())
            actions << action;
    return actions;
}

void CMainFrame::OnImport()
{
    const FileChoice file = m_host.OpenFile(this, QStringLiteral("Import"), FileDialogFilter(kImportFilter));
    if (file.IsEmpty())
        return;
    CFieldsDialog dialog(this, QStringLiteral("Import"),
                         {{QStringLiteral("Number of frames in the importing bitmap"), ImportParams::kMinFrames,
                           ImportParams::kMaxFrames, 1}});
    if (!RunDialog(dialog))
        return;
    ImportParams params;
    params.frames = dialog.Value(0);
    Report(ImportStrip(m_doc, file.path.toStdString(), params, m_progress));
}

void CMainFrame::OnInsertVideo()
{
    const FileChoice file = m_host.OpenFile(this, QStringLiteral("Insert Video"), FileDialogFilter(VIDEO_FILTER));
    if (!file.IsEmpty())
        Report(InsertVideo(m_doc, file.path.toStdString(), m_progress));
}

void CMainFrame::OnExport()
{
    if (m_doc.Commit() != EditorStatus::Ok || m_doc.GetFrameCount() == 0)
        return;
    if (!m_doc.IsSameFormat()) {
        Report(EditorStatus::NotSameFormat);
        return;
    }
    const QString filters = FileDialogFilter(kExportFilter);
    const FileChoice file = m_host.SaveFile(this, QStringLiteral("Export"), filters, QStringLiteral("bmp"));
    if (file.IsEmpty())
        return;
    // By filter: strip, sequence, PNG strip, PNG sequence.
    const int layout = std::max(0, int(filters.split(QStringLiteral(";;")).indexOf(file.filter)));
    ExportOptions options;
    if (layout >= 2) {
        options.encoding = ExportEncoding::Png;
    } else {
        COutputOptionsDialog dialog(this, m_host, m_exportOptions);
        if (!RunDialog(dialog))
            return;
        options = dialog.Options();
        m_exportOptions = options;
    }
    Report(ExportFrames(m_doc, file.path.toStdString(), layout % 2 ? ExportLayout::Sequence : ExportLayout::Strip,
                        options, m_progress));
}

void CMainFrame::OnCopy()
{
    const std::vector<uint8_t> picture = m_doc.Copy();
    if (!picture.empty())
        PutPictureOnClipboard(picture, m_doc.GetWorkingImage());
}

void CMainFrame::OnCut()
{
    // The frame goes to the clipboard before the document lets it go.
    const std::vector<uint8_t> picture = m_doc.Copy();
    if (picture.empty())
        return;
    PutPictureOnClipboard(picture, m_doc.GetWorkingImage());
    Report(m_doc.DeleteCurrentFrame("Cut"));
}

void CMainFrame::OnPaste()
{
    const std::vector<uint8_t> picture = TakePictureFromClipboard();
    Report(m_doc.Paste(picture.data(), picture.size(), InsertPlace::After));
}

void CMainFrame::OnPasteBefore()
{
    const std::vector<uint8_t> picture = TakePictureFromClipboard();
    Report(m_doc.Paste(picture.data(), picture.size(), InsertPlace::Before));
}

void CMainFrame::OnDeleteFrame()
{
    Report(m_doc.DeleteCurrentFrame());
}

void CMainFrame::OnUndo()
{
    Report(m_doc.Undo());
}

void CMainFrame::OnRedo()
{
    Report(m_doc.Redo());
}
