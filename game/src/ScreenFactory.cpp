#include "game/CChoiceScreen.h"
#include "game/CHudScreen.h"
#include "game/CPopupScreen.h"
#include "game/CTrophyScreen.h"

std::unique_ptr<CScreen> NewScreen(ScreenId id, CDib* backBuffer, CMouse* mouse)
{
    switch (id) {
    case ScreenId::Quarry: return std::make_unique<CChoiceScreen>(id, backBuffer, mouse, 1, 7, 10);
    case ScreenId::Weapon: return std::make_unique<CChoiceScreen>(id, backBuffer, mouse, 1, 6, 9);
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
