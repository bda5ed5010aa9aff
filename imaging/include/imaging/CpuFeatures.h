#pragma once
// Run-time processor checks for the SIMD kernels. VELDRA_PORTABLE=1 in the
// environment forces the portable kernels everywhere (tests use it to check
// both paths from one binary).

bool CpuHasSse2();
bool CpuHasAvx2();
bool SimdDisabledByEnvironment();
