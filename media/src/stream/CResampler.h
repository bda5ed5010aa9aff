#pragma once
// Rate, channel and sample-size changes between interleaved PCM layouts
// (unsigned 8-bit, signed 16-bit, signed 32-bit, 32-bit float), done by the
// resampling library. Mono and stereo are converted the way a listener
// expects: mono to stereo copies the channel at full level, stereo to mono
// averages the two.

#include "media/WaveFormat.h"

#include <cstddef>
#include <cstdint>
#include <vector>

struct SwrContext;

class CResampler {
public:
    CResampler() = default;
    ~CResampler();
    CResampler(const CResampler&) = delete;
    CResampler& operator=(const CResampler&) = delete;

    // True for the PCM and float layouts above with a rate and 1..8 channels.
    static bool Supports(const WaveFormat& format);

    bool Open(const WaveFormat& in, const WaveFormat& out);
    // Converts `frames` whole input frames, appending the output bytes.
    bool Convert(const uint8_t* in, size_t frames, std::vector<uint8_t>& out);
    // Appends what the filter still holds at the end of the input.
    bool Flush(std::vector<uint8_t>& out);
    // Forgets all buffered input (after a seek).
    bool Reset();

private:
    bool Create();
    bool Run(const uint8_t* in, size_t frames, std::vector<uint8_t>& out);

    SwrContext* m_context = nullptr;
    WaveFormat m_in;
    WaveFormat m_out;
};
