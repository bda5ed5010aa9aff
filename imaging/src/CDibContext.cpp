#include "imaging/CDibContext.h"

#include "imaging/CpuFeatures.h"
#include "imaging/DibAssert.h"

CDibContext* CDibContext::s_current = nullptr;

CDibContext::CDibContext()
{
    // A second context would take over the process-wide pointer, and the
    // first one's end would then leave the library with none.
    DIB_ASSERT(s_current == nullptr, "only one image library context exists at a time");
    s_current = this;
}

CDibContext::~CDibContext()
{
    if (s_current == this)
        s_current = nullptr;
}

DibResult CDibContext::Init(void* windowHandle, void* instanceHandle, uint32_t flags)
{
    window = windowHandle;
    instance = instanceHandle;
    useMmx = 0;
    // Every vector tier needs SSE2 at least; which tier runs is the kernels'
    // choice (KernelTiers.h), whether any may run is the context's.
    if (!(flags & DIBCTX_NO_SIMD) && !SimdDisabledByEnvironment() && CpuHasSse2())
        useMmx = 1;
    noHardwareBlit = (flags & DIBCTX_NO_HARDWARE_BLIT) ? 1 : 0;
    return DIB_OK;
}

bool DibUseSimd()
{
    CDibContext* context = CDibContext::Current();
    return context && context->useMmx == 1;
}
