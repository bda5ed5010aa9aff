#include "game/CMainFrame.h"

#include "common/DataPath.h"
#include "common/DebugTrace.h"
#include "common/KeyCodes.h"
#include "display/CDibDD.h"
#include "display/CDibDDContext.h"
#include "display/CDibDDViewport.h"
#include "game/CGameRandom.h"
#include "game/CHudScreen.h"
#include "game/CScreen.h"
#include "game/CTrophyScreen.h"
#include "game/TrophyFile.h"
#include "gamedata/CConfigFile.h"
#include "gamedata/DataFiles.h"
#include "gamedata/HuntTables.h"
#include "imaging/CDibPalette.h"
#include "media/CSoundDevice.h"
#include "sprites/LoadPicture.h"
#include "gamedata/ScreenTables.h"

#include <SDL.h>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <unistd.h>
#include <utility>

namespace {

void OpenWithDesktop(const std::string& path)
{
    if (::access(path.c_str(), R_OK) != 0)
        return; // no help page: nothing visible happens
    char* cwd = ::getcwd(nullptr, 0);
    std::string url = "file://" + (path.front() == '/' ? path : std::string(cwd ? cwd : ".") + "/" + path);
    std::free(cwd);
    SDL_OpenURL(url.c_str());
}

} // namespace

CMainFrame::CMainFrame()
    : m_timers(m_gameClock), m_sound(std::make_unique<CSoundDevice>()),
      m_video(std::make_unique<CNoVideo>()), m_hunt(std::make_unique<CNoHuntWorld>()), m_openHelp(OpenWithDesktop)
{
}

CMainFrame::~CMainFrame()
{
    Destroy();
}

void CMainFrame::SetSoundDevice(std::unique_ptr<CSoundDevice> sound)
{
    m_sound = sound ? std::move(sound) : std::make_unique<CSoundDevice>();
}

bool CMainFrame::Create(SDL_Window* window, uint32_t seed, const FrameSettings& settings)
{
    m_window = window;
    m_settings = settings;
    GameRandom().Seed(seed);
    m_context = std::make_unique<CDibDDContext>(nullptr, window, 0);
    if (!m_context->IsInitialised()) {
        DebugTrace("CMainFrame::Create() : no display");
        return false;
    }
    m_viewport.reset(static_cast<CDibDDViewport*>(m_context->NewViewport()));
    PresenterOptions options;
    options.vsync = settings.vsync;
    options.smoothScaling = settings.smoothScaling;
    m_viewport->SetPresenterOptions(options);
    return true;
}

