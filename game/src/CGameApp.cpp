#include "game/CGameApp.h"
#include "game/InputScript.h"

#include "common/AtomicFile.h"
#include "common/DebugTrace.h"
#include "common/KeyCodes.h"
#include "display/CDibDDViewport.h"
#include "display/ScreenPresenter.h"
#include "game/AudioDeviceChoice.h"
#include "game/CAutoPlayer.h"
#include "game/CGamepad.h"
#include "game/CIntroVideo.h"
#include "game/CMainFrame.h"
#include "game/CStateLog.h"
#include "game/hunt/CHuntWorld.h"
#include "gamedata/CConfigFile.h"
#include "gamedata/GameFolders.h"
#include "imaging/PngWriter.h"
#include "media/CDirectSoundDevice.h"
#include "media/CSoundRecorder.h"
#include "windowicon/SdlWindowIcon.h"
#include "gamedata/ScreenTables.h"
#include "gamedata/HuntTables.h"

#include <SDL.h>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <sys/resource.h>
#include <unistd.h>

namespace {

std::string DumpName(const std::string& pattern, long pass)
{
    std::string name = pattern;
    const size_t at = name.find("%d");
    const std::string number = std::to_string(pass);
    if (at == std::string::npos)
        return name + "." + number + ".png";
    return name.replace(at, 2, number);
}

// The keys held now as the system knows them, in the keyboard's numbering
// (bit 7 set for a key that is down).
std::array<uint8_t, 256> KeysHeldNow()
{
    std::array<uint8_t, 256> held{};
    int count = 0;
    const Uint8* state = SDL_GetKeyboardState(&count);
    for (int code = 0; state && code < count; ++code)
        if (state[code])
            if (const uint8_t key = DikFromSdlScancode(SDL_Scancode(code)))
                held[key] = 0x80;
    return held;
}

// The refresh rate of the window's display, 60 when it does not say.
int DisplayRefreshRate(SDL_Window* window)
{
    SDL_DisplayMode mode{};
    const int display = SDL_GetWindowDisplayIndex(window);
    if (display >= 0 && SDL_GetCurrentDisplayMode(display, &mode) == 0 && mode.refresh_rate >= 24 &&
        mode.refresh_rate <= 500)
        return mode.refresh_rate;
    return 60;
}

void HandleEvent(const SDL_Event& event, CMainFrame& frame, CGamepad& pads, bool& quit)
{
    if (pads.HandleEvent(event, frame))
        return;
    switch (event.type) {
    case SDL_QUIT:
        quit = true;
        break;
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
        const bool down = event.type == SDL_KEYDOWN;
        if (down && event.key.keysym.scancode == SDL_SCANCODE_RETURN && (event.key.keysym.mod & KMOD_ALT)) {
            if (frame.Viewport())
                frame.Viewport()->Presenter().ToggleFullScreen();
            break;
        }
        if (uint8_t key = DikFromSdlScancode(event.key.keysym.scancode))
            frame.OnKey(key, down);
        break;
    }
    case SDL_MOUSEMOTION:
        // With a logical render size SDL reports positions in back-buffer
        // coordinates already; keep them on the frame.
        frame.OnMouseMove(std::clamp(event.motion.x, 0, 639), std::clamp(event.motion.y, 0, 479));
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        if (event.button.button == SDL_BUTTON_LEFT) {
            frame.OnMouseMove(std::clamp(event.button.x, 0, 639), std::clamp(event.button.y, 0, 479));
            frame.OnMouseButton(event.type == SDL_MOUSEBUTTONDOWN);
        }
        break;
    case SDL_WINDOWEVENT:
        if (event.window.event == SDL_WINDOWEVENT_FOCUS_GAINED || event.window.event == SDL_WINDOWEVENT_FOCUS_LOST) {
            const bool focused = event.window.event == SDL_WINDOWEVENT_FOCUS_GAINED;
            const std::array<uint8_t, 256> held = focused ? KeysHeldNow() : std::array<uint8_t, 256>{};
            frame.OnActivateApp(focused, held.data());
            if (frame.Viewport())
                frame.Viewport()->Presenter().OnFocusChanged(focused);
        } else if (event.window.event == SDL_WINDOWEVENT_EXPOSED ||
                   event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
            frame.OnPaint();
        }
        break;
    case SDL_RENDER_TARGETS_RESET:
    case SDL_RENDER_DEVICE_RESET:
        frame.OnDisplayReset();
        break;
    default:
        break;
    }
}

