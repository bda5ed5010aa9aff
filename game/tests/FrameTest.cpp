#include "MiniGameData.h"
#include "MiniGameFrameTest.h"
#include "display/CDibDDViewport.h"
#include "game/CMainFrame.h"
#include "game/CHudScreen.h"
#include "game/CScreen.h"
#include "game/CTrophyScreen.h"
#include "game/TrophyFile.h"
#include "common/KeyCodes.h"
#include "gamedata/CConfigFile.h"
#include "media/CSoundDevice.h"

#include <SDL.h>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

// A hunt world that ends the hunt as told.
class ScriptedHunt final : public IHuntWorld {
public:
    uint32_t killReport = 0;
    HuntEnd end;
    int steps = 0, renders = 0, windTimers = 0, silenced = 0;
    std::vector<std::pair<ItemAction, bool>> toggles;
    HuntInput lastInput;
    bool refuse = false;
    void Init(const HuntSetup&) override {}
    bool LoadHunt(int quarry, int, int, std::string& problem) override
    {
        if (quarry >= 0 && refuse) {
            problem = "env\\back20.bmp";
            return false;
        }
        return true;
    }
    void OnToggle(ItemAction toggle, bool on) override { toggles.emplace_back(toggle, on); }
    uint32_t Step(const HuntInput& input, const HuntToggles&, double) override
    {
        lastInput = input;
        ++steps;
        return killReport;
    }
    void Render() override { ++renders; }
    HuntEndStatus EndStatus() const override { return HuntEndStatus::Running; }
    HuntEnd DecideEnd() override { return end; }
    void Silence() override { ++silenced; }
    void OnWindTimer() override { ++windTimers; }
    void ClearDrawList() override {}
    int CompassFrame() const override { return 3; }
    int WindFrame() const override { return 7; }
    bool JeepStandsStill() const override { return true; }
};

} // namespace

class FrameTest : public MiniGameFrameTest {
protected:
    FrameTest() : MiniGameFrameTest("frame") {}
    void SetUp() override
    {
        MiniGameFrameTest::SetUp();
        if (!HasFatalFailure())
            Rebuild();
    }
    // A new frame on the same folder (after a test changed "config.dat").
    void Rebuild()
    {
        frame.reset();
        frame = std::make_unique<CMainFrame>();
        auto hunt = std::make_unique<ScriptedHunt>();
        huntWorld = hunt.get();
        frame->SetHuntWorld(std::move(hunt));
        frame->SetHelpOpener([this](const std::string& path) { helpOpened = path; });
        FrameSettings settings;
        settings.fullScreen = false;
        settings.playVideo = false;
        ASSERT_TRUE(frame->Create(window, 1, settings));
        frame->OnFirstMove();
    }
    // Moves the mouse onto an item of the current screen, clicks, runs a pass.
    void ClickItem(int item)
    {
        const CScreenItem& it = frame->Screen(frame->CurrentScreenId())->Item(item);
        frame->OnMouseMove(it.left + 3, it.top + 3);
        frame->OnMouseButton(true);
        frame->OnMouseButton(false);
        EXPECT_TRUE(frame->RunFrame());
    }
    std::string helpOpened;
    ScriptedHunt* huntWorld = nullptr;
};

TEST_F(FrameTest, StartsOnTheMainMenuInEightBitsWithoutConfig)
{
    EXPECT_FALSE(frame->CloseRequested());
    EXPECT_EQ(frame->CurrentScreenId(), ScreenId::MainMenu);
    EXPECT_EQ(frame->BackBuffer()->GetFormat(), PF_INDEX8);
    EXPECT_NE(frame->BackBuffer()->GetPalette(), nullptr);
    EXPECT_TRUE(frame->Timers().IsRunning(TIMER_WIND));
    EXPECT_TRUE(frame->RunFrame());
}

TEST_F(FrameTest, HoverLightsAButtonAndLeavingDimsIt)
{
    CScreen* menu = frame->Screen(ScreenId::MainMenu);
    frame->OnMouseMove(menu->Item(1).left + 1, menu->Item(1).top + 1);
    frame->RunFrame();
    EXPECT_EQ(menu->Item(1).frame, 1);
    frame->OnMouseMove(600, 10);
    frame->RunFrame();
    EXPECT_EQ(menu->Item(1).frame, 0);
}

