#include "sound/SynthFilter.h"

#include "sound/SynthSignal.h"

#include <algorithm>
#include <cmath>

void SynthFilter::Set(Kind kind, double frequency, double q)
{
    frequency = std::clamp(frequency, 10.0, 0.45 * kSampleRate);
    q = std::max(q, 0.05);
    const double w = 2.0 * M_PI * frequency / kSampleRate;
    const double cosw = std::cos(w), alpha = std::sin(w) / (2.0 * q);
    const double a0 = 1.0 + alpha;
    double b0, b1, b2;
    switch (kind) {
    case Kind::LowPass:
        b0 = (1.0 - cosw) / 2.0;
        b1 = 1.0 - cosw;
        b2 = b0;
        break;
    case Kind::HighPass:
        b0 = (1.0 + cosw) / 2.0;
        b1 = -(1.0 + cosw);
        b2 = b0;
        break;
    case Kind::BandPass:
    default:
        b0 = alpha;
        b1 = 0.0;
        b2 = -alpha;
        break;
    }
    m_b0 = b0 / a0;
    m_b1 = b1 / a0;
    m_b2 = b2 / a0;
    m_a1 = -2.0 * cosw / a0;
    m_a2 = (1.0 - alpha) / a0;
}

void SynthFilter::Reset()
{
    m_x1 = m_x2 = m_y1 = m_y2 = 0;
}

float SynthFilter::Process(float x)
{
    const double y = m_b0 * x + m_b1 * m_x1 + m_b2 * m_x2 - m_a1 * m_y1 - m_a2 * m_y2;
    m_x2 = m_x1;
    m_x1 = x;
    m_y2 = m_y1;
    m_y1 = y;
    return float(y);
}
