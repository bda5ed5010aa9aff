#pragma once
// CHuntPreview: hunt frames as the game will compose them, in both display
// depths, from the written pictures and the scenario palettes. The 8-bit
// frame goes through the game's own colour mapping (conversion tables for
// sprites and surfaces, NearestIndex for the hazed ground), the high-colour
// frame through 5-5-5, so the two can be compared before the hunt itself
// runs and looked at side by side.
//
// The scene follows the renderer's rules: the hazed ground in perspective
// (two pixels per sample), the panorama at twice its height on the
// horizon, trees and animals scaled by their distance, the hunt display on
// the right; then the binoculars at rest, the rifle raised, and an end
// picture over the frame. The radar is left out: it is a blend in high
// colour and a stipple in 8 bits by design.

#include "palette/CContextPalettes.h"
#include "palette/WrittenPicture.h"

#include <cstdint>
#include <string>
#include <vector>

class CDibPalette;

class CHuntPreview {
public:
    // Frames of one scenario (context 1..3) drawn from `pictures`.
    CHuntPreview(const std::vector<WrittenPicture>& pictures, const CContextPalettes& palettes, int context);
    ~CHuntPreview();
    CHuntPreview(const CHuntPreview&) = delete;
    CHuntPreview& operator=(const CHuntPreview&) = delete;

    struct Frame {
        std::string name;
        std::vector<uint32_t> highColour; // 640 × 480, 0x00RRGGBB
        std::vector<uint32_t> eightBit;
    };
    // The view, with the binoculars up, aiming, and under an end picture.
    std::vector<Frame> Frames();

private:
    // Draws one picture, scaled from a source rectangle into a destination
    // rectangle, its index 0 transparent.
    void Draw(Frame& frame, const WrittenPicture* picture, int srcX, int srcY, int srcW, int srcH, int dstX,
              int dstY, int dstW, int dstH) const;
    void DrawGround(Frame& frame, double angle, int horizon) const;
    void DrawPanorama(Frame& frame, double angle, int horizon) const;
    void DrawObject(Frame& frame, const WrittenPicture* picture, int frameHeight, double size, double distance,
                    double relative, int horizon) const;
    void DrawBinoculars(Frame& frame, int top) const;
    const WrittenPicture* Find(const std::string& name) const;

    const std::vector<WrittenPicture>& m_pictures;
    const CContextPalettes& m_palettes;
    int m_context;
    CDibPalette* m_palette;
};
