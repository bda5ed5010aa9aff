#include "game/CTrophyScreen.h"

#include "game/CMouse.h"
#include "game/TrophyFile.h"

CTrophyScreen::CTrophyScreen(CDib* backBuffer, CMouse* mouse) : CScreen(ScreenId::Trophies, backBuffer, mouse) {}

void CTrophyScreen::Enter(bool keepStates)
{
    CScreen::Enter(keepStates);
    m_trophies = ReadTrophies(m_recordPath);
    m_pageStart = 0;
}

void CTrophyScreen::Leave()
{
    // The pictures stay loaded; only the list goes.
    m_trophies.clear();
}

int CTrophyScreen::Click(int x, int y)
{
    const int hit = CScreen::Click(x, y);
    const int count = TrophyCount();
    if (hit == TrophyItem::Previous)
        m_pageStart = m_pageStart >= TROPHY_SLOTS ? m_pageStart - TROPHY_SLOTS : 0;
    else if (hit == TrophyItem::Next) {
        m_pageStart += TROPHY_SLOTS;
        if (m_pageStart > count)
            m_pageStart = count / TROPHY_SLOTS * TROPHY_SLOTS;
    }
    return hit;
}

int CTrophyScreen::Poll()
{
    // No choices here: hover and click only.
    Hover(m_mouse->X(), m_mouse->Y());
    if (!m_mouse->TakeLeftPressed())
        return -1;
    return Click(m_mouse->X(), m_mouse->Y());
}

void CTrophyScreen::Draw()
{
    const CScreenItem& background = Item(TrophyItem::Background);
    DrawItem(background, background.left, background.top);
    int slot = 0;
    for (int i = m_pageStart; i < m_pageStart + TROPHY_SLOTS && i < TrophyCount(); ++i) {
        const int kind = m_trophies[size_t(i)];
        if (kind < ANIMAL_ELEPHANT || kind > ANIMAL_ZEBRA)
            continue;
        CScreenItem& item = Item(TrophyItem::FirstMount + kind - ANIMAL_ELEPHANT);
        item.left = kTrophySlotX[slot];
        item.top = kTrophySlotY[slot];
        item.right = item.left + item.frameWidth;
        item.bottom = item.top + item.frameHeight;
        DrawItem(item, item.left, item.top);
        ++slot;
    }
    for (int i = TrophyItem::Previous; i <= TrophyItem::Exit; ++i)
        DrawItem(Item(i), Item(i).left, Item(i).top);
}
