#pragma once
// CColourQuantizer: the common face of the colour quantizers that reduce a
// set of 24-bit pictures to one palette. Pixels are fed in with AddPixels
// (any number of calls, one per picture or frame) and the palette is taken
// out once with BuildPalette.

#include "imaging/PaletteEntry.h"

#include <array>
#include <cstdint>

// Progress report: the caller's argument and the percentage of the current
// picture done so far (row × 100 / height).
using QuantizeProgress = void (*)(void* argument, int percent);

// AddPixels flags.
constexpr uint32_t QUANTIZE_SAMPLE = 0x1; // octree: one pixel of every 4 × 4 block

// The most colours a quantizer hands out: callers pass 256-entry arrays.
constexpr int QUANTIZE_MAX_COLOURS = 256;

class CColourQuantizer {
public:
    // `maxColours` is clamped to 1..256, so BuildPalette never writes past a
    // 256-entry array.
    explicit CColourQuantizer(int maxColours);
    CColourQuantizer(const CColourQuantizer&) = delete;
    CColourQuantizer& operator=(const CColourQuantizer&) = delete;
    virtual ~CColourQuantizer();

    // Adds `width` × `height` 24-bit pixels (bytes blue, green, red in
    // memory order); rows are `pitch` bytes apart and may run upwards with a
    // negative pitch. Null bits, an empty size or rows shorter than the
    // width add nothing.
    virtual void AddPixels(const uint8_t* bits, int width, int height, int pitch, QuantizeProgress progress,
                           void* argument, uint32_t flags) = 0;
    // Writes up to MaxColours() entries (red, green, blue, flags 0) from
    // `entries[0]` on and returns how many; the rest of the caller's array is
    // left as it was. No pixels, no entries.
    virtual int BuildPalette(PaletteEntry* entries) = 0;

    int MaxColours() const { return m_maxColours; }

    // Colours not to count, one byte per RGB555 value (red << 10 | green << 5
    // | blue, top five bits of each); zero at construction. Only consulted
    // while UseSkipMap() is set, and only by the quantizers that say so.
    std::array<uint8_t, 32768>& SkipMap() { return m_skipMap; }
    const std::array<uint8_t, 32768>& SkipMap() const { return m_skipMap; }
    void SetUseSkipMap(bool use) { m_useSkipMap = use; }
    bool UseSkipMap() const { return m_useSkipMap; }

protected:
    // The RGB555 key of a blue, green, red pixel.
    static uint32_t SkipKey(const uint8_t* bgr)
    {
        return uint32_t(bgr[2] >> 3) << 10 | uint32_t(bgr[1] >> 3) << 5 | uint32_t(bgr[0] >> 3);
    }
    // True when a 24-bit picture of this shape can be read safely.
    static bool IsReadable(const uint8_t* bits, int width, int height, int pitch);

    int m_maxColours;
    std::array<uint8_t, 32768> m_skipMap{};
    bool m_useSkipMap = false;
};
