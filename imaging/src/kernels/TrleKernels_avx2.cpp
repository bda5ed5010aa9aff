// The AVX2 tier of the "TRLE" kernels.

#include "kernels/Avx2Vector.h"
#include "kernels/SimdTrleBodies.h"
#include "kernels/SimdTrleKernels.h"

#include <vector>

namespace {

// When the sprite is not shrunk, neighbouring target columns differ by at
// most one source column, so 16 of them read at most 16 consecutive source
// bytes: one byte shuffle per 128-bit half fetches them, its control being
// each column's distance from the lowest of the 16. The run is first copied
// into a padded buffer so those 16-byte reads stay inside.
struct ShuffleGather {
    static void Run(uint8_t* out, const uint8_t* stored, int count, const uint16_t* columns, int n, int bias,
                    bool narrow)
    {
        if (!narrow || n < 32) {
            ScalarGather::Run(out, stored, count, columns, n, bias, narrow);
            return;
        }
        thread_local std::vector<uint8_t> padded;
        padded.resize(size_t(count) + 32);
        std::memcpy(padded.data(), stored, size_t(count));
        std::memset(padded.data() + count, 0, 32);
        const uint8_t* row = padded.data();
        OverlappingBlocks(n, 32, [&](int i) {
            const uint16_t* c = columns + i;
            const int base0 = (c[0] < c[15] ? c[0] : c[15]);
            const int base1 = (c[16] < c[31] ? c[16] : c[31]);
            const __m256i c0 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(c));
            const __m256i c1 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(c + 16));
            const __m256i d0 = _mm256_sub_epi16(c0, _mm256_set1_epi16(short(base0)));
            const __m256i d1 = _mm256_sub_epi16(c1, _mm256_set1_epi16(short(base1)));
            const __m256i control = _mm256_permute4x64_epi64(_mm256_packus_epi16(d0, d1), 0xD8);
            const __m256i source =
                _mm256_inserti128_si256(_mm256_castsi128_si256(_mm_loadu_si128(
                                            reinterpret_cast<const __m128i*>(row + base0 - bias))),
                                        _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + base1 - bias)), 1);
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i), _mm256_shuffle_epi8(source, control));
        });
    }
};

} // namespace

VELDRA_DEFINE_TRLE_KERNELS(avx2, ShuffleGather)