void CMainFrame::OnFirstMove()
{
    if (m_initialised || !m_viewport)
        return;
    m_initialised = true;
    m_config = CConfigFile(m_settings.playerFiles.ConfigPath()).Read();
    m_volume = m_config.volume;
    m_muted = m_config.muted;
    ApplyVolume();

    m_controls.fill(nullptr);
    m_input = std::make_unique<CInputManager>();
    m_input->Create(nullptr, m_window, INPUT_KEYBOARD);
    const int codes[HUNT_CONTROL_COUNT] = {
        m_config.Key(GameControl::Left),   m_config.Key(GameControl::Right),      m_config.Key(GameControl::Up),
        m_config.Key(GameControl::Down),   m_config.Key(GameControl::Weapon),     m_config.Key(GameControl::Binoculars),
        m_config.Key(GameControl::Jeep),   m_config.Key(GameControl::Fire)};
    for (int i = 0; i < HUNT_CONTROL_COUNT; ++i)
        m_controls[size_t(i)] = m_input->AddControl(0, codes[i]);

    const uint32_t flags = m_settings.fullScreen ? (VIEWPORT_FULLSCREEN | VIEWPORT_PALETTE | VIEWPORT_FLIP_CHAIN)
                                                 : VIEWPORT_PALETTE;
    if (const DibResult code = m_viewport->Create(kBackBufferWidth, kBackBufferHeight,
                                                  m_config.highColour ? PF_RGB555 : PF_INDEX8, m_window, flags);
        code != DIB_OK) {
        // Nothing could be shown: say so and end, rather than play unseen.
        std::fprintf(stderr, "Veldra: cannot make the game's picture (%u)\n", unsigned(code));
        PostClose();
    }
    if (!m_settings.fullScreen && m_settings.windowScale > 1)
        m_viewport->Presenter().SetWindowScale(m_settings.windowScale);

    m_palettePicture = MakeDib<CDibDD>();
    m_cursor = MakeDib<CDibDD>();
    if (LoadPicture(*m_cursor, PictureSource::File(kCursorPicture)) != DIB_OK) {
        DebugTrace("CMainFrame : \"%s\" cannot be loaded", kCursorPicture);
        m_dataMissing = true;
        PostClose();
    }
    const WaveFormat primary = MakePcmFormat(kSoundSampleRate, 16, 1);
    m_sound->SetWindowAndFormat(m_window, &primary);
    // On before the intro opens, so that its soundtrack is heard from the
    // start (the window's first focus may come later, or never).
    m_sound->SetActive(true);

    m_hunt->Init({BackBuffer(), m_sound.get(), &m_gameClock, m_config.aids});
    for (int id = 0; id < SCREEN_COUNT; ++id)
        m_screens[size_t(id)] = NewScreen(ScreenId(id), BackBuffer(), &m_mouse);
    static_cast<CTrophyScreen*>(Screen(ScreenId::Trophies))->SetRecordPath(m_settings.playerFiles.TrophyPath());
    HudBindings bindings;
    bindings.input = m_input.get();
    bindings.aimKey = m_controls[size_t(HuntControl::Button1)];
    bindings.binocularKey = m_controls[size_t(HuntControl::Button2)];
    bindings.driveKey = m_controls[size_t(HuntControl::Button3)];
    bindings.jeepStandsStill = [this] { return m_hunt->JeepStandsStill(); };
    Hud()->Bind(std::move(bindings));

    m_current = Screen(ScreenId::MainMenu);
    m_current->Enter(false);
    LoadHunt(-1, -1, 0);
    m_timers.Set(TIMER_WIND, 10000);
    m_timers.Set(TIMER_SOUND, 100);
    // The volume sign shows over the intro too.
    m_video->SetOverlay([this](CDib* back) { m_volumeDisplay.Draw(back); });
    if (m_settings.playVideo && m_video->Open(kIntroVideo, m_viewport.get())) {
        ShowIntroPalette();
        m_video->Play();
    }
}

void CMainFrame::ShowPalette(CDibPalette* palette)
{
    CDib* back = BackBuffer();
    if (!palette || !back || back->GetFormat() != PF_INDEX8)
        return;
    back->SetPalette(palette);
    if (m_viewport->Front())
        m_viewport->Front()->SetPalette(palette);
}

void CMainFrame::ShowIntroPalette()
{
    CDib* back = BackBuffer();
    if (!back || back->GetFormat() != PF_INDEX8)
        return;
    // Without its palette the intro shows in the menus' one, as best it can.
    m_introPalette = MakeDib<CDibDD>();
    if (LoadPicture(*m_introPalette, PictureSource::File(kIntroPalette)) != DIB_OK || !m_introPalette->GetPalette()) {
        m_introPalette.Reset();
        return;
    }
    ShowPalette(m_introPalette->GetPalette());
    m_introPaletteShown = true;
}

void CMainFrame::RestoreMenuPalette()
{
    if (!m_introPaletteShown)
        return;
    m_introPaletteShown = false;
    if (m_palettePicture)
        ShowPalette(m_palettePicture->GetPalette());
    m_introPalette.Reset();
}

CDib* CMainFrame::BackBuffer() const
{
    return m_viewport ? m_viewport->Back() : nullptr;
}

CHudScreen* CMainFrame::Hud() const
{
    return static_cast<CHudScreen*>(Screen(ScreenId::Hunt));
}

ScreenId CMainFrame::CurrentScreenId() const
{
    return m_current ? m_current->Id() : ScreenId::None;
}

HuntInput CMainFrame::ReadControls() const
{
    HuntInput input;
    if (m_input)
        for (int i = 0; i < HUNT_CONTROL_COUNT; ++i)
            input.states[size_t(i)] = m_input->GetControlState(m_controls[size_t(i)]);
    return input;
}

void CMainFrame::ApplyVolume()
{
    m_sound->SetMasterGain(m_muted ? 0.0f : VolumeGain(m_volume));
}

