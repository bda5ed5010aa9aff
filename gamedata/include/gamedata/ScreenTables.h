#pragma once
// The item tables of the eighteen screens: what each item shows, where, what
// it does and where it leads.

#include "game/GameTypes.h"

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

// Trophy-room layout.
constexpr int TROPHY_SLOTS = 3;
extern const int kTrophySlotX[TROPHY_SLOTS];
extern const int kTrophySlotY[TROPHY_SLOTS];
