#pragma once
// The tiers every kernel family may come in: the portable one, which every
// family has, and SSE2 and AVX2 variants where vector code pays. Which tier
// runs is decided here, once, for every family (see KernelTable.h for how a
// family falls back to the tier below).
//
// This header depends on nothing, so benchmarks can name the tier in use.

#include <cstdint>

enum class BlitTier : uint8_t { Portable, Sse2, Avx2, Count };

// The best vector tier this processor runs: AVX2 when present, else SSE2.
// VELDRA_SIMD=sse2 in the environment holds it at SSE2 (to time or test
// that tier on a newer processor). Read once.
BlitTier BestSimdTier();
// The tier every kernel runs at now: BestSimdTier() while a context allows the
// vector kernels (DibUseSimd), the portable tier otherwise. The one place
// that decides. (VELDRA_PORTABLE=1 in the environment keeps a context from
// allowing them; see CDibContext::Init.)
BlitTier ActiveBlitTier();
// True when the processor can run the tier.
bool TierSupported(BlitTier tier);
// The tier itself, or the nearest tier below it that the processor runs.
BlitTier RunnableTier(BlitTier tier);