bool CMainFrame::OnVolumeKey(uint8_t key)
{
    const auto among = [key](const auto& keys) { return std::find(keys.begin(), keys.end(), key) != keys.end(); };
    if (key == ReservedKeys::kMute) {
        m_muted = !m_muted;
    } else if (among(ReservedKeys::kQuieter) || among(ReservedKeys::kLouder)) {
        // A step either way also ends a mute: the player wants to hear it.
        m_volume = std::clamp(m_volume + (among(ReservedKeys::kLouder) ? 1 : -1), 0, kVolumeSteps);
        m_muted = false;
    } else {
        return false;
    }
    ApplyVolume();
    m_volumeDisplay.Show(m_volume, kVolumeSteps, m_muted);
    m_dirty = true;
    m_volumeSignChanged = true;
    if (!CConfigFile(m_settings.playerFiles.ConfigPath()).WriteSound(m_volume, m_muted))
        DebugTrace("CMainFrame : the volume cannot be kept in \"%s\"", m_settings.playerFiles.ConfigPath().c_str());
    return true;
}

void CMainFrame::OnKey(uint8_t key, bool down)
{
    NoteInput();
    // The volume keys work everywhere, the intro too (without skipping it).
    const bool pauseKey = key == dik::ESCAPE || key == dik::PAUSE;
    if (m_initialised && !pauseKey && IsReservedKey(key)) {
        if (down)
            OnVolumeKey(key);
        return;
    }
    // Counted, not sampled: a tap that begins and ends between two passes
    // still skips the intro.
    if (down && m_video->IsPlaying())
        ++m_introKeyPresses;
    else if (down && pauseKey)
        ++m_pauseKeyPresses;
    if (m_input)
        m_input->OnKeyEvent(key, down);
}

void CMainFrame::NoteInput()
{
    m_dirty = true;
    m_inputPending = true;
}

void CMainFrame::OnMouseMove(int x, int y)
{
    if (x != m_mouse.X() || y != m_mouse.Y())
        NoteInput();
    m_mouse.MoveTo(x, y);
}

void CMainFrame::OnMouseButton(bool down)
{
    NoteInput();
    m_mouse.OnLeftButton(down);
}

void CMainFrame::MoveFocus(FocusDirection direction)
{
    if (!m_current || CurrentScreenId() == ScreenId::Hunt || m_video->IsPlaying())
        return;
    const int item = m_current->FocusNeighbour(m_mouse.X(), m_mouse.Y(), direction);
    int x = 0, y = 0;
    if (item >= 0 && m_current->FocusPoint(item, x, y))
        OnMouseMove(x, y);
}

void CMainFrame::OnActivateApp(bool active, const uint8_t* keysDown)
{
    NoteInput();
    if (m_input)
        m_input->OnFocusChanged(active, keysDown);
    if (!active) {
        m_wasDeactivated = true;
        m_sound->SetActive(false);
        m_active = false;
        return;
    }
    m_active = true;
    const bool soundWasActive = m_sound->IsActive();
    m_sound->SetActive(true);
    // The device comes back with every sound stopped: the intro's soundtrack
    // goes on from where the video stands (it stood still meanwhile).
    if (!soundWasActive && m_sound->IsActive() && m_video->IsPlaying())
        m_video->Play();
    // The window keeps its size and place on this platform; nothing to put back.
}

void CMainFrame::ForgetInput()
{
    m_mouse.TakeLeftPressed();
    m_introKeyPresses = 0;
    m_pauseKeyPresses = 0;
    if (m_input)
        m_input->Poll(0); // what the keys did so far is read here, and cleared at the next poll
}

void CMainFrame::OnPaint()
{
    m_dirty = true; // a new window size is scaled for at the next picture
    if (m_viewport)
        m_viewport->OnPaint();
}

void CMainFrame::OnDisplayReset()
{
    m_dirty = true;
    CDibDD::MarkAllLost();
    if (m_viewport)
        m_viewport->Presenter().OnDeviceReset();
}

