#pragma once
// The wave format record shared by audio files, sample streams and the sound
// device: the 18-byte little-endian layout (tag, channels, rate, average bytes
// per second, block align, bits per sample, extra size) that WAV files store
// in their "fmt " chunk. Non-PCM tags may be followed by `extraSize` bytes of
// codec data, which the owners of a record keep beside it.

#include <cstddef>
#include <cstdint>

constexpr uint16_t WAVE_FORMAT_PCM = 1;
constexpr uint16_t WAVE_FORMAT_IEEE_FLOAT = 3;
constexpr uint16_t WAVE_FORMAT_ALAW = 6;
constexpr uint16_t WAVE_FORMAT_MULAW = 7;

// Bytes of the record as stored in a file.
constexpr size_t WAVE_FORMAT_RECORD_SIZE = 18;

struct WaveFormat {
    uint16_t formatTag = WAVE_FORMAT_PCM;
    uint16_t channels = 0;
    uint32_t samplesPerSec = 0;
    uint32_t avgBytesPerSec = 0;
    uint16_t blockAlign = 0;
    uint16_t bitsPerSample = 0;
    uint16_t extraSize = 0;

    bool IsPcm() const { return formatTag == WAVE_FORMAT_PCM; }
};

// A PCM format: block align = bits x channels / 8, average bytes per second =
// block align x rate, no extra bytes.
WaveFormat MakePcmFormat(uint32_t rate, uint16_t bits, uint16_t channels);

// The length of a copy of the record: 18 for PCM, 18 + extra size otherwise.
size_t WaveFormatCopyLength(const WaveFormat& format);

// True when tag, rate, bits and channels agree (what decides whether a
// conversion is needed at all).
bool SameSampleLayout(const WaveFormat& a, const WaveFormat& b);

// The 18-byte little-endian file layout; `bytes` must hold 18 bytes.
WaveFormat ReadWaveFormat(const uint8_t* bytes);
void StoreWaveFormat(const WaveFormat& format, uint8_t* bytes);

// How the sample frames of a format are laid out, as the sound device and the
// frame counts see them: 1 = 8-bit mono PCM, 2 = 8-bit stereo, 3 = 16-bit
// mono, 4 = 16-bit stereo, 0 = anything else.
int FrameCodeOf(const WaveFormat& format);
// Bytes per frame of a frame code: 1, 2, 2, 4, and 0 for code 0.
int FrameCodeBytes(int frameCode);
