#include "kernels/rect/FillKernels.h"

#include "imaging/CDibContext.h"
#include "kernels/PixelAccess.h"
#include "kernels/rect/BlitKernels.h"
#include "kernels/rect/PixelOps.h"
#include "kernels/rect/PortableKernels.h"

#include <cstdlib>
#include <cstring>

namespace {

void Fill8(uint8_t* row, int w, uint8_t value)
{
    std::memset(row, value, size_t(w));
}

void Fill16(uint8_t* row, int w, uint16_t value)
{
    for (int i = 0; i < w; ++i)
        std::memcpy(row + 2 * i, &value, 2);
}

void Fill24(uint8_t* row, int w, uint32_t value)
{
    for (int i = 0; i < w; ++i) {
        row[3 * i] = uint8_t(value);
        row[3 * i + 1] = uint8_t(value >> 8);
        row[3 * i + 2] = uint8_t(value >> 16);
    }
}

void Fill32(uint8_t* row, int w, uint32_t value)
{
    for (int i = 0; i < w; ++i)
        std::memcpy(row + 4 * i, &value, 4);
}

// 1, 2 and 4 bits: replicate the value into a byte, merge the partial bytes
// at both ends under masks and store the whole bytes between them.
void FillPacked(uint8_t* row, int bpp, int x, int w, uint32_t value)
{
    uint8_t pixel = uint8_t(value & ((1u << bpp) - 1));
    uint8_t replicated = 0;
    for (int i = 0; i < 8; i += bpp)
        replicated = uint8_t(replicated << bpp | pixel);
    const int firstBit = x * bpp, endBit = (x + w) * bpp;
    for (int bit = firstBit; bit < endBit;) {
        int byte = bit / 8;
        int inByte = bit % 8;
        if (inByte == 0 && endBit - bit >= 8) {
            int whole = (endBit - bit) / 8;
            std::memset(row + byte, replicated, size_t(whole));
            bit += whole * 8;
            continue;
        }
        int span = 8 - inByte;
        if (span > endBit - bit)
            span = endBit - bit;
        // Pixels are stored from the most significant bit down.
        uint8_t mask = uint8_t(((1u << span) - 1) << (8 - inByte - span));
        row[byte] = uint8_t((row[byte] & ~mask) | (replicated & mask));
        bit += span;
    }
}

} // namespace

void FillRectKernel(uint8_t* bits, int pitch, uint32_t bitsPerPixel, int x, int y, int w, int h, uint32_t value)
{
    for (int k = 0; k < h; ++k) {
        uint8_t* row = bits + ptrdiff_t(y + k) * pitch;
        switch (bitsPerPixel) {
        case 8: Fill8(row + x, w, uint8_t(value)); break;
        case 16: Fill16(row + 2 * x, w, uint16_t(value)); break;
        case 24: Fill24(row + 3 * x, w, value); break;
        case 32: Fill32(row + 4 * x, w, value); break;
        case 1: case 2: case 4: FillPacked(row, int(bitsPerPixel), x, w, value); break;
        default: return;
        }
    }
}

void DrawLineKernel(uint8_t* bits, int pitch, int bytes, int x1, int y1, int x2, int y2, uint32_t colour)
{
    const int dx = x2 - x1, dy = y2 - y1;
    const int stepX = dx >= 1 ? 1 : -1;
    const int stepY = dy >= 1 ? 1 : -1;
    const int adx = std::abs(dx), ady = std::abs(dy);
    const bool majorX = ady < adx;
    const int major = majorX ? adx : ady, minor = majorX ? ady : adx;
    int x = x1, y = y1, error = 0;
    for (int i = 0; i < major; ++i) {
        WritePixel(bits + ptrdiff_t(y) * pitch + ptrdiff_t(x) * bytes, bytes, colour);
        error += minor;
        if (majorX)
            x += stepX;
        else
            y += stepY;
        if (error > major) {
            error -= major;
            if (majorX)
                y += stepY;
            else
                x += stepX;
        }
    }
}

namespace {

// Blend fill: colour k (weight 256 - level) over each target pixel (weight
// level), through the blend table or with exact weights.
template <bool Is565, bool Exact>
void BlendFill(uint8_t* bits, ptrdiff_t pitch, int x, int y, int w, int h, uint32_t colour, uint32_t level)
{
    for (int k = 0; k < h; ++k) {
        uint8_t* row = bits + (y + k) * pitch + ptrdiff_t(x) * 2;
        for (int j = 0; j < w; ++j) {
            const uint32_t t = LoadPixel<2>(row + 2 * j);
            StorePixel<2>(row + 2 * j, Exact ? Mix16Exact<Is565>(colour, t, 256 - level)
                                             : Mix16Table<Is565>(colour, t, 256 - level, level));
        }
    }
}

} // namespace

void BlendFill555Portable(uint8_t* bits, ptrdiff_t pitch, int x, int y, int w, int h, uint32_t colour,
                          uint32_t level)
{
    BlendFill<false, false>(bits, pitch, x, y, w, h, colour, level);
}

void BlendFill565Portable(uint8_t* bits, ptrdiff_t pitch, int x, int y, int w, int h, uint32_t colour,
                          uint32_t level)
{
    BlendFill<true, false>(bits, pitch, x, y, w, h, colour, level);
}

void BlendFill555ExactPortable(uint8_t* bits, ptrdiff_t pitch, int x, int y, int w, int h, uint32_t colour,
                               uint32_t level)
{
    BlendFill<false, true>(bits, pitch, x, y, w, h, colour, level);
}

void BlendFill565ExactPortable(uint8_t* bits, ptrdiff_t pitch, int x, int y, int w, int h, uint32_t colour,
                               uint32_t level)
{
    BlendFill<true, true>(bits, pitch, x, y, w, h, colour, level);
}

void BlendFillKernel16(uint8_t* bits, int pitch, PixelFormat format, int x, int y, int w, int h,
                       uint32_t colour, int level)
{
    // The vector tiers mix with exact weights, the portable path through the
    // table; the choice is made once, here.
    const bool is565 = (format & 0xF0) == 0x60;
    const BlitTier tier = ActiveBlitTier();
    const bool simd = tier != BlitTier::Portable;
    BlendFillId id = simd ? (is565 ? BlendFillId::Exact565 : BlendFillId::Exact555)
                          : (is565 ? BlendFillId::Table565 : BlendFillId::Table555);
    const uint32_t clamped = level < 0 ? 0u : level > 256 ? 256u : uint32_t(level);
    kBlendFillKernels.For(tier, id)(bits, pitch, x, y, w, h,
                                                                         colour & 0xFFFF, clamped);
}
