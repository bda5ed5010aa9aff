// The hunt world on a tiny generated game folder: building and releasing a
// hunt, walking and driving, collisions, the limits that end a hunt, the
// engine and the projection.

#include "HuntTestSupport.h"
#include "game/CGameRandom.h"
#include "game/hunt/CHuntWorld.h"
#include "game/hunt/HuntMath.h"

#include <cmath>
#include <cstdio>
#include <gtest/gtest.h>
#include <vector>

namespace {

constexpr int kRifle = 4;

class HuntWorldTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        GameRandom().Seed(7);
        hunt.Init({stage.Back(), &sound, &clock, HuntAids{}});
        std::string problem;
        ASSERT_TRUE(hunt.LoadHunt(kZebra, kRifle, kPlains, problem)) << problem;
    }
    // Moves every animal far away, so that only trees and the jeep matter.
    void SendTheHerdAway()
    {
        for (int i = 0; i < ANIMAL_COUNT; ++i) {
            hunt.Animal(i).x = 100 + i;
            hunt.Animal(i).y = 100;
        }
    }
    void StartDriving()
    {
        hunt.OnToggle(ItemAction::Drive, true);
        drive.drive = true;
    }

    HuntStage stage{PF_RGB555};
    CRecordingSound sound;
    FixedClock clock;
    CHuntWorld hunt;
    HuntToggles drive;
};

} // namespace

TEST_F(HuntWorldTest, BuildsTheScenerySquareWithTwoCorridorsAndTheHerd)
{
    EXPECT_TRUE(hunt.Hunting());
    EXPECT_EQ(hunt.Scenery().TreeCount(), 361u);
    for (int i = 0; i < CSceneryGrid::kCells; ++i) {
        EXPECT_TRUE(hunt.Scenery().Cell(10, i).empty());
        EXPECT_TRUE(hunt.Scenery().Cell(i, 10).empty());
    }
    for (int row : {0, 9, 11, 19})
        for (int column : {0, 9, 11, 19}) {
            ASSERT_EQ(hunt.Scenery().Cell(row, column).size(), 1u);
            const CTree& tree = *hunt.Scenery().Cell(row, column)[0];
            EXPECT_EQ(CSceneryGrid::CellOf(tree.x), column);
            EXPECT_EQ(CSceneryGrid::CellOf(tree.y), row);
        }
    EXPECT_TRUE(hunt.Scenery().Cell(-1, 3).empty());
    EXPECT_EQ(hunt.Animal(0).Kind(), ANIMAL_ELEPHANT);
    EXPECT_EQ(hunt.Animal(23).Kind(), ANIMAL_ZEBRA);
    EXPECT_DOUBLE_EQ(hunt.Jeep().x, 10000);
    EXPECT_DOUBLE_EQ(hunt.Jeep().y, 10500);
    EXPECT_GE(hunt.WindFrame(), hunt.WindBase());
    EXPECT_LE(hunt.WindFrame(), hunt.WindBase() + 2);
    // The gun voice, nine jeep voices and five animal voices.
    EXPECT_EQ(sound.Count(), 15u);
    EXPECT_NE(sound.Find("sounds\\rifle.wav"), nullptr);

    std::string problem;
    EXPECT_TRUE(hunt.LoadHunt(-1, -1, 0, problem));
    EXPECT_FALSE(hunt.Hunting());
    EXPECT_EQ(sound.Count(), 0u);
    EXPECT_EQ(hunt.Step({}, {}, 0.05), 0u);
    hunt.Render(); // draws nothing, and does not fail
}

TEST_F(HuntWorldTest, WalksAtFiftyUnitsAndTurnsAQuarterTurnEachSecond)
{
    SendTheHerdAway();
    for (int i = 0; i < 20; ++i)
        hunt.Step(Holding({HuntControl::Up}), {}, 0.05);
    EXPECT_NEAR(hunt.Hunter().x, 10550, 1e-9);
    for (int i = 0; i < 20; ++i)
        hunt.Step(Holding({HuntControl::Left}), {}, 0.05);
    EXPECT_NEAR(hunt.Hunter().angle, kPi / 4, 1e-9);
    for (int i = 0; i < 40; ++i)
        hunt.Step(Holding({HuntControl::Right}), {}, 0.05);
    EXPECT_NEAR(hunt.Hunter().angle, kTwoPi - kPi / 4, 1e-9);
    // Raised binoculars tilt the view instead of walking.
    HuntToggles binoculars;
    binoculars.binoculars = true;
    const double x = hunt.Hunter().x;
    hunt.Step(Holding({HuntControl::Up}), binoculars, 0.05);
    EXPECT_EQ(hunt.Hunter().x, x);
    EXPECT_EQ(hunt.Hunter().horizon, 250);
    for (int i = 0; i < 40; ++i)
        hunt.Step(Holding({HuntControl::Up}), binoculars, 0.05);
    EXPECT_EQ(hunt.Hunter().horizon, 470);
    hunt.Step({}, {}, 0.05);
    EXPECT_EQ(hunt.Hunter().horizon, 240);
}

