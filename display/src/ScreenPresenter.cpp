#include "display/ScreenPresenter.h"

#include "common/DebugTrace.h"
#include "imaging/CDibPalette.h"

#include <SDL.h>
#include <cstring>

namespace {

// SDL falls back to a driver that shows nothing when there is no display to
// reach; a game that then plays unseen must say so instead. Asked for by
// name (SDL_VIDEODRIVER), as the tests and recordings do, they are fine.
bool IsUnseenDriverNobodyAskedFor()
{
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driver || (std::strcmp(driver, "offscreen") != 0 && std::strcmp(driver, "dummy") != 0))
        return false;
    const char* wanted = SDL_getenv("SDL_VIDEODRIVER");
    return !wanted || std::strstr(wanted, driver) == nullptr;
}

} // namespace

SDL_Window* OpenScreenWindow(const char* title, int width, int height, bool fullScreen)
{
    if (IsUnseenDriverNobodyAskedFor()) {
        SDL_SetError("no display to show it on (is DISPLAY or WAYLAND_DISPLAY set?)");
        return nullptr;
    }
    int x = SDL_WINDOWPOS_CENTERED, y = SDL_WINDOWPOS_CENTERED, w = width, h = height;
    uint32_t flags = SDL_WINDOW_ALLOW_HIGHDPI;
    SDL_Rect bounds;
    if (fullScreen && SDL_GetDisplayBounds(0, &bounds) == 0 && bounds.w > 0 && bounds.h > 0) {
        x = bounds.x;
        y = bounds.y;
        w = bounds.w;
        h = bounds.h;
        flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    } else {
        // A window the player may size: the picture keeps its aspect inside it.
        flags |= SDL_WINDOW_RESIZABLE;
    }
    SDL_Window* window = SDL_CreateWindow(title, x, y, w, h, flags);
    if (window)
        SDL_SetWindowMinimumSize(window, width / 2, height / 2);
    return window;
}

CScreenPresenter::~CScreenPresenter()
{
    Close();
}

bool CScreenPresenter::Open(SDL_Window* window, int width, int height, const PresenterOptions& options)
{
    Close();
    if (!window)
        return false;
    m_window = window;
    m_width = width;
    m_height = height;
    if (options.allowAccelerated) {
        uint32_t flags = SDL_RENDERER_ACCELERATED | (options.vsync ? SDL_RENDERER_PRESENTVSYNC : 0);
        m_renderer = SDL_CreateRenderer(window, -1, flags);
    }
    if (!m_renderer) {
        // No accelerated renderer: the software one always works where a
        // window does.
        m_renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
        m_software = true;
    }
    if (!m_renderer) {
        DebugTrace("CScreenPresenter::Open() : no renderer: %s", SDL_GetError());
        m_window = nullptr;
        return false;
    }
    m_smooth = options.smoothScaling;
    SDL_RenderSetLogicalSize(m_renderer, width, height);
    m_fullScreen = (SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN_DESKTOP) == SDL_WINDOW_FULLSCREEN_DESKTOP;
    UpdateViewport();
    m_lastFrame.assign(size_t(width) * height, 0);
    return true;
}

void CScreenPresenter::Close()
{
    if (m_texture)
        SDL_DestroyTexture(m_texture);
    if (m_renderer)
        SDL_DestroyRenderer(m_renderer);
    m_texture = nullptr;
    m_renderer = nullptr;
    m_window = nullptr;
}

void CScreenPresenter::OnDeviceReset()
{
    if (m_texture)
        SDL_DestroyTexture(m_texture);
    m_texture = nullptr;
}

void CScreenPresenter::UpdateViewport()
{
    if (!m_renderer)
        return;
    // Whole-number scaling when the output holds the frame at least once;
    // otherwise a fractional fit (the letterboxing keeps the aspect ratio).
    // Smooth scaling fills the output at any size, aspect kept.
    int outputW = 0, outputH = 0;
    SDL_GetRendererOutputSize(m_renderer, &outputW, &outputH);
    m_outputW = outputW;
    m_outputH = outputH;
    const bool fits = outputW >= m_width && outputH >= m_height;
    SDL_RenderSetIntegerScale(m_renderer, fits && !m_smooth ? SDL_TRUE : SDL_FALSE);
}

