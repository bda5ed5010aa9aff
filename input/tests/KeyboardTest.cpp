#include "input/CInputManager.h"

#include <gtest/gtest.h>

class KeyboardTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        input.Create(nullptr, nullptr, INPUT_KEYBOARD);
        up = input.AddControl(0, 200);
        fire = input.AddControl(0, 57);
    }
    CInputManager input;
    InputControlHandle up = nullptr, fire = nullptr;
};

TEST_F(KeyboardTest, TapBetweenPollsCountsOnePressAndOneRelease)
{
    input.Poll(0);
    input.OnKeyEvent(57, true);
    input.OnKeyEvent(57, false);
    input.Poll(0);
    const uint32_t state = input.GetControlState(fire);
    EXPECT_EQ(state & CONTROL_DOWN, 0u);
    EXPECT_EQ(state & CONTROL_PRESSES, 1u);
    EXPECT_EQ((state & CONTROL_RELEASES) >> 8, 1u);
    input.Poll(0);
    EXPECT_EQ(input.GetControlState(fire), 0u); // counts are per poll
}

TEST_F(KeyboardTest, HeldKeyStaysDownWithoutNewPresses)
{
    input.OnKeyEvent(200, true);
    input.Poll(0);
    EXPECT_EQ(input.GetControlState(up), CONTROL_DOWN | 1u);
    input.OnKeyEvent(200, true); // auto-repeat is no new press
    input.Poll(0);
    EXPECT_EQ(input.GetControlState(up), CONTROL_DOWN);
}

TEST_F(KeyboardTest, OtherKindsAndUnboundCodesReadZero)
{
    InputControlHandle joystick = input.AddControl(1, 57);
    InputControlHandle none = input.AddControl(0, 0);
    InputControlHandle outside = input.AddControl(0, 300);
    input.OnKeyEvent(57, true);
    input.Poll(0);
    EXPECT_EQ(input.GetControlState(joystick), 0u);
    EXPECT_EQ(input.GetControlState(none), 0u);
    EXPECT_EQ(input.GetControlState(outside), 0u);
    EXPECT_NE(input.GetControlState(fire), 0u);
}

TEST_F(KeyboardTest, FocusLossDropsKeysAndRegainingReadsNormally)
{
    input.OnKeyEvent(200, true);
    input.OnFocusChanged(false);
    input.OnKeyEvent(57, true); // not delivered in the background
    input.Poll(0);
    EXPECT_EQ(input.GetControlState(up), 0u);
    EXPECT_EQ(input.GetControlState(fire), 0u);
    input.OnFocusChanged(true);
    input.Poll(0); // reacquires
    input.OnKeyEvent(57, true);
    input.Poll(0);
    EXPECT_EQ(input.GetControlState(fire), CONTROL_DOWN | 1u);
}

// A key held down while the window comes back reads as held at the first
// poll, with no press; the auto-repeat that follows is no new press either,
// and its release counts as a release.
TEST_F(KeyboardTest, AKeyHeldAsTheFocusReturnsReadsHeldWithoutAPress)
{
    input.OnKeyEvent(200, true);
    input.Poll(0);
    input.OnFocusChanged(false);
    uint8_t held[256] = {};
    held[200] = 0x80;
    input.OnFocusChanged(true, held);
    input.Poll(0);
    EXPECT_EQ(input.GetControlState(up), CONTROL_DOWN);
    EXPECT_EQ(input.GetControlState(fire), 0u);
    input.OnKeyEvent(200, true); // the system's auto-repeat, 0.7 s later
    input.Poll(0);
    EXPECT_EQ(input.GetControlState(up), CONTROL_DOWN);
    input.OnKeyEvent(200, false);
    input.Poll(0);
    EXPECT_EQ(input.GetControlState(up), 1u << 8);
    // Without the keys' state the device comes back with every key up.
    input.OnKeyEvent(57, true);
    input.OnFocusChanged(false);
    input.OnFocusChanged(true);
    input.Poll(0);
    EXPECT_EQ(input.GetControlState(fire), 0u);
}

TEST_F(KeyboardTest, BufferOverflowCountsNoEventsButKeepsTheState)
{
    input.Poll(0);
    for (int i = 0; i < 200; ++i) {
        input.OnKeyEvent(57, true);
        input.OnKeyEvent(57, false);
    }
    input.OnKeyEvent(200, true);
    input.Poll(0);
    EXPECT_EQ(input.GetControlState(fire), 0u);
    EXPECT_EQ(input.GetControlState(up), CONTROL_DOWN);
}