bool CMainFrame::RunFrame()
{
    if (!m_active || !m_initialised || !m_current)
        return false;
    if (m_volumeDisplay.Advance(m_frameTime)) {
        m_dirty = true;
        m_volumeSignChanged = true;
    }
    const bool signChanged = std::exchange(m_volumeSignChanged, false);
    if (m_video->IsPlaying()) {
        // Any key or a click skips the intro. The intro keeps real time: a
        // slow pass shows the frame due now and skips those before it.
        const bool skip = m_introKeyPresses > 0 || m_mouse.TakeLeftPressed();
        m_introKeyPresses = 0;
        if (skip)
            m_video->Stop();
        else
            m_video->Tick(m_frameTime);
        // The sign came or went between two of the video's frames: the
        // frame is shown again with it or without it.
        if (signChanged && m_video->IsPlaying())
            m_video->ShowAgain();
        // Nothing done during the intro reaches the menu that follows it.
        if (!m_video->IsPlaying()) {
            ForgetInput();
            RestoreMenuPalette();
        }
        return false;
    }
    // However the intro ended (also while the window was in the background),
    // the menus draw in their own palette.
    RestoreMenuPalette();
    if (Paused()) {
        const bool polling = m_inputPending;
        m_inputPending = false;
        RunPausedPass();
        m_dirty |= polling;
    } else {
        const double longest = m_settings.longestPass;
        m_gameClock.Give(longest > 0 && m_frameTime > longest ? longest : m_frameTime);
    }
    while (!m_closeRequested && !Paused() && m_gameClock.TickDue()) {
        const int64_t tick = m_gameClock.Ticks() + 1;
        if (m_tickListener)
            m_tickListener->BeforeTick(tick, m_gameClock.Seconds());
        // A tick that polls input given since the last one may change the
        // screen; a hunt changes at every tick.
        m_dirty |= m_inputPending || CurrentScreenId() == ScreenId::Hunt;
        m_inputPending = false;
        if (!m_closeRequested)
            RunTick();
        // The tick that opened the pause box does not count: it runs again,
        // whole, on resuming.
        if (Paused())
            break;
        m_dirty |= CurrentScreenId() == ScreenId::Hunt;
        m_gameClock.EndTick();
        if (m_tickListener)
            m_tickListener->AfterTick(tick, m_gameClock.Seconds());
    }
    if (m_closeRequested || !m_dirty)
        return false;
    m_dirty = false;

    if (CurrentScreenId() == ScreenId::Hunt)
        m_hunt->Render();
    m_current->Draw();
    if (CDib* back = BackBuffer(); back && m_cursor && m_cursor->IsCreated())
        back->Draw(m_mouse.X(), m_mouse.Y(), 16, 16, m_cursor.Get(), 0, 0, 16, 16, BLIT_SRCKEY, 0);
    m_volumeDisplay.Draw(BackBuffer());
    m_viewport->Flip();
    ++m_presents;
    return true;
}

bool CMainFrame::TakePauseKey()
{
    const bool pressed = m_pauseKeyPresses > 0;
    m_pauseKeyPresses = 0;
    return pressed;
}

void CMainFrame::RunPausedPass()
{
    m_pausedSoundTime += m_frameTime;
    if (m_pausedSoundTime >= 0.1) {
        m_pausedSoundTime = 0;
        m_sound->Service();
    }
    m_input->Poll(0);
    if (TakePauseKey()) {
        ChangeScreen(ScreenId::Hunt, true, false);
        return;
    }
    const int item = m_current->Poll();
    if (item >= 0)
        ActOnItem(item);
}

int CMainFrame::MillisecondsToNextNeed() const
{
    constexpr int kLongest = 100;
    double seconds = kLongest / 1000.0;
    if (m_volumeDisplay.Visible())
        seconds = std::min(seconds, m_volumeDisplay.SecondsLeft());
    if (Paused()) {
        seconds = std::min(seconds, 0.1 - m_pausedSoundTime);
    } else {
        if (m_inputPending)
            seconds = std::min(seconds, m_gameClock.SecondsToNextTick());
        if (const int64_t timer = m_timers.MillisecondsToNext(); timer >= 0)
            seconds = std::min(seconds, m_gameClock.SecondsToNextTick() + double(timer) / 1000.0);
    }
    return std::clamp(int(std::ceil(seconds * 1000.0 - 1e-6)), 0, kLongest);
}

