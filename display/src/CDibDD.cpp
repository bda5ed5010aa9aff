#include "display/CDibDD.h"

#include "common/DebugTrace.h"
#include "display/CDibDDContext.h"
#include "display/CDibDDPalette.h"
#include "display/CDibDDRegion.h"
#include "display/DisplayResult.h"
#include "display/SurfaceFormat.h"
#include "imaging/CDibSection.h"

#include <SDL.h>

namespace {

// Every live surface, so that a display device reset reaches them all. The
// list only visits: each surface is owned by whoever made it.
CLinkedList<CDibDD*>& LiveSurfaces()
{
    static CLinkedList<CDibDD*> surfaces;
    return surfaces;
}
} // namespace

CDibDD::CDibDD() : m_liveEntry(LiveSurfaces().AddTail(this)) {}

CDibDD::~CDibDD()
{
    CDibDD::Destroy();
    LiveSurfaces().Remove(m_liveEntry);
}

DibResult CDibDD::Destroy()
{
    if (m_surface) {
        while (m_useCount > 0) {
            --m_useCount;
            if (SDL_MUSTLOCK(m_surface))
                SDL_UnlockSurface(m_surface);
        }
        if (m_ownsSurface)
            SDL_FreeSurface(m_surface);
    }
    m_surface = nullptr;
    m_backing.reset();
    m_ownsSurface = true;
    m_parent = nullptr;
    m_lost = false;
    m_memory = 0;
    m_role = SURFACE_OFFSCREEN;
    return CDib::Destroy();
}

DibResult CDibDD::Create(int width, int height, PixelFormat format, uint32_t memoryFlags, uint32_t)
{
    if (!CDibDDContext::CurrentDisplay())
        return DD_NO_CONTEXT;
    if (width == 0 && height == 0)
        return DIB_FAILED;
    Destroy();
    if (!IsValidImageSize(width, height))
        return DIB_FAILED;
    const uint32_t sdlFormat = PixelFormatToSdl(format);
    SDL_Surface* surface = sdlFormat == SDL_PIXELFORMAT_UNKNOWN
                               ? nullptr
                               : SDL_CreateRGBSurfaceWithFormat(0, width, height, int(PixelFormatBits(format)), sdlFormat);
    if (!surface) {
        DebugTrace("CDibDD::Create() : %s", sdlFormat ? SDL_GetError() : "unsupported pixel format");
        return DD_CALL_FAILED;
    }
    if (const DibResult code = Attach(surface, nullptr, SURFACE_OFFSCREEN); code != DIB_OK) {
        SDL_FreeSurface(surface);
        return code;
    }
    m_memoryFlags = memoryFlags;
    m_memory = (memoryFlags & DDMEM_VIDEO) ? SURFACE_VIDEO_MEMORY : SURFACE_SYSTEM_MEMORY;
    FillRect(0, 0, width, height, 0);
    return DIB_OK;
}

DibResult CDibDD::Attach(SDL_Surface* surface, CDibDD* parent, int role, bool owns)
{
    if (!surface)
        return DIB_FAILED;
    const PixelFormat format = SdlToPixelFormat(surface->format->format);
    if (format == PF_NONE || !IsValidImageSize(surface->w, surface->h)) {
        DebugTrace("CDibDD::Attach() : unsupported surface");
        return DD_CALL_FAILED;
    }
    Destroy();
    m_surface = surface;
    m_ownsSurface = owns;
    m_parent = parent;
    m_role = role;
    m_width = uint16_t(surface->w);
    m_height = uint16_t(surface->h);
    m_format = format;
    return DIB_OK;
}

DibResult CDibDD::Restore()
{
    if (!m_surface)
        return DIB_NOT_CREATED;
    if (m_parent) {
        m_lost = false;
        return m_parent->Restore();
    }
    // The pixels of a lost surface are undefined until redrawn; the backing
    // copy, when there is one, brings the picture back.
    m_lost = false;
    if (m_backing)
        return m_backing->Blit(this, 0, 0, m_width, m_height, 0, 0, m_width, m_height, 0, 0);
    return DIB_OK;
}

DibResult CDibDD::RestoreIfLost()
{
    if (!m_lost && !(m_parent && m_parent->m_lost))
        return DIB_OK;
    DibResult code = Restore();
    if (code != DIB_OK)
        DebugTrace("CDibDD::Restore() Error : %u", code);
    return code;
}

void CDibDD::MarkAllLost()
{
    LiveSurfaces().ForEach([](CDibDD* surface) { surface->MarkLost(); });
}

