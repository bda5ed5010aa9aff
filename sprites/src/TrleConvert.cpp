// Format conversion of "TRLE" pictures: the row trims stay, every stored
// pixel is read as 8-bit red, green and blue and written in the target format.

#include "sprites/TrleCodec.h"

#include "imaging/CColourOctree.h"
#include "imaging/CDibPalette.h"
#include "sprites/PictureLayout.h"

#include <cstring>
#include <limits>
#include <memory>
#include <vector>

namespace {

struct Rgb {
    uint8_t red, green, blue;
};

// How stored pixels are read. Chosen once per picture.
enum class SourceKind { Index8, Rgb555, Rgb565, Bytes24, Bytes32 };
// How converted pixels are written.
enum class TargetKind { Rgb555, Rgb565, Bytes24, Bytes32, NearestIndex, InverseMap };

bool IsSwapped(PixelFormat format)
{
    return format == PF_BGR555 || format == PF_BGR565 || format == PF_BGR24 || format == PF_BGR32;
}

SourceKind SourceKindOf(PixelFormat format)
{
    switch (format) {
    case PF_INDEX8: return SourceKind::Index8;
    case PF_RGB565: case PF_BGR565: return SourceKind::Rgb565;
    case PF_RGB555: case PF_BGR555: return SourceKind::Rgb555;
    case PF_RGB24: case PF_BGR24: return SourceKind::Bytes24;
    default: return SourceKind::Bytes32;
    }
}

// One row of stored pixels to 8-bit components. `table` holds the source's
// colour table as 256 entries (indices past its real length read black).
void ReadRow(SourceKind kind, bool swapped, const uint8_t* in, uint32_t count, const Rgb* table, Rgb* out)
{
    switch (kind) {
    case SourceKind::Index8:
        for (uint32_t i = 0; i < count; ++i)
            out[i] = table[in[i]];
        break;
    case SourceKind::Rgb555:
        for (uint32_t i = 0; i < count; ++i) {
            const uint32_t p = ReadLE16(in + 2 * i);
            out[i] = {uint8_t((p >> 7) & 0xF8), uint8_t((p >> 2) & 0xF8), uint8_t((p << 3) & 0xFF)};
        }
        break;
    case SourceKind::Rgb565:
        for (uint32_t i = 0; i < count; ++i) {
            const uint32_t p = ReadLE16(in + 2 * i);
            out[i] = {uint8_t((p >> 8) & 0xF8), uint8_t((p >> 3) & 0xFC), uint8_t((p << 3) & 0xFF)};
        }
        break;
    case SourceKind::Bytes24:
    case SourceKind::Bytes32: {
        // Memory order blue, green, red (then an unused byte at 32 bits).
        const uint32_t step = kind == SourceKind::Bytes24 ? 3 : 4;
        for (uint32_t i = 0; i < count; ++i, in += step)
            out[i] = {in[2], in[1], in[0]};
        break;
    }
    }
    // The swapped orders keep red where blue is expected: trading the two
    // after reading (and before writing) covers both directions.
    if (swapped)
        for (uint32_t i = 0; i < count; ++i)
            std::swap(out[i].red, out[i].blue);
}

struct TargetWriter {
    TargetKind kind;
    bool swapped;
    const CColourOctree* octree = nullptr;
    const uint8_t* inverseMap = nullptr;

