#pragma once
// CDibContext: the process-wide image library context. It records whether the
// SIMD kernels may be used, keeps registries of the live images, clip regions
// and palettes, and is the factory the display back end derives from. At
// most one exists at a time (checked in debug builds); Current() reaches it.

#include "common/CLinkedList.h"
#include "imaging/DibRegistryHandle.h"
#include "imaging/DibResult.h"

#include <cstdint>

class CDib;
class CDibPalette;
class CDibRegion;

// Init flags.
constexpr uint32_t DIBCTX_NO_SIMD = 0x1;          // never use the SIMD kernels
constexpr uint32_t DIBCTX_NO_HARDWARE_BLIT = 0x4; // the display never blits in hardware

class CDibContext {
public:
    CDibContext();
    CDibContext(const CDibContext&) = delete;
    CDibContext& operator=(const CDibContext&) = delete;
    virtual ~CDibContext();

    virtual DibResult Init(void* window, void* instance, uint32_t flags);
    // Deletes every registered image and clip region.
    virtual void DestroyAll();
    virtual int GetKind() const { return 0; }
    virtual CDib* NewImage();
    // The base context has no viewport kind of its own; the display's contexts do.
    virtual void* NewViewport() { return nullptr; }

    static CDibContext* Current() { return s_current; }

    // 1 when the SIMD kernels (the processor's vector instructions) may be used.
    int useMmx = 0;
    int noHardwareBlit = 0;
    void* window = nullptr;
    void* instance = nullptr;

    // Registry hooks called by the objects themselves. Registering enters the
    // current context's list (an empty handle without a context); leaving
    // takes the entry out of the list of the context the handle names.
    static DibRegistryHandle<CDib> RegisterImage(CDib* image);
    static void UnregisterImage(DibRegistryHandle<CDib>& handle);
    static DibRegistryHandle<CDibRegion> RegisterRegion(CDibRegion* region);
    static void UnregisterRegion(DibRegistryHandle<CDibRegion>& handle);
    static DibRegistryHandle<CDibPalette> RegisterPalette(CDibPalette* palette);
    static void UnregisterPalette(DibRegistryHandle<CDibPalette>& handle);

    // Visits every live image (the display marks its surfaces lost this way).
    template <typename F>
    void ForEachImage(F&& visit) const { m_images.ForEach(visit); }

    size_t ImageCount() const { return m_images.Count(); }
    size_t RegionCount() const { return m_regions.Count(); }
    size_t PaletteCount() const { return m_palettes.Count(); }

private:
    CLinkedList<CDib*> m_images;
    CLinkedList<CDibRegion*> m_regions;
    CLinkedList<CDibPalette*> m_palettes;
    static CDibContext* s_current;
};

// True when the SIMD kernels should run: a context exists and allows them.
bool DibUseSimd();
