// The portable "TRLE" kernels and the table of every tier's.

#include "kernels/sprite/TrleKernels.h"

#include "kernels/sprite/SimdTrleKernels.h"
#include "kernels/sprite/TrleRowWalk.h"

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

} // namespace

constinit const TrleKernelTable kTrleKernels{{{
    {Index8IdentityPortable, Index8Portable, Rgb16Portable, Rgb24Portable, Rgb32Portable},
    {TrleIndex8Identity_sse2, TrleIndex8_sse2, TrleRgb16_sse2, nullptr, TrleRgb32_sse2},
    {TrleIndex8Identity_avx2, TrleIndex8_avx2, TrleRgb16_avx2, nullptr, TrleRgb32_avx2},
}}};