TEST_F(FrameTest, WalksFromTheMenuIntoAHuntAndBack)
{
    ClickItem(1);
    ASSERT_EQ(frame->CurrentScreenId(), ScreenId::Quarry);
    CScreen* quarry = frame->Screen(ScreenId::Quarry);
    EXPECT_EQ(quarry->LastSelected(QuarryItem::FirstChoice, QuarryItem::Previous - 1), 2); // the giraffe is selected afresh
    ClickItem(3);
    EXPECT_EQ(quarry->LastSelected(QuarryItem::FirstChoice, QuarryItem::Previous - 1), 3);
    ClickItem(3); // clicking the selected choice keeps it
    EXPECT_EQ(quarry->LastSelected(QuarryItem::FirstChoice, QuarryItem::Previous - 1), 3);
    ClickItem(9);
    ASSERT_EQ(frame->CurrentScreenId(), ScreenId::Weapon);
    ClickItem(5);
    ClickItem(8);
    ASSERT_EQ(frame->CurrentScreenId(), ScreenId::Scenario);
    ClickItem(2);
    ClickItem(5); // start the hunt
    ASSERT_EQ(frame->CurrentScreenId(), ScreenId::Hunt);
    EXPECT_EQ(frame->QuarryKind(), 3);
    const int steps = huntWorld->steps;
    frame->RunFrame();
    EXPECT_EQ(huntWorld->steps, steps + 1);

    // Options freeze the hunt; resume keeps the toggles.
    CScreen* hud = frame->Screen(ScreenId::Hunt);
    ClickItem(2); // binoculars on
    EXPECT_EQ(hud->Item(2).frame, 1);
    ClickItem(5);
    ASSERT_EQ(frame->CurrentScreenId(), ScreenId::Options);
    const int frozen = huntWorld->steps;
    frame->RunFrame();
    EXPECT_EQ(huntWorld->steps, frozen);
    ClickItem(1);
    ASSERT_EQ(frame->CurrentScreenId(), ScreenId::Hunt);
    EXPECT_EQ(hud->Item(2).frame, 1);

    ClickItem(5);
    ClickItem(2); // options: main menu
    EXPECT_EQ(frame->CurrentScreenId(), ScreenId::MainMenu);
    EXPECT_EQ(frame->QuarryKind(), 0);

    // Back to the quarry screen: the giraffe again.
    ClickItem(1);
    EXPECT_EQ(frame->Screen(ScreenId::Quarry)->LastSelected(QuarryItem::FirstChoice, QuarryItem::Previous - 1), 2);
}

TEST_F(FrameTest, EndOfHuntTimersShowThePictureThenReturnToTheMenu)
{
    // Through the screens by their items' actions: start, next, next, start the hunt.
    frame->ActOnItem(1);
    frame->ActOnItem(9);
    ASSERT_EQ(frame->CurrentScreenId(), ScreenId::Weapon);
    frame->ActOnItem(8);
    frame->ActOnItem(5);
    ASSERT_EQ(frame->CurrentScreenId(), ScreenId::Hunt);
    EXPECT_EQ(frame->QuarryKind(), 2); // the giraffe, selected afresh

    huntWorld->killReport = 1;
    huntWorld->end = {ScreenId::EndZebra, ANIMAL_ZEBRA};
    frame->RunFrame(); // tick 1, at 0 s: the kill starts timer 3
    ASSERT_TRUE(frame->Timers().IsRunning(TIMER_HUNT_END));
    frame->SetFrameTime(0.95); // ticks 2 to 20: not yet
    frame->RunFrame();
    EXPECT_EQ(frame->CurrentScreenId(), ScreenId::Hunt);
    EXPECT_EQ(huntWorld->silenced, 0);
    frame->SetFrameTime(0.05); // tick 21, at 1 s of game time
    frame->RunFrame();
    EXPECT_EQ(frame->CurrentScreenId(), ScreenId::EndZebra);
    EXPECT_EQ(huntWorld->silenced, 1); // the hunt's sounds stop with the picture
    EXPECT_FALSE(frame->Timers().IsRunning(TIMER_HUNT_END));
    EXPECT_TRUE(frame->Timers().IsRunning(TIMER_BACK_TO_MENU));
    // The end picture cannot be left by clicking.
    frame->OnMouseMove(300, 200);
    frame->OnMouseButton(true);
    frame->RunFrame();
    EXPECT_EQ(frame->CurrentScreenId(), ScreenId::EndZebra);
    frame->SetFrameTime(9.95);
    frame->RunFrame();
    EXPECT_EQ(frame->CurrentScreenId(), ScreenId::MainMenu);
    EXPECT_DOUBLE_EQ(frame->GameClock().Seconds(), 11.05); // back at 11 s, ten after the picture
    EXPECT_FALSE(frame->Timers().IsRunning(TIMER_BACK_TO_MENU));
    EXPECT_EQ(huntWorld->windTimers, 0); // the wind timer only acts during a hunt
}

