// Drawing "TRLE" sprites straight from their row tables: clipping as for
// every blit, then one kernel per call chosen by the target's pixels (keyed
// blits through a 256-entry table) or by the sprite's (alpha blits).

#include "imaging/TrleSprite.h"

#include "blit/TopDownRows.h"
#include "common/ByteOrder.h"
#include "imaging/BlitClip.h"
#include "imaging/CDib.h"
#include "imaging/CDibContext.h"
#include "imaging/CDibPalette.h"
#include "imaging/DibAssert.h"
#include "imaging/TrleRunCache.h"
#include "kernels/rect/BlitKernels.h"
#include "kernels/sprite/TrleKernels.h"
#include "kernels/sprite/TrleRunKernels.h"

#include <array>
#include <cstring>

namespace {

bool IsIdentityTable(const void* table)
{
    static const std::array<uint8_t, 256> identity = [] {
        std::array<uint8_t, 256> t{};
        for (int i = 0; i < 256; ++i)
            t[i] = uint8_t(i);
        return t;
    }();
    return std::memcmp(table, identity.data(), 256) == 0;
}

bool TrleKernelForTarget(PixelFormat format, TrleKernelId* id)
{
    switch (format) {
    case PF_INDEX8: *id = TrleKernelId::Index8; return true;
    case PF_RGB555: case PF_BGR555: case PF_RGB565: case PF_BGR565: *id = TrleKernelId::Rgb16; return true;
    case PF_RGB24: case PF_BGR24: *id = TrleKernelId::Rgb24; return true;
    case PF_RGB32: case PF_BGR32: *id = TrleKernelId::Rgb32; return true;
    default: return false;
    }
}

// The opacity sprite of an alpha blit must be an 8-bit "TRLE" picture with
// the sprite's size and, row for row, the sprite's skip and count; anything
// else would have its opacities read from the wrong place (or past its end).
bool OpacityMatches(const TrleSpriteView& sprite, const TrleSpriteView* alpha)
{
    if (!alpha || alpha->format != PF_INDEX8 || alpha->width != sprite.width || alpha->height != sprite.height ||
        !ValidateTrleView(*alpha))
        return false;
    for (int row = 0; row < sprite.height; ++row)
        if (std::memcmp(sprite.RowEntry(row) + 4, alpha->RowEntry(row) + 4, 4) != 0)
            return false;
    return true;
}

bool AlphaKernelForSprite(PixelFormat format, bool simd, BlitKernelId* id)
{
    switch (format) {
    case PF_INDEX8: *id = BlitKernelId::AlphaStipple8; return true;
    case PF_RGB555: case PF_BGR555: *id = BlitKernelId::Alpha555; return true;
    case PF_RGB565: case PF_BGR565: *id = BlitKernelId::Alpha565; return true;
    case PF_RGB24: case PF_BGR24: *id = BlitKernelId::Alpha24; return true;
    case PF_RGB32: case PF_BGR32: *id = simd ? BlitKernelId::Alpha32Exact : BlitKernelId::Alpha32; return true;
    default: return false;
    }
}

// Unscaled alpha blit: the target is taken to be in the sprite's format
// (the sprite was converted to it beforehand); each stored pixel mixes by
// its opacity, row by row through the ordinary alpha kernels.
DibResult DrawAlpha(const TrleSpriteView& sprite, CDib* target, const BlitRects& r, uint32_t flags,
                    const TrleSpriteView* alpha)
{
    const BlitTier tier = ActiveBlitTier();
    BlitKernelId id;
    const int bytes = int(PixelFormatBytes(sprite.format));
    if (!AlphaKernelForSprite(sprite.format, tier != BlitTier::Portable, &id) || !OpacityMatches(sprite, alpha) ||
        PixelFormatBytes(target->GetFormat()) != uint32_t(bytes))
        return DIB_OK;
    uint8_t* bits;
    int pitch;
    DibResult code = target->Lock(&bits, &pitch);
    if (code != DIB_OK)
        return code;
    const TopDownRows dst = ViewTopDown(*target, bits, pitch);
    const BlitKernel kernel = kBlitKernels.For(tier, id);
    const bool mirrorX = flags & BLIT_MIRROR_X, mirrorY = flags & BLIT_MIRROR_Y;
    for (int k = 0; k < r.dh; ++k) {
        const int row = mirrorY ? r.sy + r.dh - 1 - k : r.sy + k;
        const uint8_t* entry = sprite.RowEntry(row);
        const int skip = ReadLE16(entry + 4), count = ReadLE16(entry + 6);
        const int lo = skip > r.sx ? skip : r.sx;
        const int hi = skip + count < r.sx + r.dw ? skip + count : r.sx + r.dw;
        if (lo >= hi)
            continue;
        // Window column c lands on rectangle column c - sx, or w - 1 - (c - sx)
        // mirrored; the run [lo, hi) starts at its left or its right end.
        const int first = mirrorX ? r.dw - (hi - r.sx) : lo - r.sx;
        BlitParams p;
        p.dst = dst.top + ptrdiff_t(r.dy + k) * dst.pitch + ptrdiff_t(r.dx + first) * bytes;
        p.dstX = r.dx + first;
        p.dstY = r.dy + k;
        p.width = p.srcWidth = hi - lo;
        p.height = p.srcHeight = 1;
        p.src = sprite.dataArea + ReadLE32(entry) + size_t(lo - skip) * bytes;
        p.alpha = alpha->dataArea + ReadLE32(alpha->RowEntry(row)) + (lo - skip);
        p.flags = flags & BLIT_MIRROR_X;
        kernel(p);
    }
    target->Unlock();
    return DIB_OK;
}

// A keyed blit from the sprite's run cache; false when the call is better
// drawn by the index kernels, which draw `index` (the same call) with
// `indexKernel`.
bool DrawFromCache(TrleRunCache& cache, int spriteWidth, const TrleParams& index, TrleKernel indexKernel, int bytes)
{
    const BlitTier tier = ActiveBlitTier();
    const TrleRunKernel kernel = kTrleRunKernels.For(
        tier, bytes == 1 ? TrleRunKernelId::Copy8 : bytes == 2 ? TrleRunKernelId::Copy16 : TrleRunKernelId::Copy32);
    TrleRunParams p;
    p.dst = index.dst;
    p.dstPitch = index.dstPitch;
    p.width = index.width;
    p.height = index.height;
    UseRunCache(p, cache, spriteWidth);
    p.srcX = index.srcX;
    p.srcY = index.srcY;
    p.srcWidth = index.srcWidth;
    p.srcHeight = index.srcHeight;
    p.flags = index.flags;
    const bool mirrorX = index.flags & BLIT_MIRROR_X;
    if (p.width == p.srcWidth && p.height == p.srcHeight && !mirrorX) {
        kernel(p);
        return true;
    }
    // Scaled or mirrored: the call's own moves once it repeats, so that its
    // rectangle then draws like an unscaled sprite. Its pixels are drawn into
    // the cache by the index kernels when the moves are made.
    const TrleScaledCall call{p.srcX, p.srcY, p.srcWidth, p.srcHeight, p.width, p.height, mirrorX,
                              (index.flags & BLIT_MIRROR_Y) != 0};
    // Shuffles gather from the rectangle (AVX2, not shrunk); gathering pixel
    // by pixel, the index kernels are faster.
    const bool gathered = tier >= BlitTier::Avx2 && p.srcWidth <= p.width && cache.EnsureRect();
    if (gathered)
        UseRunCache(p, cache, spriteWidth); // now with the rectangle
    uint8_t* fill = nullptr;
    if (const TrleMoveProgram* program = cache.ScaledProgram(call, p.dstPitch, &fill)) {
        if (fill && gathered) {
            TrleRunParams into = p;
            into.dst = fill;
            into.dstPitch = ptrdiff_t(p.width) * bytes;
            kernel(into);
        } else if (fill) {
            TrleParams into = index;
            into.dst = fill;
            into.dstPitch = ptrdiff_t(p.width) * bytes;
            into.dstX = into.dstY = 0;
            indexKernel(into);
        }
        p.pixels = cache.ScaledPixels();
        p.program = program;
        p.spriteWidth = p.srcWidth = p.width;
        p.srcHeight = p.height;
        p.srcX = p.srcY = 0;
        p.flags = 0;
        kernel(p);
        return true;
    }
    if (!gathered)
        return false;
    kernel(p);
    return true;
}

} // namespace

