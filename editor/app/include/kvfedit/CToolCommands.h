#pragma once
// CToolCommands: the Tools menu of the main window: each command asks for
// its values in a dialog and runs the document's tool with the progress
// dialog (whose Cancel leaves the document as it was).

#include "editor/ToolParams.h"

class CMainFrame;

class CToolCommands {
public:
    explicit CToolCommands(CMainFrame& frame) : m_frame(frame) {}

    void Resize();
    void EnlargeCanvas();
    void FadeIn();
    void FadeOut();
    void Mirror();
    void Flip();
    void Invert();
    void Reverse();
    void TimeStretch();
    void RemoveAlphaChannel();
    void ChangeColorDepth();
    void LoadPalette();
    void SavePalette();

private:
    CMainFrame& m_frame;
    ColourDepthParams m_colourParams;
};
