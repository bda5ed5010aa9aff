// The AVX2 tier of the "TRLE" kernels.

#include "kernels/Avx2Vector.h"
#include "kernels/SimdTrleBodies.h"
#include "kernels/SimdTrleKernels.h"

#include <vector>

namespace {

// When the sprite is not shrunk, neighbouring target columns differ by at
// most one source column, so 16 of them read at most 16 consecutive source
// bytes: one byte shuffle per 128-bit half fetches them, its control being
// each column's distance from the lowest of the 16. Blocks are aligned to the
// target rectangle, so their controls and source offsets are worked out once
// per call; a row gathers every block its run touches, the lanes outside the
// run reading (and discarding) bytes around it. Where those reads would
// leave the data area, the run is first copied into a buffer with margins.
class ShuffleGather {
public:
    explicit ShuffleGather(const GatherSetup& setup)
        : m_scalar(setup), m_narrow(setup.srcWidth <= setup.width), m_dataBegin(setup.dataBegin),
          m_dataEnd(setup.dataEnd)
    {
        if (!m_narrow)
            return;
        const int blocks = (setup.width + 31) / 32;
        thread_local std::vector<uint8_t> controls;
        thread_local std::vector<int> bases;
        // Made again only with the columns they come from.
        if (setup.columnsChanged || controls.size() != size_t(blocks) * 32) {
            controls.resize(size_t(blocks) * 32);
            bases.resize(size_t(blocks) * 2);
            MakeControls(setup, blocks, controls.data(), bases.data());
        }
        m_controls = controls.data();
        m_bases = bases.data();
    }

    static void MakeControls(const GatherSetup& setup, int blocks, uint8_t* controls, int* bases)
    {
        for (int b = 0; b < blocks; ++b) {
            const uint16_t* c = setup.columns + 32 * b;
            for (int half = 0; half < 2; ++half) {
                const uint16_t* h = c + 16 * half;
                const int base = h[0] < h[15] ? h[0] : h[15];
                bases[size_t(b) * 2 + half] = base;
                for (int i = 0; i < 16; ++i)
                    controls[size_t(b) * 32 + 16 * half + i] = uint8_t(h[i] - base);
            }
        }
    }

    const uint8_t* Run(uint8_t* slot, const TrleRow& row, int bias, int j0, int j1) const
    {
        if (!m_narrow || j1 - j0 < 32)
            return m_scalar.Run(slot, row, bias, j0, j1);
        const int first = j0 / 32, last = (j1 - 1) / 32;
        // Reads run from the lower to the higher end block's base (the
        // columns rise, or fall when mirrored); within 31 columns before the
        // run and 47 after it.
        const int a = m_bases[first * 2], z = m_bases[last * 2 + 1];
        const ptrdiff_t readFrom = (a < z ? a : z) - bias, readTo = (a < z ? z : a) + 16 - bias;
        const uint8_t* source = row.stored;
        if (readFrom < -(source - m_dataBegin) || readTo > m_dataEnd - source) {
            thread_local std::vector<uint8_t> padded;
            padded.assign(size_t(row.count) + 2 * kMargin, 0);
            std::memcpy(padded.data() + kMargin, row.stored, size_t(row.count));
            source = padded.data() + kMargin;
        }
        for (int b = first; b <= last; ++b) {
            const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + m_bases[b * 2] - bias));
            const __m128i high =
                _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + m_bases[b * 2 + 1] - bias));
            const __m256i control = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(m_controls + 32 * b));
            const __m256i bytes = _mm256_inserti128_si256(_mm256_castsi128_si256(low), high, 1);
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(slot + 32 * b), _mm256_shuffle_epi8(bytes, control));
        }
        return slot + j0;
    }

private:
    static constexpr int kMargin = 64;
    ScalarGather m_scalar;
    bool m_narrow;
    const uint8_t* m_dataBegin;
    const uint8_t* m_dataEnd;
    const uint8_t* m_controls = nullptr;
    const int* m_bases = nullptr;
};

} // namespace

VELDRA_DEFINE_TRLE_KERNELS(avx2, ShuffleGather)
