#pragma once
// CGamepad: the game pads SDL's game-controller interface finds, fed to the
// frame on the keyboard's and the mouse's own paths. Each pad has its own
// translator (input/CPadTranslator.h): in a hunt its buttons press the keys
// "config.dat" binds to the controls (and Escape), so the hunt's ticks, the
// state log and replays see nothing but keys; in the menus they move the
// pointer between items and click. Pads come and go while the game runs; one
// pulled out lets go of whatever it held.

#include "input/CPadTranslator.h"

#include <SDL.h>
#include <memory>
#include <vector>

class CMainFrame;

class CGamepad {
public:
    CGamepad() = default;
    CGamepad(const CGamepad&) = delete;
    CGamepad& operator=(const CGamepad&) = delete;
    ~CGamepad();

    // A pad's event (added, removed, button, axis) acted on: true. Other
    // events are left to the caller.
    bool HandleEvent(const SDL_Event& event, CMainFrame& frame);
    // Lets go of everything every pad holds and closes them (before the
    // frame goes, so that no key stays down in it).
    void CloseAll(CMainFrame& frame);
    int OpenCount() const { return int(m_pads.size()); }

private:
    struct ControllerCloser {
        void operator()(SDL_GameController* controller) const { SDL_GameControllerClose(controller); }
    };
    struct Pad {
        SDL_JoystickID id = -1;
        std::unique_ptr<SDL_GameController, ControllerCloser> controller;
        CPadTranslator translator;
    };

    Pad* Find(SDL_JoystickID id);
    void Open(int deviceIndex);
    void Close(SDL_JoystickID id, CMainFrame& frame);
    // The translator follows the frame's screen, then takes the input.
    void Feed(Pad& pad, CMainFrame& frame, PadInput input, bool down);
    void FeedAxis(Pad& pad, CMainFrame& frame, PadAxis axis, int value);
    void Follow(Pad& pad, CMainFrame& frame);
    void Apply(CMainFrame& frame);

    std::vector<std::unique_ptr<Pad>> m_pads;
    std::vector<PadEvent> m_events; // kept between calls for its storage
};
