#include "kvfedit/CEditCommands.h"

#include "DialogButtons.h"
#include "editor/SelectionOps.h"
#include "kvfedit/CAnimationPreview.h"
#include "kvfedit/CFieldsDialog.h"
#include "kvfedit/CKVFEditorView.h"
#include "kvfedit/CMainFrame.h"
#include "kvfedit/EditorClipboard.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

void CEditCommands::Undo()
{
    m_frame.Report(m_frame.Document().Undo());
}

void CEditCommands::Redo()
{
    m_frame.Report(m_frame.Document().Redo());
}

void CEditCommands::Copy()
{
    CKVFEditorDoc& doc = m_frame.Document();
    if (m_frame.ActsOnSelection()) {
        const std::vector<uint8_t> picture = CopyArea(doc.GetWorkingImage(), m_frame.View().Selection());
        if (!picture.empty())
            PutPictureOnClipboard(picture);
        return;
    }
    const std::vector<uint8_t> picture = doc.Copy();
    if (!picture.empty())
        PutPictureOnClipboard(picture);
}

void CEditCommands::Cut()
{
    if (m_frame.ActsOnSelection()) {
        Copy();
        ClearSelection("Cut Selection");
        return;
    }
    // The frame goes to the clipboard before the document lets it go.
    CKVFEditorDoc& doc = m_frame.Document();
    const std::vector<uint8_t> picture = doc.Copy();
    if (picture.empty())
        return;
    PutPictureOnClipboard(picture);
    m_frame.Report(doc.DeleteCurrentFrame("Cut"));
}

void CEditCommands::ClearSelection(const char* stepName)
{
    CKVFEditorDoc& doc = m_frame.Document();
    const PaintRect area = m_frame.View().Selection();
    if (area.IsEmpty())
        return;
    if (!PaintFilledRectangle(doc.GetWorkingImage(), area.left, area.top, area.right - 1, area.bottom - 1,
                              m_frame.BackgroundColour())
             .IsEmpty()) {
        doc.SetWorkingDirty();
        m_frame.Report(doc.Commit(stepName));
    }
}

void CEditCommands::Paste()
{
    const std::vector<uint8_t> picture = TakePictureFromClipboard();
    CKVFEditorDoc& doc = m_frame.Document();
    if (m_frame.ActsOnSelection() && doc.GetFrameCount() > 0) {
        const PaintRect at = m_frame.View().Selection();
        const PaintRect pasted = PasteArea(doc.GetWorkingImage(), picture.data(), picture.size(), at.left, at.top);
        if (pasted.IsEmpty()) {
            m_frame.Report(EditorStatus::NotAPicture);
            return;
        }
        doc.SetWorkingDirty();
        m_frame.Report(doc.Commit("Paste Into Frame"));
        m_frame.View().SetSelection(pasted);
        return;
    }
    m_frame.Report(doc.Paste(picture.data(), picture.size(), InsertPlace::After));
}

void CEditCommands::PasteBefore()
{
    const std::vector<uint8_t> picture = TakePictureFromClipboard();
    m_frame.Report(m_frame.Document().Paste(picture.data(), picture.size(), InsertPlace::Before));
}

void CEditCommands::Delete()
{
    if (m_frame.ActsOnSelection()) {
        ClearSelection("Delete Selection");
        return;
    }
    m_frame.Report(m_frame.Document().DeleteCurrentFrame());
}

void CEditCommands::DuplicateFrame()
{
    m_frame.Report(m_frame.Document().DuplicateFrame());
}

void CEditCommands::InsertBlankFrame()
{
    m_frame.Report(m_frame.Document().InsertBlankFrame(m_frame.BackgroundColour()));
}

void CEditCommands::FirstFrame()
{
    m_frame.Document().SetCurrentFrame(0);
}

void CEditCommands::PreviousFrame()
{
    m_frame.Document().SetCurrentFrame(m_frame.Document().GetCurrentFrame() - 1);
}

void CEditCommands::NextFrame()
{
    m_frame.Document().SetCurrentFrame(m_frame.Document().GetCurrentFrame() + 1);
}

void CEditCommands::LastFrame()
{
    m_frame.Document().SetCurrentFrame(m_frame.Document().GetFrameCount() - 1);
}

void CEditCommands::GoToFrame()
{
    CKVFEditorDoc& doc = m_frame.Document();
    if (doc.GetFrameCount() == 0)
        return;
    // Numbered from 1, as the status bar, the timeline and the preview number them.
    CFieldsDialog dialog(&m_frame, QStringLiteral("Goto"),
                         {{QStringLiteral("Frame Number:"), 1, doc.GetFrameCount(), doc.GetCurrentFrame() + 1}});
    if (m_frame.RunDialog(dialog))
        doc.SetCurrentFrame(dialog.Value(0) - 1);
}

void CEditCommands::ZoomIn()
{
    m_frame.View().SetZoomIndex(m_frame.View().ZoomIndex() + 1);
}

void CEditCommands::ZoomOut()
{
    m_frame.View().SetZoomIndex(m_frame.View().ZoomIndex() - 1);
}

void CEditCommands::ZoomToFit()
{
    m_frame.View().ZoomToFit();
}

void CEditCommands::ActualSize()
{
    m_frame.View().SetZoomIndex(CKVFEditorView::kDefaultZoom);
}

void CEditCommands::PixelGrid(bool on)
{
    m_frame.View().SetGrid(on);
}

void CEditCommands::OnionSkin(bool on)
{
    m_frame.View().SetOnionSkin(on);
}

void CEditCommands::Preview()
{
    if (!m_frame.Preview())
        m_frame.SetPreview(new CAnimationPreview(m_frame.Document(), &m_frame));
    m_frame.Preview()->SetScale(m_frame.View().ZoomFactor());
    m_frame.Preview()->show();
    m_frame.Preview()->raise();
}

void CEditCommands::About()
{
    QDialog dialog(&m_frame);
    dialog.setWindowTitle(QStringLiteral("About KVF Editor"));
    auto* text = new QLabel(QStringLiteral("<b>KVF Editor</b><br>The sprite-sequence editor of the game Veldra:<br>"
                                           "frames painted, arranged and exported as the game's sprite files."),
                            &dialog);
    QDialogButtonBox* buttons = DialogButtons(dialog, QDialogButtonBox::Ok);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(text);
    layout->addWidget(buttons);
    m_frame.RunDialog(dialog);
}
