#include "sound/SynthSignal.h"

#include "sound/SynthFilter.h"
#include "sound/SynthOscillator.h"

#include <algorithm>
#include <cmath>

size_t SampleCount(double seconds)
{
    return seconds <= 0.0 ? 0 : size_t(std::lround(seconds * kSampleRate));
}

void MixInto(Signal& target, const Signal& source, double atSeconds, float gain)
{
    const size_t start = SampleCount(atSeconds);
    if (target.size() < start + source.size())
        target.resize(start + source.size(), 0.0f);
    for (size_t i = 0; i < source.size(); ++i)
        target[start + i] += source[i] * gain;
}

namespace {

float RaisedCosine(double x)
{
    return float(0.5 - 0.5 * std::cos(M_PI * std::clamp(x, 0.0, 1.0)));
}

} // namespace

void FadeIn(Signal& signal, double seconds)
{
    const size_t n = std::min(signal.size(), SampleCount(seconds));
    for (size_t i = 0; i < n; ++i)
        signal[i] *= RaisedCosine(double(i) / double(n));
}

void FadeOut(Signal& signal, double seconds)
{
    const size_t n = std::min(signal.size(), SampleCount(seconds));
    for (size_t i = 0; i < n; ++i)
        signal[signal.size() - 1 - i] *= RaisedCosine(double(i) / double(n));
}

void RemoveOffset(Signal& signal)
{
    SynthFilter highPass(SynthFilter::Kind::HighPass, 20.0, 0.707);
    for (float& s : signal)
        s = highPass.Process(s);
}

float Decay(double t, double tau)
{
    return t < 0.0 ? 0.0f : float(std::exp(-t / tau));
}

float AttackDecay(double t, double attack, double tau)
{
    if (t < 0.0)
        return 0.0f;
    if (t < attack)
        return float(t / attack);
    return Decay(t - attack, tau);
}

Signal DecayingPartials(double frequency, double length, std::initializer_list<Partial> partials, double attack,
                        double fadeOut)
{
    Signal out(SampleCount(length), 0.0f);
    for (const Partial& p : partials) {
        SynthOscillator oscillator;
        for (size_t i = 0; i < out.size(); ++i)
            out[i] += oscillator.Sine(frequency * p.ratio) * float(p.gain) * AttackDecay(TimeOf(i), attack, p.tau);
    }
    FadeOut(out, fadeOut);
    return out;
}

void Saturate(Signal& signal, double drive)
{
    float largest = 0.0f;
    for (float s : signal)
        largest = std::max(largest, std::fabs(s));
    if (largest <= 0.0f || drive <= 0.0)
        return;
    const double scale = drive / largest, norm = 1.0 / std::tanh(drive);
    for (float& s : signal)
        s = float(std::tanh(s * scale) * norm);
}

std::vector<int16_t> ToPcm16(const Signal& signal, double peak)
{
    float largest = 0.0f;
    for (float s : signal)
        largest = std::max(largest, std::fabs(s));
    std::vector<int16_t> pcm(signal.size(), 0);
    if (largest <= 0.0f)
        return pcm;
    const double scale = std::clamp(peak, 0.0, 1.0) * 32767.0 / largest;
    for (size_t i = 0; i < signal.size(); ++i)
        pcm[i] = int16_t(std::clamp(std::lround(signal[i] * scale), -32767L, 32767L));
    return pcm;
}

double LoudestRmsDb(const std::vector<int16_t>& pcm, double window)
{
    const size_t n = std::max<size_t>(1, std::min(pcm.size(), SampleCount(window)));
    if (pcm.empty())
        return -200.0;
    // A running sum of squares over every window of n samples.
    double sum = 0, loudest = 0;
    for (size_t i = 0; i < pcm.size(); ++i) {
        sum += double(pcm[i]) * pcm[i];
        if (i >= n)
            sum -= double(pcm[i - n]) * pcm[i - n];
        if (i + 1 >= n)
            loudest = std::max(loudest, sum);
    }
    const double rms = std::sqrt(std::max(loudest, 0.0) / double(n)) / 32767.0;
    return rms > 0 ? 20.0 * std::log10(rms) : -200.0;
}

std::vector<int16_t> ToPcm16AtLevel(const Signal& signal, double levelDb, double ceiling)
{
    std::vector<int16_t> pcm = ToPcm16(signal, 1.0);
    const double start = LoudestRmsDb(pcm);
    if (start <= -200.0)
        return pcm;
    ceiling = std::clamp(ceiling, 0.1, 1.0);
    // Gain on the full-scale signal; the limiter takes some level off, so
    // the gain grows by what is still missing, a few times over.
    double gain = std::pow(10.0, (levelDb - start) / 20.0);
    for (int round = 0; round < 8; ++round) {
        Signal shaped(signal.size());
        float largest = 0.0f;
        for (float s : signal)
            largest = std::max(largest, std::fabs(s));
        for (size_t i = 0; i < signal.size(); ++i) {
            const double v = signal[i] / largest * gain;
            // Below the knee the signal passes as it is; above it the tanh
            // curve bends it towards the ceiling without a corner.
            const double knee = 0.8 * ceiling;
            const double a = std::fabs(v);
            const double bent = a <= knee ? a : knee + (ceiling - knee) * std::tanh((a - knee) / (ceiling - knee));
            shaped[i] = float(v < 0 ? -bent : bent);
        }
        pcm.assign(signal.size(), 0);
        for (size_t i = 0; i < signal.size(); ++i)
            pcm[i] = int16_t(std::clamp(std::lround(double(shaped[i]) * 32767.0), -32767L, 32767L));
        const double missing = levelDb - LoudestRmsDb(pcm);
        if (std::fabs(missing) < 0.05)
            break;
        gain *= std::pow(10.0, missing / 20.0);
    }
    return pcm;
}