TEST_F(FrameTest, HelpExitAndDeactivation)
{
    ClickItem(3);
    EXPECT_NE(helpOpened.find("Veldra.html"), std::string::npos);
    EXPECT_EQ(frame->CurrentScreenId(), ScreenId::MainMenu);
    frame->OnActivateApp(false);
    EXPECT_FALSE(frame->RunFrame());
    frame->OnActivateApp(true);
    EXPECT_TRUE(frame->RunFrame());
    const CScreenItem& exit = frame->Screen(ScreenId::MainMenu)->Item(4);
    frame->OnMouseMove(exit.left + 2, exit.top + 2);
    frame->OnMouseButton(true);
    EXPECT_FALSE(frame->RunFrame());
    EXPECT_TRUE(frame->CloseRequested());
}

TEST_F(FrameTest, TrophyRoomPagesThroughFourTrophies)
{
    for (int kind : {1, 2, 3, 7})
        ASSERT_TRUE(AppendTrophy(kind));
    ClickItem(2);
    ASSERT_EQ(frame->CurrentScreenId(), ScreenId::Trophies);
    auto* room = static_cast<CTrophyScreen*>(frame->Screen(ScreenId::Trophies));
    EXPECT_EQ(room->TrophyCount(), 4);
    EXPECT_EQ(room->PageStart(), 0);
    ClickItem(9);
    EXPECT_EQ(room->PageStart(), 3);
    ClickItem(9); // past the end: the last page
    EXPECT_EQ(room->PageStart(), 3);
    ClickItem(8);
    ClickItem(8);
    EXPECT_EQ(room->PageStart(), 0);
    ClickItem(10);
    EXPECT_EQ(frame->CurrentScreenId(), ScreenId::MainMenu);
}

TEST_F(FrameTest, MissingPicturesLeaveEmptyUnclickableItems)
{
    std::remove("menu/mstart.bmp");
    frame->Screen(ScreenId::MainMenu)->Leave();
    frame->Screen(ScreenId::MainMenu)->Enter(false);
    const CScreenItem& start = frame->Screen(ScreenId::MainMenu)->Item(1);
    EXPECT_EQ(start.right - start.left, 0);
    frame->OnMouseMove(45, 148);
    frame->OnMouseButton(true);
    frame->RunFrame();
    EXPECT_EQ(frame->CurrentScreenId(), ScreenId::MainMenu);
}

TEST_F(FrameTest, TheHuntDisplaysTogglesExcludeOneAnotherAndReachTheHunt)
{
    ASSERT_TRUE(frame->StartHunt(6, 4, 2));
    ASSERT_EQ(frame->CurrentScreenId(), ScreenId::Hunt);
    CHudScreen* hud = frame->Hud();
    ClickItem(HUD_AIM);
    EXPECT_TRUE(hud->Aiming());
    ClickItem(HUD_BINOCULARS); // refused while aiming
    EXPECT_FALSE(hud->Binoculars());
    ClickItem(HUD_DRIVE); // refused too
    EXPECT_FALSE(hud->Driving());
    ClickItem(HUD_AIM);
    ClickItem(HUD_BINOCULARS);
    EXPECT_TRUE(hud->Binoculars());
    const std::vector<std::pair<ItemAction, bool>> expected = {
        {ItemAction::Aim, true},   {ItemAction::Binoculars, false}, {ItemAction::Drive, false},
        {ItemAction::Aim, false},  {ItemAction::Binoculars, true}};
    EXPECT_EQ(huntWorld->toggles, expected);
    // The hunt display shows what the hunt says.
    EXPECT_EQ(hud->Item(HUD_COMPASS).frame, 3);
    EXPECT_EQ(hud->Item(HUD_WIND).frame, 7);
}

