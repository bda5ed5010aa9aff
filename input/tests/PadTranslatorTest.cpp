#include "input/CPadTranslator.h"

#include <gtest/gtest.h>

namespace {

using Events = std::vector<PadEvent>;

Events Press(CPadTranslator& pad, PadInput input, bool down)
{
    Events out;
    pad.OnInput(input, down, out);
    return out;
}

Events Axis(CPadTranslator& pad, PadAxis axis, int value)
{
    Events out;
    pad.OnAxis(axis, value, out);
    return out;
}

CPadTranslator InMode(PadMode mode)
{
    CPadTranslator pad;
    Events ignored;
    pad.SetMode(mode, ignored);
    return pad;
}

} // namespace

TEST(PadTranslator, EveryButtonOfTheHuntPressesAndReleasesItsControl)
{
    CPadTranslator pad = InMode(PadMode::Hunt);
    const std::pair<PadInput, PadCommand> expected[] = {
        {PadInput::DpadUp, PadCommand::Up},          {PadInput::DpadDown, PadCommand::Down},
        {PadInput::DpadLeft, PadCommand::Left},      {PadInput::DpadRight, PadCommand::Right},
        {PadInput::A, PadCommand::Fire},             {PadInput::RightTrigger, PadCommand::Fire},
        {PadInput::X, PadCommand::Weapon},           {PadInput::LeftTrigger, PadCommand::Weapon},
        {PadInput::Y, PadCommand::Binoculars},       {PadInput::LeftShoulder, PadCommand::Jeep},
        {PadInput::RightShoulder, PadCommand::Jeep}, {PadInput::Start, PadCommand::Escape},
        {PadInput::Back, PadCommand::Escape},
    };
    for (const auto& [input, command] : expected) {
        EXPECT_EQ(Press(pad, input, true), (Events{{command, true}})) << int(input);
        EXPECT_TRUE(pad.IsHeld(command));
        EXPECT_EQ(Press(pad, input, false), (Events{{command, false}})) << int(input);
    }
    // B leaves the hunt alone.
    EXPECT_TRUE(Press(pad, PadInput::B, true).empty());
    EXPECT_TRUE(Press(pad, PadInput::B, false).empty());
}

TEST(PadTranslator, MenusMoveTheFocusClickAndGoBack)
{
    CPadTranslator pad = InMode(PadMode::Menu);
    EXPECT_EQ(Press(pad, PadInput::DpadLeft, true), (Events{{PadCommand::FocusLeft, true}}));
    EXPECT_EQ(Press(pad, PadInput::A, true), (Events{{PadCommand::Activate, true}}));
    EXPECT_EQ(Press(pad, PadInput::B, true), (Events{{PadCommand::Escape, true}}));
    EXPECT_EQ(Axis(pad, PadAxis::LeftY, 32767), (Events{{PadCommand::FocusDown, true}}));
    // The triggers and the other buttons do nothing here.
    EXPECT_TRUE(Axis(pad, PadAxis::RightTrigger, 32767).empty());
    EXPECT_TRUE(Press(pad, PadInput::Y, true).empty());
}

TEST(PadTranslator, TwoInputsOnOneCommandHoldItUntilTheLastLetsGo)
{
    CPadTranslator pad = InMode(PadMode::Hunt);
    EXPECT_EQ(Press(pad, PadInput::DpadUp, true), (Events{{PadCommand::Up, true}}));
    EXPECT_TRUE(Axis(pad, PadAxis::LeftY, -30000).empty()); // the stick up too
    EXPECT_TRUE(Press(pad, PadInput::DpadUp, false).empty());
    EXPECT_TRUE(pad.IsHeld(PadCommand::Up));
    EXPECT_EQ(Axis(pad, PadAxis::LeftY, 0), (Events{{PadCommand::Up, false}}));
    // A repeated "down" is not a second holder.
    Press(pad, PadInput::A, true);
    EXPECT_TRUE(Press(pad, PadInput::A, true).empty());
    EXPECT_EQ(Press(pad, PadInput::A, false), (Events{{PadCommand::Fire, false}}));
}

TEST(PadTranslator, TheStickHasADeadZoneWithAGapAndNeverHoldsBothSides)
{
    CPadTranslator pad = InMode(PadMode::Hunt);
    EXPECT_TRUE(Axis(pad, PadAxis::LeftX, kPadPressAt - 1).empty());
    EXPECT_EQ(Axis(pad, PadAxis::LeftX, kPadPressAt), (Events{{PadCommand::Right, true}}));
    // Sinking back into the gap keeps it held; below the gap lets go.
    EXPECT_TRUE(Axis(pad, PadAxis::LeftX, kPadReleaseBelow).empty());
    EXPECT_EQ(Axis(pad, PadAxis::LeftX, kPadReleaseBelow - 1), (Events{{PadCommand::Right, false}}));
    // Flicked across between two events: the right side goes before the left comes.
    Axis(pad, PadAxis::LeftX, 32767);
    EXPECT_EQ(Axis(pad, PadAxis::LeftX, -32768),
              (Events{{PadCommand::Right, false}, {PadCommand::Left, true}}));
    EXPECT_EQ(Axis(pad, PadAxis::LeftTrigger, 20000), (Events{{PadCommand::Weapon, true}}));
    EXPECT_EQ(Axis(pad, PadAxis::LeftTrigger, 0), (Events{{PadCommand::Weapon, false}}));
}

TEST(PadTranslator, AModeChangeReleasesAndHeldInputsWaitForANewPress)
{
    CPadTranslator pad = InMode(PadMode::Menu);
    Press(pad, PadInput::A, true); // clicks "start"
    Events out;
    pad.SetMode(PadMode::Hunt, out);
    EXPECT_EQ(out, (Events{{PadCommand::Activate, false}}));
    // Still held in the hunt: no shot, and letting go says nothing.
    EXPECT_FALSE(pad.IsHeld(PadCommand::Fire));
    EXPECT_TRUE(Press(pad, PadInput::A, false).empty());
    EXPECT_EQ(Press(pad, PadInput::A, true), (Events{{PadCommand::Fire, true}}));
    out.clear();
    pad.SetMode(PadMode::Hunt, out); // the same mode again: nothing
    EXPECT_TRUE(out.empty());
}

TEST(PadTranslator, AVanishedPadReleasesWhatItHeld)
{
    CPadTranslator pad = InMode(PadMode::Hunt);
    Press(pad, PadInput::A, true);
    Axis(pad, PadAxis::LeftY, -32768);
    Events out;
    pad.ReleaseAll(out);
    EXPECT_EQ(out, (Events{{PadCommand::Fire, false}, {PadCommand::Up, false}}));
    EXPECT_FALSE(pad.IsHeld(PadCommand::Fire));
    // The same buttons press afresh once it is back.
    EXPECT_EQ(Press(pad, PadInput::A, true), (Events{{PadCommand::Fire, true}}));
}
