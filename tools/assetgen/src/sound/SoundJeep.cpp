// The jeep: the starter cranking into the first revs, and the idling engine
// as a seamless loop (the game loops it and raises its pitch with speed).
//
// An engine is a train of combustion pulses, a little uneven from cylinder to
// cylinder, ringing through the resonances of the block and the exhaust, with
// some exhaust hiss riding on each pulse.

#include "sound/SoundCatalogue.h"
#include "sound/SynthCurve.h"
#include "sound/SynthFilter.h"
#include "sound/SynthNoise.h"
#include "sound/SynthOscillator.h"

#include <cmath>

namespace {

using Kind = SynthFilter::Kind;

// The block's and the exhaust's resonances that colour the pulses.
class EngineBody {
public:
    float Process(float x)
    {
        const float v = 2.0f * m_block.Process(x) + 1.2f * m_exhaust.Process(x) + 0.5f * m_direct.Process(x);
        return m_output.Process(v);
    }

private:
    SynthFilter m_block{Kind::BandPass, 110.0, 1.5};
    SynthFilter m_exhaust{Kind::BandPass, 330.0, 3.0};
    SynthFilter m_direct{Kind::LowPass, 900.0, 0.7};
    SynthFilter m_output{Kind::LowPass, 2500.0, 0.7};
};

// One combustion: a quick rise and a short fall, 18 ms long.
constexpr size_t kPulseLength = 400;
float PulseShape(size_t n)
{
    return float(std::exp(-double(n) / 50.0) * (1.0 - std::exp(-double(n) / 3.0)));
}

// The four cylinders never fire quite alike; this unevenness is the lope.
constexpr float kCylinderLevels[4] = {1.0f, 0.82f, 0.93f, 0.76f};

} // namespace

Signal MakeEngineLoop()
{
    // 44 firings of exactly 500 samples: the loop holds whole engine cycles
    // (4 firings each), so the cylinder pattern continues across the seam.
    constexpr size_t kPeriod = 500, kFirings = 44, kLength = kPeriod * kFirings;
    Signal excitation(kLength, 0.0f);
    SynthNoise noise(0xE4613E00u);
    for (size_t k = 0; k < kFirings; ++k) {
        const long jitter = std::lround(noise.Next() * 8.0f);
        const size_t start = size_t(long(k * kPeriod + kLength) + jitter);
        const float level = kCylinderLevels[k % 4] * (1.0f + 0.08f * noise.Next());
        for (size_t n = 0; n < kPulseLength; ++n)
            excitation[(start + n) % kLength] += level * PulseShape(n);
        // The valves tick twice per firing, faintly.
        for (size_t tick = 0; tick < 2; ++tick)
            for (size_t n = 0; n < 40; ++n)
                excitation[(start + 180 + tick * 250 + n) % kLength] +=
                    0.05f * noise.Next() * float(std::exp(-double(n) / 8.0));
    }
    for (size_t i = 0; i < kLength; ++i) {
        // Exhaust hiss after each pulse, and a slow swell that fits the loop
        // twice so it too joins at the seam.
        excitation[i] += 0.12f * noise.Next() * float(std::exp(-double(i % kPeriod) / 120.0));
        excitation[i] *= float(1.0 + 0.06 * std::sin(2.0 * M_PI * 2.0 * double(i) / kLength));
    }
    // Run the resonances over the periodic excitation three times and keep the
    // last pass: by then the filters' state at the start equals their state
    // at the end, so the loop's end leads into its start without a step.
    EngineBody body;
    Signal out(kLength);
    for (int pass = 0; pass < 3; ++pass)
        for (size_t i = 0; i < kLength; ++i)
            out[i] = body.Process(excitation[i]);
    double mean = 0.0;
    for (float s : out)
        mean += s;
    mean /= double(kLength);
    for (float& s : out)
        s -= float(mean);
    return out;
}

Signal MakeJeepStarting()
{
    const double length = 1.85;
    Signal out(SampleCount(length), 0.0f);
    SynthNoise noise(0x57A27000u);

    // The starter motor whines and the engine is dragged through its
    // compressions, about seven a second.
    SynthOscillator starter;
    SynthFilter whine(Kind::BandPass, 600.0, 1.2);
    const SynthCurve starterLevel({{0.0, 0.0}, {0.04, 1.0}, {0.7, 1.0}, {0.9, 0.0}});
    Signal motor(SampleCount(0.9));
    for (size_t i = 0; i < motor.size(); ++i) {
        const double t = TimeOf(i);
        const double compression = 0.55 + 0.45 * std::sin(2.0 * M_PI * 7.0 * t);
        motor[i] = whine.Process(starter.Saw(185.0 + 30.0 * t)) * float(starterLevel.At(t) * compression);
    }
    for (double t = 0.05; t < 0.7; t += 1.0 / 7.0) {
        const size_t start = SampleCount(t);
        for (size_t n = 0; n < kPulseLength && start + n < out.size(); ++n)
            out[start + n] += 0.35f * PulseShape(n * 2 / 3);
    }

    // It catches, revs up and settles to the idle the engine loop plays.
    const SynthCurve rate({{0.6, 12.0}, {0.75, 25.0}, {0.9, 45.0}, {1.15, 70.0}, {1.45, 55.0}, {1.75, 44.1}});
    const SynthCurve level({{0.6, 0.3}, {0.8, 0.9}, {1.15, 1.2}, {1.6, 1.0}});
    double phase = 0.0;
    int cylinder = 0;
    for (size_t i = SampleCount(0.6); i < out.size(); ++i) {
        const double t = TimeOf(i);
        phase += rate.At(t) / kSampleRate;
        if (phase < 1.0)
            continue;
        phase -= 1.0;
        const float amplitude = float(level.At(t)) * kCylinderLevels[cylinder++ % 4] * (1.0f + 0.08f * noise.Next());
        for (size_t n = 0; n < kPulseLength && i + n < out.size(); ++n)
            out[i + n] += amplitude * PulseShape(n) + 0.12f * amplitude * noise.Next() * float(std::exp(-double(n) / 120.0));
    }
    EngineBody body;
    for (float& s : out)
        s = body.Process(s);
    MixInto(out, motor, 0.0, 0.5f);
    return out;
}
