#pragma once
// Plain helpers over a sound being built: a mono signal of floats at the
// game's rate, nominally within [-1, 1] but free to exceed it until it is
// normalised into 16-bit samples at the end.

#include "gamedata/HuntTables.h"

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <vector>

using Signal = std::vector<float>;

// The game plays every effect at this rate, 16-bit mono.
constexpr int kSampleRate = 22050;

size_t SampleCount(double seconds);
inline double TimeOf(size_t index)
{
    return double(index) / kSampleRate;
}

// Adds `source` x `gain` into `target` from `atSeconds` on, growing the
// target when the source runs past its end.
void MixInto(Signal& target, const Signal& source, double atSeconds, float gain = 1.0f);
// Rises from 0 to 1 over the first `seconds` (a fade-in) or falls over the
// last (a fade-out), on a raised-cosine curve so the edges do not click.
void FadeIn(Signal& signal, double seconds);
void FadeOut(Signal& signal, double seconds);
// A gentle high pass at 20 Hz that removes any offset the synthesis left.
void RemoveOffset(Signal& signal);
// exp(-t / tau), and a short linear attack before it.
float Decay(double t, double tau);
float AttackDecay(double t, double attack, double tau);

// One partial of a struck or plucked tone: its frequency as a multiple of
// the fundamental, its level, and how fast it dies away (seconds).
struct Partial {
    double ratio, gain, tau;
};
// A struck or plucked tone: the partials from a short attack, each dying
// away on its own time, faded out over the last `fadeOut` seconds.
Signal DecayingPartials(double frequency, double length, std::initializer_list<Partial> partials, double attack,
                        double fadeOut);

// Scales the signal to a peak of 1, then rounds its peaks off on a tanh
// curve (`drive` 1: barely, 3: hard): louder for the same peak level.
void Saturate(Signal& signal, double drive);

// The level of a sound as the game's level table states it: the RMS of its
// loudest `window` seconds (dB below a full-scale constant; 16-bit samples).
double LoudestRmsDb(const std::vector<int16_t>& pcm, double window = 0.4);
// The 16-bit samples of `signal` at `levelDb` by LoudestRmsDb: scaled to it,
// with peaks that would pass `ceiling` (share of full scale) rounded off on a
// tanh curve and the whole scaled again until the level holds, as a limiter
// would. A silent signal stays silent.
std::vector<int16_t> ToPcm16AtLevel(const Signal& signal, double levelDb, double ceiling = 0.98);

// Scales the signal so its largest sample reaches `peak` (0..1 of full
// scale) and rounds it to 16 bits; a silent signal stays silent.
std::vector<int16_t> ToPcm16(const Signal& signal, double peak);
