#pragma once
// CMainFrame: the game's one window and everything it owns: the display
// context and viewport, the keyboard, the screens, the hunt world, the video
// player and the sound device. The application calls its pass over and over,
// giving each pass the time it took; the game itself runs in fixed ticks of
// its own clock (CSimulationClock), as many as that time holds, and each pass
// draws what the latest tick left. The timers run on the same clock and bring
// the slow events (wind and moods every 10 s, the end of a hunt 1 s after a
// kill, the return to the menu 10 s after an end picture).

#include "game/CMouse.h"
#include "game/CSimulationClock.h"
#include "game/CTimerQueue.h"
#include "game/CVolumeDisplay.h"
#include "game/GameSeams.h"
#include "game/GameTypes.h"
#include "gamedata/GameConfig.h"
#include "gamedata/GameFolders.h"
#include "imaging/DibRef.h"
#include "input/CInputManager.h"

#include <array>
#include <functional>
#include <memory>
#include <string>

struct SDL_Window;
class CDib;
class CDibPalette;
class CDibDD;
class CDibDDContext;
class CDibDDViewport;
class CHudScreen;
class CScreen;
class CSoundDevice;
enum class FocusDirection; // CScreen.h

// Timer ids.
constexpr int TIMER_WIND = 1;
constexpr int TIMER_HUNT_END = 3;
constexpr int TIMER_BACK_TO_MENU = 4;
// Refills streamed sounds (and notices a lost sound device) a few times a second.
constexpr int TIMER_SOUND = 5;

struct FrameSettings {
    bool fullScreen = true; // the viewport's full-screen flag (flags 0x13)
    bool playVideo = true;
    bool vsync = true;
    // The picture enlarged smoothly to fill the window, not by whole numbers.
    bool smoothScaling = false;
    int windowScale = 1;
    // Where "config.dat" is read and "trophy.bin" kept (by default the
    // current folder, the game folder), and whether trophies may be written
    // there (not when the player's own folder cannot be written).
    PlayerFiles playerFiles;
    bool keepTrophies = true;
    // The most game time one pass may give (seconds; 0: no limit). A stalled
    // pass then slows the game down instead of making it jump.
    double longestPass = 0;
};

class CMainFrame {
public:
    CMainFrame();
    ~CMainFrame();
    CMainFrame(const CMainFrame&) = delete;
    CMainFrame& operator=(const CMainFrame&) = delete;

    // Frame creation: seeds the random generator, creates the display
    // context and the viewport object. False when the display cannot start.
    bool Create(SDL_Window* window, uint32_t seed, const FrameSettings& settings);
    // The first move: reads "config.dat" and builds the game, in order.
    void OnFirstMove();
    bool IsInitialised() const { return m_initialised; }
    // One pass: gives the game the pass's time, runs the ticks that are due
    // and, when the picture has changed, draws and shows it. True when it
    // showed a new picture; false when nothing changed (nothing is drawn or
    // shown again), while the intro plays and in the background.
    bool RunFrame();
    // How long the loop may sleep waiting for input before a pass has work
    // again (ms): until the next timer, the tick that takes input already
    // given, the end of the volume sign, or the sound's refill while paused.
    int MillisecondsToNextNeed() const;
    // Pictures shown by passes so far.
    int64_t Presents() const { return m_presents; }
    // One tick of the game: the timers due, the keyboard and the current
    // screen polled, the item activated acted on, the hunt stepped.
    void RunTick();
    void OnTimer(int id);
    // Focus lost or regained; on regaining, `keysDown` (256 bytes, bit 7
    // set for the keys held at that moment, or null) tells the keyboard what
    // is held, so that a key held through the change reads as held.
    void OnActivateApp(bool active, const uint8_t* keysDown = nullptr);
    void OnPaint();
    // Shutdown, in order.
    void Destroy();

    // Builds (quarry 0..6, weapon 0..5, scenario 1..3) or releases (-1, -1,
    // 0) a hunt. False when a file the hunt needs is missing or broken: the
    // hunt is released again, the file named on standard error and in the
    // trace.
    bool LoadHunt(int quarry, int weapon, int scenario);
    // Straight into a hunt from wherever the game is (the --hunt option):
    // false, back on the main menu, when the hunt cannot be built.
    bool StartHunt(int quarry, int weapon, int scenario);
    // Called by the pass when the current screen reports an activated item:
    // does what the item asks and follows its target.
    void ActOnItem(int item);

    // Input from the event loop.
    void OnKey(uint8_t key, bool down);
    void OnMouseMove(int x, int y);
    void OnMouseButton(bool down);
    // The pad's focus: the pointer moves onto the next item of the current
    // menu that way (CScreen::FocusNeighbour), which lights it as the mouse
    // would; a click then acts on it. Nothing in a hunt or the intro.
    void MoveFocus(FocusDirection direction);
    void OnDisplayReset();

    void PostClose() { m_closeRequested = true; }
    // The game's data was not found where it was looked for (no cursor).
    bool DataMissing() const { return m_dataMissing; }
    bool CloseRequested() const { return m_closeRequested; }
    // The time of the coming pass in seconds (measured, or fixed in a
    // replay): game time for the ticks, play time for the intro video. It
    // stays until set again; at first it is one tick.
    void SetFrameTime(double seconds) { m_frameTime = seconds; }
    double FrameTime() const { return m_frameTime; }
    const CSimulationClock& GameClock() const { return m_gameClock; }
    // Told around every tick; null for none. It must outlive the frame's passes.
    void SetTickListener(ITickListener* listener) { m_tickListener = listener; }

