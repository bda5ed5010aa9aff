#include "game/CHudScreen.h"

#include "game/CMouse.h"

namespace {

// Where each toggle key "clicks": a point inside its item.
constexpr int kAimKeyX = 540, kAimKeyY = 360;
constexpr int kBinocularKeyX = 560, kBinocularKeyY = 225;
constexpr int kDriveKeyX = 545, kDriveKeyY = 273;

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
        x = kAimKeyX, y = kAimKeyY;
    if (KeyPressed(m_bindings.binocularKey))
        x = kBinocularKeyX, y = kBinocularKeyY;
    if (KeyPressed(m_bindings.driveKey))
        x = kDriveKeyX, y = kDriveKeyY;
    if (m_mouse->TakeLeftPressed())
        x = m_mouse->X(), y = m_mouse->Y();

    const int hit = ItemAt(x, y);
    if (hit < 0)
        return -1;
    if (MayFlip(ActionOf(hit)))
        Item(hit).frame ^= 1;
    return hit;
}
