// Portable screen-door kernels: stipple at a level, and alpha stipple, where
// each pixel's opacity is its own level.

#include "kernels/BlitKernels.h"
#include "kernels/PixelOps.h"
#include "kernels/PortableKernels.h"

namespace {

template <int Bytes>
struct Stipple {
    template <int Keys, bool MirrorX>
    struct Impl {
        static void Run(const BlitParams& p)
        {
            const uint32_t level = p.level >> 2;
            const int w = p.width;
            for (int k = 0; k < p.height; ++k) {
                uint8_t* d = p.dst + k * p.dstPitch;
                const uint8_t* s = p.src + k * p.srcPitch;
                for (int j = 0; j < w; ++j) {
                    if (!StippleAllows(p.dstX + j, p.dstY + k, level))
                        continue;
                    const uint32_t sv = LoadPixel<Bytes>(s + (MirrorX ? w - 1 - j : j) * Bytes);
                    const uint32_t tv = (Keys & KEYS_DEST) ? LoadPixel<Bytes>(d + j * Bytes) : 0;
                    if (KeyAllows<Keys>(sv, tv, p.srcKey, p.dstKey))
                        StorePixel<Bytes>(d + j * Bytes, sv);
                }
            }
        }
    };
};

// Colour keys are not consulted; only the mirror specialises the loop.
template <int Bytes>
struct AlphaStipple {
    template <bool MirrorX>
    struct Impl {
        static void Run(const BlitParams& p)
        {
            const int w = p.width;
            for (int k = 0; k < p.height; ++k) {
                uint8_t* d = p.dst + k * p.dstPitch;
                const uint8_t* s = p.src + k * p.srcPitch;
                const uint8_t* a = p.alpha + k * p.alphaPitch;
                for (int j = 0; j < w; ++j) {
                    const int c = MirrorX ? w - 1 - j : j;
                    if (AlphaStippleAllows(p.dstX + j, p.dstY + k, a[c]))
                        StorePixel<Bytes>(d + j * Bytes, LoadPixel<Bytes>(s + c * Bytes));
                }
            }
        }
    };
};

} // namespace

void Stipple8Portable(const BlitParams& p) { RunSpecialised<Stipple<1>::Impl>(p); }
void Stipple16Portable(const BlitParams& p) { RunSpecialised<Stipple<2>::Impl>(p); }
void Stipple24Portable(const BlitParams& p) { RunSpecialised<Stipple<3>::Impl>(p); }
void Stipple32Portable(const BlitParams& p) { RunSpecialised<Stipple<4>::Impl>(p); }

void AlphaStipple8Portable(const BlitParams& p) { RunMirrorSpecialised<AlphaStipple<1>::Impl>(p); }
void AlphaStipple16Portable(const BlitParams& p) { RunMirrorSpecialised<AlphaStipple<2>::Impl>(p); }
void AlphaStipple24Portable(const BlitParams& p) { RunMirrorSpecialised<AlphaStipple<3>::Impl>(p); }
void AlphaStipple32Portable(const BlitParams& p) { RunMirrorSpecialised<AlphaStipple<4>::Impl>(p); }
