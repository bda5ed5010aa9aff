#pragma once
// The ground's inner loop: one screen row of the perspective ground plane.
//
// A row of the view looks at a line across the ground from a left point to a
// right point. Sample j of n reads the texel at
//     u = uLeft + sign(uSpan) · ⌊j · |uSpan| / n⌋,  v likewise,
// (only the low 8 bits of u and v count: the 256 × 256 texture repeats) and
// writes it as one pixel, or two adjacent equal pixels in double-width rows.
// The texture a row reads is already shaded for the row's fog level (the
// world view keeps one per level in use), so a sample costs one lookup.
//
// The portable kernel steps u and v with an integer error accumulator, as the
// formula reads. The vector kernels compute the same ⌊j·|span|/n⌋ in 8.24
// fixed point: with the step rounded up, s = ⌈|span| · 2^24 / n⌉, the product
// j · s / 2^24 exceeds j·|span|/n by less than n / 2^24, which is far below
// 1/n, the smallest distance from a non-integer j·|span|/n to the next
// integer, so the floor is exact; and since only 8 integer bits are kept,
// 32-bit lanes wrapping mod 2^32 lose nothing.

#include <cstdint>

struct GroundRow {
    const void* texture; // 256 × 256 pixels (uint8_t or uint16_t), row v at v × 256, then 4 spare bytes
    uint8_t* target;     // the row's first pixel
    int samples;            // n: the view width, or half of it in double-width rows
    int32_t uLeft, vLeft;
    int32_t uSpan, vSpan;   // right point minus left point
};

enum class GroundPixels {
    Index8, // 8-bit pixels
    Rgb16,  // 16-bit pixels
};

using GroundRowKernel = void (*)(const GroundRow& row);

// The portable kernel for a pixel kind and width.
GroundRowKernel PortableGroundKernel(GroundPixels pixels, bool doubleWidth);
// The AVX2 kernel, or null when the processor lacks AVX2.
GroundRowKernel Avx2GroundKernel(GroundPixels pixels, bool doubleWidth);
// The kernel to use: the vector one when `simd` allows it and the processor
// has it, else the portable one.
GroundRowKernel ChooseGroundKernel(GroundPixels pixels, bool doubleWidth, bool simd);

// The 8.24 step of the vector kernels: ⌈|span| · 2^24 / n⌉ mod 2^32.
inline uint32_t GroundFixedStep(int32_t span, int samples)
{
    const uint64_t magnitude = span < 0 ? uint64_t(-int64_t(span)) : uint64_t(span);
    return uint32_t(((magnitude << 24) + uint64_t(samples) - 1) / uint64_t(samples));
}
