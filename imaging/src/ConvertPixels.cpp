#include "imaging/ConvertPixels.h"

#include "imaging/CDibPalette.h"
#include "kernels/PixelAccess.h"

#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace {

// Shifts and masks of one direct-colour side, computed once per call.
struct DirectSide {
    int bytes;
    ChannelLayout red, green, blue;

    explicit DirectSide(PixelFormat f) : bytes(int(PixelFormatBytes(f)))
    {
        ChannelSet set = DescribeChannels(f);
        red = set.red;
        green = set.green;
        blue = set.blue;
    }

    // A channel widened to 8 bits, the new low bits 0.
    static uint32_t Widen(uint32_t pixel, const ChannelLayout& c)
    {
        return ((pixel & c.mask) >> c.offset) << c.shift & 0xFF;
    }
    // An 8-bit value narrowed (truncated) and put in place.
    static uint32_t Narrow(uint32_t value8, const ChannelLayout& c) { return (value8 >> c.shift) << c.offset; }
    // The narrowed value as it reads back in 8 bits.
    static int Represented(int value8, const ChannelLayout& c) { return (value8 >> c.shift) << c.shift; }
};

inline const uint8_t* RowAt(const uint8_t* bits, int pitch, int y) { return bits + ptrdiff_t(y) * pitch; }
inline uint8_t* RowAt(uint8_t* bits, int pitch, int y) { return bits + ptrdiff_t(y) * pitch; }

// Indices of 1, 2, 4 or 8 bits, packed the bitmap way: the leftmost pixel of
// a byte in its most significant bits.
inline int ReadIndex(const uint8_t* row, int x, uint32_t bits)
{
    if (bits == 8)
        return row[x];
    const uint32_t perByte = 8 / bits;
    const uint32_t shift = 8 - bits * (uint32_t(x) % perByte + 1);
    return (row[uint32_t(x) / perByte] >> shift) & ((1u << bits) - 1);
}

// Writes one index, leaving the other pixels of its byte as they were.
inline void WriteIndex(uint8_t* row, int x, uint32_t bits, int index)
{
    if (bits == 8) {
        row[x] = uint8_t(index);
        return;
    }
    const uint32_t perByte = 8 / bits;
    const uint32_t shift = 8 - bits * (uint32_t(x) % perByte + 1);
    const uint32_t mask = ((1u << bits) - 1) << shift;
    uint8_t& byte = row[uint32_t(x) / perByte];
    byte = uint8_t((byte & ~mask) | ((uint32_t(index) << shift) & mask));
}

// Channel rescale, specialised by pixel sizes so the inner loop only masks,
// shifts and ORs.
template <int SrcBytes, int DstBytes>
void RescaleRows(uint8_t* dst, int dstPitch, const uint8_t* src, int srcPitch, int width, int height,
                 const DirectSide& s, const DirectSide& t)
{
    for (int y = 0; y < height; ++y) {
        const uint8_t* in = RowAt(src, srcPitch, y);
        uint8_t* out = RowAt(dst, dstPitch, y);
        for (int x = 0; x < width; ++x) {
            uint32_t p = ReadPixel(in + x * SrcBytes, SrcBytes);
            uint32_t v = DirectSide::Narrow(DirectSide::Widen(p, s.red), t.red) |
                         DirectSide::Narrow(DirectSide::Widen(p, s.green), t.green) |
                         DirectSide::Narrow(DirectSide::Widen(p, s.blue), t.blue);
            WritePixel(out + x * DstBytes, DstBytes, v);
        }
    }
}

template <int SrcBytes>
void RescaleTo(uint8_t* dst, int dstPitch, const uint8_t* src, int srcPitch, int width, int height,
               const DirectSide& s, const DirectSide& t)
{
    switch (t.bytes) {
    case 1: RescaleRows<SrcBytes, 1>(dst, dstPitch, src, srcPitch, width, height, s, t); break;
    case 2: RescaleRows<SrcBytes, 2>(dst, dstPitch, src, srcPitch, width, height, s, t); break;
    case 3: RescaleRows<SrcBytes, 3>(dst, dstPitch, src, srcPitch, width, height, s, t); break;
    case 4: RescaleRows<SrcBytes, 4>(dst, dstPitch, src, srcPitch, width, height, s, t); break;
    }
}

