// The herd's rules on a tiny generated game folder: hits, kills and the kill
// report, the end decision, running over, the mauling counter, the wind.

#include "HuntTestSupport.h"
#include "game/CGameRandom.h"
#include "game/hunt/CHuntWorld.h"
#include "game/hunt/HuntMath.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

// The first animal of each kind in the herd's order.
constexpr int kFirstElephant = 0, kFirstGiraffe = 2, kFirstZebra = 18;

class AnimalRules : public ::testing::Test {
protected:
    void SetUp() override { hunt.Init({stage.Back(), &sound, &clock, HuntAids{}}); }
    void Build(int quarry, int weapon)
    {
        GameRandom().Seed(11);
        std::string problem;
        ASSERT_TRUE(hunt.LoadHunt(quarry, weapon, kPlains, problem)) << problem;
        // Everyone far away, so only the animals a test places matter.
        for (int i = 0; i < ANIMAL_COUNT; ++i) {
            hunt.Animal(i).x = 200 + 10 * i;
            hunt.Animal(i).y = 200;
        }
    }
    // Puts an animal straight ahead of the hunter, `distance` units off.
    CAnimal& Ahead(int index, double distance, double sideways = 0)
    {
        CAnimal& animal = hunt.Animal(index);
        const HunterPose& hunter = hunt.Hunter();
        animal.x = hunter.x + distance;
        animal.y = hunter.y + sideways;
        return animal;
    }
    // The hunter gets into the jeep; the hunt display's toggles then.
    HuntToggles GetIn()
    {
        hunt.OnToggle(ItemAction::Drive, true);
        HuntToggles toggles;
        toggles.drive = true;
        return toggles;
    }
    // One shot at whatever is in the sights: the gun raised and fired.
    void Shoot()
    {
        HuntToggles aim;
        aim.aim = true;
        hunt.Jeep().Gun().SetMode(GunMode::Ready);
        HuntInput fire;
        fire.states[size_t(HuntControl::Button0)] = 1; // pressed since the last poll
        hunt.Step(fire, aim, 0);
        hunt.Render();
    }
    // Shoots the animal down with the rifle (two hits) 500 units ahead; it
    // falls, but its dying has not played out yet.
    CAnimal& ShootDown(int index)
    {
        CAnimal& animal = hunt.Animal(index);
        for (int shot = 0; shot < 2; ++shot) {
            Ahead(index, 500);
            Shoot();
        }
        EXPECT_EQ(animal.State(), ANIMAL_DYING);
        return animal;
    }
    // Shoots the animal down, watches it die and moves the carcass out of
    // the way.
    void KillInView(int index)
    {
        CAnimal& animal = ShootDown(index);
        EXPECT_NE(WatchTheDying() >> 16, 0u);
        animal.x = 300;
        animal.y = 300;
    }
    // Passes with the hunter looking on, until the report names a kind.
    uint32_t WatchTheDying()
    {
        uint32_t report = 0;
        for (int i = 0; i < 40 && (report >> 16) == 0; ++i) {
            report = hunt.Step({}, {}, 0);
        }
        return report;
    }

    HuntStage stage{PF_RGB555};
    CRecordingSound sound;
    FixedClock clock;
    CHuntWorld hunt;
};

} // namespace

TEST_F(AnimalRules, EachWeaponNeedsItsNumberOfHits)
{
    // Assault rifle 8, crossbow 2, handgun 4, muzzle-loader 2, rifle 2, shotgun 4.
    const int hitsNeeded[WEAPON_COUNT] = {8, 2, 4, 2, 2, 4};
    for (int weapon = 0; weapon < WEAPON_COUNT; ++weapon) {
        Build(ANIMAL_ELEPHANT - 1, weapon);
        CAnimal& elephant = Ahead(kFirstElephant, 250);
        int shots = 0;
        while (elephant.State() != ANIMAL_DYING && shots < 20) {
            // Keep it in the sights whatever it does.
            elephant.x = hunt.Hunter().x + 250;
            elephant.y = hunt.Hunter().y;
            Shoot();
            ++shots;
        }
        EXPECT_EQ(shots, hitsNeeded[weapon]) << "weapon " << weapon;
        EXPECT_EQ(elephant.HitsTaken(), hitsNeeded[weapon]);
        EXPECT_EQ(hunt.KillReport() & 0xFFFF, 1u);
        // A good shot at the quarry: the cue for it.
        ASSERT_NE(sound.Find("sounds\\goodsht.wav"), nullptr);
        EXPECT_EQ(sound.Find("sounds\\goodsht.wav")->plays, 1) << "weapon " << weapon;
    }
}

