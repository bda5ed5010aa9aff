#include "game/CMainFrame.h"

#include "common/DataPath.h"
#include "common/DebugTrace.h"
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

#include <SDL.h>
#include <algorithm>
#include <cstdio>
#include <unistd.h>

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
    m_viewport->SetPresenterOptions(options);
    return true;
}

void CMainFrame::OnFirstMove()
{
    if (m_initialised || !m_viewport)
        return;
    m_initialised = true;
    m_config = CConfigFile(m_settings.playerFiles.ConfigPath()).Read();

    m_controls.fill(nullptr);
    m_input = std::make_unique<CInputManager>();
    m_input->Create(nullptr, m_window, 7);
    const int codes[HUNT_CONTROL_COUNT] = {
        m_config.Key(GameControl::Left),   m_config.Key(GameControl::Right),      m_config.Key(GameControl::Up),
        m_config.Key(GameControl::Down),   m_config.Key(GameControl::Weapon),     m_config.Key(GameControl::Binoculars),
        m_config.Key(GameControl::Jeep),   m_config.Key(GameControl::Fire)};
    for (int i = 0; i < HUNT_CONTROL_COUNT; ++i)
        m_controls[size_t(i)] = m_input->AddControl(0, codes[i]);

    const uint32_t flags = m_settings.fullScreen ? (VIEWPORT_FULLSCREEN | VIEWPORT_PALETTE | VIEWPORT_FLIP_CHAIN)
                                                 : VIEWPORT_PALETTE;
    m_viewport->Create(640, 480, m_config.highColour ? PF_RGB555 : PF_INDEX8, m_window, flags);
    if (!m_settings.fullScreen && m_settings.windowScale > 1)
        m_viewport->Presenter().SetWindowScale(m_settings.windowScale);

    m_palettePicture = MakeDib<CDibDD>();
    m_cursor = MakeDib<CDibDD>();
    if (LoadPicture(*m_cursor, PictureSource::File(kCursorPicture)) != DIB_OK) {
        DebugTrace("CMainFrame : \"%s\" cannot be loaded", kCursorPicture);
        m_dataMissing = true;
        PostClose();
    }
    const WaveFormat primary = MakePcmFormat(22050, 16, 1);
    m_sound->SetWindowAndFormat(m_window, &primary);
    // On before the intro opens, so that its soundtrack is heard from the
    // start (the window's first focus may come later, or never).
    m_sound->SetActive(true);

    m_hunt->Init({BackBuffer(), m_sound.get(), &m_gameClock});
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

void CMainFrame::OnKey(uint8_t key, bool down)
{
    // Counted, not sampled: a tap that begins and ends between two passes
    // still skips the intro.
    if (down && m_video->IsPlaying())
        ++m_introKeyPresses;
    if (m_input)
        m_input->OnKeyEvent(key, down);
}

void CMainFrame::OnActivateApp(bool active, const uint8_t* keysDown)
{
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
    if (m_input)
        m_input->Poll(0); // what the keys did so far is read here, and cleared at the next poll
}

void CMainFrame::OnPaint()
{
    if (m_viewport)
        m_viewport->OnPaint();
}

void CMainFrame::OnDisplayReset()
{
    CDibDD::MarkAllLost();
    if (m_viewport)
        m_viewport->Presenter().OnDeviceReset();
}

bool CMainFrame::RunFrame()
{
    if (!m_active || !m_initialised || !m_current)
        return false;
    if (m_video->IsPlaying()) {
        // Any key or a click skips the intro. The intro keeps real time: a
        // slow pass shows the frame due now and skips those before it.
        const bool skip = m_introKeyPresses > 0 || m_mouse.TakeLeftPressed();
        m_introKeyPresses = 0;
        if (skip)
            m_video->Stop();
        else
            m_video->Tick(m_frameTime);
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
    const double longest = m_settings.longestPass;
    m_gameClock.Give(longest > 0 && m_frameTime > longest ? longest : m_frameTime);
    while (!m_closeRequested && m_gameClock.TickDue()) {
        const int64_t tick = m_gameClock.Ticks() + 1;
        if (m_tickListener)
            m_tickListener->BeforeTick(tick, m_gameClock.Seconds());
        if (!m_closeRequested)
            RunTick();
        m_gameClock.EndTick();
        if (m_tickListener)
            m_tickListener->AfterTick(tick, m_gameClock.Seconds());
    }
    if (m_closeRequested)
        return false;

    if (CurrentScreenId() == ScreenId::Hunt)
        m_hunt->Render();
    m_current->Draw();
    if (CDib* back = BackBuffer(); back && m_cursor && m_cursor->IsCreated())
        back->Draw(m_mouse.X(), m_mouse.Y(), 16, 16, m_cursor.Get(), 0, 0, 16, 16, BLIT_SRCKEY, 0);
    m_viewport->Flip();
    return true;
}

void CMainFrame::RunTick()
{
    for (int id : m_timers.TakeDue())
        OnTimer(id);
    if (m_closeRequested || !m_current)
        return;
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
    if (drawHuntFirst)
        m_hunt->Render(); // the new screen snapshots the hunt picture
    m_current->Enter(keepStates);
}

void CMainFrame::StartChosenHunt()
{
    const int q = Screen(ScreenId::Quarry)->LastSelected(1, 7);
    const int w = Screen(ScreenId::Weapon)->LastSelected(1, 6);
    const int s = Screen(ScreenId::Scenario)->LastSelected(1, 3);
    LoadHunt(q >= 0 ? q - 1 : 1, w >= 0 ? w - 1 : 1, s >= 0 ? s : 0);
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
    back->FillRect(0, 0, 640, 480, black);
    // The cursor follows the back buffer's format and palette.
    LoadPicture(*m_cursor, PictureSource::File(kCursorPicture), LOAD_MATCH_REFERENCE, back);
    if (m_cursor->IsCreated()) {
        m_cursor->SaveBacking();
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
