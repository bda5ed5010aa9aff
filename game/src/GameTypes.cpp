#include "game/CGameRandom.h"
#include "game/GameTypes.h"

bool ScreenShowsHuntBehind(int screen)
{
    return screen == SCREEN_OPTIONS || (screen >= SCREEN_END_ELEPHANT && screen <= SCREEN_END_LOST) ||
           (screen >= SCREEN_END_LIONESS && screen <= SCREEN_END_ZEBRA);
}

CGameRandom& GameRandom()
{
    static CGameRandom random;
    return random;
}
