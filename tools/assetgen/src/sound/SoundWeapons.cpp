// The weapons' shots. A gunshot is built from four layers that real shots
// have: the sharp crack of the muzzle blast, a band of noise that gives each
// weapon its colour, a falling low boom, and a darkening tail of rumble
// rolling over the land, with an echo or two from distant hills. Each weapon
// sets those layers differently and some add their own mechanics (the
// shotgun's pump, the muzzle-loader's priming flash, the crossbow's string).

#include "sound/SoundCatalogue.h"
#include "sound/SynthFilter.h"
#include "sound/SynthNoise.h"
#include "sound/SynthOscillator.h"

#include <algorithm>
#include <cmath>

namespace {

using Kind = SynthFilter::Kind;

struct ShotShape {
    uint32_t seed;
    double length; // seconds
    double crackGain, crackTau, crackHighPass;
    double bodyGain, bodyFrequency, bodyQ, bodyTau;
    double boomGain, boomStart, boomEnd, boomTau;
    double tailGain, tailTau, tailBright, tailDark;
};

Signal Gunshot(const ShotShape& shape)
{
    Signal out(SampleCount(shape.length));
    SynthNoise blastNoise(shape.seed), tailNoise(shape.seed * 2654435761u + 17);
    SynthFilter crack(Kind::HighPass, shape.crackHighPass, 0.7);
    SynthFilter body(Kind::BandPass, shape.bodyFrequency, shape.bodyQ);
    SynthFilter tail(Kind::LowPass, shape.tailBright, 0.7);
    SynthFilter tailSmooth(Kind::LowPass, shape.tailBright, 0.7);
    SynthOscillator boom;
    for (size_t i = 0; i < out.size(); ++i) {
        const double t = TimeOf(i);
        const float n = blastNoise.Next();
        float v = crack.Process(n) * AttackDecay(t, 0.0003, shape.crackTau) * float(shape.crackGain);
        // A band pass of white noise keeps about a third of its level at Q 1.
        v += body.Process(n) * AttackDecay(t, 0.001, shape.bodyTau) * float(3.0 * shape.bodyGain);
        const double boomFrequency = shape.boomEnd + (shape.boomStart - shape.boomEnd) * std::exp(-t / 0.04);
        v += boom.Sine(boomFrequency) * AttackDecay(t, 0.002, shape.boomTau) * float(shape.boomGain);
        // The tail grows out of the blast and loses its highs as it rolls away.
        if (i % 32 == 0) {
            const double cutoff = shape.tailDark + (shape.tailBright - shape.tailDark) * std::exp(-t / 0.15);
            tail.Set(Kind::LowPass, cutoff, 0.7);
            tailSmooth.Set(Kind::LowPass, cutoff, 0.7);
        }
        const float tailEnvelope = float((1.0 - std::exp(-t / 0.012)) * std::exp(-t / shape.tailTau));
        v += tailSmooth.Process(tail.Process(tailNoise.Next())) * tailEnvelope * float(2.0 * shape.tailGain);
        out[i] = v;
    }
    FadeOut(out, 0.05);
    // Real shots are heard through the ear's own compression: saturating the
    // crack lets the body and the boom come through at full loudness.
    Saturate(out, 2.5);
    return out;
}

// A duller, later copy of the sound from a distant slope, kept within the
// sound's present length. A slope is no mirror: the echo arrives smeared over
// a few tens of milliseconds and without its highs.
void AddEcho(Signal& signal, double delay, float gain, double lowPass)
{
    SynthFilter filter(Kind::LowPass, lowPass, 0.7), steeper(Kind::LowPass, lowPass, 0.7);
    Signal copy(signal);
    for (float& s : copy)
        s = steeper.Process(filter.Process(s));
    const double spread[3][2] = {{0.0, 0.5}, {0.013, 0.3}, {0.029, 0.2}};
    for (const auto& [late, share] : spread) {
        const size_t offset = SampleCount(delay + late);
        for (size_t i = offset; i < signal.size(); ++i)
            signal[i] += copy[i - offset] * gain * float(share);
    }
}

// A short metallic click: a tick of noise and a ringing band.
Signal MetalClick(uint32_t seed, double ring, double gain)
{
    Signal out(SampleCount(0.06));
    SynthNoise noise(seed);
    SynthFilter tick(Kind::HighPass, 2500.0, 0.7), bell(Kind::BandPass, ring, 9.0);
    for (size_t i = 0; i < out.size(); ++i) {
        const double t = TimeOf(i);
        const float n = noise.Next();
        out[i] = float(gain) * (tick.Process(n) * Decay(t, 0.002) + 4.0f * bell.Process(n) * AttackDecay(t, 0.001, 0.015));
    }
    FadeOut(out, 0.01);
    return out;
}

// Noise shaped by a rise-and-fall envelope through a band: slides, hisses.
Signal Hiss(uint32_t seed, double length, double frequency, double q, double rise, double tau)
{
    Signal out(SampleCount(length));
    SynthNoise noise(seed);
    SynthFilter band(Kind::BandPass, frequency, q);
    for (size_t i = 0; i < out.size(); ++i)
        out[i] = band.Process(noise.Next()) * AttackDecay(TimeOf(i), rise, tau);
    FadeOut(out, 0.01);
    return out;
}

} // namespace

Signal MakeRifleShot()
{
    Signal out = Gunshot({0xB16B00B5u, 1.7, 1.0, 0.004, 1500, 0.8, 900, 0.8, 0.03, 1.1, 110, 52, 0.13, 0.4, 0.45,
                          2500, 280});
    AddEcho(out, 0.32, 0.35f, 1200);
    AddEcho(out, 0.61, 0.18f, 800);
    return out;
}

