#pragma once
// The 256-bit vector the AVX2 tier's kernels are written against. Include it
// only from *_avx2.cpp files: it is compiled for that instruction set. The
// pack and unpack operations work within each 128-bit half, as their SSE2
// counterparts do across the whole register; kernels pair them (unpack, then
// pack back) so that the elements come out in memory order either way.

#include <immintrin.h>

#include <cstdint>

namespace {

struct Vec {
    using R = __m256i;
    static constexpr int kBytes = 32;

    static R Load(const void* p) { return _mm256_loadu_si256(static_cast<const __m256i*>(p)); }
    static void Store(void* p, R v) { _mm256_storeu_si256(static_cast<__m256i*>(p), v); }
    static R Zero() { return _mm256_setzero_si256(); }
    static R Ones() { return _mm256_set1_epi32(-1); }
    static R Set8(uint32_t v) { return _mm256_set1_epi8(char(v)); }
    static R Set16(uint32_t v) { return _mm256_set1_epi16(short(v)); }
    static R Set32(uint32_t v) { return _mm256_set1_epi32(int(v)); }
    static R Eq8(R a, R b) { return _mm256_cmpeq_epi8(a, b); }
    static R Eq16(R a, R b) { return _mm256_cmpeq_epi16(a, b); }
    static R Eq32(R a, R b) { return _mm256_cmpeq_epi32(a, b); }
    static R And(R a, R b) { return _mm256_and_si256(a, b); }
    static R Or(R a, R b) { return _mm256_or_si256(a, b); }
    // ~a & b
    static R AndNot(R a, R b) { return _mm256_andnot_si256(a, b); }
    // Bytes of a where the mask is set, of b elsewhere.
    static R Select(R mask, R a, R b) { return _mm256_blendv_epi8(b, a, mask); }
    static R Add16(R a, R b) { return _mm256_add_epi16(a, b); }
    static R Sub16(R a, R b) { return _mm256_sub_epi16(a, b); }
    static R Mul16(R a, R b) { return _mm256_mullo_epi16(a, b); }
    template <int N>
    static R Srl16(R v) { return _mm256_srli_epi16(v, N); }
    template <int N>
    static R Sll16(R v) { return _mm256_slli_epi16(v, N); }
    template <int N>
    static R Sll32(R v) { return _mm256_slli_epi32(v, N); }
    static R UnpackLo8(R a, R b) { return _mm256_unpacklo_epi8(a, b); }
    static R UnpackHi8(R a, R b) { return _mm256_unpackhi_epi8(a, b); }
    static R PackUs16(R a, R b) { return _mm256_packus_epi16(a, b); }
    // Element order reversed across the whole register.
    static R Reverse16(R v)
    {
        v = _mm256_shufflelo_epi16(v, 0x1B);
        v = _mm256_shufflehi_epi16(v, 0x1B);
        v = _mm256_shuffle_epi32(v, 0x4E);
        return _mm256_permute4x64_epi64(v, 0x4E);
    }
    static R Reverse32(R v) { return _mm256_permutevar8x32_epi32(v, _mm256_setr_epi32(7, 6, 5, 4, 3, 2, 1, 0)); }
    // kBytes / 2 bytes widened to 16-bit elements.
    static R LoadBytesAs16(const uint8_t* p)
    {
        return _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)));
    }
    // kBytes / 4 bytes widened to 32-bit elements.
    static R LoadBytesAs32(const uint8_t* p)
    {
        return _mm256_cvtepu8_epi32(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p)));
    }
    // One bit per byte, set where the byte's top bit is.
    static uint32_t MoveMask8(R v) { return uint32_t(_mm256_movemask_epi8(v)); }

    // Table lookups of kBytes, kBytes / 2 and kBytes / 4 indices by gathers
    // of 32-bit words. The 8 and 16-bit tables are read a whole word at a
    // time, so they must be readable 3 bytes past entry 255 (PaddedTable).
    static R Lookup8(const uint8_t* table, const uint8_t* idx)
    {
        const R low = _mm256_set1_epi32(0xFF);
        R g[4];
        for (int i = 0; i < 4; ++i) {
            const R lanes = _mm256_cvtepu8_epi32(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(idx + 8 * i)));
            g[i] = _mm256_and_si256(_mm256_i32gather_epi32(reinterpret_cast<const int*>(table), lanes, 1), low);
        }
        // Packing works within 128-bit halves: dword k of the result holds
        // entries of gather k % 4, half k / 4; put them back in order.
        const R bytes = _mm256_packus_epi16(_mm256_packus_epi32(g[0], g[1]), _mm256_packus_epi32(g[2], g[3]));
        return _mm256_permutevar8x32_epi32(bytes, _mm256_setr_epi32(0, 4, 1, 5, 2, 6, 3, 7));
    }
    static R Lookup16(const uint16_t* table, const uint8_t* idx)
    {
        const R low = _mm256_set1_epi32(0xFFFF);
        const R i0 = _mm256_cvtepu8_epi32(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(idx)));
        const R i1 = _mm256_cvtepu8_epi32(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(idx + 8)));
        const R g0 = _mm256_and_si256(_mm256_i32gather_epi32(reinterpret_cast<const int*>(table), i0, 2), low);
        const R g1 = _mm256_and_si256(_mm256_i32gather_epi32(reinterpret_cast<const int*>(table), i1, 2), low);
        return _mm256_permute4x64_epi64(_mm256_packus_epi32(g0, g1), 0xD8);
    }
    static R Lookup32(const uint32_t* table, const uint8_t* idx)
    {
        const R i0 = _mm256_cvtepu8_epi32(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(idx)));
        return _mm256_i32gather_epi32(reinterpret_cast<const int*>(table), i0, 4);
    }
};

} // namespace
