// The AVX2 tier of the rectangle kernels and the blend fill.

#include "kernels/rect/SimdBlitBodies.h"
#include "kernels/rect/SimdKernels.h"
#include "kernels/simd/Avx2Vector.h"

VELDRA_DEFINE_SIMD_KERNELS(avx2)
