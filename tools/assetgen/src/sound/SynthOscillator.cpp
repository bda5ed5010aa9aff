#include "sound/SynthOscillator.h"

#include "sound/SynthSignal.h"

#include <cmath>

namespace {

// The correction that rounds a unit step at phase 0 over one sample each side.
double PolyBlep(double t, double dt)
{
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1.0;
    }
    if (t > 1.0 - dt) {
        t = (t - 1.0) / dt;
        return t * t + t + t + 1.0;
    }
    return 0.0;
}

} // namespace

double SynthOscillator::Advance(double frequency)
{
    const double phase = m_phase;
    m_phase += frequency / kSampleRate;
    m_phase -= std::floor(m_phase);
    return phase;
}

float SynthOscillator::Sine(double frequency)
{
    return float(std::sin(2.0 * M_PI * Advance(frequency)));
}

float SynthOscillator::Saw(double frequency)
{
    const double dt = std::fabs(frequency) / kSampleRate;
    const double t = Advance(frequency);
    return float(2.0 * t - 1.0 - PolyBlep(t, dt));
}

float SynthOscillator::Square(double frequency)
{
    const double dt = std::fabs(frequency) / kSampleRate;
    const double t = Advance(frequency);
    double t2 = t + 0.5;
    t2 -= std::floor(t2);
    return float((t < 0.5 ? 1.0 : -1.0) + PolyBlep(t, dt) - PolyBlep(t2, dt));
}
