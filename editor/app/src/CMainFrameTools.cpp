// The main window's frame, view and Tools menu commands.

#include "kvfedit/CMainFrame.h"

#include "DialogButtons.h"
#include "EditorTexts.h"
#include "editor/PaletteFile.h"
#include "kvfedit/CAnimationPreview.h"
#include "kvfedit/CColorReductionDialog.h"
#include "kvfedit/CFieldsDialog.h"
#include "kvfedit/CKVFEditorView.h"
#include "kvfedit/CProgressDialog.h"
#include "kvfedit/IEditorHost.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

void CMainFrame::OnFirstFrame()
{
    m_doc.SetCurrentFrame(0);
}

void CMainFrame::OnPreviousFrame()
{
    m_doc.SetCurrentFrame(m_doc.GetCurrentFrame() - 1);
}

void CMainFrame::OnNextFrame()
{
    m_doc.SetCurrentFrame(m_doc.GetCurrentFrame() + 1);
}

void CMainFrame::OnLastFrame()
{
    m_doc.SetCurrentFrame(m_doc.GetFrameCount() - 1);
}

void CMainFrame::OnGoToFrame()
{
    if (m_doc.GetFrameCount() == 0)
        return;
    CFieldsDialog dialog(this, QStringLiteral("Goto"),
                         {{QStringLiteral("Frame Number:"), 0, m_doc.GetFrameCount() - 1, m_doc.GetCurrentFrame()}});
    if (RunDialog(dialog))
        m_doc.SetCurrentFrame(dialog.Value(0));
}

void CMainFrame::OnZoomIn()
{
    m_view->SetZoomIndex(m_view->ZoomIndex() + 1);
}

void CMainFrame::OnZoomOut()
{
    m_view->SetZoomIndex(m_view->ZoomIndex() - 1);
}

void CMainFrame::OnOnionSkin()
{
    m_view->SetOnionSkin(Action(EditorCommand::OnionSkin)->isChecked());
}

void CMainFrame::OnPreview()
{
    if (!m_preview)
        m_preview = new CAnimationPreview(m_doc, this);
    m_preview->SetScale(m_view->ZoomFactor());
    m_preview->show();
    m_preview->raise();
}

void CMainFrame::OnAbout()
{
    QDialog dialog(this);
    dialog.setWindowTitle(QStringLiteral("About KVF Editor"));
    auto* text = new QLabel(QStringLiteral("<b>KVF Editor</b><br>The sprite-sequence editor of the game Veldra:<br>"
                                           "frames painted, arranged and exported as the game's sprite files."),
                            &dialog);
    QDialogButtonBox* buttons = DialogButtons(dialog, QDialogButtonBox::Ok);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(text);
    layout->addWidget(buttons);
    RunDialog(dialog);
}

void CMainFrame::OnResize()
{
    const CDibSection& working = m_doc.GetWorkingImage();
    CFieldsDialog dialog(this, QStringLiteral("Resize"),
                         {{QStringLiteral("Width"), ResizeParams::kMinSide, ResizeParams::kMaxSide, working.GetWidth()},
                          {QStringLiteral("Height"), ResizeParams::kMinSide, ResizeParams::kMaxSide,
                           working.GetHeight()}});
    if (!RunDialog(dialog))
        return;
    ResizeParams params;
    params.width = dialog.Value(0);
    params.height = dialog.Value(1);
    Report(m_doc.Resize(params, m_progress));
}

void CMainFrame::OnEnlargeCanvas()
{
    const CDibSection& working = m_doc.GetWorkingImage();
    using P = CanvasParams;
    CFieldsDialog dialog(this, QStringLiteral("Enlarge Canvas"),
                         {{QStringLiteral("New Width"), P::kMinSide, P::kMaxSide, working.GetWidth()},
                          {QStringLiteral("New Height"), P::kMinSide, P::kMaxSide, working.GetHeight()},
                          {QStringLiteral("New X"), P::kMinOffset, P::kMaxOffset, 0},
                          {QStringLiteral("New Y"), P::kMinOffset, P::kMaxOffset, 0}});
    if (!RunDialog(dialog))
        return;
    CanvasParams params;
    params.width = dialog.Value(0);
    params.height = dialog.Value(1);
    params.x = dialog.Value(2);
    params.y = dialog.Value(3);
    Report(m_doc.EnlargeCanvas(params, BackgroundColour(), m_progress));
}

void CMainFrame::OnFadeIn()
{
    Report(m_doc.FadeIn(BackgroundColour(), m_progress));
}

void CMainFrame::OnFadeOut()
{
    Report(m_doc.FadeOut(BackgroundColour(), m_progress));
}

void CMainFrame::OnMirror()
{
    Report(m_doc.Mirror(m_progress));
}

void CMainFrame::OnFlip()
{
    Report(m_doc.Flip(m_progress));
}

void CMainFrame::OnInvert()
{
    Report(m_doc.Invert(m_progress));
}

void CMainFrame::OnReverse()
{
    Report(m_doc.Reverse());
}

void CMainFrame::OnTimeStretch()
{
    CFieldsDialog dialog(this, QStringLiteral("Time Stretch/Shrink"),
                         {{QStringLiteral("Final number of frames:"), TimeStretchParams::kMinFrames,
                           TimeStretchParams::kMaxFrames, m_doc.GetFrameCount()}});
    if (!RunDialog(dialog))
        return;
    TimeStretchParams params;
    params.frames = dialog.Value(0);
    Report(m_doc.TimeStretch(params));
}

void CMainFrame::OnRemoveAlphaChannel()
{
    // Frames that differ are refused before a mask is asked for.
    if (!m_doc.IsSameFormat()) {
        Report(EditorStatus::NotSameFormat);
        return;
    }
    const FileChoice file = m_host.OpenFile(this, QStringLiteral("Remove Alpha Channel"),
                                            FileDialogFilter(CKVFEditorDoc::kMaskFilter));
    if (!file.IsEmpty())
        Report(m_doc.RemoveAlphaChannel(file.path.toStdString(), BackgroundColour(), m_progress));
}

void CMainFrame::OnChangeColorDepth()
{
    CColorReductionDialog dialog(this, m_colourParams);
    if (!RunDialog(dialog))
        return;
    m_colourParams = dialog.Params();
    Report(m_doc.ChangeColourDepth(m_colourParams, m_progress));
}

void CMainFrame::OnLoadPalette()
{
    const FileChoice file =
        m_host.OpenFile(this, QStringLiteral("Load Palette"), FileDialogFilter(PALETTE_FILE_FILTER));
    if (!file.IsEmpty())
        Report(m_doc.LoadPalette(file.path.toStdString(), m_progress));
}

void CMainFrame::OnSavePalette()
{
    const FileChoice file = m_host.SaveFile(this, QStringLiteral("Save Palette"), FileDialogFilter(PALETTE_FILE_FILTER),
                                            QStringLiteral("pal"));
    if (!file.IsEmpty())
        Report(m_doc.SavePalette(file.path.toStdString()));
}
