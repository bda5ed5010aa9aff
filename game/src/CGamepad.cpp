#include "game/CGamepad.h"

#include "common/DebugTrace.h"
#include "common/KeyCodes.h"
#include "game/CMainFrame.h"
#include "game/CScreen.h"
#include "gamedata/GameControls.h"

#include <algorithm>

// The pad's first commands are the game's controls, and its focus commands
// the focus's directions, each in the same order.
static_assert(size_t(PadCommand::Up) == size_t(GameControl::Up) &&
              size_t(PadCommand::Down) == size_t(GameControl::Down) &&
              size_t(PadCommand::Left) == size_t(GameControl::Left) &&
              size_t(PadCommand::Right) == size_t(GameControl::Right) &&
              size_t(PadCommand::Fire) == size_t(GameControl::Fire) &&
              size_t(PadCommand::Weapon) == size_t(GameControl::Weapon) &&
              size_t(PadCommand::Binoculars) == size_t(GameControl::Binoculars) &&
              size_t(PadCommand::Jeep) == size_t(GameControl::Jeep) && kPadControlCommands == kGameControlCount);
static_assert(int(PadCommand::FocusDown) - int(PadCommand::FocusUp) == int(FocusDirection::Down) &&
              int(PadCommand::FocusLeft) - int(PadCommand::FocusUp) == int(FocusDirection::Left) &&
              int(PadCommand::FocusRight) - int(PadCommand::FocusUp) == int(FocusDirection::Right));

namespace {

// SDL's buttons by the pad inputs they are; Count for the ones the game leaves alone.
PadInput InputOf(uint8_t button)
{
    switch (SDL_GameControllerButton(button)) {
    case SDL_CONTROLLER_BUTTON_A: return PadInput::A;
    case SDL_CONTROLLER_BUTTON_B: return PadInput::B;
    case SDL_CONTROLLER_BUTTON_X: return PadInput::X;
    case SDL_CONTROLLER_BUTTON_Y: return PadInput::Y;
    case SDL_CONTROLLER_BUTTON_BACK: return PadInput::Back;
    case SDL_CONTROLLER_BUTTON_START: return PadInput::Start;
    case SDL_CONTROLLER_BUTTON_LEFTSHOULDER: return PadInput::LeftShoulder;
    case SDL_CONTROLLER_BUTTON_RIGHTSHOULDER: return PadInput::RightShoulder;
    case SDL_CONTROLLER_BUTTON_DPAD_UP: return PadInput::DpadUp;
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN: return PadInput::DpadDown;
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT: return PadInput::DpadLeft;
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT: return PadInput::DpadRight;
    default: return PadInput::Count;
    }
}

bool AxisOf(uint8_t axis, PadAxis& out)
{
    switch (SDL_GameControllerAxis(axis)) {
    case SDL_CONTROLLER_AXIS_LEFTX: out = PadAxis::LeftX; return true;
    case SDL_CONTROLLER_AXIS_LEFTY: out = PadAxis::LeftY; return true;
    case SDL_CONTROLLER_AXIS_TRIGGERLEFT: out = PadAxis::LeftTrigger; return true;
    case SDL_CONTROLLER_AXIS_TRIGGERRIGHT: out = PadAxis::RightTrigger; return true;
    default: return false;
    }
}

} // namespace

CGamepad::~CGamepad() = default;

CGamepad::Pad* CGamepad::Find(SDL_JoystickID id)
{
    for (auto& pad : m_pads)
        if (pad->id == id)
            return pad.get();
    return nullptr;
}

void CGamepad::Open(int deviceIndex)
{
    if (!SDL_IsGameController(deviceIndex))
        return; // a joystick without a controller mapping: its buttons mean nothing known
    auto pad = std::make_unique<Pad>();
    pad->controller.reset(SDL_GameControllerOpen(deviceIndex));
    if (!pad->controller) {
        DebugTrace("CGamepad : pad %d cannot be opened: %s", deviceIndex, SDL_GetError());
        return;
    }
    pad->id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(pad->controller.get()));
    // SDL reports a pad present at the start and again as it is opened; it is kept once.
    if (Find(pad->id))
        return;
    DebugTrace("CGamepad : pad \"%s\" plugged in", SDL_GameControllerName(pad->controller.get()));
    m_pads.push_back(std::move(pad));
}

void CGamepad::Close(SDL_JoystickID id, CMainFrame& frame)
{
    Pad* pad = Find(id);
    if (!pad)
        return;
    pad->translator.ReleaseAll(m_events);
    Apply(frame);
    std::erase_if(m_pads, [id](const auto& each) { return each->id == id; });
}

void CGamepad::CloseAll(CMainFrame& frame)
{
    while (!m_pads.empty())
        Close(m_pads.back()->id, frame);
}

void CGamepad::Follow(Pad& pad, CMainFrame& frame)
{
    pad.translator.SetMode(frame.CurrentScreenId() == ScreenId::Hunt ? PadMode::Hunt : PadMode::Menu, m_events);
}

void CGamepad::Feed(Pad& pad, CMainFrame& frame, PadInput input, bool down)
{
    Follow(pad, frame);
    pad.translator.OnInput(input, down, m_events);
    Apply(frame);
}

void CGamepad::FeedAxis(Pad& pad, CMainFrame& frame, PadAxis axis, int value)
{
    Follow(pad, frame);
    pad.translator.OnAxis(axis, value, m_events);
    Apply(frame);
}

void CGamepad::Apply(CMainFrame& frame)
{
    for (const PadEvent& event : m_events) {
        const PadCommand command = event.command;
        if (size_t(command) < kPadControlCommands) {
            // The key the player bound to the control: the pad plays it as he would.
            if (const int key = frame.Config().Key(GameControl(command)); key > 0 && key < 256)
                frame.OnKey(uint8_t(key), event.down);
            continue;
        }
        switch (command) {
        case PadCommand::Escape: frame.OnKey(dik::ESCAPE, event.down); break;
        case PadCommand::Activate: frame.OnMouseButton(event.down); break;
        case PadCommand::FocusUp:
        case PadCommand::FocusDown:
        case PadCommand::FocusLeft:
        case PadCommand::FocusRight:
            if (event.down)
                frame.MoveFocus(FocusDirection(int(command) - int(PadCommand::FocusUp)));
            break;
        default: break;
        }
    }
    m_events.clear();
}

bool CGamepad::HandleEvent(const SDL_Event& event, CMainFrame& frame)
{
    switch (event.type) {
    case SDL_CONTROLLERDEVICEADDED:
        Open(event.cdevice.which); // here `which` is the device index
        return true;
    case SDL_CONTROLLERDEVICEREMOVED:
        Close(event.cdevice.which, frame); // here it is the instance id
        return true;
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
        if (Pad* pad = Find(event.cbutton.which); pad && InputOf(event.cbutton.button) != PadInput::Count)
            Feed(*pad, frame, InputOf(event.cbutton.button), event.type == SDL_CONTROLLERBUTTONDOWN);
        return true;
    case SDL_CONTROLLERAXISMOTION: {
        PadAxis axis{};
        if (Pad* pad = Find(event.caxis.which); pad && AxisOf(event.caxis.axis, axis))
            FeedAxis(*pad, frame, axis, event.caxis.value);
        return true;
    }
    default:
        return false;
    }
}
