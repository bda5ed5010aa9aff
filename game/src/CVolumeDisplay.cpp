#include "game/CVolumeDisplay.h"

#include "imaging/CDib.h"
#include "imaging/CDibPalette.h"

#include <algorithm>
#include <cstdint>

namespace {

// The back buffer's pixel nearest to a colour: a palette entry in 8 bits,
// the packed value in high colour.
uint32_t PixelOf(CDib* back, uint8_t r, uint8_t g, uint8_t b)
{
    const PixelFormat format = back->GetFormat();
    if (PixelFormatIsIndexed(format)) {
        CDibPalette* palette = back->GetPalette();
        return palette ? uint32_t(std::max(palette->NearestIndex(r, g, b), 0)) : 0;
    }
    if (format == PF_RGB565)
        return uint32_t((r >> 3) << 11 | (g >> 2) << 5 | (b >> 3));
    return uint32_t((r >> 3) << 10 | (g >> 3) << 5 | (b >> 3)); // RGB555
}

} // namespace

void CVolumeDisplay::Show(int step, int steps, bool muted)
{
    m_steps = std::max(steps, 1);
    m_step = std::clamp(step, 0, m_steps);
    m_muted = muted;
    m_left = kShowSeconds;
}

bool CVolumeDisplay::Advance(double seconds)
{
    if (m_left <= 0 || !(seconds > 0))
        return false;
    // Passes' times summed lose a little: within a nanosecond counts as gone.
    m_left -= seconds;
    if (m_left > 1e-9)
        return false;
    m_left = 0;
    return true;
}

void CVolumeDisplay::Draw(CDib* back) const
{
    if (!Visible() || !back || !back->IsCreated())
        return;
    const uint32_t frame = PixelOf(back, 0, 0, 0);
    const uint32_t ink = PixelOf(back, 240, 232, 200);
    const uint32_t dim = PixelOf(back, 96, 92, 80);
    const uint32_t cross = PixelOf(back, 220, 40, 30);
    back->FillRect(kLeft, kTop, kWidth, kHeight, frame);

    // The speaker: a box and its cone.
    const int sx = kLeft + 8, cy = kTop + kHeight / 2;
    back->FillRect(sx, cy - 4, 6, 8, ink);
    for (int i = 0; i < 8; ++i)
        back->FillRect(sx + 6 + i, cy - 4 - i, 1, 8 + 2 * i, ink);
    if (m_muted)
        for (int d = -1; d <= 1; ++d) {
            back->DrawLine(sx - 2 + d, cy - 10, sx + 16 + d, cy + 10, cross);
            back->DrawLine(sx - 2 + d, cy + 10, sx + 16 + d, cy - 10, cross);
        }

    // The bars, each a little taller than the one before, lit up to the step.
    const int barsLeft = kLeft + 32, barWidth = 6, gap = 3, bottom = kTop + kHeight - 6;
    const int count = std::min(m_steps, (kWidth - 40) / (barWidth + gap));
    for (int i = 0; i < count; ++i) {
        const int height = 4 + (kHeight - 14) * (i + 1) / count;
        const bool lit = !m_muted && i < m_step * count / m_steps;
        back->FillRect(barsLeft + i * (barWidth + gap), bottom - height, barWidth, height, lit ? ink : dim);
    }
}
