#include "blit/BlitDispatch.h"

#include "imaging/CDib.h"
#include "kernels/PixelAccess.h"

#include <cstring>

namespace {

// The 8 × 8 ordered-dither matrix, anchored to the target.
constexpr uint8_t kBayer[8][8] = {
    {1, 33, 9, 41, 3, 35, 11, 43},   {49, 17, 57, 25, 51, 19, 59, 27},
    {13, 45, 5, 37, 15, 47, 7, 39},  {61, 29, 53, 21, 63, 31, 55, 23},
    {4, 36, 12, 44, 2, 34, 10, 42},  {52, 20, 60, 28, 50, 18, 58, 26},
    {16, 48, 8, 40, 14, 46, 6, 38},  {64, 32, 56, 24, 62, 30, 54, 22},
};

// Reference kernel: keyed copy with mirroring, scaling and stipple, one pixel
// at a time. The specialised kernels must give the same pixels.
void GenericKeyedCopy(uint8_t* dst, int dstPitch, const uint8_t* src, int srcPitch, int bytes,
                      const BlitRects& r, uint32_t flags, uint32_t srcKey, uint32_t dstKey, int level)
{
    const bool mirrorX = flags & BLIT_MIRROR_X, mirrorY = flags & BLIT_MIRROR_Y;
    const bool stipple = flags & (BLIT_STIPPLE | BLIT_BLEND);
    const bool useSrcKey = flags & BLIT_SRCKEY, useDstKey = flags & BLIT_DESTKEY;
    int srcRow = mirrorY ? r.sy + r.sh - 1 : r.sy;
    int rowErr = 0;
    for (int k = 0; k < r.dh; ++k) {
        const uint8_t* srcLine = src + size_t(srcRow) * srcPitch;
        uint8_t* dstLine = dst + size_t(r.dy + k) * dstPitch;
        int srcCol = mirrorX ? r.sx + r.sw - 1 : r.sx;
        int colErr = 0;
        for (int j = 0; j < r.dw; ++j) {
            bool draw = !stipple || kBayer[(r.dy + k) & 7][(r.dx + j) & 7] <= level;
            if (draw) {
                uint32_t s = ReadPixel(srcLine + size_t(srcCol) * bytes, bytes);
                uint8_t* t = dstLine + size_t(r.dx + j) * bytes;
                if ((!useSrcKey || s != srcKey) && (!useDstKey || ReadPixel(t, bytes) == dstKey))
                    WritePixel(t, bytes, s);
            }
            colErr += r.sw;
            while (colErr >= r.dw) {
                colErr -= r.dw;
                srcCol += mirrorX ? -1 : 1;
            }
        }
        rowErr += r.sh;
        while (rowErr >= r.dh) {
            rowErr -= r.dh;
            srcRow += mirrorY ? -1 : 1;
        }
    }
}

} // namespace

DibResult BlitDispatch(CDib* source, CDib* target, const BlitRects& r, uint32_t flags, BlitExtra extra)
{
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
    const int bytes = int(PixelFormatBytes(source->GetFormat()));
    if (bytes >= 1 && bytes <= 4 && PixelFormatBytes(target->GetFormat()) == uint32_t(bytes)) {
        int level = int(extra >> 2);
        if (level > 64)
            level = 64;
        // Bottom-up images are walked through a negative pitch from their top row.
        const uint8_t* srcTop = srcBits;
        if (source->IsBottomUp()) {
            srcTop = srcBits + size_t(source->GetHeight() - 1) * srcPitch;
            srcPitch = -srcPitch;
        }
        uint8_t* dstTop = dstBits;
        if (target->IsBottomUp()) {
            dstTop = dstBits + size_t(target->GetHeight() - 1) * dstPitch;
            dstPitch = -dstPitch;
        }
        GenericKeyedCopy(dstTop, dstPitch, srcTop, srcPitch, bytes, r, flags, source->SourceKey(),
                         target->DestKey(), level);
    }
    target->Unlock();
    source->Unlock();
    return DIB_OK;
}
