#include "imaging/CDibContext.h"

#include "imaging/CDib.h"
#include "imaging/CDibPalette.h"
#include "imaging/CDibRegion.h"
#include "imaging/CDibSection.h"
#include "imaging/CpuFeatures.h"
#include "imaging/DibAssert.h"
#include "kernels/BlitKernels.h"

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

// Enters `object` in the current context's `list`; an empty handle without one.
template <typename T>
DibRegistryHandle<T> Enter(CDibContext* context, CLinkedList<T*>& list, T* object)
{
    DibRegistryHandle<T> handle;
    if (context) {
        handle.context = context;
        handle.node = list.AddTail(object);
    }
    return handle;
}

} // namespace

DibRegistryHandle<CDib> CDibContext::RegisterImage(CDib* image)
{
    return s_current ? Enter(s_current, s_current->m_images, image) : DibRegistryHandle<CDib>{};
}

void CDibContext::UnregisterImage(DibRegistryHandle<CDib>& handle)
{
    if (handle)
        handle.context->m_images.Remove(handle.node);
    handle = {};
}

DibRegistryHandle<CDibRegion> CDibContext::RegisterRegion(CDibRegion* region)
{
    return s_current ? Enter(s_current, s_current->m_regions, region) : DibRegistryHandle<CDibRegion>{};
}

void CDibContext::UnregisterRegion(DibRegistryHandle<CDibRegion>& handle)
{
    if (handle)
        handle.context->m_regions.Remove(handle.node);
    handle = {};
}

DibRegistryHandle<CDibPalette> CDibContext::RegisterPalette(CDibPalette* palette)
{
    return s_current ? Enter(s_current, s_current->m_palettes, palette) : DibRegistryHandle<CDibPalette>{};
}

void CDibContext::UnregisterPalette(DibRegistryHandle<CDibPalette>& handle)
{
    if (handle)
        handle.context->m_palettes.Remove(handle.node);
    handle = {};
}

bool DibUseSimd()
{
    CDibContext* context = CDibContext::Current();
    return context && context->useMmx == 1;
}
