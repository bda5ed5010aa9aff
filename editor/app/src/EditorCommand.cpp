#include "kvfedit/EditorCommand.h"

#include <cassert>

namespace {

QList<QKeySequence> Keys(std::initializer_list<QKeyCombination> keys)
{
    QList<QKeySequence> sequences;
    for (QKeyCombination key : keys)
        sequences << QKeySequence(key);
    return sequences;
}

QList<EditorCommandInfo> BuildTable()
{
    using C = EditorCommand;
    const Qt::KeyboardModifier ctrl = Qt::ControlModifier, shift = Qt::ShiftModifier;
    return {
        {C::New, "&New", "Create a new document\nNew", Keys({ctrl | Qt::Key_N})},
        {C::Open, "&Open...", "Open an existing document\nOpen", Keys({ctrl | Qt::Key_O})},
        {C::Save, "&Save", "Save the active document\nSave", Keys({ctrl | Qt::Key_S})},
        {C::SaveAs, "Save &As...", "Save the active document with a new name\nSave As", {}},
        {C::Import, "&Import...", "Import file", {}},
        {C::InsertVideo, "Insert &Video...", "Append sequences of frames from source video to current frame", {}},
        {C::Export, "&Export...", "Export File", {}},
        {C::Exit, "E&xit", "Quit the application; prompts to save documents\nExit", {}},
        {C::Undo, "&Undo", "Undo the last action\nUndo", Keys({ctrl | Qt::Key_Z, Qt::AltModifier | Qt::Key_Backspace})},
        {C::Redo, "&Redo", "Redo the previously undone action\nRedo", Keys({ctrl | Qt::Key_Y})},
        {C::Cut, "Cu&t", "Cut the current frame and put it on the Clipboard\nCut",
         Keys({ctrl | Qt::Key_X, shift | Qt::Key_Delete})},
        {C::Copy, "&Copy", "Copy the current frame and put it on the Clipboard\nCopy",
         Keys({ctrl | Qt::Key_C, ctrl | Qt::Key_Insert})},
        {C::Paste, "&Paste", "Insert Clipboard contents after current frame\nPaste",
         Keys({ctrl | Qt::Key_V, shift | Qt::Key_Insert})},
        {C::PasteBefore, "Paste &Before", "Insert Clipboard contents before current frame\nPaste", {}},
        {C::DeleteFrame, "&Delete Frame", "Delete current frame", Keys({QKeyCombination(Qt::Key_Delete)})},
        {C::FirstFrame, "&First Frame", "Go to first frame", Keys({QKeyCombination(Qt::Key_Home)})},
        {C::PreviousFrame, "&Previous Frame", "Go to previous frame", Keys({QKeyCombination(Qt::Key_Left)})},
        {C::NextFrame, "&Next Frame", "Go to next frame", Keys({QKeyCombination(Qt::Key_Right)})},
        {C::LastFrame, "&Last Frame", "Go to last frame", Keys({QKeyCombination(Qt::Key_End)})},
        {C::GoToFrame, "&Go To Frame...", "Go to particular frame", Keys({ctrl | Qt::Key_G})},
        {C::DuplicateFrame, "D&uplicate Frame", "Insert a copy of the current frame after it\nDuplicate Frame",
         Keys({ctrl | Qt::Key_D})},
        {C::InsertBlankFrame, "Insert &Blank Frame",
         "Insert a frame of the background colour after the current frame\nInsert Blank Frame",
         Keys({ctrl | shift | Qt::Key_N})},
        // Ctrl+= as well as Ctrl++: on most keyboards + needs Shift.
        {C::ZoomIn, "Zoom &In", "Zoom in",
         {QKeySequence(QKeySequence::ZoomIn), QKeySequence(ctrl | Qt::Key_Equal)}},
        {C::ZoomOut, "Zoom &Out", "Zoom out", {QKeySequence(QKeySequence::ZoomOut)}},
        {C::ZoomToFit, "Zoom to &Fit", "Show the whole frame as large as the window allows\nZoom to Fit",
         Keys({ctrl | Qt::Key_0})},
        {C::ActualSize, "&Actual Size", "Show the frame at its own size, one pixel for each\nActual Size",
         Keys({ctrl | Qt::Key_1})},
        {C::PixelGrid, "Pixel &Grid", "Show lines between the pixels from zoom 4 on\nPixel Grid",
         Keys({ctrl | Qt::Key_Apostrophe})},
        {C::ToggleToolBar, "&Toolbar", "Show or hide the toolbar\nToggle ToolBar", {}},
        {C::ToggleStatusBar, "&Status Bar", "Show or hide the status bar\nToggle StatusBar", {}},
        {C::TogglePaintTools, "&Paint Tools", "Show or hide PaintTools\nToggle PaintTools", {}},
        {C::TogglePalette, "Pa&lette", "Show or hide the palette of the current frame\nPalette", {}},
        {C::ToggleTimeline, "Ti&meline", "Show or hide the frames under the view\nTimeline", {}},
        {C::OnionSkin, "&Onion Skin", "Show the previous frame faintly over the current one\nOnion Skin", {}},
        {C::Preview, "Pre&view Animation...", "Play the frames in a loop\nPreview", {}},
        {C::NextPane, "Next Pane", "Switch to the next window pane\nNext Pane", Keys({QKeyCombination(Qt::Key_F6)})},
        {C::PreviousPane, "Previous Pane", "Switch back to the previous window pane\nPrevious Pane",
         Keys({shift | Qt::Key_F6})},
        {C::Resize, "&Resize...", "Resize every frame", {}},
        {C::EnlargeCanvas, "&Enlarge Canvas...", "Enlarge the canvas of every frame", {}},
        {C::Crop, "&Crop", "Crop every frame", {}},
        {C::FadeIn, "Fade &In", "Fade the sequence in from black", {}},
        {C::FadeOut, "Fade &Out", "Fade the sequence out to black", {}},
        {C::Mirror, "&Mirror", "Exchange left and right in every frame", {}},
        {C::Flip, "&Flip", "Exchange top and bottom in every frame", {}},
        {C::Invert, "In&vert", "Invert Color", {}},
        {C::Reverse, "Re&verse", "Reverse the order of the frames", {}},
        {C::TimeStretch, "&Time Stretch/Shrink Segment...", "Repeat or drop frames to a new count", {}},
        {C::RemoveAlphaChannel, "Remove &Alpha Channel...", "Blend every frame over the background colour", {}},
        {C::ChangeColorDepth, "Change Color &Depth...", "Convert every frame to another pixel format", {}},
        {C::LoadPalette, "&Load Palette...", "Convert every frame to the colours of a palette file", {}},
        {C::SavePalette, "&Save Palette...", "Save the colours of the current frame", {}},
        {C::EditPalette, "Edit &Palette...", "Edit the colours of the current frame", {}},
        {C::About, "&About KVF Editor...", "Display program information, version number and copyright\nAbout", {}},
    };
}

} // namespace

const QList<EditorCommandInfo>& EditorCommands()
{
    static const QList<EditorCommandInfo> table = BuildTable();
    return table;
}

const EditorCommandInfo& EditorCommandInfoOf(EditorCommand id)
{
    const EditorCommandInfo& info = EditorCommands()[int(id)];
    assert(info.id == id);
    return info;
}