DibResult TrleBlit(const TrleSpriteView& sprite, CDib* target, int dstX, int dstY, int dstW, int dstH, int srcX,
                   int srcY, int srcW, int srcH, uint32_t flags, BlitExtra extra)
{
    DIB_ASSERT(!sprite.dataArea || ValidateTrleView(sprite), "sprites reach the blitter with validated row tables");
    BlitRects r{dstX, dstY, dstW, dstH, srcX, srcY, srcW, srcH};
    DibResult code;
    const bool created = sprite.dataArea && sprite.format != PF_NONE;
    if (ClipBlit(sprite.width, sprite.height, target, created, r, flags, &code) != BlitClipOutcome::Draw)
        return code;
    const bool scaled = r.dw != r.sw || r.dh != r.sh;
    if (flags & BLIT_ALPHA)
        return scaled ? DIB_OK : DrawAlpha(sprite, target, r, flags, reinterpret_cast<const TrleSpriteView*>(extra));

    // Keyed blits read the stored pixels as indices; index 0 is the key, so
    // a call that does not ask for the source key, or asks for the target's,
    // draws nothing.
    if (!(flags & BLIT_SRCKEY) || (flags & BLIT_DESTKEY))
        return DIB_OK;
    const PixelFormat format = target->GetFormat();
    TrleKernelId id;
    if (!TrleKernelForTarget(format, &id))
        return DIB_OK;
    const void* table = nullptr;
    if (flags & BLIT_TABLE)
        table = reinterpret_cast<const void*>(extra);
    else if (sprite.palette)
        table = sprite.palette->GetConversionTable(format, format == PF_INDEX8 ? target->GetPalette() : nullptr);
    if (!table)
        return DIB_OK;
    if (id == TrleKernelId::Index8 && IsIdentityTable(table))
        id = TrleKernelId::Index8Identity;
    const int bytes = int(PixelFormatBytes(format));

    uint8_t* bits;
    int pitch;
    code = target->Lock(&bits, &pitch);
    if (code != DIB_OK)
        return code;
    const TopDownRows dst = ViewTopDown(*target, bits, pitch);
    TrleParams p;
    p.dst = dst.top + ptrdiff_t(r.dy) * dst.pitch + ptrdiff_t(r.dx) * bytes;
    p.dstPitch = dst.pitch;
    p.dstX = r.dx;
    p.dstY = r.dy;
    p.width = r.dw;
    p.height = r.dh;
    p.data = sprite.dataArea;
    p.dataSize = sprite.dataSize;
    p.srcX = r.sx;
    p.srcY = r.sy;
    p.srcWidth = r.sw;
    p.srcHeight = r.sh;
    p.flags = flags;
    p.table = table;
    const TrleKernel kernel = kTrleKernels.For(ActiveBlitTier(), id);
    if (!(sprite.runCache && bytes != 3 && sprite.runCache->Prepare(sprite, table, bytes, dst.pitch) &&
          DrawFromCache(*sprite.runCache, sprite.width, p, kernel, bytes)))
        kernel(p);

    target->Unlock();
    return DIB_OK;
}
