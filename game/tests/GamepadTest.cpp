#include "MiniGameFrameTest.h"
#include "game/CGamepad.h"
#include "game/CHudScreen.h"
#include "game/CScreen.h"

#include <SDL.h>
#include <gtest/gtest.h>

// A virtual pad attached through SDL's game-controller interface, its events
// fed to the game's pad layer and the frame as the event loop does.
class GamepadTest : public MiniGameFrameTest {
protected:
    GamepadTest() : MiniGameFrameTest("gamepad") {}
    void SetUp() override
    {
        MiniGameFrameTest::SetUp();
        if (HasFatalFailure())
            return;
        // The test's hidden window never has the focus, without which SDL
        // drops a pad's input (as the game wants in the background).
        SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER), 0) << SDL_GetError();
        frame = std::make_unique<CMainFrame>();
        FrameSettings settings;
        settings.fullScreen = false;
        settings.playVideo = false;
        ASSERT_TRUE(frame->Create(window, 1, settings));
        frame->OnFirstMove();
        frame->RunFrame();
        Plug();
    }
    void TearDown() override
    {
        if (frame)
            pads.CloseAll(*frame);
        Unplug();
        MiniGameFrameTest::TearDown();
    }
    void Plug()
    {
        device = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX,
                                           SDL_CONTROLLER_BUTTON_MAX, 0);
        ASSERT_GE(device, 0) << SDL_GetError();
        joystick = SDL_JoystickOpen(device);
        ASSERT_NE(joystick, nullptr) << SDL_GetError();
        Pump();
        ASSERT_EQ(pads.OpenCount(), 1);
    }
    void Unplug()
    {
        if (!joystick)
            return;
        const SDL_JoystickID id = SDL_JoystickInstanceID(joystick);
        SDL_JoystickClose(joystick);
        joystick = nullptr;
        // Detached by its place among the devices, found again by its id.
        for (int index = 0; index < SDL_NumJoysticks(); ++index)
            if (SDL_JoystickGetDeviceInstanceID(index) == id)
                SDL_JoystickDetachVirtual(index);
        Pump();
    }
    void Pump()
    {
        SDL_Event event;
        SDL_PumpEvents();
        while (SDL_PollEvent(&event))
            if (frame)
                pads.HandleEvent(event, *frame);
    }
    void Button(SDL_GameControllerButton button, bool down)
    {
        ASSERT_EQ(SDL_JoystickSetVirtualButton(joystick, button, down ? 1 : 0), 0);
        Pump();
    }
    void Tap(SDL_GameControllerButton button)
    {
        Button(button, true);
        Button(button, false);
        frame->RunFrame();
    }
    void Axis(SDL_GameControllerAxis axis, int value)
    {
        ASSERT_EQ(SDL_JoystickSetVirtualAxis(joystick, axis, Sint16(value)), 0);
        Pump();
    }
    uint32_t Control(HuntControl control) const { return frame->ReadControls().states[size_t(control)]; }
    bool Held(HuntControl control) const { return (Control(control) & CONTROL_DOWN) != 0; }
    // The main menu's lit button, -1 for none.
    int LitItem() const
    {
        const CScreen* screen = frame->Screen(frame->CurrentScreenId());
        for (int i = 0; i < screen->ItemCount(); ++i)
            if (screen->Item(i).desc->frames > 1 && screen->Item(i).frame == 1)
                return i;
        return -1;
    }

    CGamepad pads;
    int device = -1;
    SDL_Joystick* joystick = nullptr;
};

