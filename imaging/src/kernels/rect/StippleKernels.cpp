// Portable screen-door kernels: stipple at a level, and alpha stipple, where
// each pixel's opacity is its own level (the keys are not consulted).

#include "kernels/rect/BlitKernels.h"
#include "kernels/rect/PixelOps.h"
#include "kernels/rect/PortableKernels.h"

void Stipple8Portable(const BlitParams& p) { RunSpecialised<KeyedLoop<1, StippleRule>::Impl>(p); }
void Stipple16Portable(const BlitParams& p) { RunSpecialised<KeyedLoop<2, StippleRule>::Impl>(p); }
void Stipple24Portable(const BlitParams& p) { RunSpecialised<KeyedLoop<3, StippleRule>::Impl>(p); }
void Stipple32Portable(const BlitParams& p) { RunSpecialised<KeyedLoop<4, StippleRule>::Impl>(p); }
void AlphaStipple8Portable(const BlitParams& p) { RunMirrorSpecialised<MirrorLoop<1, AlphaStippleRule<1>>::Impl>(p); }
void AlphaStipple16Portable(const BlitParams& p) { RunMirrorSpecialised<MirrorLoop<2, AlphaStippleRule<2>>::Impl>(p); }
void AlphaStipple24Portable(const BlitParams& p) { RunMirrorSpecialised<MirrorLoop<3, AlphaStippleRule<3>>::Impl>(p); }
void AlphaStipple32Portable(const BlitParams& p) { RunMirrorSpecialised<MirrorLoop<4, AlphaStippleRule<4>>::Impl>(p); }
