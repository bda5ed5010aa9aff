#pragma once
// A plain timer for the side-by-side benchmarks: the best of several runs,
// in seconds, so a busy machine disturbs the figures as little as possible.

#include <chrono>
#include <cstdio>
#include <cstdlib>

template <typename F>
double TimeBest(F&& work, int runs = 15)
{
    double best = 1e30;
    for (int i = 0; i < runs; ++i) {
        auto start = std::chrono::steady_clock::now();
        work();
        double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (seconds < best)
            best = seconds;
    }
    return best;
}

// Set-up that fails would time nothing worth printing: say what and stop.
inline void Require(bool ok, const char* what)
{
    if (!ok) {
        std::fprintf(stderr, "bench: could not %s\n", what);
        std::exit(1);
    }
}