// Sources whose channels are whole bytes (24 and 32 bits): each byte indexes a
// table holding its channel already narrowed and placed, so a pixel costs
// three lookups and two ORs. Same results as the shift-and-mask rescale.
template <int SrcBytes, int DstBytes>
void RescaleByteChannels(uint8_t* dst, int dstPitch, const uint8_t* src, int srcPitch, int width, int height,
                         const DirectSide& s, const DirectSide& t)
{
    uint32_t lut[3][256];
    const ChannelLayout* sourceChannels[3] = {&s.red, &s.green, &s.blue};
    const ChannelLayout* targetChannels[3] = {&t.red, &t.green, &t.blue};
    for (int byte = 0; byte < 3; ++byte) {
        int channel = 0;
        while (sourceChannels[channel]->offset != uint32_t(8 * byte))
            ++channel;
        for (uint32_t v = 0; v < 256; ++v)
            lut[byte][v] = DirectSide::Narrow(v, *targetChannels[channel]);
    }
    for (int y = 0; y < height; ++y) {
        const uint8_t* in = RowAt(src, srcPitch, y);
        uint8_t* out = RowAt(dst, dstPitch, y);
        for (int x = 0; x < width; ++x, in += SrcBytes) {
            uint32_t v = lut[0][in[0]] | lut[1][in[1]] | lut[2][in[2]];
            if constexpr (DstBytes == 2) {
                uint16_t v16 = uint16_t(v);
                std::memcpy(out + 2 * x, &v16, 2);
            } else {
                WritePixel(out + x * DstBytes, DstBytes, v);
            }
        }
    }
}

bool HasByteChannels(const DirectSide& s)
{
    return s.bytes >= 3 && s.red.width == 8 && s.green.width == 8 && s.blue.width == 8;
}

void Rescale(uint8_t* dst, int dstPitch, const uint8_t* src, int srcPitch, int width, int height,
             const DirectSide& s, const DirectSide& t)
{
    if (HasByteChannels(s) && (t.bytes == 2 || t.bytes == 4)) {
        if (s.bytes == 3 && t.bytes == 2)
            RescaleByteChannels<3, 2>(dst, dstPitch, src, srcPitch, width, height, s, t);
        else if (s.bytes == 3)
            RescaleByteChannels<3, 4>(dst, dstPitch, src, srcPitch, width, height, s, t);
        else if (t.bytes == 2)
            RescaleByteChannels<4, 2>(dst, dstPitch, src, srcPitch, width, height, s, t);
        else
            RescaleByteChannels<4, 4>(dst, dstPitch, src, srcPitch, width, height, s, t);
        return;
    }
    switch (s.bytes) {
    case 1: RescaleTo<1>(dst, dstPitch, src, srcPitch, width, height, s, t); break;
    case 2: RescaleTo<2>(dst, dstPitch, src, srcPitch, width, height, s, t); break;
    case 3: RescaleTo<3>(dst, dstPitch, src, srcPitch, width, height, s, t); break;
    case 4: RescaleTo<4>(dst, dstPitch, src, srcPitch, width, height, s, t); break;
    }
}

void PaletteLookup(uint8_t* dst, int dstPitch, const uint8_t* src, int srcPitch, int width, int height,
                   const PaletteEntry* entries, const DirectSide& t)
{
    uint32_t table[256];
    for (int i = 0; i < 256; ++i)
        table[i] = DirectSide::Narrow(entries[i].red, t.red) | DirectSide::Narrow(entries[i].green, t.green) |
                   DirectSide::Narrow(entries[i].blue, t.blue);
    for (int y = 0; y < height; ++y) {
        const uint8_t* in = RowAt(src, srcPitch, y);
        uint8_t* out = RowAt(dst, dstPitch, y);
        for (int x = 0; x < width; ++x)
            WritePixel(out + x * t.bytes, t.bytes, table[in[x]]);
    }
}

