#pragma once
// The parts of the game behind narrow seams, so the frame can be tested with
// fakes: the hunt world (movement, animals, weapons, renderer) and the intro
// video. The frame owns one of each and calls them from its pass and its
// timers.

#include "game/GameTypes.h"
#include "gamedata/GameConfig.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>

class CDib;
class CDibDDViewport;
class CSoundDevice;
class IClock;

// The eight bound controls, in the order the frame registers them.
enum class HuntControl : int { Left, Right, Up, Down, Button1, Button2, Button3, Button0 };
constexpr int HUNT_CONTROL_COUNT = 8;

// The controls' states for one pass: bit 31 while held, bits 0-7 the presses
// since the previous poll.
struct HuntInput {
    std::array<uint32_t, HUNT_CONTROL_COUNT> states{};

    bool Held(HuntControl control) const { return (states[size_t(control)] & 0x80000000u) != 0; }
    // Pressed since the last poll: the press count, read as a signed byte, is
    // above 0.
    bool Pressed(HuntControl control) const { return int8_t(states[size_t(control)] & 0xFF) > 0; }
};

// The hunt display's three toggles.
struct HuntToggles {
    bool drive = false, binoculars = false, aim = false;
};

// Whether the hunter is still hunting, or how his hunt ended badly.
enum class HuntEndStatus : int {
    Running = 0,
    Killed = 1, // mauled, or strayed more than 1500 units from the jeep
    Lost = 2,   // drove more than 1000 units off the map
};

// How a hunt ends: an end picture and the trophy to record (none: 0).
struct HuntEnd {
    ScreenId picture = ScreenId::None;
    int trophy = ANIMAL_NONE;
};

// What the hunt is given once, when the frame builds the game.
struct HuntSetup {
    CDib* back = nullptr;
    CSoundDevice* sound = nullptr;
    const IClock* clock = nullptr;
    // The aids the player turned on in "config.dat" (none by default).
    HuntAids aids;
};

class IHuntWorld {
public:
    virtual ~IHuntWorld() = default;
    // Creates the hunt's objects for the back buffer (the world view, the
    // animals, the jeep).
    virtual void Init(const HuntSetup& setup) = 0;
    // The hunt's own part of building (quarry >= 0) or releasing (quarry -1)
    // a hunt, after the frame has reset the screen, palette and cursor.
    // False when a file the hunt cannot do without is missing or broken;
    // `problem` then names it and the hunt is released again.
    virtual bool LoadHunt(int quarry, int weapon, int scenario, std::string& problem) = 0;
    // The hunt display switched a toggle (drive, aim or binoculars) to `on`.
    virtual void OnToggle(ItemAction toggle, bool on) = 0;
    // One tick of the hunt with the controls, the hunt display's toggles and
    // the tick's length in seconds: movement, the animals, the shot, and the
    // animations of what is in view. Returns the kill report of this tick.
    virtual uint32_t Step(const HuntInput& input, const HuntToggles& toggles, double seconds) = 0;
    // Draws the world as the last tick left it, with its overlays, into the
    // back buffer; changes nothing, however often it runs. Draws nothing
    // while no hunt is loaded.
    virtual void Render() = 0;
    virtual HuntEndStatus EndStatus() const = 0;
    // The end the hunt's outcome calls for, if any.
    virtual HuntEnd DecideEnd() = 0;
    // The end picture shows: every sound of the hunt stops (the engine, a
    // looping attack), while the hunt stays as it is behind the picture.
    virtual void Silence() = 0;
    // Every 10 s while hunting: wind and animal moods.
    virtual void OnWindTimer() = 0;
    virtual void ClearDrawList() = 0;
    // What the hunt display shows.
    virtual int CompassFrame() const = 0;
    virtual int WindFrame() const = 0;
    // Driving may be switched on or off only while the jeep stands still.
    virtual bool JeepStandsStill() const = 0;
};

// Told around every simulation tick of the frame: before it (scripted input
// and the bot act then) and after it (the state log).
class ITickListener {
public:
    virtual ~ITickListener() = default;
    // `tick` counts from 1; `seconds` is the game time the tick starts at
    // (before) or has reached (after).
    virtual void BeforeTick(int64_t tick, double seconds) = 0;
    virtual void AfterTick(int64_t tick, double seconds) = 0;
};

class IVideoPlayer {
public:
    virtual ~IVideoPlayer() = default;
    virtual bool Open(const char* file, CDibDDViewport* viewport) = 0;
    virtual void Play() = 0;
    virtual bool IsPlaying() const = 0;
    virtual void Stop() = 0;
    virtual void Close() = 0;
    // Once a pass while the video plays: `seconds` of play time have gone by
    // (the fixed frame time in deterministic runs); shows the frame due now.
    virtual void Tick(double seconds) = 0;
    // Drawn over every frame before it is shown (the volume sign); empty for
    // nothing.
    using Overlay = std::function<void(CDib* back)>;
    virtual void SetOverlay(Overlay overlay) = 0;
    // While playing: shows the frame shown last again, with the overlay as
    // it is now (it changed between two frames).
    virtual void ShowAgain() = 0;
};

// What a frame holds until it is given the real parts (tests of the menus
// never give them): no hunt world (nothing is drawn, the hunt never ends),
// no video.
class CNoHuntWorld final : public IHuntWorld {
public:
    void Init(const HuntSetup&) override {}
    bool LoadHunt(int, int, int, std::string&) override { return true; }
    void OnToggle(ItemAction, bool) override {}
    uint32_t Step(const HuntInput&, const HuntToggles&, double) override { return 0; }
    void Render() override {}
    HuntEndStatus EndStatus() const override { return HuntEndStatus::Running; }
    HuntEnd DecideEnd() override { return {}; }
    void Silence() override {}
    void OnWindTimer() override {}
    void ClearDrawList() override {}
    int CompassFrame() const override { return 0; }
    int WindFrame() const override { return 0; }
    bool JeepStandsStill() const override { return true; }
};

class CNoVideo final : public IVideoPlayer {
public:
    bool Open(const char*, CDibDDViewport*) override { return false; }
    void Play() override {}
    bool IsPlaying() const override { return false; }
    void Stop() override {}
    void Close() override {}
    void Tick(double) override {}
    void SetOverlay(Overlay) override {}
    void ShowAgain() override {}
};
