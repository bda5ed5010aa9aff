#include "game/CChoiceScreen.h"
#include "game/CHudScreen.h"
#include "game/CPopupScreen.h"
#include "game/CTrophyScreen.h"

std::unique_ptr<CScreen> NewScreen(ScreenId id, CDib* backBuffer, CMouse* mouse)
{
    switch (id) {
    case ScreenId::Quarry:
        return std::make_unique<CChoiceScreen>(id, backBuffer, mouse, QuarryItem::FirstChoice, ANIMAL_KIND_COUNT,
                                               QuarryItem::BlankPlate);
    case ScreenId::Weapon:
        return std::make_unique<CChoiceScreen>(id, backBuffer, mouse, WeaponItem::FirstChoice, WEAPON_COUNT,
                                               WeaponItem::BlankPlate);
    case ScreenId::Hunt: return std::make_unique<CHudScreen>(backBuffer, mouse);
    case ScreenId::Trophies: return std::make_unique<CTrophyScreen>(backBuffer, mouse);
    case ScreenId::Options:
    case ScreenId::EndElephant: case ScreenId::EndGiraffe: case ScreenId::EndHippo: case ScreenId::EndLion:
    case ScreenId::EndJail: case ScreenId::EndKilled: case ScreenId::EndLost: case ScreenId::EndLioness:
    case ScreenId::EndRhino: case ScreenId::EndZebra:
        return std::make_unique<CPopupScreen>(id, backBuffer, mouse);
    default:
        return std::make_unique<CScreen>(id, backBuffer, mouse);
    }
}