// Answers of a nearest-colour search by colour, for one conversion: a
// direct-mapped table whose slots hold the colour (with a bit that marks the
// slot used) and the index found for it. Exact: a slot answers only for the
// very colour it holds. Small pictures get no table.
class NearestCache {
public:
    explicit NearestCache(size_t pixels) : m_slots(pixels >= kMinPixels ? kSlots : 0) {}

    template <typename Search>
    int Find(int red, int green, int blue, Search&& search)
    {
        if (m_slots.empty())
            return search();
        const uint32_t key = uint32_t(red) << 16 | uint32_t(green) << 8 | uint32_t(blue);
        Slot& slot = m_slots[(key * 2654435761u) >> (32 - kBits)];
        if (slot.key == (key | kUsed))
            return slot.index;
        const int index = search();
        slot.key = key | kUsed;
        slot.index = index;
        return index;
    }

private:
    static constexpr int kBits = 16;
    static constexpr size_t kSlots = size_t(1) << kBits;
    static constexpr size_t kMinPixels = 4096;
    static constexpr uint32_t kUsed = 0x80000000u;
    struct Slot {
        uint32_t key = 0;
        int index = 0;
    };
    std::vector<Slot> m_slots;
};

void NearestColour(uint8_t* dst, int dstPitch, const uint8_t* src, int srcPitch, int width, int height,
                   const DirectSide& s, const CColourOctree& tree)
{
    NearestCache cache(size_t(width) * size_t(height));
    for (int y = 0; y < height; ++y) {
        const uint8_t* in = RowAt(src, srcPitch, y);
        uint8_t* out = RowAt(dst, dstPitch, y);
        for (int x = 0; x < width; ++x) {
            uint32_t p = ReadPixel(in + x * s.bytes, s.bytes);
            uint8_t r = uint8_t(DirectSide::Widen(p, s.red)), g = uint8_t(DirectSide::Widen(p, s.green)),
                    b = uint8_t(DirectSide::Widen(p, s.blue));
            const int index = cache.Find(r, g, b, [&] { return tree.FindNearest(r, g, b); });
            out[x] = uint8_t(index < 0 ? 0 : index);
        }
    }
}

void Remap(uint8_t* dst, int dstPitch, const uint8_t* src, int srcPitch, int width, int height,
           const PaletteEntry* sourceEntries, const CColourOctree& tree)
{
    uint8_t table[256];
    for (int i = 0; i < 256; ++i) {
        uint8_t r = sourceEntries[i].red, g = sourceEntries[i].green, b = sourceEntries[i].blue;
        int index = tree.FindNearest(r, g, b);
        table[i] = uint8_t(index < 0 ? 0 : index);
    }
    for (int y = 0; y < height; ++y) {
        const uint8_t* in = RowAt(src, srcPitch, y);
        uint8_t* out = RowAt(dst, dstPitch, y);
        for (int x = 0; x < width; ++x)
            out[x] = table[in[x]];
    }
}

// Floyd-Steinberg error diffusion, rows top to bottom, pixels left to right.
// `readSource` gives a pixel's three 8-bit channels; `quantise` writes the
// pixel for the wanted channels and returns the channels it represents.
template <typename ReadSource, typename Quantise>
void Diffuse(int width, int height, ReadSource readSource, Quantise quantise)
{
    std::vector<int32_t> current(size_t(width) * 3, 0), next(size_t(width) * 3, 0);
    for (int y = 0; y < height; ++y) {
        int32_t carry[3] = {0, 0, 0};
        for (int x = 0; x < width; ++x) {
            int source[3];
            readSource(x, y, source);
            int wanted[3];
            for (int c = 0; c < 3; ++c) {
                int v = source[c] + carry[c] + current[size_t(x) * 3 + c];
                wanted[c] = v < 0 ? 0 : (v > 255 ? 255 : v);
            }
            int represented[3];
            quantise(x, y, wanted, represented);
            for (int c = 0; c < 3; ++c) {
                const int32_t e = wanted[c] - represented[c];
                // Arithmetic shifts round towards minus infinity.
                if (x > 0)
                    next[size_t(x - 1) * 3 + c] += (3 * e) >> 4;
                next[size_t(x) * 3 + c] += (5 * e) >> 4;
                if (x < width - 1) {
                    next[size_t(x + 1) * 3 + c] += e >> 4;
                    carry[c] = e - ((9 * e) >> 4);
                } else {
                    carry[c] = 0;
                }
            }
        }
        current.swap(next);
        std::fill(next.begin(), next.end(), 0);
    }
}

} // namespace