    void WriteRow(Rgb* in, uint32_t count, uint8_t* out) const
    {
        if (swapped)
            for (uint32_t i = 0; i < count; ++i)
                std::swap(in[i].red, in[i].blue);
        switch (kind) {
        case TargetKind::Rgb555:
            for (uint32_t i = 0; i < count; ++i)
                WriteLE16(out + 2 * i, uint16_t((in[i].red & 0xF8) << 7 | (in[i].green & 0xF8) << 2 | in[i].blue >> 3));
            break;
        case TargetKind::Rgb565:
            for (uint32_t i = 0; i < count; ++i)
                WriteLE16(out + 2 * i, uint16_t((in[i].red & 0xF8) << 8 | (in[i].green & 0xFC) << 3 | in[i].blue >> 3));
            break;
        case TargetKind::Bytes24:
            for (uint32_t i = 0; i < count; ++i, out += 3) {
                out[0] = in[i].blue;
                out[1] = in[i].green;
                out[2] = in[i].red;
            }
            break;
        case TargetKind::Bytes32:
            for (uint32_t i = 0; i < count; ++i, out += 4) {
                out[0] = in[i].blue;
                out[1] = in[i].green;
                out[2] = in[i].red;
                out[3] = 0;
            }
            break;
        case TargetKind::NearestIndex:
            for (uint32_t i = 0; i < count; ++i) {
                uint8_t r = in[i].red, g = in[i].green, b = in[i].blue;
                const int index = octree->FindNearest(r, g, b);
                out[i] = uint8_t(index < 0 ? 0 : index);
            }
            break;
        case TargetKind::InverseMap:
            // Five bits per channel; a 5-6-5 green keeps its top five.
            for (uint32_t i = 0; i < count; ++i)
                out[i] = inverseMap[(in[i].red >> 3) << 10 | (in[i].green >> 3) << 5 | in[i].blue >> 3];
            break;
        }
    }
};

uint8_t* ConvertTrle(const uint8_t* picture, size_t available, PixelFormat target, const PaletteEntry* palette,
                     TargetWriter writer)
{
    TrleLayout layout;
    if (!ReadTrleLayout(picture, available, layout))
        return nullptr;
    uint8_t header[MAX_PICTURE_HEADER_SIZE];
    const size_t builtHeader = BuildPictureHeader(target, layout.width, layout.height, header);
    if (builtHeader == 0 || PixelFormatBits(target) < 8)
        return nullptr;
    const bool indexedTarget = target == PF_INDEX8;
    if (indexedTarget && !palette)
        return nullptr;

    // The colour table of an 8-bit source, padded to 256 entries with black
    // so that any stored index can be looked up.
    std::vector<Rgb> table(256, Rgb{0, 0, 0});
    if (layout.bitCount == 8) {
        const size_t entries = (layout.dataOffset - INFO_HEADER_SIZE) / 4;
        for (size_t i = 0; i < entries && i < 256; ++i) {
            const uint8_t* quad = picture + INFO_HEADER_SIZE + 4 * i;
            table[i] = {quad[2], quad[1], quad[0]};
        }
    }

    const uint32_t targetBytes = PixelFormatBytes(target);
    size_t stored = 0;
    for (int r = 0; r < layout.height; ++r)
        stored += layout.RowCount(r);
    const size_t dataOffset = indexedTarget ? builtHeader : INFO_HEADER_SIZE;
    const size_t dataSize = 16 + size_t(layout.height) * 8 + stored * targetBytes;
    if (dataSize > std::numeric_limits<uint32_t>::max())
        return nullptr;
    uint8_t* result = AllocPicture(dataOffset + dataSize);
    if (!result)
        return nullptr;

    // Info header (and colour table) of the target; the masks of a 16-bit
    // target become the first three words of the data area, and its word 12
    // says that they apply.
    std::memcpy(result, header, INFO_HEADER_SIZE);
    uint8_t* data = result + dataOffset;
    if (indexedTarget) {
        for (int i = 0; i < 256; ++i) {
            uint8_t* quad = result + INFO_HEADER_SIZE + 4 * i;
            quad[0] = palette[i].blue;
            quad[1] = palette[i].green;
            quad[2] = palette[i].red;
            quad[3] = 0;
        }
    } else if (builtHeader > INFO_HEADER_SIZE) {
        std::memcpy(data, header + INFO_HEADER_SIZE, 12);
        WriteLE32(data + 12, BI_BITFIELDS);
    }
    WriteLE32(result + BIH_COMPRESSION, TAG_TRLE);
    WriteLE32(result + BIH_IMAGE_SIZE, uint32_t(dataSize));

    const SourceKind sourceKind = SourceKindOf(layout.format);
    const bool sourceSwapped = IsSwapped(layout.format);
    std::vector<Rgb> row(size_t(layout.width));
    size_t next = 16 + size_t(layout.height) * 8;
    for (int r = 0; r < layout.height; ++r) {
        const uint32_t skip = layout.RowSkip(r), count = layout.RowCount(r);
        uint8_t* entry = data + 16 + size_t(r) * 8;
        WriteLE32(entry, uint32_t(next));
        WriteLE16(entry + 4, uint16_t(skip));
        WriteLE16(entry + 6, uint16_t(count));
        if (count == 0)
            continue;
        ReadRow(sourceKind, sourceSwapped, layout.RowPixels(r), count, table.data(), row.data());
        writer.WriteRow(row.data(), count, data + next);
        next += size_t(count) * targetBytes;
    }
    return result;
}

TargetKind DirectTargetKind(PixelFormat target)
{
    switch (PixelFormatBits(target)) {
    case 16: return (target == PF_RGB565 || target == PF_BGR565) ? TargetKind::Rgb565 : TargetKind::Rgb555;
    case 24: return TargetKind::Bytes24;
    default: return TargetKind::Bytes32;
    }
}

} // namespace

uint8_t* TrleConvertFormat(const uint8_t* picture, size_t available, PixelFormat target,
                           const PaletteEntry* palette)
{
    if (target == PF_INDEX8) {
        if (!palette)
            return nullptr;
        std::unique_ptr<CColourOctree> octree = BuildOctreeSkippingReserved(palette, 256);
        if (octree->LeafCount() == 0)
            return nullptr; // every entry is reserved: nothing may be chosen
        return ConvertTrle(picture, available, target, palette,
                           TargetWriter{TargetKind::NearestIndex, false, octree.get(), nullptr});
    }
    return ConvertTrle(picture, available, target, palette,
                       TargetWriter{DirectTargetKind(target), IsSwapped(target), nullptr, nullptr});
}

uint8_t* TrleConvertFast8(const uint8_t* picture, size_t available, const PaletteEntry* palette,
                          const uint8_t* inverseMap)
{
    if (!palette || !inverseMap)
        return nullptr;
    return ConvertTrle(picture, available, PF_INDEX8, palette,
                       TargetWriter{TargetKind::InverseMap, false, nullptr, inverseMap});
}
