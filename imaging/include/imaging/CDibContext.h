#pragma once
// CDibContext: the process-wide image library context. It records whether the
// SIMD kernels may be used and is the factory the display back end derives
// from. At most one exists at a time (checked in debug builds); Current()
// reaches it. It owns no image: images belong to whoever made them.

#include "imaging/DibResult.h"

#include <cstdint>

// Init flags.
constexpr uint32_t DIBCTX_NO_SIMD = 0x1;          // never use the SIMD kernels
constexpr uint32_t DIBCTX_NO_HARDWARE_BLIT = 0x4; // the display never blits in hardware

class CDibContext {
public:
    CDibContext();
    CDibContext(const CDibContext&) = delete;
    CDibContext& operator=(const CDibContext&) = delete;
    virtual ~CDibContext();

    [[nodiscard]] virtual DibResult Init(void* window, void* instance, uint32_t flags);
    virtual int GetKind() const { return 0; }
    // The base context has no viewport kind of its own; the display's contexts do.
    virtual void* NewViewport() { return nullptr; }

    static CDibContext* Current() { return s_current; }

    // 1 when the SIMD kernels (the processor's vector instructions) may be used.
    int useMmx = 0;
    int noHardwareBlit = 0;
    void* window = nullptr;
    void* instance = nullptr;

private:
    static CDibContext* s_current;
};

// True when the SIMD kernels should run: a context exists and allows them.
bool DibUseSimd();
