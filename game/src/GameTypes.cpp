#include "game/CGameRandom.h"
#include "game/GameTypes.h"

bool ScreenShowsHuntBehind(ScreenId screen)
{
    const int id = int(screen);
    return screen == ScreenId::Options || (id >= int(ScreenId::EndElephant) && id <= int(ScreenId::EndLost)) ||
           (id >= int(ScreenId::EndLioness) && id <= int(ScreenId::EndZebra));
}

CGameRandom& GameRandom()
{
    static CGameRandom random;
    return random;
}
