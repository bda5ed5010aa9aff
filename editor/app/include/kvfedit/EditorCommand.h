#pragma once
// The window's commands: one entry each in a table with the menu text, the
// accelerators and the prompt the status bar shows (the text before "\n";
// the text after it is the tool tip). Menus, the tool bar and the tests
// reach every action through these ids.

#include <QKeySequence>
#include <QList>

enum class EditorCommand {
    New, Open, Save, SaveAs, Import, InsertVideo, Export, Exit,
    Undo, Redo, Cut, Copy, Paste, PasteBefore,
    DeleteFrame, FirstFrame, PreviousFrame, NextFrame, LastFrame, GoToFrame, DuplicateFrame, InsertBlankFrame,
    ZoomIn, ZoomOut, ZoomToFit, ActualSize, PixelGrid, ToggleToolBar, ToggleStatusBar, TogglePaintTools, TogglePalette, ToggleTimeline, OnionSkin,
    Preview,
    NextPane, PreviousPane,
    Resize, EnlargeCanvas, Crop, FadeIn, FadeOut, Mirror, Flip, Invert, Reverse, TimeStretch,
    RemoveAlphaChannel, ChangeColorDepth, LoadPalette, SavePalette, EditPalette,
    About,
};

struct EditorCommandInfo {
    EditorCommand id;
    const char* text;   // menu text, '&' before the mnemonic
    const char* prompt; // "status text\ntool tip", or the status text alone
    QList<QKeySequence> shortcuts;
};

// Every command, in the order of the enumeration.
const QList<EditorCommandInfo>& EditorCommands();
const EditorCommandInfo& EditorCommandInfoOf(EditorCommand id);
