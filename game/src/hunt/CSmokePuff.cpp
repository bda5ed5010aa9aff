#include "game/hunt/CSmokePuff.h"

#include "imaging/CDib.h"

void CSmokePuff::Setup(CDib* back, CDib* picture, int aimX, int aimY)
{
    m_back = back;
    m_picture = picture && picture->IsCreated() ? picture : nullptr;
    m_level = 0;
    m_x = m_picture ? aimX - m_picture->GetWidth() / 2 : aimX;
    m_y = m_picture ? aimY - m_picture->GetHeight() / 2 : aimY;
}

void CSmokePuff::Step()
{
    if (m_level > 0)
        m_level -= 32;
}

void CSmokePuff::Draw()
{
    // At level 0 the stipple shows nothing: skip the blit.
    if (!m_picture || !m_back || m_level <= 0)
        return;
    const int w = m_picture->GetWidth(), h = m_picture->GetHeight();
    m_back->Draw(m_x, m_y, w, h, m_picture, 0, 0, w, h, BLIT_STIPPLE | BLIT_SRCKEY, BlitExtra(m_level));
}
