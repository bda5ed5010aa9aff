#include "game/ScreenTables.h"

#include <cstddef>

namespace {

constexpr int N = SCREEN_NONE;

constexpr ItemDesc kMainMenu[] = {
    {"menu\\mback.bmp", 1, 0, 0, ACTION_NONE, N, 0},
    {"menu\\mstart.bmp", 2, 42, 145, ACTION_BUTTON, SCREEN_QUARRY, 0},
    {"menu\\mtrophy.bmp", 2, 42, 212, ACTION_BUTTON, SCREEN_TROPHIES, 0},
    {"menu\\mhelp.bmp", 2, 80, 273, ACTION_HELP, N, 0},
    {"menu\\mexit.bmp", 2, 68, 406, ACTION_QUIT, N, 0},
    {"menu\\mcredit.bmp", 2, 86, 342, ACTION_BUTTON, SCREEN_CREDITS, 0},
};

constexpr ItemDesc kQuarry[] = {
    {"menu\\hback.bmp", 1, 0, 0, ACTION_NONE, N, 0},
    {"menu\\hEleph.bmp", 2, 27, 9, ACTION_CHOICE, N, 1},
    {"menu\\hGiraf.bmp", 2, 124, 6, ACTION_CHOICE, N, 2},
    {"menu\\hHippo.bmp", 2, 158, 206, ACTION_CHOICE, N, 1},
    {"menu\\hLionm.bmp", 2, 67, 375, ACTION_CHOICE, N, 1},
    {"menu\\hLionf.bmp", 2, 142, 320, ACTION_CHOICE, N, 1},
    {"menu\\hRhino.bmp", 2, 1, 175, ACTION_CHOICE, N, 1},
    {"menu\\hZebra.bmp", 2, 15, 269, ACTION_CHOICE, N, 1},
    {"menu\\hPrev.bmp", 2, 0, 434, ACTION_BUTTON, SCREEN_MAIN_MENU, 0},
    {"menu\\hNext.bmp", 2, 590, 433, ACTION_BUTTON, SCREEN_WEAPON, 0},
    {"menu\\hEmpty.bmp", 1, 305, 268, ACTION_NONE, N, 0},
    {"menu\\hnEleph.bmp", 1, 305, 268, ACTION_NONE, N, 0},
    {"menu\\hnGiraf.bmp", 1, 305, 268, ACTION_NONE, N, 0},
    {"menu\\hnHippo.bmp", 1, 305, 268, ACTION_NONE, N, 0},
    {"menu\\hnLionm.bmp", 1, 305, 268, ACTION_NONE, N, 0},
    {"menu\\hnLionf.bmp", 1, 305, 268, ACTION_NONE, N, 0},
    {"menu\\hnRhino.bmp", 1, 305, 268, ACTION_NONE, N, 0},
    {"menu\\hnZebra.bmp", 1, 305, 268, ACTION_NONE, N, 0},
};

constexpr ItemDesc kHunt[] = {
    {"menu\\gCompass.bmp", 12, 540, 0, ACTION_NONE, N, 0},
    {"menu\\gCompass.bmp", 12, 540, 107, ACTION_NONE, N, 0},
    {"menu\\gbino.bmp", 2, 560, 225, ACTION_BINOCULARS, N, 1},
    {"menu\\gfoot.bmp", 2, 545, 273, ACTION_DRIVE, N, 1},
    {"menu\\gtarget.bmp", 2, 540, 360, ACTION_AIM, N, 1},
    {"menu\\goption.bmp", 2, 514, 419, ACTION_BUTTON, SCREEN_OPTIONS, 0},
    {"menu\\gDir.bmp", 1, 545, 76, ACTION_NONE, N, 0},
    {"menu\\gWind.bmp", 1, 535, 183, ACTION_NONE, N, 0},
};

constexpr ItemDesc kOptions[] = {
    {"menu\\opback.bmp", 1, 157, 118, ACTION_NONE, N, 0},
    {"menu\\opresume.bmp", 2, 215, 144, ACTION_BUTTON, SCREEN_HUNT, 0},
    {"menu\\opmain.bmp", 2, 195, 198, ACTION_MAIN_MENU, SCREEN_MAIN_MENU, 0},
    {"menu\\opexit.bmp", 2, 235, 292, ACTION_QUIT, N, 0},
};

constexpr ItemDesc kWeapon[] = {
    {"menu\\weBack.bmp", 1, 0, 0, ACTION_NONE, N, 0},
    {"menu\\weAk47.bmp", 2, 327, 180, ACTION_CHOICE, N, 2},
    {"menu\\weCross.bmp", 2, 330, 0, ACTION_CHOICE, N, 1},
    {"menu\\weHand.bmp", 2, 437, 400, ACTION_CHOICE, N, 1},
    {"menu\\weMuz.bmp", 2, 335, 273, ACTION_CHOICE, N, 1},
    {"menu\\weRifle.bmp", 2, 325, 328, ACTION_CHOICE, N, 1},
    {"menu\\weShot.bmp", 2, 324, 117, ACTION_CHOICE, N, 1},
    {"menu\\wePrev.bmp", 2, 0, 434, ACTION_BUTTON, SCREEN_QUARRY, 0},
    {"menu\\weNext.bmp", 2, 590, 433, ACTION_BUTTON, SCREEN_SCENARIO, 0},
    {"menu\\weEmpty.bmp", 1, 54, 264, ACTION_NONE, N, 0},
    {"menu\\wenAk47.bmp", 1, 54, 264, ACTION_NONE, N, 0},
    {"menu\\wenCross.bmp", 1, 54, 264, ACTION_NONE, N, 0},
    {"menu\\wenHand.bmp", 1, 54, 264, ACTION_NONE, N, 0},
    {"menu\\wenMuz.bmp", 1, 54, 264, ACTION_NONE, N, 0},
    {"menu\\wenRifle.bmp", 1, 54, 264, ACTION_NONE, N, 0},
    {"menu\\wenShot.bmp", 1, 54, 264, ACTION_NONE, N, 0},
};

constexpr ItemDesc kScenario[] = {
    {"menu\\scback.bmp", 1, 0, 0, ACTION_NONE, N, 0},
    {"menu\\ScDesert.bmp", 2, 244, 249, ACTION_CHOICE, N, 1},
    {"menu\\scPlains.bmp", 2, 424, 246, ACTION_CHOICE, N, 1},
    {"menu\\scGrass.bmp", 2, 50, 250, ACTION_CHOICE, N, 2},
    {"menu\\btnPrev.bmp", 2, 0, 434, ACTION_BUTTON, SCREEN_WEAPON, 0},
    {"menu\\btnNext.bmp", 2, 590, 433, ACTION_START_HUNT, SCREEN_HUNT, 0},
};

// End pictures lead to the main menu but have no active item: the player
// cannot leave them; a timer returns to the menu.
constexpr ItemDesc kEndElephant[] = {{"menu\\EnEleph.bmp", 1, 145, 75, ACTION_NONE, SCREEN_MAIN_MENU, 0}};
constexpr ItemDesc kEndGiraffe[] = {{"menu\\EnGiraf.bmp", 1, 145, 75, ACTION_NONE, SCREEN_MAIN_MENU, 0}};
constexpr ItemDesc kEndHippo[] = {{"menu\\EnHippo.bmp", 1, 145, 75, ACTION_NONE, SCREEN_MAIN_MENU, 0}};
constexpr ItemDesc kEndLion[] = {{"menu\\EnLionm.bmp", 1, 145, 75, ACTION_NONE, SCREEN_MAIN_MENU, 0}};
constexpr ItemDesc kEndJail[] = {{"menu\\EnJail.bmp", 1, 0, 0, ACTION_NONE, SCREEN_MAIN_MENU, 0}};
constexpr ItemDesc kEndKilled[] = {{"menu\\EnHunted.bmp", 1, 0, 0, ACTION_NONE, SCREEN_MAIN_MENU, 0}};
constexpr ItemDesc kEndLost[] = {{"menu\\EnLost.bmp", 1, 0, 0, ACTION_NONE, SCREEN_MAIN_MENU, 0}};
constexpr ItemDesc kEndLioness[] = {{"menu\\EnLionf.bmp", 1, 145, 75, ACTION_NONE, SCREEN_MAIN_MENU, 0}};
constexpr ItemDesc kEndRhino[] = {{"menu\\EnRhino.bmp", 1, 145, 75, ACTION_NONE, SCREEN_MAIN_MENU, 0}};
constexpr ItemDesc kEndZebra[] = {{"menu\\EnZebra.bmp", 1, 145, 75, ACTION_NONE, SCREEN_MAIN_MENU, 0}};

constexpr ItemDesc kTrophies[] = {
    {"menu\\Trback.bmp", 1, 0, 0, ACTION_NONE, N, 0},
    {"menu\\trEleph.bmp", 1, 0, 0, ACTION_NONE, N, 0},
    {"menu\\trGiraf.bmp", 1, 0, 0, ACTION_NONE, N, 0},
    {"menu\\TrHippo.bmp", 1, 0, 0, ACTION_NONE, N, 0},
    {"menu\\TrLionm.bmp", 1, 0, 0, ACTION_NONE, N, 0},
    {"menu\\TrLionf.bmp", 1, 0, 0, ACTION_NONE, N, 0},
    {"menu\\TrRhino.bmp", 1, 0, 0, ACTION_NONE, N, 0},
    {"menu\\TrZebra.bmp", 1, 0, 0, ACTION_NONE, N, 0},
    {"menu\\trPrev.bmp", 2, 0, 434, ACTION_BUTTON, N, 0},
    {"menu\\trNext.bmp", 2, 590, 433, ACTION_BUTTON, N, 0},
    {"menu\\trExit.bmp", 2, 271, 425, ACTION_MAIN_MENU, SCREEN_MAIN_MENU, 0},
};

constexpr ItemDesc kCredits[] = {
    {"menu\\Crback.bmp", 1, 0, 0, ACTION_NONE, N, 0},
    {"menu\\crExit.bmp", 2, 245, 408, ACTION_MAIN_MENU, SCREEN_MAIN_MENU, 0},
};

template <size_t Count>
constexpr ScreenTable Table(const ItemDesc (&items)[Count], ScreenPictureKind kind)
{
    return {items, int(Count), kind};
}

} // namespace

