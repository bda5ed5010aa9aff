#pragma once
// The game pad's default mapping, the one table that says what each button
// and stick does: in a hunt it presses the game's controls (in the order of
// the game's eight controls, gamedata/GameControls.h) or Escape; in the
// menus it moves the focus between the screen's items, clicks the focused
// one or presses Escape. The README's and the help page's tables say the same.
// Nothing here knows SDL: the game's event loop names the buttons and axes by
// these enums.

#include <array>
#include <cstddef>
#include <cstdint>

// A pad's buttons, and the stick's directions and the triggers as the
// buttons they act as once pushed past the dead zone.
enum class PadInput : uint8_t {
    A, B, X, Y, Back, Start, LeftShoulder, RightShoulder,
    DpadUp, DpadDown, DpadLeft, DpadRight,
    StickUp, StickDown, StickLeft, StickRight,
    LeftTrigger, RightTrigger,
    Count
};

// The analogue axes the mapping reads: SDL's ranges, -32768..32767 for the
// stick (negative is up and left) and 0..32767 for the triggers.
enum class PadAxis : uint8_t { LeftX, LeftY, LeftTrigger, RightTrigger };

// What a pad input does. The first eight are the game's controls in their
// order, so that a command converts to the control by its number.
enum class PadCommand : uint8_t {
    Up, Down, Left, Right, Fire, Weapon, Binoculars, Jeep,
    Escape,    // the Escape key: the pause in a hunt, resume in the pause box
    FocusUp, FocusDown, FocusLeft, FocusRight,
    Activate,  // the left mouse button on the focused item
    None
};

constexpr size_t kPadControlCommands = 8;
constexpr size_t kPadCommandCount = size_t(PadCommand::None);

// Which mapping applies: the hunt's, or the menus' (any other screen, the
// pause box and the intro too).
enum class PadMode : uint8_t { Hunt, Menu };

struct PadBinding {
    PadInput input;
    PadCommand hunt;
    PadCommand menu;
};

inline constexpr std::array<PadBinding, size_t(PadInput::Count)> kPadBindings{{
    {PadInput::DpadUp, PadCommand::Up, PadCommand::FocusUp},
    {PadInput::DpadDown, PadCommand::Down, PadCommand::FocusDown},
    {PadInput::DpadLeft, PadCommand::Left, PadCommand::FocusLeft},
    {PadInput::DpadRight, PadCommand::Right, PadCommand::FocusRight},
    {PadInput::StickUp, PadCommand::Up, PadCommand::FocusUp},
    {PadInput::StickDown, PadCommand::Down, PadCommand::FocusDown},
    {PadInput::StickLeft, PadCommand::Left, PadCommand::FocusLeft},
    {PadInput::StickRight, PadCommand::Right, PadCommand::FocusRight},
    {PadInput::A, PadCommand::Fire, PadCommand::Activate},
    {PadInput::RightTrigger, PadCommand::Fire, PadCommand::None},
    {PadInput::X, PadCommand::Weapon, PadCommand::None},
    {PadInput::LeftTrigger, PadCommand::Weapon, PadCommand::None},
    {PadInput::Y, PadCommand::Binoculars, PadCommand::None},
    {PadInput::LeftShoulder, PadCommand::Jeep, PadCommand::None},
    {PadInput::RightShoulder, PadCommand::Jeep, PadCommand::None},
    // B is "back" in the menus; in a hunt it does nothing, so that a player
    // used to it leaving a screen never pauses or fires by it.
    {PadInput::B, PadCommand::None, PadCommand::Escape},
    {PadInput::Back, PadCommand::Escape, PadCommand::Escape},
    {PadInput::Start, PadCommand::Escape, PadCommand::Escape},
}};

// The row of an input; every input has exactly one.
constexpr const PadBinding& PadBindingOf(PadInput input)
{
    size_t row = 0;
    while (row + 1 < kPadBindings.size() && kPadBindings[row].input != input)
        ++row;
    return kPadBindings[row];
}

static_assert([] {
    for (size_t i = 0; i < size_t(PadInput::Count); ++i)
        if (PadBindingOf(PadInput(i)).input != PadInput(i))
            return false;
    return true;
}(), "an input without its row in kPadBindings");

// The stick and the triggers count as pressed from kPadPressAt and as
// released again below kPadReleaseBelow: the gap keeps a stick resting near
// the edge from chattering.
constexpr int kPadPressAt = 16000;
constexpr int kPadReleaseBelow = 10000;
