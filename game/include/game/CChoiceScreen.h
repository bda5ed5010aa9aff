#pragma once
// The quarry and weapon screens: a choice and the name plate of the choice.

#include "game/CScreen.h"

class CChoiceScreen : public CScreen {
public:
    CChoiceScreen(ScreenId id, CDib* backBuffer, CMouse* mouse, int firstChoice, int choiceCount, int blankPlate);
    void Draw() override;

private:
    int m_firstChoice, m_choiceCount, m_blankPlate;
};
