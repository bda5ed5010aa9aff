#pragma once
// The menu screens' pictures, one writer per screen, and the pieces they share.

#include "paint/RgbaImage.h"

#include <string>

class CAssetSink;
class CTextPainter;

void GenerateMainMenu(CAssetSink& sink, CTextPainter& text);
void GenerateQuarryMenu(CAssetSink& sink, CTextPainter& text);
void GenerateWeaponMenu(CAssetSink& sink, CTextPainter& text);
void GenerateScenarioMenu(CAssetSink& sink, CTextPainter& text);
void GenerateOptionsBox(CAssetSink& sink, CTextPainter& text);
void GenerateTrophyRoom(CAssetSink& sink, CTextPainter& text);
void GenerateCredits(CAssetSink& sink, CTextPainter& text);
void GenerateEndPictures(CAssetSink& sink, CTextPainter& text);
void GenerateCursor(CAssetSink& sink);

// The animals' names as the menus print them, by AnimalKind − 1.
const char* AnimalName(int kind);
// A full-screen backdrop: a sunny savannah with a title across the top.
RgbaImage PaintMenuBackdrop(CTextPainter& text, const std::string& title, int variant);
// A two-frame choice card: a framed picture, plain over selected. `paint`
// draws the picture into the given box.
template <typename Painter>
RgbaImage PaintChoiceCard(CTextPainter& text, int w, int h, const std::string& caption, Painter&& paint);
void PaintCardFrame(CTextPainter& text, RgbaImage& image, int top, int w, int h, const std::string& caption,
                    bool selected);

template <typename Painter>
RgbaImage PaintChoiceCard(CTextPainter& text, int w, int h, const std::string& caption, Painter&& paint)
{
    RgbaImage strip(w, 2 * h);
    for (int frame = 0; frame < 2; ++frame) {
        PaintCardFrame(text, strip, frame * h, w, h, caption, frame == 1);
        const int captionHeight = caption.empty() ? 0 : 16;
        paint(strip, 5, frame * h + 5, w - 10, h - 10 - captionHeight, frame == 1);
    }
    return strip;
}
