#include "display/CDibViewport.h"

#include "common/DebugTrace.h"
#include "display/CDibWindow.h"
#include "imaging/CDibPalette.h"
#include "imaging/CDibSection.h"

#include <SDL.h>

CDibViewport::~CDibViewport()
{
    CDibViewport::Destroy();
}

DibResult CDibViewport::Create(int width, int height, PixelFormat format, SDL_Window* window, uint32_t flags)
{
    Destroy();
    if (!window)
        return DIB_FAILED;
    m_window = window;
    DibRef<CDibWindow> front = MakeDib<CDibWindow>();
    if (const DibResult code = front->AttachWindow(window, flags & VIEWPORT_PALETTE); code != DIB_OK)
        return code;
    CDibWindow* shownIn = front.Get();
    m_front = std::move(front);
    m_back = MakeDib<CDibSection>();
    if (const DibResult code = m_back->Create(width, height, format); code != DIB_OK)
        return code;
    m_paletteMessages = flags & VIEWPORT_PALETTE;
    m_fullScreen = (flags & VIEWPORT_FULLSCREEN) && (flags & VIEWPORT_PALETTE);
    m_resizable = (flags & VIEWPORT_RESIZABLE) && !m_fullScreen;
    if (m_fullScreen && SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP) != 0)
        m_fullScreen = false;
    // Full screen changes the window's surface; attach again to follow it.
    return shownIn->AttachWindow(window, flags & VIEWPORT_PALETTE);
}

DibResult CDibViewport::Destroy()
{
    if (m_window && m_fullScreen)
        SDL_SetWindowFullscreen(m_window, 0);
    ReleaseImages();
    m_window = nullptr;
    m_fullScreen = false;
    return DIB_OK;
}

DibResult CDibViewport::Present(int mode, uint32_t colour, int level)
{
    if (!m_back || !m_front)
        return DIB_OK;
    if (mode == 1)
        m_back->BlendRect(0, 0, m_back->GetWidth(), m_back->GetHeight(), 1, colour, level);
    OnPaint();
    return DIB_OK;
}

int CDibViewport::RealizePalette()
{
    if (!m_paletteMessages || !m_front || !m_back || !m_back->GetPalette())
        return 0;
    OnPaint();
    return 1;
}

void CDibViewport::OnPaletteChanged(SDL_Window*)
{
    if (m_paletteMessages)
        RealizePalette();
}

void CDibViewport::OnPaint()
{
    auto* front = static_cast<CDibWindow*>(m_front.Get());
    if (!front || !m_back || !m_back->IsCreated())
        return;
    front->Draw(0, 0, m_back->GetWidth(), m_back->GetHeight(), m_back.Get(), 0, 0, m_back->GetWidth(), m_back->GetHeight(),
                0, 0);
    if (front->Update() != DIB_OK)
        DebugTrace("CDibViewport : the window could not be updated");
}

void CDibViewport::Resize(int width, int height)
{
    if (!m_resizable || !m_window || !m_back)
        return;
    CDibPalette* palette = m_back->GetPalette();
    if (palette)
        palette->AddRef();
    // A back buffer that cannot grow stays as it was and is shown scaled.
    const bool resized = m_back->Create(width, height, m_back->GetFormat()) == DIB_OK;
    if (!resized)
        DebugTrace("CDibViewport::Resize() : the back buffer could not be made at the new size");
    if (palette) {
        m_back->SetPalette(palette);
        palette->Release();
    }
}
