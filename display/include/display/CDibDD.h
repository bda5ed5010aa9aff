#pragma once
// CDibDD: an image whose pixels live in a display surface. It behaves like
// every other image (the software blitters draw into it through Lock), hands
// plain and source-keyed copies between surfaces of one format to the display
// layer's own blitters, and restores itself when the surface was lost: every
// surface operation restores first, refilling from the backing copy if one
// was saved.

#include "common/CLinkedList.h"
#include "imaging/CDib.h"

#include <cstdint>
#include <memory>

struct SDL_Surface;

// Memory flags of Create.
constexpr uint32_t DDMEM_VIDEO = 0x1;
constexpr uint32_t DDMEM_3D_DEVICE = 0x2;
constexpr uint32_t DDMEM_TEXTURE = 0x4;

// Surface roles.
enum : int { SURFACE_OFFSCREEN = 0, SURFACE_PRIMARY = 1, SURFACE_BACK_BUFFER = 2 };

class CDibDD : public CDib {
public:
    CDibDD();
    ~CDibDD() override;

    DibResult Blit(CDib* target, int dstX, int dstY, int dstW, int dstH, int srcX, int srcY, int srcW, int srcH,
                   uint32_t flags, BlitExtra extra) override;
    [[nodiscard]]
    DibResult Create(int width, int height, PixelFormat format, uint32_t memoryFlags = 0, uint32_t arg2 = 0) override;
    [[nodiscard]]
    DibResult ConvertFormat(PixelFormat newFormat, CDibPalette* newPalette, uint32_t flags, uint32_t arg = 0) override;
    DibResult Destroy() override;
    int GetKind() const override { return DIB_KIND_DISPLAY; }
    DibResult SetPalette(CDibPalette* palette) override;
    CDibPalette* NewPalette() override;
    DibResult SetClipRegion(CDibRegion* region) override;
    CDibRegion* NewClipRegion() override;
    CDib* NewImage() override;
    DibResult FillRect(int x, int y, int w, int h, uint32_t colour) override;
    DibResult SetSourceKey(uint32_t value) override;
    DibResult SetDestKey(uint32_t value) override;
    [[nodiscard]] DibResult Lock(uint8_t** bits, int* pitch) override;
    DibResult Unlock() override;

    // Wraps an existing surface (taken over: released on Destroy when
    // `owns`); the parent of a back buffer restores in its place.
    [[nodiscard]] DibResult Attach(SDL_Surface* surface, CDibDD* parent, int role, bool owns = true);
    // Places a created surface in a screen: primary, or back buffer of a
    // flipping chain whose primary (`parent`) restores in its place.
    void SetRole(int role, CDibDD* parent) { m_role = role; m_parent = parent; }
    [[nodiscard]] DibResult Restore();
    // Keeps a copy of the picture to refill the surface after a loss.
    [[nodiscard]] DibResult SaveBacking();
    // Loss of the surface, as after a display device reset. MarkLost is the
    // test hook; MarkAllLost visits every live surface.
    void MarkLost() { m_lost = true; }
    bool IsLost() const { return m_lost; }
    static void MarkAllLost();

    SDL_Surface* Surface() const { return m_surface; }
    int Memory() const { return m_memory; }
    CDibDD* Parent() const { return m_parent; }
    bool HasBacking() const { return m_backing != nullptr; }
    // How the last Blit was drawn (for tests and benchmarks).
    bool LastBlitUsedHardware() const { return m_lastBlitHardware; }

private:
    [[nodiscard]] DibResult RestoreIfLost();
    bool TryHardwareBlit(CDib* target, int dstX, int dstY, int dstW, int dstH, int srcX, int srcY, int srcW, int srcH,
                         uint32_t flags, DibResult* code);

    SDL_Surface* m_surface = nullptr;
    CDibDD* m_parent = nullptr;
    bool m_ownsSurface = true;
    int m_memory = 0;
    int m_role = SURFACE_OFFSCREEN;
    uint32_t m_memoryFlags = 0;
    std::unique_ptr<CDibDD> m_backing;
    // This surface's entry in the list of live surfaces that MarkAllLost visits.
    CLinkedList<CDibDD*>::Node* m_liveEntry = nullptr;
    bool m_lost = false;
    bool m_lastBlitHardware = false;
};
