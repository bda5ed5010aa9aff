#include "gamedata/ScreenTables.h"

#include <cassert>
#include <cstddef>
#include <iterator>

namespace {

constexpr ScreenId N = ScreenId::None;

constexpr ItemDesc kMainMenu[] = {
    {"menu\\mback.bmp", 1, 0, 0, ItemAction::None, N, 0},
    {"menu\\mstart.bmp", 2, 42, 145, ItemAction::Button, ScreenId::Quarry, 0},
    {"menu\\mtrophy.bmp", 2, 42, 212, ItemAction::Button, ScreenId::Trophies, 0},
    {"menu\\mhelp.bmp", 2, 80, 273, ItemAction::Help, N, 0},
    {"menu\\mexit.bmp", 2, 68, 406, ItemAction::Quit, N, 0},
    {"menu\\mcredit.bmp", 2, 86, 342, ItemAction::Button, ScreenId::Credits, 0},
};

constexpr ItemDesc kQuarry[] = {
    {"menu\\hback.bmp", 1, 0, 0, ItemAction::None, N, 0},
    {"menu\\hEleph.bmp", 2, 27, 9, ItemAction::Choice, N, 1},
    {"menu\\hGiraf.bmp", 2, 124, 6, ItemAction::Choice, N, 2},
    {"menu\\hHippo.bmp", 2, 158, 206, ItemAction::Choice, N, 1},
    {"menu\\hLionm.bmp", 2, 67, 375, ItemAction::Choice, N, 1},
    {"menu\\hLionf.bmp", 2, 142, 320, ItemAction::Choice, N, 1},
    {"menu\\hRhino.bmp", 2, 1, 175, ItemAction::Choice, N, 1},
    {"menu\\hZebra.bmp", 2, 15, 269, ItemAction::Choice, N, 1},
    {"menu\\hPrev.bmp", 2, 0, 434, ItemAction::Button, ScreenId::MainMenu, 0},
    {"menu\\hNext.bmp", 2, 590, 433, ItemAction::Button, ScreenId::Weapon, 0},
    {"menu\\hEmpty.bmp", 1, 305, 268, ItemAction::None, N, 0},
    {"menu\\hnEleph.bmp", 1, 305, 268, ItemAction::None, N, 0},
    {"menu\\hnGiraf.bmp", 1, 305, 268, ItemAction::None, N, 0},
    {"menu\\hnHippo.bmp", 1, 305, 268, ItemAction::None, N, 0},
    {"menu\\hnLionm.bmp", 1, 305, 268, ItemAction::None, N, 0},
    {"menu\\hnLionf.bmp", 1, 305, 268, ItemAction::None, N, 0},
    {"menu\\hnRhino.bmp", 1, 305, 268, ItemAction::None, N, 0},
    {"menu\\hnZebra.bmp", 1, 305, 268, ItemAction::None, N, 0},
};

constexpr ItemDesc kHunt[] = {
    {"menu\\gCompass.bmp", 12, 540, 0, ItemAction::None, N, 0},
    {"menu\\gCompass.bmp", 12, 540, 107, ItemAction::None, N, 0},
    {"menu\\gbino.bmp", 2, 560, 225, ItemAction::Binoculars, N, 1},
    {"menu\\gfoot.bmp", 2, 545, 273, ItemAction::Drive, N, 1},
    {"menu\\gtarget.bmp", 2, 540, 360, ItemAction::Aim, N, 1},
    {"menu\\goption.bmp", 2, 514, 419, ItemAction::Button, ScreenId::Options, 0},
    {"menu\\gDir.bmp", 1, 545, 76, ItemAction::None, N, 0},
    {"menu\\gWind.bmp", 1, 535, 183, ItemAction::None, N, 0},
};

constexpr ItemDesc kOptions[] = {
    {"menu\\opback.bmp", 1, 157, 118, ItemAction::None, N, 0},
    {"menu\\opresume.bmp", 2, 215, 144, ItemAction::Button, ScreenId::Hunt, 0},
    {"menu\\opmain.bmp", 2, 195, 198, ItemAction::MainMenu, ScreenId::MainMenu, 0},
    {"menu\\opexit.bmp", 2, 235, 292, ItemAction::Quit, N, 0},
};

constexpr ItemDesc kWeapon[] = {
    {"menu\\weBack.bmp", 1, 0, 0, ItemAction::None, N, 0},
    {"menu\\weAk47.bmp", 2, 327, 180, ItemAction::Choice, N, 2},
    {"menu\\weCross.bmp", 2, 330, 0, ItemAction::Choice, N, 1},
    {"menu\\weHand.bmp", 2, 437, 400, ItemAction::Choice, N, 1},
    {"menu\\weMuz.bmp", 2, 335, 273, ItemAction::Choice, N, 1},
    {"menu\\weRifle.bmp", 2, 325, 328, ItemAction::Choice, N, 1},
    {"menu\\weShot.bmp", 2, 324, 117, ItemAction::Choice, N, 1},
    {"menu\\wePrev.bmp", 2, 0, 434, ItemAction::Button, ScreenId::Quarry, 0},
    {"menu\\weNext.bmp", 2, 590, 433, ItemAction::Button, ScreenId::Scenario, 0},
    {"menu\\weEmpty.bmp", 1, 54, 264, ItemAction::None, N, 0},
    {"menu\\wenAk47.bmp", 1, 54, 264, ItemAction::None, N, 0},
    {"menu\\wenCross.bmp", 1, 54, 264, ItemAction::None, N, 0},
    {"menu\\wenHand.bmp", 1, 54, 264, ItemAction::None, N, 0},
    {"menu\\wenMuz.bmp", 1, 54, 264, ItemAction::None, N, 0},
    {"menu\\wenRifle.bmp", 1, 54, 264, ItemAction::None, N, 0},
    {"menu\\wenShot.bmp", 1, 54, 264, ItemAction::None, N, 0},
};

constexpr ItemDesc kScenario[] = {
    {"menu\\scback.bmp", 1, 0, 0, ItemAction::None, N, 0},
    {"menu\\ScDesert.bmp", 2, 244, 249, ItemAction::Choice, N, 1},
    {"menu\\scPlains.bmp", 2, 424, 246, ItemAction::Choice, N, 1},
    {"menu\\scGrass.bmp", 2, 50, 250, ItemAction::Choice, N, 2},
    {"menu\\btnPrev.bmp", 2, 0, 434, ItemAction::Button, ScreenId::Weapon, 0},
    {"menu\\btnNext.bmp", 2, 590, 433, ItemAction::StartHunt, ScreenId::Hunt, 0},
};

// End pictures lead to the main menu but have no active item: the player
// cannot leave them; a timer returns to the menu.
constexpr ItemDesc kEndElephant[] = {{"menu\\EnEleph.bmp", 1, 145, 75, ItemAction::None, ScreenId::MainMenu, 0}};
constexpr ItemDesc kEndGiraffe[] = {{"menu\\EnGiraf.bmp", 1, 145, 75, ItemAction::None, ScreenId::MainMenu, 0}};
constexpr ItemDesc kEndHippo[] = {{"menu\\EnHippo.bmp", 1, 145, 75, ItemAction::None, ScreenId::MainMenu, 0}};
constexpr ItemDesc kEndLion[] = {{"menu\\EnLionm.bmp", 1, 145, 75, ItemAction::None, ScreenId::MainMenu, 0}};
constexpr ItemDesc kEndJail[] = {{"menu\\EnJail.bmp", 1, 0, 0, ItemAction::None, ScreenId::MainMenu, 0}};
constexpr ItemDesc kEndKilled[] = {{"menu\\EnHunted.bmp", 1, 0, 0, ItemAction::None, ScreenId::MainMenu, 0}};
constexpr ItemDesc kEndLost[] = {{"menu\\EnLost.bmp", 1, 0, 0, ItemAction::None, ScreenId::MainMenu, 0}};
constexpr ItemDesc kEndLioness[] = {{"menu\\EnLionf.bmp", 1, 145, 75, ItemAction::None, ScreenId::MainMenu, 0}};
constexpr ItemDesc kEndRhino[] = {{"menu\\EnRhino.bmp", 1, 145, 75, ItemAction::None, ScreenId::MainMenu, 0}};
constexpr ItemDesc kEndZebra[] = {{"menu\\EnZebra.bmp", 1, 145, 75, ItemAction::None, ScreenId::MainMenu, 0}};

constexpr ItemDesc kTrophies[] = {
    {"menu\\Trback.bmp", 1, 0, 0, ItemAction::None, N, 0},
    {"menu\\trEleph.bmp", 1, 0, 0, ItemAction::None, N, 0},
    {"menu\\trGiraf.bmp", 1, 0, 0, ItemAction::None, N, 0},
    {"menu\\TrHippo.bmp", 1, 0, 0, ItemAction::None, N, 0},
    {"menu\\TrLionm.bmp", 1, 0, 0, ItemAction::None, N, 0},
    {"menu\\TrLionf.bmp", 1, 0, 0, ItemAction::None, N, 0},
    {"menu\\TrRhino.bmp", 1, 0, 0, ItemAction::None, N, 0},
    {"menu\\TrZebra.bmp", 1, 0, 0, ItemAction::None, N, 0},
    {"menu\\trPrev.bmp", 2, 0, 434, ItemAction::Button, N, 0},
    {"menu\\trNext.bmp", 2, 590, 433, ItemAction::Button, N, 0},
    {"menu\\trExit.bmp", 2, 271, 425, ItemAction::MainMenu, ScreenId::MainMenu, 0},
};

constexpr ItemDesc kCredits[] = {
    {"menu\\Crback.bmp", 1, 0, 0, ItemAction::None, N, 0},
    {"menu\\crExit.bmp", 2, 245, 408, ItemAction::MainMenu, ScreenId::MainMenu, 0},
};

template <size_t Count>
constexpr ScreenTable Table(const ItemDesc (&items)[Count], ScreenPictureKind kind)
{
    return {items, int(Count), kind};
}

// The named places agree with the tables.
constexpr bool AllActions(const ItemDesc* items, int first, int count, ItemAction action)
{
    for (int i = first; i < first + count; ++i)
        if (items[i].action != action)
            return false;
    return true;
}
static_assert(kMainMenu[MainMenuItem::Start].target == ScreenId::Quarry);
static_assert(kMainMenu[MainMenuItem::Trophies].target == ScreenId::Trophies);
static_assert(kMainMenu[MainMenuItem::Help].action == ItemAction::Help);
static_assert(kMainMenu[MainMenuItem::Exit].action == ItemAction::Quit);
static_assert(kMainMenu[MainMenuItem::Credits].target == ScreenId::Credits);
static_assert(AllActions(kQuarry, QuarryItem::FirstChoice, ANIMAL_KIND_COUNT, ItemAction::Choice));
static_assert(kQuarry[QuarryItem::Previous].target == ScreenId::MainMenu);
static_assert(kQuarry[QuarryItem::Next].target == ScreenId::Weapon);
static_assert(std::size(kQuarry) == size_t(QuarryItem::FirstPlate + ANIMAL_KIND_COUNT));
static_assert(kHunt[HuntItem::Binoculars].action == ItemAction::Binoculars);
static_assert(kHunt[HuntItem::Drive].action == ItemAction::Drive);
static_assert(kHunt[HuntItem::Aim].action == ItemAction::Aim);
static_assert(kHunt[HuntItem::Options].target == ScreenId::Options);
static_assert(std::size(kHunt) == size_t(HuntItem::WindLabel + 1));
static_assert(kOptions[OptionsItem::Resume].target == ScreenId::Hunt);
static_assert(kOptions[OptionsItem::MainMenu].action == ItemAction::MainMenu);
static_assert(kOptions[OptionsItem::Exit].action == ItemAction::Quit);
static_assert(AllActions(kWeapon, WeaponItem::FirstChoice, WEAPON_COUNT, ItemAction::Choice));
static_assert(kWeapon[WeaponItem::Previous].target == ScreenId::Quarry);
static_assert(kWeapon[WeaponItem::Next].target == ScreenId::Scenario);
static_assert(std::size(kWeapon) == size_t(WeaponItem::FirstPlate + WEAPON_COUNT));
static_assert(AllActions(kScenario, ScenarioItem::FirstChoice, SCENARIO_COUNT, ItemAction::Choice));
static_assert(kScenario[ScenarioItem::Previous].target == ScreenId::Weapon);
static_assert(kScenario[ScenarioItem::Next].action == ItemAction::StartHunt);
static_assert(std::size(kTrophies) == size_t(TrophyItem::Exit + 1));
static_assert(kTrophies[TrophyItem::Exit].action == ItemAction::MainMenu);
static_assert(kCredits[CreditsItem::Exit].action == ItemAction::MainMenu);

} // namespace

