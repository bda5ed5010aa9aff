#include "imaging/CpuFeatures.h"

#include <cstdlib>
#include <cstring>

bool CpuHasSse2()
{
#if defined(__x86_64__) || defined(__i386__)
    return __builtin_cpu_supports("sse2");
#else
    return false;
#endif
}

bool CpuHasAvx2()
{
#if defined(__x86_64__) || defined(__i386__)
    return __builtin_cpu_supports("avx2");
#else
    return false;
#endif
}

bool SimdDisabledByEnvironment()
{
    const char* value = std::getenv("VELDRA_PORTABLE");
    return value && *value && std::strcmp(value, "0") != 0;
}
