#include "sprites/ArleCodec.h"

#include "common/ByteOrder.h"
#include "sprites/PictureFormat.h"

#include <cstdlib>
#include <cstring>
#include <limits>

namespace {

constexpr uint8_t KIND_LITERAL = 0x00;
constexpr uint8_t KIND_RUN = 0x40;
constexpr uint8_t KIND_LONG_LITERAL = 0x80;
constexpr uint8_t KIND_LONG_RUN = 0xC0;
constexpr uint32_t SHORT_LIMIT = 64; // lengths from here on take the two-byte form
constexpr size_t MIN_RUN = 4;

uint8_t* PutLength(uint8_t* out, uint8_t shortKind, uint8_t longKind, size_t length)
{
    if (length < SHORT_LIMIT) {
        *out++ = uint8_t(shortKind | length);
    } else {
        *out++ = uint8_t(longKind | length >> 8);
        *out++ = uint8_t(length & 0xFF);
    }
    return out;
}

uint8_t* PutRun(uint8_t* out, uint8_t colour, size_t length)
{
    while (length > ARLE_MAX_PACKET) {
        // Leave at least a minimal run for the last packet.
        const size_t part = length - ARLE_MAX_PACKET >= MIN_RUN ? ARLE_MAX_PACKET : length - MIN_RUN;
        out = PutLength(out, KIND_RUN, KIND_LONG_RUN, part);
        *out++ = colour;
        length -= part;
    }
    out = PutLength(out, KIND_RUN, KIND_LONG_RUN, length);
    *out++ = colour;
    return out;
}

uint8_t* PutLiteral(uint8_t* out, const uint8_t* pixels, size_t length)
{
    while (length > 0) {
        const size_t part = length > ARLE_MAX_PACKET ? ARLE_MAX_PACKET : length;
        out = PutLength(out, KIND_LITERAL, KIND_LONG_LITERAL, part);
        std::memcpy(out, pixels, part);
        out += part;
        pixels += part;
        length -= part;
    }
    return out;
}

bool StartsRun(const uint8_t* p)
{
    return p[0] == p[1] && p[0] == p[2] && p[0] == p[3];
}

// Worst case of one coded row: a one-pixel literal (2 bytes) before every run
// gives at most 2 bytes a pixel, plus a few bytes wherever a packet is split.
size_t RowBound(size_t width)
{
    return 2 * width + 3 * (width / ARLE_MAX_PACKET + 2);
}

// Codes one row: runs of four or more equal pixels, literals between them,
// and a short literal for a tail of fewer than four pixels.
size_t EncodeRow(const uint8_t* p, size_t width, uint8_t* out)
{
    uint8_t* o = out;
    size_t x = 0;
    while (x + 3 < width) {
        if (StartsRun(p + x)) {
            size_t end = x + MIN_RUN;
            while (end < width && p[end] == p[x])
                ++end;
            o = PutRun(o, p[x], end - x);
            x = end;
        } else {
            size_t j = x + 1;
            while (j + 3 < width && !StartsRun(p + j))
                ++j;
            if (j + 3 >= width)
                j = width; // no run can start any more: the literal takes the rest
            o = PutLiteral(o, p + x, j - x);
            x = j;
        }
    }
    if (x < width)
        o = PutLiteral(o, p + x, width - x);
    return size_t(o - out);
}

// Decodes one row's code stream starting at `at` into `row`. Every packet must
// fit in what is left of the row and of the data area.
bool DecodeRow(const uint8_t* data, size_t dataSize, size_t at, uint8_t* row, size_t width)
{
    size_t x = 0;
    while (x < width) {
        if (at >= dataSize)
            return false;
        const uint8_t first = data[at++];
        size_t length = first & 0x3F;
        if (first & 0x80) {
            if (at >= dataSize)
                return false;
            length = length << 8 | data[at++];
        }
        if (length > width - x)
            return false;
        if (first & 0x40) {
            if (at >= dataSize)
                return false;
            std::memset(row + x, data[at++], length);
        } else {
            if (length > dataSize - at)
                return false;
            std::memcpy(row + x, data + at, length);
            at += length;
        }
        x += length;
    }
    return true;
}

} // namespace

