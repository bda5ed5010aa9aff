// Portable blending kernels: level blends and per-pixel alpha, each in the
// table arithmetic of the portable path and in the exact arithmetic of the
// vector tiers (whose portable twins these are).

#include "kernels/BlitKernels.h"
#include "kernels/PixelOps.h"
#include "kernels/PortableKernels.h"

namespace {

// A level blend is the keyed copy with the mix written instead of s.
template <int Bytes, class Mix>
struct LevelBlend {
    template <int Keys, bool MirrorX>
    struct Impl {
        static void Run(const BlitParams& p)
        {
            const int w = p.width;
            for (int k = 0; k < p.height; ++k) {
                uint8_t* d = p.dst + k * p.dstPitch;
                const uint8_t* s = p.src + k * p.srcPitch;
                for (int j = 0; j < w; ++j) {
                    const uint32_t sv = LoadPixel<Bytes>(s + (MirrorX ? w - 1 - j : j) * Bytes);
                    const uint32_t tv = LoadPixel<Bytes>(d + j * Bytes);
                    if (KeyAllows<Keys>(sv, tv, p.srcKey, p.dstKey))
                        StorePixel<Bytes>(d + j * Bytes, Mix::Apply(sv, tv, p.level));
                }
            }
        }
    };
};

// Per-pixel alpha does not consult the keys.
template <int Bytes, class Mix>
struct AlphaBlend {
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
                    const uint32_t tv = LoadPixel<Bytes>(d + j * Bytes);
                    StorePixel<Bytes>(d + j * Bytes, Mix::Apply(LoadPixel<Bytes>(s + c * Bytes), tv, a[c]));
                }
            }
        }
    };
};

template <bool Is565>
struct LevelTable16 {
    static uint32_t Apply(uint32_t s, uint32_t t, uint32_t level) { return Mix16Table<Is565>(s, t, level, 256 - level); }
};
template <bool Is565>
struct LevelExact16 {
    static uint32_t Apply(uint32_t s, uint32_t t, uint32_t level) { return Mix16Exact<Is565>(s, t, level); }
};
struct LevelTableBytes {
    static uint32_t Apply(uint32_t s, uint32_t t, uint32_t level) { return MixBytesTable(s, t, level, 256 - level); }
};
struct LevelExactBytes {
    static uint32_t Apply(uint32_t s, uint32_t t, uint32_t level) { return MixBytesExact(s, t, level); }
};
template <bool Is565>
struct AlphaTable16 {
    static uint32_t Apply(uint32_t s, uint32_t t, uint32_t a) { return Alpha16Table<Is565>(s, t, a); }
};
template <bool Is565>
struct AlphaExact16 {
    static uint32_t Apply(uint32_t s, uint32_t t, uint32_t a) { return Alpha16Exact<Is565>(s, t, a); }
};
struct AlphaTableBytes {
    static uint32_t Apply(uint32_t s, uint32_t t, uint32_t a) { return AlphaBytesTable(s, t, a); }
};
struct AlphaExactBytes {
    static uint32_t Apply(uint32_t s, uint32_t t, uint32_t a) { return AlphaBytesExact(s, t, a); }
};

} // namespace

void Blend555Portable(const BlitParams& p) { RunSpecialised<LevelBlend<2, LevelTable16<false>>::Impl>(p); }
void Blend565Portable(const BlitParams& p) { RunSpecialised<LevelBlend<2, LevelTable16<true>>::Impl>(p); }
void Blend24Portable(const BlitParams& p) { RunSpecialised<LevelBlend<3, LevelTableBytes>::Impl>(p); }
void Blend32Portable(const BlitParams& p) { RunSpecialised<LevelBlend<4, LevelTableBytes>::Impl>(p); }
void Blend555ExactPortable(const BlitParams& p) { RunSpecialised<LevelBlend<2, LevelExact16<false>>::Impl>(p); }
void Blend565ExactPortable(const BlitParams& p) { RunSpecialised<LevelBlend<2, LevelExact16<true>>::Impl>(p); }
void Blend32ExactPortable(const BlitParams& p) { RunSpecialised<LevelBlend<4, LevelExactBytes>::Impl>(p); }

void Alpha555Portable(const BlitParams& p) { RunMirrorSpecialised<AlphaBlend<2, AlphaTable16<false>>::Impl>(p); }
void Alpha565Portable(const BlitParams& p) { RunMirrorSpecialised<AlphaBlend<2, AlphaTable16<true>>::Impl>(p); }
void Alpha24Portable(const BlitParams& p) { RunMirrorSpecialised<AlphaBlend<3, AlphaTableBytes>::Impl>(p); }
void Alpha32Portable(const BlitParams& p) { RunMirrorSpecialised<AlphaBlend<4, AlphaTableBytes>::Impl>(p); }
void Alpha555ExactPortable(const BlitParams& p) { RunMirrorSpecialised<AlphaBlend<2, AlphaExact16<false>>::Impl>(p); }
void Alpha565ExactPortable(const BlitParams& p) { RunMirrorSpecialised<AlphaBlend<2, AlphaExact16<true>>::Impl>(p); }
void Alpha32ExactPortable(const BlitParams& p) { RunMirrorSpecialised<AlphaBlend<4, AlphaExactBytes>::Impl>(p); }
