#pragma once
// Which of the document's commands are enabled, for the window's menus and
// tool bar. CKVFEditorDoc::GetCommandState fills it from the document; the
// window supplies what only it knows (the clipboard, a stroke in progress).

struct EditorCommandState {
    bool import = true;
    bool exportFile = false;
    bool resize = false;
    bool changeColourDepth = false;
    bool loadPalette = false;
    bool enlargeCanvas = false;
    bool timeStretch = false;
    bool reverse = false;
    bool removeAlphaChannel = false;
    bool invert = false;
    bool fadeIn = false;
    bool fadeOut = false;
    bool mirror = false;
    bool flip = false;
    bool savePalette = false;
    bool copy = false;
    bool cut = false;
    bool paste = false;
    bool pasteBefore = false;
    bool undo = false;
    bool redo = false;
    // In the Tools menu without a command behind them: always disabled.
    bool crop = false;
    bool editPalette = false;
};
