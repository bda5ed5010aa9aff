#pragma once
// SynthFilter: a second-order (biquad) filter after the usual audio cookbook
// formulas: low pass, high pass and band pass with a peak gain of 1. The
// frequency may be changed while running (voices sweep their formants); the
// state carries over so a sweep does not click.

class SynthFilter {
public:
    enum class Kind { LowPass, HighPass, BandPass };

    SynthFilter() = default;
    SynthFilter(Kind kind, double frequency, double q) { Set(kind, frequency, q); }

    // Frequencies are clamped into 10 Hz .. 0.45 x the sample rate.
    void Set(Kind kind, double frequency, double q);
    void Reset();
    float Process(float x);

private:
    double m_b0 = 1, m_b1 = 0, m_b2 = 0, m_a1 = 0, m_a2 = 0;
    double m_x1 = 0, m_x2 = 0, m_y1 = 0, m_y2 = 0;
};
