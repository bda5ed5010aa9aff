#pragma once
// The look shared by the menus and the hunt display: wooden sign boards,
// leather-and-brass panels and the lettering on them. Each painter draws one
// frame; two-frame items stack the plain and the lit frame.

#include "paint/RgbaImage.h"
#include "paint/TextPainter.h"

#include <string>

// Gold serif headlines with a dark outline and shadow.
TextStyle TitleTextStyle(int size, uint32_t colour = Rgb(255, 214, 96));
// Plain cream lines for hints and descriptions.
TextStyle NoteTextStyle(int size);

// A rounded wooden board with grain, a dark edge and two nails.
void PaintWoodBoard(RgbaImage& image, int x, int y, int w, int h, bool lit, uint32_t seed);
// A dark leather panel with a brass rim (lit: the rim glows amber).
void PaintLeatherPanel(RgbaImage& image, int x, int y, int w, int h, int radius, bool lit);
// A label centred in the box: cream with a dark outline, or gold when lit.
void PaintLabel(CTextPainter& text, RgbaImage& image, const std::string& label, int x, int y, int w, int h,
                int size, bool lit, bool serif = false);
// A two-frame sign-board button (plain over lit) with a centred label.
RgbaImage PaintBoardButton(CTextPainter& text, const std::string& label, int w, int h, int size, uint32_t seed);
// A two-frame leather button with a centred label.
RgbaImage PaintPanelButton(CTextPainter& text, const std::string& label, int w, int h, int size);
// A two-frame arrow-shaped board pointing left or right, with a small label.
RgbaImage PaintArrowButton(CTextPainter& text, const std::string& label, int w, int h, bool pointsRight,
                           uint32_t seed);
