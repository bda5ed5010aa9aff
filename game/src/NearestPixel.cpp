#include "game/NearestPixel.h"

#include "imaging/CDib.h"
#include "imaging/CDibPalette.h"

#include <algorithm>

uint32_t NearestPixel(CDib& target, uint8_t red, uint8_t green, uint8_t blue)
{
    const PixelFormat format = target.GetFormat();
    if (PixelFormatIsIndexed(format)) {
        CDibPalette* palette = target.GetPalette();
        return palette ? uint32_t(std::max(palette->NearestIndex(red, green, blue), 0)) : 0;
    }
    if (format == PF_RGB565)
        return uint32_t((red >> 3) << 11 | (green >> 2) << 5 | (blue >> 3));
    return uint32_t((red >> 3) << 10 | (green >> 3) << 5 | (blue >> 3)); // RGB555
}
