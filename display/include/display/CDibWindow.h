#pragma once
// CDibWindow: a window's client area as an image, over the window's own
// surface. Drawing into it converts and stretches from any image of 8 bits
// and more; blitting from it copies the window's pixels into another image
// the same way. Width and height are read from the window on each request.

#include "imaging/CDib.h"

struct SDL_Window;

class CDibWindow : public CDib {
public:
    CDibWindow() = default;
    ~CDibWindow() override;

    DibResult Blit(CDib* target, int dstX, int dstY, int dstW, int dstH, int srcX, int srcY, int srcW, int srcH,
                   uint32_t flags, BlitExtra extra) override;
    DibResult Destroy() override;
    int GetKind() const override { return DIB_KIND_WINDOW; }
    int GetWidth() const override;
    int GetHeight() const override;
    DibResult Draw(int dstX, int dstY, int dstW, int dstH, CDib* source, int srcX, int srcY, int srcW, int srcH,
                   uint32_t flags, BlitExtra extra) override;
    // `colour` is a colour reference 0x00BBGGRR, as a brush takes it.
    DibResult FillRect(int x, int y, int w, int h, uint32_t colour) override;
    [[nodiscard]] DibResult Lock(uint8_t** bits, int* pitch) override;
    DibResult Unlock() override;

    // Takes the window; the format follows the window surface's depth
    // (8 → PF_INDEX8, 16 → PF_RGB555, 24 → PF_RGB24, 32 → PF_RGB32).
    [[nodiscard]] DibResult AttachWindow(SDL_Window* window, bool forceBackground);
    // Puts what was drawn on the screen.
    [[nodiscard]] DibResult Update();
    SDL_Window* Window() const { return m_window; }

private:
    SDL_Window* m_window = nullptr;
    bool m_forceBackground = false;
};

// Copies a rectangle of `source` into a rectangle of `target`, converting the
// pixel format (through the palettes of indexed sides) and stretching with
// nearest-lower sampling. Both rectangles are clipped to their images.
[[nodiscard]]
DibResult StretchConvert(CDib* source, int srcX, int srcY, int srcW, int srcH, CDib* target, int dstX, int dstY,
                         int dstW, int dstH);
