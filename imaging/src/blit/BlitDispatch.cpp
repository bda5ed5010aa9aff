#include "blit/BlitDispatch.h"

#include "blit/BlitKernelChoice.h"
#include "blit/TopDownRows.h"
#include "imaging/CDib.h"
#include "imaging/CDibContext.h"

namespace {

uint32_t PixelMask(int bytes)
{
    return bytes == 4 ? 0xFFFFFFFFu : (1u << (8 * bytes)) - 1;
}

// The alpha image of a BLIT_ALPHA or BLIT_ALPHA_STIPPLE call, locked; null
// when it is not ready (missing, not PF_INDEX8, not the source's size, or
// refusing the lock), in which case nothing is drawn.
CDib* LockAlphaImage(BlitExtra extra, const CDib& source, TopDownRows* rows)
{
    CDib* alpha = reinterpret_cast<CDib*>(extra);
    if (!alpha || alpha->GetFormat() != PF_INDEX8 || alpha->GetWidth() != source.GetWidth() ||
        alpha->GetHeight() != source.GetHeight())
        return nullptr;
    uint8_t* bits;
    int pitch;
    if (alpha->Lock(&bits, &pitch) != DIB_OK)
        return nullptr;
    *rows = ViewTopDown(*alpha, bits, pitch);
    return alpha;
}

} // namespace

DibResult BlitDispatch(CDib* source, CDib* target, const BlitRects& r, uint32_t flags, BlitExtra extra)
{
    const bool scaled = r.dw != r.sw || r.dh != r.sh;
    const BlitKernelChoice choice = ChooseBlitKernel(source->GetFormat(), flags, scaled, ActiveBlitTier() != BlitTier::Portable);
    const int bytes = int(PixelFormatBytes(source->GetFormat()));

    uint8_t* srcBits;
    int srcPitch;
    DibResult code = source->Lock(&srcBits, &srcPitch);
    if (code != DIB_OK)
        return code;
    uint8_t* dstBits;
    int dstPitch;
    code = target->Lock(&dstBits, &dstPitch);
    if (code != DIB_OK) {
        source->Unlock();
        return code;
    }

    // Kernels address the target with the source's pixel size: a target of
    // another size would be written past its rows, so nothing is drawn.
    const bool sameSize = PixelFormatBytes(target->GetFormat()) == uint32_t(bytes);
    TopDownRows alphaRows{};
    CDib* alpha = nullptr;
    if (choice.draws && sameSize && choice.needsAlpha)
        alpha = LockAlphaImage(extra, *source, &alphaRows);

    if (choice.draws && sameSize && (alpha || !choice.needsAlpha)) {
        const TopDownRows src = ViewTopDown(*source, srcBits, srcPitch);
        const TopDownRows dst = ViewTopDown(*target, dstBits, dstPitch);
        // Vertical mirroring starts at the last source row and walks upwards.
        const bool mirrorY = flags & BLIT_MIRROR_Y;
        const int firstRow = mirrorY ? r.sy + r.sh - 1 : r.sy;
        const ptrdiff_t rowStep = mirrorY ? -src.pitch : src.pitch;

        BlitParams p;
        p.dst = dst.top + ptrdiff_t(r.dy) * dst.pitch + ptrdiff_t(r.dx) * bytes;
        p.dstPitch = dst.pitch;
        p.dstX = r.dx;
        p.dstY = r.dy;
        p.width = r.dw;
        p.height = r.dh;
        p.src = src.top + ptrdiff_t(firstRow) * src.pitch + ptrdiff_t(r.sx) * bytes;
        p.srcPitch = rowStep;
        p.srcWidth = r.sw;
        p.srcHeight = r.sh;
        p.flags = flags;
        p.srcKey = source->SourceKey() & PixelMask(bytes);
        p.dstKey = target->DestKey() & PixelMask(bytes);
        p.level = extra > 256 ? 256u : uint32_t(extra);
        if (alpha) {
            p.alpha = alphaRows.top + ptrdiff_t(firstRow) * alphaRows.pitch + r.sx;
            p.alphaPitch = mirrorY ? -alphaRows.pitch : alphaRows.pitch;
        }
        kBlitKernels.For(choice.tier, choice.id)(p);
    }

    if (alpha)
        alpha->Unlock();
    target->Unlock();
    source->Unlock();
    return DIB_OK;
}
