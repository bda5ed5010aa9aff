#include "game/CPopupScreen.h"

#include "common/DebugTrace.h"
#include "display/CDibDD.h"
#include "gamedata/ScreenTables.h"

CPopupScreen::CPopupScreen(ScreenId id, CDib* backBuffer, CMouse* mouse)
    : CScreen(id, backBuffer, mouse), m_snapshot(std::make_unique<CDibDD>())
{
    // Without its snapshot the box still works; what it covered is drawn
    // again by the screen below when it closes.
    if (backBuffer && backBuffer->IsCreated() &&
        m_snapshot->Create(kBackBufferWidth, kBackBufferHeight, backBuffer->GetFormat()) != DIB_OK)
        DebugTrace("CPopupScreen : no room for the snapshot of the screen below");
}

CPopupScreen::~CPopupScreen() = default;

void CPopupScreen::Enter(bool keepStates)
{
    CScreen::Enter(keepStates);
    if (m_snapshot->IsCreated())
        m_back->Blit(m_snapshot.get(), 0, 0, kBackBufferWidth, kBackBufferHeight, 0, 0, kBackBufferWidth, kBackBufferHeight, 0, 0);
}

void CPopupScreen::Draw()
{
    if (m_snapshot->IsCreated())
        m_snapshot->Blit(m_back, 0, 0, kBackBufferWidth, kBackBufferHeight, 0, 0, kBackBufferWidth, kBackBufferHeight, 0, 0);
    CScreen::Draw();
}
