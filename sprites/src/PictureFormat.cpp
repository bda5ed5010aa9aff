#include "sprites/PictureFormat.h"

#include <cstdlib>
#include <cstring>

uint32_t DibRowStride(int64_t width, uint32_t bitCount)
{
    if (width < 1 || width > 65535 || bitCount == 0 || bitCount > 32)
        return 0;
    uint64_t bytes = (uint64_t(width) * bitCount + 7) / 8;
    return uint32_t((bytes + 3) & ~uint64_t(3));
}

size_t PictureHeaderSize(const uint8_t* info, HeaderRule rule)
{
    const uint32_t bitCount = InfoBitCount(info);
    const uint32_t used = InfoColoursUsed(info);
    const uint32_t compression = InfoCompression(info);
    switch (bitCount) {
    case 1: case 2: case 4: case 8:
        if (used > (1u << bitCount))
            return 0;
        return INFO_HEADER_SIZE + 4 * size_t(used ? used : 1u << bitCount);
    case 16: case 24: case 32:
        if (compression == BI_BITFIELDS || compression == TAG_PKC2)
            return INFO_HEADER_SIZE + 12;
        if (rule == HeaderRule::Editor)
            return INFO_HEADER_SIZE;
        if (used > 256)
            return 0;
        return INFO_HEADER_SIZE + 4 * size_t(used);
    default:
        return 0;
    }
}

size_t PictureDataSize(const uint8_t* info)
{
    const uint32_t compression = InfoCompression(info);
    if (IsTagged(compression))
        return InfoImageSize(info);
    const int32_t height = int32_t(InfoHeight(info));
    const uint32_t stride = DibRowStride(int32_t(InfoWidth(info)), InfoBitCount(info));
    if (height <= 0 || stride == 0)
        return 0;
    return size_t(stride) * size_t(height);
}

size_t PictureSize(const uint8_t* info, HeaderRule rule)
{
    if (ReadLE32(info + BIH_SIZE) != INFO_HEADER_SIZE)
        return 0;
    const size_t header = PictureHeaderSize(info, rule);
    if (header == 0)
        return 0;
    return header + PictureDataSize(info);
}

bool IsPictureWithin(const uint8_t* info, size_t available, HeaderRule rule)
{
    if (!info || available < INFO_HEADER_SIZE || ReadLE32(info + BIH_SIZE) != INFO_HEADER_SIZE)
        return false;
    const int32_t width = int32_t(InfoWidth(info)), height = int32_t(InfoHeight(info));
    if (width < 1 || width > 65535 || height < 1 || height > 65535)
        return false;
    const size_t size = PictureSize(info, rule);
    return size != 0 && size <= available && PictureHeaderSize(info, rule) <= available;
}

const uint8_t* FindInfoHeader(const uint8_t* block, size_t& available)
{
    if (!block)
        return nullptr;
    if (available >= FILE_HEADER_SIZE + INFO_HEADER_SIZE && block[0] == 'B' && block[1] == 'M') {
        available -= FILE_HEADER_SIZE;
        return block + FILE_HEADER_SIZE;
    }
    if (available >= INFO_HEADER_SIZE && ReadLE32(block) == INFO_HEADER_SIZE)
        return block;
    return nullptr;
}

uint8_t* AllocPicture(size_t size)
{
    // Calloc so that padding bytes are never uninitialised in written files.
    return static_cast<uint8_t*>(std::calloc(size ? size : 1, 1));
}

void FreePicture(uint8_t* picture)
{
    std::free(picture);
}

void BuildFileHeader(uint8_t out[FILE_HEADER_SIZE], size_t pictureSize, size_t uncompressedHeaderSize)
{
    out[0] = 'B';
    out[1] = 'M';
    WriteLE32(out + 2, uint32_t(FILE_HEADER_SIZE + pictureSize));
    WriteLE16(out + 6, 0);
    WriteLE16(out + 8, 0);
    WriteLE32(out + 10, uint32_t(FILE_HEADER_SIZE + uncompressedHeaderSize));
}