Signal MakeHandgunShot()
{
    Signal out = Gunshot({0x5EED0001u, 0.75, 1.0, 0.0025, 2500, 1.0, 1600, 1.2, 0.018, 0.45, 180, 110, 0.05, 0.2,
                          0.22, 3500, 600});
    AddEcho(out, 0.24, 0.15f, 1500);
    return out;
}

Signal MakeAssaultRifleBurst()
{
    // Three rounds at 600 a minute, each followed by the bolt's clack.
    Signal out(SampleCount(0.95), 0.0f);
    const float gains[3] = {1.0f, 0.92f, 0.96f};
    for (int round = 0; round < 3; ++round) {
        const Signal shot = Gunshot({0xA4700000u + uint32_t(round), 0.6, 1.0, 0.003, 2000, 0.9, 1200 + 60.0 * round,
                                     1.0, 0.02, 0.6, 140, 80, 0.06, 0.25, 0.3, 3000, 450});
        MixInto(out, shot, 0.1 * round, gains[round]);
        MixInto(out, MetalClick(0xC1AC0000u + uint32_t(round), 2900, 0.12), 0.1 * round + 0.045);
    }
    AddEcho(out, 0.3, 0.2f, 1200);
    out.resize(SampleCount(0.95));
    return out;
}

Signal MakeShotgunBlast()
{
    Signal out = Gunshot({0x5407C0DEu, 1.25, 0.6, 0.006, 1000, 1.1, 500, 0.6, 0.06, 1.1, 90, 45, 0.16, 0.45, 0.5,
                          1800, 250});
    AddEcho(out, 0.3, 0.25f, 900);
    // The pump: the slide back (click, scrape) and forward again.
    MixInto(out, MetalClick(0x9A4B0001u, 2300, 0.22), 0.78);
    MixInto(out, Hiss(0x9A4B0002u, 0.07, 1800, 2.0, 0.01, 0.02), 0.79, 0.05f);
    MixInto(out, MetalClick(0x9A4B0003u, 2600, 0.28), 0.93);
    out.resize(SampleCount(1.25));
    return out;
}

Signal MakeMuzzleLoaderShot()
{
    // The priming powder flashes in the pan a moment before the charge.
    Signal out = Hiss(0x3A2B0001u, 0.14, 4000, 1.0, 0.03, 0.04);
    for (float& s : out)
        s *= 0.9f;
    const Signal charge = Gunshot({0x3A2B0002u, 1.75, 0.5, 0.008, 800, 1.0, 350, 0.7, 0.09, 1.3, 70, 32, 0.25, 0.5,
                                   0.7, 1500, 200});
    MixInto(out, charge, 0.1);
    // Black powder leaves a long hiss of smoke and burning grains.
    Signal smoke(SampleCount(1.75));
    SynthNoise noise(0x3A2B0003u);
    SynthFilter high(Kind::HighPass, 3000.0, 0.7);
    for (size_t i = 0; i < smoke.size(); ++i)
        smoke[i] = high.Process(noise.Next()) * AttackDecay(TimeOf(i), 0.25, 0.5) * 0.06f;
    MixInto(out, smoke, 0.1);
    AddEcho(out, 0.4, 0.25f, 700);
    out.resize(SampleCount(1.85));
    return out;
}

Signal MakeCrossbowShot()
{
    Signal out(SampleCount(0.75), 0.0f);
    // The string: a plucked string model (a delay line of noise, averaged on
    // each pass), so it twangs and darkens as it rings down.
    SynthNoise noise(0xC405B001u);
    const size_t period = size_t(std::lround(kSampleRate / 165.0));
    std::vector<float> line(period);
    for (float& s : line)
        s = noise.Next();
    Signal twang(SampleCount(0.6));
    for (size_t i = 0; i < twang.size(); ++i) {
        const size_t k = i % period;
        const float next = line[(k + 1) % period];
        twang[i] = line[k];
        line[k] = 0.4985f * (line[k] + next);
    }
    SynthFilter body(Kind::BandPass, 330.0, 1.5);
    for (size_t i = 0; i < twang.size(); ++i)
        twang[i] = (0.6f * twang[i] + 1.5f * body.Process(twang[i])) * AttackDecay(TimeOf(i), 0.002, 0.18);
    FadeOut(twang, 0.05);
    MixInto(out, twang, 0.0, 0.8f);
    // The stock's knock as the string stops.
    Signal knock(SampleCount(0.05));
    SynthOscillator thud;
    for (size_t i = 0; i < knock.size(); ++i)
        knock[i] = thud.Sine(420.0 - 2000.0 * TimeOf(i)) * AttackDecay(TimeOf(i), 0.001, 0.012);
    FadeOut(knock, 0.01);
    MixInto(out, knock, 0.0, 0.6f);
    // The bolt's whoosh, falling in pitch as it flies away.
    Signal whoosh(SampleCount(0.55));
    SynthFilter air(Kind::BandPass, 2500.0, 2.5);
    for (size_t i = 0; i < whoosh.size(); ++i) {
        const double t = TimeOf(i);
        if (i % 32 == 0)
            air.Set(Kind::BandPass, 700.0 + 1900.0 * std::exp(-t / 0.18), 2.5);
        const double bell = std::exp(-std::pow((t - 0.12) / 0.08, 2.0)) + 0.35 * std::exp(-std::max(0.0, t - 0.12) / 0.15);
        whoosh[i] = air.Process(noise.Next()) * float(bell * std::min(1.0, t / 0.03));
    }
    FadeOut(whoosh, 0.05);
    MixInto(out, whoosh, 0.02, 1.4f);
    out.resize(SampleCount(0.75));
    return out;
}