size_t TaggedIndex8HeaderSize(const uint8_t* picture, size_t available, uint32_t tag)
{
    if (!picture || available < INFO_HEADER_SIZE || ReadLE32(picture + BIH_SIZE) != INFO_HEADER_SIZE ||
        InfoBitCount(picture) != 8 || InfoCompression(picture) != tag)
        return 0;
    const size_t header = PictureHeaderSize(picture);
    if (header == 0 || header > available || InfoImageSize(picture) > available - header)
        return 0;
    return header;
}

uint8_t* ArleEncode(const uint8_t* picture, size_t available)
{
    if (!IsPictureWithin(picture, available) || InfoBitCount(picture) != 8 || InfoCompression(picture) != BI_RGB)
        return nullptr;
    const size_t header = PictureHeaderSize(picture);
    const size_t width = InfoWidth(picture), height = InfoHeight(picture);
    const size_t stride = DibRowStride(int64_t(width), 8);
    const uint8_t* pixels = picture + header;

    // The coded rows grow in a scratch buffer that always has room for one
    // more worst-case row, so its size follows the data rather than the
    // (much larger) bound for the whole picture.
    size_t capacity = 4 * height + RowBound(width) + 4096;
    uint8_t* scratch = static_cast<uint8_t*>(std::malloc(capacity));
    if (!scratch)
        return nullptr;
    size_t used = 4 * height;
    for (size_t r = 0; r < height; ++r) {
        if (capacity - used < RowBound(width)) {
            capacity = capacity * 2 + RowBound(width);
            uint8_t* grown = static_cast<uint8_t*>(std::realloc(scratch, capacity));
            if (!grown) {
                std::free(scratch);
                return nullptr;
            }
            scratch = grown;
        }
        if (used > std::numeric_limits<uint32_t>::max()) {
            std::free(scratch); // offsets and the image size are 32-bit
            return nullptr;
        }
        WriteLE32(scratch + 4 * r, uint32_t(used));
        used += EncodeRow(pixels + (height - 1 - r) * stride, width, scratch + used);
    }
    uint8_t* out = used <= std::numeric_limits<uint32_t>::max() ? AllocPicture(header + used) : nullptr;
    if (out) {
        std::memcpy(out, picture, header);
        WriteLE32(out + BIH_COMPRESSION, TAG_ARLE);
        WriteLE32(out + BIH_IMAGE_SIZE, uint32_t(used));
        std::memcpy(out + header, scratch, used);
    }
    std::free(scratch);
    return out;
}

uint8_t* ArleDecodeArea(const uint8_t* info, size_t headerSize, const uint8_t* data, size_t dataSize)
{
    const int32_t width = int32_t(InfoWidth(info)), height = int32_t(InfoHeight(info));
    const size_t rows = height > 0 ? size_t(height) : 0;
    if (rows > 0 && (width < 1 || width > 65535 || height > 65535 || dataSize / 4 < rows))
        return nullptr;
    const size_t stride = rows > 0 ? DibRowStride(width, 8) : 0;
    uint8_t* out = AllocPicture(headerSize + stride * rows);
    if (!out)
        return nullptr;
    std::memcpy(out, info, headerSize);
    WriteLE32(out + BIH_COMPRESSION, BI_RGB);
    WriteLE32(out + BIH_IMAGE_SIZE, 0);
    uint8_t* pixels = out + headerSize;
    for (size_t r = 0; r < rows; ++r) {
        const size_t at = ReadLE32(data + 4 * r);
        if (!DecodeRow(data, dataSize, at, pixels + (rows - 1 - r) * stride, size_t(width))) {
            FreePicture(out);
            return nullptr;
        }
    }
    return out;
}

uint8_t* ArleDecode(const uint8_t* picture, size_t available)
{
    const size_t header = TaggedIndex8HeaderSize(picture, available, TAG_ARLE);
    if (header == 0)
        return nullptr;
    return ArleDecodeArea(picture, header, picture + header, InfoImageSize(picture));
}
