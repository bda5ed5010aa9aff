// The portable "TRLE" kernels and the table of every tier's.

#include "kernels/SimdTrleKernels.h"
#include "kernels/TrleKernels.h"
#include "kernels/TrleRowWalk.h"

#include <array>

namespace {

template <int Bytes>
struct PortableSpan {
    static constexpr int kBytes = Bytes;
    const void* table;
    void operator()(uint8_t* dst, const uint8_t* idx, int n) const { ScalarSpan<Bytes>(dst, idx, n, table); }
    void Repeat(uint8_t* dst, const uint8_t* previous, const uint8_t* idx, int n) const
    {
        ScalarRepeat<Bytes>(dst, previous, idx, n);
    }
};

struct PortableIdentitySpan {
    static constexpr int kBytes = 1;
    void operator()(uint8_t* dst, const uint8_t* idx, int n) const { ScalarSpanIdentity(dst, idx, n); }
    void Repeat(uint8_t* dst, const uint8_t*, const uint8_t* idx, int n) const { ScalarSpanIdentity(dst, idx, n); }
};

void Index8IdentityPortable(const TrleParams& p) { TrleDraw<PortableIdentitySpan, ScalarGather>(p, {}); }
void Index8Portable(const TrleParams& p) { TrleDraw<PortableSpan<1>, ScalarGather>(p, {p.table}); }
void Rgb16Portable(const TrleParams& p) { TrleDraw<PortableSpan<2>, ScalarGather>(p, {p.table}); }
void Rgb24Portable(const TrleParams& p) { TrleDraw<PortableSpan<3>, ScalarGather>(p, {p.table}); }
void Rgb32Portable(const TrleParams& p) { TrleDraw<PortableSpan<4>, ScalarGather>(p, {p.table}); }

using Row = std::array<TrleKernel, size_t(TrleKernelId::Count)>;
const std::array<Row, size_t(BlitTier::Count)> kTrleKernels = {{
    {Index8IdentityPortable, Index8Portable, Rgb16Portable, Rgb24Portable, Rgb32Portable},
    {TrleIndex8Identity_sse2, TrleIndex8_sse2, TrleRgb16_sse2, nullptr, TrleRgb32_sse2},
    {TrleIndex8Identity_avx2, TrleIndex8_avx2, TrleRgb16_avx2, nullptr, TrleRgb32_avx2},
}};

} // namespace

TrleKernel TrleKernelAt(BlitTier tier, TrleKernelId id)
{
    if (tier >= BlitTier::Count || id >= TrleKernelId::Count)
        return nullptr;
    return kTrleKernels[size_t(tier)][size_t(id)];
}

TrleKernel TrleKernelFor(BlitTier tier, TrleKernelId id)
{
    return KernelFallingBack<TrleKernel>(tier, [id](BlitTier t) { return TrleKernelAt(t, id); });
}
