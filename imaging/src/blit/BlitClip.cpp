#include "imaging/BlitClip.h"

#include "imaging/BlitFlags.h"
#include "imaging/CDib.h"
#include "imaging/CDibRegion.h"

BlitClipOutcome ClipBlit(int sourceWidth, int sourceHeight, CDib* target, bool sourceCreated,
                         BlitRects& r, uint32_t flags, DibResult* code)
{
    *code = DIB_OK;
    if (!target) {
        *code = DIB_FAILED;
        return BlitClipOutcome::Refused;
    }
    if (!sourceCreated || !target->IsCreated()) {
        *code = DIB_NOT_CREATED;
        return BlitClipOutcome::Refused;
    }
    if (r.sx + r.sw < 0 || r.sy + r.sh < 0 || r.sx > sourceWidth || r.sy > sourceHeight) {
        *code = DIB_FAILED;
        return BlitClipOutcome::Refused;
    }
    if (flags & BLIT_NOCLIP)
        return BlitClipOutcome::Draw;
    // Negative sizes have no pixels; refuse them before any arithmetic.
    if (r.dw <= 0 || r.dh <= 0 || r.sw < 0 || r.sh < 0)
        return BlitClipOutcome::Nothing;

    DibRect k{0, 0, target->GetWidth(), target->GetHeight()};
    if (CDibRegion* region = target->GetClipRegion())
        region->GetBounds(&k);
    if (r.dx + r.dw <= k.x || r.dy + r.dh <= k.y || r.dx >= k.x + k.w || r.dy >= k.y + k.h)
        return BlitClipOutcome::Nothing;

    const int dx = r.dx, dy = r.dy, dw = r.dw, dh = r.dh;
    int cx = dx, cy = dy, cw = dw, ch = dh;
    if (cx < k.x) {
        cw -= k.x - cx;
        cx = k.x;
    }
    if (cx + cw > k.x + k.w)
        cw = k.x + k.w - cx;
    if (cy < k.y) {
        ch -= k.y - cy;
        cy = k.y;
    }
    if (cy + ch > k.y + k.h)
        ch = k.y + k.h - cy;
    if (cw <= 0 || ch <= 0)
        return BlitClipOutcome::Nothing;

    // Proportional source rectangle; 64-bit products so huge scales cannot overflow.
    int64_t sx = int64_t(cx - dx) * r.sw / dw + r.sx;
    int64_t sy = int64_t(cy - dy) * r.sh / dh + r.sy;
    int64_t sw = int64_t(r.sw) * cw / dw;
    int64_t sh = int64_t(r.sh) * ch / dh;
    if (sx < 0 || sy < 0 || sx + sw > sourceWidth || sy + sh > sourceHeight) {
        *code = DIB_FAILED;
        return BlitClipOutcome::Refused;
    }
    if (flags & BLIT_MIRROR_X) {
        // Mirrored sprites are drawn whole from column 0: what the screen edge
        // cuts off must come off the other side of the source.
        if (cx < r.sw)
            sx = 0;
        if (cx > k.x + k.w - r.sw)
            sx = r.sw - cw;
        if (sx < 0 || sx + sw > sourceWidth) {
            *code = DIB_FAILED;
            return BlitClipOutcome::Refused;
        }
    }
    r.dx = cx;
    r.dy = cy;
    r.dw = cw;
    r.dh = ch;
    r.sx = int(sx);
    r.sy = int(sy);
    r.sw = int(sw);
    r.sh = int(sh);
    if (r.sw <= 0 || r.sh <= 0)
        return BlitClipOutcome::Nothing;
    return BlitClipOutcome::Draw;
}
