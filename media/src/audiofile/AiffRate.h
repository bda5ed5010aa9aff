#pragma once
// AIFF stores its sample rate as an 80-bit IEEE extended number: a sign bit
// and 15-bit exponent (bias 16383), then a 64-bit mantissa with an explicit
// leading one.

#include <cstdint>

// The integral rate of the 10 bytes at `bytes`; 0 when the exponent is
// outside 0x4009..0x4011 (rates 1024 to 524287 Hz) or the number is negative.
uint32_t ReadAiffRate(const uint8_t* bytes);
// Writes `rate` (> 0) as an exact extended number.
void WriteAiffRate(uint32_t rate, uint8_t* bytes);