TEST_F(HuntWorldTest, ThePedalsFollowTheirAccelerationSequence)
{
    SendTheHerdAway();
    StartDriving();
    EXPECT_DOUBLE_EQ(hunt.Hunter().eyeHeight, 80);
    EXPECT_DOUBLE_EQ(hunt.Jeep().distance, 100);
    EXPECT_TRUE(hunt.View().FlashOn());
    std::vector<int> speeds;
    for (int i = 0; i < 14; ++i) {
        hunt.Step(Holding({HuntControl::Up}), drive, 0.001);
        speeds.push_back(hunt.Jeep().Speed());
    }
    EXPECT_EQ(speeds, (std::vector<int>{60, 80, 100, 120, 140, 160, 180, 200, 220, 240, 260, 280, 300, 300}));
    // Coasting: ten a pass towards standstill.
    hunt.Step({}, drive, 0.001);
    EXPECT_EQ(hunt.Jeep().Speed(), 290);
    for (int i = 0; i < 29; ++i)
        hunt.Step({}, drive, 0.001);
    EXPECT_EQ(hunt.Jeep().Speed(), 0);
    // After a forward push the next first step is only 20.
    hunt.Step(Holding({HuntControl::Up}), drive, 0.001);
    EXPECT_EQ(hunt.Jeep().Speed(), 20);
    // Down wins over up; braking first pushes 60.
    hunt.Step(Holding({HuntControl::Up, HuntControl::Down}), drive, 0.001);
    EXPECT_EQ(hunt.Jeep().Speed(), -40);
    for (int i = 0; i < 20; ++i)
        hunt.Step(Holding({HuntControl::Down}), drive, 0.001);
    EXPECT_EQ(hunt.Jeep().Speed(), -300);
    // At full reverse the throttle brakes at once: 60, then 20 a tick.
    hunt.Step(Holding({HuntControl::Up}), drive, 0.001);
    EXPECT_EQ(hunt.Jeep().Speed(), -240);
    hunt.Step(Holding({HuntControl::Up}), drive, 0.001);
    EXPECT_EQ(hunt.Jeep().Speed(), -220);
}

TEST_F(HuntWorldTest, TheBrakeSlowsTheJeepFromFullSpeedAndNothingPassesTheTopSpeed)
{
    SendTheHerdAway();
    StartDriving();
    for (int i = 0; i < 14; ++i)
        hunt.Step(Holding({HuntControl::Up}), drive, 0.001);
    ASSERT_EQ(hunt.Jeep().Speed(), 300);
    // Held from full speed ahead, the brake stops the jeep and backs it.
    std::vector<int> speeds;
    for (int i = 0; i < 6; ++i) {
        hunt.Step(Holding({HuntControl::Down}), drive, 0.001);
        speeds.push_back(hunt.Jeep().Speed());
    }
    EXPECT_EQ(speeds, (std::vector<int>{240, 220, 200, 180, 160, 140}));
    // Coasting from 300 to 290 and pushing again stops at 300, not 310.
    for (int i = 0; i < 14; ++i)
        hunt.Step(Holding({HuntControl::Up}), drive, 0.001);
    hunt.Step({}, drive, 0.001);
    ASSERT_EQ(hunt.Jeep().Speed(), 290);
    hunt.Step(Holding({HuntControl::Up}), drive, 0.001);
    EXPECT_EQ(hunt.Jeep().Speed(), 300);
}

