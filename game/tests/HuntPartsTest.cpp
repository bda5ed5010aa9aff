// The small parts of the hunt, each on its own: stopwatches, the depth list,
// sectors and strips, the gun, the binoculars and the smoke.

#include "game/CGameRandom.h"
#include "game/hunt/CAnimal.h"
#include "game/hunt/CBinocularOverlay.h"
#include "game/hunt/CDepthList.h"
#include "game/hunt/CGunOverlay.h"
#include "game/hunt/CJeep.h"
#include "game/hunt/CKillReport.h"
#include "game/hunt/CSmokePuff.h"
#include "game/hunt/CStopwatchPool.h"
#include "game/hunt/CWorldObject.h"
#include "game/hunt/HuntMath.h"
#include "game/hunt/IHuntEvents.h"
#include "gamedata/HuntTables.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

TEST(StopwatchPool, HandsOutTwentyWatchesOnTheInjectedClock)
{
    FixedClock clock(5000);
    CStopwatchPool pool(clock);
    for (int i = 0; i < CStopwatchPool::kSlots; ++i)
        EXPECT_EQ(pool.Acquire(), i);
    EXPECT_EQ(pool.Acquire(), -1);
    clock.Advance(1234);
    EXPECT_EQ(pool.Elapsed(3), 1234u); // every watch started at construction
    pool.Restart(3);
    clock.Advance(66);
    EXPECT_EQ(pool.Elapsed(3), 66u);
    pool.Release(3);
    EXPECT_EQ(pool.Elapsed(3), 0u);
    EXPECT_EQ(pool.Elapsed(-1), 0u);
    EXPECT_EQ(pool.Elapsed(20), 0u);
    EXPECT_EQ(pool.Acquire(), 3);
    // Across the clock's wrap the count is one short.
    clock.Set(0xFFFFFFF0u);
    pool.Restart(3);
    clock.Set(0x10u);
    EXPECT_EQ(pool.Elapsed(3), 0x1Fu);
}

namespace {

// Writes down what an animal reports, in order.
class EventLog final : public IHuntEvents {
public:
    void OnFalling(const CAnimal&) override { events.push_back("falling"); }
    void OnDeathSeen(const CAnimal&) override { events.push_back("dead"); }
    void OnRunOver(const CAnimal&) override { events.push_back("run over"); }
    void OnMauling(const CAnimal&) override { events.push_back("mauling"); }
    void OnStrayed() override { events.push_back("strayed"); }
    void OnDrivenOffTheMap() override { events.push_back("off the map"); }
    std::vector<std::string> events;
};

} // namespace

// An animal on its own, without a world: it changes its own state and says
// what befell it, and decides nothing for the hunt.
TEST(Animal, ReportsWhatBefallsItAndDecidesNothing)
{
    FixedClock clock;
    CStopwatchPool watches(clock);
    EventLog log;
    GameRandom().Seed(3);
    CAnimal zebra(log, watches);
    zebra.Spawn(ANIMAL_ZEBRA, nullptr, 2);
    // Mauling a hunter on foot 30 units off, tick after tick: a report each
    // time, whatever the count (the world keeps it).
    zebra.x = 10030;
    zebra.y = 10000;
    zebra.distance = 30;
    HunterSign onFoot;
    onFoot.x = onFoot.y = 10000;
    for (int tick = 0; tick < 25; ++tick)
        EXPECT_TRUE(zebra.Behave(onFoot));
    EXPECT_EQ(log.events, std::vector<std::string>(25, "mauling"));
    EXPECT_EQ(zebra.State(), ANIMAL_ATTACKING);
    // Run over by a moving jeep: said, then the fall.
    log.events.clear();
    HunterSign driving = onFoot;
    driving.driving = true;
    driving.jeepAdvancing = true;
    zebra.Behave(driving);
    EXPECT_EQ(log.events, (std::vector<std::string>{"run over", "falling"}));
    // Its dying plays in view; once it lies dead it says so on every tick.
    log.events.clear();
    const AnimationRange dying = AnimalKindOf(ANIMAL_ZEBRA).ranges[int(AnimalAction::Dying)];
    for (int tick = 0; tick < dying.Count() + 2; ++tick)
        zebra.Step(0.05);
    EXPECT_TRUE(zebra.LiesDead());
    EXPECT_EQ(log.events, std::vector<std::string>(3, "dead"));
    // A shot at the dead takes the bullet and brings down nothing more.
    zebra.screen = {0, 0, 640, 480};
    Shot shot{320, 240, false};
    EXPECT_EQ(zebra.HitTest(shot), ANIMAL_NONE);
    EXPECT_TRUE(shot.spent);
    EXPECT_EQ(log.events.size(), 3u);
}

