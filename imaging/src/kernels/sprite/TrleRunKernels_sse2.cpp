// The SSE2 tier of the run kernels: 16-byte moves; scaled and mirrored rows
// gather with the shared scalar loop (SSE2 has no byte shuffle).

#include "kernels/sprite/TrleRunWalk.h"

#include <emmintrin.h>

namespace {

template <int Min>
struct Sse2Ops : FixedMoves<16, Min> {
    [[gnu::always_inline]] void Blend(uint8_t* dst, const uint8_t* src, const uint8_t* mask) const
    {
        for (int i = 0; i < kRunBlock; i += 16) {
            const __m128i m = _mm_loadu_si128(reinterpret_cast<const __m128i*>(mask + i));
            const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
            const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dst + i));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i),
                             _mm_or_si128(_mm_and_si128(s, m), _mm_andnot_si128(m, d)));
        }
    }
};

} // namespace

VELDRA_DEFINE_TRLE_RUN_KERNELS(sse2, ScalarRectGather, Sse2Ops)
