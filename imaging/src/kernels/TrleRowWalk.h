#pragma once
// How a "TRLE" kernel walks the sprite, written once for every tier. A Span
// policy writes one run of stored indices into the target
// (span(dst, indices, n)); a Gather policy fetches the indices a scaled or
// mirrored row shows. Internal linkage throughout (see PixelOps.h).

#include "common/ByteOrder.h"
#include "imaging/BlitFlags.h"
#include "kernels/PixelOps.h"
#include "kernels/TrleKernels.h"

#include <cstdint>
#include <vector>

namespace {

struct TrleRow {
    const uint8_t* stored; // first stored pixel
    int skip;
    int count;
};

inline TrleRow ReadTrleRow(const uint8_t* data, int row)
{
    const uint8_t* entry = data + 16 + size_t(row) * 8;
    return {data + ReadLE32(entry), ReadLE16(entry + 4), ReadLE16(entry + 6)};
}

// The per-pixel rule of every span: index 0 is transparent, any other index
// p writes table[p].
template <int Bytes>
inline void ScalarSpan(uint8_t* dst, const uint8_t* idx, int n, const void* table)
{
    for (int i = 0; i < n; ++i) {
        const uint32_t p = idx[i];
        if (p == 0)
            continue;
        if constexpr (Bytes == 1)
            dst[i] = static_cast<const uint8_t*>(table)[p];
        else if constexpr (Bytes == 2)
            StorePixel<2>(dst + 2 * i, static_cast<const uint16_t*>(table)[p]);
        else
            StorePixel<Bytes>(dst + Bytes * i, static_cast<const uint32_t*>(table)[p]);
    }
}

// The identity table reduces the 8-bit span to a copy keyed on 0.
inline void ScalarSpanIdentity(uint8_t* dst, const uint8_t* idx, int n)
{
    for (int i = 0; i < n; ++i)
        if (idx[i] != 0)
            dst[i] = idx[i];
}

// Gathers the indices target columns j0 .. j0 + n - 1 show:
// out[i] = stored[columns[i] - bias], every such index inside the count
// stored pixels. `narrow`: neighbouring columns differ by at most one (the
// sprite is not shrunk), which a vector gather may exploit.
struct ScalarGather {
    static void Run(uint8_t* out, const uint8_t* stored, int, const uint16_t* columns, int n, int bias, bool)
    {
        for (int i = 0; i < n; ++i)
            out[i] = stored[columns[i] - bias];
    }
};

// Unscaled and not mirrored horizontally: every row's stored run, cut to the
// window, goes to the target as it is.
template <class Span>
void TrleDrawDirect(const TrleParams& p, const Span& span)
{
    const bool mirrorY = p.flags & BLIT_MIRROR_Y;
    const int sx = p.srcX, end = p.srcX + p.width;
    for (int k = 0; k < p.height; ++k) {
        const TrleRow row = ReadTrleRow(p.data, mirrorY ? p.srcY + p.height - 1 - k : p.srcY + k);
        const int lo = row.skip > sx ? row.skip : sx;
        const int hi = row.skip + row.count < end ? row.skip + row.count : end;
        if (lo < hi)
            span(p.dst + k * p.dstPitch + ptrdiff_t(lo - sx) * Span::kBytes, row.stored + (lo - row.skip), hi - lo);
    }
}

// Scratch rows of the general walk, kept per thread so that drawing does not
// allocate once they have grown.
struct TrleScratch {
    std::vector<uint16_t> columns;
    std::vector<uint8_t> indices;
};

inline TrleScratch& ThreadTrleScratch()
{
    thread_local TrleScratch scratch;
    return scratch;
}

inline int64_t CeilDiv(int64_t a, int64_t b)
{
    return (a + b - 1) / b;
}

// Scaled or mirrored horizontally: target column j shows source column
// floor(j × srcWidth / width) of the window (counted from its right end when
// mirrored), and row k source row floor(k × srcHeight / height) likewise;
// this is what the error accumulators of the scaled blit produce. The
// columns are worked out once per call; a row repeated by vertical scaling
// reuses the indices gathered for the row before it.
template <class Span, class Gather>
void TrleDrawGeneral(const TrleParams& p, const Span& span)
{
    const bool mirrorX = p.flags & BLIT_MIRROR_X, mirrorY = p.flags & BLIT_MIRROR_Y;
    const int w = p.width, h = p.height, sw = p.srcWidth, sh = p.srcHeight;
    TrleScratch& scratch = ThreadTrleScratch();
    // Vector gathers may read one vector past the last column.
    scratch.columns.resize(size_t(w) + 64);
    scratch.indices.resize(size_t(w) + 64);
    uint16_t* columns = scratch.columns.data();
    uint8_t* indices = scratch.indices.data();
    {
        const int q = sw / w, r = sw % w;
        int c = 0, err = 0;
        for (int j = 0; j < w; ++j) {
            columns[j] = uint16_t(mirrorX ? sw - 1 - c : c);
            c += q;
            err += r;
            if (err >= w) {
                err -= w;
                ++c;
            }
        }
        for (int j = w; j < w + 64; ++j)
            columns[j] = columns[w - 1];
    }

    int lastRow = -1, lastJ0 = 0, lastJ1 = 0;
    const int qy = sh / h, ry = sh % h;
    int srcRow = 0, rowErr = 0;
    for (int k = 0; k < h; ++k) {
        const int rowIndex = mirrorY ? p.srcY + sh - 1 - srcRow : p.srcY + srcRow;
        srcRow += qy;
        rowErr += ry;
        if (rowErr >= h) {
            rowErr -= h;
            ++srcRow;
        }
        const TrleRow row = ReadTrleRow(p.data, rowIndex);
        // The stored run in window columns [a, b).
        const int a = (row.skip > p.srcX ? row.skip : p.srcX) - p.srcX;
        const int b = (row.skip + row.count < p.srcX + sw ? row.skip + row.count : p.srcX + sw) - p.srcX;
        if (a >= b)
            continue;
        int64_t j0, j1;
        if (!mirrorX) {
            j0 = CeilDiv(int64_t(a) * w, sw);
            j1 = CeilDiv(int64_t(b) * w, sw);
        } else {
            j0 = CeilDiv(int64_t(sw - b) * w, sw);
            j1 = CeilDiv(int64_t(sw - a) * w, sw);
        }
        if (j1 > w)
            j1 = w;
        if (j0 >= j1)
            continue;
        const int n = int(j1 - j0);
        if (rowIndex != lastRow || j0 != lastJ0 || j1 != lastJ1) {
            Gather::Run(indices, row.stored, row.count, columns + j0, n, row.skip - p.srcX, sw <= w);
            lastRow = rowIndex;
            lastJ0 = int(j0);
            lastJ1 = int(j1);
        }
        span(p.dst + k * p.dstPitch + j0 * Span::kBytes, indices, n);
    }
}

template <class Span, class Gather>
void TrleDraw(const TrleParams& p, const Span& span)
{
    if (p.width == p.srcWidth && p.height == p.srcHeight && !(p.flags & BLIT_MIRROR_X))
        TrleDrawDirect(p, span);
    else
        TrleDrawGeneral<Span, Gather>(p, span);
}

} // namespace