DibResult CDibDD::SaveBacking()
{
    if (!m_surface)
        return DIB_NOT_CREATED;
    if (m_memory != SURFACE_VIDEO_MEMORY)
        return DIB_OK;
    if (!m_backing) {
        auto backing = std::make_unique<CDibDD>();
        DibResult code = backing->Create(m_width, m_height, m_format, 0);
        if (code != DIB_OK)
            return code;
        m_backing = std::move(backing);
    }
    return CDib::Blit(m_backing.get(), 0, 0, m_width, m_height, 0, 0, m_width, m_height, 0, 0);
}

DibResult CDibDD::Lock(uint8_t** bits, int* pitch)
{
    if (!m_surface || !m_format)
        return DIB_NOT_CREATED;
    if (m_useCount > 0) {
        *bits = m_lockedBits;
        *pitch = m_lockedPitch;
        ++m_useCount;
        return DIB_OK;
    }
    DibResult code = RestoreIfLost();
    if (code != DIB_OK)
        return code;
    if (SDL_MUSTLOCK(m_surface) && SDL_LockSurface(m_surface) != 0)
        return DD_CANNOT_LOCK;
    m_lockedBits = static_cast<uint8_t*>(m_surface->pixels);
    m_lockedPitch = m_surface->pitch;
    *bits = m_lockedBits;
    *pitch = m_surface->pitch;
    m_useCount = 1;
    return DIB_OK;
}

DibResult CDibDD::Unlock()
{
    if (m_useCount == 0)
        return DIB_OK;
    if (--m_useCount == 0) {
        if (m_surface && SDL_MUSTLOCK(m_surface))
            SDL_UnlockSurface(m_surface);
        m_lockedBits = nullptr;
        m_lockedPitch = 0;
    }
    return DIB_OK;
}

DibResult CDibDD::FillRect(int x, int y, int w, int h, uint32_t colour)
{
    if (!m_surface)
        return DIB_NOT_CREATED;
    DibResult code = RestoreIfLost();
    if (code != DIB_OK)
        return DD_CALL_FAILED;
    if (w <= 0 || h <= 0)
        return DIB_OK;
    SDL_Rect rect{x, y, w, h};
    if (SDL_FillRect(m_surface, &rect, colour) != 0) {
        DebugTrace("CDibDD::FillRect() : %s", SDL_GetError());
        return DD_CALL_FAILED;
    }
    return DIB_OK;
}

DibResult CDibDD::SetSourceKey(uint32_t value)
{
    // Keys reach the display layer's blitter per blit, when BLIT_SRCKEY asks.
    m_sourceKey = value;
    return DIB_OK;
}

DibResult CDibDD::SetDestKey(uint32_t value)
{
    m_destKey = value;
    return DIB_OK;
}

DibResult CDibDD::SetPalette(CDibPalette* palette)
{
    if (!palette)
        return DIB_FAILED;
    auto* displayPalette = dynamic_cast<CDibDDPalette*>(palette);
    if (!displayPalette)
        return DD_WRONG_KIND;
    if (!m_surface)
        return DIB_NOT_CREATED;
    if (!displayPalette->DisplayPalette())
        return DIB_PALETTE_EMPTY;
    if (const DibResult code = CDib::SetPalette(palette); code != DIB_OK)
        return code;
    if (m_surface->format->palette)
        SDL_SetSurfacePalette(m_surface, displayPalette->DisplayPalette());
    return DIB_OK;
}

CDibPalette* CDibDD::NewPalette()
{
    return new CDibDDPalette;
}

DibResult CDibDD::SetClipRegion(CDibRegion* region)
{
    if (!region)
        return DIB_FAILED;
    if (!dynamic_cast<CDibDDRegion*>(region))
        return DD_WRONG_KIND;
    if (!m_surface)
        return DIB_NOT_CREATED;
    return CDib::SetClipRegion(region);
}

CDibRegion* CDibDD::NewClipRegion()
{
    return new CDibDDRegion;
}

CDib* CDibDD::NewImage()
{
    return new CDibDD;
}

