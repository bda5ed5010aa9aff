#pragma once
// CWorldObject: what stands on the savannah and is drawn as a scaled sprite:
// trees, animals and the jeep. Its place, size and picture are its own; its
// distance and angle to the hunter and its screen rectangle are what the
// world measured and projected this tick. The world view draws the visible
// ones far to near.

#include "gamedata/GameIds.h"

#include <cstdint>

class CDib;

struct ScreenRect {
    int left = 0, top = 0, width = 0, height = 0;
    bool Contains(int x, int y) const { return x >= left && x < left + width && y >= top && y < top + height; }
};

// A shot on its way through the draw list, nearest object first: where it
// goes on the screen (the weapon's aim point), and whether an animal has
// taken it yet.
struct Shot {
    int aimX = 0, aimY = 0;
    bool spent = false;
};

class CWorldObject {
public:
    CWorldObject() = default;
    CWorldObject(const CWorldObject&) = delete;
    CWorldObject& operator=(const CWorldObject&) = delete;
    virtual ~CWorldObject() = default;

    // Chooses the strip for the bearing from the hunter to the object.
    virtual void SetBearing(double /*bearing*/) {}
    // A shot not yet spent whose aim point lies in the screen rectangle: the
    // object may take it (and spend it). The kind it brought down, or none.
    virtual AnimalKind HitTest(Shot& /*shot*/) { return ANIMAL_NONE; }
    // A shot was fired while the object was in front of the hunter.
    virtual void OnShotHeard() {}
    // One tick of an object in view: its animation, and its motion over
    // `seconds`.
    virtual void Step(double /*seconds*/) {}
    // Draws the current frame of the current strip, scaled into the screen
    // rectangle, with the strip's colour key.
    virtual void Draw(CDib& target);
    virtual CDib* CurrentSprite() const { return sprites ? sprites[0] : nullptr; }

    int frameWidth = 0, frameHeight = 0;
    int frameIndex = 0;
    ScreenRect screen;
    CDib* const* sprites = nullptr; // the first of the object's strips
    double size = 0;                // height in world units
    double x = 0, y = 0;
    double distance = 0;            // to the hunter, this tick
    double relAngle = 0;            // view angle minus bearing to the object, in (−π, π]
    // Drawn at any distance rather than within the drawn range (the jeep:
    // the hunter must be able to find it again).
    bool drawnAtAnyRange = false;
};

// A tree: one strip of one frame.
class CTree final : public CWorldObject {
};
