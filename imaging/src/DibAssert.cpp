#include "imaging/DibAssert.h"

#include <cstdio>
#include <cstdlib>

void DibAssertFailed(const char* condition, const char* reason, const char* file, int line)
{
    std::fprintf(stderr, "%s:%d: invariant broken: %s (%s)\n", file, line, reason, condition);
    std::fflush(stderr);
    std::abort();
}
