#pragma once
// Keeps what a loopback sound device mixes, pass by pass, and writes it out
// as a WAV file. The game calls Advance with its fixed frame time after each
// pass's sound calls; the device then mixes exactly the frames that bring
// the recording to round(total time x rate), so steps that are not whole
// frames never drift, and the same run gives the same samples.
//
// The recording lives in memory (a minute of 22050 Hz 16-bit stereo is
// about 5 MB) and stops growing at the most a WAV file can describe.

#include "media/WaveFormat.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class CDirectSoundDevice;

class CSoundRecorder {
public:
    // Records in the device's loopback format; the device must outlive the
    // recorder.
    explicit CSoundRecorder(CDirectSoundDevice& device);

    // Mixes and keeps the sound of `seconds` more; returns the frames added
    // (silence when the device mixes nothing, so the length still matches).
    // One step adds at most a minute; time beyond that is dropped.
    uint32_t Advance(double seconds);

    const WaveFormat& Format() const { return m_format; }
    uint64_t FrameCount() const;
    const std::vector<uint8_t>& Samples() const { return m_samples; }

    // Writes the recording as a PCM WAV file, whole or not at all; an
    // AudioResult (AUDIO_OK on success).
    [[nodiscard]] int Save(const std::string& path) const;
    // The same for any PCM bytes in `format`.
    [[nodiscard]] static int SavePcmAsWav(const std::string& path, const WaveFormat& format, const uint8_t* data, size_t size);

private:
    CDirectSoundDevice& m_device;
    WaveFormat m_format;
    double m_seconds = 0;
    std::vector<uint8_t> m_samples;
};
