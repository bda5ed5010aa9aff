#include "AiffRate.h"

#include "common/ByteOrder.h"

namespace {
constexpr int kBias = 0x3FFF;
constexpr int kLowestExponent = 0x4009;
constexpr int kHighestExponent = 0x4011;
} // namespace

uint32_t ReadAiffRate(const uint8_t* bytes)
{
    const uint16_t signAndExponent = ReadBE16(bytes);
    const int exponent = signAndExponent & 0x7FFF;
    if ((signAndExponent & 0x8000) || exponent < kLowestExponent || exponent > kHighestExponent)
        return 0;
    const uint64_t mantissa = uint64_t(ReadBE32(bytes + 2)) << 32 | ReadBE32(bytes + 6);
    // value = mantissa x 2^(exponent - bias - 63); the fraction is dropped.
    return static_cast<uint32_t>(mantissa >> (63 - (exponent - kBias)));
}

void WriteAiffRate(uint32_t rate, uint8_t* bytes)
{
    int topBit = 31;
    while (topBit > 0 && !(rate >> topBit))
        --topBit;
    const uint64_t mantissa = uint64_t(rate) << (63 - topBit);
    WriteBE16(bytes, static_cast<uint16_t>(rate ? kBias + topBit : 0));
    WriteBE32(bytes + 2, static_cast<uint32_t>(mantissa >> 32));
    WriteBE32(bytes + 6, static_cast<uint32_t>(mantissa));
}
