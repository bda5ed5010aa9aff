#pragma once
// The vector "TRLE" spans, written once against a vector type V (see
// SimdBlitBodies.h). A span writes table[p] for every stored index p != 0 of
// a run. A pixel's result depends only on its index and the target's pixel
// before the span, so a run's last partial vector is done as a whole vector
// ending at the run's end, overlapping the one before; runs shorter than a
// vector go pixel by pixel with the rule every tier shares.
//
// V must also offer Lookup8/16/32(table, indices) -> the table entries of
// kBytes, kBytes / 2 or kBytes / 4 indices; tables handed to Lookup8 and
// Lookup16 are readable 32 bytes past their end (see PaddedTable).

#include "kernels/sprite/TrleRowWalk.h"

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

// Runs over whole vectors of `lanes` pixels covering [0, n): store(i,
// compute(i)) for each. The last vector may overlap the one before it; it is
// computed first, from the target as it was, and stored last, because
// loading bytes that a store has just written in part stalls the processor
// for many cycles. False (nothing done) for runs shorter than a vector.
template <class Compute, class Store>
inline bool VectorBlocks(int n, int lanes, const Compute& compute, const Store& store)
{
    if (n < lanes)
        return false;
    const auto last = compute(n - lanes);
    for (int i = 0; i < n - lanes; i += lanes)
        store(i, compute(i));
    store(n - lanes, last);
    return true;
}

// Eight indices at once in a general register: the target byte stays where
// the index is 0. Bit 7 of ((x & 0x7F..) + 0x7F..) | x is set exactly for the
// non-zero bytes of x.
inline uint64_t SwarIdentity8(const uint8_t* dst, const uint8_t* idx)
{
    uint64_t x, t;
    std::memcpy(&x, idx, 8);
    std::memcpy(&t, dst, 8);
    const uint64_t low7 = 0x7F7F7F7F7F7F7F7Full;
    const uint64_t nonZero = (((x & low7) + low7) | x) & ~low7;
    const uint64_t mask = (nonZero >> 7) * 0xFF;
    return (x & mask) | (t & ~mask);
}

template <class V>
struct VectorIdentitySpan {
    static constexpr int kBytes = 1;
    [[gnu::always_inline]] void operator()(uint8_t* dst, const uint8_t* idx, int n) const
    {
        using R = typename V::R;
        const R zero = V::Zero();
        // Sprite interiors are mostly opaque: a vector without a zero index
        // is stored as it is, without reading the target.
        const auto compute = [&](int i) {
            const R s = V::Load(idx + i), transparent = V::Eq8(s, zero);
            return V::MoveMask8(transparent) == 0 ? s : V::Select(transparent, V::Load(dst + i), s);
        };
        if (VectorBlocks(n, V::kBytes, compute, [&](int i, R v) { V::Store(dst + i, v); }))
            return;
        const auto compute8 = [&](int i) { return SwarIdentity8(dst + i, idx + i); };
        if (!VectorBlocks(n, 8, compute8, [&](int i, uint64_t v) { std::memcpy(dst + i, &v, 8); }))
            ScalarSpanIdentity(dst, idx, n);
    }
    // The indices are the pixels: drawing them again is as cheap as copying.
    void Repeat(uint8_t* dst, const uint8_t*, const uint8_t* idx, int n) const { (*this)(dst, idx, n); }
};

// A span through a table of 8, 16 or 32-bit entries (`table` padded, see
// PaddedTable, for the 8 and 16-bit ones).
template <class V, int Bytes>
struct VectorSpan {
    using R = typename V::R;
    static constexpr int kBytes = Bytes;
    static constexpr int kLanes = V::kBytes / Bytes;
    const void* table;

    // All ones in the pixels whose index is 0.
    static R Transparent(const uint8_t* idx)
    {
        if constexpr (Bytes == 1)
            return V::Eq8(V::Load(idx), V::Zero());
        else if constexpr (Bytes == 2)
            return V::Eq16(V::LoadBytesAs16(idx), V::Zero());
        else
            return V::Eq32(V::LoadBytesAs32(idx), V::Zero());
    }
    R Lookup(const uint8_t* idx) const
    {
        if constexpr (Bytes == 1)
            return V::Lookup8(static_cast<const uint8_t*>(table), idx);
        else if constexpr (Bytes == 2)
            return V::Lookup16(static_cast<const uint16_t*>(table), idx);
        else
            return V::Lookup32(static_cast<const uint32_t*>(table), idx);
    }

    [[gnu::always_inline]] void operator()(uint8_t* dst, const uint8_t* idx, int n) const
    {
        const auto compute = [&](int i) {
            return V::Select(Transparent(idx + i), V::Load(dst + Bytes * i), Lookup(idx + i));
        };
        if (!VectorBlocks(n, kLanes, compute, [&](int i, R v) { V::Store(dst + Bytes * i, v); }))
            ScalarSpan<Bytes>(dst, idx, n, table);
    }
    // A row shown again: copy the previous target row where the index is not 0.
    void Repeat(uint8_t* dst, const uint8_t* previous, const uint8_t* idx, int n) const
    {
        const auto compute = [&](int i) {
            return V::Select(Transparent(idx + i), V::Load(dst + Bytes * i), V::Load(previous + Bytes * i));
        };
        if (!VectorBlocks(n, kLanes, compute, [&](int i, R v) { V::Store(dst + Bytes * i, v); }))
            ScalarRepeat<Bytes>(dst, previous, idx, n);
    }
};

} // namespace

// The entry points of one tier, for its file to expand with its Gather.
#define VELDRA_DEFINE_TRLE_KERNELS(tier, Gather)                                                             \
    void TrleIndex8Identity_##tier(const TrleParams& p) { TrleDraw<VectorIdentitySpan<Vec>, Gather>(p, {}); } \
    void TrleIndex8_##tier(const TrleParams& p)                                                              \
    {                                                                                                        \
        const PaddedTable<uint8_t> table(p.table);                                                           \
        TrleDraw<VectorSpan<Vec, 1>, Gather>(p, {table.entries});                                              \
    }                                                                                                        \
    void TrleRgb16_##tier(const TrleParams& p)                                                               \
    {                                                                                                        \
        const PaddedTable<uint16_t> table(p.table);                                                          \
        TrleDraw<VectorSpan<Vec, 2>, Gather>(p, {table.entries});                                             \
    }                                                                                                        \
    void TrleRgb32_##tier(const TrleParams& p)                                                               \
    {                                                                                                        \
        TrleDraw<VectorSpan<Vec, 4>, Gather>(p, {p.table});                     \
    }
