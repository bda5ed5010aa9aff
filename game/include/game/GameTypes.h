#pragma once
// The identifiers the game's parts share: screens, item actions and the
// animal kinds stored in "trophy.bin".

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

// Screens that snapshot the hunt picture when they are entered: the options
// box and every end picture except the three generic ones drawn full screen.
bool ScreenShowsHuntBehind(ScreenId screen);