void CMainFrame::RunTick()
{
    for (int id : m_timers.TakeDue())
        OnTimer(id);
    if (m_closeRequested || !m_current)
        return;
    if (TakePauseKey() && CurrentScreenId() == ScreenId::Hunt) {
        ChangeScreen(ScreenId::Options, false, true);
        return;
    }
    m_input->Poll(0);
    const int item = m_current->Poll();
    if (item >= 0)
        ActOnItem(item);
    if (m_closeRequested || CurrentScreenId() != ScreenId::Hunt)
        return;
    CHudScreen* hud = Hud();
    const uint32_t killReport = m_hunt->Step(ReadControls(), {hud->Driving(), hud->Binoculars(), hud->Aiming()},
                                             CSimulationClock::kTickSeconds);
    hud->SetCompassFrame(m_hunt->CompassFrame());
    hud->SetWindFrame(m_hunt->WindFrame());
    if ((killReport != 0 || m_hunt->EndStatus() != HuntEndStatus::Running) && !m_timers.IsRunning(TIMER_HUNT_END))
        m_timers.Set(TIMER_HUNT_END, 1000);
}

void CMainFrame::ChangeScreen(ScreenId target, bool keepStates, bool drawHuntFirst)
{
    if (!IsScreen(target))
        return;
    m_current->Leave();
    m_current = Screen(target);
    // Drawn at once, and again after its first poll, which may light the
    // item under the pointer.
    m_dirty = true;
    m_inputPending = true;
    // The rest of the pass's time goes with the pause, not run later.
    if (Paused())
        m_gameClock.DropPending();
    m_pausedSoundTime = 0;
    if (drawHuntFirst)
        m_hunt->Render(); // the new screen snapshots the hunt picture
    m_current->Enter(keepStates);
}

void CMainFrame::StartChosenHunt()
{
    // The item chosen on each choice screen (-1 where none is), turned into
    // the quarry and weapon indices and the scenario number (1..3).
    const int q = Screen(ScreenId::Quarry)->LastSelected(QuarryItem::FirstChoice, QuarryItem::Previous - 1);
    const int w = Screen(ScreenId::Weapon)->LastSelected(WeaponItem::FirstChoice, WeaponItem::Previous - 1);
    const int s = Screen(ScreenId::Scenario)->LastSelected(ScenarioItem::FirstChoice, ScenarioItem::Previous - 1);
    LoadHunt(q >= 0 ? q - QuarryItem::FirstChoice : 1, w >= 0 ? w - WeaponItem::FirstChoice : 1,
             s >= 0 ? s - ScenarioItem::FirstChoice + 1 : 0);
}

void CMainFrame::ActOnItem(int item)
{
    const ItemAction action = m_current->ActionOf(item);
    switch (action) {
    case ItemAction::Quit:
        PostClose();
        break;
    case ItemAction::StartHunt:
        StartChosenHunt();
        break;
    case ItemAction::MainMenu:
        LoadHunt(-1, -1, 0);
        m_hunt->ClearDrawList();
        break;
    case ItemAction::Help:
        OpenHelp();
        break;
    case ItemAction::Drive:
    case ItemAction::Aim:
    case ItemAction::Binoculars:
        // The hunt display has flipped the toggle (or refused to); the hunt
        // follows the state it shows now.
        m_hunt->OnToggle(action, m_current->Item(item).frame == 1);
        break;
    default:
        break;
    }
    ScreenId target = m_current->TargetOf(item);
    if (action == ItemAction::StartHunt && m_quarryKind == ANIMAL_NONE)
        target = ScreenId::MainMenu; // the hunt could not be built
    if (target == ScreenId::None || m_closeRequested)
        return;
    const bool fromOptions = CurrentScreenId() == ScreenId::Options;
    ChangeScreen(target, fromOptions, ScreenShowsHuntBehind(target));
}

bool CMainFrame::StartHunt(int quarry, int weapon, int scenario)
{
    if (!m_current)
        return false;
    if (!LoadHunt(quarry, weapon, scenario)) {
        ChangeScreen(ScreenId::MainMenu, false, false);
        return false;
    }
    ChangeScreen(ScreenId::Hunt, false, false);
    return true;
}

void CMainFrame::OpenHelp()
{
    m_openHelp(MapDataPath(kHelpPage));
}

