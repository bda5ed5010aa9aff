#pragma once
// CPaletteCheck: looks at every written picture through the game's own
// colour mapping, in every context it is shown in, before the data is
// accepted. The game maps a picture's colours to the context palette with
// the image library's nearest-colour search (a sprite through its palette's
// conversion table, a surface when it is loaded against the back buffer,
// the ground through NearestIndex at each haze level); the check makes the
// same calls and compares what 8-bit display shows with what high colour
// shows.
//
// Stated limits:
// - a picture written in its context's palette shows exactly as in high
//   colour (no pixel differs);
// - sprites in their own colours keep the 8-bit picture within
//   kSpriteMinPsnr of high colour, the ground within kGroundMinPsnr;
// - no visible pixel of a keyed picture lands on the key's index, and no
//   other pixel of the binoculars lands on the lens colour's index;
// - every picture shows in high colour within kTrueColourMinPsnr of the art
//   it was made from, and within kTrueColourMinSeenPsnr over 3 × 3 averages
//   (where dithering counts for its mean colour).

#include "palette/CContextPalettes.h"
#include "palette/WrittenPicture.h"

#include <string>
#include <vector>

class CDibPalette;

class CPaletteCheck {
public:
    static constexpr double kSpriteMinPsnr = 30.0;
    static constexpr double kGroundMinPsnr = 34.0;
    static constexpr double kTrueColourMinPsnr = 31.0;
    static constexpr double kTrueColourMinSeenPsnr = 34.0;

    struct Result {
        std::string name;
        int context = -1;          // -1: the high-colour comparison with the art
        double psnr = 0;           // 8-bit against high colour (or high colour against the art)
        // High colour against the art as the eye takes it in: both averaged
        // over 3 × 3 pixels first, so dithering counts for its mean colour
        // while bands and wrong colours still count in full.
        double seenPsnr = 0;
        int worst = 0;             // largest channel difference
        long keyHits = 0;          // visible pixels on the key's index
        long lensHits = 0;         // other binocular pixels on the lens index
        std::string problem;       // empty when within the limits
    };

    explicit CPaletteCheck(const CContextPalettes& palettes);
    ~CPaletteCheck();
    CPaletteCheck(const CPaletteCheck&) = delete;
    CPaletteCheck& operator=(const CPaletteCheck&) = delete;

    // One result per context the picture is shown in, and one for high colour.
    std::vector<Result> Check(const WrittenPicture& picture);

private:
    Result InContext(const WrittenPicture& picture, int context);
    Result GroundInContext(const WrittenPicture& picture, int context);
    Result AgainstArt(const WrittenPicture& picture);

    CDibPalette* m_context[CContextPalettes::kContexts] = {};
};

// PSNR in dB of a mean squared error per channel (99 for none).
double PsnrOf(double meanSquaredError);
