#pragma once
// Entry points of the vector tiers, defined in the *_sse2.cpp and *_avx2.cpp
// files. Call them only through the kernel table, which offers a tier only
// on a processor that runs it.

#include "kernels/rect/BlitKernels.h"

#define VELDRA_DECLARE_SIMD_KERNELS(tier)                                                                  \
    void Keyed8_##tier(const BlitParams& p);                                                               \
    void Keyed16_##tier(const BlitParams& p);                                                              \
    void Stipple8_##tier(const BlitParams& p);                                                             \
    void Blend555Exact_##tier(const BlitParams& p);                                                        \
    void Blend565Exact_##tier(const BlitParams& p);                                                        \
    void Blend32Exact_##tier(const BlitParams& p);                                                         \
    void Alpha555Exact_##tier(const BlitParams& p);                                                        \
    void Alpha565Exact_##tier(const BlitParams& p);                                                        \
    void Alpha32Exact_##tier(const BlitParams& p);                                                         \
    void BlendFill555Exact_##tier(uint8_t* bits, ptrdiff_t pitch, int x, int y, int w, int h, uint32_t colour, \
                                  uint32_t level);                                                         \
    void BlendFill565Exact_##tier(uint8_t* bits, ptrdiff_t pitch, int x, int y, int w, int h, uint32_t colour, \
                                  uint32_t level);

VELDRA_DECLARE_SIMD_KERNELS(sse2)
VELDRA_DECLARE_SIMD_KERNELS(avx2)

#undef VELDRA_DECLARE_SIMD_KERNELS