int ExhaustiveNearestIndex(const PaletteEntry* entries, int count, int red, int green, int blue)
{
    int best = -1, bestDistance = 1 << 30;
    for (int i = 0; i < count; ++i) {
        if (entries[i].flags == PALETTE_FLAG_RESERVED)
            continue;
        int d = std::abs(entries[i].red - red) + std::abs(entries[i].green - green) + std::abs(entries[i].blue - blue);
        if (d < bestDistance) {
            bestDistance = d;
            best = i;
        }
    }
    return best;
}

namespace {

// The four converters without diffusion, between sides of 8 bits and more
// (indexed sides one byte per pixel). `tree` holds the target's searchable
// entries when the target is indexed.
void ConvertWhole(uint8_t* dst, int dstPitch, const uint8_t* src, int srcPitch, int width, int height,
                  const DirectSide& s, const DirectSide& t, bool srcIndexed, bool dstIndexed,
                  const PaletteEntry* sourceEntries, const CColourOctree* tree)
{
    if (!srcIndexed && !dstIndexed)
        Rescale(dst, dstPitch, src, srcPitch, width, height, s, t);
    else if (srcIndexed && !dstIndexed)
        PaletteLookup(dst, dstPitch, src, srcPitch, width, height, sourceEntries, t);
    else if (!srcIndexed)
        NearestColour(dst, dstPitch, src, srcPitch, width, height, s, *tree);
    else
        Remap(dst, dstPitch, src, srcPitch, width, height, sourceEntries, *tree);
}

} // namespace

