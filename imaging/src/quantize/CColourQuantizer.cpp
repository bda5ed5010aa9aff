#include "imaging/CColourQuantizer.h"

#include <cstdlib>

CColourQuantizer::CColourQuantizer(int maxColours)
    : m_maxColours(maxColours < 1 ? 1 : (maxColours > QUANTIZE_MAX_COLOURS ? QUANTIZE_MAX_COLOURS : maxColours))
{
}

CColourQuantizer::~CColourQuantizer() = default;

bool CColourQuantizer::IsReadable(const uint8_t* bits, int width, int height, int pitch)
{
    return bits && width > 0 && height > 0 && std::abs(int64_t(pitch)) >= int64_t(width) * 3;
}