// The keyboard as a script plays it: the keys its events hold down, also
// while the window is in the background, where the game hears none of them.
struct ScriptKeyboard {
    std::array<uint8_t, 256> held{};
};

void ApplyScriptEvent(const ScriptEvent& event, CMainFrame& frame, ScriptKeyboard& keyboard, bool& quit)
{
    switch (event.kind) {
    case ScriptEvent::Key:
        keyboard.held[uint8_t(event.a)] = event.b != 0 ? 0x80 : 0;
        frame.OnKey(uint8_t(event.a), event.b != 0);
        break;
    case ScriptEvent::Mouse: frame.OnMouseMove(std::clamp(event.a, 0, 639), std::clamp(event.b, 0, 479)); break;
    case ScriptEvent::Button: frame.OnMouseButton(event.a != 0); break;
    case ScriptEvent::Focus: frame.OnActivateApp(event.a != 0, keyboard.held.data()); break;
    case ScriptEvent::Quit:
        quit = true;
        frame.PostClose(); // no tick runs after it
        break;
    }
}

// What the program does around each tick of the frame: before it, the
// script's events by game time and the bot's keys; after it, the state log.
class CTickDriver final : public ITickListener {
public:
    CTickDriver(CMainFrame& frame, const std::vector<ScriptEvent>& timed, ScriptKeyboard& keyboard, CAutoPlayer* bot,
                const CHuntWorld& hunt, CStateLog* log, bool& quit)
        : m_frame(frame), m_timed(timed), m_keyboard(keyboard), m_bot(bot), m_hunt(hunt), m_log(log), m_quit(quit)
    {
    }

    void BeforeTick(int64_t, double seconds) override
    {
        // Times are compared in whole microseconds, so that "0.15s" and the
        // tick that starts at three times 0.05 s meet.
        const auto micro = [](double t) { return std::llround(t * 1e6); };
        while (m_next < m_timed.size() && micro(m_timed[m_next].seconds) <= micro(seconds))
            ApplyScriptEvent(m_timed[m_next++], m_frame, m_keyboard, m_quit);
        if (m_bot && !m_quit) {
            for (const ScriptEvent& event : m_bot->Plan(m_frame))
                ApplyScriptEvent(event, m_frame, m_keyboard, m_quit);
            if (m_bot->WantsToQuit()) {
                m_quit = true;
                m_frame.PostClose();
            }
        }
    }
    void AfterTick(int64_t tick, double seconds) override
    {
        if (m_log)
            m_log->Record(tick, seconds, m_hunt);
    }

private:
    CMainFrame& m_frame;
    const std::vector<ScriptEvent>& m_timed;
    size_t m_next = 0;
    ScriptKeyboard& m_keyboard;
    CAutoPlayer* m_bot;
    const CHuntWorld& m_hunt;
    CStateLog* m_log;
    bool& m_quit;
};

} // namespace

