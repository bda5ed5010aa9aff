#pragma once
// CAutoPlayer: a bot that plays the game through the inputs a player has:
// key presses and releases and mouse clicks, handed to the game as scripted
// events before each tick. It looks at the hunt the way a player looks at
// the screen and the radar (where the animals are, what is in the sights),
// but never changes the world itself.
//
// Modes: Hunt (bag the quarry), Poach (shoot another kind: jail), Stray
// (walk away from the jeep until something kills the hunter) and Wander
// (drive off the map: lost). From the main menu it clicks its way into a
// hunt with the menus' preselected choices.

#include "game/CMainFrame.h"
#include "game/InputScript.h"

#include <cstdint>
#include <set>
#include <string>
#include <vector>

class CAnimal;
class CWorldObject;
class CHuntWorld;

enum class AutoplayMode { Hunt, Poach, Stray, Wander };

// "hunt", "poach", "stray", "wander"; false for other words.
bool ParseAutoplayMode(const std::string& word, AutoplayMode& mode);

class CAutoPlayer {
public:
    CAutoPlayer(AutoplayMode mode, const CHuntWorld& hunt);

    // The events of the coming tick, decided from what the frame shows now.
    std::vector<ScriptEvent> Plan(const CMainFrame& frame);
    // Set once an end picture has been shown for a few seconds.
    bool WantsToQuit() const { return m_quit; }

private:
    struct Keys {
        uint8_t left, right, up, down, fire, gun, binoculars, jeep;
    };

    void PlanMenus(const CMainFrame& frame);
    void PlanHunt(const CMainFrame& frame);
    void Hunt(const CMainFrame& frame, bool poach);
    void Stray(const CMainFrame& frame);
    void Wander(const CMainFrame& frame);
    // The steps shared by the modes.
    bool LowerEverything(const CMainFrame& frame);
    void DriveTowards(double bearing, bool stopShort, double distance);
    bool StopTheJeep();
    // Gets into the standing jeep; false while it still moves.
    bool Board();
    // Whether an object is in (or at the edge of) the hunter's view: only
    // what he sees moves.
    bool InFront(const CWorldObject& object) const;
    // An animal on the move with its heading on the hunter.
    bool ComingAtTheHunter(const CAnimal& animal) const;
    void Face(double bearing, double tolerance);
    void Aim(const CMainFrame& frame, const CAnimal& target);
    const CAnimal* ChooseTarget(bool poach) const;
    // An animal in view coming at the hunter on foot, or one mauling him
    // (the quarry, while the gun is ready, only when it is nearly on him).
    bool Threatened(const CAnimal* quarry, bool gunReady) const;
    // A live animal in view other than `except` within `within` units of
    // the hunter.
    bool AnimalNear(const CAnimal* except, double within) const;
    // Something close ahead to steer round; `brake` when it is an animal in
    // the jeep's path, whose distance then goes to `animalAhead`.
    bool SomethingInTheWay(bool driving, double& avoidSide, bool& brake, double* animalAhead = nullptr) const;

    void Hold(uint8_t key) { m_want.insert(key); }
    void Tap(uint8_t key) { m_taps.push_back(key); }
    void Click(int x, int y);

    AutoplayMode m_mode;
    const CHuntWorld& m_hunt;
    Keys m_keys{};
    std::set<uint8_t> m_held, m_want;
    std::vector<uint8_t> m_taps;
    std::vector<ScriptEvent> m_events;
    double m_endSeconds = 0;
    bool m_quit = false;
    int m_cooldown = 0;   // ticks to wait after a toggle, so the display follows
    int m_stuckPasses = 0;
    int m_detour = 0;     // ticks left of steering round an obstacle
    double m_detourSide = 0;
    int m_reverse = 0;    // ticks left of backing away from an animal ahead
};
