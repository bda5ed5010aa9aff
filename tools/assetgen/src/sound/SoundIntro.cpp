// The intro's soundtrack: the savannah at dusk (wind in the grass, the
// shimmer of insects, a few birds) under a short theme in A minor
// pentatonic, plucked like a thumb piano over a soft drum, that ends on a
// held chord as the title comes up.

#include "sound/SoundCatalogue.h"
#include "sound/SynthCurve.h"
#include "sound/SynthFilter.h"
#include "sound/SynthNoise.h"
#include "sound/SynthOscillator.h"

#include <cmath>

namespace {

using Kind = SynthFilter::Kind;

// Wind: low-passed noise in slow gusts; insects: a band of high noise that
// pulses thirty times a second.
Signal Ambience(double seconds)
{
    Signal out(SampleCount(seconds));
    SynthNoise wind(0x1A7B0001u), insects(0x1A7B0002u);
    SynthFilter grass(Kind::LowPass, 520, 0.6), chirr(Kind::BandPass, 5200, 4.0);
    SynthOscillator gust(0.2), gust2(0.7), pulse;
    for (size_t i = 0; i < out.size(); ++i) {
        const float gusts = 0.55f + 0.3f * gust.Sine(0.23) + 0.15f * gust2.Sine(0.61);
        const float buzz = 0.5f + 0.5f * pulse.Sine(30.0);
        out[i] = grass.Process(wind.Next()) * gusts * 0.9f + chirr.Process(insects.Next()) * buzz * 0.35f;
    }
    return out;
}

// A bird: two quick falling whistles.
Signal Bird(double pitch)
{
    Signal out(SampleCount(0.32), 0.0f);
    SynthOscillator whistle;
    for (size_t i = 0; i < out.size(); ++i) {
        const double t = TimeOf(i), within = std::fmod(t, 0.16);
        out[i] = whistle.Sine(pitch * (1.25 - 0.5 * within / 0.16)) * AttackDecay(within, 0.01, 0.04) * 0.5f;
    }
    return out;
}

// A thumb-piano note: a few partials, the upper ones dying first.
Signal Pluck(double frequency, double length)
{
    return DecayingPartials(frequency, length, {{1.0, 1.0, 0.6}, {2.0, 0.3, 0.2}, {5.4, 0.12, 0.05}}, 0.004, 0.05);
}

// A soft low drum: a sine falling from 110 to 55 Hz.
Signal Drum()
{
    Signal out(SampleCount(0.5));
    SynthOscillator body;
    const SynthCurve pitch{{0.0, 110.0}, {0.12, 55.0}};
    for (size_t i = 0; i < out.size(); ++i)
        out[i] = body.Sine(pitch.At(TimeOf(i))) * AttackDecay(TimeOf(i), 0.005, 0.16);
    return out;
}

// A held chord that swells and fades, softened by a low pass.
Signal Chord(const std::vector<double>& notes, double length)
{
    Signal out(SampleCount(length), 0.0f);
    const SynthCurve level{{0.0, 0.0}, {0.8, 1.0}, {length - 1.2, 0.8}, {length, 0.0}};
    for (double note : notes) {
        SynthOscillator oscillator, shimmer(0.3);
        SynthFilter soften(Kind::LowPass, 1400, 0.7);
        for (size_t i = 0; i < out.size(); ++i) {
            const double vibrato = 1.0 + 0.003 * shimmer.Sine(5.0);
            out[i] += soften.Process(oscillator.Saw(note * vibrato)) * float(level.At(TimeOf(i))) * 0.3f;
        }
    }
    return out;
}

} // namespace

Signal MakeIntroSoundtrack(double seconds)
{
    Signal out = Ambience(seconds);
    for (const auto& [at, pitch] : {std::pair{0.6, 3100.0}, {3.1, 2700.0}, {8.8, 3300.0}})
        MixInto(out, Bird(pitch), at, 0.6f);
    // The theme: A minor pentatonic, a note every 0.3 s from 1.5 s on, the
    // drum on every second one.
    const double a3 = 220.0;
    const double semitones[] = {0, 3, 5, 7, 10, 7, 5, 3, 5, 7, 12, 10, 7, 12, 15, 12, 10};
    double at = 1.5;
    for (size_t k = 0; k < std::size(semitones); ++k, at += 0.3) {
        MixInto(out, Pluck(a3 * std::pow(2.0, semitones[k] / 12.0), 0.9), at, 0.9f);
        if (k % 2 == 0)
            MixInto(out, Drum(), at, 0.8f);
    }
    // The chord (A, C, E) comes up with the title and lasts to the end.
    MixInto(out, Chord({a3, a3 * std::pow(2.0, 3 / 12.0), a3 * std::pow(2.0, 7 / 12.0), a3 * 2}, seconds - at + 0.3),
            at - 0.3, 1.0f);
    out.resize(SampleCount(seconds));
    RemoveOffset(out);
    FadeIn(out, 0.4);
    FadeOut(out, 1.0);
    return out;
}
