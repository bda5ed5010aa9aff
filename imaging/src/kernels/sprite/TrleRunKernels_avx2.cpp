// The AVX2 tier of the run kernels: 32-byte moves, and shuffle gathers for
// rows that are not shrunk (see Avx2ShuffleGather.h).

#include "kernels/sprite/Avx2ShuffleGather.h"
#include "kernels/sprite/TrleRunWalk.h"

#include <immintrin.h>

namespace {

// Scaled and mirrored rows: shuffles where the window is not shrunk (the
// sprite's rectangle leaves room for the 16-byte reads of any pixel), the
// shared scalar loop otherwise.
template <int Bytes>
class ShuffleRectGather {
public:
    explicit ShuffleRectGather(const GatherSetup& setup)
        : m_scalar(setup), m_blocks(setup), m_usable(ShuffleBlocks<Bytes>::Usable(setup)), m_width(setup.width)
    {
    }

    template <class Ops>
    void DrawRow(const Ops& ops, uint8_t* dst, ptrdiff_t pitch, int rows, const uint8_t* pixels,
                 const uint8_t* masks, int begin, int end, bool tail) const
    {
        if (!m_usable) {
            m_scalar.DrawRow(ops, dst, pitch, rows, pixels, masks, begin, end, tail);
            return;
        }
        // Locals: the stores below may alias any member.
        const ShuffleBlocks<Bytes> blocks = m_blocks;
        const auto draw = [&](int block, uint8_t* at, auto rowsShown) {
            __m256i pixel, mask;
            blocks.Block2(pixels, masks, block, &pixel, &mask);
            // Most blocks of a sprite lie wholly outside or wholly inside
            // its outline: those need no read of the target.
            const int opaque = _mm256_movemask_epi8(mask);
            if (opaque == 0)
                return;
            if (opaque == -1) {
                for (int k = 0; k < rowsShown(); ++k, at += pitch)
                    _mm256_storeu_si256(reinterpret_cast<__m256i*>(at), pixel);
                return;
            }
            for (int k = 0; k < rowsShown(); ++k, at += pitch) {
                const __m256i old = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at));
                _mm256_storeu_si256(reinterpret_cast<__m256i*>(at), _mm256_blendv_epi8(old, pixel, mask));
            }
        };
        const auto row = [&](auto rowsShown) {
            for (int b = begin; b < end; ++b)
                draw(b, dst + b * kRunBlock, rowsShown);
            if (tail)
                draw(blocks.Tail(), dst + (m_width - ShuffleBlocks<Bytes>::kColumns) * Bytes, rowsShown);
        };
        // Enlarged twice, the usual case, with the count of rows known.
        if (rows == 2)
            row([] { return 2; });
        else
            row([rows] { return rows; });
    }

private:
    ScalarRectGather<Bytes> m_scalar;
    ShuffleBlocks<Bytes> m_blocks;
    bool m_usable;
    int m_width;
};

struct Avx2Mover {
    template <int N>
    [[gnu::always_inline]] static void Move(uint8_t* dst, const uint8_t* src)
    {
        if constexpr (N >= 32) {
            for (int i = 0; i < N; i += 32)
                _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + i),
                                    _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + i)));
        } else
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
};

} // namespace

VELDRA_DEFINE_TRLE_RUN_KERNELS(avx2, ShuffleRectGather, Avx2Ops)
