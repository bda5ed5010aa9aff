#include "kvfedit/CFileCommands.h"

#include "EditorTexts.h"
#include "editor/SpriteImport.h"
#include "editor/PngPicture.h"
#include "kvfedit/CFieldsDialog.h"
#include "kvfedit/CKVFEditorView.h"
#include "kvfedit/CMainFrame.h"
#include "kvfedit/COutputOptionsDialog.h"
#include "kvfedit/CProgressDialog.h"
#include "kvfedit/CRecentFileList.h"
#include "kvfedit/IEditorHost.h"
#include "common/ByteOrder.h"

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

// The width and height of a picture file (any sprite encoding, or PNG);
// false when it is none the editor reads.
bool PictureFileSize(const QString& path, int& width, int& height)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = file.read(64);
    const auto* bytes = reinterpret_cast<const uint8_t*>(head.constData());
    if (IsPngData(bytes, size_t(head.size())) && head.size() >= 24) {
        width = int(uint32_t(bytes[16]) << 24 | uint32_t(bytes[17]) << 16 | uint32_t(bytes[18]) << 8 | bytes[19]);
        height = int(uint32_t(bytes[20]) << 24 | uint32_t(bytes[21]) << 16 | uint32_t(bytes[22]) << 8 | bytes[23]);
        return width > 0 && height > 0;
    }
    const size_t at = head.startsWith("BM") ? 14 : 0;
    if (size_t(head.size()) < at + 12 || ReadLE32(bytes + at) != 40)
        return false;
    width = int(ReadLE32(bytes + at + 4));
    height = int(ReadLE32(bytes + at + 8));
    if (height < 0)
        height = -height;
    return width > 0 && height > 0;
}

// The extension an encoding's files take.
QString ExtensionOf(ExportEncoding encoding)
{
    switch (encoding) {
    case ExportEncoding::Jpeg:
        return QStringLiteral("jpg");
    case ExportEncoding::Png:
        return QStringLiteral("png");
    default:
        return QStringLiteral("bmp");
    }
}

} // namespace

CFileCommands::CFileCommands(CMainFrame& frame, QSettings& settings)
    : m_frame(frame), m_recent(std::make_unique<CRecentFileList>(settings))
{
    m_exportOptions.quality = ExportOptions::kDefaultQuality;
}

CFileCommands::~CFileCommands() = default;

int CFileCommands::GuessStripFrames(int width, int height)
{
    if (width <= 0 || height <= width || height % width != 0)
        return 1;
    return std::min(height / width, ImportParams::kMaxFrames);
}

void CFileCommands::SetRecentMenu(QMenu* menu, QAction* place)
{
    m_menu = menu;
    m_recentPlace = place;
    UpdateRecentMenu();
}

bool CFileCommands::OpenPath(const QString& path, int frames)
{
    if (IsRiffFile(path))
        return SaveModified() && OpenDocumentFile(path);
    ImportParams params;
    params.frames = frames;
    const bool wasEmpty = m_frame.Document().GetFrameCount() == 0;
    const EditorStatus status = ImportStrip(m_frame.Document(), path.toStdString(), params, &m_frame.Progress());
    m_frame.Report(status);
    if (status == EditorStatus::Ok && wasEmpty)
        m_frame.View().ZoomToSmallPicture();
    return status == EditorStatus::Ok;
}

bool CFileCommands::OpenDocumentFile(const QString& path)
{
    const EditorStatus status = m_frame.Document().OpenDocument(path.toStdString(), &m_frame.Progress());
    if (status == EditorStatus::Ok)
        m_frame.View().ZoomToSmallPicture();
    return NameDocument(path, status);
}

