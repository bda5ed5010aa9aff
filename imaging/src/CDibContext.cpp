#include "imaging/CDibContext.h"

#include "imaging/CDib.h"
#include "imaging/CDibPalette.h"
#include "imaging/CDibRegion.h"
#include "imaging/CDibSection.h"
#include "imaging/CpuFeatures.h"

CDibContext* CDibContext::s_current = nullptr;

CDibContext::CDibContext()
{
    s_current = this;
}

CDibContext::~CDibContext()
{
    DestroyAll();
    // Palettes still alive are only unlisted: their owners free them.
    while (!m_palettes.IsEmpty())
        m_palettes.TakeTail()->m_registryHandle = nullptr;
    if (s_current == this)
        s_current = nullptr;
}

DibResult CDibContext::Init(void* windowHandle, void* instanceHandle, uint32_t flags)
{
    window = windowHandle;
    instance = instanceHandle;
    useMmx = 0;
    if (!(flags & DIBCTX_NO_SIMD) && CpuHasSse2() && !SimdDisabledByEnvironment())
        useMmx = 1;
    noHardwareBlit = (flags & DIBCTX_NO_HARDWARE_BLIT) ? 1 : 0;
    return DIB_OK;
}

void CDibContext::DestroyAll()
{
    // Deleting an image unregisters it (and may release regions), so always
    // take the current tail afresh.
    while (CLinkedList<CDib*>::Node* node = m_images.Tail())
        delete node->value;
    while (CLinkedList<CDibRegion*>::Node* node = m_regions.Tail())
        delete node->value;
}

CDib* CDibContext::NewImage()
{
    return new CDibSection;
}

CLinkedList<CDib*>::Node* CDibContext::RegisterImage(CDib* image)
{
    return s_current ? s_current->m_images.AddTail(image) : nullptr;
}

void CDibContext::UnregisterImage(CLinkedList<CDib*>::Node* handle)
{
    if (handle && s_current)
        s_current->m_images.Remove(handle);
}

CLinkedList<CDibRegion*>::Node* CDibContext::RegisterRegion(CDibRegion* region)
{
    return s_current ? s_current->m_regions.AddTail(region) : nullptr;
}

void CDibContext::UnregisterRegion(CLinkedList<CDibRegion*>::Node* handle)
{
    if (handle && s_current)
        s_current->m_regions.Remove(handle);
}

CLinkedList<CDibPalette*>::Node* CDibContext::RegisterPalette(CDibPalette* palette)
{
    return s_current ? s_current->m_palettes.AddTail(palette) : nullptr;
}

void CDibContext::UnregisterPalette(CLinkedList<CDibPalette*>::Node* handle)
{
    if (handle && s_current)
        s_current->m_palettes.Remove(handle);
}

bool DibUseSimd()
{
    CDibContext* context = CDibContext::Current();
    return context && context->useMmx == 1;
}
