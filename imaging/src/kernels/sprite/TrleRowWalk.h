#pragma once
// How a "TRLE" kernel walks the sprite, written once for every tier. A Span
// policy writes one run of stored indices into the target
// (span(dst, indices, n)); a Gather fetches the indices a scaled or mirrored
// row shows. Internal linkage throughout (see PixelOps.h).

#include "common/ByteOrder.h"
#include "imaging/BlitFlags.h"
#include "kernels/rect/PixelOps.h"
#include "kernels/sprite/TrleKernels.h"

#include <cstdint>
#include <cstring>
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

// A row shown again (vertical scaling): the previous target row already holds
// table[p] wherever p != 0, so those pixels are copied from it.
template <int Bytes>
inline void ScalarRepeat(uint8_t* dst, const uint8_t* previous, const uint8_t* idx, int n)
{
    for (int i = 0; i < n; ++i)
        if (idx[i] != 0)
            std::memcpy(dst + Bytes * i, previous + Bytes * i, Bytes);
}

// The identity table reduces the 8-bit span to a copy keyed on 0.
inline void ScalarSpanIdentity(uint8_t* dst, const uint8_t* idx, int n)
{
    for (int i = 0; i < n; ++i)
        if (idx[i] != 0)
            dst[i] = idx[i];
}

// What a gather knows for a whole call: the source column (in the window)
// that each target column shows, padded with 64 copies of the last one.
struct GatherSetup {
    const uint16_t* columns;
    uint64_t generation; // of the columns (see TrleScratch)
    int width;
    int srcWidth;
    const uint8_t* dataBegin; // the sprite's data area: reads past a run
    const uint8_t* dataEnd;   // must stay inside it
};

// Fetches the indices that target columns [j0, j1) of a row show into a
// scratch slot of width + 64 bytes, and returns where column j0's index is.
// `bias` = skip - srcX turns a window column into a stored-pixel position.
struct ScalarGather {
    explicit ScalarGather(const GatherSetup& setup) : m_columns(setup.columns) {}
    const uint8_t* Run(uint8_t* slot, const TrleRow& row, int bias, int j0, int j1) const
    {
        for (int j = j0; j < j1; ++j)
            slot[j - j0] = row.stored[m_columns[j] - bias];
        return slot;
    }

private:
    const uint16_t* m_columns;
};

// Unscaled and not mirrored horizontally: every row's stored run, cut to the
// window, goes to the target as it is.
template <class Span>
void TrleDrawDirect(const TrleParams& p, const Span& span)
{
    // Rows are stepped through by pointer; the window test is the whole of
    // the per-row work besides the span itself.
    const bool mirrorY = p.flags & BLIT_MIRROR_Y;
    const int sx = p.srcX, end = p.srcX + p.width;
    const uint8_t* entry = p.data + 16 + size_t(mirrorY ? p.srcY + p.height - 1 : p.srcY) * 8;
    const ptrdiff_t entryStep = mirrorY ? -8 : 8;
    uint8_t* dst = p.dst;
    for (int k = 0; k < p.height; ++k, entry += entryStep, dst += p.dstPitch) {
        const int skip = ReadLE16(entry + 4), stop = skip + ReadLE16(entry + 6);
        const int lo = skip > sx ? skip : sx;
        const int hi = stop < end ? stop : end;
        if (lo < hi)
            span(dst + ptrdiff_t(lo - sx) * Span::kBytes, p.data + ReadLE32(entry) + (lo - skip), hi - lo);
    }
}

// Scratch rows of the general walk, kept per thread so that drawing does not
// allocate once they have grown.
struct TrleScratch {
    std::vector<uint16_t> columns;
    std::vector<uint16_t> firstTarget;
    std::vector<uint8_t> indices;
    // What `columns` and `firstTarget` were worked out for: sprites are often
    // drawn again at the scale of the call before, which then costs nothing.
    int width = 0;
    int srcWidth = 0;
    bool mirrored = false;
    // Counts the changes of `columns`: what is derived from them (the vector
    // gathers' shuffle controls) is kept with the generation it was made for.
    uint64_t generation = 0;
};

inline TrleScratch& ThreadTrleScratch()
{
    thread_local TrleScratch scratch;
    return scratch;
}

