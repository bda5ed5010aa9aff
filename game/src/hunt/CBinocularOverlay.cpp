#include "game/hunt/CBinocularOverlay.h"

#include "OverlaySlide.h"
#include "display/CDibDD.h"

#include <algorithm>

namespace {
// The lens in the picture, and the part of the view it magnifies twice.
constexpr int kLensX = 120, kLensY = 110, kLensW = 400, kLensH = 180;
constexpr int kViewX = 220, kViewOffsetY = 133, kViewW = 200, kViewH = 90;
// A pixel of the picture that shows the lens colour.
constexpr int kLensColourX = 200, kLensColourY = 200;
} // namespace

CBinocularOverlay::CBinocularOverlay() : m_image(MakeDib<CDibDD>()) {}

CBinocularOverlay::~CBinocularOverlay() = default;

void CBinocularOverlay::Setup(CDib* back, CDib* picture, int x, int restingY, int frameCount)
{
    m_back = back;
    m_picture = nullptr;
    m_image->Destroy();
    if (picture && picture->IsCreated() && m_image->CopyFrom(picture) == DIB_OK) {
        m_picture = picture;
        m_image->SetSourceKey(m_image->GetPixel(0, 0));
        m_image->SetDestKey(m_image->GetPixel(kLensColourX, kLensColourY));
    }
    m_x = x;
    m_restingY = restingY;
    m_frameCount = frameCount > 0 ? frameCount : 1;
    m_frameWidth = m_picture ? m_picture->GetWidth() : 0;
    m_frameHeight = m_picture ? m_picture->GetHeight() / m_frameCount : 0;
    m_y = kOverlayBottom;
    m_mode = BinocularMode::Lowering;
    m_step = kOverlaySlide;
}

void CBinocularOverlay::Clear()
{
    m_picture = nullptr;
    m_image->Destroy();
    m_active = false;
    m_y = kOverlayBottom;
}

void CBinocularOverlay::SetMode(BinocularMode mode)
{
    m_active = true;
    m_mode = mode;
    if (mode == BinocularMode::Lowering)
        m_step = kOverlaySlide;
    else if (mode == BinocularMode::Raising)
        m_step = -kOverlaySlide;
    else if (mode == BinocularMode::Hidden)
        m_y = kOverlayBottom;
}

void CBinocularOverlay::Step()
{
    if (m_mode == BinocularMode::Lowering) {
        if (m_y < kOverlayBottom)
            m_y += m_step;
        else
            m_active = false;
    } else if (m_mode == BinocularMode::Raising) {
        if (m_y > m_restingY)
            m_y += m_step;
        else
            m_mode = BinocularMode::Up;
    }
}

void CBinocularOverlay::Draw()
{
    if (!m_picture || !m_active || !m_back || m_y >= kOverlayBottom)
        return;
    CDib* image = m_image.Get();
    image->Draw(kLensX, kLensY, kLensW, kLensH, m_picture, kLensX, kLensY, kLensW, kLensH, 0, 0);
    if (m_y + kViewOffsetY + 100 < kOverlayBottom)
        image->Draw(kLensX, kLensY, kLensW, kLensH, m_back, kViewX, m_y + kViewOffsetY, kViewW,
                    std::min(kOverlayBottom - m_y, kViewH), BLIT_DESTKEY, 0);
    else
        image->Draw(kLensX, kLensY, kLensW, kLensH, m_back, kViewX, kOverlayBottom - 110, kViewW, kViewH, BLIT_DESTKEY, 0);
    m_back->Draw(m_x, m_y, m_frameWidth, m_frameHeight, image, 0, 0, m_frameWidth, m_frameHeight, BLIT_SRCKEY, 0);
}
