// The SSE2 tier of the "TRLE" kernels. Scaled and mirrored rows gather their
// indices with the shared scalar loop: SSE2 has no byte shuffle.

#include "kernels/simd/Sse2Vector.h"
#include "kernels/sprite/SimdTrleBodies.h"
#include "kernels/sprite/SimdTrleKernels.h"

VELDRA_DEFINE_TRLE_KERNELS(sse2, ScalarGather)
