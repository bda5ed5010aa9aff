#include "imaging/PixelFormat.h"

bool PixelFormatIsKnown(PixelFormat f)
{
    switch (f) {
    case PF_INDEX1: case PF_INDEX2: case PF_INDEX4: case PF_INDEX8:
    case PF_RGB555: case PF_BGR555: case PF_RGB565: case PF_BGR565:
    case PF_RGB24: case PF_BGR24: case PF_RGB32: case PF_BGR32:
        return true;
    default:
        return false;
    }
}

uint32_t PixelFormatRowPitch(PixelFormat f, int width)
{
    if (!PixelFormatIsKnown(f) || width < 1 || width > 65535)
        return 0;
    uint32_t bytes = (PixelFormatBits(f) * uint32_t(width) + 7) / 8;
    return (bytes + 3) & ~3u;
}

ChannelSet DescribeChannels(PixelFormat f)
{
    // Widths: nibbles alpha, red, green, blue from bit 15 down.
    // Positions: 2-bit fields alpha, red, green, blue from bit 23 down.
    uint32_t widths[4] = {(f >> 12) & 0xF, (f >> 8) & 0xF, (f >> 4) & 0xF, f & 0xF};
    uint32_t positions[4] = {(f >> 22) & 3, (f >> 20) & 3, (f >> 18) & 3, (f >> 16) & 3};
    ChannelLayout layouts[4];
    for (int c = 0; c < 4; ++c) {
        uint32_t offset = 0;
        for (int other = 0; other < 4; ++other)
            if (positions[other] < positions[c])
                offset += widths[other];
        layouts[c].width = widths[c];
        layouts[c].offset = offset;
        layouts[c].mask = ((1u << widths[c]) - 1) << offset;
        layouts[c].shift = 8 - (widths[c] > 8 ? 8 : widths[c]);
    }
    ChannelSet set;
    set.alpha = layouts[0];
    set.red = layouts[1];
    set.green = layouts[2];
    set.blue = layouts[3];
    return set;
}
