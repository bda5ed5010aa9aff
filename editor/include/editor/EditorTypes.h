#pragma once
// Small value types shared by the editor's document and its tools.

#include <cstdint>

// A colour chosen by the user (the paint tools' foreground and background
// swatches): red, green and blue, as a colour dialog returns them.
struct EditorColour {
    uint8_t red = 255;
    uint8_t green = 255;
    uint8_t blue = 255;

    friend bool operator==(const EditorColour&, const EditorColour&) = default;
};

// Where a new frame goes relative to the current one.
enum class InsertPlace { Before, After };
