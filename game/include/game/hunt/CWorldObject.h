#pragma once
// CWorldObject: what stands on the savannah and is drawn as a scaled sprite:
// trees, animals and the jeep. The hunt step measures each object's distance
// and angle to the hunter, the world view projects it onto the screen and
// draws the visible ones far to near.

#include <cstdint>

class CDib;

struct ScreenRect {
    int left = 0, top = 0, width = 0, height = 0;
    bool Contains(int x, int y) const { return x >= left && x < left + width && y >= top && y < top + height; }
};

class CWorldObject {
public:
    CWorldObject() = default;
    CWorldObject(const CWorldObject&) = delete;
    CWorldObject& operator=(const CWorldObject&) = delete;
    virtual ~CWorldObject() = default;

    // Chooses the strip for the bearing from the hunter to the object.
    virtual void SetBearing(double /*bearing*/) {}
    // The kind brought down by a shot at the aim point, or -1. An object that
    // takes the bullet clears `shot`.
    virtual int HitTest(const ScreenRect& /*rect*/, double /*viewAngle*/, bool& /*shot*/) { return -1; }
    virtual void SetState(int /*state*/) {}
    // Advances the animation of an object in view; its part of the kill report.
    virtual uint32_t Step() { return 0; }
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
    double distance = 0;            // to the hunter, this pass
    double relAngle = 0;            // view angle minus bearing to the object, in (−π, π]
};

// A tree: one strip of one frame.
class CTree final : public CWorldObject {
};
