// The SSE2 tier of the "TRLE" kernels. Scaled and mirrored rows gather their
// indices with the shared scalar loop: SSE2 has no byte shuffle.

#include "kernels/Sse2Vector.h"
#include "kernels/SimdTrleBodies.h"
#include "kernels/SimdTrleKernels.h"

VELDRA_DEFINE_TRLE_KERNELS(sse2, ScalarGather)