TEST_F(FrameTest, ToggleKeysActLikeClicksButAClickWins)
{
    // Keys: button 1 (aim) A, button 2 (binoculars) B, button 3 (drive) D.
    std::ofstream("config.dat") << "[configuration]\nkeyup=200\nkeydown=208\nkeybut1=30\nkeybut2=48\nkeybut3=32\n";
    Rebuild();
    ASSERT_TRUE(frame->StartHunt(6, 4, 2));
    CHudScreen* hud = frame->Hud();
    auto tap = [&](uint8_t key) {
        frame->OnKey(key, true);
        frame->OnKey(key, false);
    };
    tap(48);
    EXPECT_TRUE(frame->RunFrame());
    EXPECT_TRUE(hud->Binoculars());
    tap(30); // refused: the binoculars are up
    frame->RunFrame();
    EXPECT_FALSE(hud->Aiming());
    tap(48);
    tap(32); // both in one pass: the drive key is polled last and wins
    frame->RunFrame();
    EXPECT_TRUE(hud->Binoculars());
    EXPECT_FALSE(hud->Driving()); // refused: the binoculars are still up
    tap(48);
    frame->OnMouseMove(10, 10); // a click on nothing overrides the key
    frame->OnMouseButton(true);
    frame->OnMouseButton(false);
    frame->RunFrame();
    EXPECT_TRUE(hud->Binoculars());
    // The hunt step sees the controls: A held reads as held and pressed.
    frame->OnKey(30, true);
    frame->RunFrame();
    EXPECT_TRUE(huntWorld->lastInput.Held(HuntControl::Button1));
    EXPECT_TRUE(huntWorld->lastInput.Pressed(HuntControl::Button1));
    frame->RunFrame();
    EXPECT_TRUE(huntWorld->lastInput.Held(HuntControl::Button1));
    EXPECT_FALSE(huntWorld->lastInput.Pressed(HuntControl::Button1));
}

TEST_F(FrameTest, AKeyHeldWhileTheWindowComesBackReadsHeldWithoutAPress)
{
    std::ofstream("config.dat") << "[configuration]\nkeyup=200\nkeydown=208\n";
    Rebuild();
    ASSERT_TRUE(frame->StartHunt(6, 4, 2));
    frame->OnKey(200, true);
    frame->RunFrame();
    EXPECT_TRUE(huntWorld->lastInput.Held(HuntControl::Up));
    EXPECT_TRUE(huntWorld->lastInput.Pressed(HuntControl::Up));
    frame->OnActivateApp(false);
    EXPECT_FALSE(frame->RunFrame());
    uint8_t held[256] = {};
    held[200] = 0x80; // still held as the window comes back
    frame->OnActivateApp(true, held);
    frame->RunFrame();
    EXPECT_TRUE(huntWorld->lastInput.Held(HuntControl::Up));
    EXPECT_FALSE(huntWorld->lastInput.Pressed(HuntControl::Up));
    frame->OnKey(200, true); // the system's auto-repeat starts
    frame->RunFrame();
    EXPECT_TRUE(huntWorld->lastInput.Held(HuntControl::Up));
    EXPECT_FALSE(huntWorld->lastInput.Pressed(HuntControl::Up));
    frame->OnKey(200, false);
    frame->RunFrame();
    EXPECT_FALSE(huntWorld->lastInput.Held(HuntControl::Up));
}

TEST_F(FrameTest, AHuntThatCannotBeBuiltReturnsToTheMainMenu)
{
    huntWorld->refuse = true;
    frame->ActOnItem(1);
    frame->ActOnItem(9);
    frame->ActOnItem(8);
    frame->ActOnItem(5);
    EXPECT_EQ(frame->CurrentScreenId(), ScreenId::MainMenu);
    EXPECT_EQ(frame->QuarryKind(), 0);
    EXPECT_FALSE(frame->StartHunt(6, 4, 2));
    EXPECT_EQ(frame->CurrentScreenId(), ScreenId::MainMenu);
}

