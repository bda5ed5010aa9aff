#pragma once
// Small value types shared by the editor's document and its tools.

#include <cstdint>

// A colour chosen by the user (the paint tools' foreground and background
// swatches): red, green and blue, as a colour dialog returns them.
struct EditorColour {
    uint8_t red = 255;
    uint8_t green = 255;
    uint8_t blue = 255;
    // For indexed pictures: the palette entry to paint with when the colour
    // was picked from the palette (its entry's colour), so that of two
    // entries of one colour the one picked is painted; -1 for none.
    int index = -1;

    friend bool operator==(const EditorColour&, const EditorColour&) = default;
};

// Where a tool that changes every frame may run: one that touches nothing
// but its own frame's images (and values it only reads) may run on worker
// threads, several frames at once.
enum class ToolThreads { ThisThread, Workers };

// Where a new frame goes relative to the current one.
enum class InsertPlace { Before, After };