// Target column j of a scaled or mirrored blit shows source column
// f(j) = floor(j × srcWidth / width) of the window (counted from its right
// end when mirrored); this is what the error accumulators of the scaled blit
// produce. The thread's scratch gets the columns, padded with 64 copies of
// the last one (vector gathers may read one vector past the last column),
// and for each source column c the first target column whose f(j) reaches c,
// so that a row finds the target columns its stored run covers without
// dividing.
inline TrleScratch& ThreadTrleColumns(int w, int sw, bool mirrorX)
{
    TrleScratch& scratch = ThreadTrleScratch();
    if (scratch.width == w && scratch.srcWidth == sw && scratch.mirrored == mirrorX)
        return scratch;
    scratch.columns.resize(size_t(w) + 64);
    scratch.firstTarget.resize(size_t(sw) + 1);
    uint16_t* columns = scratch.columns.data();
    uint16_t* firstTarget = scratch.firstTarget.data();
    const int q = sw / w, r = sw % w;
    int f = 0, err = 0, c = 0;
    for (int j = 0; j < w; ++j) {
        while (c <= f)
            firstTarget[c++] = uint16_t(j);
        columns[j] = uint16_t(mirrorX ? sw - 1 - f : f);
        f += q;
        err += r;
        if (err >= w) {
            err -= w;
            ++f;
        }
    }
    while (c <= sw)
        firstTarget[c++] = uint16_t(w);
    for (int j = w; j < w + 64; ++j)
        columns[j] = columns[w - 1];
    scratch.width = w;
    scratch.srcWidth = sw;
    scratch.mirrored = mirrorX;
    ++scratch.generation;
    return scratch;
}

// Scaled or mirrored horizontally: target columns show the source columns of
// ThreadTrleColumns, and row k source row floor(k × srcHeight / height)
// likewise. A row repeated by vertical
// scaling reuses its indices, and the span may copy the row drawn just
// before it instead of converting them again.
template <class Span, class Gather>
void TrleDrawGeneral(const TrleParams& p, const Span& span)
{
    const bool mirrorX = p.flags & BLIT_MIRROR_X, mirrorY = p.flags & BLIT_MIRROR_Y;
    const int w = p.width, h = p.height, sw = p.srcWidth, sh = p.srcHeight;
    TrleScratch& scratch = ThreadTrleColumns(w, sw, mirrorX);
    const uint16_t* columns = scratch.columns.data();
    const uint16_t* firstTarget = scratch.firstTarget.data();

    // Rows go in batches: first the indices of every distinct source row of
    // the batch are gathered, then the batch's target rows are drawn. A span
    // thus never reads indices stored a moment before (which would stall on
    // the store forwarding, as its loads straddle the gather's stores). The
    // slots form a ring one longer than a batch, so the last row gathered by
    // one batch is still there for the next.
    constexpr int kBatch = 16, kSlots = kBatch + 1;
    const size_t slotBytes = size_t(w) + 64;
    scratch.indices.resize(slotBytes * kSlots);
    uint8_t* const indices = scratch.indices.data();
    const Gather gather(GatherSetup{columns, scratch.generation, w, sw, p.data, p.data + p.dataSize});
    struct Planned {
        uint8_t* dst;
        const uint8_t* indices;
        int n;
        bool repeat; // target row k - 1 was drawn from the same indices
    };
    Planned plan[kBatch];
    int lastRow = -1, lastJ0 = 0, lastJ1 = 0, slot = 0;
    const uint8_t* lastIndices = nullptr;
    bool lastDrawn = false;
    const int qy = sh / h, ry = sh % h;
    int srcRow = 0, rowErr = 0;
    for (int k0 = 0; k0 < h; k0 += kBatch) {
        const int k1 = k0 + kBatch < h ? k0 + kBatch : h;
        int planned = 0;
        for (int k = k0; k < k1; ++k) {
            const int rowIndex = mirrorY ? p.srcY + sh - 1 - srcRow : p.srcY + srcRow;
            srcRow += qy;
            rowErr += ry;
            if (rowErr >= h) {
                rowErr -= h;
                ++srcRow;
            }
            const TrleRow row = ReadTrleRow(p.data, rowIndex);
            // The stored run in window columns [a, b), and the target columns
            // [j0, j1) that show it.
            const int a = (row.skip > p.srcX ? row.skip : p.srcX) - p.srcX;
            const int b = (row.skip + row.count < p.srcX + sw ? row.skip + row.count : p.srcX + sw) - p.srcX;
            const int j0 = a >= b ? 0 : mirrorX ? firstTarget[sw - b] : firstTarget[a];
            const int j1 = a >= b ? 0 : mirrorX ? firstTarget[sw - a] : firstTarget[b];
            if (j0 >= j1) {
                lastDrawn = false;
                continue;
            }
            const bool repeat = lastDrawn && rowIndex == lastRow && j0 == lastJ0 && j1 == lastJ1;
            if (!repeat) {
                slot = slot + 1 == kSlots ? 0 : slot + 1;
                lastIndices = gather.Run(indices + slot * slotBytes, row, row.skip - p.srcX, j0, j1);
            }
            plan[planned++] = {p.dst + k * p.dstPitch + ptrdiff_t(j0) * Span::kBytes, lastIndices, j1 - j0, repeat};
            lastRow = rowIndex;
            lastJ0 = j0;
            lastJ1 = j1;
            lastDrawn = true;
        }
        for (int i = 0; i < planned; ++i) {
            const Planned& row = plan[i];
            if (row.repeat)
                span.Repeat(row.dst, row.dst - p.dstPitch, row.indices, row.n);
            else
                span(row.dst, row.indices, row.n);
        }
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
