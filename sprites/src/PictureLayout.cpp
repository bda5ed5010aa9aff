#include "sprites/PictureLayout.h"

#include "sprites/PictureFormat.h"

#include <cstring>

namespace {

// Whether the 16-bit pixels of this picture carry masks, and where they are.
bool HasPixelMasks(const uint8_t* info, size_t available)
{
    const uint32_t compression = InfoCompression(info);
    if (compression == BI_BITFIELDS || compression == TAG_PKC2)
        return true;
    if (compression == TAG_TRLE)
        return available >= INFO_HEADER_SIZE + 16 && ReadLE32(info + INFO_HEADER_SIZE + 12) == BI_BITFIELDS;
    // Every other codec (and BI_RGB, "PKC1") stores unmasked pixels, which the
    // bitmap format defines as 5-5-5.
    return false;
}

} // namespace

PixelFormat PackedPictureFormat(const uint8_t* info, size_t available)
{
    if (!info || available < INFO_HEADER_SIZE)
        return PF_NONE;
    switch (InfoBitCount(info)) {
    case 1: return PF_INDEX1;
    case 2: return PF_INDEX2;
    case 4: return PF_INDEX4;
    case 8: return PF_INDEX8;
    case 24: return PF_RGB24;
    case 32: return PF_RGB32;
    case 16: {
        if (!HasPixelMasks(info, available))
            return PF_RGB555;
        if (available < INFO_HEADER_SIZE + 12)
            return PF_NONE;
        const uint32_t red = ReadLE32(info + INFO_HEADER_SIZE), green = ReadLE32(info + INFO_HEADER_SIZE + 4);
        const bool is565 = green != 0x3E0;
        if (red == 0x1F)
            return is565 ? PF_BGR565 : PF_BGR555;
        return is565 ? PF_RGB565 : PF_RGB555;
    }
    default:
        return PF_NONE;
    }
}

size_t BuildPictureHeader(PixelFormat format, int width, int height, uint8_t* out)
{
    if (width < 1 || width > 65535 || height < 1 || height > 65535)
        return 0;
    uint16_t bitCount = 0;
    uint32_t compression = BI_RGB;
    size_t extra = 0; // colour table or masks
    uint32_t masks[3] = {0, 0, 0};
    switch (format) {
    case PF_INDEX1: bitCount = 1; extra = 2 * 4; break;
    case PF_INDEX2: bitCount = 2; extra = 4 * 4; break;
    case PF_INDEX4: bitCount = 4; extra = 16 * 4; break;
    case PF_INDEX8: bitCount = 8; extra = 256 * 4; break;
    case PF_RGB555: bitCount = 16; compression = BI_BITFIELDS; extra = 12; masks[0] = 0x7C00; masks[1] = 0x3E0; masks[2] = 0x1F; break;
    case PF_BGR555: bitCount = 16; compression = BI_BITFIELDS; extra = 12; masks[0] = 0x1F; masks[1] = 0x3E0; masks[2] = 0x7C00; break;
    case PF_RGB565: bitCount = 16; compression = BI_BITFIELDS; extra = 12; masks[0] = 0xF800; masks[1] = 0x7E0; masks[2] = 0x1F; break;
    case PF_BGR565: bitCount = 16; compression = BI_BITFIELDS; extra = 12; masks[0] = 0x1F; masks[1] = 0x7E0; masks[2] = 0xF800; break;
    case PF_RGB24: bitCount = 24; break;
    // A device-independent bitmap of 32 bits may carry twelve zero bytes
    // after its header, but a packed picture's pixels follow the info header
    // directly (the header-size rule), so none are written here.
    case PF_RGB32: bitCount = 32; break;
    default:
        return 0;
    }
    std::memset(out, 0, INFO_HEADER_SIZE + extra);
    WriteLE32(out + BIH_SIZE, INFO_HEADER_SIZE);
    WriteLE32(out + BIH_WIDTH, uint32_t(uint16_t(width)));
    WriteLE32(out + BIH_HEIGHT, uint32_t(uint16_t(height)));
    WriteLE16(out + BIH_PLANES, 1);
    WriteLE16(out + BIH_BIT_COUNT, bitCount);
    WriteLE32(out + BIH_COMPRESSION, compression);
    if (compression == BI_BITFIELDS)
        for (int i = 0; i < 3; ++i)
            WriteLE32(out + INFO_HEADER_SIZE + 4 * i, masks[i]);
    return INFO_HEADER_SIZE + extra;
}
