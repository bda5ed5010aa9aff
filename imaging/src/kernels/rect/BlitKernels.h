#pragma once
// The pixel kernels behind Blit. Every kernel takes one parameter record,
// belongs to one family (BlitKernelId) and may exist in several tiers: the
// portable one, which every family has, and SSE2 and AVX2 variants for the
// families where vector code pays. A family missing at a tier falls back to
// the tier below. The caller picks the family and the tier once per call;
// inside, each kernel picks the loop specialised for the call's keys and
// mirroring, so no loop tests a flag per pixel.
//
// Beside the tier table this header depends on nothing private, so the
// differential tests can run every tier of every family side by side.

#include "kernels/KernelTable.h"

#include <cstddef>
#include <cstdint>

// What a kernel is told. Both images are walked through row pointers the
// caller has already positioned, so kernels know nothing of bottom-up storage
// or vertical mirroring.
struct BlitParams {
    // First pixel of the clipped target rectangle; rows are dstPitch bytes
    // apart downwards (negative for a bottom-up image).
    uint8_t* dst = nullptr;
    ptrdiff_t dstPitch = 0;
    // The rectangle's position in the target: anchors the stipple matrix.
    int dstX = 0;
    int dstY = 0;
    int width = 0;
    int height = 0;
    // Leftmost pixel of the source rectangle in the first row to read, and
    // the step to the next row to read (negative when mirrored vertically or
    // bottom-up). With BLIT_MIRROR_X the kernel reads each row right to left
    // from column srcWidth - 1.
    const uint8_t* src = nullptr;
    ptrdiff_t srcPitch = 0;
    // Equal to width and height except for the scaled kernels.
    int srcWidth = 0;
    int srcHeight = 0;
    uint32_t flags = 0;
    // Keys cut to the pixel size.
    uint32_t srcKey = 0;
    uint32_t dstKey = 0;
    // `extra` limited to 0..256: the blend weight of the source; stipple
    // kernels use level >> 2.
    uint32_t level = 0;
    // Alpha kernels: the opacity bytes, positioned and walked like the source.
    const uint8_t* alpha = nullptr;
    ptrdiff_t alphaPitch = 0;
};

using BlitKernel = void (*)(const BlitParams&);

enum class BlitKernelId : uint8_t {
    Copy8,
    Copy16,
    Keyed8,
    Keyed16,
    Keyed24,
    Keyed32,
    Stipple8,
    Stipple16,
    Stipple24,
    Stipple32,
    AlphaStipple8,
    AlphaStipple16,
    AlphaStipple24,
    AlphaStipple32,
    // Level blends through the blend table (five significant bits).
    Blend555,
    Blend565,
    Blend24,
    Blend32,
    // Level blends with exact weights; the vector tiers' arithmetic.
    Blend555Exact,
    Blend565Exact,
    Blend32Exact,
    // Per-pixel alpha through the blend table, weights a and 255 - a.
    Alpha555,
    Alpha565,
    Alpha24,
    Alpha32,
    // Per-pixel alpha with exact weights a and 256 - a.
    Alpha555Exact,
    Alpha565Exact,
    Alpha32Exact,
    ScaledKeyed8,
    ScaledKeyed16,
    ScaledKeyed24,
    ScaledKeyed32,
    ScaledStipple8,
    ScaledStipple16,
    ScaledStipple24,
    ScaledStipple32,
    ScaledAlpha555,
    ScaledAlpha565,
    Count
};

// The kernels of every tier, by family (see KernelTable.h).
using BlitKernelTable = KernelTable<BlitKernel, BlitKernelId>;
extern const BlitKernelTable kBlitKernels;

// The blend-fill kernels behind BlendRect on 16-bit pixels: each pixel becomes
// the mix of `colour` (weight 256 - level) and itself (weight level). The
// table variant mixes at five bits per channel; the exact one at full width.
using BlendFillKernel = void (*)(uint8_t* bits, ptrdiff_t pitch, int x, int y, int w, int h, uint32_t colour,
                                 uint32_t level);
enum class BlendFillId : uint8_t { Table555, Table565, Exact555, Exact565, Count };
using BlendFillKernelTable = KernelTable<BlendFillKernel, BlendFillId>;
extern const BlendFillKernelTable kBlendFillKernels;
