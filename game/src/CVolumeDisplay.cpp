#include "game/CVolumeDisplay.h"

#include "game/NearestPixel.h"
#include "imaging/CDib.h"

#include <algorithm>
#include <cstdint>

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
    const uint32_t frame = NearestPixel(*back, 0, 0, 0);
    const uint32_t ink = NearestPixel(*back, 240, 232, 200);
    const uint32_t dim = NearestPixel(*back, 96, 92, 80);
    const uint32_t cross = NearestPixel(*back, 220, 40, 30);
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
