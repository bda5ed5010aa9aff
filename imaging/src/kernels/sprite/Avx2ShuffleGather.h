#pragma once
// Gathering the pixels a scaled or mirrored row shows with byte shuffles, for
// the AVX2 tier (include it only from *_avx2.cpp files). When the sprite is
// not shrunk, neighbouring target columns differ by at most one source
// column, so the 16 / Bytes target columns of a 128-bit half read at most
// 16 consecutive source bytes: one shuffle fetches them, its control being
// each column's distance from the lowest of them. Blocks of 32 bytes are
// aligned to the target rectangle, so their controls and source columns are
// worked out once per change of the columns; a row gathers every block its
// run touches, the lanes outside the run reading (and discarding) pixels
// around it: within 32 / Bytes - 1 columns before the run and
// 48 / Bytes - 1 after it. One more block, the tail, ends at the
// rectangle's right edge (for rectangles at least a block wide), so that a
// whole row can be covered without writing past it.

#include "kernels/sprite/TrleRowWalk.h"

#include <immintrin.h>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

template <int Bytes>
class ShuffleBlocks {
public:
    static constexpr int kColumns = 32 / Bytes; // target columns per block
    static constexpr int kHalf = kColumns / 2;

    // Usable only when the window is not shrunk (see Usable).
    explicit ShuffleBlocks(const GatherSetup& setup)
    {
        if (!Usable(setup))
            return;
        // Per thread and pixel size, made again only when the columns change.
        thread_local std::vector<uint8_t> controls;
        thread_local std::vector<int> bases;
        thread_local uint64_t madeFor = 0;
        const int blocks = (setup.width + kColumns - 1) / kColumns;
        m_tail = blocks;
        if (madeFor != setup.generation || controls.size() != size_t(blocks + 1) * 32) {
            controls.resize(size_t(blocks + 1) * 32);
            bases.resize(size_t(blocks + 1) * 2);
            const int tailColumn = setup.width > kColumns ? setup.width - kColumns : 0;
            for (int b = 0; b <= blocks; ++b)
                for (int half = 0; half < 2; ++half) {
                    const int column = b == blocks ? tailColumn : kColumns * b;
                    const uint16_t* h = setup.columns + column + kHalf * half;
                    const int base = h[0] < h[kHalf - 1] ? h[0] : h[kHalf - 1];
                    bases[size_t(b) * 2 + half] = base * Bytes;
                    for (int i = 0; i < kHalf; ++i)
                        for (int k = 0; k < Bytes; ++k)
                            controls[size_t(b) * 32 + 16 * half + Bytes * i + k] = uint8_t((h[i] - base) * Bytes + k);
                }
            madeFor = setup.generation;
        }
        m_controls = controls.data();
        m_bases = bases.data();
    }

    static bool Usable(const GatherSetup& setup) { return setup.srcWidth <= setup.width; }

    // The block ending at the rectangle's right edge.
    int Tail() const { return m_tail; }

    // The source columns blocks [first, last] read lie within [*low, *high).
    void ReadRange(int first, int last, int* low, int* high) const
    {
        const int a = m_bases[first * 2] / Bytes, z = m_bases[last * 2 + 1] / Bytes;
        *low = a < z ? a : z;
        *high = (a < z ? z : a) + kHalf;
    }

    // Writes blocks [first, last] to slot + 32 × block, the pixel of window
    // column c being read at source + (c + shift) × Bytes.
    void Gather(uint8_t* slot, const uint8_t* source, ptrdiff_t shift, int first, int last) const
    {
        for (int b = first; b <= last; ++b)
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(slot + 32 * b), Block(source, shift, b));
    }

    // Block b (or the tail) as a vector.
    [[gnu::always_inline]] __m256i Block(const uint8_t* source, ptrdiff_t shift, int b) const
    {
        source += shift * Bytes;
        return Shuffle(source + m_bases[b * 2], source + m_bases[b * 2 + 1], Control(b));
    }

    // Block b (or the tail) of two sources read alike (pixels and masks).
    [[gnu::always_inline]] void Block2(const uint8_t* first, const uint8_t* second, int b, __m256i* fromFirst,
                                       __m256i* fromSecond) const
    {
        const ptrdiff_t low = m_bases[b * 2], high = m_bases[b * 2 + 1];
        const __m256i control = Control(b);
        *fromFirst = Shuffle(first + low, first + high, control);
        *fromSecond = Shuffle(second + low, second + high, control);
    }

private:
    __m256i Control(int b) const { return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(m_controls + 32 * b)); }
    static __m256i Shuffle(const uint8_t* low, const uint8_t* high, __m256i control)
    {
        const __m256i both =
            _mm256_inserti128_si256(_mm256_castsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(low))),
                                    _mm_loadu_si128(reinterpret_cast<const __m128i*>(high)), 1);
        return _mm256_shuffle_epi8(both, control);
    }

    int m_tail = 0;
    const uint8_t* m_controls = nullptr;
    const int* m_bases = nullptr; // byte offsets of each half's lowest column
};

} // namespace
