#pragma once
// Which kernel draws a clipped blit: a flat decision on the source's depth,
// the flags, whether the request scales, and whether the vector kernels may
// run. Kept apart from the locking so the decision table can be tested as a
// table.

#include "imaging/PixelFormat.h"
#include "kernels/rect/BlitKernels.h"

#include <cstdint>

struct BlitKernelChoice {
    bool draws = false;      // false: no kernel for this depth; nothing is drawn
    BlitKernelId id = BlitKernelId::Copy8;
    BlitTier tier = BlitTier::Portable;
    bool needsAlpha = false; // the kernel reads the alpha image in `extra`
};

// `simd`: the context allows the vector kernels (DibUseSimd). Most families
// take them only when the blit is not mirrored horizontally; the exact
// blends take them either way.
BlitKernelChoice ChooseBlitKernel(PixelFormat sourceFormat, uint32_t flags, bool scaled, bool simd);