bool CDibDD::TryHardwareBlit(CDib* target, int dstX, int dstY, int dstW, int dstH, int srcX, int srcY, int srcW,
                             int srcH, uint32_t flags, DibResult* code)
{
    CDibDDContext* context = CDibDDContext::CurrentDisplay();
    if (!context || context->noHardwareBlit || target->GetKind() != DIB_KIND_DISPLAY || (flags & ~0xFu))
        return false;
    auto* surfaceTarget = static_cast<CDibDD*>(target);
    // The display layer's blitter converts between formats and maps palettes
    // by colour; our blits copy raw pixel values, so only equal direct-colour
    // formats go this way.
    if (!surfaceTarget->m_surface || surfaceTarget->m_format != m_format || PixelFormatIsIndexed(m_format))
        return false;
    // Stretching is left to our own blitter: it copies the rows that repeat
    // whole and picks the same pixels in every depth, where the display
    // layer's stretch walks every pixel.
    const bool scaled = dstW != srcW || dstH != srcH;
    if (scaled)
        return false;
    if (!scaled && (flags & 0xF)) {
        const uint32_t offered = context->driverBlits[m_memory][surfaceTarget->m_memory] |
                                 context->emulationBlits[m_memory][surfaceTarget->m_memory];
        // Only what the request needs exactly: a mirrored or destination-keyed
        // blit must not silently lose its flag.
        if ((flags & 0xF) & ~offered)
            return false;
    }
    // Clip against the target's full size only, the source proportionally.
    *code = DIB_OK;
    const int tw = surfaceTarget->GetWidth(), th = surfaceTarget->GetHeight();
    if (dstW <= 0 || dstH <= 0 || dstX >= tw || dstY >= th || dstX + dstW <= 0 || dstY + dstH <= 0)
        return true;
    int cx = dstX < 0 ? 0 : dstX, cy = dstY < 0 ? 0 : dstY;
    int cw = (dstX + dstW > tw ? tw : dstX + dstW) - cx, ch = (dstY + dstH > th ? th : dstY + dstH) - cy;
    SDL_Rect from{int(srcX + int64_t(cx - dstX) * srcW / dstW), int(srcY + int64_t(cy - dstY) * srcH / dstH),
                  int(int64_t(srcW) * cw / dstW), int(int64_t(srcH) * ch / dstH)};
    SDL_Rect to{cx, cy, cw, ch};
    if (cw <= 0 || ch <= 0 || from.w <= 0 || from.h <= 0)
        return true;
    if (from.x < 0 || from.y < 0 || from.x + from.w > m_width || from.y + from.h > m_height) {
        *code = DIB_FAILED;
        return true;
    }
    if (RestoreIfLost() != DIB_OK || surfaceTarget->RestoreIfLost() != DIB_OK) {
        *code = DD_CALL_FAILED;
        return true;
    }
    SDL_SetColorKey(m_surface, (flags & 0x1) ? SDL_TRUE : SDL_FALSE, m_sourceKey);
    SDL_SetSurfaceBlendMode(m_surface, SDL_BLENDMODE_NONE);
    const int result = scaled ? SDL_BlitScaled(m_surface, &from, surfaceTarget->m_surface, &to)
                              : SDL_BlitSurface(m_surface, &from, surfaceTarget->m_surface, &to);
    SDL_SetColorKey(m_surface, SDL_FALSE, 0);
    if (result != 0) {
        DebugTrace("CDibDD::Blit() : %s", SDL_GetError());
        *code = DD_CALL_FAILED;
    }
    m_lastBlitHardware = true;
    return true;
}

DibResult CDibDD::Blit(CDib* target, int dstX, int dstY, int dstW, int dstH, int srcX, int srcY, int srcW, int srcH,
                       uint32_t flags, BlitExtra extra)
{
    m_lastBlitHardware = false;
    if (!target)
        return DIB_FAILED;
    if (!IsCreated() || !target->IsCreated())
        return DIB_NOT_CREATED;
    DibResult code;
    if (TryHardwareBlit(target, dstX, dstY, dstW, dstH, srcX, srcY, srcW, srcH, flags, &code))
        return code;
    return CDib::Blit(target, dstX, dstY, dstW, dstH, srcX, srcY, srcW, srcH, flags, extra);
}

DibResult CDibDD::ConvertFormat(PixelFormat newFormat, CDibPalette* newPalette, uint32_t flags, uint32_t)
{
    if (!IsCreated())
        return DIB_NOT_CREATED;
    if (newFormat == m_format)
        return DIB_OK;
    CDibSection copy;
    DibResult code = copy.CopyFrom(this);
    if (code == DIB_OK)
        code = copy.ConvertFormat(newFormat, newPalette, flags);
    if (code != DIB_OK)
        return code;
    const int frames = GetFrameCount();
    CDibPalette* palette = newPalette ? newPalette : copy.GetPalette();
    if (palette)
        palette->AddRef();
    code = Create(copy.GetWidth(), copy.GetHeight(), newFormat, m_memoryFlags);
    if (code == DIB_OK) {
        code = copy.Blit(this, 0, 0, m_width, m_height, 0, 0, m_width, m_height, 0, 0);
        SetFrameCount(frames);
        if (palette && PixelFormatIsIndexed(newFormat)) {
            if (dynamic_cast<CDibDDPalette*>(palette)) {
                SetPalette(palette);
            } else {
                CDibPalette* shown = NewPalette();
                if (shown->Create(palette->GetCount()) == DIB_OK &&
                    shown->SetEntriesFrom(palette, 0, palette->GetCount(), 0) == DIB_OK)
                    SetPalette(shown);
                shown->Release();
            }
        }
    }
    if (palette)
        palette->Release();
    return code;
}
