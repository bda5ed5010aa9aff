#pragma once
// CDibViewport: the plain kind of viewport, for windows without a renderer.
// The back image is a CDibSection; presenting converts it into the window's
// own surface (CDibWindow) and updates the window.

#include "display/CViewport.h"

class CDibViewport : public CViewport {
public:
    CDibViewport() = default;
    ~CDibViewport() override;

    // DIB_FAILED for a null window.
    [[nodiscard]]
    DibResult Create(int width, int height, PixelFormat format, SDL_Window* window, uint32_t flags) override;
    DibResult Destroy() override;
    int GetKind() const override { return 0; }
    [[nodiscard]] DibResult Present(int mode, uint32_t colour, int level) override;
    int RealizePalette() override;
    void OnPaletteChanged(SDL_Window* changedBy) override;
    void OnPaint() override;
    void Resize(int width, int height) override;
};
