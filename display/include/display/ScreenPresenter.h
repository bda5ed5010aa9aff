#pragma once
// CScreenPresenter: puts a back buffer on the window. One streaming texture
// in the renderer's native 32-bit format receives each frame, expanded on the
// way: 8-bit frames through a 256-entry table rebuilt when the palette
// changes, RGB555 frames through a 32768-entry table. Full screen is desktop
// full screen with the aspect ratio kept (black bars; whole-number scaling
// when it fits); windowed mode works at 1x, 2x and 3x. Mouse positions are
// mapped back to back-buffer coordinates whatever the scaling.

#include "imaging/CDib.h"

#include <cstdint>
#include <vector>

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;

struct PresenterOptions {
    bool vsync = true;
    bool allowAccelerated = true;
    // The picture enlarged by whole numbers with black borders (sharp
    // pixels), or smoothly to fill the window (aspect kept either way).
    bool smoothScaling = false;
};

// A window for a back buffer of `width` x `height`: full screen, it is made
// at the size and place of its display at once, since on a display without
// a window manager nothing would enlarge a small window that asks to be full
// screen; windowed, at 1x, centred and resizable down to half size. Null, with SDL's error, on failure,
// and when SDL could reach no display and fell back on a driver that shows
// nothing without being asked for it by SDL_VIDEODRIVER.
SDL_Window* OpenScreenWindow(const char* title, int width, int height, bool fullScreen);

class CScreenPresenter {
public:
    CScreenPresenter() = default;
    ~CScreenPresenter();
    CScreenPresenter(const CScreenPresenter&) = delete;
    CScreenPresenter& operator=(const CScreenPresenter&) = delete;

    // Makes the renderer (accelerated when possible, software otherwise) and
    // the texture. False, with a trace line, when neither can be made.
    bool Open(SDL_Window* window, int width, int height, const PresenterOptions& options = {});
    void Close();
    bool IsOpen() const { return m_renderer != nullptr; }

    // Expands and shows the frame; false when it could not be shown.
    bool Present(CDib* frame);
    // The last frame as 0x00RRGGBB rows (what Present put on the screen).
    const std::vector<uint32_t>& LastFrame() const { return m_lastFrame; }

    // Device or render-target loss: the texture is made again at the next Present.
    void OnDeviceReset();

    // Leaving full screen gives a centred window of the last scale asked for.
    void SetFullScreen(bool fullScreen);
    bool IsFullScreen() const { return m_fullScreen; }
    void ToggleFullScreen() { SetFullScreen(!m_fullScreen); }
    // Window size as a multiple of the back buffer (1..3), in windowed mode.
    void SetWindowScale(int scale);
    // Confine the mouse in full screen while the window has the focus.
    void OnFocusChanged(bool focused);
    // Window coordinates (as events report them) to back-buffer coordinates.
    void WindowToBackBuffer(int windowX, int windowY, int* x, int* y) const;
    // Whether the picture is enlarged by a whole number now.
    bool IntegerScaling() const;

    // Expansion of one frame into 0x00RRGGBB pixels (exposed for tests and
    // the benchmark): `pitchPixels` is the destination row length.
    void Expand(CDib* frame, uint32_t* destination, int pitchPixels);

private:
    void BuildTables(CDib* frame);
    void UpdateViewport();

    SDL_Window* m_window = nullptr;
    SDL_Renderer* m_renderer = nullptr;
    SDL_Texture* m_texture = nullptr;
    int m_width = 0, m_height = 0;
    bool m_software = false;
    bool m_fullScreen = false;
    bool m_focused = true;
    bool m_smooth = false;
    int m_outputW = 0, m_outputH = 0; // the output size the scaling was set for
    int m_windowScale = 1;
    // Expansion tables.
    uint32_t m_indexTable[256] = {};
    const void* m_indexPalette = nullptr;
    uint32_t m_indexVersion = ~0u;
    std::vector<uint32_t> m_rgb555Table;
    std::vector<uint32_t> m_rgb565Table;
    std::vector<uint32_t> m_lastFrame;
};
