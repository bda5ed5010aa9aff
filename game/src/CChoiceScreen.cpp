#include "game/CChoiceScreen.h"

CChoiceScreen::CChoiceScreen(ScreenId id, CDib* backBuffer, CMouse* mouse, int firstChoice, int choiceCount,
                             int blankPlate)
    : CScreen(id, backBuffer, mouse), m_firstChoice(firstChoice), m_choiceCount(choiceCount), m_blankPlate(blankPlate)
{
}

void CChoiceScreen::Draw()
{
    // Every item, then the blank plate again and the plate of the choice on it.
    CScreen::Draw();
    DrawItem(Item(m_blankPlate), Item(m_blankPlate).left, Item(m_blankPlate).top);
    const int chosen = LastSelected(m_firstChoice, m_firstChoice + m_choiceCount - 1);
    if (chosen >= 0) {
        const CScreenItem& plate = Item(m_blankPlate + chosen - m_firstChoice + 1);
        DrawItem(plate, plate.left, plate.top);
    }
}
