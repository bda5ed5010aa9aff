#pragma once
// The vector "TRLE" spans, written once against a vector type V (see
// SimdBlitBodies.h). A span writes table[p] for every stored index p != 0 of
// a run. Writing a pixel twice gives the same result as writing it once (the
// source is the index, never the target), so a run's last partial vector is
// done as a whole vector ending at the run's end, overlapping the one
// before; runs shorter than a vector go pixel by pixel with the rule every
// tier shares.
//
// V must also offer Lookup8/16/32(table, indices) -> the table entries of
// kBytes, kBytes / 2 or kBytes / 4 indices; tables handed to Lookup8 and
// Lookup16 are readable 32 bytes past their end (see PaddedTable).

#include "kernels/TrleRowWalk.h"

#include <cstring>

namespace {

// A copy of a conversion table with zeroed room behind it, so that a gather
// reading a whole word at the last entry stays inside.
template <typename Entry>
struct PaddedTable {
    alignas(32) Entry entries[256 + 32 / sizeof(Entry)];
    explicit PaddedTable(const void* table)
    {
        std::memcpy(entries, table, 256 * sizeof(Entry));
        std::memset(entries + 256, 0, sizeof(entries) - 256 * sizeof(Entry));
    }
};

// Runs `block(i)` over whole vectors of `lanes` pixels covering [0, n), the
// last one overlapping; false (nothing done) for runs shorter than a vector.
template <class Block>
inline bool OverlappingBlocks(int n, int lanes, const Block& block)
{
    if (n < lanes)
        return false;
    int i = 0;
    for (; i + lanes <= n; i += lanes)
        block(i);
    if (i < n)
        block(n - lanes);
    return true;
}

// Eight indices at once in a general register: keep the target byte where
// the index is 0. Bit 7 of ((x & 0x7F..) + 0x7F..) | x is set exactly for the
// non-zero bytes of x.
inline void SwarIdentity8(uint8_t* dst, const uint8_t* idx)
{
    uint64_t x, t;
    std::memcpy(&x, idx, 8);
    std::memcpy(&t, dst, 8);
    const uint64_t low7 = 0x7F7F7F7F7F7F7F7Full;
    const uint64_t nonZero = (((x & low7) + low7) | x) & ~low7;
    const uint64_t mask = (nonZero >> 7) * 0xFF;
    t = (x & mask) | (t & ~mask);
    std::memcpy(dst, &t, 8);
}

template <class V>
struct VectorIdentitySpan {
    static constexpr int kBytes = 1;
    void operator()(uint8_t* dst, const uint8_t* idx, int n) const
    {
        const typename V::R zero = V::Zero();
        const bool done = OverlappingBlocks(n, V::kBytes, [&](int i) {
            const typename V::R s = V::Load(idx + i), t = V::Load(dst + i);
            V::Store(dst + i, V::Select(V::Eq8(s, zero), t, s));
        });
        if (done)
            return;
        if (!OverlappingBlocks(n, 8, [&](int i) { SwarIdentity8(dst + i, idx + i); }))
            ScalarSpanIdentity(dst, idx, n);
    }
};

template <class V>
struct VectorSpan8 {
    static constexpr int kBytes = 1;
    const uint8_t* table; // padded
    void operator()(uint8_t* dst, const uint8_t* idx, int n) const
    {
        const typename V::R zero = V::Zero();
        const bool done = OverlappingBlocks(n, V::kBytes, [&](int i) {
            const typename V::R s = V::Load(idx + i), t = V::Load(dst + i);
            V::Store(dst + i, V::Select(V::Eq8(s, zero), t, V::Lookup8(table, idx + i)));
        });
        if (!done)
            ScalarSpan<1>(dst, idx, n, table);
    }
};

template <class V>
struct VectorSpan16 {
    static constexpr int kBytes = 2;
    const uint16_t* table; // padded
    void operator()(uint8_t* dst, const uint8_t* idx, int n) const
    {
        const typename V::R zero = V::Zero();
        const bool done = OverlappingBlocks(n, V::kBytes / 2, [&](int i) {
            const typename V::R t = V::Load(dst + 2 * i);
            const typename V::R transparent = V::Eq16(V::LoadBytesAs16(idx + i), zero);
            V::Store(dst + 2 * i, V::Select(transparent, t, V::Lookup16(table, idx + i)));
        });
        if (!done)
            ScalarSpan<2>(dst, idx, n, table);
    }
};

template <class V>
struct VectorSpan32 {
    static constexpr int kBytes = 4;
    const uint32_t* table;
    void operator()(uint8_t* dst, const uint8_t* idx, int n) const
    {
        const typename V::R zero = V::Zero();
        const bool done = OverlappingBlocks(n, V::kBytes / 4, [&](int i) {
            const typename V::R t = V::Load(dst + 4 * i);
            const typename V::R transparent = V::Eq32(V::LoadBytesAs32(idx + i), zero);
            V::Store(dst + 4 * i, V::Select(transparent, t, V::Lookup32(table, idx + i)));
        });
        if (!done)
            ScalarSpan<4>(dst, idx, n, table);
    }
};

} // namespace

// The entry points of one tier, for its file to expand with its Gather.
#define VELDRA_DEFINE_TRLE_KERNELS(tier, Gather)                                                             \
    void TrleIndex8Identity_##tier(const TrleParams& p) { TrleDraw<VectorIdentitySpan<Vec>, Gather>(p, {}); } \
    void TrleIndex8_##tier(const TrleParams& p)                                                              \
    {                                                                                                        \
        const PaddedTable<uint8_t> table(p.table);                                                           \
        TrleDraw<VectorSpan8<Vec>, Gather>(p, {table.entries});                                              \
    }                                                                                                        \
    void TrleRgb16_##tier(const TrleParams& p)                                                               \
    {                                                                                                        \
        const PaddedTable<uint16_t> table(p.table);                                                          \
        TrleDraw<VectorSpan16<Vec>, Gather>(p, {table.entries});                                             \
    }                                                                                                        \
    void TrleRgb32_##tier(const TrleParams& p)                                                               \
    {                                                                                                        \
        TrleDraw<VectorSpan32<Vec>, Gather>(p, {static_cast<const uint32_t*>(p.table)});                     \
    }
