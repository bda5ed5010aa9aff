#include "game/CHudScreen.h"

#include "game/CMouse.h"

namespace {

// A toggle key "clicks" its item's top-left corner.
void KeyClick(int item, int& x, int& y)
{
    const ItemDesc& desc = ItemOf(ScreenId::Hunt, item);
    x = desc.x;
    y = desc.y;
}

} // namespace

CHudScreen::CHudScreen(CDib* backBuffer, CMouse* mouse) : CScreen(ScreenId::Hunt, backBuffer, mouse) {}

bool CHudScreen::KeyPressed(InputControlHandle key) const
{
    return m_bindings.input && key && (m_bindings.input->GetControlState(key) & CONTROL_PRESSES) != 0;
}

bool CHudScreen::MayFlip(ItemAction action) const
{
    switch (action) {
    case ItemAction::Drive:
        return !Binoculars() && !Aiming() && (!m_bindings.jeepStandsStill || m_bindings.jeepStandsStill());
    case ItemAction::Aim:
        return !Binoculars() && !Driving();
    case ItemAction::Binoculars:
        return !Driving() && !Aiming();
    default:
        return false;
    }
}

int CHudScreen::Poll()
{
    int x = -1, y = -1;
    if (KeyPressed(m_bindings.aimKey))
        KeyClick(HuntItem::Aim, x, y);
    if (KeyPressed(m_bindings.binocularKey))
        KeyClick(HuntItem::Binoculars, x, y);
    if (KeyPressed(m_bindings.driveKey))
        KeyClick(HuntItem::Drive, x, y);
    if (m_mouse->TakeLeftPressed())
        x = m_mouse->X(), y = m_mouse->Y();

    const int hit = ItemAt(x, y);
    if (hit < 0)
        return -1;
    if (MayFlip(ActionOf(hit)))
        Item(hit).frame ^= 1;
    return hit;
}