bool CScreenPresenter::IntegerScaling() const
{
    return m_renderer && SDL_RenderGetIntegerScale(m_renderer) == SDL_TRUE;
}

void CScreenPresenter::BuildTables(CDib* frame)
{
    const PixelFormat format = frame->GetFormat();
    if (format == PF_INDEX8) {
        CDibPalette* palette = frame->GetPalette();
        const uint32_t version = palette ? palette->GetVersion() : 0;
        if (palette == m_indexPalette && version == m_indexVersion)
            return;
        std::memset(m_indexTable, 0, sizeof m_indexTable);
        if (palette)
            for (int i = 0; i < palette->GetCount() && i < 256; ++i) {
                const PaletteEntry& e = palette->Entries()[i];
                m_indexTable[i] = 0xFF000000u | uint32_t(e.red) << 16 | uint32_t(e.green) << 8 | e.blue;
            }
        m_indexPalette = palette;
        m_indexVersion = version;
    } else if (format == PF_RGB555 && m_rgb555Table.empty()) {
        // 5-bit channels widened with their top bits repeated, so full white
        // shows as 255 and not 248.
        m_rgb555Table.resize(32768);
        for (uint32_t v = 0; v < 32768; ++v) {
            uint32_t r = (v >> 10) & 31, g = (v >> 5) & 31, b = v & 31;
            m_rgb555Table[v] = 0xFF000000u | (r << 3 | r >> 2) << 16 | (g << 3 | g >> 2) << 8 | (b << 3 | b >> 2);
        }
    } else if (format == PF_RGB565 && m_rgb565Table.empty()) {
        m_rgb565Table.resize(65536);
        for (uint32_t v = 0; v < 65536; ++v) {
            uint32_t r = v >> 11, g = (v >> 5) & 63, b = v & 31;
            m_rgb565Table[v] = 0xFF000000u | (r << 3 | r >> 2) << 16 | (g << 2 | g >> 4) << 8 | (b << 3 | b >> 2);
        }
    }
}

void CScreenPresenter::Expand(CDib* frame, uint32_t* destination, int pitchPixels)
{
    BuildTables(frame);
    uint8_t* bits;
    int pitch;
    if (frame->Lock(&bits, &pitch) != DIB_OK)
        return;
    const int w = frame->GetWidth() < m_width ? frame->GetWidth() : m_width;
    const int h = frame->GetHeight() < m_height ? frame->GetHeight() : m_height;
    const PixelFormat format = frame->GetFormat();
    for (int y = 0; y < h; ++y) {
        const int row = frame->IsBottomUp() ? frame->GetHeight() - 1 - y : y;
        const uint8_t* in = bits + size_t(row) * pitch;
        uint32_t* out = destination + size_t(y) * pitchPixels;
        switch (format) {
        case PF_INDEX8:
            for (int x = 0; x < w; ++x)
                out[x] = m_indexTable[in[x]];
            break;
        case PF_RGB555:
        case PF_RGB565: {
            const uint32_t* table = format == PF_RGB555 ? m_rgb555Table.data() : m_rgb565Table.data();
            for (int x = 0; x < w; ++x) {
                uint16_t v;
                std::memcpy(&v, in + 2 * x, 2);
                out[x] = table[format == PF_RGB555 ? (v & 0x7FFF) : v];
            }
            break;
        }
        case PF_RGB24:
            for (int x = 0; x < w; ++x)
                out[x] = 0xFF000000u | uint32_t(in[3 * x + 2]) << 16 | uint32_t(in[3 * x + 1]) << 8 | in[3 * x];
            break;
        case PF_RGB32:
            for (int x = 0; x < w; ++x) {
                uint32_t v;
                std::memcpy(&v, in + 4 * x, 4);
                out[x] = 0xFF000000u | (v & 0xFFFFFF);
            }
            break;
        default:
            std::memset(out, 0, size_t(w) * 4);
            break;
        }
    }
    frame->Unlock();
}

