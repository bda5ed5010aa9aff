#include "imaging/CColourBoxQuantizer.h"

#include <cstddef>
#include <limits>

CColourBoxQuantizer::CColourBoxQuantizer(int maxColours, int bits)
    : CColourQuantizer(maxColours), m_bits(bits <= 5 ? 5 : 6), m_shift(8 - m_bits),
      m_histogram(size_t(1) << (3 * m_bits), 0)
{
}

CColourBoxQuantizer::~CColourBoxQuantizer() = default;

uint32_t CColourBoxQuantizer::BinCount(int red, int green, int blue) const
{
    const int n = 1 << m_bits;
    if (red < 0 || red >= n || green < 0 || green >= n || blue < 0 || blue >= n)
        return 0;
    return m_histogram[BinIndex(red, green, blue)];
}

void CColourBoxQuantizer::AddPixels(const uint8_t* bits, int width, int height, int pitch,
                                    QuantizeProgress progress, void* argument, uint32_t)
{
    if (!IsReadable(bits, width, height, pitch))
        return;
    const int s = m_shift, b = m_bits;
    uint32_t* histogram = m_histogram.data();
    const uint64_t pixels = uint64_t(width) * uint64_t(height);
    // Counters saturate instead of wrapping only when they could overflow at
    // all, so the usual case keeps the plain increment.
    const bool mayOverflow = m_pixelsAdded + pixels > std::numeric_limits<uint32_t>::max();
    m_pixelsAdded += pixels;
    for (int y = 0; y < height; ++y) {
        if (progress)
            progress(argument, int(int64_t(y) * 100 / height));
        const uint8_t* p = bits + ptrdiff_t(y) * pitch;
        for (int x = 0; x < width; ++x, p += 3) {
            const size_t index = size_t(p[2] >> s) << (2 * b) | size_t(p[1] >> s) << b | size_t(p[0] >> s);
            if (!mayOverflow)
                ++histogram[index];
            else if (histogram[index] != std::numeric_limits<uint32_t>::max())
                ++histogram[index];
        }
    }
}

void CColourBoxQuantizer::Shrink(Box& box) const
{
    int lo[3] = {box.hi[0] + 1, box.hi[1] + 1, box.hi[2] + 1};
    int hi[3] = {box.lo[0] - 1, box.lo[1] - 1, box.lo[2] - 1};
    for (int r = box.lo[0]; r <= box.hi[0]; ++r)
        for (int g = box.lo[1]; g <= box.hi[1]; ++g) {
            const uint32_t* row = &m_histogram[BinIndex(r, g, 0)];
            for (int b = box.lo[2]; b <= box.hi[2]; ++b) {
                if (!row[b])
                    continue;
                if (r < lo[0]) lo[0] = r;
                if (r > hi[0]) hi[0] = r;
                if (g < lo[1]) lo[1] = g;
                if (g > hi[1]) hi[1] = g;
                if (b < lo[2]) lo[2] = b;
                if (b > hi[2]) hi[2] = b;
            }
        }
    for (int c = 0; c < 3; ++c) {
        box.lo[c] = lo[c];
        box.hi[c] = hi[c];
    }
}

uint64_t CColourBoxQuantizer::Spread(const Box& box) const
{
    // Squared bin distances from the centre bin, weighted by the counters.
    // Summed in 64 bits: a few million pixels at distances of tens of bins
    // already pass the 32-bit range.
    const int mr = (box.lo[0] + box.hi[0]) / 2, mg = (box.lo[1] + box.hi[1]) / 2, mb = (box.lo[2] + box.hi[2]) / 2;
    uint64_t spread = 0;
    for (int r = box.lo[0]; r <= box.hi[0]; ++r)
        for (int g = box.lo[1]; g <= box.hi[1]; ++g) {
            const uint32_t* row = &m_histogram[BinIndex(r, g, 0)];
            const uint64_t rg = uint64_t((mr - r) * (mr - r) + (mg - g) * (mg - g));
            for (int b = box.lo[2]; b <= box.hi[2]; ++b)
                if (row[b])
                    spread += uint64_t(row[b]) * (rg + uint64_t((mb - b) * (mb - b)));
        }
    return spread;
}

int CColourBoxQuantizer::BuildPalette(PaletteEntry* entries)
{
    if (!entries)
        return 0;
    const int last = (1 << m_bits) - 1;
    std::vector<Box> boxes;
    boxes.reserve(size_t(m_maxColours));
    Box all{{0, 0, 0}, {last, last, last}, 0};
    Shrink(all);
    all.spread = Spread(all);
    boxes.push_back(all);

    while (int(boxes.size()) < m_maxColours) {
        size_t widest = 0;
        for (size_t i = 1; i < boxes.size(); ++i)
            if (boxes[i].spread > boxes[widest].spread)
                widest = i;
        if (boxes[widest].spread == 0)
            break;
        Box& box = boxes[widest];
        const int extent[3] = {box.hi[0] - box.lo[0], box.hi[1] - box.lo[1], box.hi[2] - box.lo[2]};
        const int axis = (extent[0] >= extent[1] && extent[0] >= extent[2]) ? 0 : (extent[1] >= extent[2] ? 1 : 2);
        const int mid = box.lo[axis] + extent[axis] / 2;
        Box upper = box;
        upper.lo[axis] = mid + 1;
        box.hi[axis] = mid;
        Shrink(box);
        box.spread = Spread(box);
        Shrink(upper);
        upper.spread = Spread(upper);
        boxes.push_back(upper); // `box` is not used past this point
    }

    int written = 0;
    for (const Box& box : boxes) {
        if (box.lo[0] > box.hi[0])
            continue; // nothing was counted
        auto centre = [&](int c) { return uint8_t((box.lo[c] + (box.hi[c] - box.lo[c]) / 2) << m_shift); };
        entries[written++] = {centre(0), centre(1), centre(2), 0};
    }
    return written;
}
