#pragma once
// SynthOscillator: a phase-continuous oscillator whose frequency may change on
// every sample (sirens, sweeping calls, revving engines) without clicks. The
// sawtooth and square are band-limited with polynomial corrections at their
// edges so high notes do not alias into whistles.

class SynthOscillator {
public:
    explicit SynthOscillator(double phase = 0.0) : m_phase(phase) {}

    // Each call advances one sample at `frequency` Hz; results in [-1, 1].
    float Sine(double frequency);
    float Saw(double frequency);
    float Square(double frequency);
    // The phase in [0, 1) before the next call.
    double Phase() const { return m_phase; }

private:
    double Advance(double frequency);

    double m_phase;
};
