#include "kernels/KernelTiers.h"

#include "imaging/CDibContext.h"
#include "imaging/CpuFeatures.h"

#include <cstdlib>
#include <cstring>
#include <iterator>

BlitTier RunnableTier(BlitTier tier)
{
    if (tier >= BlitTier::Count)
        tier = BlitTier::Avx2;
    while (tier != BlitTier::Portable && !TierSupported(tier))
        tier = BlitTier(uint8_t(tier) - 1);
    return tier;
}

bool TierSupported(BlitTier tier)
{
    // Asked on every blit: the processor is examined once.
    static const bool supported[] = {true, CpuHasSse2(), CpuHasSse2() && CpuHasAvx2()};
    static_assert(std::size(supported) == size_t(BlitTier::Count));
    return tier < BlitTier::Count && supported[size_t(tier)];
}

BlitTier BestSimdTier()
{
    static const BlitTier best = [] {
        const char* cap = std::getenv("VELDRA_SIMD");
        if (cap && std::strcmp(cap, "sse2") == 0)
            return RunnableTier(BlitTier::Sse2);
        return RunnableTier(BlitTier::Avx2);
    }();
    return best;
}

BlitTier ActiveBlitTier()
{
    return DibUseSimd() ? BestSimdTier() : BlitTier::Portable;
}
