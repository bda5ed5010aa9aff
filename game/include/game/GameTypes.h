#pragma once
// The identifiers the game's parts share: screens, item actions and the
// animal kinds stored in "trophy.bin".

enum ScreenId : int {
    SCREEN_NONE = -1,
    SCREEN_MAIN_MENU = 0,
    SCREEN_QUARRY = 1,
    SCREEN_HUNT = 2,
    SCREEN_OPTIONS = 3,
    SCREEN_WEAPON = 4,
    SCREEN_SCENARIO = 5,
    SCREEN_END_ELEPHANT = 6,
    SCREEN_END_GIRAFFE = 7,
    SCREEN_END_HIPPO = 8,
    SCREEN_END_LION = 9,
    SCREEN_END_JAIL = 10,
    SCREEN_END_KILLED = 11,
    SCREEN_END_LOST = 12,
    SCREEN_TROPHIES = 13,
    SCREEN_CREDITS = 14,
    SCREEN_END_LIONESS = 15,
    SCREEN_END_RHINO = 16,
    SCREEN_END_ZEBRA = 17,
    SCREEN_COUNT = 18,
};

enum ItemAction : int {
    ACTION_NONE = 0,
    ACTION_BUTTON = 1,
    ACTION_QUIT = 6,
    ACTION_DRIVE = 7,
    ACTION_AIM = 8,
    ACTION_BINOCULARS = 9,
    ACTION_START_HUNT = 10,
    ACTION_CHOICE = 11,
    ACTION_MAIN_MENU = 15,
    ACTION_HELP = 16,
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

// Screens that snapshot the hunt picture when they are entered: the options
// box and every end picture except the three generic ones drawn full screen.
bool ScreenShowsHuntBehind(int screen);
