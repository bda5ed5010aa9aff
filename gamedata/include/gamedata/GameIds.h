#pragma once
// The identifiers the game's data is laid out by: the screens, what their
// items do, and the animal kinds (the numbers "trophy.bin" stores).

#include <cstddef>

// The eighteen screens, by the numbers the screen log and the tables use.
enum class ScreenId : int {
    None = -1,
    MainMenu = 0,
    Quarry = 1,
    Hunt = 2,
    Options = 3,
    Weapon = 4,
    Scenario = 5,
    EndElephant = 6,
    EndGiraffe = 7,
    EndHippo = 8,
    EndLion = 9,
    EndJail = 10,
    EndKilled = 11,
    EndLost = 12,
    Trophies = 13,
    Credits = 14,
    EndLioness = 15,
    EndRhino = 16,
    EndZebra = 17,
};
constexpr int SCREEN_COUNT = 18;

constexpr bool IsScreen(ScreenId id)
{
    return int(id) >= 0 && int(id) < SCREEN_COUNT;
}
constexpr size_t ScreenIndex(ScreenId id)
{
    return size_t(int(id));
}

// What an activated item asks of the frame.
enum class ItemAction : int {
    None = 0,
    Button = 1,
    Quit = 6,
    Drive = 7,
    Aim = 8,
    Binoculars = 9,
    StartHunt = 10,
    Choice = 11,
    MainMenu = 15,
    Help = 16,
};

enum AnimalKind : int {
    ANIMAL_NONE = 0,
    ANIMAL_ELEPHANT = 1,
    ANIMAL_GIRAFFE = 2,
    ANIMAL_HIPPO = 3,
    ANIMAL_LION = 4,
    ANIMAL_LIONESS = 5,
    ANIMAL_RHINO = 6,
    ANIMAL_ZEBRA = 7,
};
constexpr int ANIMAL_KIND_COUNT = 7;

// The six weapons, in the order of the weapon menu and the weapon table.
enum WeaponIndex : int {
    WEAPON_ASSAULT_RIFLE = 0,
    WEAPON_CROSSBOW = 1,
    WEAPON_HANDGUN = 2,
    WEAPON_MUZZLE_LOADER = 3,
    WEAPON_RIFLE = 4,
    WEAPON_SHOTGUN = 5,
};
constexpr int WEAPON_COUNT = 6;

// The hunting grounds; 0 is "no hunt" (the menus).
enum ScenarioIndex : int {
    SCENARIO_NONE = 0,
    SCENARIO_DESERT = 1,
    SCENARIO_PLAINS = 2,
    SCENARIO_GRASSLAND = 3,
};
constexpr int SCENARIO_COUNT = 3;
