// The animals' voices, made the way a throat makes them: a buzzing source (a
// pitched sawtooth with breath noise, its pitch wandering and its loudness
// fluttering into a growl) shaped by a few resonances, the formants, that
// give each call its vowel.

#include "sound/SoundCatalogue.h"
#include "sound/SynthCurve.h"
#include "sound/SynthFilter.h"
#include "sound/SynthNoise.h"
#include "sound/SynthOscillator.h"

#include <cmath>

namespace {

using Kind = SynthFilter::Kind;

struct Formant {
    SynthCurve frequency;
    double q;
    double gain;
};

struct VoiceShape {
    uint32_t seed;
    double length;
    SynthCurve pitch; // Hz
    SynthCurve level; // 0..1
    double breath;    // noise mixed into the source
    double vibratoRate, vibratoDepth; // Hz, share of the pitch
    double growlRate, growlDepth;     // loudness flutter
    double wander;    // random pitch drift, share of the pitch
    double detune;    // a second source this much higher (0: none), for roughness
    std::vector<Formant> formants;
};

Signal Voice(const VoiceShape& shape)
{
    Signal out(SampleCount(shape.length));
    SynthNoise noise(shape.seed), drift(shape.seed ^ 0x5A5A5A5Au);
    SynthOscillator source, second, growl;
    // Pitch drift: noise smoothed to a few hertz, scaled back to about unit size.
    SynthFilter slow(Kind::LowPass, 6.0, 0.7);
    std::vector<SynthFilter> resonances(shape.formants.size());
    for (size_t i = 0; i < out.size(); ++i) {
        const double t = TimeOf(i);
        if (i % 32 == 0)
            for (size_t k = 0; k < resonances.size(); ++k)
                resonances[k].Set(Kind::BandPass, shape.formants[k].frequency.At(t), shape.formants[k].q);
        const double wobble = 1.0 + shape.vibratoDepth * std::sin(2.0 * M_PI * shape.vibratoRate * t) +
                              shape.wander * 40.0 * slow.Process(drift.Next());
        const double f = shape.pitch.At(t) * wobble;
        float excitation = source.Saw(f);
        if (shape.detune > 0.0)
            excitation = 0.6f * excitation + 0.4f * second.Saw(f * (1.0 + shape.detune));
        excitation = excitation * float(1.0 - shape.breath) + noise.Next() * float(shape.breath * 1.5);
        float v = 0.0f;
        for (size_t k = 0; k < resonances.size(); ++k)
            v += resonances[k].Process(excitation) * float(shape.formants[k].gain);
        const double flutter = 1.0 - shape.growlDepth * (0.5 + 0.5 * growl.Sine(shape.growlRate * (1.0 + 0.2 * std::sin(7.0 * t))));
        out[i] = v * float(shape.level.At(t) * flutter);
    }
    return out;
}

} // namespace

Signal MakeElephantTrumpet()
{
    return Voice({0xE1E9A412u, 1.5,
                  SynthCurve({{0.0, 380.0}, {0.15, 520.0}, {0.9, 560.0}, {1.3, 430.0}, {1.45, 400.0}}),
                  SynthCurve({{0.0, 0.0}, {0.08, 1.0}, {1.0, 0.85}, {1.45, 0.0}}), 0.25, 6.0, 0.015, 35.0, 0.25, 0.02,
                  0.007,
                  {{SynthCurve({{0.0, 700.0}}), 4.0, 1.0},
                   {SynthCurve({{0.0, 1400.0}}), 5.0, 0.8},
                   {SynthCurve({{0.0, 2600.0}}), 6.0, 0.5},
                   {SynthCurve({{0.0, 3800.0}}), 8.0, 0.25}}});
}

