#include "display/CDibDDContext.h"

#include "common/DebugTrace.h"
#include "display/CDibDD.h"
#include "display/CDibDDViewport.h"
#include "display/DisplayResult.h"
#include "imaging/BlitFlags.h"

#include <SDL.h>

CDibDDContext::CDibDDContext(void* instance, void* window, uint32_t flags)
{
    // A failed start leaves the context without a display; Create on its
    // images then reports it (DD_NO_CONTEXT), so nothing is lost here.
    if (Init(instance, window, flags, nullptr) != DIB_OK)
        DebugTrace("CDibDDContext : the display could not be started");
}

CDibDDContext::~CDibDDContext()
{
    Shutdown();
}

DibResult CDibDDContext::Init(void* instance, void* windowHandle, uint32_t flags, const void*)
{
    if (m_initialised)
        return DDINIT_ALREADY;
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        DebugTrace("CDibDDContext::Init() : %s", SDL_GetError());
        return DDINIT_SUBSYSTEM_FAILED;
    }
    ++m_subsystemCount;
    if (const DibResult code = CDibContext::Init(windowHandle, instance, flags); code != DIB_OK)
        return code;

    // What the display layer's blitters do: source colour keys between any
    // pair of memories; no destination keys and no mirroring. Reading video
    // memory back into system memory is never offered.
    for (int source = 0; source < 2; ++source)
        for (int target = 0; target < 2; ++target) {
            uint32_t features = (source == SURFACE_VIDEO_MEMORY && target == SURFACE_SYSTEM_MEMORY) ? 0 : BLIT_SRCKEY;
            driverBlits[source][target] = features;
            emulationBlits[source][target] = features;
        }

    m_modes.clear();
    const int modes = SDL_GetNumDisplayModes(0);
    for (int i = 0; i < modes; ++i) {
        SDL_DisplayMode mode;
        if (SDL_GetDisplayMode(0, i, &mode) == 0 && !SDL_ISPIXELFORMAT_INDEXED(mode.format))
            m_modes.push_back({mode.w, mode.h, int(SDL_BITSPERPIXEL(mode.format))});
    }
    m_initialised = true;
    return DIB_OK;
}

void CDibDDContext::Shutdown()
{
    m_modes.clear();
    while (m_subsystemCount > 0) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        --m_subsystemCount;
    }
    m_initialised = false;
}

void* CDibDDContext::NewViewport()
{
    return new CDibDDViewport;
}

CDibDDContext* CDibDDContext::CurrentDisplay()
{
    CDibContext* context = CDibContext::Current();
    if (!context || context->GetKind() != 1)
        return nullptr;
    return static_cast<CDibDDContext*>(context);
}
