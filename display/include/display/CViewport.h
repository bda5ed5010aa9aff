#pragma once
// A viewport ties a window to two images: the front image, standing for what
// is on the screen, and the back image, the frame buffer the program composes
// each frame into. Presenting copies or flips the back image to the front.

#include "imaging/CDib.h"
#include "imaging/DibRef.h"

#include <cstdint>

struct SDL_Window;

// Creation flags.
constexpr uint32_t VIEWPORT_FULLSCREEN = 0x1;   // only together with VIEWPORT_PALETTE
constexpr uint32_t VIEWPORT_PALETTE = 0x2;      // realize the palette on palette messages
constexpr uint32_t VIEWPORT_RESIZABLE = 0x4;    // back image follows the window (not full screen)
constexpr uint32_t VIEWPORT_BACK_3D = 0x8;      // display kind: back buffer with the 3D capability
constexpr uint32_t VIEWPORT_FLIP_CHAIN = 0x10;  // display kind: flipping chain (full screen only)
constexpr uint32_t VIEWPORT_BACK_SYSTEM = 0x20; // display kind: back buffer in system memory

class CViewport {
public:
    CViewport() = default;
    CViewport(const CViewport&) = delete;
    CViewport& operator=(const CViewport&) = delete;

    virtual ~CViewport() = default;
    [[nodiscard]]
    virtual DibResult Create(int width, int height, PixelFormat format, SDL_Window* window, uint32_t flags) = 0;
    virtual DibResult Destroy() = 0;
    virtual int GetKind() const = 0;
    // Mode 1 first tints the back image towards `colour`, keeping level/256
    // of each pixel (16-bit back images); then the frame is shown.
    [[nodiscard]] virtual DibResult Present(int mode, uint32_t colour, int level) = 0;
    virtual int RealizePalette() = 0;
    virtual void OnPaletteChanged(SDL_Window* changedBy) = 0;
    virtual void OnPaint() = 0;
    virtual void Reserved(uintptr_t) {}
    virtual void Resize(int width, int height) = 0;

    CDib* Front() const { return m_front.Get(); }
    CDib* Back() const { return m_back.Get(); }
    SDL_Window* Window() const { return m_window; }
    bool IsFullScreen() const { return m_fullScreen; }

protected:
    // Drops the viewport's references to front and back.
    void ReleaseImages();

    SDL_Window* m_window = nullptr;
    DibRef<CDib> m_front;
    DibRef<CDib> m_back;
    bool m_fullScreen = false;
    bool m_resizable = false;
    bool m_paletteMessages = false;
};
