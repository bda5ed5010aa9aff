#pragma once
// How the run kernels walk a sprite, written once for every tier. An Ops
// policy moves pixels: Copy and Blend one 32-byte block (Blend through a
// mask), CopyRun any run, Classify a block's mask (0 none, 1 some, 2 all
// opaque). A Gather fetches the converted pixels or masks a scaled or
// mirrored row shows. Internal linkage throughout (see PixelOps.h).

#include "kernels/TrleRowWalk.h"
#include "kernels/TrleRunKernels.h"

#include <cstring>

namespace {

constexpr int kRunBlock = TrleRunCache::kBlockBytes;

// Moves of N bytes as single loads and stores. A tier whose widest move the
// compiler would split (a fixed-size memcpy of 32 bytes becomes two 16-byte
// moves under generic tuning) gives its own.
struct PlainMover {
    template <int N>
    [[gnu::always_inline]] static void Move(uint8_t* dst, const uint8_t* src)
    {
        std::memcpy(dst, src, N);
    }
};

// Copies n > 0 bytes (a multiple of Min) in moves of Block bytes, the last
// move overlapping the one before; shorter runs go to the next smaller move.
// Runs are short and many, so a call into the library's memcpy would cost
// more than the copy.
template <int Block, int Min, class Mover>
[[gnu::always_inline]] inline void CopyRunBytes(uint8_t* dst, const uint8_t* src, size_t n)
{
    if constexpr (Block > Min) {
        if (n < size_t(Block)) {
            CopyRunBytes<Block / 2, Min, Mover>(dst, src, n);
            return;
        }
    }
    for (size_t i = 0; i + Block < n; i += Block)
        Mover::template Move<Block>(dst + i, src + i);
    Mover::template Move<Block>(dst + n - Block, src + n - Block);
}

// Copy and CopyRun of the tiers that move Block bytes at a time, for runs at
// least Min bytes long.
template <int Block, int Min, class Mover = PlainMover>
struct FixedMoves {
    [[gnu::always_inline]] void Copy(uint8_t* dst, const uint8_t* src) const
    {
        CopyRunBytes<Block, Block, Mover>(dst, src, kRunBlock);
    }
    [[gnu::always_inline]] void CopyRun(uint8_t* dst, const uint8_t* src, size_t n) const
    {
        CopyRunBytes<Block, Min, Mover>(dst, src, n);
    }
};

// Writes the converted pixel (or mask) that target column j shows to
// slot + j × Bytes, for j in [j0, j1); window column c's is source[shift + c].
template <int Bytes>
struct ScalarPixelGather {
    explicit ScalarPixelGather(const GatherSetup& setup) : m_columns(setup.columns) {}
    void Run(uint8_t* slot, const uint8_t* source, ptrdiff_t shift, int j0, int j1) const
    {
        for (int j = j0; j < j1; ++j)
            std::memcpy(slot + ptrdiff_t(j) * Bytes, source + (shift + m_columns[j]) * Bytes, Bytes);
    }

private:
    const uint16_t* m_columns;
};

// Unscaled, not mirrored horizontally, the window as wide as the sprite and
// not mirrored vertically: the block program's lists, each in one loop over
// the window's rows. The lists may be drawn in any order: where blocks
// overlap, they agree on every pixel.
template <class Ops>
void TrleBlockDraw(const TrleRunParams& p, const Ops& ops)
{
    // Locals, so that the stores, which may alias anything, do not force the
    // parameters to be read again for every block.
    const TrleBlockProgram program = *p.program;
    const uint8_t* const pixels = p.pixels;
    const uint8_t* const masks = p.masks;
    const int y0 = p.srcY, y1 = p.srcY + p.height;
    // Offsets count from the sprite's top-left pixel, which lies y0 rows up.
    uint8_t* const origin = p.dst;
    const ptrdiff_t shift = -ptrdiff_t(y0) * p.dstPitch;
    const TrleBlockAt* const opaqueEnd = program.opaque + program.opaqueFirst[y1];
    for (const TrleBlockAt* b = program.opaque + program.opaqueFirst[y0]; b != opaqueEnd; ++b)
        ops.Copy(origin + (shift + b->dst), pixels + b->src);
    const TrleBlockAt* const mixedEnd = program.mixed + program.mixedFirst[y1];
    for (const TrleBlockAt* b = program.mixed + program.mixedFirst[y0]; b != mixedEnd; ++b)
        ops.Blend(origin + (shift + b->dst), pixels + b->src, masks + b->src);
    for (uint32_t i = program.narrowFirst[y0]; i != program.narrowFirst[y1]; ++i)
        ops.CopyRun(origin + (shift + program.narrow[i].dst), pixels + program.narrow[i].src,
                    program.narrowBytes[i]);
}

// Unscaled and not mirrored horizontally, otherwise: every run, cut to the
// window, is copied as it is.
template <int Bytes, class Ops>
void TrleRunDrawDirect(const TrleRunParams& p, const Ops& ops)
{
    const bool mirrorY = p.flags & BLIT_MIRROR_Y;
    const int sx = p.srcX, end = p.srcX + p.width;
    int row = mirrorY ? p.srcY + p.height - 1 : p.srcY;
    const int rowStep = mirrorY ? -1 : 1;
    uint8_t* dst = p.dst;
    for (int k = 0; k < p.height; ++k, row += rowStep, dst += p.dstPitch) {
        const TrleRun* run = p.runs + p.rowFirst[row];
        const TrleRun* const stop = p.runs + p.rowFirst[row + 1];
        for (; run != stop; ++run) {
            int lo = run->start;
            const int hi = lo + run->length < end ? lo + run->length : end;
            uint32_t offset = run->offset;
            if (lo < sx) {
                offset += uint32_t(sx - lo);
                lo = sx;
            }
            if (lo < hi)
                ops.CopyRun(dst + ptrdiff_t(lo - sx) * Bytes, p.pixels + size_t(offset) * Bytes,
                            size_t(hi - lo) * Bytes);
        }
    }
}

// Scaled or mirrored horizontally (columns as ThreadTrleColumns, rows
// likewise). Each distinct source row's pixels and masks are gathered once
// over the target columns its runs span, and that span is sorted into
// blocks as in the block program; every target row showing the source row
// then copies and blends those blocks (or, for a narrow span, copies its
// runs). Rows go in batches, all gathers of a batch before its drawing, so
// that drawing never loads bytes stored a moment before (the loads would
// straddle the gather's stores and stall). The slots form a ring one longer
// than a batch, so the last row gathered by one batch is still there for the
// next.
template <int Bytes, class Gather, class Ops>
void TrleRunDrawGeneral(const TrleRunParams& p, const Ops& ops)
{
    const bool mirrorX = p.flags & BLIT_MIRROR_X, mirrorY = p.flags & BLIT_MIRROR_Y;
    const int w = p.width, h = p.height, sw = p.srcWidth, sh = p.srcHeight;
    TrleScratch& scratch = ThreadTrleColumns(w, sw, mirrorX);
    const uint16_t* columns = scratch.columns.data();
    const uint16_t* firstTarget = scratch.firstTarget.data();
    // The target columns that window columns [a, b) cover.
    const auto targets = [&](int a, int b, int* t0, int* t1) {
        *t0 = mirrorX ? firstTarget[sw - b] : firstTarget[a];
        *t1 = mirrorX ? firstTarget[sw - a] : firstTarget[b];
    };

    constexpr int kBatch = 16, kSlots = kBatch + 1;
    // A slot: the row's pixels, then its masks, each for target columns
    // [0, w) and room for whole vectors past them; then its blocks.
    const auto roundUp = [](size_t n) { return (n + 31) & ~size_t(31); };
    const size_t rowBytes = roundUp((size_t(w) + 64) * Bytes);
    const size_t maxBlocks = size_t(w) * Bytes / kRunBlock + 2;
    const size_t slotBytes = 2 * rowBytes + roundUp(maxBlocks * sizeof(uint32_t));
    scratch.indices.resize(slotBytes * kSlots);
    uint8_t* const slots = scratch.indices.data();
    struct Sorted {
        const uint8_t* pixels;
        const uint8_t* masks;
        const uint32_t* blocks; // opaque ones, then mixed ones; byte offsets
        int opaque;
        int mixed;
        bool narrow; // drawn by its runs
    };
    Sorted sorted[kSlots];
    const Gather gather(GatherSetup{columns, scratch.generation, w, sw, nullptr, nullptr});
    struct Planned {
        uint8_t* dst;
        int slot;
        const TrleRun* first;
        const TrleRun* stop;
    };
    Planned plan[kBatch];
    int lastRow = -1, slot = 0;
    const int qy = sh / h, ry = sh % h;
    const int windowEnd = p.srcX + sw;
    int srcRow = 0, rowErr = 0;
    for (int k0 = 0; k0 < h; k0 += kBatch) {
        const int k1 = k0 + kBatch < h ? k0 + kBatch : h;
        int planned = 0;
        for (int k = k0; k < k1; ++k) {
            const int row = mirrorY ? p.srcY + sh - 1 - srcRow : p.srcY + srcRow;
            srcRow += qy;
            rowErr += ry;
            if (rowErr >= h) {
                rowErr -= h;
                ++srcRow;
            }
            const TrleRun* first = p.runs + p.rowFirst[row];
            const TrleRun* stop = p.runs + p.rowFirst[row + 1];
            if (first == stop)
                continue;
            // The row's span, cut to the window, in window columns.
            const int a = (first->start > p.srcX ? first->start : p.srcX) - p.srcX;
            const int spanEnd = stop[-1].start + stop[-1].length;
            const int b = (spanEnd < windowEnd ? spanEnd : windowEnd) - p.srcX;
            if (a >= b)
                continue;
            int j0, j1;
            targets(a, b, &j0, &j1);
            if (j0 >= j1)
                continue;
            if (row != lastRow) {
                slot = slot + 1 == kSlots ? 0 : slot + 1;
                uint8_t* const base = slots + slot * slotBytes;
                Sorted& s = sorted[slot];
                s.pixels = base;
                s.masks = base + rowBytes;
                const ptrdiff_t shift = ptrdiff_t(first->offset) - first->start + p.srcX;
                gather.Run(base, p.pixels, shift, j0, j1);
                gather.Run(base + rowBytes, p.masks, shift, j0, j1);
                const size_t spanStart = size_t(j0) * Bytes, spanBytes = size_t(j1 - j0) * Bytes;
                s.narrow = spanBytes < size_t(kRunBlock);
                s.opaque = s.mixed = 0;
                if (!s.narrow) {
                    uint32_t* blocks = reinterpret_cast<uint32_t*>(base + 2 * rowBytes);
                    s.blocks = blocks;
                    // Opaque blocks fill the list from the front, mixed ones
                    // from the back.
                    uint32_t* mixedBack = blocks + maxBlocks;
                    for (size_t at = spanStart;; at += kRunBlock) {
                        if (at + kRunBlock > spanStart + spanBytes)
                            at = spanStart + spanBytes - kRunBlock;
                        const int kind = ops.Classify(s.masks + at);
                        if (kind == 2)
                            blocks[s.opaque++] = uint32_t(at);
                        else if (kind == 1)
                            *--mixedBack = uint32_t(at), ++s.mixed;
                        if (at + kRunBlock >= spanStart + spanBytes)
                            break;
                    }
                }
                lastRow = row;
            }
            plan[planned++] = {p.dst + k * p.dstPitch, slot, first, stop};
        }
        for (int i = 0; i < planned; ++i) {
            const Planned& r = plan[i];
            const Sorted& s = sorted[r.slot];
            if (!s.narrow) {
                for (int n = 0; n < s.opaque; ++n)
                    ops.Copy(r.dst + s.blocks[n], s.pixels + s.blocks[n]);
                const uint32_t* mixed = s.blocks + maxBlocks - s.mixed;
                for (int n = 0; n < s.mixed; ++n)
                    ops.Blend(r.dst + mixed[n], s.pixels + mixed[n], s.masks + mixed[n]);
                continue;
            }
            for (const TrleRun* run = r.first; run != r.stop; ++run) {
                const int a = (run->start > p.srcX ? run->start : p.srcX) - p.srcX;
                const int b = (run->start + run->length < windowEnd ? run->start + run->length : windowEnd) - p.srcX;
                if (a >= b)
                    continue;
                int t0, t1;
                targets(a, b, &t0, &t1);
                if (t0 < t1)
                    ops.CopyRun(r.dst + ptrdiff_t(t0) * Bytes, s.pixels + ptrdiff_t(t0) * Bytes,
                                size_t(t1 - t0) * Bytes);
            }
        }
    }
}

template <int Bytes, class Gather, class Ops>
void TrleRunDraw(const TrleRunParams& p)
{
    const bool unscaled = p.width == p.srcWidth && p.height == p.srcHeight;
    if (unscaled && !(p.flags & (BLIT_MIRROR_X | BLIT_MIRROR_Y)) && p.program && p.srcX == 0 &&
        p.width == p.spriteWidth)
        TrleBlockDraw(p, Ops{});
    else if (unscaled && !(p.flags & BLIT_MIRROR_X))
        TrleRunDrawDirect<Bytes>(p, Ops{});
    else
        TrleRunDrawGeneral<Bytes, Gather, Ops>(p, Ops{});
}

} // namespace

// The entry points of one tier, for its file to expand with its Gather
// template and its Ops template (Ops<Min> for runs at least Min bytes long).
#define VELDRA_DEFINE_TRLE_RUN_KERNELS(tier, Gather, Ops)                                                        \
    void TrleRunCopy8_##tier(const TrleRunParams& p) { TrleRunDraw<1, Gather<1>, Ops<1>>(p); }                   \
    void TrleRunCopy16_##tier(const TrleRunParams& p) { TrleRunDraw<2, Gather<2>, Ops<2>>(p); }                  \
    void TrleRunCopy32_##tier(const TrleRunParams& p) { TrleRunDraw<4, Gather<4>, Ops<4>>(p); }