void CMainFrame::OnTimer(int id)
{
    switch (id) {
    case TIMER_WIND:
        if (CurrentScreenId() == ScreenId::Hunt)
            m_hunt->OnWindTimer();
        break;
    case TIMER_HUNT_END: {
        const HuntEnd end = m_hunt->DecideEnd();
        if (end.picture != ScreenId::None) {
            ChangeScreen(end.picture, false, true);
            m_hunt->Silence();
            const std::string record = m_settings.playerFiles.TrophyPath();
            if (end.trophy != ANIMAL_NONE && m_settings.keepTrophies && !AppendTrophy(end.trophy, record)) {
                // Said where the player sees it: the record keeps its old
                // contents, and only this trophy is lost.
                std::fprintf(stderr, "Veldra: the trophy cannot be recorded in %s\n", record.c_str());
                DebugTrace("CMainFrame : the trophy cannot be recorded in \"%s\"", record.c_str());
            }
            m_timers.Set(TIMER_BACK_TO_MENU, 10000);
        }
        m_timers.Kill(TIMER_HUNT_END);
        break;
    }
    case TIMER_SOUND:
        m_sound->Service();
        break;
    case TIMER_BACK_TO_MENU:
        LoadHunt(-1, -1, 0);
        ChangeScreen(ScreenId::MainMenu, false, false);
        m_hunt->ClearDrawList();
        m_timers.Kill(TIMER_BACK_TO_MENU);
        break;
    default:
        break;
    }
}

bool CMainFrame::LoadHunt(int quarry, int weapon, int scenario)
{
    CDib* back = BackBuffer();
    if (!back || !back->IsCreated())
        return false;
    m_timers.Kill(TIMER_HUNT_END);
    if (CHudScreen* hud = Hud())
        hud->SetDriving(false);
    m_quarryKind = quarry >= 0 ? quarry + 1 : ANIMAL_NONE;

    std::string problem;
    if (back->GetFormat() == PF_INDEX8) {
        const int which = scenario >= 0 && scenario <= SCENARIO_COUNT ? scenario : 0;
        const char* name = kScenarios[quarry >= 0 ? which : 0].palette;
        if (LoadPicture(*m_palettePicture, PictureSource::File(name)) == DIB_OK && m_palettePicture->GetPalette()) {
            back->SetPalette(m_palettePicture->GetPalette());
            if (m_viewport->Front())
                m_viewport->Front()->SetPalette(m_palettePicture->GetPalette());
        } else if (quarry >= 0) {
            problem = name;
        }
    }
    uint32_t black = 0;
    if (back->GetFormat() == PF_INDEX8 && back->GetPalette())
        black = uint32_t(std::max(back->GetPalette()->NearestIndex(0, 0, 0), 0));
    back->FillRect(0, 0, kBackBufferWidth, kBackBufferHeight, black);
    m_dirty = true;
    // The cursor follows the back buffer's format and palette.
    // Without its cursor the hunt still plays (aimed by keys); the trace says why.
    if (LoadPicture(*m_cursor, PictureSource::File(kCursorPicture), LOAD_MATCH_REFERENCE, back) != DIB_OK)
        DebugTrace("CMainFrame : \"%s\" cannot be loaded for this hunt", kCursorPicture);
    if (m_cursor->IsCreated()) {
        if (m_cursor->SaveBacking() != DIB_OK)
            DebugTrace("CMainFrame : the cursor cannot be kept for a lost screen");
        m_cursor->SetSourceKey(m_cursor->GetPixel(15, 15));
    }
    if (problem.empty() && m_hunt->LoadHunt(quarry, weapon, scenario, problem))
        return true;
    if (quarry < 0)
        return false;
    std::fprintf(stderr, "Veldra: the hunt cannot start: %s is missing or damaged\n", problem.c_str());
    DebugTrace("CMainFrame::LoadHunt : %s is missing or damaged", problem.c_str());
    LoadHunt(-1, -1, 0);
    return false;
}

void CMainFrame::Destroy()
{
    if (!m_context)
        return;
    m_video->Close();
    m_hunt.reset(); // its voices go back to the sound device first
    m_current = nullptr;
    for (auto& screen : m_screens)
        screen.reset();
    m_cursor.Reset();
    m_palettePicture.Reset();
    m_introPalette.Reset();
    m_sound.reset();
    m_viewport.reset();
    m_context.reset();
    m_input.reset();
}