TEST_F(AnimalRules, AShotHitsTheNearerOfTwoAndScaresTheRest)
{
    Build(ANIMAL_ZEBRA - 1, 4);
    CAnimal& near = Ahead(kFirstZebra, 400);
    CAnimal& far = Ahead(kFirstZebra + 1, 700);
    CAnimal& aside = Ahead(kFirstZebra + 2, 600, 300); // in view, not in the sights
    Shoot();
    EXPECT_EQ(near.HitsTaken(), 1);
    EXPECT_EQ(far.HitsTaken(), 0);
    EXPECT_EQ(aside.HitsTaken(), 0);
    EXPECT_EQ(aside.State(), ANIMAL_RUNNING); // the shot scares everything in view
    EXPECT_EQ(far.State(), ANIMAL_RUNNING);
}

// One elephant, lion or rhino bags the hunt, two giraffes, hippos or
// lionesses, four zebras: as many as the kinds' table says, no fewer.
TEST_F(AnimalRules, EveryQuarryIsBaggedByTheKillsItsKindNeeds)
{
    const int firstOfKind[ANIMAL_KIND_COUNT + 1] = {-1, 0, 2, 6, 10, 12, 16, 18};
    const ScreenId bagged[ANIMAL_KIND_COUNT + 1] = {ScreenId::None,      ScreenId::EndElephant, ScreenId::EndGiraffe,
                                                    ScreenId::EndHippo,  ScreenId::EndLion,     ScreenId::EndLioness,
                                                    ScreenId::EndRhino,  ScreenId::EndZebra};
    for (int kind = ANIMAL_ELEPHANT; kind <= ANIMAL_ZEBRA; ++kind) {
        Build(kind - 1, 4);
        const int needed = AnimalKindOf(AnimalKind(kind)).killsToBag;
        ASSERT_GE(needed, 1);
        ASSERT_LE(needed, AnimalKindOf(AnimalKind(kind)).count);
        for (int n = 0; n < needed; ++n) {
            KillInView(firstOfKind[kind] + n);
            const HuntEnd end = hunt.DecideEnd();
            if (n + 1 < needed) {
                EXPECT_EQ(end.picture, ScreenId::None) << "kind " << kind << ": " << n + 1 << " is not enough";
            } else {
                EXPECT_EQ(end.picture, bagged[kind]) << "kind " << kind;
                EXPECT_EQ(end.trophy, kind);
            }
        }
        EXPECT_EQ(hunt.Kills().Fallen(AnimalKind(kind)), needed);
    }
}

TEST_F(AnimalRules, ShootingAnotherKindIsJailButOnlyOnceItHasFallenInView)
{
    Build(ANIMAL_ZEBRA - 1, 4);
    ShootDown(kFirstGiraffe);
    EXPECT_EQ(hunt.DecideEnd().picture, ScreenId::None); // still falling
    EXPECT_NE(WatchTheDying() >> 16, 0u);
    const HuntEnd end = hunt.DecideEnd();
    EXPECT_EQ(end.picture, ScreenId::EndJail);
    EXPECT_EQ(end.trophy, ANIMAL_NONE);
    ASSERT_NE(sound.Find("sounds\\warn06.wav"), nullptr); // the wrong animal
}

TEST_F(AnimalRules, AProtectedAnimalStillFallingIsNoPartOfTheBag)
{
    // Three zebras down and seen; the fourth animal to fall is a giraffe.
    Build(ANIMAL_ZEBRA - 1, 4);
    for (int n = 0; n < 3; ++n)
        KillInView(kFirstZebra + n);
    ShootDown(kFirstGiraffe);
    // Four animals are falling or fallen and only zebras' deaths are seen:
    // no bag while the giraffe falls, jail once it lies dead in view.
    EXPECT_EQ(hunt.KillReport() & 0xFFFF, 4u);
    EXPECT_EQ(hunt.DecideEnd().picture, ScreenId::None);
    WatchTheDying();
    EXPECT_EQ(hunt.DecideEnd().picture, ScreenId::EndJail);
    EXPECT_EQ(hunt.DecideEnd().trophy, ANIMAL_NONE);
}

TEST_F(AnimalRules, TwoOtherKindsNeverAddUpToTheQuarry)
{
    // A giraffe (2) and a lion (4) make 6, the rhino's number: still jail.
    Build(ANIMAL_RHINO - 1, 4);
    for (int index : {kFirstGiraffe, 10 /* the first lion */})
        KillInView(index);
    EXPECT_EQ(hunt.DecideEnd().picture, ScreenId::EndJail);
}

TEST_F(AnimalRules, RunningOverEvenTheQuarryIsJail)
{
    Build(ANIMAL_ZEBRA - 1, 4);
    const HuntToggles drive = GetIn();
    CAnimal& zebra = Ahead(kFirstZebra, 120);
    // On the move: the pedal pushes it to 60 in a tick that takes no time
    // (and the zebra in its way stops it dead).
    hunt.Step(Holding({HuntControl::Up}), drive, 0);
    EXPECT_EQ(zebra.State(), ANIMAL_DYING);
    EXPECT_TRUE(hunt.Poached());
    EXPECT_EQ(hunt.QuarryKind(), ANIMAL_ZEBRA);
    ASSERT_NE(sound.Find("sounds\\snEl3.wav"), nullptr);
    EXPECT_TRUE(sound.Find("sounds\\snEl3.wav")->playing);
    WatchTheDying();
    EXPECT_EQ(hunt.DecideEnd().picture, ScreenId::EndJail);
}

