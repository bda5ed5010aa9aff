#include "kvfedit/CToolCommands.h"

#include "editor/PaletteFile.h"
#include "kvfedit/CColorReductionDialog.h"
#include "kvfedit/CFieldsDialog.h"
#include "kvfedit/CMainFrame.h"
#include "kvfedit/CProgressDialog.h"
#include "kvfedit/IEditorHost.h"

void CToolCommands::Resize()
{
    const CDibSection& working = m_frame.Document().GetWorkingImage();
    CFieldsDialog dialog(&m_frame, QStringLiteral("Resize"),
                         {{QStringLiteral("Width"), ResizeParams::kMinSide, ResizeParams::kMaxSide, working.GetWidth()},
                          {QStringLiteral("Height"), ResizeParams::kMinSide, ResizeParams::kMaxSide,
                           working.GetHeight()}});
    if (!m_frame.RunDialog(dialog))
        return;
    ResizeParams params;
    params.width = dialog.Value(0);
    params.height = dialog.Value(1);
    m_frame.Report(m_frame.Document().Resize(params, &m_frame.Progress()));
}

void CToolCommands::EnlargeCanvas()
{
    const CDibSection& working = m_frame.Document().GetWorkingImage();
    using P = CanvasParams;
    CFieldsDialog dialog(&m_frame, QStringLiteral("Enlarge Canvas"),
                         {{QStringLiteral("New Width"), P::kMinSide, P::kMaxSide, working.GetWidth()},
                          {QStringLiteral("New Height"), P::kMinSide, P::kMaxSide, working.GetHeight()},
                          {QStringLiteral("New X"), P::kMinOffset, P::kMaxOffset, 0},
                          {QStringLiteral("New Y"), P::kMinOffset, P::kMaxOffset, 0}});
    if (!m_frame.RunDialog(dialog))
        return;
    CanvasParams params;
    params.width = dialog.Value(0);
    params.height = dialog.Value(1);
    params.x = dialog.Value(2);
    params.y = dialog.Value(3);
    m_frame.Report(m_frame.Document().EnlargeCanvas(params, m_frame.BackgroundColour(), &m_frame.Progress()));
}

void CToolCommands::FadeIn()
{
    m_frame.Report(m_frame.Document().FadeIn(m_frame.BackgroundColour(), &m_frame.Progress()));
}

void CToolCommands::FadeOut()
{
    m_frame.Report(m_frame.Document().FadeOut(m_frame.BackgroundColour(), &m_frame.Progress()));
}

void CToolCommands::Mirror()
{
    m_frame.Report(m_frame.Document().Mirror(&m_frame.Progress()));
}

void CToolCommands::Flip()
{
    m_frame.Report(m_frame.Document().Flip(&m_frame.Progress()));
}

void CToolCommands::Invert()
{
    m_frame.Report(m_frame.Document().Invert(&m_frame.Progress()));
}

void CToolCommands::Reverse()
{
    m_frame.Report(m_frame.Document().Reverse());
}

void CToolCommands::TimeStretch()
{
    CFieldsDialog dialog(&m_frame, QStringLiteral("Time Stretch/Shrink"),
                         {{QStringLiteral("Final number of frames:"), TimeStretchParams::kMinFrames,
                           TimeStretchParams::kMaxFrames, m_frame.Document().GetFrameCount()}});
    if (!m_frame.RunDialog(dialog))
        return;
    TimeStretchParams params;
    params.frames = dialog.Value(0);
    m_frame.Report(m_frame.Document().TimeStretch(params));
}

void CToolCommands::RemoveAlphaChannel()
{
    // Frames that differ are refused before a mask is asked for.
    if (!m_frame.Document().IsSameFormat()) {
        m_frame.Report(EditorStatus::NotSameFormat);
        return;
    }
    const FileChoice file = m_frame.Host().OpenFile(&m_frame, QStringLiteral("Remove Alpha Channel"),
                                            FileDialogFilter(CKVFEditorDoc::kMaskFilter));
    if (!file.IsEmpty())
        m_frame.Report(m_frame.Document().RemoveAlphaChannel(file.path.toStdString(), m_frame.BackgroundColour(), &m_frame.Progress()));
}

void CToolCommands::ChangeColorDepth()
{
    CColorReductionDialog dialog(&m_frame, m_colourParams);
    if (!m_frame.RunDialog(dialog))
        return;
    m_colourParams = dialog.Params();
    m_frame.Report(m_frame.Document().ChangeColourDepth(m_colourParams, &m_frame.Progress()));
}

void CToolCommands::LoadPalette()
{
    const FileChoice file =
        m_frame.Host().OpenFile(&m_frame, QStringLiteral("Load Palette"), FileDialogFilter(PALETTE_FILE_FILTER));
    if (!file.IsEmpty())
        m_frame.Report(m_frame.Document().LoadPalette(file.path.toStdString(), &m_frame.Progress()));
}

void CToolCommands::SavePalette()
{
    const FileChoice file = m_frame.Host().SaveFile(&m_frame, QStringLiteral("Save Palette"), FileDialogFilter(PALETTE_FILE_FILTER),
                                            QStringLiteral("pal"));
    if (!file.IsEmpty())
        m_frame.Report(m_frame.Document().SavePalette(file.path.toStdString()));
}
