#pragma once
// CContextPalettes: the game's four 8-bit palettes, one per display context
// (the menus, and a hunt in each scenario), made together from every
// picture shown with them.
//
// Layout of every palette: entry 0 is black, the colour key and transparent
// index of the game's pictures, which no visible pixel takes. Then come the
// colours of the few-colour pictures shown everywhere (the mouse pointer),
// the same in every palette. The menu palette continues with the colours
// reduced from the menu pictures. A scenario palette continues with the
// colours of the few-colour pictures over the hunt (the radar marks) and a
// bank of colours that all three scenario palettes share at the same indices (for
// the pictures shown over the hunt in every scenario: the hunt display, the
// radar marks, the binoculars, smoke, the options box, the end pictures; one
// of them is the binocular lens colour, which is never seen), then the
// scenario's own bank for what fills its screen (ground at every haze level,
// panorama, trees) and for the sprites seen there (animals, jeep, guns).

#include "palette/WrittenPicture.h"

#include "imaging/PaletteEntry.h"

#include <array>
#include <cstdint>
#include <vector>

class CContextPalettes {
public:
    static constexpr int kContexts = 4; // menus, desert, plains, grass land
    // Entries all three scenario palettes share for the pictures over the hunt.
    static constexpr int kSharedColours = 160;
    // A picture with no more opaque colours than this gets them as fixed
    // palette entries in every context it is shown in.
    static constexpr int kFewColours = 4;

    // `pictures` are every recorded picture; `own[i]` is picture i in its own
    // colours when it keeps them (PaletteUse::Own and Ground), else unused.
    void Build(const std::vector<RecordedPicture>& pictures, const std::vector<WrittenPicture>& own);

    const std::array<PaletteEntry, 256>& Palette(int context) const { return m_palettes[size_t(context)]; }
    static const char* FileName(int context);
    static uint32_t Group(int context);

    // The palette a picture shown in `groups` is written in, and which of its
    // entries visible pixels may take (entry 0 never). False for groups
    // without a palette.
    bool PaletteFor(uint32_t groups, std::array<PaletteEntry, 256>& entries, std::vector<bool>& usable) const;

    // The entry of the scenario palettes that the binoculars' lens takes
    // (their picture's colour at (200, 200), where the game puts the
    // magnified view), -1 without binoculars. Their body never uses it.
    int LensIndex() const { return m_lens; }
    static constexpr int kLensX = 200, kLensY = 200;

private:
    void ChooseLens(const std::vector<RecordedPicture>& pictures);

    std::array<std::array<PaletteEntry, 256>, kContexts> m_palettes{};
    int m_everywhere = 0;  // fixed colours in every palette, from entry 1
    int m_overHunt = 0;    // entries 1 .. m_overHunt of a scenario palette serve every scenario
    int m_lens = -1;
};
