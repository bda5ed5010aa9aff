#include "display/CDibDDViewport.h"

#include "common/DebugTrace.h"
#include "display/CDibDD.h"
#include "display/CDibDDContext.h"
#include "display/CDibDDPalette.h"
#include "display/CDibDDRegion.h"
#include "display/DisplayResult.h"

#include <SDL.h>

CDibDDViewport::~CDibDDViewport()
{
    CDibDDViewport::Destroy();
}

CDibDD* CDibDDViewport::FrontSurface() const
{
    return static_cast<CDibDD*>(m_front.Get());
}

CDibDD* CDibDDViewport::BackSurface() const
{
    return static_cast<CDibDD*>(m_back.Get());
}

DibResult CDibDDViewport::Create(int width, int height, PixelFormat format, SDL_Window* window, uint32_t flags)
{
    Destroy();
    if (!window)
        return DIB_UNSUPPORTED;
    if (!CDibDDContext::CurrentDisplay())
        return DDVIEW_NO_CONTEXT;
    m_window = window;
    m_paletteMessages = flags & VIEWPORT_PALETTE;
    m_fullScreen = (flags & VIEWPORT_FULLSCREEN) && (flags & VIEWPORT_PALETTE);
    m_resizable = (flags & VIEWPORT_RESIZABLE) && !m_fullScreen;
    m_flipChain = (flags & VIEWPORT_FLIP_CHAIN) && m_fullScreen;
    m_backInSystemMemory = flags & VIEWPORT_BACK_SYSTEM;
    m_back3D = flags & VIEWPORT_BACK_3D;

    if (m_fullScreen && SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP) != 0)
        DebugTrace("CDibViewport::Create() : %s", SDL_GetError());
    if (!m_presenter.Open(window, width, height, m_options))
        DebugTrace("CDibDDViewport::Create() : Primary surface creation failed!");

    // The front stands for the screen: a surface of the frame's size holding
    // what was last shown.
    DibRef<CDibDD> front = MakeDib<CDibDD>();
    if (front->Create(width, height, format, DDMEM_VIDEO) == DIB_OK)
        front->SetRole(SURFACE_PRIMARY, nullptr);
    else
        DebugTrace("CDibDDViewport::Create() : Primary surface creation failed!");
    CDibDD* primary = front.Get();
    m_front = std::move(front);

    m_backMemoryFlags = (m_back3D ? DDMEM_3D_DEVICE : 0) | (m_backInSystemMemory ? 0 : DDMEM_VIDEO);
    DibRef<CDibDD> back = MakeDib<CDibDD>();
    if (back->Create(width, height, format, m_backMemoryFlags) == DIB_OK) {
        if (m_flipChain)
            back->SetRole(SURFACE_BACK_BUFFER, primary);
    } else {
        DebugTrace("CDibDDViewport::Create() : back buffer creation failed");
    }
    m_back = std::move(back);

    CDibDDRegion* region = new CDibDDRegion;
    region->SetUserValue(reinterpret_cast<uintptr_t>(window));
    region->SetRect({0, 0, width, height});
    if (m_front->IsCreated())
        m_front->SetClipRegion(region);
    if (m_flipChain && m_back->IsCreated())
        m_back->SetClipRegion(region);
    region->Release();
    return DIB_OK;
}

DibResult CDibDDViewport::Destroy()
{
    if (m_window && m_fullScreen)
        SDL_SetWindowFullscreen(m_window, 0);
    m_presenter.Close();
    ReleaseImages();
    m_window = nullptr;
    m_fullScreen = false;
    m_flipChain = false;
    return DIB_OK;
}

DibResult CDibDDViewport::Flip()
{
    CDibDD* front = FrontSurface();
    CDibDD* back = BackSurface();
    if (!front || !back || !back->IsCreated())
        return DDVIEW_NOT_SHOWN;
    if (front->IsLost()) {
        // The screen was lost: restore it; the frame is not shown this time,
        // and the next is shown only if the restoring worked.
        if (front->Restore() != DIB_OK)
            DebugTrace("CDibDDViewport : the lost screen could not be restored yet");
        return DDVIEW_NOT_SHOWN;
    }
    if (!m_presenter.Present(back))
        return DDVIEW_NOT_SHOWN;
    return DIB_OK;
}

DibResult CDibDDViewport::Present(int mode, uint32_t colour, int level)
{
    if (!m_back || !m_back->IsCreated())
        return DIB_OK;
    if (mode == 1)
        m_back->BlendRect(0, 0, m_back->GetWidth(), m_back->GetHeight(), 1, colour, level);
    if (m_flipChain)
        return Flip();
    if (m_front && m_front->IsCreated()) {
        m_front->Draw(0, 0, m_back->GetWidth(), m_back->GetHeight(), m_back.Get(), 0, 0, m_back->GetWidth(),
                      m_back->GetHeight(), 0, 0);
        m_presenter.Present(m_front.Get());
    }
    return DIB_OK;
}

int CDibDDViewport::RealizePalette()
{
    if (!m_paletteMessages || m_fullScreen || !m_front || m_front->GetFormat() != PF_INDEX8)
        return 0;
    auto* palette = dynamic_cast<CDibDDPalette*>(m_front->GetPalette());
    if (!palette)
        return 0;
    m_front->SetPalette(palette);
    return 1;
}

void CDibDDViewport::OnPaletteChanged(SDL_Window* changedBy)
{
    if (m_paletteMessages && !m_fullScreen && changedBy != m_window)
        RealizePalette();
}

void CDibDDViewport::OnPaint()
{
    // Exposure: the presenter keeps no picture of its own, so show the back
    // image (the frame the game composed last) again.
    if (m_back && m_back->IsCreated())
        m_presenter.Present(m_flipChain ? m_back.Get() : (m_front && m_front->IsCreated() ? m_front.Get() : m_back.Get()));
}

void CDibDDViewport::Resize(int width, int height)
{
    if (!m_resizable || !m_window || !m_back)
        return;
    CDibPalette* palette = m_back->GetPalette();
    if (palette)
        palette->AddRef();
    const PixelFormat format = m_front && m_front->IsCreated() ? m_front->GetFormat() : m_back->GetFormat();
    if (m_back->Create(width, height, format, m_backMemoryFlags) != DIB_OK)
        DebugTrace("CDibDDViewport::Resize() : the back buffer could not be made at the new size");
    if (palette) {
        m_back->SetPalette(palette);
        palette->Release();
    }
}
