#include "sprites/ForeignPicture.h"

#include "common/ByteOrder.h"
#include "sprites/PictureFormat.h"
#include "sprites/PictureLayout.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr uint32_t BI_RLE8 = 1;
constexpr uint32_t BI_RLE4 = 2;
constexpr uint32_t BI_ALPHABITFIELDS = 6; // masks for red, green, blue and alpha

bool IsLaterHeader(uint32_t size)
{
    return size == 52 || size == 56 || size == 108 || size == 124;
}

bool IsMasked(uint32_t compression)
{
    return compression == BI_BITFIELDS || compression == BI_ALPHABITFIELDS;
}

// The 16-bit formats the system has, by their red, green and blue masks.
PixelFormat NativeFormat16(const uint32_t masks[3])
{
    struct Known {
        uint32_t red, green, blue;
        PixelFormat format;
    };
    static const Known known[] = {{0x7C00, 0x3E0, 0x1F, PF_RGB555},
                                  {0x1F, 0x3E0, 0x7C00, PF_BGR555},
                                  {0xF800, 0x7E0, 0x1F, PF_RGB565},
                                  {0x1F, 0x7E0, 0xF800, PF_BGR565}};
    for (const Known& k : known)
        if (masks[0] == k.red && masks[1] == k.green && masks[2] == k.blue)
            return k.format;
    return PF_NONE;
}

bool IsNativeMaskSet32(const uint32_t masks[3])
{
    return masks[0] == 0xFF0000 && masks[1] == 0xFF00 && masks[2] == 0xFF;
}

// One colour channel of a masked pixel, widened or narrowed to 8 bits.
struct Channel {
    uint32_t mask = 0, shift = 0, max = 0;

    explicit Channel(uint32_t m) : mask(m)
    {
        if (m == 0)
            return;
        shift = uint32_t(__builtin_ctz(m));
        max = m >> shift; // a mask with holes still bounds its values by this
    }
    uint8_t Read(uint32_t pixel) const
    {
        if (max == 0)
            return 0;
        const uint64_t v = (pixel & mask) >> shift;
        return uint8_t((v * 255 + max / 2) / max);
    }
};

// What a foreign header says, checked against the bytes there.
struct Foreign {
    const uint8_t* info = nullptr;
    size_t available = 0; // bytes from `info` on
    uint32_t headerSize = 0;
    int width = 0, height = 0;
    bool topDown = false;
    uint32_t bits = 0, compression = 0;
    uint32_t masks[3] = {0, 0, 0};
    const uint8_t* table = nullptr;
    size_t tableEntries = 0;
    const uint8_t* data = nullptr;
    size_t dataSize = 0;
};

// Whether a 40-byte header describes a picture that the native reader would
// misread or refuse although it is an ordinary bitmap.
bool NeedsReading40(const uint8_t* info, size_t available)
{
    const uint32_t compression = InfoCompression(info);
    const uint32_t bits = InfoBitCount(info);
    if (compression == BI_RLE8 || compression == BI_RLE4 || compression == BI_ALPHABITFIELDS)
        return true;
    if ((compression == BI_RGB || compression == BI_BITFIELDS) && int32_t(InfoHeight(info)) < 0)
        return true;
    if (compression == BI_BITFIELDS && (bits == 16 || bits == 32) && available >= INFO_HEADER_SIZE + 12) {
        const uint32_t masks[3] = {ReadLE32(info + 40), ReadLE32(info + 44), ReadLE32(info + 48)};
        return bits == 16 ? NativeFormat16(masks) == PF_NONE : !IsNativeMaskSet32(masks);
    }
    return false;
}

