// The good-shot cue and the warnings. The cue is a bright rising chime; the
// warnings are alarms (siren, whoops, beeps, horn, warble, buzzer) that each
// sound unlike the others and unlike anything in the savannah, so the player
// knows at once that something needs attention.

#include "sound/SoundCatalogue.h"
#include "sound/SynthCurve.h"
#include "sound/SynthFilter.h"
#include "sound/SynthOscillator.h"

#include <cmath>

namespace {

using Kind = SynthFilter::Kind;

enum class Wave { Sine, Square, Saw };

// A tone following a pitch curve and a loudness curve, its brightness set by
// a low pass.
Signal Tone(Wave wave, const SynthCurve& frequency, const SynthCurve& level, double length, double brightness)
{
    Signal out(SampleCount(length));
    SynthOscillator oscillator;
    SynthFilter soften(Kind::LowPass, brightness, 0.7);
    for (size_t i = 0; i < out.size(); ++i) {
        const double t = TimeOf(i), f = frequency.At(t);
        const float v = wave == Wave::Sine ? oscillator.Sine(f) : wave == Wave::Square ? oscillator.Square(f)
                                                                                         : oscillator.Saw(f);
        out[i] = soften.Process(v) * float(level.At(t));
    }
    return out;
}

// Gates a tone on and off: `on` pairs of (start, end) seconds, each edge
// ramped over 8 ms.
SynthCurve Gate(const std::vector<std::pair<double, double>>& on)
{
    std::vector<std::pair<double, double>> points{{0.0, 0.0}};
    for (const auto& [start, end] : on) {
        points.push_back({start, 0.0});
        points.push_back({start + 0.008, 1.0});
        points.push_back({end - 0.008, 1.0});
        points.push_back({end, 0.0});
    }
    return SynthCurve(std::move(points));
}

// A struck bar: a few partials that die away, the higher ones faster.
Signal Chime(double frequency, double length)
{
    return DecayingPartials(frequency, length, {{1.0, 1.0, 0.5}, {2.0, 0.35, 0.25}, {3.0, 0.15, 0.12}, {4.2, 0.1, 0.04}},
                            0.003, 0.03);
}

} // namespace

Signal MakeGoodShotCue()
{
    // A rising major arpeggio, the last note held.
    const double notes[] = {523.25, 659.25, 783.99, 1046.5};
    Signal out(SampleCount(1.1), 0.0f);
    for (int k = 0; k < 4; ++k)
        MixInto(out, Chime(notes[k], k == 3 ? 0.86 : 0.5), 0.08 * k, k == 3 ? 1.0f : 0.8f);
    out.resize(SampleCount(1.1));
    return out;
}

Signal MakeSirenWarning()
{
    // High-low two-tone, four times round.
    std::vector<std::pair<double, double>> pitch;
    for (int k = 0; k < 8; ++k) {
        const double f = k % 2 ? 660.0 : 880.0;
        pitch.push_back({0.2 * k + 0.01, f});
        pitch.push_back({0.2 * k + 0.2, f});
    }
    return Tone(Wave::Square, SynthCurve(std::move(pitch)), Gate({{0.0, 1.6}}), 1.6, 3000.0);
}

Signal MakeWhoopWarning()
{
    // Two sweeps upwards, each cut off at the top.
    const SynthCurve pitch({{0.0, 400.0}, {0.55, 1200.0}, {0.6, 400.0}, {0.65, 400.0}, {1.2, 1200.0}});
    return Tone(Wave::Saw, pitch, Gate({{0.0, 0.55}, {0.65, 1.2}}), 1.3, 2500.0);
}

Signal MakeBeepWarning()
{
    // Two groups of three quick beeps.
    std::vector<std::pair<double, double>> beeps;
    for (int group = 0; group < 2; ++group)
        for (int k = 0; k < 3; ++k) {
            const double start = group * 0.7 + k * 0.15;
            beeps.push_back({start, start + 0.09});
        }
    Signal out = Tone(Wave::Sine, SynthCurve({{0.0, 1000.0}}), Gate(beeps), 1.15, 8000.0);
    // A little of the third harmonic makes the beep cut through.
    const Signal edge = Tone(Wave::Sine, SynthCurve({{0.0, 3000.0}}), Gate(beeps), 1.15, 8000.0);
    MixInto(out, edge, 0.0, 0.25f);
    return out;
}

Signal MakeHornWarning()
{
    // Two honks of the jeep's horn: two reeds a major third apart, the
    // second honk longer.
    const SynthCurve honks = Gate({{0.0, 0.3}, {0.42, 0.95}});
    const SynthCurve low({{0.0, 360.0}, {0.04, 370.0}, {0.42, 360.0}, {0.46, 370.0}});
    const SynthCurve high({{0.0, 455.0}, {0.04, 466.0}, {0.42, 455.0}, {0.46, 466.0}});
    Signal out = Tone(Wave::Saw, low, honks, 1.05, 2000.0);
    MixInto(out, Tone(Wave::Saw, high, honks, 1.05, 2000.0), 0.0, 0.9f);
    SynthFilter thin(Kind::HighPass, 250.0, 0.7);
    for (float& s : out)
        s = thin.Process(s);
    return out;
}

Signal MakeWarbleWarning()
{
    // Two pitches alternating twelve times a second.
    std::vector<std::pair<double, double>> pitch;
    for (int k = 0; k < 30; ++k) {
        const double f = k % 2 ? 950.0 : 700.0;
        pitch.push_back({k / 24.0 + 0.004, f});
        pitch.push_back({(k + 1) / 24.0, f});
    }
    return Tone(Wave::Square, SynthCurve(std::move(pitch)), Gate({{0.0, 1.2}}), 1.25, 3500.0);
}

Signal MakeWrongShotBuzzer()
{
    // A harsh low "uh-oh": two buzzing tones, the second lower and longer.
    const SynthCurve pitch({{0.0, 300.0}, {0.4, 300.0}, {0.45, 200.0}});
    Signal out = Tone(Wave::Saw, pitch, Gate({{0.0, 0.35}, {0.45, 1.0}}), 1.05, 1800.0);
    MixInto(out, Tone(Wave::Square, pitch, Gate({{0.0, 0.35}, {0.45, 1.0}}), 1.05, 1800.0), 0.0, 0.6f);
    // A 30 Hz rattle roughens it into a buzz.
    for (size_t i = 0; i < out.size(); ++i)
        out[i] *= float(0.7 + 0.3 * std::sin(2.0 * M_PI * 30.0 * TimeOf(i)));
    return out;
}
