#pragma once
// The hunt display at the right edge of the view: compass, wind indicator,
// the binocular, drive and aim toggles and the options button. It polls the
// three toggle keys besides the mouse, and the toggles exclude one another:
// only one of binoculars, aim and driving is on at a time, and driving
// changes only while the jeep stands still.

#include "game/CScreen.h"
#include "input/CInputManager.h"

#include <functional>

// Item numbers of the hunt display.
enum HudItem : int {
    HUD_COMPASS = 0,
    HUD_WIND = 1,
    HUD_BINOCULARS = 2,
    HUD_DRIVE = 3,
    HUD_AIM = 4,
    HUD_OPTIONS = 5,
};

// What the hunt display reads besides the mouse.
struct HudBindings {
    const CInputManager* input = nullptr;
    InputControlHandle aimKey = nullptr;        // "keybut1"
    InputControlHandle binocularKey = nullptr;  // "keybut2"
    InputControlHandle driveKey = nullptr;      // "keybut3"
    std::function<bool()> jeepStandsStill;      // null: always
};

class CHudScreen : public CScreen {
public:
    CHudScreen(CDib* backBuffer, CMouse* mouse);
    void Bind(HudBindings bindings) { m_bindings = std::move(bindings); }

    // Keys first (aim, binoculars, drive; each later one overrides), then a
    // click; the item hit flips if the others allow it. The hit item comes
    // back also when the flip was refused. No hover highlight.
    int Poll() override;

    bool Driving() const { return Item(HUD_DRIVE).frame == 1; }
    bool Binoculars() const { return Item(HUD_BINOCULARS).frame == 1; }
    bool Aiming() const { return Item(HUD_AIM).frame == 1; }
    void SetDriving(bool on) { Item(HUD_DRIVE).frame = on ? 1 : 0; }
    void SetCompassFrame(int frame) { Item(HUD_COMPASS).frame = frame; }
    void SetWindFrame(int frame) { Item(HUD_WIND).frame = frame; }

private:
    bool KeyPressed(InputControlHandle key) const;
    bool MayFlip(ItemAction action) const;

    HudBindings m_bindings;
};
