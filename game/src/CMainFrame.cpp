#include "game/CMainFrame.h"

#include "common/DataPath.h"
#include "common/DebugTrace.h"
#include "common/KeyCodes.h"
#include "display/CDibDD.h"
#include "display/CDibDDContext.h"
#include "display/CDibDDViewport.h"
#include "game/CGameRandom.h"
#include "game/CScreen.h"
#include "imaging/CDibPalette.h"
#include "sprites/CDibPacked.h"

#include <SDL.h>
#include <unistd.h>

namespace {

// The 8-bit palette picture of each scenario (0: the menus).
const char* const kPalettePictures[4] = {"menu\\palMain.bmp", "menu\\pal10.bmp", "menu\\pal20.bmp",
                                         "menu\\pal30.bmp"};

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

int CNoHuntWorld::DecideEnd()
{
    return SCREEN_NONE;
}

CMainFrame::CMainFrame(const IClock& clock)
    : m_clock(clock), m_timers(clock), m_sound(std::make_unique<CSilence>()), m_video(std::make_unique<CNoVideo>()),
      m_hunt(std::make_unique<CNoHuntWorld>()), m_openHelp(OpenWithDesktop)
{
}

CMainFrame::~CMainFrame()
{
    Destroy();
}

bool CMainFrame::Create(SDL_Window* window, uint32_t seed, const FrameSettings& settings)
{
    m_window = window;
    m_settings = settings;
    GameRandom().Seed(seed);
    m_context = new CDibDDContext(nullptr, window, 0);
    if (!m_context->IsInitialised()) {
        DebugTrace("CMainFrame::Create() : no display");
        return false;
    }
    m_viewport = static_cast<CDibDDViewport*>(m_context->NewViewport());
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
    m_config = ReadGameConfig();

    m_controls.fill(nullptr);
    m_input = std::make_unique<CInputManager>();
    m_input->Create(nullptr, m_window, 7);
    const int codes[8] = {m_config.keyLeft,    m_config.keyRight,   m_config.keyUp,      m_config.keyDown,
                          m_config.keyButton1, m_config.keyButton2, m_config.keyButton3, m_config.keyButton0};
    for (int i = 0; i < 8; ++i)
        m_controls[size_t(i)] = m_input->AddControl(0, codes[i]);

    const uint32_t flags = m_settings.fullScreen ? (VIEWPORT_FULLSCREEN | VIEWPORT_PALETTE | VIEWPORT_FLIP_CHAIN)
                                                 : VIEWPORT_PALETTE;
    m_viewport->Create(640, 480, m_config.highColour ? PF_RGB555 : PF_INDEX8, m_window, flags);
    if (!m_settings.fullScreen && m_settings.windowScale > 1)
        m_viewport->Presenter().SetWindowScale(m_settings.windowScale);

    m_palettePicture = new CDibDD;
    m_cursor = new CDibDD;
    if (m_cursor->Load("menu\\cursor.bmp", SRC_FILE) != DIB_OK) {
        DebugTrace("CMainFrame : \"menu\\cursor.bmp\" cannot be loaded");
        PostClose();
    }

    for (int id = 0; id < SCREEN_COUNT; ++id)
        m_screens[size_t(id)] = NewScreen(id, BackBuffer(), &m_mouse);
    m_current = m_screens[SCREEN_MAIN_MENU];
    m_current->Enter(false);
    LoadHunt(-1, -1, 0);
    m_timers.Set(TIMER_WIND, 10000);
    if (m_settings.playVideo && m_video->Open("video\\al_intro.avi", m_viewport))
        m_video->Play();
}

CDib* CMainFrame::BackBuffer() const
{
    return m_viewport ? m_viewport->Back() : nullptr;
}

int CMainFrame::CurrentScreenId() const
{
    return m_current ? m_current->Id() : SCREEN_NONE;
}

void CMainFrame::OnKey(uint8_t key, bool down)
{
    if (key == dik::ESCAPE)
        m_escapeDown = down;
    if (m_input)
        m_input->OnKeyEvent(key, down);
}

void CMainFrame::OnActivateApp(bool active)
{
    if (m_input)
        m_input->OnFocusChanged(active);
    if (!active) {
        m_wasDeactivated = true;
        m_sound->SetActive(false);
        m_active = false;
        return;
    }
    m_active = true;
    m_sound->SetActive(true);
    // The window keeps its size and place on this platform; nothing to put back.
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
        if (m_escapeDown)
            m_video->Stop();
        return false;
    }
    m_input->Poll(0);
    const int item = m_current->Poll();
    if (item >= 0)
        ActOnItem(item);
    if (m_closeRequested)
        return false;

