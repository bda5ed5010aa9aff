#pragma once
// Entry points of the vector tiers' "TRLE" kernels (TrleKernels_sse2.cpp,
// TrleKernels_avx2.cpp); reach them through kTrleKernels.

#include "kernels/sprite/TrleKernels.h"

void TrleIndex8Identity_sse2(const TrleParams& p);
void TrleIndex8_sse2(const TrleParams& p);
void TrleRgb16_sse2(const TrleParams& p);
void TrleRgb32_sse2(const TrleParams& p);
void TrleIndex8Identity_avx2(const TrleParams& p);
void TrleIndex8_avx2(const TrleParams& p);
void TrleRgb16_avx2(const TrleParams& p);
void TrleRgb32_avx2(const TrleParams& p);
