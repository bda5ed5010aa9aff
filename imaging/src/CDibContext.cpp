#include "imaging/CDibContext.h"

#include "imaging/CDib.h"
#include "imaging/CDibPalette.h"
#include "imaging/CDibRegion.h"
#include "imaging/CDibSection.h"
#include "imaging/CpuFeatures.h"
#include "imaging/DibAssert.h"
#include "kernels/KernelTiers.h"

CDibContext* CDibContext::s_current = nullptr;

CDibContext::CDibContext()
{
    // A second context would take over the process-wide pointer while the
    // first still owns images that expect to be destroyed by it.
    DIB_ASSERT(s_current == nullptr, "only one image library context exists at a time");
    s_current = this;
}

CDibContext::~CDibContext()
{
    DestroyAll();
    // Palettes still alive are only unlisted: their owners free them.
    while (!m_palettes.IsEmpty())
        m_palettes.TakeTail()->m_registryHandle = {};
    if (s_current == this)
        s_current = nullptr;
}

DibResult CDibContext::Init(void* windowHandle, void* instanceHandle, uint32_t flags)
{
    window = windowHandle;
    instance = instanceHandle;
    useMmx = 0;
    if (!(flags & DIBCTX_NO_SIMD) && !SimdDisabledByEnvironment() && BestSimdTier() != BlitTier::Portable)
        useMmx = 1;
    noHardwareBlit = (flags & DIBCTX_NO_HARDWARE_BLIT) ? 1 : 0;
    return DIB_OK;
}

void CDibContext::DestroyAll()
{
    // Deleting an image unregisters it (and may release regions), so always
    // take the current tail afresh.
    while (CLinkedList<CDib*>::Node* node = m_images.Tail()) {
        DIB_ASSERT(node->value->IsOnHeap(), "the context deletes the images still alive, so they live on the heap");
        delete node->value;
    }
    while (CLinkedList<CDibRegion*>::Node* node = m_regions.Tail())
        delete node->value;
}

CDib* CDibContext::NewImage()
{
    return new CDibSection;
}

namespace {

// Enters `object` in `list` of the current context; an empty handle without one.
template <typename T>
DibRegistryHandle<T> Enter(CDibContext* context, CLinkedList<T*> CDibContext::*list, T* object)
{
    DibRegistryHandle<T> handle;
    if (context) {
        handle.context = context;
        handle.node = (context->*list).AddTail(object);
    }
    return handle;
}

// Takes the entry out of `list` of the context the handle names.
template <typename T>
void Leave(DibRegistryHandle<T>& handle, CLinkedList<T*> CDibContext::*list)
{
    if (handle)
        (handle.context->*list).Remove(handle.node);
    handle = {};
}

} // namespace

DibRegistryHandle<CDib> CDibContext::RegisterImage(CDib* image)
{
    return Enter(s_current, &CDibContext::m_images, image);
}

void CDibContext::UnregisterImage(DibRegistryHandle<CDib>& handle)
{
    Leave(handle, &CDibContext::m_images);
}

DibRegistryHandle<CDibRegion> CDibContext::RegisterRegion(CDibRegion* region)
{
    return Enter(s_current, &CDibContext::m_regions, region);
}

void CDibContext::UnregisterRegion(DibRegistryHandle<CDibRegion>& handle)
{
    Leave(handle, &CDibContext::m_regions);
}

DibRegistryHandle<CDibPalette> CDibContext::RegisterPalette(CDibPalette* palette)
{
    return Enter(s_current, &CDibContext::m_palettes, palette);
}

void CDibContext::UnregisterPalette(DibRegistryHandle<CDibPalette>& handle)
{
    Leave(handle, &CDibContext::m_palettes);
}

bool DibUseSimd()
{
    CDibContext* context = CDibContext::Current();
    return context && context->useMmx == 1;
}
