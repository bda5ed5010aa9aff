#include "sprites/TrleCodec.h"

#include "imaging/TrleSprite.h"
#include "sprites/PictureLayout.h"

#include <cstring>
#include <limits>
#include <vector>

namespace {

constexpr size_t kRowTableStart = 16;

size_t RowTableEnd(int height)
{
    return kRowTableStart + size_t(height) * 8;
}

void WriteRowEntry(uint8_t* dataArea, int row, uint32_t offset, uint32_t skip, uint32_t count)
{
    uint8_t* entry = dataArea + RowTableEnd(row);
    WriteLE32(entry, offset);
    WriteLE16(entry + 4, uint16_t(skip));
    WriteLE16(entry + 6, uint16_t(count));
}

// An uncompressed picture of 8 bits and more whose pixels lie within the
// bytes available: the first pixel of its top row and the row stride (rows
// are stored bottom-up).
struct UncompressedPixels {
    const uint8_t* bits = nullptr;
    size_t stride = 0;
    int width = 0;
    int height = 0;
    uint32_t bytesPerPixel = 0;

    const uint8_t* RowFromTop(int row) const { return bits + size_t(height - 1 - row) * stride; }
};

bool ReadUncompressed(const uint8_t* picture, size_t available, UncompressedPixels& out)
{
    if (!IsPictureWithin(picture, available))
        return false;
    const uint32_t bitCount = InfoBitCount(picture), compression = InfoCompression(picture);
    if (bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32)
        return false;
    if (compression != BI_RGB && !(compression == BI_BITFIELDS && (bitCount == 16 || bitCount == 32)))
        return false;
    out.bits = picture + PictureHeaderSize(picture);
    out.width = int(InfoWidth(picture));
    out.height = int(InfoHeight(picture));
    out.stride = DibRowStride(out.width, bitCount);
    out.bytesPerPixel = bitCount / 8;
    return true;
}

// The finished picture: `headerSize` bytes of header followed by a data area
// of `dataSize` bytes, with the info header already in place.
uint8_t* AllocTrlePicture(size_t headerSize, size_t dataSize)
{
    if (dataSize > std::numeric_limits<uint32_t>::max())
        return nullptr;
    return AllocPicture(headerSize + dataSize);
}

void FinishTrleHeader(uint8_t* info, size_t dataSize)
{
    WriteLE32(info + BIH_COMPRESSION, TAG_TRLE);
    WriteLE32(info + BIH_IMAGE_SIZE, uint32_t(dataSize));
}

} // namespace

bool ReadTrleLayout(const uint8_t* picture, size_t available, TrleLayout& layout)
{
    if (!IsPictureWithin(picture, available) || InfoCompression(picture) != TAG_TRLE)
        return false;
    const uint32_t bitCount = InfoBitCount(picture);
    if (bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32)
        return false;
    TrleLayout out;
    out.info = picture;
    out.width = int(InfoWidth(picture));
    out.height = int(InfoHeight(picture));
    out.bitCount = bitCount;
    out.bytesPerPixel = bitCount / 8;
    // An 8-bit data area follows the colour table; deeper pictures keep it
    // right after the info header, where masked pictures keep their masks.
    out.dataOffset = bitCount == 8 ? PictureHeaderSize(picture) : INFO_HEADER_SIZE;
    out.dataSize = InfoImageSize(picture);
    if (out.dataOffset > available || out.dataSize > available - out.dataOffset ||
        out.dataSize < RowTableEnd(out.height))
        return false;
    out.dataArea = picture + out.dataOffset;
    out.pixelCompression = ReadLE32(out.dataArea + 12);
    const bool masksAllowed = bitCount == 16 || bitCount == 32;
    if (out.pixelCompression != BI_RGB && !(out.pixelCompression == BI_BITFIELDS && masksAllowed))
        return false;
    out.format = PackedPictureFormat(picture, available);
    if (out.format == PF_NONE)
        return false;

    TrleSpriteView view;
    view.dataArea = out.dataArea;
    view.dataSize = out.dataSize;
    view.width = out.width;
    view.height = out.height;
    view.format = out.format;
    if (!ValidateTrleView(view))
        return false;
    layout = out;
    return true;
}