TEST(KillReport, CountsTheFallenByKindAndPacksIntoTheHuntsReport)
{
    CKillReport kills;
    EXPECT_EQ(kills.Packed(), 0u);
    kills.OnFalling(ANIMAL_ZEBRA);
    kills.OnFalling(ANIMAL_ZEBRA);
    kills.OnFalling(ANIMAL_GIRAFFE);
    EXPECT_EQ(kills.Fallen(ANIMAL_ZEBRA), 2);
    EXPECT_EQ(kills.Fallen(ANIMAL_GIRAFFE), 1);
    EXPECT_EQ(kills.Fallen(ANIMAL_LION), 0);
    EXPECT_EQ(kills.Packed(), 3u); // every fallen animal in the low half
    kills.OnDeathSeen(ANIMAL_ZEBRA);
    kills.OnDeathSeen(ANIMAL_ZEBRA);
    EXPECT_EQ(kills.KindsSeen(), CKillReport::KindBit(ANIMAL_ZEBRA));
    EXPECT_EQ(kills.Packed(), 0x400003u);
    // One bit a kind: a giraffe (2) and a lion (4) seen are not a rhino (6).
    kills.OnDeathSeen(ANIMAL_GIRAFFE);
    kills.OnDeathSeen(ANIMAL_LION);
    EXPECT_NE(kills.KindsSeen() & CKillReport::KindBit(ANIMAL_RHINO), CKillReport::KindBit(ANIMAL_RHINO));
    EXPECT_EQ(CKillReport::KindBit(ANIMAL_NONE), 0u);
    EXPECT_EQ(kills.Fallen(AnimalKind(99)), 0);
    kills.Clear();
    EXPECT_EQ(kills.Packed(), 0u);
    EXPECT_EQ(kills.Fallen(ANIMAL_ZEBRA), 0);
}

TEST(DepthList, RunsFarToNearAndPutsTheLaterOfEqualsBehind)
{
    CTree a, b, c, d;
    a.distance = 100;
    b.distance = 300;
    c.distance = 200;
    d.distance = 200;
    CDepthList list;
    for (CTree* tree : {&a, &b, &c, &d})
        list.Insert(tree);
    ASSERT_EQ(list.Count(), 4u);
    EXPECT_EQ(list.Objects()[0], &b);
    EXPECT_EQ(list.Objects()[1], &d); // inserted after c at the same distance: drawn first
    EXPECT_EQ(list.Objects()[2], &c);
    EXPECT_EQ(list.Objects()[3], &a);
    EXPECT_EQ(list.RemoveHead(), &b);
    list.RemoveAll();
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(list.RemoveHead(), nullptr);
}

TEST(HuntMath, SectorsAreThirtyDegreesCountedFromOne)
{
    EXPECT_EQ(Sector(0), 1);
    EXPECT_EQ(Sector(kPi / 12), 1);
    EXPECT_EQ(Sector(kPi / 6), 1); // a boundary belongs to no sector
    EXPECT_EQ(Sector(kPi / 6 + 1e-9), 2);
    EXPECT_EQ(Sector(kPi), 1);
    EXPECT_EQ(Sector(kPi + 0.1), 7);
    EXPECT_EQ(Sector(kTwoPi - 0.01), 12);
    EXPECT_EQ(Sector(kTwoPi), 1);
    EXPECT_DOUBLE_EQ(WrapAngle(-0.5), kTwoPi - 0.5);
    EXPECT_DOUBLE_EQ(WrapSigned(kPi + 0.5), -kPi + 0.5);
    EXPECT_EQ(WrapAngle(NAN), 0);
}

