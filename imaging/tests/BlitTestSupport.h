#pragma once
// Helpers shared by the blit tests: an image kind with guard bytes around its
// pixels (optionally bottom-up, with any row pitch), seeded random pixels,
// and a reference model of the blit rules written from their description,
// pixel by pixel, independently of the kernels.

#include "imaging/BlitFlags.h"
#include "imaging/CDib.h"
#include "imaging/PixelFormat.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

namespace blittest {

constexpr size_t kGuard = 64;
constexpr uint8_t kGuardByte = 0xA5;

// Bytes with untouchable margins: Intact() tells whether anything wrote
// outside [data(), data() + size).
class GuardedBytes {
public:
    explicit GuardedBytes(size_t size) : m_bytes(size + 2 * kGuard, 0), m_size(size)
    {
        std::fill(m_bytes.begin(), m_bytes.begin() + kGuard, kGuardByte);
        std::fill(m_bytes.end() - kGuard, m_bytes.end(), kGuardByte);
    }
    uint8_t* data() { return m_bytes.data() + kGuard; }
    const uint8_t* data() const { return m_bytes.data() + kGuard; }
    size_t size() const { return m_size; }
    bool Intact() const
    {
        for (size_t i = 0; i < kGuard; ++i)
            if (m_bytes[i] != kGuardByte || m_bytes[kGuard + m_size + i] != kGuardByte)
                return false;
        return true;
    }

private:
    std::vector<uint8_t> m_bytes;
    size_t m_size;
};

// An image over guarded memory, top-down or bottom-up, with a chosen pitch.
class CGuardedImage : public CDib {
public:
    CGuardedImage(int width, int height, PixelFormat format, bool bottomUp = false, int extraPitch = 0)
        : m_pitch(int(PixelFormatRowPitch(format, width)) + extraPitch),
          m_pixels(size_t(m_pitch) * size_t(height)), m_bottomUp(bottomUp)
    {
        m_width = uint16_t(width);
        m_height = uint16_t(height);
        m_format = format;
    }
    DibResult Lock(uint8_t** bits, int* pitch) override
    {
        *bits = m_pixels.data();
        *pitch = m_pitch;
        ++m_useCount;
        return DIB_OK;
    }
    DibResult Unlock() override
    {
        --m_useCount;
        return DIB_OK;
    }
    int IsBottomUp() const override { return m_bottomUp ? 1 : 0; }
    bool Intact() const { return m_pixels.Intact(); }
    // Row y counted from the top.
    uint8_t* Row(int y) { return m_pixels.data() + size_t(m_bottomUp ? m_height - 1 - y : y) * m_pitch; }
    uint32_t At(int x, int y)
    {
        const int bytes = int(PixelFormatBytes(m_format));
        uint32_t v = 0;
        for (int i = 0; i < bytes; ++i)
            v |= uint32_t(Row(y)[x * bytes + i]) << (8 * i);
        return v;
    }
    void Put(int x, int y, uint32_t v)
    {
        const int bytes = int(PixelFormatBytes(m_format));
        for (int i = 0; i < bytes; ++i)
            Row(y)[x * bytes + i] = uint8_t(v >> (8 * i));
    }
    GuardedBytes& Pixels() { return m_pixels; }

private:
    int m_pitch;
    GuardedBytes m_pixels;
    bool m_bottomUp;
};

inline void FillRandom(uint8_t* p, size_t n, std::mt19937& random)
{
    for (size_t i = 0; i < n; ++i)
        p[i] = uint8_t(random());
}

// Random pixels with a good share of `key` among them, so that keyed rules
// have both outcomes to show.
inline void FillImage(CGuardedImage& image, std::mt19937& random, uint32_t key)
{
    FillRandom(image.Pixels().data(), image.Pixels().size(), random);
    for (int y = 0; y < image.GetHeight(); ++y)
        for (int x = 0; x < image.GetWidth(); ++x)
            if (random() % 4 == 0)
                image.Put(x, y, key);
}

// Opacity bytes biased towards the two ends, which have rules of their own.
inline uint8_t RandomOpacity(std::mt19937& random)
{
    switch (random() % 4) {
    case 0: return 0;
    case 1: return 255;
    default: return uint8_t(random());
    }
}

constexpr uint8_t kMatrix[8][8] = {
    {1, 33, 9, 41, 3, 35, 11, 43},  {49, 17, 57, 25, 51, 19, 59, 27}, {13, 45, 5, 37, 15, 47, 7, 39},
    {61, 29, 53, 21, 63, 31, 55, 23}, {4, 36, 12, 44, 2, 34, 10, 42},  {52, 20, 60, 28, 50, 18, 58, 26},
    {16, 48, 8, 40, 14, 46, 6, 38},  {64, 32, 56, 24, 62, 30, 54, 22},
};

// Channel mixes as the rules state them.
inline uint32_t Mix16(uint32_t s, uint32_t t, uint32_t ws, uint32_t wt, bool is565, bool exact)
{
    const int high = is565 ? 11 : 10;
    struct Channel {
        int shift;
        uint32_t mask;
    };
    // Through the table green is mixed from its upper five bits.
    const Channel channels[3] = {{high, 31}, {exact ? 5 : (is565 ? 6 : 5), exact && is565 ? 63u : 31u}, {0, 31}};
    uint32_t v = 0;
    for (const Channel& c : channels) {
        const uint32_t sc = (s >> c.shift) & c.mask, tc = (t >> c.shift) & c.mask;
        const uint32_t m = exact ? (sc * ws + tc * (256 - ws)) >> 8 : (sc * (ws >> 3) + tc * (wt >> 3)) >> 5;
        v |= m << c.shift;
    }
    return v;
}

inline uint32_t MixBytes(uint32_t s, uint32_t t, uint32_t ws, uint32_t wt, bool exact)
{
    uint32_t v = t & 0xFF000000u;
    for (int i = 0; i < 3; ++i) {
        const uint32_t sc = (s >> (8 * i)) & 255, tc = (t >> (8 * i)) & 255;
        const uint32_t m = exact ? (sc * ws + tc * (256 - ws)) >> 8 : ((sc >> 3) * (ws >> 3) + (tc >> 3) * (wt >> 3)) >> 2;
        v |= m << (8 * i);
    }
    return v;
}

// What one target pixel becomes. (x, y): its target position; s, t: the
// source and target pixels; a: the opacity; simd: the vector kernels may run.
inline uint32_t ModelPixel(PixelFormat format, uint32_t flags, bool scaled, bool simd, uint32_t s, uint32_t t,
                           uint32_t a, int x, int y, uint32_t srcKey, uint32_t dstKey, uint32_t extra)
{
    const uint32_t bits = PixelFormatBits(format);
    const bool is565 = format == PF_RGB565 || format == PF_BGR565;
    const bool vector = simd && !(flags & BLIT_MIRROR_X);
    const bool keyed = (!(flags & BLIT_SRCKEY) || s != srcKey) && (!(flags & BLIT_DESTKEY) || t == dstKey);
    const uint32_t weight = extra > 256 ? 256 : extra;
    const bool stippled = kMatrix[y & 7][x & 7] <= (weight >> 2);
    const bool alphaStippled = (a >> 2) != 0 && kMatrix[y & 7][x & 7] <= (a >> 2) + 1;
    const bool stippleFlags = flags & (BLIT_STIPPLE | BLIT_BLEND);
    auto alpha16 = [&](bool exact) {
        return a == 0 ? t : a == 255 ? s : Mix16(s, t, a, 255 - a, is565, exact);
    };
    auto alphaBytes = [&](bool exact) {
        return a == 0 ? t : a == 255 ? s : MixBytes(s, t, a, 255 - a, exact);
    };
    auto copy = [&](bool allowed) { return allowed && keyed ? s : t; };
    if (scaled) {
        if (bits == 16 && (flags & BLIT_ALPHA))
            return alpha16(false);
        return copy(!stippleFlags || stippled);
    }
    switch (bits) {
    case 8:
        if (flags & (BLIT_ALPHA | BLIT_ALPHA_STIPPLE))
            return alphaStippled ? s : t;
        return copy(!stippleFlags || stippled);
    case 16:
        if (flags & BLIT_ALPHA)
            return alpha16(vector);
        if (flags & BLIT_ALPHA_STIPPLE)
            return alphaStippled ? s : t;
        if (flags & BLIT_STIPPLE)
            return copy(stippled);
        if (flags & BLIT_BLEND)
            return keyed ? Mix16(s, t, weight, 256 - weight, is565, simd) : t;
        return copy(true);
    default:
        if (flags & BLIT_ALPHA)
            return alphaBytes(bits == 32 && simd);
        if (flags & BLIT_ALPHA_STIPPLE)
            return alphaStippled ? s : t;
        if (flags & BLIT_BLEND) {
            const uint32_t mixed = MixBytes(s, t, weight, 256 - weight, bits == 32 && simd);
            return keyed ? (bits == 24 ? mixed & 0xFFFFFF : mixed) : t;
        }
        if (flags & BLIT_STIPPLE)
            return copy(stippled);
        return copy(true);
    }
}

} // namespace blittest