TEST_F(FrameTest, EscapeOrPausePausesTheHuntAndStopsItsClockUntilPressedAgain)
{
    frame->OnKey(dik::ESCAPE, true); // on the menu: nothing
    frame->OnKey(dik::ESCAPE, false);
    frame->RunFrame();
    EXPECT_EQ(frame->CurrentScreenId(), ScreenId::MainMenu);
    ASSERT_TRUE(frame->StartHunt(0, 0, 1));
    frame->RunFrame();
    // A kill starts the end timer; the pause comes before it fires.
    huntWorld->killReport = 1;
    huntWorld->end = {ScreenId::EndZebra, ANIMAL_ZEBRA};
    frame->RunFrame();
    huntWorld->killReport = 0;
    ASSERT_TRUE(frame->Timers().IsRunning(TIMER_HUNT_END));
    frame->OnKey(dik::ESCAPE, true);
    frame->OnKey(dik::ESCAPE, false);
    frame->RunFrame();
    ASSERT_EQ(frame->CurrentScreenId(), ScreenId::Options);
    EXPECT_TRUE(frame->Paused());
    const double pausedAt = frame->GameClock().Seconds();
    const int steps = huntWorld->steps;
    frame->SetFrameTime(0.25);
    for (int pass = 0; pass < 40; ++pass) // ten seconds of passes
        frame->RunFrame();
    EXPECT_EQ(frame->CurrentScreenId(), ScreenId::Options); // the end timer stood still too
    EXPECT_DOUBLE_EQ(frame->GameClock().Seconds(), pausedAt);
    EXPECT_EQ(huntWorld->steps, steps);
    EXPECT_EQ(huntWorld->windTimers, 0);

    frame->OnKey(dik::ESCAPE, true);
    frame->OnKey(dik::ESCAPE, false);
    frame->SetFrameTime(0.05);
    frame->RunFrame();
    ASSERT_EQ(frame->CurrentScreenId(), ScreenId::Hunt);
    frame->RunFrame();
    EXPECT_EQ(huntWorld->steps, steps + 1);
    EXPECT_DOUBLE_EQ(frame->GameClock().Seconds(), pausedAt + 0.05);

    // The Pause key does the same, both ways; the options box's own
    // Resume still works.
    frame->OnKey(dik::PAUSE, true);
    frame->RunFrame();
    EXPECT_EQ(frame->CurrentScreenId(), ScreenId::Options);
    frame->OnKey(dik::PAUSE, false);
    frame->OnKey(dik::PAUSE, true);
    frame->RunFrame();
    EXPECT_EQ(frame->CurrentScreenId(), ScreenId::Hunt);
    ClickItem(HuntItem::Options);
    ASSERT_EQ(frame->CurrentScreenId(), ScreenId::Options);
    frame->SetFrameTime(5);
    frame->RunFrame();
    EXPECT_EQ(frame->CurrentScreenId(), ScreenId::Options);
    ClickItem(OptionsItem::Resume);
    EXPECT_EQ(frame->CurrentScreenId(), ScreenId::Hunt);
    // A second later (game time) the end timer fires as it would have.
    frame->SetFrameTime(1.0);
    frame->RunFrame();
    EXPECT_EQ(frame->CurrentScreenId(), ScreenId::EndZebra);
}