bool Examine(const uint8_t* info, size_t available, size_t fileBitsOffset, Foreign& f)
{
    f.info = info;
    f.available = available;
    f.headerSize = ReadLE32(info + BIH_SIZE);
    if (available < f.headerSize)
        return false;
    const int32_t width = int32_t(InfoWidth(info)), height = int32_t(InfoHeight(info));
    if (width < 1 || width > 65535 || height == 0 || height < -65535 || height > 65535)
        return false;
    f.width = width;
    f.topDown = height < 0;
    f.height = f.topDown ? -height : height;
    f.bits = InfoBitCount(info);
    f.compression = InfoCompression(info);
    switch (f.compression) {
    case BI_RGB:
        if (f.bits != 1 && f.bits != 2 && f.bits != 4 && f.bits != 8 && f.bits != 16 && f.bits != 24 && f.bits != 32)
            return false;
        break;
    case BI_RLE8: if (f.bits != 8 || f.topDown) return false; break;
    case BI_RLE4: if (f.bits != 4 || f.topDown) return false; break;
    case BI_BITFIELDS:
    case BI_ALPHABITFIELDS: if (f.bits != 16 && f.bits != 32) return false; break;
    default: return false; // JPEG, PNG or something unknown inside
    }

    // Masks: after a 40-byte header, inside the later ones. Unmasked pixels
    // have the bitmap format's fixed layouts.
    size_t tableStart = f.headerSize;
    if (IsMasked(f.compression)) {
        const size_t maskBytes = f.compression == BI_ALPHABITFIELDS ? 16 : 12;
        if (f.headerSize == INFO_HEADER_SIZE) {
            if (available < INFO_HEADER_SIZE + maskBytes)
                return false;
            tableStart += maskBytes;
        }
        for (int i = 0; i < 3; ++i)
            f.masks[i] = ReadLE32(info + 40 + 4 * i);
    } else if (f.bits == 16) {
        f.masks[0] = 0x7C00, f.masks[1] = 0x3E0, f.masks[2] = 0x1F;
    } else {
        f.masks[0] = 0xFF0000, f.masks[1] = 0xFF00, f.masks[2] = 0xFF;
    }

    // The colour table: `colours used` entries, or all 2^bits of them.
    const uint32_t used = InfoColoursUsed(info);
    if (f.bits <= 8)
        f.tableEntries = std::min<size_t>(used ? used : 1u << f.bits, size_t(1) << f.bits);
    else
        f.tableEntries = used <= 256 ? used : 0; // an optional table that pixels of this depth never use
    if (tableStart + 4 * f.tableEntries > available)
        return false;
    f.table = info + tableStart;

    // The pixels: where the file header says, when it says somewhere
    // sensible; right after the table otherwise.
    size_t dataOffset = tableStart + 4 * f.tableEntries;
    if (fileBitsOffset >= FILE_HEADER_SIZE + tableStart && fileBitsOffset - FILE_HEADER_SIZE <= available)
        dataOffset = fileBitsOffset - FILE_HEADER_SIZE;
    if (dataOffset > available)
        return false;
    f.data = info + dataOffset;
    f.dataSize = available - dataOffset;
    if (f.compression == BI_RLE8 || f.compression == BI_RLE4) {
        const uint32_t imageSize = InfoImageSize(info);
        if (imageSize != 0 && imageSize < f.dataSize)
            f.dataSize = imageSize;
    } else if (uint64_t(DibRowStride(f.width, f.bits)) * uint64_t(f.height) > f.dataSize) {
        return false;
    }
    return true;
}

// Sets index `value` at column x of a row of 4- or 8-bit indices.
inline void PutIndex(uint8_t* row, int x, bool nibbles, uint8_t value)
{
    if (!nibbles)
        row[x] = value;
    else if (x % 2 == 0)
        row[x / 2] = uint8_t((row[x / 2] & 0x0F) | (value << 4));
    else
        row[x / 2] = uint8_t((row[x / 2] & 0xF0) | (value & 0x0F));
}

// Decodes the bitmap format's run-length stream into bottom-up rows of
// `stride` bytes: pairs of (count, index) runs, and escapes after a zero
// count: 0 ends the line, 1 the picture, 2 moves right and up by the next two
// bytes, 3 and more are that many literal indices padded to 16 bits. 4-bit
// runs alternate the two indices of their byte. Whatever lies outside the
// picture is dropped; a stream that ends early leaves the rest at 0.
void DecodeRunLength(const Foreign& f, uint8_t* pixels, size_t stride)
{
    const bool nibbles = f.compression == BI_RLE4;
    const uint8_t* in = f.data;
    const size_t n = f.dataSize;
    size_t i = 0;
    int x = 0, y = 0;
    auto put = [&](uint8_t value) {
        if (x < f.width) {
            PutIndex(pixels + size_t(y) * stride, x, nibbles, value);
            ++x;
        }
    };
    while (i + 1 < n && y < f.height) {
        const uint8_t count = in[i], value = in[i + 1];
        i += 2;
        if (count != 0) {
            for (int k = 0; k < count && x < f.width; ++k)
                put(nibbles ? uint8_t(k % 2 ? value & 0x0F : value >> 4) : value);
            continue;
        }
        if (value == 0) {
            x = 0;
            ++y;
        } else if (value == 1) {
            return;
        } else if (value == 2) {
            if (i + 1 >= n)
                return;
            x = std::min(f.width, x + in[i]);
            y += in[i + 1];
            i += 2;
        } else {
            const size_t bytes = nibbles ? (size_t(value) + 1) / 2 : value;
            for (int k = 0; k < value && x < f.width; ++k) {
                const size_t at = i + (nibbles ? size_t(k) / 2 : size_t(k));
                if (at >= n)
                    return;
                put(nibbles ? uint8_t(k % 2 ? in[at] & 0x0F : in[at] >> 4) : in[at]);
            }
            i += bytes + (bytes & 1);
        }
    }
}

