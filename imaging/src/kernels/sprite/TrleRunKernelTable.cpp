// The portable run kernels and the table of every tier's.

#include "kernels/sprite/TrleRunKernels.h"

#include "kernels/sprite/TrleRunWalk.h"

#include <cstring>

namespace {

// Blocks as four 64-bit words.
template <int>
struct PortableOps {
    using Mover = PlainMover;
    void Blend(uint8_t* dst, const uint8_t* src, const uint8_t* mask) const
    {
        for (int i = 0; i < kRunBlock; i += 8) {
            uint64_t d, s, m;
            std::memcpy(&d, dst + i, 8);
            std::memcpy(&s, src + i, 8);
            std::memcpy(&m, mask + i, 8);
            d = (s & m) | (d & ~m);
            std::memcpy(dst + i, &d, 8);
        }
    }
    void CopyRun(uint8_t* dst, const uint8_t* src, size_t n) const { std::memcpy(dst, src, n); }
};

} // namespace

VELDRA_DEFINE_TRLE_RUN_KERNELS(portable, ScalarRectGather, PortableOps)

constinit const TrleRunKernelTable kTrleRunKernels{{{
    {TrleRunCopy8_portable, TrleRunCopy16_portable, TrleRunCopy32_portable},
    {TrleRunCopy8_sse2, TrleRunCopy16_sse2, TrleRunCopy32_sse2},
    {TrleRunCopy8_avx2, TrleRunCopy16_avx2, TrleRunCopy32_avx2},
}}};