bool CFileCommands::OpenStrip(const QString& path)
{
    int width = 0, height = 0;
    if (!PictureFileSize(path, width, height)) {
        m_frame.Report(EditorStatus::NotAPictureFile);
        return false;
    }
    CFieldsDialog dialog(&m_frame, QStringLiteral("Open Strip"),
                         {{QStringLiteral("Number of frames in the importing bitmap"), ImportParams::kMinFrames,
                           ImportParams::kMaxFrames, GuessStripFrames(width, height)}});
    if (!m_frame.RunDialog(dialog))
        return false;
    CKVFEditorDoc& doc = m_frame.Document();
    doc.DeleteContents();
    m_frame.SetDocumentPath(QString());
    ImportParams params;
    params.frames = dialog.Value(0);
    const EditorStatus status = ImportStrip(doc, path.toStdString(), params, &m_frame.Progress());
    m_frame.Report(status);
    if (status != EditorStatus::Ok)
        return false;
    // A new document: nothing to undo, and unsaved until saved as one.
    doc.History().Clear();
    doc.SetModifiedFlag();
    m_frame.View().ZoomToSmallPicture();
    return true;
}

bool CFileCommands::SaveTo(const QString& path)
{
    CKVFEditorDoc& doc = m_frame.Document();
    // Frames decoded from another codec are written uncompressed: say so
    // before a small video becomes a file many times its size.
    if (doc.WasOpenedFromForeignVideo() &&
        !m_frame.Host().AskYesNo(&m_frame, QString::fromUtf8(kAskSaveForeignVideo).arg(QFileInfo(path).fileName())))
        return false;
    const EditorStatus status = doc.SaveDocument(path.toStdString(), &m_frame.Progress());
    return NameDocument(path, status);
}

bool CFileCommands::NameDocument(const QString& path, EditorStatus status)
{
    if (status != EditorStatus::Ok) {
        m_frame.Report(status);
        return false;
    }
    m_frame.SetDocumentPath(QFileInfo(path).absoluteFilePath());
    m_recent->Add(m_frame.DocumentPath());
    UpdateRecentMenu();
    return true;
}

bool CFileCommands::SaveAsDialog()
{
    const FileChoice file = m_frame.Host().SaveFile(&m_frame, QStringLiteral("Save As"),
                                                    FileDialogFilter(kDocumentFilter), QStringLiteral("avi"));
    if (file.IsEmpty())
        return false;
    QString path = file.path;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".avi");
    return SaveTo(path);
}

bool CFileCommands::SaveModified()
{
    CKVFEditorDoc& doc = m_frame.Document();
    // A document without frames has nothing that could be saved.
    if (!doc.IsModified() || doc.GetFrameCount() == 0)
        return true;
    const QString title =
        m_frame.DocumentPath().isEmpty() ? QString::fromUtf8(kUntitled) : QFileInfo(m_frame.DocumentPath()).fileName();
    switch (m_frame.Host().AskSaveChanges(&m_frame, QString::fromUtf8(kAskSaveChanges).arg(title))) {
    case SaveChangesAnswer::Save:
        return m_frame.DocumentPath().isEmpty() ? SaveAsDialog() : SaveTo(m_frame.DocumentPath());
    case SaveChangesAnswer::Discard:
        return true;
    case SaveChangesAnswer::Cancel:
        break;
    }
    return false;
}

void CFileCommands::New()
{
    if (!SaveModified())
        return;
    m_frame.SetDocumentPath(QString());
    m_frame.Document().DeleteContents();
}

void CFileCommands::Open()
{
    if (!SaveModified())
        return;
    const FileChoice file =
        m_frame.Host().OpenFile(&m_frame, QStringLiteral("Open"), FileDialogFilter(kOpenFilter));
    if (file.IsEmpty())
        return;
    if (IsRiffFile(file.path))
        OpenDocumentFile(file.path);
    else
        OpenStrip(file.path);
}

void CFileCommands::Save()
{
    if (m_frame.DocumentPath().isEmpty())
        SaveAsDialog();
    else
        SaveTo(m_frame.DocumentPath());
}

void CFileCommands::SaveAs()
{
    SaveAsDialog();
}

void CFileCommands::OpenRecent(const QString& path)
{
    if (!SaveModified())
        return;
    if (!QFileInfo::exists(path)) {
        m_frame.Report(EditorStatus::CannotOpenFile);
        m_recent->Remove(path);
        UpdateRecentMenu();
        return;
    }
    OpenDocumentFile(path);
}

