// Which kernel each tier offers per family of the rectangle kernels and the
// blend fills.

#include "kernels/rect/BlitKernels.h"
#include "kernels/rect/PortableKernels.h"
#include "kernels/rect/SimdKernels.h"

namespace {

using Id = BlitKernelId;
using KernelRow = BlitKernelTable::Row;

constexpr KernelRow MakePortable()
{
    KernelRow t{};
    t[size_t(Id::Copy8)] = Copy8Portable;
    t[size_t(Id::Copy16)] = Copy16Portable;
    t[size_t(Id::Keyed8)] = Keyed8Portable;
    t[size_t(Id::Keyed16)] = Keyed16Portable;
    t[size_t(Id::Keyed24)] = Keyed24Portable;
    t[size_t(Id::Keyed32)] = Keyed32Portable;
    t[size_t(Id::Stipple8)] = Stipple8Portable;
    t[size_t(Id::Stipple16)] = Stipple16Portable;
    t[size_t(Id::Stipple24)] = Stipple24Portable;
    t[size_t(Id::Stipple32)] = Stipple32Portable;
    t[size_t(Id::AlphaStipple8)] = AlphaStipple8Portable;
    t[size_t(Id::AlphaStipple16)] = AlphaStipple16Portable;
    t[size_t(Id::AlphaStipple24)] = AlphaStipple24Portable;
    t[size_t(Id::AlphaStipple32)] = AlphaStipple32Portable;
    t[size_t(Id::Blend555)] = Blend555Portable;
    t[size_t(Id::Blend565)] = Blend565Portable;
    t[size_t(Id::Blend24)] = Blend24Portable;
    t[size_t(Id::Blend32)] = Blend32Portable;
    t[size_t(Id::Blend555Exact)] = Blend555ExactPortable;
    t[size_t(Id::Blend565Exact)] = Blend565ExactPortable;
    t[size_t(Id::Blend32Exact)] = Blend32ExactPortable;
    t[size_t(Id::Alpha555)] = Alpha555Portable;
    t[size_t(Id::Alpha565)] = Alpha565Portable;
    t[size_t(Id::Alpha24)] = Alpha24Portable;
    t[size_t(Id::Alpha32)] = Alpha32Portable;
    t[size_t(Id::Alpha555Exact)] = Alpha555ExactPortable;
    t[size_t(Id::Alpha565Exact)] = Alpha565ExactPortable;
    t[size_t(Id::Alpha32Exact)] = Alpha32ExactPortable;
    t[size_t(Id::ScaledKeyed8)] = ScaledKeyed8Portable;
    t[size_t(Id::ScaledKeyed16)] = ScaledKeyed16Portable;
    t[size_t(Id::ScaledKeyed24)] = ScaledKeyed24Portable;
    t[size_t(Id::ScaledKeyed32)] = ScaledKeyed32Portable;
    t[size_t(Id::ScaledStipple8)] = ScaledStipple8Portable;
    t[size_t(Id::ScaledStipple16)] = ScaledStipple16Portable;
    t[size_t(Id::ScaledStipple24)] = ScaledStipple24Portable;
    t[size_t(Id::ScaledStipple32)] = ScaledStipple32Portable;
    t[size_t(Id::ScaledAlpha555)] = ScaledAlpha555Portable;
    t[size_t(Id::ScaledAlpha565)] = ScaledAlpha565Portable;
    return t;
}

// The families with vector variants; both vector tiers have the same set.
#define VELDRA_SIMD_ROW(tier)                                                                                \
    [] {                                                                                                     \
        KernelRow t{};                                                                                       \
        t[size_t(Id::Keyed8)] = Keyed8_##tier;                                                               \
        t[size_t(Id::Keyed16)] = Keyed16_##tier;                                                             \
        t[size_t(Id::Stipple8)] = Stipple8_##tier;                                                           \
        t[size_t(Id::Blend555Exact)] = Blend555Exact_##tier;                                                 \
        t[size_t(Id::Blend565Exact)] = Blend565Exact_##tier;                                                 \
        t[size_t(Id::Blend32Exact)] = Blend32Exact_##tier;                                                   \
        t[size_t(Id::Alpha555Exact)] = Alpha555Exact_##tier;                                                 \
        t[size_t(Id::Alpha565Exact)] = Alpha565Exact_##tier;                                                 \
        t[size_t(Id::Alpha32Exact)] = Alpha32Exact_##tier;                                                   \
        return t;                                                                                            \
    }()

constexpr BlitKernelTable::Rows kKernels = {
    MakePortable(),
    VELDRA_SIMD_ROW(sse2),
    VELDRA_SIMD_ROW(avx2),
};

constexpr BlendFillKernelTable::Rows kFills = {{
    {BlendFill555Portable, BlendFill565Portable, BlendFill555ExactPortable, BlendFill565ExactPortable},
    {nullptr, nullptr, BlendFill555Exact_sse2, BlendFill565Exact_sse2},
    {nullptr, nullptr, BlendFill555Exact_avx2, BlendFill565Exact_avx2},
}};

} // namespace

constinit const BlitKernelTable kBlitKernels{kKernels};
constinit const BlendFillKernelTable kBlendFillKernels{kFills};
