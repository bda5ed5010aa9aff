// Portable blending kernels: level blends and per-pixel alpha, each in the
// table arithmetic of the portable path and in the exact arithmetic of the
// vector tiers (whose portable twins these are).

#include "kernels/rect/BlitKernels.h"
#include "kernels/rect/PixelOps.h"
#include "kernels/rect/PortableKernels.h"

namespace {

template <int Bytes, class Mix>
void Level(const BlitParams& p)
{
    RunSpecialised<KeyedLoop<Bytes, LevelBlend<Mix>::template Rule>::template Impl>(p);
}

template <int Bytes, class Mix>
void Alpha(const BlitParams& p)
{
    RunMirrorSpecialised<MirrorLoop<Bytes, AlphaBlendRule<Bytes, Mix>>::template Impl>(p);
}

} // namespace

void Blend555Portable(const BlitParams& p) { Level<2, LevelTable16<false>>(p); }
void Blend565Portable(const BlitParams& p) { Level<2, LevelTable16<true>>(p); }
void Blend24Portable(const BlitParams& p) { Level<3, LevelTableBytes>(p); }
void Blend32Portable(const BlitParams& p) { Level<4, LevelTableBytes>(p); }
void Blend555ExactPortable(const BlitParams& p) { Level<2, LevelExact16<false>>(p); }
void Blend565ExactPortable(const BlitParams& p) { Level<2, LevelExact16<true>>(p); }
void Blend32ExactPortable(const BlitParams& p) { Level<4, LevelExactBytes>(p); }

void Alpha555Portable(const BlitParams& p) { Alpha<2, AlphaTable16<false>>(p); }
void Alpha565Portable(const BlitParams& p) { Alpha<2, AlphaTable16<true>>(p); }
void Alpha24Portable(const BlitParams& p) { Alpha<3, AlphaTableBytes>(p); }
void Alpha32Portable(const BlitParams& p) { Alpha<4, AlphaTableBytes>(p); }
void Alpha555ExactPortable(const BlitParams& p) { Alpha<2, AlphaExact16<false>>(p); }
void Alpha565ExactPortable(const BlitParams& p) { Alpha<2, AlphaExact16<true>>(p); }
void Alpha32ExactPortable(const BlitParams& p) { Alpha<4, AlphaExactBytes>(p); }