TEST(HuntMath, TheStripFollowsTheWayTheObjectFaces)
{
    // Heading straight at the hunter (bearing + π = heading): the front.
    EXPECT_EQ(DirectionIndex(0, kPi), 0);
    // Heading away: the back.
    EXPECT_EQ(DirectionIndex(0, 0), 4);
    EXPECT_EQ(DirectionIndex(0, kPi - kPi / 4), 1);
    EXPECT_EQ(DirectionIndex(0, kPi + kPi / 4), 7);
    // Just inside and outside the half-open eighth around front-left.
    EXPECT_EQ(DirectionIndex(0, kPi - kPi / 8 + 1e-9), 0);
    EXPECT_EQ(DirectionIndex(0, kPi - 3 * kPi / 8), 1);
}

TEST(GunOverlay, ReloadsAfterEveryMagazineAndRefillsWhenRaised)
{
    struct Case {
        int magazine, frames;
    };
    for (Case c : {Case{1, 4}, Case{2, 5}, Case{6, 4}, Case{20, 6}}) {
        CGunOverlay gun;
        gun.Setup(nullptr, nullptr, 0, 180, c.magazine, c.frames, nullptr, nullptr);
        EXPECT_EQ(gun.Y(), 480);
        gun.SetMode(GunMode::Raising);
        int passes = 0;
        while (!gun.IsReady() && passes < 100) {
            gun.Step();
            ++passes;
        }
        EXPECT_EQ(gun.Y(), 180);
        EXPECT_EQ(passes, (480 - 180) / 20 + 1);
        int reloads = 0;
        for (int shot = 1; shot <= 2 * c.magazine; ++shot) {
            ASSERT_TRUE(gun.IsReady()) << "magazine " << c.magazine << " shot " << shot;
            gun.SetMode(GunMode::Firing);
            for (int f = 0; f < c.frames - 1; ++f)
                gun.Step();
            if (gun.Mode() == GunMode::Reloading) {
                ++reloads;
                EXPECT_EQ(shot % c.magazine, 0);
                // Down out of view and back up before it can fire again.
                int steps = 0;
                while (!gun.IsReady() && steps < 100) {
                    EXPECT_LE(gun.Y(), 480);
                    gun.Step();
                    ++steps;
                }
                EXPECT_EQ(gun.Y(), 180);
            } else {
                EXPECT_NE(shot % c.magazine, 0);
            }
        }
        EXPECT_EQ(reloads, 2);
    }
    // Raising refills a half-empty magazine.
    CGunOverlay gun;
    gun.Setup(nullptr, nullptr, 0, 180, 2, 5, nullptr, nullptr);
    gun.SetMode(GunMode::Ready);
    gun.SetMode(GunMode::Firing);
    for (int f = 0; f < 4; ++f)
        gun.Step();
    EXPECT_EQ(gun.ShotsFired(), 1);
    gun.SetMode(GunMode::Raising);
    EXPECT_EQ(gun.ShotsFired(), 0);
    // Hidden at once, lowered by sliding.
    gun.SetMode(GunMode::Hidden);
    EXPECT_EQ(gun.Y(), 480);
}

TEST(BinocularOverlay, RaisingTakesTwentyTwoPasses)
{
    CBinocularOverlay binoculars;
    binoculars.Setup(nullptr, nullptr, 0, 50, 1);
    binoculars.SetMode(BinocularMode::Raising);
    int passes = 0;
    while (binoculars.Y() > 50) {
        binoculars.Step();
        ++passes;
    }
    EXPECT_EQ(passes, 22);
    EXPECT_EQ(binoculars.Y(), 40);
    binoculars.Step();
    EXPECT_EQ(binoculars.Mode(), BinocularMode::Up);
    binoculars.SetMode(BinocularMode::Lowering);
    while (binoculars.IsActive())
        binoculars.Step();
    EXPECT_EQ(binoculars.Y(), 480);
}

TEST(SmokePuff, ShowsForSevenPasses)
{
    CSmokePuff smoke;
    smoke.Setup(nullptr, nullptr, 320, 240);
    smoke.Restart();
    int shown = 0;
    for (int pass = 0; pass < 12; ++pass) {
        smoke.Step();
        if (smoke.Level() > 0)
            ++shown;
    }
    EXPECT_EQ(shown, 7);
}
