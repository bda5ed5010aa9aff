#pragma once
// Translation between our PixelFormat codes and the surface formats of the
// display layer: channel masks (as a display driver describes a pixel) and
// SDL's pixel format enumeration.

#include "imaging/PixelFormat.h"

#include <cstdint>

struct ChannelMasks {
    uint32_t bitCount = 0;
    bool indexed = false;
    uint32_t red = 0, green = 0, blue = 0, alpha = 0;
};

// Masks from the code: each channel's mask is (2^width - 1) shifted by the
// widths of the channels below it in the order field. RGB565: F800, 07E0, 001F.
ChannelMasks PixelFormatToMasks(PixelFormat format);
// The code from masks: the largest colour mask holds the highest position,
// alpha always position 3; widths are the runs of one bits. Bit counts other
// than 8, 16, 24, 32 give 0 in the bit-count field.
PixelFormat MasksToPixelFormat(const ChannelMasks& masks);

// SDL_PIXELFORMAT_* for a code (0 when SDL has none), and back.
uint32_t PixelFormatToSdl(PixelFormat format);
PixelFormat SdlToPixelFormat(uint32_t sdlFormat);