uint8_t* TrleEncode8(const uint8_t* picture, size_t available)
{
    UncompressedPixels source;
    if (!ReadUncompressed(picture, available, source) || InfoBitCount(picture) != 8 ||
        InfoCompression(picture) != BI_RGB)
        return nullptr;
    const int w = source.width, h = source.height;

    // First pass: the trims of every row, so the result is allocated once at
    // its final size.
    std::vector<uint16_t> skips(static_cast<size_t>(h)), counts(static_cast<size_t>(h));
    size_t stored = 0;
    for (int r = 0; r < h; ++r) {
        const uint8_t* row = source.RowFromTop(r);
        int first = 0;
        while (first < w && row[first] == 0)
            ++first;
        int end = w;
        if (first < w)
            while (row[end - 1] == 0)
                --end;
        else
            end = first;
        skips[size_t(r)] = uint16_t(first);
        counts[size_t(r)] = uint16_t(end - first);
        stored += size_t(end - first);
    }

    const size_t headerSize = PictureHeaderSize(picture);
    const size_t dataSize = RowTableEnd(h) + stored;
    uint8_t* result = AllocTrlePicture(headerSize, dataSize);
    if (!result)
        return nullptr;
    std::memcpy(result, picture, headerSize);
    uint8_t* data = result + headerSize;
    size_t next = RowTableEnd(h);
    for (int r = 0; r < h; ++r) {
        std::memcpy(data + next, source.RowFromTop(r) + skips[size_t(r)], counts[size_t(r)]);
        WriteRowEntry(data, r, uint32_t(next), skips[size_t(r)], counts[size_t(r)]);
        next += counts[size_t(r)];
    }
    // The four leading words (masks and pixel compression) stay 0.
    FinishTrleHeader(result, dataSize);
    return result;
}

uint8_t* TrleEncodeWithReference(const uint8_t* source, size_t sourceAvailable, const uint8_t* reference,
                                 size_t referenceAvailable)
{
    UncompressedPixels pixels;
    TrleLayout trims;
    if (!ReadUncompressed(source, sourceAvailable, pixels) ||
        !ReadTrleLayout(reference, referenceAvailable, trims) || trims.width != pixels.width ||
        trims.height != pixels.height)
        return nullptr;
    const int h = pixels.height;
    const uint32_t bpp = pixels.bytesPerPixel;
    size_t stored = 0;
    for (int r = 0; r < h; ++r)
        stored += trims.RowCount(r);

    // An 8-bit result keeps the colour table; deeper results carry none, so
    // their data area starts right after the info header.
    const bool indexed = bpp == 1;
    const size_t headerSize = indexed ? PictureHeaderSize(source) : INFO_HEADER_SIZE;
    const size_t dataSize = RowTableEnd(h) + stored * bpp;
    uint8_t* result = AllocTrlePicture(headerSize, dataSize);
    if (!result)
        return nullptr;
    std::memcpy(result, source, headerSize);
    if (!indexed)
        WriteLE32(result + BIH_COLOURS_USED, 0);
    uint8_t* data = result + headerSize;
    const uint32_t compression = InfoCompression(source);
    WriteLE32(data + 12, compression);
    if (compression == BI_BITFIELDS)
        std::memcpy(data, source + INFO_HEADER_SIZE, 12);

    size_t next = RowTableEnd(h);
    for (int r = 0; r < h; ++r) {
        const uint32_t skip = trims.RowSkip(r), count = trims.RowCount(r);
        std::memcpy(data + next, pixels.RowFromTop(r) + size_t(skip) * bpp, size_t(count) * bpp);
        WriteRowEntry(data, r, uint32_t(next), skip, count);
        next += size_t(count) * bpp;
    }
    FinishTrleHeader(result, dataSize);
    return result;
}

uint8_t* TrleDecode(const uint8_t* picture, size_t available)
{
    TrleLayout layout;
    if (!ReadTrleLayout(picture, available, layout))
        return nullptr;
    const bool masked = layout.pixelCompression == BI_BITFIELDS;
    const size_t headerSize =
        layout.bitCount == 8 ? layout.dataOffset : INFO_HEADER_SIZE + (masked ? 12 : 0);
    const size_t stride = DibRowStride(layout.width, layout.bitCount);
    if (stride * size_t(layout.height) > TRLE_MAX_DECODED_SIZE)
        return nullptr;
    uint8_t* result = AllocPicture(headerSize + stride * size_t(layout.height));
    if (!result)
        return nullptr;
    // The 8-bit header comes with its colour table; the masks of a masked
    // picture come from the start of the data area, which is where they sit
    // in the input as well.
    std::memcpy(result, picture, headerSize);
    WriteLE32(result + BIH_COMPRESSION, layout.pixelCompression);
    WriteLE32(result + BIH_IMAGE_SIZE, 0);
    if (layout.bitCount != 8)
        WriteLE32(result + BIH_COLOURS_USED, 0);

    // AllocPicture zeroes, so only the stored spans need writing.
    uint8_t* bits = result + headerSize;
    const uint32_t bpp = layout.bytesPerPixel;
    for (int r = 0; r < layout.height; ++r) {
        if (layout.RowCount(r) == 0)
            continue; // the offset of an empty row is never used
        uint8_t* row = bits + size_t(layout.height - 1 - r) * stride;
        std::memcpy(row + size_t(layout.RowSkip(r)) * bpp, layout.RowPixels(r), size_t(layout.RowCount(r)) * bpp);
    }
    return result;
}