    if (CurrentScreenId() == SCREEN_HUNT) {
        auto* hud = static_cast<CHudScreen*>(m_current);
        m_hunt->Step(*hud, m_frameTime);
        const uint32_t killReport = m_hunt->Render();
        if ((killReport != 0 || m_hunt->EndStatus() != 0) && !m_timers.IsRunning(TIMER_HUNT_END))
            m_timers.Set(TIMER_HUNT_END, 1000);
    }
    m_current->Draw();
    if (CDib* back = BackBuffer(); back && m_cursor && m_cursor->IsCreated())
        back->Draw(m_mouse.X(), m_mouse.Y(), 16, 16, m_cursor, 0, 0, 16, 16, BLIT_SRCKEY, 0);
    m_viewport->Flip();
    return true;
}

void CMainFrame::ChangeScreen(int target, bool keepStates, bool drawHuntFirst)
{
    if (target < 0 || target >= SCREEN_COUNT)
        return;
    m_current->Leave();
    m_current = m_screens[size_t(target)];
    if (drawHuntFirst)
        m_hunt->Render(); // the new screen snapshots the hunt picture
    m_current->Enter(keepStates);
}

void CMainFrame::ActOnItem(int item)
{
    switch (m_current->ActionOf(item)) {
    case ACTION_QUIT:
        PostClose();
        break;
    case ACTION_START_HUNT: {
        CScreen* quarry = m_screens[SCREEN_QUARRY];
        CScreen* weapon = m_screens[SCREEN_WEAPON];
        CScreen* scenario = m_screens[SCREEN_SCENARIO];
        const int q = quarry->LastSelected(1, 7), w = weapon->LastSelected(1, 6), s = scenario->LastSelected(1, 3);
        LoadHunt(q >= 0 ? q - 1 : 1, w >= 0 ? w - 1 : 1, s >= 0 ? s : 0);
        break;
    }
    case ACTION_MAIN_MENU:
        LoadHunt(-1, -1, 0);
        m_hunt->ClearDrawList();
        break;
    case ACTION_HELP:
        OpenHelp();
        break;
    default:
        // Drive, aim and binoculars belong to the hunt display's toggles;
        // the hunt step reads them.
        break;
    }
    const int target = m_current->TargetOf(item);
    if (target == SCREEN_NONE || m_closeRequested)
        return;
    const bool fromOptions = CurrentScreenId() == SCREEN_OPTIONS;
    ChangeScreen(target, fromOptions, ScreenShowsHuntBehind(target));
}

void CMainFrame::OpenHelp()
{
    m_openHelp(MapDataPath("Veldra.html"));
}

void CMainFrame::OnTimer(int id)
{
    switch (id) {
    case TIMER_WIND:
        if (CurrentScreenId() == SCREEN_HUNT)
            m_hunt->OnWindTimer();
        break;
    case TIMER_HUNT_END: {
        const int picture = m_hunt->DecideEnd();
        if (picture != SCREEN_NONE) {
            ChangeScreen(picture, false, true);
            m_timers.Set(TIMER_BACK_TO_MENU, 10000);
        }
        m_timers.Kill(TIMER_HUNT_END);
        break;
    }
    case TIMER_BACK_TO_MENU:
        LoadHunt(-1, -1, 0);
        ChangeScreen(SCREEN_MAIN_MENU, false, false);
        m_hunt->ClearDrawList();
        m_timers.Kill(TIMER_BACK_TO_MENU);
        break;
    default:
        break;
    }
}

void CMainFrame::LoadHunt(int quarry, int weapon, int scenario)
{
    CDib* back = BackBuffer();
    if (!back || !back->IsCreated())
        return;
    back->FillRect(0, 0, 640, 480, 0);
    m_timers.Kill(TIMER_HUNT_END);
    m_quarryKind = quarry >= 0 ? quarry + 1 : 0;

    if (back->GetFormat() == PF_INDEX8) {
        const int which = scenario >= 0 && scenario <= 3 ? scenario : 0;
        if (m_palettePicture->Load(kPalettePictures[which], SRC_FILE) == DIB_OK && m_palettePicture->GetPalette()) {
            back->SetPalette(m_palettePicture->GetPalette());
            if (m_viewport->Front())
                m_viewport->Front()->SetPalette(m_palettePicture->GetPalette());
        }
    }
    // The cursor follows the back buffer's format and palette.
    m_cursor->Load("menu\\cursor.bmp", SRC_FILE | LOAD_MATCH_REFERENCE, nullptr, nullptr, back);
    if (m_cursor->IsCreated()) {
        m_cursor->SaveBacking();
        m_cursor->SetSourceKey(m_cursor->GetPixel(15, 15));
    }
    m_hunt->LoadHunt(quarry, weapon, scenario);
}

void CMainFrame::Destroy()
{
    if (!m_context)
        return;
    m_video->Close();
    m_hunt.reset();
    for (CScreen*& screen : m_screens) {
        delete screen;
        screen = nullptr;
    }
    m_current = nullptr;
    delete m_cursor;
    delete m_palettePicture;
    m_cursor = m_palettePicture = nullptr;
    m_sound.reset();
    delete m_viewport;
    m_viewport = nullptr;
    delete m_context;
    m_context = nullptr;
    m_input.reset();
}