TEST_F(GamepadTest, ButtonsAndTheStickPlayTheControlsKeysInAHunt)
{
    ASSERT_TRUE(frame->StartHunt(0, 0, 1));
    frame->RunFrame();
    Button(SDL_CONTROLLER_BUTTON_A, true);
    Axis(SDL_CONTROLLER_AXIS_LEFTY, -32768);
    frame->RunFrame();
    EXPECT_TRUE(Held(HuntControl::Button0)); // fire
    EXPECT_EQ(Control(HuntControl::Button0) & CONTROL_PRESSES, 1u);
    EXPECT_TRUE(Held(HuntControl::Up));
    EXPECT_FALSE(Held(HuntControl::Down));
    Button(SDL_CONTROLLER_BUTTON_A, false);
    Axis(SDL_CONTROLLER_AXIS_LEFTY, 0);
    Button(SDL_CONTROLLER_BUTTON_DPAD_LEFT, true);
    Axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 32767);
    frame->RunFrame();
    EXPECT_TRUE(Held(HuntControl::Left));
    EXPECT_FALSE(Held(HuntControl::Up));
    EXPECT_TRUE(Held(HuntControl::Button0)); // the right trigger fires too
    Button(SDL_CONTROLLER_BUTTON_DPAD_LEFT, false);
    Axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 0);

    // The three toggles of the hunt display, each through its control's key.
    CHudScreen* hud = frame->Hud();
    Tap(SDL_CONTROLLER_BUTTON_Y);
    EXPECT_TRUE(hud->Binoculars());
    Tap(SDL_CONTROLLER_BUTTON_Y);
    EXPECT_FALSE(hud->Binoculars());
    Tap(SDL_CONTROLLER_BUTTON_X);
    EXPECT_TRUE(hud->Aiming());
    Tap(SDL_CONTROLLER_BUTTON_X);
    Tap(SDL_CONTROLLER_BUTTON_LEFTSHOULDER);
    EXPECT_TRUE(hud->Driving());
    // B is the menus' "back": in the hunt it does nothing.
    Tap(SDL_CONTROLLER_BUTTON_B);
    EXPECT_EQ(frame->CurrentScreenId(), ScreenId::Hunt);
    EXPECT_TRUE(hud->Driving());
}

TEST_F(GamepadTest, APadPulledOutLetsGoOfWhatItHeldAndComesBackWhenPluggedIn)
{
    ASSERT_TRUE(frame->StartHunt(0, 0, 1));
    frame->RunFrame();
    Button(SDL_CONTROLLER_BUTTON_A, true);
    Axis(SDL_CONTROLLER_AXIS_LEFTX, 32767);
    frame->RunFrame();
    ASSERT_TRUE(Held(HuntControl::Button0));
    ASSERT_TRUE(Held(HuntControl::Right));
    Unplug();
    EXPECT_EQ(pads.OpenCount(), 0);
    frame->RunFrame();
    EXPECT_FALSE(Held(HuntControl::Button0));
    EXPECT_FALSE(Held(HuntControl::Right));
    Plug();
    Button(SDL_CONTROLLER_BUTTON_A, true);
    frame->RunFrame();
    EXPECT_TRUE(Held(HuntControl::Button0));
}

TEST_F(GamepadTest, StartPausesTheHuntAsEscapeDoesAndResumesIt)
{
    ASSERT_TRUE(frame->StartHunt(0, 0, 1));
    frame->RunFrame();
    Tap(SDL_CONTROLLER_BUTTON_START);
    ASSERT_EQ(frame->CurrentScreenId(), ScreenId::Options);
    EXPECT_TRUE(frame->Paused());
    const double pausedAt = frame->GameClock().Seconds();
    frame->SetFrameTime(0.5);
    frame->RunFrame();
    EXPECT_DOUBLE_EQ(frame->GameClock().Seconds(), pausedAt);
    Tap(SDL_CONTROLLER_BUTTON_START);
    EXPECT_EQ(frame->CurrentScreenId(), ScreenId::Hunt);
    // Back pauses too, and B (the menus' "back") resumes from the box.
    Tap(SDL_CONTROLLER_BUTTON_BACK);
    ASSERT_EQ(frame->CurrentScreenId(), ScreenId::Options);
    Tap(SDL_CONTROLLER_BUTTON_B);
    EXPECT_EQ(frame->CurrentScreenId(), ScreenId::Hunt);
}

