#include "common/DebugTrace.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// Opened once on first use; kept open for the life of the process so each
// line costs one formatted write.
FILE* TraceSink()
{
    static FILE* sink = [] {
        const char* target = std::getenv("VELDRA_TRACE");
        if (!target || !*target)
            return stderr;
        if (std::strcmp(target, "off") == 0)
            return static_cast<FILE*>(nullptr);
        FILE* file = std::fopen(target, "a");
        return file ? file : stderr;
    }();
    return sink;
}

} // namespace

void DebugTraceV(const char* format, va_list args)
{
    FILE* sink = TraceSink();
    if (!sink)
        return;
    char line[1024];
    std::vsnprintf(line, sizeof line, format, args);
    size_t length = std::strlen(line);
    std::fprintf(sink, length && line[length - 1] == '\n' ? "%s" : "%s\n", line);
    std::fflush(sink);
}

void DebugTrace(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    DebugTraceV(format, args);
    va_end(args);
}
