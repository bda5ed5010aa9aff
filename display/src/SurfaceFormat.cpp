#include "display/SurfaceFormat.h"

#include <SDL.h>
#include <bit>

ChannelMasks PixelFormatToMasks(PixelFormat format)
{
    ChannelMasks masks;
    masks.bitCount = PixelFormatBits(format);
    masks.indexed = PixelFormatIsIndexed(format);
    if (masks.indexed || !PixelFormatIsKnown(format))
        return masks;
    ChannelSet set = DescribeChannels(format);
    masks.red = set.red.mask;
    masks.green = set.green.mask;
    masks.blue = set.blue.mask;
    masks.alpha = (format & 0x80000000u) ? set.alpha.mask : 0;
    return masks;
}

namespace {
uint32_t RunWidth(uint32_t mask)
{
    if (!mask)
        return 0;
    return uint32_t(std::countr_one(mask >> std::countr_zero(mask)));
}
} // namespace

PixelFormat MasksToPixelFormat(const ChannelMasks& masks)
{
    uint32_t bits = masks.bitCount;
    PixelFormat code = (bits == 8 || bits == 16 || bits == 24 || bits == 32) ? bits << 24 : 0;
    if (masks.indexed)
        return code | 0x40000000u;
    if (masks.alpha)
        code |= 0x80000000u;
    // Positions 0..2 by the size of the masks (largest highest); alpha is 3.
    const uint32_t colour[3] = {masks.red, masks.green, masks.blue};
    uint32_t position[3];
    for (int c = 0; c < 3; ++c) {
        position[c] = 0;
        for (int other = 0; other < 3; ++other)
            if (colour[other] < colour[c])
                ++position[c];
    }
    code |= 3u << 22 | position[0] << 20 | position[1] << 18 | position[2] << 16;
    code |= RunWidth(masks.alpha) << 12 | RunWidth(masks.red) << 8 | RunWidth(masks.green) << 4 |
            RunWidth(masks.blue);
    return code;
}

uint32_t PixelFormatToSdl(PixelFormat format)
{
    switch (format) {
    case PF_INDEX8: return SDL_PIXELFORMAT_INDEX8;
    case PF_RGB555: return SDL_PIXELFORMAT_RGB555;
    case PF_BGR555: return SDL_PIXELFORMAT_BGR555;
    case PF_RGB565: return SDL_PIXELFORMAT_RGB565;
    case PF_BGR565: return SDL_PIXELFORMAT_BGR565;
    // Our 24-bit RGB is blue, green, red in memory: SDL names formats by
    // the byte order in memory for packed 24-bit pixels.
    case PF_RGB24: return SDL_PIXELFORMAT_BGR24;
    case PF_BGR24: return SDL_PIXELFORMAT_RGB24;
    case PF_RGB32: return SDL_PIXELFORMAT_RGB888;
    case PF_BGR32: return SDL_PIXELFORMAT_BGR888;
    default: return SDL_PIXELFORMAT_UNKNOWN;
    }
}

PixelFormat SdlToPixelFormat(uint32_t sdlFormat)
{
    switch (sdlFormat) {
    case SDL_PIXELFORMAT_INDEX8: return PF_INDEX8;
    case SDL_PIXELFORMAT_RGB555: return PF_RGB555;
    case SDL_PIXELFORMAT_BGR555: return PF_BGR555;
    case SDL_PIXELFORMAT_RGB565: return PF_RGB565;
    case SDL_PIXELFORMAT_BGR565: return PF_BGR565;
    case SDL_PIXELFORMAT_BGR24: return PF_RGB24;
    case SDL_PIXELFORMAT_RGB24: return PF_BGR24;
    case SDL_PIXELFORMAT_RGB888:
    case SDL_PIXELFORMAT_ARGB8888: return PF_RGB32;
    case SDL_PIXELFORMAT_BGR888:
    case SDL_PIXELFORMAT_ABGR8888: return PF_BGR32;
    default: return PF_NONE;
    }
}
