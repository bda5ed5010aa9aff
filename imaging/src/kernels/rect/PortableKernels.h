#pragma once
// The portable tier: one kernel per family (see BlitKernels.h). The *Exact
// kernels are the portable twins of the vector tiers' arithmetic.

#include "kernels/rect/BlitKernels.h"

void Copy8Portable(const BlitParams& p);
void Copy16Portable(const BlitParams& p);
void Keyed8Portable(const BlitParams& p);
void Keyed16Portable(const BlitParams& p);
void Keyed24Portable(const BlitParams& p);
void Keyed32Portable(const BlitParams& p);
void Stipple8Portable(const BlitParams& p);
void Stipple16Portable(const BlitParams& p);
void Stipple24Portable(const BlitParams& p);
void Stipple32Portable(const BlitParams& p);
void AlphaStipple8Portable(const BlitParams& p);
void AlphaStipple16Portable(const BlitParams& p);
void AlphaStipple24Portable(const BlitParams& p);
void AlphaStipple32Portable(const BlitParams& p);
void Blend555Portable(const BlitParams& p);
void Blend565Portable(const BlitParams& p);
void Blend24Portable(const BlitParams& p);
void Blend32Portable(const BlitParams& p);
void Blend555ExactPortable(const BlitParams& p);
void Blend565ExactPortable(const BlitParams& p);
void Blend32ExactPortable(const BlitParams& p);
void Alpha555Portable(const BlitParams& p);
void Alpha565Portable(const BlitParams& p);
void Alpha24Portable(const BlitParams& p);
void Alpha32Portable(const BlitParams& p);
void Alpha555ExactPortable(const BlitParams& p);
void Alpha565ExactPortable(const BlitParams& p);
void Alpha32ExactPortable(const BlitParams& p);
void ScaledKeyed8Portable(const BlitParams& p);
void ScaledKeyed16Portable(const BlitParams& p);
void ScaledKeyed24Portable(const BlitParams& p);
void ScaledKeyed32Portable(const BlitParams& p);
void ScaledStipple8Portable(const BlitParams& p);
void ScaledStipple16Portable(const BlitParams& p);
void ScaledStipple24Portable(const BlitParams& p);
void ScaledStipple32Portable(const BlitParams& p);
void ScaledAlpha555Portable(const BlitParams& p);
void ScaledAlpha565Portable(const BlitParams& p);

void BlendFill555Portable(uint8_t* bits, ptrdiff_t pitch, int x, int y, int w, int h, uint32_t colour,
                          uint32_t level);
void BlendFill565Portable(uint8_t* bits, ptrdiff_t pitch, int x, int y, int w, int h, uint32_t colour,
                          uint32_t level);
void BlendFill555ExactPortable(uint8_t* bits, ptrdiff_t pitch, int x, int y, int w, int h, uint32_t colour,
                               uint32_t level);
void BlendFill565ExactPortable(uint8_t* bits, ptrdiff_t pitch, int x, int y, int w, int h, uint32_t colour,
                               uint32_t level);