    // Seams for later parts and for tests; set before OnFirstMove.
    void SetHuntWorld(std::unique_ptr<IHuntWorld> world) { m_hunt = std::move(world); }
    void SetVideoPlayer(std::unique_ptr<IVideoPlayer> video) { m_video = std::move(video); }
    void SetSoundDevice(std::unique_ptr<CSoundDevice> sound);
    void SetHelpOpener(std::function<void(const std::string&)> opener) { m_openHelp = std::move(opener); }

    ScreenId CurrentScreenId() const;
    // The options box is the pause: while it shows, the game's clock, its
    // timers and every stopwatch reading them stand still. Escape or Pause
    // in a hunt opens it, and either closes it again.
    bool Paused() const { return CurrentScreenId() == ScreenId::Options; }
    CScreen* Screen(ScreenId id) const { return IsScreen(id) ? m_screens[ScreenIndex(id)].get() : nullptr; }
    CHudScreen* Hud() const;
    CDib* BackBuffer() const;
    CDibDDViewport* Viewport() const { return m_viewport.get(); }
    CTimerQueue& Timers() { return m_timers; }
    CSoundDevice* Sound() const { return m_sound.get(); }
    IHuntWorld& Hunt() const { return *m_hunt; }
    const GameConfig& Config() const { return m_config; }
    int QuarryKind() const { return m_quarryKind; }
    bool IsActive() const { return m_active; }
    // The master volume (0..kVolumeSteps) and the mute, as the keys left
    // them; kept in "config.dat" at every change.
    int Volume() const { return m_volume; }
    bool Muted() const { return m_muted; }
    const CVolumeDisplay& VolumeDisplay() const { return m_volumeDisplay; }
    // The controls' states after this pass's poll.
    HuntInput ReadControls() const;

private:
    void ChangeScreen(ScreenId target, bool keepStates, bool drawHuntFirst);
    // A pass while paused: no game time, only the options box's input.
    void RunPausedPass();
    // Escape or Pause pressed since they were last looked at.
    bool TakePauseKey();
    // The volume keys: true when the key was one of them.
    bool OnVolumeKey(uint8_t key);
    void ApplyVolume();
    // Input arrived: the picture changes (the pointer), and so may the
    // screen once a tick has polled it.
    void NoteInput();
    // Drops the clicks and key presses not yet taken (they were the intro's).
    void ForgetInput();
    // Puts `palette` on the back buffer and the screen (8 bits only).
    void ShowPalette(CDibPalette* palette);
    // The intro's palette while it plays; the menus' again once it is over.
    void ShowIntroPalette();
    void RestoreMenuPalette();
    void OpenHelp();
    void StartChosenHunt();

    CSimulationClock m_gameClock;
    CTimerQueue m_timers;
    ITickListener* m_tickListener = nullptr;
    SDL_Window* m_window = nullptr;
    FrameSettings m_settings;
    std::unique_ptr<CDibDDContext> m_context;
    std::unique_ptr<CDibDDViewport> m_viewport;
    std::unique_ptr<CSoundDevice> m_sound;
    std::unique_ptr<IVideoPlayer> m_video;
    std::unique_ptr<IHuntWorld> m_hunt;
    std::unique_ptr<CInputManager> m_input;
    std::array<InputControlHandle, HUNT_CONTROL_COUNT> m_controls{};
    GameConfig m_config;
    CMouse m_mouse;
    DibRef<CDibDD> m_cursor;
    DibRef<CDibDD> m_palettePicture;
    // 8 bits: the intro's own palette, shown while it plays (the menus'
    // palette in m_palettePicture comes back after it).
    DibRef<CDibDD> m_introPalette;
    bool m_introPaletteShown = false;
    std::array<std::unique_ptr<CScreen>, SCREEN_COUNT> m_screens;
    CScreen* m_current = nullptr;
    std::function<void(const std::string&)> m_openHelp;

    bool m_active = true;
    bool m_wasDeactivated = false;
    bool m_initialised = false;
    bool m_closeRequested = false;
    bool m_dataMissing = false;
    // Key presses while the intro plays, taken by the next pass.
    int m_introKeyPresses = 0;
    // Escape and Pause presses not yet taken by a tick or a paused pass.
    int m_pauseKeyPresses = 0;
    // Real time since the sound was last serviced while paused (its timer
    // stands still with the game's clock).
    double m_pausedSoundTime = 0;
    int m_volume = kVolumeSteps;
    bool m_muted = false;
    CVolumeDisplay m_volumeDisplay;
    // The volume sign was shown or went since the last pass looked.
    bool m_volumeSignChanged = false;
    // The picture needs drawing and showing again.
    bool m_dirty = true;
    // Input not yet polled by a tick (or a paused pass), or a new screen not
    // polled yet: the next poll may change the picture.
    bool m_inputPending = false;
    int64_t m_presents = 0;
    int m_quarryKind = 0;
    double m_frameTime = CSimulationClock::kTickSeconds;
};
