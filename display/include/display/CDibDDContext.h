#pragma once
// CDibDDContext: the image library context of the game's display. It brings
// up the display subsystem, lists the display modes and records which blits
// the display layer's own blitters can do for each pair of surface memories,
// so that CDibDD can hand them over.

#include "imaging/CDibContext.h"

#include <cstdint>
#include <vector>

struct DisplayModeRecord {
    int width;
    int height;
    int bitsPerPixel;
};

// Memories of a surface, indexes of the hardware blit tables.
enum : int { SURFACE_SYSTEM_MEMORY = 0, SURFACE_VIDEO_MEMORY = 1 };

class CDibDDContext : public CDibContext {
public:
    // Initialises at once with the given window (an SDL_Window*, may be null).
    CDibDDContext(void* instance = nullptr, void* window = nullptr, uint32_t flags = 0);
    ~CDibDDContext() override;

    // DDINIT_ALREADY when already initialised, DDINIT_SUBSYSTEM_FAILED when
    // the display subsystem cannot start.
    [[nodiscard]] DibResult Init(void* instance, void* window, uint32_t flags, const void* driver);
    [[nodiscard]]
    DibResult Init(void* window, void* instance, uint32_t flags) override { return Init(instance, window, flags, nullptr); }
    int GetKind() const override { return 1; }
    void* NewViewport() override;

    bool IsInitialised() const { return m_initialised; }
    // Blit features (BLIT_SRCKEY, BLIT_DESTKEY, BLIT_MIRROR_X, BLIT_MIRROR_Y)
    // offered for [source memory][target memory], by the driver and by the
    // emulation layer.
    uint32_t driverBlits[2][2] = {};
    uint32_t emulationBlits[2][2] = {};

    // The display context, or null when the current context is another kind.
    static CDibDDContext* CurrentDisplay();

private:
    // Forgets the modes and brings the display subsystem down.
    void Shutdown();

    bool m_initialised = false;
    int m_subsystemCount = 0;
    std::vector<DisplayModeRecord> m_modes;
};