const int kTrophySlotX[TROPHY_SLOTS] = {34, 236, 439};
const int kTrophySlotY[TROPHY_SLOTS] = {97, 53, 93};

ScreenTable ScreenTableFor(ScreenId screen)
{
    switch (screen) {
    case ScreenId::MainMenu: return Table(kMainMenu, PICTURE_SPRITE);
    case ScreenId::Quarry: return Table(kQuarry, PICTURE_SPRITE);
    case ScreenId::Hunt: return Table(kHunt, PICTURE_SPRITE);
    case ScreenId::Options: return Table(kOptions, PICTURE_SPRITE);
    case ScreenId::Weapon: return Table(kWeapon, PICTURE_SPRITE);
    case ScreenId::Scenario: return Table(kScenario, PICTURE_SPRITE);
    case ScreenId::EndElephant: return Table(kEndElephant, PICTURE_SURFACE);
    case ScreenId::EndGiraffe: return Table(kEndGiraffe, PICTURE_SURFACE);
    case ScreenId::EndHippo: return Table(kEndHippo, PICTURE_SURFACE);
    case ScreenId::EndLion: return Table(kEndLion, PICTURE_SURFACE);
    case ScreenId::EndJail: return Table(kEndJail, PICTURE_SURFACE);
    case ScreenId::EndKilled: return Table(kEndKilled, PICTURE_SURFACE);
    case ScreenId::EndLost: return Table(kEndLost, PICTURE_SURFACE);
    case ScreenId::Trophies: return Table(kTrophies, PICTURE_SPRITE);
    case ScreenId::Credits: return Table(kCredits, PICTURE_SPRITE);
    case ScreenId::EndLioness: return Table(kEndLioness, PICTURE_SURFACE);
    case ScreenId::EndRhino: return Table(kEndRhino, PICTURE_SURFACE);
    case ScreenId::EndZebra: return Table(kEndZebra, PICTURE_SURFACE);
    default: return {nullptr, 0, PICTURE_SPRITE};
    }
}

ScreenId BaggedScreen(int kind)
{
    static constexpr ScreenId kScreens[ANIMAL_KIND_COUNT + 1] = {
        ScreenId::None,    ScreenId::EndElephant, ScreenId::EndGiraffe, ScreenId::EndHippo,
        ScreenId::EndLion, ScreenId::EndLioness,  ScreenId::EndRhino,   ScreenId::EndZebra};
    return kind > ANIMAL_NONE && kind <= ANIMAL_KIND_COUNT ? kScreens[kind] : ScreenId::None;
}

const ItemDesc& ItemOf(ScreenId screen, int item)
{
    const ScreenTable table = ScreenTableFor(screen);
    assert(item >= 0 && item < table.count);
    return table.items[item];
}
