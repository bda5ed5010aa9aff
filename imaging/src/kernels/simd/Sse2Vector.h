#pragma once
// The 128-bit vector the SSE2 tier's kernels are written against. Include it
// only from *_sse2.cpp files: it is compiled for that instruction set. Its
// operations keep the element order of every lane-wise operation, so the
// kernels built on it give the elements in memory order.

#include <emmintrin.h>

#include <cstdint>
#include <cstring>

namespace {

struct Vec {
    using R = __m128i;
    static constexpr int kBytes = 16;

    static R Load(const void* p) { return _mm_loadu_si128(static_cast<const __m128i*>(p)); }
    static void Store(void* p, R v) { _mm_storeu_si128(static_cast<__m128i*>(p), v); }
    static R Zero() { return _mm_setzero_si128(); }
    static R Ones() { return _mm_set1_epi32(-1); }
    static R Set8(uint32_t v) { return _mm_set1_epi8(char(v)); }
    static R Set16(uint32_t v) { return _mm_set1_epi16(short(v)); }
    static R Set32(uint32_t v) { return _mm_set1_epi32(int(v)); }
    static R Eq8(R a, R b) { return _mm_cmpeq_epi8(a, b); }
    static R Eq16(R a, R b) { return _mm_cmpeq_epi16(a, b); }
    static R Eq32(R a, R b) { return _mm_cmpeq_epi32(a, b); }
    static R And(R a, R b) { return _mm_and_si128(a, b); }
    static R Or(R a, R b) { return _mm_or_si128(a, b); }
    // ~a & b
    static R AndNot(R a, R b) { return _mm_andnot_si128(a, b); }
    // Bytes of a where the mask is set, of b elsewhere.
    static R Select(R mask, R a, R b) { return _mm_or_si128(_mm_and_si128(mask, a), _mm_andnot_si128(mask, b)); }
    static R Add16(R a, R b) { return _mm_add_epi16(a, b); }
    static R Sub16(R a, R b) { return _mm_sub_epi16(a, b); }
    static R Mul16(R a, R b) { return _mm_mullo_epi16(a, b); }
    template <int N>
    static R Srl16(R v) { return _mm_srli_epi16(v, N); }
    template <int N>
    static R Sll16(R v) { return _mm_slli_epi16(v, N); }
    template <int N>
    static R Sll32(R v) { return _mm_slli_epi32(v, N); }
    static R UnpackLo8(R a, R b) { return _mm_unpacklo_epi8(a, b); }
    static R UnpackHi8(R a, R b) { return _mm_unpackhi_epi8(a, b); }
    static R PackUs16(R a, R b) { return _mm_packus_epi16(a, b); }
    // Element order reversed.
    static R Reverse16(R v)
    {
        v = _mm_shufflelo_epi16(v, 0x1B);
        v = _mm_shufflehi_epi16(v, 0x1B);
        return _mm_shuffle_epi32(v, 0x4E);
    }
    static R Reverse32(R v) { return _mm_shuffle_epi32(v, 0x1B); }
    // kBytes / 2 bytes widened to 16-bit elements.
    static R LoadBytesAs16(const uint8_t* p)
    {
        return _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p)), _mm_setzero_si128());
    }
    // kBytes / 4 bytes widened to 32-bit elements.
    static R LoadBytesAs32(const uint8_t* p)
    {
        int32_t word;
        std::memcpy(&word, p, 4);
        const R bytes = _mm_unpacklo_epi8(_mm_cvtsi32_si128(word), _mm_setzero_si128());
        return _mm_unpacklo_epi16(bytes, _mm_setzero_si128());
    }
    // One bit per byte, set where the byte's top bit is.
    static uint32_t MoveMask8(R v) { return uint32_t(_mm_movemask_epi8(v)); }

    // Table lookups of kBytes, kBytes / 2 and kBytes / 4 indices. SSE2 has
    // no gather: the entries are fetched one by one and assembled in
    // general registers, eight indices read as one word.
    static R Lookup8(const uint8_t* table, const uint8_t* idx)
    {
        uint64_t half[2];
        for (int h = 0; h < 2; ++h) {
            uint64_t x;
            std::memcpy(&x, idx + 8 * h, 8);
            uint64_t v = 0;
            for (int i = 0; i < 8; ++i)
                v |= uint64_t(table[(x >> (8 * i)) & 255]) << (8 * i);
            half[h] = v;
        }
        return _mm_set_epi64x(int64_t(half[1]), int64_t(half[0]));
    }
    static R Lookup16(const uint16_t* table, const uint8_t* idx)
    {
        uint64_t x;
        std::memcpy(&x, idx, 8);
        const uint64_t lo = uint64_t(table[x & 255]) | uint64_t(table[(x >> 8) & 255]) << 16 |
                            uint64_t(table[(x >> 16) & 255]) << 32 | uint64_t(table[(x >> 24) & 255]) << 48;
        const uint64_t hi = uint64_t(table[(x >> 32) & 255]) | uint64_t(table[(x >> 40) & 255]) << 16 |
                            uint64_t(table[(x >> 48) & 255]) << 32 | uint64_t(table[x >> 56]) << 48;
        return _mm_set_epi64x(int64_t(hi), int64_t(lo));
    }
    static R Lookup32(const uint32_t* table, const uint8_t* idx)
    {
        return _mm_set_epi32(int(table[idx[3]]), int(table[idx[2]]), int(table[idx[1]]), int(table[idx[0]]));
    }
};

} // namespace