Signal MakeRunOverBellow()
{
    // The blow, then a shaking cry of pain.
    Signal out(SampleCount(0.6));
    SynthNoise noise(0xB0B0B0B0u);
    SynthFilter dull(Kind::LowPass, 400.0, 0.7);
    SynthOscillator thud;
    for (size_t i = 0; i < out.size(); ++i) {
        const double t = TimeOf(i);
        out[i] = thud.Sine(35.0 + 25.0 * std::exp(-t / 0.05)) * Decay(t, 0.12) +
                 2.0f * dull.Process(noise.Next()) * Decay(t, 0.03);
    }
    FadeOut(out, 0.1);
    const Signal cry = Voice({0xC4C4C4C4u, 1.1,
                              SynthCurve({{0.0, 650.0}, {0.17, 900.0}, {0.5, 700.0}, {1.0, 350.0}}),
                              SynthCurve({{0.0, 0.0}, {0.06, 1.0}, {0.6, 0.8}, {1.05, 0.0}}), 0.35, 9.0, 0.03, 25.0,
                              0.3, 0.03, 0.0,
                              {{SynthCurve({{0.0, 800.0}}), 4.0, 1.0},
                               {SynthCurve({{0.0, 1700.0}}), 5.0, 0.6},
                               {SynthCurve({{0.0, 3000.0}}), 6.0, 0.3}}});
    MixInto(out, cry, 0.08, 0.8f);
    return out;
}

Signal MakeLionRoar()
{
    // One full roar: it swells, its vowel closing from "aa" to "oo" as it falls.
    return Voice({0x110A0001u, 1.85,
                  SynthCurve({{0.0, 95.0}, {0.4, 165.0}, {1.0, 140.0}, {1.7, 80.0}, {1.85, 70.0}}),
                  SynthCurve({{0.0, 0.0}, {0.25, 1.0}, {1.1, 0.9}, {1.85, 0.0}}), 0.55, 0.0, 0.0, 22.0, 0.45, 0.05,
                  0.0,
                  {{SynthCurve({{0.0, 650.0}, {0.5, 600.0}, {1.2, 420.0}, {1.8, 380.0}}), 3.0, 1.0},
                   {SynthCurve({{0.0, 1100.0}, {1.2, 800.0}}), 4.0, 0.7},
                   {SynthCurve({{0.0, 2400.0}}), 5.0, 0.25}}});
}

Signal MakeLionGrunts()
{
    // The grunting series that ends a roar, each grunt weaker.
    Signal out(SampleCount(1.45), 0.0f);
    const double starts[] = {0.0, 0.32, 0.62, 0.9, 1.16};
    const float gains[] = {1.0f, 0.85f, 0.7f, 0.55f, 0.45f};
    for (int k = 0; k < 5; ++k) {
        const Signal grunt = Voice({0x110A0100u + uint32_t(k), 0.26,
                                    SynthCurve({{0.0, 125.0 - 4.0 * k}, {0.25, 85.0 - 3.0 * k}}),
                                    SynthCurve({{0.0, 0.0}, {0.03, 0.8}, {0.06, 1.0}, {0.25, 0.0}}), 0.5, 0.0, 0.0,
                                    18.0, 0.4, 0.04, 0.0,
                                    {{SynthCurve({{0.0, 350.0}}), 3.0, 1.0},
                                     {SynthCurve({{0.0, 750.0}}), 4.0, 0.6},
                                     {SynthCurve({{0.0, 2000.0}}), 5.0, 0.15}}});
        MixInto(out, grunt, starts[k], gains[k]);
    }
    out.resize(SampleCount(1.45));
    return out;
}

Signal MakeLionSnarl()
{
    // An open-mouthed snarl: mostly breath, rasping, in two swells.
    return Voice({0x110A0200u, 1.3, SynthCurve({{0.0, 80.0}, {0.4, 95.0}, {0.8, 75.0}, {1.3, 70.0}}),
                  SynthCurve({{0.0, 0.0}, {0.1, 0.8}, {0.35, 1.0}, {0.6, 0.6}, {0.8, 0.95}, {1.3, 0.0}}), 0.8, 0.0,
                  0.0, 40.0, 0.5, 0.1, 0.0,
                  {{SynthCurve({{0.0, 900.0}}), 3.0, 1.0},
                   {SynthCurve({{0.0, 1800.0}}), 4.0, 0.7},
                   {SynthCurve({{0.0, 3200.0}}), 5.0, 0.3}}});
}