bool ConvertPixels(uint8_t* dst, PixelFormat targetFormat, const uint8_t* src, int width, int height,
                  int dstPitch, int srcPitch, PixelFormat sourceFormat, const PaletteEntry* targetEntries,
                  const PaletteEntry* sourceEntries, uint32_t flags)
{
    if (!dst || !src || width <= 0 || height <= 0)
        return false;
    if (!PixelFormatIsKnown(targetFormat) || !PixelFormatIsKnown(sourceFormat))
        return false;
    const bool srcIndexed = PixelFormatIsIndexed(sourceFormat);
    const bool dstIndexed = PixelFormatIsIndexed(targetFormat);
    if ((srcIndexed && !sourceEntries) || (dstIndexed && !targetEntries))
        return false;
    const uint32_t srcBits = PixelFormatBits(sourceFormat), dstBits = PixelFormatBits(targetFormat);
    const bool dither = flags & CONVERT_DITHER;
    // Indexed sides are worked on as 8-bit indices; the channel layouts of
    // the direct sides only.
    const DirectSide s(srcIndexed ? PF_INDEX8 : sourceFormat), t(dstIndexed ? PF_INDEX8 : targetFormat);

    // A target of b bits can store only the first 2^b entries: the others
    // are taken as reserved, so that no search ever chooses them.
    PaletteEntry limited[256];
    if (dstIndexed) {
        std::memcpy(limited, targetEntries, sizeof limited);
        for (uint32_t i = 1u << (dstBits < 8 ? dstBits : 8); i < 256; ++i)
            limited[i].flags = PALETTE_FLAG_RESERVED;
        targetEntries = limited;
    }
    std::unique_ptr<CColourOctree> tree;
    if (dstIndexed && (!dither || (flags & CONVERT_OCTREE)))
        tree = BuildOctreeSkippingReserved(targetEntries, 256);

    if (!dither) {
        if (srcBits >= 8 && dstBits >= 8) {
            ConvertWhole(dst, dstPitch, src, srcPitch, width, height, s, t, srcIndexed, dstIndexed, sourceEntries,
                         tree.get());
            return true;
        }
        // Packed indices: each row is unpacked to one byte per index, converted,
        // and packed again; one row of scratch per side.
        std::vector<uint8_t> in(srcBits < 8 ? size_t(width) : 0), out(dstBits < 8 ? size_t(width) : 0);
        for (int y = 0; y < height; ++y) {
            const uint8_t* from = RowAt(src, srcPitch, y);
            if (srcBits < 8) {
                for (int x = 0; x < width; ++x)
                    in[size_t(x)] = uint8_t(ReadIndex(from, x, srcBits));
                from = in.data();
            }
            uint8_t* to = dstBits < 8 ? out.data() : RowAt(dst, dstPitch, y);
            ConvertWhole(to, 0, from, 0, width, 1, s, t, srcIndexed, dstIndexed, sourceEntries, tree.get());
            if (dstBits < 8)
                for (int x = 0; x < width; ++x)
                    WriteIndex(RowAt(dst, dstPitch, y), x, dstBits, out[size_t(x)]);
        }
        return true;
    }

    auto readSource = [&](int x, int y, int out[3]) {
        const uint8_t* row = RowAt(src, srcPitch, y);
        if (srcIndexed) {
            const PaletteEntry& e = sourceEntries[ReadIndex(row, x, srcBits)];
            out[0] = e.red;
            out[1] = e.green;
            out[2] = e.blue;
        } else {
            uint32_t p = ReadPixel(row + x * s.bytes, s.bytes);
            out[0] = int(DirectSide::Widen(p, s.red));
            out[1] = int(DirectSide::Widen(p, s.green));
            out[2] = int(DirectSide::Widen(p, s.blue));
        }
    };

    if (!dstIndexed) {
        Diffuse(width, height, readSource, [&](int x, int y, const int wanted[3], int represented[3]) {
            uint32_t v = DirectSide::Narrow(uint32_t(wanted[0]), t.red) |
                         DirectSide::Narrow(uint32_t(wanted[1]), t.green) |
                         DirectSide::Narrow(uint32_t(wanted[2]), t.blue);
            WritePixel(RowAt(dst, dstPitch, y) + x * t.bytes, t.bytes, v);
            represented[0] = DirectSide::Represented(wanted[0], t.red);
            represented[1] = DirectSide::Represented(wanted[1], t.green);
            represented[2] = DirectSide::Represented(wanted[2], t.blue);
        });
        return true;
    }

    // The exhaustive search looks at every entry for every pixel; the
    // colours a diffused picture asks for repeat a great deal, so each
    // answer is kept in a small table keyed by the colour (a miss searches).
    NearestCache cache(size_t(width) * size_t(height));
    Diffuse(width, height, readSource, [&](int x, int y, const int wanted[3], int represented[3]) {
        int index;
        if (tree) {
            uint8_t r = uint8_t(wanted[0]), g = uint8_t(wanted[1]), b = uint8_t(wanted[2]);
            index = cache.Find(r, g, b, [&] { return tree->FindNearest(r, g, b); });
        } else {
            index = cache.Find(wanted[0], wanted[1], wanted[2], [&] {
                return ExhaustiveNearestIndex(targetEntries, 256, wanted[0], wanted[1], wanted[2]);
            });
        }
        if (index < 0)
            index = 0; // every entry reserved: nothing can be chosen well
        WriteIndex(RowAt(dst, dstPitch, y), x, dstBits, index);
        represented[0] = targetEntries[index].red;
        represented[1] = targetEntries[index].green;
        represented[2] = targetEntries[index].blue;
    });
    return true;
}

void CopyIndices(uint8_t* dst, int dstPitch, uint32_t dstBits, const uint8_t* src, int srcPitch, uint32_t srcBits,
                 int width, int height)
{
    for (int y = 0; y < height; ++y) {
        const uint8_t* from = RowAt(src, srcPitch, y);
        uint8_t* to = RowAt(dst, dstPitch, y);
        for (int x = 0; x < width; ++x)
            WriteIndex(to, x, dstBits, ReadIndex(from, x, srcBits));
    }
}