TEST_F(HuntWorldTest, TheEngineRunsAtThirtyKilohertzAtFullSpeed)
{
    SendTheHerdAway();
    StartDriving();
    for (int i = 0; i < 30; ++i) {
        hunt.Step(Holding({HuntControl::Up}), drive, 0.001);
        hunt.Render();
    }
    ASSERT_EQ(hunt.Jeep().Speed(), 300);
    const auto* starter = sound.Find("sounds\\starting.wav");
    const auto* engine = sound.Find("sounds\\engine.wav");
    ASSERT_TRUE(starter && engine);
    EXPECT_EQ(starter->plays, 1);
    EXPECT_TRUE(engine->playing && engine->looped);
    EXPECT_EQ(engine->frequency, 30000);
    // Leaving the jeep stops the engine.
    for (int i = 0; i < 40; ++i)
        hunt.Step({}, drive, 0.001);
    hunt.OnToggle(ItemAction::Drive, false);
    EXPECT_FALSE(engine->playing);
    EXPECT_DOUBLE_EQ(hunt.Hunter().eyeHeight, 48);
}

TEST_F(HuntWorldTest, TreesStopTheJeepAndTheWalkerShortOfThem)
{
    SendTheHerdAway();
    // A tree straight ahead of the hunter, 400 units off.
    const CTree& tree = *hunt.Scenery().Cell(10 - 1, 11)[0];
    HunterPose& hunter = hunt.Hunter();
    hunter.angle = BearingTo(10500, 10500, tree.x, tree.y);
    hunter.x = tree.x - 400 * std::cos(hunter.angle);
    hunter.y = tree.y - 400 * std::sin(hunter.angle);
    hunt.Jeep().x = hunter.x - 100;
    hunt.Jeep().y = hunter.y;
    for (int i = 0; i < 200; ++i)
        hunt.Step(Holding({HuntControl::Up}), {}, 0.05);
    EXPECT_NEAR(std::hypot(tree.x - hunter.x, tree.y - hunter.y), 50, 2.5);

    hunter.x = tree.x - 600 * std::cos(hunter.angle);
    hunter.y = tree.y - 600 * std::sin(hunter.angle);
    hunt.Jeep().x = hunter.x + 100 * std::cos(hunter.angle);
    hunt.Jeep().y = hunter.y + 100 * std::sin(hunter.angle);
    StartDriving();
    for (int i = 0; i < 400 && !(hunt.Jeep().Speed() == 0 && i > 5); ++i)
        hunt.Step(Holding({HuntControl::Up}), drive, 0.02);
    EXPECT_EQ(hunt.Jeep().Speed(), 0);
    EXPECT_NEAR(std::hypot(tree.x - hunter.x, tree.y - hunter.y), 130, 0.5);
    EXPECT_NEAR(std::hypot(tree.x - hunt.Jeep().x, tree.y - hunt.Jeep().y), 30, 0.5);
}

TEST_F(HuntWorldTest, OnlyObjectsWithinHalfARadianBlockAndTheEastIsNoException)
{
    SendTheHerdAway();
    const CTree& tree = *hunt.Scenery().Cell(10 - 1, 11)[0];
    HunterPose& hunter = hunt.Hunter();
    // The tree 30 units off, 0.6 rad to the side: no push.
    hunter.angle = WrapAngle(BearingTo(0, 0, 1, 0));
    hunter.x = tree.x - 30 * std::cos(0.6);
    hunter.y = tree.y - 30 * std::sin(0.6);
    hunt.Jeep().x = hunter.x;
    hunt.Jeep().y = hunter.y;
    const double x = hunter.x, y = hunter.y;
    hunt.Step({}, {}, 0.05);
    EXPECT_EQ(hunter.x, x);
    EXPECT_EQ(hunter.y, y);
    // Facing just above 0 with the tree just below it (bearing near 2π): it
    // blocks like any tree in front.
    hunter.angle = 0.05;
    hunter.x = tree.x - 30 * std::cos(-0.05);
    hunter.y = tree.y - 30 * std::sin(-0.05);
    hunt.Step({}, {}, 0.05);
    EXPECT_NEAR(std::hypot(tree.x - hunter.x, tree.y - hunter.y), 50, 3);
}

