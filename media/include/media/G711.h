#pragma once
// The two 8-bit logarithmic telephone encodings: mu-law (AU encoding 1, wave
// tag 7) and A-law (AU encoding 27, wave tag 6), to and from signed 16-bit
// linear samples. Encoding rounds toward the segment's quantisation step the
// way the standard's reference tables do, so decode(encode(decode(c))) is
// always decode(c).

#include <cstdint>

int16_t MuLawToLinear(uint8_t code);
uint8_t LinearToMuLaw(int16_t sample);
int16_t ALawToLinear(uint8_t code);
uint8_t LinearToALaw(int16_t sample);

// The code of a zero sample (what silence is written as).
constexpr uint8_t MULAW_SILENCE = 0xFF;
constexpr uint8_t ALAW_SILENCE = 0xD5;
