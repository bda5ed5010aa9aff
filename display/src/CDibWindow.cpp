#include "display/CDibWindow.h"

#include "display/SurfaceFormat.h"
#include "imaging/BlitClip.h"
#include "imaging/CDibPalette.h"
#include "imaging/ConvertPixels.h"

#include <SDL.h>
#include <cstring>
#include <vector>

namespace {

std::vector<PaletteEntry> EntriesOf(CDib* image)
{
    std::vector<PaletteEntry> entries;
    if (!PixelFormatIsIndexed(image->GetFormat()))
        return entries;
    entries.assign(256, PaletteEntry{});
    if (CDibPalette* palette = image->GetPalette())
        palette->GetEntries(entries.data(), 0, palette->GetCount() < 256 ? palette->GetCount() : 256);
    return entries;
}

} // namespace

DibResult StretchConvert(CDib* source, int srcX, int srcY, int srcW, int srcH, CDib* target, int dstX, int dstY,
                         int dstW, int dstH)
{
    if (!source || !target)
        return DIB_FAILED;
    if (!source->IsCreated() || !target->IsCreated())
        return DIB_NOT_CREATED;
    if (PixelFormatBits(source->GetFormat()) < 8 || PixelFormatBits(target->GetFormat()) < 8)
        return DIB_OK;
    BlitRects rects{dstX, dstY, dstW, dstH, srcX, srcY, srcW, srcH};
    DibResult code;
    if (ClipBlit(source->GetWidth(), source->GetHeight(), target, true, rects, 0, &code) != BlitClipOutcome::Draw)
        return code;
    const std::vector<PaletteEntry> sourceEntries = EntriesOf(source), targetEntries = EntriesOf(target);
    uint8_t *srcBits, *dstBits;
    int srcPitch, dstPitch;
    if ((code = source->Lock(&srcBits, &srcPitch)) != DIB_OK)
        return code;
    if ((code = target->Lock(&dstBits, &dstPitch)) != DIB_OK) {
        source->Unlock();
        return code;
    }
    const int dstBytes = int(PixelFormatBytes(target->GetFormat()));
    std::vector<uint8_t> converted(size_t(rects.sw) * dstBytes + 4);
    int srcRow = rects.sy, rowError = 0;
    for (int k = 0; k < rects.dh; ++k) {
        const int storedSrc = source->IsBottomUp() ? source->GetHeight() - 1 - srcRow : srcRow;
        const int storedDst = target->IsBottomUp() ? target->GetHeight() - 1 - (rects.dy + k) : rects.dy + k;
        const uint8_t* in = srcBits + size_t(storedSrc) * srcPitch + size_t(rects.sx) * PixelFormatBytes(source->GetFormat());
        if (!ConvertPixels(converted.data(), target->GetFormat(), in, rects.sw, 1, int(converted.size()), srcPitch,
                           source->GetFormat(), targetEntries.empty() ? nullptr : targetEntries.data(),
                           sourceEntries.empty() ? nullptr : sourceEntries.data(), 0)) {
            target->Unlock();
            source->Unlock();
            return DIB_FAILED; // an indexed side without its palette
        }
        uint8_t* out = dstBits + size_t(storedDst) * dstPitch + size_t(rects.dx) * dstBytes;
        int column = 0, columnError = 0;
        for (int j = 0; j < rects.dw; ++j) {
            std::memcpy(out + size_t(j) * dstBytes, converted.data() + size_t(column) * dstBytes, size_t(dstBytes));
            columnError += rects.sw;
            while (columnError >= rects.dw) {
                columnError -= rects.dw;
                ++column;
            }
        }
        rowError += rects.sh;
        while (rowError >= rects.dh) {
            rowError -= rects.dh;
            ++srcRow;
        }
    }
    target->Unlock();
    source->Unlock();
    return DIB_OK;
}

CDibWindow::~CDibWindow()
{
    CDibWindow::Destroy();
}

DibResult CDibWindow::Destroy()
{
    while (m_useCount > 0)
        Unlock();
    m_window = nullptr;
    return CDib::Destroy();
}

DibResult CDibWindow::AttachWindow(SDL_Window* window, bool forceBackground)
{
    Destroy();
    m_window = window;
    m_forceBackground = forceBackground;
    SDL_Surface* surface = window ? SDL_GetWindowSurface(window) : nullptr;
    if (!surface)
        return DIB_OK;
    switch (surface->format->BitsPerPixel) {
    case 8: m_format = PF_INDEX8; break;
    case 15:
    case 16: m_format = PF_RGB555; break;
    case 24: m_format = PF_RGB24; break;
    case 32: m_format = PF_RGB32; break;
    default: m_format = PF_NONE; break;
    }
    // The surface's own layout decides how its pixels are read and written.
    if (PixelFormat exact = SdlToPixelFormat(surface->format->format))
        m_format = exact;
    return DIB_OK;
}

int CDibWindow::GetWidth() const
{
    if (!m_window)
        return 0;
    int w = 0, h = 0;
    SDL_GetWindowSize(m_window, &w, &h);
    return w;
}

int CDibWindow::GetHeight() const
{
    if (!m_window)
        return 0;
    int w = 0, h = 0;
    SDL_GetWindowSize(m_window, &w, &h);
    return h;
}

DibResult CDibWindow::Lock(uint8_t** bits, int* pitch)
{
    SDL_Surface* surface = m_window ? SDL_GetWindowSurface(m_window) : nullptr;
    if (!surface || !m_format)
        return DIB_NOT_CREATED;
    if (m_useCount == 0 && SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0)
        return DIB_FAILED;
    ++m_useCount;
    *bits = static_cast<uint8_t*>(surface->pixels);
    *pitch = surface->pitch;
    return DIB_OK;
}

DibResult CDibWindow::Unlock()
{
    if (m_useCount == 0)
        return DIB_OK;
    if (--m_useCount == 0 && m_window) {
        SDL_Surface* surface = SDL_GetWindowSurface(m_window);
        if (surface && SDL_MUSTLOCK(surface))
            SDL_UnlockSurface(surface);
    }
    return DIB_OK;
}

DibResult CDibWindow::Blit(CDib* target, int dstX, int dstY, int dstW, int dstH, int srcX, int srcY, int srcW,
                           int srcH, uint32_t, BlitExtra)
{
    if (!target)
        return DIB_FAILED;
    return StretchConvert(this, srcX, srcY, srcW, srcH, target, dstX, dstY, dstW, dstH);
}

DibResult CDibWindow::Draw(int dstX, int dstY, int dstW, int dstH, CDib* source, int srcX, int srcY, int srcW,
                           int srcH, uint32_t, BlitExtra)
{
    if (!source)
        return DIB_FAILED;
    return StretchConvert(source, srcX, srcY, srcW, srcH, this, dstX, dstY, dstW, dstH);
}

DibResult CDibWindow::FillRect(int x, int y, int w, int h, uint32_t colour)
{
    SDL_Surface* surface = m_window ? SDL_GetWindowSurface(m_window) : nullptr;
    if (!surface)
        return DIB_FAILED;
    SDL_Rect rect{x, y, w, h};
    const uint32_t pixel = SDL_MapRGB(surface->format, uint8_t(colour), uint8_t(colour >> 8), uint8_t(colour >> 16));
    return SDL_FillRect(surface, &rect, pixel) == 0 ? DIB_OK : DIB_FAILED;
}

DibResult CDibWindow::Update()
{
    if (!m_window)
        return DIB_FAILED;
    return SDL_UpdateWindowSurface(m_window) == 0 ? DIB_OK : DIB_FAILED;
}
