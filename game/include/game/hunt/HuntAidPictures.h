#pragma once
// What the hunting aids draw (gamedata's HuntAids; nothing unless the player
// turned an aid on): the radar dot of the quarry's kind and the reticle at
// the weapon's aim point. Both take the target's own colours, the nearest
// palette entries in 8 bits, so they show in either depth whatever the
// scenario's palette.

#include <cstdint>

class CDib;

// The radar's animal dot with its reds turned to cyan (red into green and
// blue, the shading kept): the same dot, told apart at a glance, also by
// players who confuse red with green. Made in the target's format (and
// palette); false, with `quarryDot` destroyed, when the source is no
// palettised picture or the target has no pixels.
bool MakeQuarryDot(CDib& dotSource, CDib& target, CDib& quarryDot);

// The colour a dot colour turns to.
struct AidColour {
    uint8_t red, green, blue;
};
constexpr AidColour QuarryColourOf(uint8_t red, uint8_t green, uint8_t /*blue*/)
{
    return {green, red, red};
}

// The reticle: a light cross whose arms start kGap pixels from its centre
// pixel and run kArm pixels, and a light centre pixel exactly on (x, y), all
// edged with a dark pixel so that it shows on the sky and on the ground.
struct AimReticle {
    static constexpr int kGap = 3, kArm = 4;
    static constexpr AidColour kLight{255, 250, 230}, kDark{16, 16, 16};
};
void DrawAimReticle(CDib& target, int x, int y);
