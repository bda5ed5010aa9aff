// The AVX2 tier of the run kernels: 32-byte moves, and shuffle gathers for
// rows that are not shrunk (see Avx2ShuffleGather.h).

#include "kernels/Avx2ShuffleGather.h"
#include "kernels/TrleRunWalk.h"

#include <immintrin.h>

namespace {

template <int Bytes>
class ShufflePixelGather {
public:
    explicit ShufflePixelGather(const GatherSetup& setup)
        : m_scalar(setup), m_blocks(setup), m_usable(ShuffleBlocks<Bytes>::Usable(setup))
    {
    }

    // The converted pixels and masks have margins wide enough for the reads
    // around a run (see TrleRunCache::kMarginPixels), so no read needs
    // checking.
    void Run(uint8_t* slot, const uint8_t* source, ptrdiff_t shift, int j0, int j1) const
    {
        constexpr int kColumns = ShuffleBlocks<Bytes>::kColumns;
        if (!m_usable || j1 - j0 < kColumns)
            m_scalar.Run(slot, source, shift, j0, j1);
        else
            m_blocks.Gather(slot, source, shift, j0 / kColumns, (j1 - 1) / kColumns);
    }

private:
    ScalarPixelGather<Bytes> m_scalar;
    ShuffleBlocks<Bytes> m_blocks;
    bool m_usable;
};

struct Avx2Mover {
    template <int N>
    [[gnu::always_inline]] static void Move(uint8_t* dst, const uint8_t* src)
    {
        if constexpr (N == 32)
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst),
                                _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src)));
        else
            std::memcpy(dst, src, N);
    }
};

template <int Min>
struct Avx2Ops : FixedMoves<32, Min, Avx2Mover> {
    [[gnu::always_inline]] void Blend(uint8_t* dst, const uint8_t* src, const uint8_t* mask) const
    {
        const __m256i m = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(mask));
        const __m256i s = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src));
        const __m256i d = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(dst));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst), _mm256_blendv_epi8(d, s, m));
    }
    [[gnu::always_inline]] int Classify(const uint8_t* mask) const
    {
        const uint32_t bits =
            uint32_t(_mm256_movemask_epi8(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(mask))));
        return bits == 0xFFFFFFFFu ? 2 : bits != 0 ? 1 : 0;
    }
};

} // namespace

VELDRA_DEFINE_TRLE_RUN_KERNELS(avx2, ShufflePixelGather, Avx2Ops)
