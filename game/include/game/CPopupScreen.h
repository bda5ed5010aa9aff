#pragma once
// A box over a frozen picture of what was on the screen when it was entered
// (the options box, the end pictures).

#include "game/CScreen.h"

class CPopupScreen : public CScreen {
public:
    CPopupScreen(ScreenId id, CDib* backBuffer, CMouse* mouse);
    ~CPopupScreen() override;
    void Enter(bool keepStates) override;
    void Draw() override;
    CDib* Snapshot() const { return m_snapshot.get(); }

private:
    std::unique_ptr<CDib> m_snapshot;
};
