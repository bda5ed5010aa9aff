#pragma once
// How the run kernels walk a sprite, written once for every tier. An Ops
// policy moves pixels: its Mover makes moves of fixed sizes, CopyRun copies
// any run, Blend mixes one 32-byte block into the target through a mask. A
// Gather draws the blocks of scaled and mirrored rows. Internal linkage
// throughout (see PixelOps.h).

#include "kernels/sprite/TrleRowWalk.h"
#include "kernels/sprite/TrleRunKernels.h"

#include <bit>
#include <cstring>

namespace {

constexpr int kRunBlock = 32;

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

// The moves of the tiers that move Block bytes at a time, for runs at least
// Min bytes long.
template <int Block, int Min, class MoverType = PlainMover>
struct FixedMoves {
    using Mover = MoverType;
    [[gnu::always_inline]] void CopyRun(uint8_t* dst, const uint8_t* src, size_t n) const
    {
        CopyRunBytes<Block, Min, Mover>(dst, src, n);
    }
};

// Draws the blocks of a scaled or mirrored row: for blocks [begin, end) of
// the target row (block b covering the 32 / Bytes columns from
// b × 32 / Bytes) and, with `tail`, the block ending at the rectangle's right
// edge, gathers the pixels and masks those columns show from a row of the
// sprite's rectangle (window column c at pixels + c × Bytes) and blends them
// into `rows` target rows from `dst`.
template <int Bytes>
class ScalarRectGather {
public:
    explicit ScalarRectGather(const GatherSetup& setup) : m_columns(setup.columns), m_width(setup.width) {}
    template <class Ops>
    void DrawRow(const Ops& ops, uint8_t* dst, ptrdiff_t pitch, int rows, const uint8_t* pixels,
                 const uint8_t* masks, int begin, int end, bool tail) const
    {
        constexpr int kColumns = kRunBlock / Bytes;
        for (int b = begin; b < end; ++b)
            Block(ops, dst, pitch, rows, pixels, masks, b * kColumns);
        if (tail)
            Block(ops, dst, pitch, rows, pixels, masks, m_width - kColumns);
    }

private:
    template <class Ops>
    void Block(const Ops& ops, uint8_t* dst, ptrdiff_t pitch, int rows, const uint8_t* pixels, const uint8_t* masks,
               int column) const
    {
        alignas(32) uint8_t pixel[kRunBlock], mask[kRunBlock];
        for (int i = 0; i < kRunBlock / Bytes; ++i) {
            const size_t from = size_t(m_columns[column + i]) * Bytes;
            std::memcpy(pixel + i * Bytes, pixels + from, Bytes);
            std::memcpy(mask + i * Bytes, masks + from, Bytes);
        }
        dst += ptrdiff_t(column) * Bytes;
        for (int k = 0; k < rows; ++k, dst += pitch)
            ops.Blend(dst, pixel, mask);
    }

