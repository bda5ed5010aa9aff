// The AVX2 tier of the rectangle kernels and the blend fill.

#include "kernels/Avx2Vector.h"
#include "kernels/SimdBlitBodies.h"
#include "kernels/SimdKernels.h"

VELDRA_DEFINE_SIMD_KERNELS(avx2)