bool CScreenPresenter::Present(CDib* frame)
{
    if (!m_renderer || !frame || !frame->IsCreated())
        return false;
    // The window may have been resized (by the player or the window
    // manager) since the last frame: the scaling follows its size.
    int outputW = 0, outputH = 0;
    SDL_GetRendererOutputSize(m_renderer, &outputW, &outputH);
    if (outputW != m_outputW || outputH != m_outputH)
        UpdateViewport();
    if (!m_texture) {
        // The scale quality is read when a texture is made.
        SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, m_smooth ? "linear" : "nearest");
        m_texture = SDL_CreateTexture(m_renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING, m_width,
                                      m_height);
        if (!m_texture) {
            DebugTrace("CScreenPresenter::Present() : no texture: %s", SDL_GetError());
            return false;
        }
    }
    Expand(frame, m_lastFrame.data(), m_width);
    if (SDL_UpdateTexture(m_texture, nullptr, m_lastFrame.data(), m_width * 4) != 0)
        return false;
    SDL_SetRenderDrawColor(m_renderer, 0, 0, 0, 255);
    SDL_RenderClear(m_renderer);
    SDL_RenderCopy(m_renderer, m_texture, nullptr, nullptr);
    SDL_RenderPresent(m_renderer);
    return true;
}

void CScreenPresenter::SetFullScreen(bool fullScreen)
{
    if (!m_window)
        return;
    SDL_Rect bounds;
    if (fullScreen && !m_fullScreen && SDL_GetDisplayBounds(SDL_GetWindowDisplayIndex(m_window), &bounds) == 0) {
        // Cover the display first, for the same reason OpenScreenWindow does.
        SDL_SetWindowPosition(m_window, bounds.x, bounds.y);
        SDL_SetWindowSize(m_window, bounds.w, bounds.h);
    }
    if (SDL_SetWindowFullscreen(m_window, fullScreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) != 0) {
        DebugTrace("CScreenPresenter::SetFullScreen() : %s", SDL_GetError());
        return;
    }
    const bool wasFullScreen = m_fullScreen;
    m_fullScreen = fullScreen;
    SDL_SetWindowGrab(m_window, (m_fullScreen && m_focused) ? SDL_TRUE : SDL_FALSE);
    // A window opened full screen would come back at the display's size.
    if (wasFullScreen && !fullScreen)
        SetWindowScale(m_windowScale);
    UpdateViewport();
}

void CScreenPresenter::SetWindowScale(int scale)
{
    scale = scale < 1 ? 1 : (scale > 3 ? 3 : scale);
    m_windowScale = scale;
    if (!m_window || m_fullScreen)
        return;
    SDL_SetWindowSize(m_window, m_width * scale, m_height * scale);
    SDL_SetWindowPosition(m_window, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
    UpdateViewport();
}

void CScreenPresenter::OnFocusChanged(bool focused)
{
    m_focused = focused;
    if (m_window)
        SDL_SetWindowGrab(m_window, (m_fullScreen && focused) ? SDL_TRUE : SDL_FALSE);
    UpdateViewport();
}

void CScreenPresenter::WindowToBackBuffer(int windowX, int windowY, int* x, int* y) const
{
    float logicalX = float(windowX), logicalY = float(windowY);
    if (m_renderer)
        SDL_RenderWindowToLogical(m_renderer, windowX, windowY, &logicalX, &logicalY);
    int bx = int(logicalX), by = int(logicalY);
    *x = bx < 0 ? 0 : (bx >= m_width ? m_width - 1 : bx);
    *y = by < 0 ? 0 : (by >= m_height ? m_height - 1 : by);
}