QStringList CFileCommands::RecentFiles() const
{
    return m_recent->Files();
}

void CFileCommands::UpdateRecentMenu()
{
    if (!m_menu)
        return;
    qDeleteAll(m_recentActions);
    m_recentActions.clear();
    const QStringList files = m_recent->Files();
    if (files.isEmpty())
        return;
    auto* separator = new QAction(m_menu);
    separator->setSeparator(true);
    m_menu->insertAction(m_recentPlace, separator);
    m_recentActions << separator;
    for (int i = 0; i < files.size(); ++i) {
        const QString path = files[i];
        const QString number = i + 1 < 10 ? QString::number(i + 1) : QStringLiteral("1&0");
        auto* action = new QAction(QStringLiteral("&") + number + QLatin1Char(' ') + path, m_menu);
        action->setStatusTip(QStringLiteral("Open this document"));
        action->setData(path);
        QObject::connect(action, &QAction::triggered, &m_frame, [this, path] {
            m_frame.View().FinishStroke();
            OpenRecent(path);
            m_frame.UpdateCommands();
        });
        m_menu->insertAction(m_recentPlace, action);
        m_recentActions << action;
    }
}

QList<QAction*> CFileCommands::RecentFileActions() const
{
    QList<QAction*> actions;
    for (QAction* action : m_recentActions)
        if (!action->isSeparator())
            actions << action;
    return actions;
}

void CFileCommands::Import()
{
    const FileChoice file =
        m_frame.Host().OpenFile(&m_frame, QStringLiteral("Import"), FileDialogFilter(kImportFilter));
    if (file.IsEmpty())
        return;
    int width = 0, height = 0;
    const int guess = PictureFileSize(file.path, width, height) ? GuessStripFrames(width, height) : 1;
    CFieldsDialog dialog(&m_frame, QStringLiteral("Import"),
                         {{QStringLiteral("Number of frames in the importing bitmap"), ImportParams::kMinFrames,
                           ImportParams::kMaxFrames, guess}});
    if (!m_frame.RunDialog(dialog))
        return;
    ImportParams params;
    params.frames = dialog.Value(0);
    m_frame.Report(ImportStrip(m_frame.Document(), file.path.toStdString(), params, &m_frame.Progress()));
}

void CFileCommands::InsertVideo()
{
    const FileChoice file =
        m_frame.Host().OpenFile(&m_frame, QStringLiteral("Insert Video"), FileDialogFilter(VIDEO_FILTER));
    if (!file.IsEmpty())
        m_frame.Report(::InsertVideo(m_frame.Document(), file.path.toStdString(), &m_frame.Progress()));
}

void CFileCommands::Export()
{
    CKVFEditorDoc& doc = m_frame.Document();
    if (doc.Commit() != EditorStatus::Ok || doc.GetFrameCount() == 0)
        return;
    if (!doc.IsSameFormat()) {
        m_frame.Report(EditorStatus::NotSameFormat);
        return;
    }
    // How first, then where: the file dialog offers the encoding's files.
    COutputOptionsDialog dialog(&m_frame, m_frame.Host(), m_exportOptions, m_exportLayout,
                                doc.GetFrame(0)->Format());
    if (!m_frame.RunDialog(dialog))
        return;
    m_exportOptions = dialog.Options();
    m_exportLayout = dialog.Layout();
    const QString extension = ExtensionOf(m_exportOptions.encoding);
    const FileChoice file = m_frame.Host().SaveFile(
        &m_frame, QStringLiteral("Export"), COutputOptionsDialog::FileFilter(m_exportOptions.encoding), extension);
    if (file.IsEmpty())
        return;
    QString path = file.path;
    if (QFileInfo(path).suffix().isEmpty())
        path += QLatin1Char('.') + extension;
    m_frame.Report(ExportFrames(doc, path.toStdString(), m_exportLayout, m_exportOptions, &m_frame.Progress()));
}
