#include "display/CDibDDPalette.h"

#include "display/CDibDDContext.h"

#include <SDL.h>

CDibDDPalette::~CDibDDPalette()
{
    CDibDDPalette::Destroy();
}

DibResult CDibDDPalette::Destroy()
{
    if (m_displayPalette) {
        SDL_FreePalette(m_displayPalette);
        m_displayPalette = nullptr;
    }
    return CDibPalette::Destroy();
}

DibResult CDibDDPalette::Create(int count)
{
    if (!CDibDDContext::CurrentDisplay())
        return DDPAL_NO_CONTEXT;
    if (count != 2 && count != 4 && count != 16 && count != 256)
        return DIB_UNSUPPORTED;
    DibResult code = CDibPalette::Create(count);
    if (code != DIB_OK)
        return code;
    m_displayPalette = SDL_AllocPalette(count);
    if (!m_displayPalette) {
        CDibPalette::Destroy();
        return DDPAL_CREATE_FAILED;
    }
    SDL_Color black[256] = {};
    for (SDL_Color& c : black)
        c.a = 255;
    SDL_SetPaletteColors(m_displayPalette, black, 0, count);
    return DIB_OK;
}

DibResult CDibDDPalette::SetEntries(const PaletteEntry* source, int start, int count)
{
    DibResult code = CDibPalette::SetEntries(source, start, count);
    if (code != DIB_OK || !m_displayPalette)
        return code;
    SDL_Color colours[256];
    for (int i = 0; i < count && i < 256; ++i)
        colours[i] = {source[i].red, source[i].green, source[i].blue, 255};
    return SDL_SetPaletteColors(m_displayPalette, colours, start, count) == 0 ? DIB_OK : DDPAL_CREATE_FAILED;
}