// Looking along +x, one zebra a little to either side of the view: the
// bearing of the one on the negative side is just under 2 pi, and it is run
// over all the same; one well off to the side is not.
TEST_F(AnimalRules, RunningOverLooksBothWaysRoundTheFullCircle)
{
    Build(ANIMAL_ZEBRA - 1, 4);
    const HuntToggles drive = GetIn();
    hunt.Hunter().angle = 0;
    CAnimal& left = Ahead(kFirstZebra, 110, 25);
    CAnimal& right = Ahead(kFirstZebra + 1, 110, -25);
    CAnimal& aside = Ahead(kFirstZebra + 2, 60, -100);
    hunt.Step(Holding({HuntControl::Up}), drive, 0);
    EXPECT_EQ(left.State(), ANIMAL_DYING);
    EXPECT_EQ(right.State(), ANIMAL_DYING);
    EXPECT_NE(aside.State(), ANIMAL_DYING);
}

TEST_F(AnimalRules, AJeepStandingOrBackingRunsNothingOver)
{
    Build(ANIMAL_ZEBRA - 1, 4);
    const HuntToggles drive = GetIn();
    // A zebra walks up to the bumper of the standing jeep: nothing happens,
    // and the hunter is no poacher.
    CAnimal& zebra = Ahead(kFirstZebra, 120);
    ASSERT_EQ(hunt.Jeep().Speed(), 0);
    for (int tick = 0; tick < 5; ++tick)
        hunt.Step({}, drive, 0.05);
    EXPECT_NE(zebra.State(), ANIMAL_DYING);
    // Nor does one backing away as the zebra runs into its front.
    zebra.x += 2000;
    for (int tick = 0; tick < 2; ++tick)
        hunt.Step(Holding({HuntControl::Down}), drive, 0.05);
    ASSERT_LT(hunt.Jeep().Speed(), 0);
    Ahead(kFirstZebra, 120);
    hunt.Step(Holding({HuntControl::Down}), drive, 0.05);
    EXPECT_NE(zebra.State(), ANIMAL_DYING);
    EXPECT_FALSE(hunt.Poached());
    EXPECT_EQ(hunt.KillReport(), 0u);
    EXPECT_EQ(hunt.DecideEnd().picture, ScreenId::None);
}

TEST_F(AnimalRules, TheMaulingCounterIsSharedAndKillsPastTwenty)
{
    Build(ANIMAL_ZEBRA - 1, 4);
    hunt.SetWindFrame(0);
    // Two lions on the hunter, behind him and at his side (where they do
    // not block him): the counter rises twice a pass.
    int passes = 0;
    while (hunt.EndStatus() == HuntEndStatus::Running && passes < 40) {
        Ahead(8, -30);
        Ahead(9, 0, 40);
        hunt.Step({}, {}, 0);
        ++passes;
    }
    EXPECT_EQ(passes, 11); // 22 > 20 on the eleventh pass
    EXPECT_EQ(hunt.DecideEnd().picture, ScreenId::EndKilled);
}

TEST_F(AnimalRules, WithTheWindFromSectorZeroNothingCharges)
{
    Build(ANIMAL_ZEBRA - 1, 4);
    hunt.SetWindFrame(0);
    // Zebras all round the hunter, 300 units off: every one is startled,
    // none charges.
    for (int i = 0; i < 6; ++i) {
        CAnimal& zebra = hunt.Animal(kFirstZebra + i);
        const double a = i * kTwoPi / 6 + 0.1;
        zebra.x = hunt.Hunter().x + 300 * std::cos(a);
        zebra.y = hunt.Hunter().y + 300 * std::sin(a);
    }
    hunt.Step({}, {}, 0);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(hunt.Animal(kFirstZebra + i).State(), ANIMAL_STARTLED) << "zebra " << i;
    // With the wind in the sector from an animal to the hunter, that one charges.
    CAnimal& zebra = hunt.Animal(kFirstZebra);
    hunt.SetWindFrame(Sector(WrapAngle(std::atan2(zebra.y - hunt.Hunter().y, zebra.x - hunt.Hunter().x) + kPi)));
    zebra.SetState(ANIMAL_IDLE);
    hunt.Step({}, {}, 0);
    EXPECT_EQ(zebra.State(), ANIMAL_RUNNING);
    EXPECT_NEAR(zebra.Heading(), BearingTo(zebra.x, zebra.y, hunt.Hunter().x, hunt.Hunter().y), 1e-9);
}
