// Portable copies: the plain row copies (no flags) and the keyed copies of
// every depth, the rule every other family refines.

#include "kernels/rect/BlitKernels.h"
#include "kernels/rect/PixelOps.h"
#include "kernels/rect/PortableKernels.h"

#include <cstring>

namespace {

// Whole rows. memmove rather than memcpy: a blit of an image onto itself may
// overlap, and must not be undefined for that.
void CopyRows(const BlitParams& p, int bytes)
{
    const size_t rowBytes = size_t(p.width) * size_t(bytes);
    for (int k = 0; k < p.height; ++k)
        std::memmove(p.dst + k * p.dstPitch, p.src + k * p.srcPitch, rowBytes);
}

template <int Bytes>
struct KeyedCopy {
    template <int Keys, bool MirrorX>
    struct Impl {
        static void Run(const BlitParams& p)
        {
            if constexpr (Keys == KEYS_NONE && !MirrorX)
                CopyRows(p, Bytes);
            else
                ForEachPixel<Bytes, MirrorX>(p, KeyedRule<Bytes, Keys>());
        }
    };
};

} // namespace

void Copy8Portable(const BlitParams& p) { CopyRows(p, 1); }
void Copy16Portable(const BlitParams& p) { CopyRows(p, 2); }
void Keyed8Portable(const BlitParams& p) { RunSpecialised<KeyedCopy<1>::Impl>(p); }
void Keyed16Portable(const BlitParams& p) { RunSpecialised<KeyedCopy<2>::Impl>(p); }
void Keyed24Portable(const BlitParams& p) { RunSpecialised<KeyedCopy<3>::Impl>(p); }
void Keyed32Portable(const BlitParams& p) { RunSpecialised<KeyedCopy<4>::Impl>(p); }