TEST_F(HuntWorldTest, StrayingFromTheJeepWarnsThenEndsTheHunt)
{
    SendTheHerdAway();
    HunterPose& hunter = hunt.Hunter();
    hunter.x = hunt.Jeep().x + 1200;
    hunt.Step({}, {}, 0.05);
    EXPECT_EQ(hunt.EndStatus(), HuntEndStatus::Running);
    ASSERT_NE(sound.Find("sounds\\warn04.wav"), nullptr);
    EXPECT_EQ(sound.Find("sounds\\warn04.wav")->plays, 1); // at once, the first time
    sound.EndAll();
    hunt.Step({}, {}, 0.05);
    clock.Advance(20000);
    hunt.Step({}, {}, 0.05);
    EXPECT_EQ(sound.Find("sounds\\warn04.wav")->plays, 1); // every 20 s, not every tick
    clock.Advance(1);
    hunt.Step({}, {}, 0.05);
    EXPECT_EQ(sound.Find("sounds\\warn04.wav")->plays, 2);
    hunter.x = hunt.Jeep().x + 1600;
    hunt.Step({}, {}, 0.05);
    EXPECT_EQ(hunt.EndStatus(), HuntEndStatus::Killed);
    EXPECT_EQ(hunt.DecideEnd().picture, ScreenId::EndKilled);
    hunt.Step(Holding({HuntControl::Up}), {}, 0.05);
    EXPECT_EQ(hunter.horizon, 10);
    EXPECT_EQ(hunter.x, hunt.Jeep().x + 1600); // he moves no more
}

// Hunt after hunt, whenever it began: the first time the hunter strays
// beyond 1000 units the warning sounds, before anything can kill him at 1500.
TEST_F(HuntWorldTest, EveryHuntWarnsTheStrayHunterBeforeHeDies)
{
    for (uint32_t begin : {0u, 5000u, 12000u}) {
        clock.Advance(begin);
        std::string problem;
        ASSERT_TRUE(hunt.LoadHunt(kZebra, kRifle, kPlains, problem)) << problem;
        SendTheHerdAway();
        HunterPose& hunter = hunt.Hunter();
        // Walking straight away from the jeep at 50 units a second.
        int warnedAt = -1, diedAt = -1;
        for (int tick = 0; tick < 600 && diedAt < 0; ++tick) {
            hunt.Step(Holding({HuntControl::Up}), {}, 0.05);
            clock.Advance(50);
            const auto* warning = sound.Find("sounds\\warn04.wav");
            if (warnedAt < 0 && warning && warning->plays > 0)
                warnedAt = tick;
            if (hunt.EndStatus() != HuntEndStatus::Running)
                diedAt = tick;
        }
        ASSERT_GE(warnedAt, 0) << "a hunt begun at " << begin << " ms";
        EXPECT_NEAR(std::hypot(hunt.Jeep().x - hunter.x, hunt.Jeep().y - hunter.y), 1500, 5);
        EXPECT_EQ(diedAt - warnedAt, 200) << "ten seconds between the warning and the end";
    }
}

TEST_F(HuntWorldTest, SilenceStopsTheEngineAndALoopingAttack)
{
    SendTheHerdAway();
    StartDriving();
    for (int i = 0; i < 20; ++i)
        hunt.Step(Holding({HuntControl::Up}), drive, 0.05);
    const auto* engine = sound.Find("sounds\\engine.wav");
    ASSERT_TRUE(engine && engine->playing && engine->looped);
    // The hunter out of the jeep and too far from it: the attack loops.
    hunt.OnToggle(ItemAction::Drive, false);
    hunt.Hunter().x = hunt.Jeep().x + 1600;
    hunt.Hunter().y = hunt.Jeep().y;
    hunt.Step({}, {}, 0.05);
    ASSERT_EQ(hunt.EndStatus(), HuntEndStatus::Killed);
    const auto* attack = sound.Find("sounds\\snEl2.wav");
    ASSERT_TRUE(attack && attack->playing && attack->looped);
    hunt.Silence();
    EXPECT_FALSE(attack->playing);
    EXPECT_FALSE(engine->playing);
}

TEST_F(HuntWorldTest, DrivingOffTheMapWarnsThenTheHunterIsLost)
{
    SendTheHerdAway();
    HunterPose& hunter = hunt.Hunter();
    hunter.x = 19900;
    hunter.y = 10500;
    hunt.Jeep().x = hunter.x - 100;
    StartDriving();
    hunter.angle = 0;
    for (int i = 0; i < 2000 && hunt.EndStatus() == HuntEndStatus::Running; ++i) {
        hunt.Step(Holding({HuntControl::Up}), drive, 0.05);
        hunt.Render();
    }
    EXPECT_EQ(hunt.EndStatus(), HuntEndStatus::Lost);
    EXPECT_GT(hunt.Jeep().x, 21000);
    ASSERT_NE(sound.Find("sounds\\warn01.wav"), nullptr);
    EXPECT_EQ(sound.Find("sounds\\warn01.wav")->plays, 1);
    EXPECT_EQ(hunt.DecideEnd().picture, ScreenId::EndLost);
}

