#pragma once
// The item tables of the eighteen screens: what each item shows, where, what
// it does and where it leads. The game builds its screens from them and the
// asset generator paints every picture they name, so a picture, its place and
// its frame count are written here once.

#include "gamedata/GameIds.h"

// Every screen and the hunt are drawn into a back buffer of this size; the
// window scales it.
constexpr int kBackBufferWidth = 640;
constexpr int kBackBufferHeight = 480;

struct ItemDesc {
    const char* picture; // data file name, Windows style
    int frames;          // the picture is a vertical strip of this many frames
    int x, y;            // top-left on the screen
    ItemAction action;
    ScreenId target;     // where the item leads, ScreenId::None for nowhere
    int group;           // 0 plain; 1 choice or toggle; 2 the same, selected afresh
};

// Picture kinds of a screen's items.
enum ScreenPictureKind : int {
    PICTURE_SPRITE = 0,  // "TRLE" sprite kept encoded
    PICTURE_SURFACE = 1, // display surface loaded in the back buffer's format, keyed by pixel (0, 0)
};

struct ScreenTable {
    const ItemDesc* items;
    int count;
    ScreenPictureKind kind;
};

// The table of a screen; count 0 for an unknown id.
ScreenTable ScreenTableFor(ScreenId screen);
// Item `item` of a screen, which must lie in its table (as the named
// places below do).
const ItemDesc& ItemOf(ScreenId screen, int item);

// The items the game and the generator address by their place in a table.
// Every screen's item 0 is its background (an end screen has nothing else).
namespace MainMenuItem {
enum : int { Background, Start, Trophies, Help, Exit, Credits };
}
// The quarry's choices and named plates follow the animal kinds' order
// (AnimalKind − 1); the blank plate is drawn under the chosen one's.
namespace QuarryItem {
enum : int { Background, FirstChoice, Previous = FirstChoice + ANIMAL_KIND_COUNT, Next, BlankPlate, FirstPlate };
}
namespace HuntItem {
enum : int { Compass, WindDial, Binoculars, Drive, Aim, Options, DirectionLabel, WindLabel };
}
namespace OptionsItem {
enum : int { Background, Resume, MainMenu, Exit };
}
// The weapons' choices and named plates follow the weapon table's order.
namespace WeaponItem {
enum : int { Background, FirstChoice, Previous = FirstChoice + WEAPON_COUNT, Next, BlankPlate, FirstPlate };
}
// The hunting grounds' choices follow the scenarios' order (1..3).
namespace ScenarioItem {
enum : int { Background, FirstChoice, Previous = FirstChoice + SCENARIO_COUNT, Next };
}
// Item k (an AnimalKind) is that kind's mount, placed at a slot when drawn.
namespace TrophyItem {
enum : int { Background, FirstMount, Previous = FirstMount + ANIMAL_KIND_COUNT, Next, Exit };
}
namespace CreditsItem {
enum : int { Background, Exit };
}

// The end screen showing a bagged animal of `kind`; ScreenId::None for
// ANIMAL_NONE or an unknown kind.
ScreenId BaggedScreen(int kind);

// Trophy-room layout: the mounts of one page hang at these slots.
constexpr int TROPHY_SLOTS = 3;
extern const int kTrophySlotX[TROPHY_SLOTS];
extern const int kTrophySlotY[TROPHY_SLOTS];
