// The ground row in AVX2: eight samples at a time, coordinates in 8.24 fixed
// point (see GroundKernels.h for why that is exact), pixels fetched with one
// gather. Compiled with -mavx2; only called when the processor
// has it.

#include "GroundKernels.h"

#include <cstring>
#include <immintrin.h>

namespace {

template <typename Pixel, bool Doubled>
void GroundRowAvx2(const GroundRow& row)
{
    const int n = row.samples;
    const uint32_t stepU = GroundFixedStep(row.uSpan, n), stepV = GroundFixedStep(row.vSpan, n);
    const int32_t signU = row.uSpan < 0 ? -1 : 1, signV = row.vSpan < 0 ? -1 : 1;
    const auto* texture = static_cast<const Pixel*>(row.texture);
    auto* out = reinterpret_cast<Pixel*>(row.target);

    const __m256i lane = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
    __m256i accU = _mm256_mullo_epi32(lane, _mm256_set1_epi32(int(stepU)));
    __m256i accV = _mm256_mullo_epi32(lane, _mm256_set1_epi32(int(stepV)));
    const __m256i advanceU = _mm256_set1_epi32(int(stepU * 8u)), advanceV = _mm256_set1_epi32(int(stepV * 8u));
    const __m256i leftU = _mm256_set1_epi32(row.uLeft), leftV = _mm256_set1_epi32(row.vLeft);
    const __m256i signUv = _mm256_set1_epi32(signU), signVv = _mm256_set1_epi32(signV);
    const __m256i low8 = _mm256_set1_epi32(0xFF);
    const __m256i pixelMask = _mm256_set1_epi32(sizeof(Pixel) == 1 ? 0xFF : 0xFFFF);
    const int* texels = static_cast<const int*>(row.texture);

    int j = 0;
    for (; j + 8 <= n; j += 8) {
        // u = uLeft + sign · (acc >> 24), kept to its low 8 bits.
        const __m256i u = _mm256_and_si256(_mm256_add_epi32(leftU, _mm256_sign_epi32(_mm256_srli_epi32(accU, 24), signUv)), low8);
        const __m256i v = _mm256_and_si256(_mm256_add_epi32(leftV, _mm256_sign_epi32(_mm256_srli_epi32(accV, 24), signVv)), low8);
        const __m256i index = _mm256_or_si256(_mm256_slli_epi32(v, 8), u);
        // Four bytes read at each pixel; the spare bytes after the texture
        // keep the last ones inside.
        const __m256i value = _mm256_and_si256(_mm256_i32gather_epi32(texels, index, int(sizeof(Pixel))), pixelMask);
        accU = _mm256_add_epi32(accU, advanceU);
        accV = _mm256_add_epi32(accV, advanceV);

        if constexpr (sizeof(Pixel) == 2 && Doubled) {
            // Each 32-bit lane becomes two equal 16-bit pixels.
            const __m256i pairs = _mm256_or_si256(value, _mm256_slli_epi32(value, 16));
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + 2 * j), pairs);
        } else if constexpr (sizeof(Pixel) == 2) {
            const __m256i packed = _mm256_permute4x64_epi64(_mm256_packus_epi32(value, value), 0x08);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + j), _mm256_castsi256_si128(packed));
        } else if constexpr (Doubled) {
            const __m256i pairs = _mm256_or_si256(value, _mm256_slli_epi32(value, 8));
            const __m256i packed = _mm256_permute4x64_epi64(_mm256_packus_epi32(pairs, pairs), 0x08);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 2 * j), _mm256_castsi256_si128(packed));
        } else {
            const __m256i words = _mm256_permute4x64_epi64(_mm256_packus_epi32(value, value), 0x08);
            const __m128i bytes = _mm_packus_epi16(_mm256_castsi256_si128(words), _mm256_castsi256_si128(words));
            _mm_storel_epi64(reinterpret_cast<__m128i*>(out + j), bytes);
        }
    }
    // The last samples, by the same fixed-point rule one at a time.
    for (; j < n; ++j) {
        const uint32_t offU = (uint32_t(j) * stepU) >> 24, offV = (uint32_t(j) * stepV) >> 24;
        const uint32_t u = uint32_t(row.uLeft + signU * int32_t(offU)) & 255u;
        const uint32_t v = uint32_t(row.vLeft + signV * int32_t(offV)) & 255u;
        const Pixel pixel = texture[(v << 8) | u];
        if constexpr (Doubled) {
            const Pixel pair[2] = {pixel, pixel};
            std::memcpy(out + 2 * j, pair, sizeof pair);
        } else {
            std::memcpy(out + j, &pixel, sizeof pixel);
        }
    }
}

} // namespace

GroundRowKernel Avx2GroundKernel(GroundPixels pixels, bool doubleWidth)
{
    if (pixels == GroundPixels::Index8)
        return doubleWidth ? GroundRowAvx2<uint8_t, true> : GroundRowAvx2<uint8_t, false>;
    return doubleWidth ? GroundRowAvx2<uint16_t, true> : GroundRowAvx2<uint16_t, false>;
}
