#pragma once
// CEditCommands: the Edit, Frame and View menus of the main window. The
// clipboard commands act on whole frames, or, while the Select or Drag tool
// is chosen, on the selected rectangle of the current frame: Copy copies
// its pixels, Cut and Delete clear them to the background colour, Paste
// puts the clipboard's picture at the selection's corner (the top left
// without one) and selects it; each change is one undo step.

class CMainFrame;

class CEditCommands {
public:
    explicit CEditCommands(CMainFrame& frame) : m_frame(frame) {}

    void Undo();
    void Redo();
    void Cut();
    void Copy();
    void Paste();
    void PasteBefore();
    void Delete();
    void DuplicateFrame();
    void InsertBlankFrame();
    void FirstFrame();
    void PreviousFrame();
    void NextFrame();
    void LastFrame();
    void GoToFrame();
    void ZoomIn();
    void ZoomOut();
    void ZoomToFit();
    void ActualSize();
    void PixelGrid(bool on);
    void OnionSkin(bool on);
    void Preview();
    void About();

private:
    // Clears the selection's pixels to the background colour: one step.
    void ClearSelection(const char* stepName);

    CMainFrame& m_frame;
};
