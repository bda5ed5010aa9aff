#pragma once
// CDibDDPalette: a palette that surfaces can show. It keeps the display
// layer's palette object in step with its entries.

#include "display/DisplayResult.h"
#include "imaging/CDibPalette.h"

struct SDL_Palette;

class CDibDDPalette : public CDibPalette {
public:
    CDibDDPalette() = default;
    ~CDibDDPalette() override;

    DibResult Destroy() override;
    // 2, 4, 16 or 256 entries (DIB_UNSUPPORTED otherwise); DDPAL_NO_CONTEXT
    // without a display context; DDPAL_CREATE_FAILED when the display palette
    // cannot be made.
    DibResult Create(int count) override;
    DibResult SetEntries(const PaletteEntry* source, int start, int count) override;

    SDL_Palette* DisplayPalette() const { return m_displayPalette; }

private:
    SDL_Palette* m_displayPalette = nullptr;
};
