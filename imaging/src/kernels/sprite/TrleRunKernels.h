#pragma once
// The kernels that draw an 8-bit "TRLE" sprite from its run cache (see
// imaging/TrleRunCache.h): runs are copied from the sprite's
// converted pixels, so no pixel is looked up or tested for the key. Scaled
// and mirrored rows gather the converted pixels and masks they show from the
// sprite's rectangle, once per distinct source row. One kernel per pixel
// size, in the portable, SSE2 and AVX2 tiers.

#include "imaging/TrleRunCache.h"
#include "kernels/KernelTable.h"

#include <cstddef>
#include <cstdint>

struct TrleRunParams {
    // First pixel of the clipped target rectangle, rows dstPitch bytes apart
    // downwards (negative for a bottom-up target).
    uint8_t* dst = nullptr;
    ptrdiff_t dstPitch = 0;
    int width = 0;
    int height = 0;
    // The cache's runs and converted pixels (margins around them, see
    // TrleRunCache::kMarginPixels), and the source window inside the sprite.
    const uint32_t* rowFirst = nullptr;
    const TrleRun* runs = nullptr;
    const uint8_t* pixels = nullptr;
    const uint8_t* masks = nullptr;
    // The same sprite as moves for a target of dstPitch, drawn when the
    // window spans the sprite's whole width; may be null.
    const TrleMoveProgram* program = nullptr;
    int spriteWidth = 0;
    // The sprite's rectangle (see TrleRunCache::RectPixels); scaled and
    // mirrored calls need it.
    const uint8_t* rectPixels = nullptr;
    const uint8_t* rectMasks = nullptr;
    size_t rectPitch = 0;
    int srcX = 0;
    int srcY = 0;
    int srcWidth = 0;
    int srcHeight = 0;
    // BLIT_MIRROR_X and BLIT_MIRROR_Y matter.
    uint32_t flags = 0;
};

// Points p at everything the cache holds for the sprite, spriteWidth pixels
// wide.
inline void UseRunCache(TrleRunParams& p, const TrleRunCache& cache, int spriteWidth)
{
    p.rowFirst = cache.RowFirst();
    p.runs = cache.Runs();
    p.pixels = cache.Pixels();
    p.masks = cache.Masks();
    p.program = cache.Program();
    p.spriteWidth = spriteWidth;
    p.rectPixels = cache.RectPixels();
    p.rectMasks = cache.RectMasks();
    p.rectPitch = cache.RectPitch();
}

using TrleRunKernel = void (*)(const TrleRunParams&);

enum class TrleRunKernelId : uint8_t { Copy8, Copy16, Copy32, Count };

using TrleRunKernelTable = KernelTable<TrleRunKernel, TrleRunKernelId>;
extern const TrleRunKernelTable kTrleRunKernels;

// Entry points of the tiers; reach them through kTrleRunKernels.
void TrleRunCopy8_portable(const TrleRunParams& p);
void TrleRunCopy16_portable(const TrleRunParams& p);
void TrleRunCopy32_portable(const TrleRunParams& p);
void TrleRunCopy8_sse2(const TrleRunParams& p);
void TrleRunCopy16_sse2(const TrleRunParams& p);
void TrleRunCopy32_sse2(const TrleRunParams& p);
void TrleRunCopy8_avx2(const TrleRunParams& p);
void TrleRunCopy16_avx2(const TrleRunParams& p);
void TrleRunCopy32_avx2(const TrleRunParams& p);