int CGameApp::Run(const GameOptions& givenOptions)
{
    // Output names are relative to where the game was started, not to the
    // data folder it moves into.
    GameOptions options = givenOptions;
    if (options.listAudioDevices) {
        const CDirectSoundDevice device;
        if (!device.HasLibrary())
            std::fprintf(stderr, "Veldra: the sound library cannot be loaded; there is no output to list\n");
        std::fputs(AudioDeviceList(device).c_str(), stdout);
        return 0;
    }
    for (std::string* path : {&options.dumpPattern, &options.screenLog, &options.stateLog, &options.audioOut})
        if (!path->empty() && path->front() != '/') {
            char* cwd = ::getcwd(nullptr, 0);
            *path = std::string(cwd ? cwd : ".") + "/" + *path;
            std::free(cwd);
        }
    std::vector<ScriptEvent> script, timedScript;
    if (!options.scriptPath.empty()) {
        std::string error;
        if (!LoadInputScript(options.scriptPath, script, error)) {
            std::fprintf(stderr, "Veldra: %s: %s\n", options.scriptPath.c_str(), error.c_str());
            return 2;
        }
        // The events by game time come last; the frame's ticks take them.
        const auto firstTimed =
            std::find_if(script.begin(), script.end(), [](const ScriptEvent& event) { return event.Timed(); });
        timedScript.assign(firstTimed, script.end());
        script.erase(firstTimed, script.end());
    }
    // Without --data: the current folder when it holds the data, else the
    // data installed beside the program.
    const bool dataNamed = !options.dataFolder.empty();
    if (!dataNamed)
        options.dataFolder = DefaultGameFolder(RunningProgramPath());
    if (!options.dataFolder.empty() && ::chdir(options.dataFolder.c_str()) != 0) {
        std::fprintf(stderr, "Veldra: cannot enter the data folder %s\n", options.dataFolder.c_str());
        return 2;
    }
    // The player's files beside the data, or in his own data folder when the
    // game folder is read-only. Without a folder to write in the game still
    // plays (on the settings it can read, or the defaults); only the trophies
    // of this run cannot be kept, and the record already there stays whole.
    const PlayerFiles playerFiles = LocatePlayerFiles({});
    const std::string playerFolderProblem = PreparePlayerFolder(playerFiles);
    if (!playerFolderProblem.empty())
        std::fprintf(stderr, "Veldra: %s; the game plays on, but keeps no trophies this time\n",
                     playerFolderProblem.c_str());

    SDL_SetHint(SDL_HINT_VIDEO_HIGHDPI_DISABLED, "0");
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS | SDL_INIT_TIMER) != 0) {
        std::fprintf(stderr, "Veldra: no display: %s\n", SDL_GetError());
        return 1;
    }
    // Pads are a comfort: without them the game plays on keys and the mouse.
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0)
        DebugTrace("Veldra: no game pads: %s", SDL_GetError());
    // How the window was left, unless the options say otherwise; full screen
    // the first time.
    const GameConfig kept = CConfigFile(playerFiles.ConfigPath()).Read();
    FrameSettings settings;
    settings.fullScreen = options.fullScreen >= 0 ? options.fullScreen != 0 : kept.window.fullScreen != 0;
    settings.smoothScaling = kept.window.smoothScaling;
    settings.playVideo = options.playVideo && options.huntQuarry < 0;
    settings.vsync = options.vsync && options.fixedFrameTime == 0;
    settings.windowScale = options.scale;
    settings.playerFiles = playerFiles;
    settings.keepTrophies = playerFolderProblem.empty();
    // A measured pass gives the game at most a quarter of a second: after a
    // stall the game goes on where it was rather than leaping ahead.
    settings.longestPass = options.fixedFrameTime > 0 ? 0 : 0.25;
    SDL_Window* window = OpenScreenWindow("Veldra", kBackBufferWidth, kBackBufferHeight, settings.fullScreen);
    if (!window) {
        std::fprintf(stderr, "Veldra: cannot open a window: %s\n", SDL_GetError());
        SDL_Quit();
        return 1;
    }
    SetSdlWindowIcon(window, WindowIconOf::Game);
    if (!settings.fullScreen && !options.scaleGiven && kept.window.width > 0) {
        SDL_SetWindowSize(window, kept.window.width, kept.window.height);
        SDL_SetWindowPosition(window, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
    }
    SDL_ShowCursor(SDL_DISABLE); // the game draws its own pointer

    const bool fixed = options.fixedFrameTime > 0;

    int status = 0;
    {
        // Sound plays through the sound card, or into memory for --audio-out.
        std::unique_ptr<CDirectSoundDevice> sound =
            options.audioOut.empty() ? std::make_unique<CDirectSoundDevice>()
                                     : CDirectSoundDevice::CreateLoopback(MakePcmFormat(kSoundSampleRate, 16, 2));
        CDirectSoundDevice* soundDevice = sound.get();
        if (options.audioOut.empty()) {
            // The output named on the command line, else the one kept in config.dat.
            const std::string wanted = !options.audioDevice.empty() ? options.audioDevice : kept.audioDevice;
            if (const std::string problem = ChooseAudioDevice(*sound, wanted); !problem.empty())
                std::fprintf(stderr, "Veldra: %s\n", problem.c_str());
        }
        CMainFrame frame;
        auto huntWorld = std::make_unique<CHuntWorld>();
        const CHuntWorld& hunt = *huntWorld;
        std::unique_ptr<CAutoPlayer> bot;
        if (options.autoplay)
            bot = std::make_unique<CAutoPlayer>(AutoplayMode(options.autoplayMode), *huntWorld);
        frame.SetHuntWorld(std::move(huntWorld));
        frame.SetSoundDevice(std::move(sound));
        // The intro plays on the frame's viewport and sound device; the loop
        // below asks it when its next frame is due.
        auto introVideo = std::make_unique<CIntroVideo>(frame.Sound());
        const CIntroVideo* intro = introVideo.get();
        frame.SetVideoPlayer(std::move(introVideo));
        std::unique_ptr<CSoundRecorder> recorder;
        if (!options.audioOut.empty() && soundDevice)
            recorder = std::make_unique<CSoundRecorder>(*soundDevice);
        const uint32_t seed = options.seedGiven ? options.seed : uint32_t(std::time(nullptr));
        if (!frame.Create(window, seed, settings)) {
            std::fprintf(stderr, "Veldra: the display cannot start\n");
            status = 1;
        } else {
            // The frame switched the sound on as it was made: without an
            // output (no sound card, no audio library) the game plays on in
            // silence and says so, once.
            if (soundDevice && !soundDevice->IsOutputOpen())
                std::fprintf(stderr, "Veldra: no sound device could be opened; the game plays on without sound\n");
            frame.OnFirstMove();
            if (options.huntQuarry >= 0)
                frame.StartHunt(options.huntQuarry, options.huntWeapon, options.huntScenario);
            size_t nextScript = 0;
            std::string screenLog;
            int loggedScreen = int(ScreenId::None) - 1;
            bool quit = false;
            std::unique_ptr<CStateLog> stateLog;
            if (!options.stateLog.empty()) {
                stateLog = std::make_unique<CStateLog>();
                if (!stateLog->Open(options.stateLog)) {
                    std::fprintf(stderr, "Veldra: cannot write %s\n", options.stateLog.c_str());
                    stateLog.reset();
                }
            }
            // Pads present at the start are announced as plugged in by the
            // first events.
            CGamepad pads;
            ScriptKeyboard scriptKeys;
            CTickDriver ticks(frame, timedScript, scriptKeys, bot.get(), hunt, stateLog.get(), quit);
            frame.SetTickListener(&ticks);
            double lastPass = m_realTime.Seconds();
            double lastShown = lastPass;
            const double refreshPeriod = 1.0 / DisplayRefreshRate(window);
            for (long pass = 1; !quit; ++pass) {
                SDL_Event event;
                while (SDL_PollEvent(&event))
                    HandleEvent(event, frame, pads, quit);
                while (nextScript < script.size() && script[nextScript].pass <= pass)
                    ApplyScriptEvent(script[nextScript++], frame, scriptKeys, quit);
                if (quit || frame.CloseRequested())
                    break;

                // The pass's time: fixed in a replay, else measured over the
                // whole pass (the frame limits what the game takes of it).
                if (fixed) {
                    frame.SetFrameTime(options.fixedFrameTime);
                } else {
                    const double now = m_realTime.Seconds();
                    const double seconds = now - lastPass;
                    lastPass = now;
                    frame.SetFrameTime(pass == 1 ? 0.0 : seconds);
                }
                const bool shown = frame.RunFrame();
                if (recorder)
                    recorder->Advance(frame.FrameTime());
                if (int(frame.CurrentScreenId()) != loggedScreen) {
                    loggedScreen = int(frame.CurrentScreenId());
                    screenLog += std::to_string(pass) + " " + std::to_string(loggedScreen) + "\n";
                }

                if (!options.dumpPattern.empty() && (options.dumpAt.empty() || options.dumpAt.count(pass)))
                    if (!WriteImagePng(frame.BackBuffer(), DumpName(options.dumpPattern, pass)))
                        DebugTrace("Veldra: cannot write the dump of pass %ld", pass);
                if (options.maxPasses > 0 && pass >= options.maxPasses)
                    break;
                if (fixed)
                    continue;
                if (shown) {
                    // No pass shows pictures faster than the display does: a
                    // present that waited for the display's refresh has taken
                    // its time already, and one that did not waits here.
                    const double since = m_realTime.Seconds() - lastShown;
                    if (since < refreshPeriod)
                        SDL_Delay(uint32_t((refreshPeriod - since) * 1000.0));
                    lastShown = m_realTime.Seconds();
                } else {
                    // Nothing changed (or in the background, or while the
                    // intro plays): sleep until input comes or the game has
                    // work again (a timer, a tick for input given, the
                    // intro's next frame).
                    int64_t wait = frame.IsActive() ? frame.MillisecondsToNextNeed() : 50;
                    if (const double toFrame = intro->SecondsToNextFrame(); toFrame >= 0)
                        wait = std::min(wait, int64_t(std::ceil(toFrame * 1000.0)));
                    if (wait > 0)
                        SDL_WaitEventTimeout(nullptr, int(wait));
                }
            }
            pads.CloseAll(frame);
            frame.SetTickListener(nullptr);
            if (stateLog && !stateLog->Finish())
                std::fprintf(stderr, "Veldra: cannot write %s\n", options.stateLog.c_str());
            if (frame.DataMissing()) {
                char* here = ::getcwd(nullptr, 0);
                const std::string installed = InstalledDataFolder(RunningProgramPath());
                std::fprintf(stderr,
                             "Veldra: no game data in %s (\"menu/cursor.bmp\" is missing)%s%s; start the game in its "
                             "data folder or name that folder with --data DIR\n",
                             here ? here : ".", dataNamed || installed.empty() ? "" : " nor in ",
                             dataNamed ? "" : installed.c_str());
                std::free(here);
                status = 1;
            }
            if (recorder && recorder->Save(options.audioOut) != 0) {
                std::fprintf(stderr, "Veldra: cannot write %s\n", options.audioOut.c_str());
                status = 1;
            }
            if (!options.screenLog.empty() &&
                !WriteFileAtomically(options.screenLog, screenLog.data(), screenLog.size()))
                std::fprintf(stderr, "Veldra: cannot write %s\n", options.screenLog.c_str());
        }
        // The window as the player leaves it, for the next start (replays
        // and recordings leave the player's settings alone).
        if (!fixed && frame.Viewport() && frame.IsInitialised()) {
            WindowState left = kept.window;
            left.fullScreen = frame.Viewport()->Presenter().IsFullScreen() ? 1 : 0;
            if (!left.fullScreen)
                SDL_GetWindowSize(window, &left.width, &left.height);
            if (!(left == kept.window) && !CConfigFile(playerFiles.ConfigPath()).WriteWindow(left))
                DebugTrace("Veldra: the window's state cannot be kept in config.dat");
        }
        frame.Destroy();
    }
    if (options.autoplay) {
        // Soak runs watch this line: the most the process ever held.
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        std::fprintf(stderr, "peak memory: %ld MiB\n", long(usage.ru_maxrss / 1024));
    }
    SDL_DestroyWindow(window);
    SDL_Quit();
    return status;
}