    const uint16_t* m_columns;
    int m_width;
};

// Unscaled, not mirrored horizontally, the window as wide as the sprite and
// not mirrored vertically: the move program's lists, each in one loop over
// the window's rows. Moves of one run may overlap; they copy the same bytes.
template <class Mover, int Size>
[[gnu::always_inline]] inline void TrleMoves(const TrleMoveProgram& program, int y0, int y1, uint8_t* origin,
                                             ptrdiff_t shift, const uint8_t* pixels)
{
    constexpr int kIndex = std::countr_zero(TrleMoveProgram::kWidestMove / Size);
    const TrleMove* const end = program.moves[kIndex] + program.first[kIndex][y1];
    for (const TrleMove* m = program.moves[kIndex] + program.first[kIndex][y0]; m != end; ++m)
        Mover::template Move<Size>(origin + (shift + m->dst), pixels + m->src);
}

template <class Mover, int Bytes>
void TrleMoveDraw(const TrleRunParams& p)
{
    // Locals, so that the stores, which may alias anything, do not force the
    // parameters to be read again for every move.
    const TrleMoveProgram program = *p.program;
    const uint8_t* const pixels = p.pixels;
    const int y0 = p.srcY, y1 = p.srcY + p.height;
    // Offsets count from the sprite's top-left pixel, which lies y0 rows up.
    uint8_t* const origin = p.dst;
    const ptrdiff_t shift = -ptrdiff_t(y0) * p.dstPitch;
    static_assert(TrleMoveProgram::kWidestMove == 64);
    TrleMoves<Mover, 64>(program, y0, y1, origin, shift, pixels);
    TrleMoves<Mover, 32>(program, y0, y1, origin, shift, pixels);
    TrleMoves<Mover, 16>(program, y0, y1, origin, shift, pixels);
    TrleMoves<Mover, 8>(program, y0, y1, origin, shift, pixels);
    TrleMoves<Mover, 4>(program, y0, y1, origin, shift, pixels);
    // Runs of 16 and 32-bit pixels are never shorter.
    if constexpr (Bytes <= 2)
        TrleMoves<Mover, 2>(program, y0, y1, origin, shift, pixels);
    if constexpr (Bytes == 1)
        TrleMoves<Mover, 1>(program, y0, y1, origin, shift, pixels);
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
// likewise), from the sprite's whole rectangle: every target row is covered
// by 32-byte blocks, the last one ending at the rectangle's right edge, and
// each block's pixels and masks are gathered once for all the target rows
// that show the same source row. Transparent pixels have zero masks, so no
// block needs to know where the runs are: neighbouring rows do much the same
// work, which keeps the processor's predictions right.
template <int Bytes, class Gather, class Ops>
void TrleRectDraw(const TrleRunParams& p, const Ops& ops)
{
    const bool mirrorX = p.flags & BLIT_MIRROR_X, mirrorY = p.flags & BLIT_MIRROR_Y;
    const int w = p.width, h = p.height, sw = p.srcWidth, sh = p.srcHeight;
    const TrleScratch& scratch = ThreadTrleColumns(w, sw, mirrorX);
    const uint16_t* columns = scratch.columns.data();
    const uint16_t* firstTarget = scratch.firstTarget.data();
    const Gather gather(GatherSetup{columns, scratch.generation, w, sw, nullptr, nullptr});
    constexpr int kColumns = kRunBlock / Bytes;
    const int aligned = w / kColumns;
    const int windowEnd = p.srcX + sw;
    const int qy = sh / h, ry = sh % h;
    int srcRow = 0, rowErr = 0;
    for (int k = 0; k < h;) {
        // Target rows k to k + rows - 1 show source row `shown`.
        const int shown = srcRow;
        int rows = 0;
        do {
            ++rows;
            srcRow += qy;
            rowErr += ry;
            if (rowErr >= h) {
                rowErr -= h;
                ++srcRow;
            }
        } while (k + rows < h && srcRow == shown);
        const int row = mirrorY ? p.srcY + sh - 1 - shown : p.srcY + shown;
        uint8_t* const dst = p.dst + k * p.dstPitch;
        k += rows;
        const TrleRun* first = p.runs + p.rowFirst[row];
        const TrleRun* stop = p.runs + p.rowFirst[row + 1];
        if (first == stop)
            continue;
        // The target columns [j0, j1) that the row's span shows.
        const int a = (first->start > p.srcX ? first->start : p.srcX) - p.srcX;
        const int spanEnd = stop[-1].start + stop[-1].length;
        const int b = (spanEnd < windowEnd ? spanEnd : windowEnd) - p.srcX;
        if (a >= b)
            continue;
        const int j0 = mirrorX ? firstTarget[sw - b] : firstTarget[a];
        const int j1 = mirrorX ? firstTarget[sw - a] : firstTarget[b];
        if (j0 >= j1)
            continue;
        const uint8_t* pixels = p.rectPixels + size_t(row) * p.rectPitch + size_t(p.srcX) * Bytes;
        const uint8_t* masks = p.rectMasks + size_t(row) * p.rectPitch + size_t(p.srcX) * Bytes;
        if (aligned == 0) {
            // Narrower than a block: pixel by pixel.
            for (int j = j0; j < j1; ++j) {
                const size_t from = size_t(columns[j]) * Bytes;
                if (masks[from] == 0)
                    continue;
                for (int r = 0; r < rows; ++r)
                    std::memcpy(dst + r * p.dstPitch + j * Bytes, pixels + from, Bytes);
            }
            continue;
        }
        // The aligned blocks the span touches; where it reaches past the
        // last of them, the tail block (blending a pixel twice changes
        // nothing). Pixels outside the span have zero masks.
        const int lastBlock = (j1 - 1) / kColumns;
        gather.DrawRow(ops, dst, p.dstPitch, rows, pixels, masks, j0 / kColumns,
                       lastBlock < aligned ? lastBlock + 1 : aligned, lastBlock >= aligned);
    }
}

template <int Bytes, class Gather, class Ops>
void TrleRunDraw(const TrleRunParams& p)
{
    const bool unscaled = p.width == p.srcWidth && p.height == p.srcHeight;
    if (unscaled && !(p.flags & (BLIT_MIRROR_X | BLIT_MIRROR_Y)) && p.program && p.srcX == 0 &&
        p.width == p.spriteWidth)
        TrleMoveDraw<typename Ops::Mover, Bytes>(p);
    else if (unscaled && !(p.flags & BLIT_MIRROR_X))
        TrleRunDrawDirect<Bytes>(p, Ops{});
    else
        TrleRectDraw<Bytes, Gather, Ops>(p, Ops{});
}

} // namespace

// The entry points of one tier, for its file to expand with its Gather
// template and its Ops template (Ops<Min> for runs at least Min bytes long).
#define VELDRA_DEFINE_TRLE_RUN_KERNELS(tier, Gather, Ops)                                                        \
    void TrleRunCopy8_##tier(const TrleRunParams& p) { TrleRunDraw<1, Gather<1>, Ops<1>>(p); }                   \
    void TrleRunCopy16_##tier(const TrleRunParams& p) { TrleRunDraw<2, Gather<2>, Ops<2>>(p); }                  \
    void TrleRunCopy32_##tier(const TrleRunParams& p) { TrleRunDraw<4, Gather<4>, Ops<4>>(p); }
