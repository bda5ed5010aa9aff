#pragma once
// CDibDDViewport: the game's screen. The back image is a display surface the
// game draws into; the front stands for the screen and is shown through the
// presenter (one streaming texture). Full screen is desktop full screen, so
// no display mode is ever switched under other windows.

#include "display/CViewport.h"
#include "display/DisplayResult.h"
#include "display/ScreenPresenter.h"

class CDibDD;

class CDibDDViewport : public CViewport {
public:
    CDibDDViewport() = default;
    ~CDibDDViewport() override;

    // DIB_UNSUPPORTED for a null window, DDVIEW_NO_CONTEXT without a display
    // context. Creation problems past that are traced and leave whatever
    // could be built (DIB_OK).
    [[nodiscard]]
    DibResult Create(int width, int height, PixelFormat format, SDL_Window* window, uint32_t flags) override;
    DibResult Destroy() override;
    int GetKind() const override { return 1; }
    [[nodiscard]] DibResult Present(int mode, uint32_t colour, int level) override;
    int RealizePalette() override;
    void OnPaletteChanged(SDL_Window* changedBy) override;
    void OnPaint() override;
    void Resize(int width, int height) override;

    // Shows the back buffer: DIB_OK, or DDVIEW_NOT_SHOWN when the frame could
    // not be shown (a lost screen is restored and the frame skipped). Like a
    // drawing call, its result may be left: the next frame is shown afresh.
    DibResult Flip();

    CScreenPresenter& Presenter() { return m_presenter; }
    void SetPresenterOptions(const PresenterOptions& options) { m_options = options; }
    bool HasFlipChain() const { return m_flipChain; }

private:
    CDibDD* FrontSurface() const;
    CDibDD* BackSurface() const;

    bool m_flipChain = false;
    bool m_backInSystemMemory = false;
    bool m_back3D = false;
    uint32_t m_backMemoryFlags = 0;
    PresenterOptions m_options;
    CScreenPresenter m_presenter;
};
