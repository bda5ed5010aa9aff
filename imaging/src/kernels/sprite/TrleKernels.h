#pragma once
// The kernels that draw "TRLE" sprites straight from their row tables: the
// stored 8-bit indices of each row are written through a 256-entry table
// into the target's pixels, index 0 being transparent. One kernel per kind
// of target pixel, in the portable, SSE2 and AVX2 tiers (see KernelTable.h
// for how tiers fall back).

#include "kernels/KernelTable.h"

#include <cstddef>
#include <cstdint>

struct TrleParams {
    // First pixel of the clipped target rectangle, rows dstPitch bytes apart
    // downwards (negative for a bottom-up target).
    uint8_t* dst = nullptr;
    ptrdiff_t dstPitch = 0;
    int dstX = 0;
    int dstY = 0;
    int width = 0;
    int height = 0;
    // The sprite's data area (row table at offset 16) and the source window;
    // a validated sprite, a window inside it.
    const uint8_t* data = nullptr;
    size_t dataSize = 0;
    int srcX = 0;
    int srcY = 0;
    int srcWidth = 0;
    int srcHeight = 0;
    // BLIT_MIRROR_X and BLIT_MIRROR_Y matter.
    uint32_t flags = 0;
    // 256 entries: bytes for PF_INDEX8 targets, 16-bit pixels for 16-bit
    // targets, 32-bit words (low three bytes used at 24 bits) otherwise.
    const void* table = nullptr;
};

using TrleKernel = void (*)(const TrleParams&);

enum class TrleKernelId : uint8_t {
    Index8Identity, // PF_INDEX8 target through the identity table: a keyed copy
    Index8,
    Rgb16,
    Rgb24,
    Rgb32,
    Count
};

using TrleKernelTable = KernelTable<TrleKernel, TrleKernelId>;
extern const TrleKernelTable kTrleKernels;
