#include "media/G711.h"

// Both encodings split the magnitude range into eight segments of sixteen
// steps, each segment's step twice the previous one's. A code holds a sign
// bit, a 3-bit segment and a 4-bit step, stored with some bits inverted so
// that idle lines carry many transitions.

namespace {
constexpr int kMuLawBias = 0x84;  // added so every segment starts at a power of two
constexpr int kMuLawClip = 32635; // largest magnitude that still fits after the bias

int SegmentOf(int value, int firstSegmentEnd)
{
    int segment = 0;
    for (int end = firstSegmentEnd; segment < 8 && value > end; end = end * 2 + 1)
        ++segment;
    return segment;
}
} // namespace

int16_t MuLawToLinear(uint8_t code)
{
    int inverted = ~code & 0xFF;
    int step = inverted & 0x0F;
    int segment = (inverted >> 4) & 0x07;
    int magnitude = (((step << 3) + kMuLawBias) << segment) - kMuLawBias;
    return static_cast<int16_t>(inverted & 0x80 ? -magnitude : magnitude);
}

uint8_t LinearToMuLaw(int16_t sample)
{
    int value = sample;
    int sign = 0;
    if (value < 0) {
        value = -value;
        sign = 0x80;
    }
    if (value > kMuLawClip)
        value = kMuLawClip;
    value += kMuLawBias;
    // Biased magnitudes run from 0x84 to 0x7FFF; segment s covers
    // [0x100 << s >> 1 ... ), i.e. the top set bit from 7 to 14.
    int segment = SegmentOf(value, 0xFF);
    int step = (value >> (segment + 3)) & 0x0F;
    return static_cast<uint8_t>(~(sign | segment << 4 | step) & 0xFF);
}

int16_t ALawToLinear(uint8_t code)
{
    int toggled = code ^ 0x55;
    int step = toggled & 0x0F;
    int segment = (toggled >> 4) & 0x07;
    int magnitude = step << 4;
    if (segment == 0)
        magnitude += 8;
    else
        magnitude = (magnitude + 0x108) << (segment - 1);
    // In A-law a set sign bit means a positive sample.
    return static_cast<int16_t>(toggled & 0x80 ? magnitude : -magnitude);
}

uint8_t LinearToALaw(int16_t sample)
{
    // A-law works on 13-bit magnitudes.
    int value = sample >> 3;
    int sign = 0x80;
    if (value < 0) {
        value = -value - 1;
        sign = 0;
    }
    int segment = SegmentOf(value, 0x1F);
    int code;
    if (segment >= 8)
        code = 0x7F;
    else
        code = segment << 4 | ((segment < 2 ? value >> 1 : value >> segment) & 0x0F);
    return static_cast<uint8_t>((code | sign) ^ 0x55);
}
