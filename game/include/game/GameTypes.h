#pragma once
// What the game's parts decide about its screens beyond their tables. The
// identifiers themselves (screens, item actions, animal kinds) belong to the
// data layout.

#include "gamedata/GameIds.h"

// Screens that snapshot the hunt picture when they are entered, since they
// are drawn over the frozen hunt: the options box and every end picture.
bool ScreenShowsHuntBehind(ScreenId screen);