const int kTrophySlotX[TROPHY_SLOTS] = {34, 236, 439};
const int kTrophySlotY[TROPHY_SLOTS] = {97, 53, 93};

ScreenTable ScreenTableFor(int screen)
{
    switch (screen) {
    case SCREEN_MAIN_MENU: return Table(kMainMenu, PICTURE_SPRITE);
    case SCREEN_QUARRY: return Table(kQuarry, PICTURE_SPRITE);
    case SCREEN_HUNT: return Table(kHunt, PICTURE_SPRITE);
    case SCREEN_OPTIONS: return Table(kOptions, PICTURE_SPRITE);
    case SCREEN_WEAPON: return Table(kWeapon, PICTURE_SPRITE);
    case SCREEN_SCENARIO: return Table(kScenario, PICTURE_SPRITE);
    case SCREEN_END_ELEPHANT: return Table(kEndElephant, PICTURE_SURFACE);
    case SCREEN_END_GIRAFFE: return Table(kEndGiraffe, PICTURE_SURFACE);
    case SCREEN_END_HIPPO: return Table(kEndHippo, PICTURE_SURFACE);
    case SCREEN_END_LION: return Table(kEndLion, PICTURE_SURFACE);
    case SCREEN_END_JAIL: return Table(kEndJail, PICTURE_SURFACE);
    case SCREEN_END_KILLED: return Table(kEndKilled, PICTURE_SURFACE);
    case SCREEN_END_LOST: return Table(kEndLost, PICTURE_SURFACE);
    case SCREEN_TROPHIES: return Table(kTrophies, PICTURE_SPRITE);
    case SCREEN_CREDITS: return Table(kCredits, PICTURE_SPRITE);
    case SCREEN_END_LIONESS: return Table(kEndLioness, PICTURE_SURFACE);
    case SCREEN_END_RHINO: return Table(kEndRhino, PICTURE_SURFACE);
    case SCREEN_END_ZEBRA: return Table(kEndZebra, PICTURE_SURFACE);
    default: return {nullptr, 0, PICTURE_SPRITE};
    }
}
