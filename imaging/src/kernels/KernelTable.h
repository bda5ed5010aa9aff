#pragma once
// One family of kernels across the tiers: row t holds what tier t offers of
// its own, null where it offers nothing. Every family (the rectangle kernels,
// the blend fills, the "TRLE" kernels and the run kernels) keeps its kernels
// in one of these, so the lookup and the fallback are written once.

#include "kernels/KernelTiers.h"

#include <array>
#include <cstddef>

template <class Kernel, class Id>
class KernelTable {
public:
    using Row = std::array<Kernel, size_t(Id::Count)>;
    using Rows = std::array<Row, size_t(BlitTier::Count)>;

    constexpr explicit KernelTable(const Rows& rows) : m_rows(rows) {}

    // The kernel a tier has of its own for a family, or null (also for a
    // tier or family out of range).
    Kernel At(BlitTier tier, Id id) const
    {
        if (tier >= BlitTier::Count || id >= Id::Count)
            return nullptr;
        return m_rows[size_t(tier)][size_t(id)];
    }

    // The kernel to run at a tier: its own, else the nearest tier below's;
    // never one of a tier the processor cannot run.
    Kernel For(BlitTier tier, Id id) const
    {
        for (BlitTier t = RunnableTier(tier);; t = BlitTier(uint8_t(t) - 1)) {
            if (const Kernel kernel = At(t, id))
                return kernel;
            if (t == BlitTier::Portable)
                return nullptr;
        }
    }

private:
    Rows m_rows;
};
