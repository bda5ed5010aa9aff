#include "imaging/BlitClip.h"

#include "imaging/BlitFlags.h"
#include "imaging/CDib.h"
#include "imaging/CDibRegion.h"

namespace {

bool InsideImages(const BlitRects& r, int sourceWidth, int sourceHeight, const CDib& target)
{
    auto inside = [](int64_t x, int64_t y, int64_t w, int64_t h, int64_t width, int64_t height) {
        return x >= 0 && y >= 0 && w > 0 && h > 0 && x + w <= width && y + h <= height;
    };
    return inside(r.dx, r.dy, r.dw, r.dh, target.GetWidth(), target.GetHeight()) &&
           inside(r.sx, r.sy, r.sw, r.sh, sourceWidth, sourceHeight);
}

} // namespace

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
    // Everything below is computed in 64 bits: hostile coordinates near the
    // ends of the int range must not overflow.
    const int64_t rsx = r.sx, rsy = r.sy, rsw = r.sw, rsh = r.sh;
    if (rsx + rsw < 0 || rsy + rsh < 0 || rsx > sourceWidth || rsy > sourceHeight) {
        *code = DIB_FAILED;
        return BlitClipOutcome::Refused;
    }
    // The caller's promise that both rectangles lie inside their images is
    // checked, not trusted: a false one is clipped like any other request
    // instead of writing outside the target.
    if ((flags & BLIT_NOCLIP) && InsideImages(r, sourceWidth, sourceHeight, *target))
        return BlitClipOutcome::Draw;
    // Negative sizes have no pixels; refuse them before any arithmetic.
    if (r.dw <= 0 || r.dh <= 0 || r.sw < 0 || r.sh < 0)
        return BlitClipOutcome::Nothing;

    // The clip region's bounds, cut to the target: a region reaching past the
    // target must not let a blit out of it.
    DibRect k{0, 0, target->GetWidth(), target->GetHeight()};
    if (CDibRegion* region = target->GetClipRegion()) {
        DibRect b;
        if (region->GetBounds(&b) == DIB_OK) {
            const int left = b.x > 0 ? b.x : 0, top = b.y > 0 ? b.y : 0;
            const int64_t right = int64_t(b.x) + b.w < k.w ? int64_t(b.x) + b.w : k.w;
            const int64_t bottom = int64_t(b.y) + b.h < k.h ? int64_t(b.y) + b.h : k.h;
            if (right <= left || bottom <= top)
                return BlitClipOutcome::Nothing;
            k = {left, top, int(right - left), int(bottom - top)};
        }
    }
    const int64_t dx = r.dx, dy = r.dy, dw = r.dw, dh = r.dh;
    const int64_t kx = k.x, ky = k.y, kr = int64_t(k.x) + k.w, kb = int64_t(k.y) + k.h;
    if (dx + dw <= kx || dy + dh <= ky || dx >= kr || dy >= kb)
        return BlitClipOutcome::Nothing;

    int64_t cx = dx, cy = dy, cw = dw, ch = dh;
    if (cx < kx) {
        cw -= kx - cx;
        cx = kx;
    }
    if (cx + cw > kr)
        cw = kr - cx;
    if (cy < ky) {
        ch -= ky - cy;
        cy = ky;
    }
    if (cy + ch > kb)
        ch = kb - cy;
    if (cw <= 0 || ch <= 0)
        return BlitClipOutcome::Nothing;

    // Proportional source rectangle (truncating divisions). The clipped
    // target fits in the target, so every product stays far inside 64 bits.
    // Mirrored, the source is read from its far end, so what the clip cuts
    // off the target's left comes off the source's right and the other way
    // round: the source start moves by the part cut off the target's right
    // (bottom, mirrored vertically).
    // An axis the clip leaves whole keeps its source as it is, without the
    // divisions (which cost more than drawing a small sprite's row).
    const int64_t cutLeft = cx - dx, cutRight = (dx + dw) - (cx + cw);
    const int64_t cutTop = cy - dy, cutBottom = (dy + dh) - (cy + ch);
    const bool wholeX = cw == dw, wholeY = ch == dh;
    const int64_t sx = wholeX ? rsx : ((flags & BLIT_MIRROR_X) ? cutRight : cutLeft) * rsw / dw + rsx;
    const int64_t sy = wholeY ? rsy : ((flags & BLIT_MIRROR_Y) ? cutBottom : cutTop) * rsh / dh + rsy;
    const int64_t sw = wholeX ? rsw : rsw * cw / dw;
    const int64_t sh = wholeY ? rsh : rsh * ch / dh;
    if (sx < 0 || sy < 0 || sx + sw > sourceWidth || sy + sh > sourceHeight) {
        *code = DIB_FAILED;
        return BlitClipOutcome::Refused;
    }
    r.dx = int(cx);
    r.dy = int(cy);
    r.dw = int(cw);
    r.dh = int(ch);
    r.sx = int(sx);
    r.sy = int(sy);
    r.sw = int(sw);
    r.sh = int(sh);
    if (r.sw <= 0 || r.sh <= 0)
        return BlitClipOutcome::Nothing;
    return BlitClipOutcome::Draw;
}