TEST_F(FrameTest, VolumeKeysStepTheMasterGainShowItAndAreKeptForTheNextStart)
{
    EXPECT_EQ(frame->Volume(), kVolumeSteps); // nothing kept: full, not muted
    EXPECT_FALSE(frame->Muted());
    EXPECT_FLOAT_EQ(frame->Sound()->MasterGain(), 1.0f);
    const auto tap = [this](uint8_t key) {
        frame->OnKey(key, true);
        frame->OnKey(key, false);
    };
    tap(dik::F11);
    tap(dik::SUBTRACT);
    tap(dik::F11);
    EXPECT_EQ(frame->Volume(), kVolumeSteps - 3);
    EXPECT_FLOAT_EQ(frame->Sound()->MasterGain(), VolumeGain(kVolumeSteps - 3));
    EXPECT_TRUE(frame->VolumeDisplay().Visible());
    tap(dik::ADD);
    EXPECT_EQ(frame->Volume(), kVolumeSteps - 2);
    tap(dik::F10);
    EXPECT_TRUE(frame->Muted());
    EXPECT_FLOAT_EQ(frame->Sound()->MasterGain(), 0.0f);
    // The volume keys reach no control and skip nothing; the sign goes
    // after a second and a half of passes, the picture under it drawn again.
    frame->SetFrameTime(0.5);
    frame->RunFrame();
    frame->RunFrame();
    EXPECT_TRUE(frame->VolumeDisplay().Visible());
    frame->RunFrame();
    EXPECT_FALSE(frame->VolumeDisplay().Visible());
    EXPECT_EQ(frame->CurrentScreenId(), ScreenId::MainMenu);

    // Kept in config.dat beside the other keys, and restored at the next start.
    const GameConfig kept = CConfigFile("config.dat").Read();
    EXPECT_EQ(kept.volume, kVolumeSteps - 2);
    EXPECT_TRUE(kept.muted);
    Rebuild();
    EXPECT_EQ(frame->Volume(), kVolumeSteps - 2);
    EXPECT_TRUE(frame->Muted());
    EXPECT_FLOAT_EQ(frame->Sound()->MasterGain(), 0.0f);
    tap(dik::F12); // a step ends the mute
    EXPECT_FALSE(frame->Muted());
    EXPECT_EQ(frame->Volume(), kVolumeSteps - 1);
    for (int i = 0; i < 5; ++i)
        tap(dik::F12);
    EXPECT_EQ(frame->Volume(), kVolumeSteps); // no further than full
    EXPECT_FLOAT_EQ(frame->Sound()->MasterGain(), 1.0f);
    EXPECT_EQ(CConfigFile("config.dat").Read().volume, kVolumeSteps);
}

TEST_F(FrameTest, AnUnchangedPictureIsNeitherDrawnNorShownAgain)
{
    const auto passes = [this](int count) {
        const int64_t before = frame->Presents();
        for (int i = 0; i < count; ++i)
            frame->RunFrame();
        return frame->Presents() - before;
    };
    EXPECT_EQ(passes(1), 1); // the first picture
    // The menu stands still: ten seconds of passes (the wind and sound
    // timers among them) show nothing new.
    EXPECT_EQ(passes(200), 0);
    EXPECT_FALSE(frame->RunFrame());
    EXPECT_GT(frame->MillisecondsToNextNeed(), 0); // until the sound timer's next refill
    EXPECT_LE(frame->MillisecondsToNextNeed(), 100);

    // The pointer moves: one picture, then nothing again; the same for a key
    // (the screen may change once a tick has polled it).
    frame->OnMouseMove(320, 240);
    EXPECT_TRUE(frame->RunFrame());
    EXPECT_EQ(passes(20), 0);
    frame->OnMouseMove(320, 240); // no move
    EXPECT_EQ(passes(5), 0);
    frame->OnKey(dik::UP, true);
    EXPECT_EQ(passes(20), 1);
    frame->OnKey(dik::UP, false);
    EXPECT_EQ(passes(20), 1);
    // Input given between ticks is drawn at once and once more after the tick
    // that polls it, which the loop is told to wait for.
    frame->SetFrameTime(0.02);
    frame->OnMouseMove(10, 10);
    EXPECT_TRUE(frame->RunFrame());
    EXPECT_EQ(frame->MillisecondsToNextNeed(), 30);
    EXPECT_EQ(passes(3), 1);
    EXPECT_EQ(passes(10), 0);
    frame->SetFrameTime(0.05);

    // The volume sign: shown, then the picture under it again when it goes.
    frame->OnKey(dik::F11, true);
    frame->OnKey(dik::F11, false);
    EXPECT_EQ(passes(1), 1);
    EXPECT_EQ(passes(28), 0); // 1.45 s
    EXPECT_EQ(passes(1), 1);
    EXPECT_FALSE(frame->VolumeDisplay().Visible());
    EXPECT_EQ(passes(20), 0);

    // A hunt changes at every tick; paused, it stands still again.
    ASSERT_TRUE(frame->StartHunt(0, 0, 1));
    EXPECT_EQ(passes(10), 10);
    frame->OnKey(dik::ESCAPE, true);
    frame->OnKey(dik::ESCAPE, false);
    EXPECT_EQ(passes(2), 2); // the box, and the box after its first poll
    ASSERT_TRUE(frame->Paused());
    EXPECT_EQ(passes(100), 0);
    // Exposure and a new window size show the picture again.
    frame->OnPaint();
    EXPECT_EQ(passes(5), 1);
}
