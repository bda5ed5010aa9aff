#pragma once
// DIB_ASSERT: checks an invariant that the image and sprite libraries rely on
// (one context at a time, heap-allocated images, validated sprite views). It
// is live in debug builds, which include the sanitizer builds, and compiled out
// of optimised builds (NDEBUG), where the invariants cost nothing. A failure
// names the condition, the reason and the place on standard error, then
// aborts, so a sanitizer run stops where the invariant broke rather than
// where its consequence shows.

#if defined(NDEBUG)
#define DIB_ASSERT(condition, reason) ((void)sizeof(!(condition)))
#else
#define DIB_ASSERT(condition, reason) \
    ((condition) ? (void)0 : DibAssertFailed(#condition, reason, __FILE__, __LINE__))
#endif

// True when DIB_ASSERT checks its conditions (tests that provoke a failure
// on purpose run only then).
constexpr bool kDibAssertsLive =
#if defined(NDEBUG)
    false;
#else
    true;
#endif

[[noreturn]] void DibAssertFailed(const char* condition, const char* reason, const char* file, int line);
