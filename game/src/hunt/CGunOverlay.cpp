#include "game/hunt/CGunOverlay.h"

#include "OverlaySlide.h"
#include "imaging/CDib.h"
#include "media/CSoundDevice.h"

void CGunOverlay::Setup(CDib* back, CDib* picture, int x, int restingY, int magazine, int frameCount,
                        CSoundDevice* sound, SoundEntry* voice)
{
    m_back = back;
    m_picture = picture && picture->IsCreated() ? picture : nullptr;
    m_x = x;
    m_restingY = restingY;
    m_magazine = magazine > 0 ? magazine : 1;
    m_frameCount = frameCount > 0 ? frameCount : 1;
    m_sound = sound;
    m_voice = voice;
    m_frameWidth = m_picture ? m_picture->GetWidth() : 0;
    m_frameHeight = m_picture ? m_picture->GetHeight() / m_frameCount : 0;
    m_frame = 0;
    m_shotsFired = 0;
    m_y = kOverlayBottom;
    m_mode = GunMode::Lowering;
    m_step = kOverlaySlide;
    m_active = true;
}

void CGunOverlay::SetMode(GunMode mode)
{
    m_active = true;
    m_mode = mode;
    switch (mode) {
    case GunMode::Ready:
    case GunMode::Firing:
        m_frame = 0;
        break;
    case GunMode::Lowering:
        m_frame = 0;
        m_step = kOverlaySlide;
        break;
    case GunMode::Raising:
        m_step = -kOverlaySlide;
        m_shotsFired = 0; // raising the gun refills it
        break;
    case GunMode::Hidden:
        m_y = kOverlayBottom;
        break;
    default:
        break;
    }
}

void CGunOverlay::Step()
{
    switch (m_mode) {
    case GunMode::Firing:
        ++m_frame;
        if (m_frame == 1) {
            if (m_sound && m_voice) {
                if (m_sound->IsPlaying(m_voice))
                    m_sound->Stop(m_voice);
                m_sound->Play(m_voice, 0, SOUND_NO_CHANGE, SOUND_NO_CHANGE, SOUND_NO_CHANGE, false);
            }
            ++m_shotsFired;
        }
        // A strip of one or two frames ends its firing at once rather than
        // counting past its last frame.
        if (m_frame >= m_frameCount - 1) {
            if (m_shotsFired >= m_magazine) {
                m_mode = GunMode::Reloading;
                m_step = kOverlaySlide;
                m_shotsFired = 0;
            } else {
                m_mode = GunMode::Ready;
                m_frame = 0;
            }
        }
        break;
    case GunMode::Reloading:
        m_y += m_step;
        if (m_y >= kOverlayBottom) {
            m_y = kOverlayBottom;
            m_step = -m_step;
        }
        if (m_y <= m_restingY) {
            m_y = m_restingY;
            m_step = -m_step;
            m_mode = GunMode::Ready;
            m_frame = 0;
        }
        break;
    case GunMode::Lowering:
        if (m_y < kOverlayBottom)
            m_y += m_step;
        else
            m_active = false;
        break;
    case GunMode::Raising:
        if (m_y > m_restingY)
            m_y += m_step;
        else
            m_mode = GunMode::Ready;
        break;
    default:
        break;
    }
}

void CGunOverlay::Draw()
{
    if (!m_picture || !m_active || !m_back || m_y >= kOverlayBottom)
        return;
    m_back->Draw(m_x, m_y, m_frameWidth, m_frameHeight, m_picture, 0, m_frame * m_frameHeight, m_frameWidth,
                 m_frameHeight, BLIT_SRCKEY, 0);
}
