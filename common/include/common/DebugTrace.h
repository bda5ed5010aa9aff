#pragma once
// Developer-facing trace lines (display and codec errors). Never shown to the
// user: lines go to standard error, or to the file named by the environment
// variable VELDRA_TRACE when it is set. VELDRA_TRACE=off silences them.

#include <cstdarg>

#if defined(__GNUC__)
#define VELDRA_PRINTF(fmt, args) __attribute__((format(printf, fmt, args)))
#else
#define VELDRA_PRINTF(fmt, args)
#endif

void DebugTrace(const char* format, ...) VELDRA_PRINTF(1, 2);
void DebugTraceV(const char* format, va_list args);