TEST_F(GamepadTest, TheFocusWalksTheMenuAndAClicksTheFocusedItem)
{
    ASSERT_EQ(frame->CurrentScreenId(), ScreenId::MainMenu);
    EXPECT_EQ(LitItem(), -1);
    // From nowhere the focus goes to the nearest item, then down the column.
    Tap(SDL_CONTROLLER_BUTTON_DPAD_DOWN);
    EXPECT_EQ(LitItem(), MainMenuItem::Start);
    Axis(SDL_CONTROLLER_AXIS_LEFTY, 32767);
    Axis(SDL_CONTROLLER_AXIS_LEFTY, 0);
    frame->RunFrame();
    EXPECT_EQ(LitItem(), MainMenuItem::Trophies);
    Tap(SDL_CONTROLLER_BUTTON_DPAD_UP);
    EXPECT_EQ(LitItem(), MainMenuItem::Start);
    Tap(SDL_CONTROLLER_BUTTON_DPAD_UP); // nothing above: it stays
    EXPECT_EQ(LitItem(), MainMenuItem::Start);
    Tap(SDL_CONTROLLER_BUTTON_A);
    ASSERT_EQ(frame->CurrentScreenId(), ScreenId::Quarry);
    Tap(SDL_CONTROLLER_BUTTON_DPAD_RIGHT); // the choice nearest the pointer
    Tap(SDL_CONTROLLER_BUTTON_A);
    const CScreen* quarry = frame->Screen(ScreenId::Quarry);
    EXPECT_GE(quarry->LastSelected(QuarryItem::FirstChoice, QuarryItem::Previous - 1), QuarryItem::FirstChoice);
}

TEST_F(GamepadTest, AButtonHeldFromAMenuIntoTheHuntFiresNothingUntilPressedAgain)
{
    frame->OnMouseMove(0, 0);
    Button(SDL_CONTROLLER_BUTTON_A, true); // a click on nothing
    ASSERT_TRUE(frame->StartHunt(0, 0, 1));
    frame->RunFrame();
    Axis(SDL_CONTROLLER_AXIS_LEFTX, 1); // any pad event brings the hunt's mapping
    frame->RunFrame();
    EXPECT_FALSE(Held(HuntControl::Button0));
    Button(SDL_CONTROLLER_BUTTON_A, false);
    Button(SDL_CONTROLLER_BUTTON_A, true);
    frame->RunFrame();
    EXPECT_TRUE(Held(HuntControl::Button0));
}

// The focus rule alone, on a screen's table with rectangles set by hand.
TEST(ScreenFocus, MovesToTheNearestItemThatWayPreferringStraightLines)
{
    CScreen screen(ScreenId::Options, nullptr, nullptr);
    const auto place = [&](int item, int left, int top) {
        CScreenItem& it = screen.Item(item);
        it.left = left, it.top = top, it.right = left + 100, it.bottom = top + 20;
    };
    place(OptionsItem::Background, 0, 0); // no action: never focused
    screen.Item(OptionsItem::Background).right = 640;
    screen.Item(OptionsItem::Background).bottom = 480;
    place(OptionsItem::Resume, 200, 100);
    place(OptionsItem::MainMenu, 200, 200);
    place(OptionsItem::Exit, 400, 110);
    EXPECT_EQ(screen.FocusNeighbour(0, 0, FocusDirection::Up), OptionsItem::Resume); // from nowhere: nearest
    EXPECT_EQ(screen.FocusNeighbour(250, 110, FocusDirection::Down), OptionsItem::MainMenu);
    EXPECT_EQ(screen.FocusNeighbour(250, 110, FocusDirection::Right), OptionsItem::Exit);
    EXPECT_EQ(screen.FocusNeighbour(250, 110, FocusDirection::Up), -1);
    EXPECT_EQ(screen.FocusNeighbour(250, 210, FocusDirection::Up), OptionsItem::Resume);
    // Straight up from Exit is nothing; off the line, Resume and MainMenu
    // are to the left, the nearer in line wins.
    EXPECT_EQ(screen.FocusNeighbour(450, 120, FocusDirection::Left), OptionsItem::Resume);
    // An item without a picture (empty rectangle) cannot take the focus.
    screen.Item(OptionsItem::Exit).right = screen.Item(OptionsItem::Exit).left;
    EXPECT_EQ(screen.FocusNeighbour(250, 110, FocusDirection::Right), -1);

    // Overlapping items: the point chosen is one the item itself takes.
    place(OptionsItem::Exit, 250, 100);
    int x = 0, y = 0;
    ASSERT_TRUE(screen.FocusPoint(OptionsItem::Resume, x, y));
    EXPECT_LT(x, 250);
    EXPECT_TRUE(screen.Item(OptionsItem::Resume).Contains(x, y));
}