TEST_F(HuntWorldTest, ProjectsAnObjectAheadOntoTheCentreWithItsFootBelowTheHorizon)
{
    CTree tree;
    CDib* picture = stage.Back(); // any 640-wide picture serves as a one-frame strip
    tree.sprites = &picture;
    tree.frameHeight = 480;
    tree.size = 256;
    tree.x = 11500;
    tree.y = 10500;
    tree.distance = 1000;
    HunterPose hunter;
    hunt.View().Project(tree, hunter, false);
    // s = 320 / 1000: 82 rows tall, the foot 15 rows below the horizon.
    EXPECT_EQ(tree.screen.height, 81);
    EXPECT_EQ(tree.screen.top + tree.screen.height, 240 + 15);
    EXPECT_EQ(tree.screen.width, int(640 * 256.0 / 480 * 0.32));
    EXPECT_EQ(tree.screen.left + tree.screen.width / 2, 320);
    // To the left of the view: left of the centre.
    tree.y = 10700;
    tree.distance = std::hypot(1000, 200);
    hunt.View().Project(tree, hunter, false);
    EXPECT_LT(tree.relAngle, 0);
    EXPECT_LT(tree.screen.left + tree.screen.width / 2, 320);
    // Right under the hunter's nose the size is clamped, not infinite.
    tree.x = 10500.001;
    tree.y = 10500;
    tree.distance = 0.001;
    hunt.View().Project(tree, hunter, false);
    EXPECT_GT(tree.screen.height, 0);
    EXPECT_LE(tree.screen.height, 32767);
}

TEST_F(HuntWorldTest, TheDissolveFromBlackShowsNineTicksHoweverOftenItIsDrawn)
{
    SendTheHerdAway();
    StartDriving();
    std::vector<int> levels;
    for (int tick = 0; tick < 20; ++tick) {
        hunt.Step({}, drive, 0.05);
        for (int draw = 0; draw < 3; ++draw)
            hunt.Render();
        if (hunt.View().FlashOn())
            levels.push_back(hunt.View().FlashLevel());
    }
    EXPECT_EQ(levels, (std::vector<int>{256, 224, 192, 160, 128, 96, 64, 32, 0}));
}

TEST(HuntWorldLoad, AMissingPanoramaKeepsTheHuntFromStarting)
{
    HuntStage stage(PF_INDEX8);
    std::remove("env/back20.bmp");
    CRecordingSound sound;
    FixedClock clock;
    CHuntWorld hunt;
    hunt.Init({stage.Back(), &sound, &clock, HuntAids{}});
    std::string problem;
    EXPECT_FALSE(hunt.LoadHunt(kZebra, kRifle, kPlains, problem));
    EXPECT_EQ(problem, "env\\back20.bmp");
    EXPECT_FALSE(hunt.Hunting());
    EXPECT_EQ(sound.Count(), 0u);
    // The other grounds still work, and a bad scenario number is refused.
    EXPECT_TRUE(hunt.LoadHunt(kZebra, kRifle, 3, problem));
    EXPECT_FALSE(hunt.LoadHunt(kZebra, kRifle, 0, problem));
    EXPECT_FALSE(hunt.LoadHunt(kZebra, 9, 1, problem));
}

TEST(HuntWorldLoad, AMissingAnimalStripOrGunKeepsTheHuntFromStarting)
{
    HuntStage stage(PF_RGB555);
    CHuntWorld hunt;
    FixedClock clock;
    hunt.Init({stage.Back(), nullptr, &clock, HuntAids{}});
    std::string problem;
    std::remove("menu/gun3.bmp");
    EXPECT_FALSE(hunt.LoadHunt(kZebra, kRifle, kPlains, problem));
    EXPECT_EQ(problem, "menu\\gun3.bmp");
    EXPECT_TRUE(hunt.LoadHunt(kZebra, 5, kPlains, problem)); // the shotgun is there
    std::remove("animals/Rhino_L.bmp");
    EXPECT_FALSE(hunt.LoadHunt(kZebra, 5, kPlains, problem));
    EXPECT_EQ(problem, "animals\\Rhino_L.bmp");
    // A damaged ground (not 256 × 256) is named too.
    std::remove("animals/Rhino_L.bmp");
}
