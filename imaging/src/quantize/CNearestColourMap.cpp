#include "imaging/CNearestColourMap.h"

#include "kernels/BayerMatrix.h"

#include <algorithm>
#include <cstddef>
#include <limits>

namespace {

constexpr int kCellBits = 5;
constexpr int kCellShift = 8 - kCellBits;
constexpr int kCellSize = 1 << kCellShift;

// Squared distance along one axis from `v` to the nearest and the farthest
// point of [lo, hi].
inline void AxisBounds(int v, int lo, int hi, int& nearest, int& farthest)
{
    const int below = v < lo ? lo - v : 0, above = v > hi ? v - hi : 0;
    const int nearDistance = below + above;
    const int farDistance = (v - lo > hi - v) ? v - lo : hi - v;
    nearest = nearDistance * nearDistance;
    farthest = farDistance * farDistance;
}

} // namespace

CNearestColourMap::CNearestColourMap(const PaletteEntry* entries, int count)
    : m_cellStart(size_t(1) << (3 * kCellBits), -1), m_cellCount(size_t(1) << (3 * kCellBits), 0)
{
    if (!entries || count < 0)
        count = 0;
    if (count > 256)
        count = 256;
    m_entries.assign(entries, entries + count);
    for (int i = 0; i < count; ++i)
        if (m_entries[size_t(i)].flags != PALETTE_FLAG_RESERVED)
            m_usable.push_back(uint8_t(i));
}

const uint8_t* CNearestColourMap::Candidates(uint32_t cell, int* count)
{
    if (m_cellStart[cell] < 0) {
        const int lo[3] = {int(cell >> (2 * kCellBits)) << kCellShift,
                           int((cell >> kCellBits) & ((1 << kCellBits) - 1)) << kCellShift,
                           int(cell & ((1 << kCellBits) - 1)) << kCellShift};
        std::vector<int> nearest(m_usable.size());
        int bound = std::numeric_limits<int>::max();
        for (size_t k = 0; k < m_usable.size(); ++k) {
            const PaletteEntry& e = m_entries[m_usable[k]];
            const int v[3] = {e.red, e.green, e.blue};
            int near = 0, far = 0;
            for (int c = 0; c < 3; ++c) {
                int n, f;
                AxisBounds(v[c], lo[c], lo[c] + kCellSize - 1, n, f);
                near += n;
                far += f;
            }
            nearest[k] = near;
            if (far < bound)
                bound = far;
        }
        // Every colour of the cell is within `bound` of some entry, so its
        // nearest entry is no farther than that from the cell.
        m_cellStart[cell] = int32_t(m_pool.size());
        for (size_t k = 0; k < m_usable.size(); ++k)
            if (nearest[k] <= bound)
                m_pool.push_back(m_usable[k]);
        m_cellCount[cell] = uint16_t(m_pool.size() - size_t(m_cellStart[cell]));
    }
    *count = m_cellCount[cell];
    return m_pool.data() + m_cellStart[cell];
}

int CNearestColourMap::Nearest(uint8_t red, uint8_t green, uint8_t blue)
{
    if (m_usable.empty())
        return -1;
    const uint32_t cell = uint32_t(red >> kCellShift) << (2 * kCellBits) |
                          uint32_t(green >> kCellShift) << kCellBits | uint32_t(blue >> kCellShift);
    int count = 0;
    const uint8_t* candidates = Candidates(cell, &count);
    int best = candidates[0], bestDistance = std::numeric_limits<int>::max();
    for (int k = 0; k < count; ++k) {
        const PaletteEntry& e = m_entries[candidates[k]];
        const int dr = red - e.red, dg = green - e.green, db = blue - e.blue;
        const int d = dr * dr + dg * dg + db * db;
        if (d < bestDistance) { // candidates are in index order: the lower index wins ties
            bestDistance = d;
            best = candidates[k];
        }
    }
    return best;
}

void CNearestColourMap::MapPixels(uint8_t* indices, int indexPitch, const uint8_t* bgr, int bgrPitch, int width,
                                  int height)
{
    if (!indices || !bgr || width <= 0 || height <= 0)
        return;
    for (int y = 0; y < height; ++y) {
        const uint8_t* in = bgr + ptrdiff_t(y) * bgrPitch;
        uint8_t* out = indices + ptrdiff_t(y) * indexPitch;
        uint32_t lastColour = 0xFFFFFFFFu;
        uint8_t lastIndex = 0;
        for (int x = 0; x < width; ++x, in += 3) {
            const uint32_t colour = uint32_t(in[2]) << 16 | uint32_t(in[1]) << 8 | in[0];
            if (colour != lastColour) {
                const int index = Nearest(in[2], in[1], in[0]);
                lastIndex = uint8_t(index < 0 ? 0 : index);
                lastColour = colour;
            }
            out[x] = lastIndex;
        }
    }
}

void CNearestColourMap::MapPixelsOrdered(uint8_t* indices, int indexPitch, const uint8_t* bgr, int bgrPitch,
                                         int width, int height, int spread)
{
    spread = std::clamp(spread, 0, 128);
    if (spread == 0) {
        MapPixels(indices, indexPitch, bgr, bgrPitch, width, height);
        return;
    }
    if (!indices || !bgr || width <= 0 || height <= 0)
        return;
    // Offsets centred on zero: matrix values 1..64 become (2v - 65) / 128 of
    // the spread, rounded, so the mean offset over a block is zero.
    int offset[8][8];
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            offset[y][x] = ((2 * kBayer[y][x] - 65) * spread + (kBayer[y][x] > 32 ? 64 : -64)) / 128;
    const auto shifted = [](uint8_t channel, int by) { return uint8_t(std::clamp(int(channel) + by, 0, 255)); };
    for (int y = 0; y < height; ++y) {
        const uint8_t* in = bgr + ptrdiff_t(y) * bgrPitch;
        uint8_t* out = indices + ptrdiff_t(y) * indexPitch;
        const int* row = offset[y & 7];
        uint32_t lastColour = 0xFFFFFFFFu;
        bool lastExact = false;
        uint8_t lastIndex = 0;
        for (int x = 0; x < width; ++x, in += 3) {
            // A colour the palette holds is shown as it is: pictures made in
            // the palette keep their flat areas clean.
            const uint32_t colour = uint32_t(in[2]) << 16 | uint32_t(in[1]) << 8 | in[0];
            if (colour != lastColour) {
                const int index = Nearest(in[2], in[1], in[0]);
                lastExact = index >= 0 && m_entries[size_t(index)].red == in[2] &&
                            m_entries[size_t(index)].green == in[1] && m_entries[size_t(index)].blue == in[0];
                lastIndex = uint8_t(index < 0 ? 0 : index);
                lastColour = colour;
            }
            if (lastExact) {
                out[x] = lastIndex;
                continue;
            }
            const int by = row[x & 7];
            const int index = Nearest(shifted(in[2], by), shifted(in[1], by), shifted(in[0], by));
            out[x] = uint8_t(index < 0 ? 0 : index);
        }
    }
}