uint8_t* Convert(const Foreign& f)
{
    PixelFormat format = PF_NONE;
    switch (f.bits) {
    case 1: format = PF_INDEX1; break;
    case 2: format = PF_INDEX2; break;
    case 4: format = PF_INDEX4; break;
    case 8: format = PF_INDEX8; break;
    case 16: format = NativeFormat16(f.masks); break;
    case 24: format = PF_RGB24; break;
    default: break;
    }
    if (format == PF_NONE)
        format = PF_RGB32; // any other masks: read channel by channel

    uint8_t header[MAX_PICTURE_HEADER_SIZE];
    const size_t headerSize = BuildPictureHeader(format, f.width, f.height, header);
    const size_t stride = PixelFormatRowPitch(format, f.width);
    if (headerSize == 0 || stride == 0)
        return nullptr;
    const size_t size = headerSize + stride * size_t(f.height);
    if (size > FOREIGN_MAX_DECODED_SIZE)
        return nullptr;
    uint8_t* picture = AllocPicture(size);
    if (!picture)
        return nullptr;
    std::memcpy(picture, header, headerSize);
    if (f.bits <= 8) {
        // The colour table in blue, green, red order; the fourth byte is 0.
        for (size_t e = 0; e < f.tableEntries; ++e) {
            std::memcpy(picture + INFO_HEADER_SIZE + 4 * e, f.table + 4 * e, 3);
            picture[INFO_HEADER_SIZE + 4 * e + 3] = 0;
        }
    }
    uint8_t* pixels = picture + headerSize;

    if (f.compression == BI_RLE8 || f.compression == BI_RLE4) {
        DecodeRunLength(f, pixels, stride);
        return picture;
    }
    const size_t sourceStride = DibRowStride(f.width, f.bits);
    const Channel red(f.masks[0]), green(f.masks[1]), blue(f.masks[2]);
    const uint32_t kept16 = f.masks[0] | f.masks[1] | f.masks[2];
    for (int row = 0; row < f.height; ++row) {
        // Bottom-up in the result; the source's first row is its top one
        // when it is stored top-down.
        const uint8_t* from = f.data + sourceStride * size_t(f.topDown ? f.height - 1 - row : row);
        uint8_t* to = pixels + stride * size_t(row);
        if (format == PF_RGB32 && f.bits != 24) {
            const int bytes = int(f.bits / 8);
            for (int x = 0; x < f.width; ++x) {
                const uint32_t p = bytes == 2 ? ReadLE16(from + 2 * x) : ReadLE32(from + 4 * x);
                WriteLE32(to + 4 * x, uint32_t(red.Read(p)) << 16 | uint32_t(green.Read(p)) << 8 | blue.Read(p));
            }
        } else if (f.bits == 16) {
            // A bit that belongs to no channel (an alpha bit) is cleared.
            for (int x = 0; x < f.width; ++x)
                WriteLE16(to + 2 * x, uint16_t(ReadLE16(from + 2 * x) & kept16));
        } else {
            std::memcpy(to, from, std::min(stride, sourceStride));
        }
    }
    return picture;
}

} // namespace

ForeignPictureResult ReadForeignPicture(const uint8_t* block, size_t size, uint8_t** converted)
{
    *converted = nullptr;
    if (!block)
        return ForeignPictureResult::Native;
    const uint8_t* info = block;
    size_t available = size;
    size_t fileBitsOffset = 0;
    if (size >= FILE_HEADER_SIZE + 4 && block[0] == 'B' && block[1] == 'M') {
        info = block + FILE_HEADER_SIZE;
        available = size - FILE_HEADER_SIZE;
        fileBitsOffset = ReadLE32(block + 10);
    }
    if (available < INFO_HEADER_SIZE)
        return ForeignPictureResult::Native;
    const uint32_t headerSize = ReadLE32(info + BIH_SIZE);
    if (headerSize == INFO_HEADER_SIZE) {
        if (!NeedsReading40(info, available))
            return ForeignPictureResult::Native;
    } else if (!IsLaterHeader(headerSize)) {
        return ForeignPictureResult::Native;
    }
    Foreign f;
    if (!Examine(info, available, fileBitsOffset, f))
        return ForeignPictureResult::Refused;
    *converted = Convert(f);
    return *converted ? ForeignPictureResult::Converted : ForeignPictureResult::Refused;
}
