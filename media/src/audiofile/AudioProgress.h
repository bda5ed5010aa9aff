#pragma once
// Progress reporting through a caller's callback. When one operation runs
// inside another, a sub-range maps the inner 0-100 onto [from, to].

#include "media/AudioFileTypes.h"

#include <cstdint>

struct AudioProgress {
    AudioProgressCallback callback = nullptr;
    void* context = nullptr;
    int from = 0;
    int to = 100;

    void Report(int value, int percent) const
    {
        if (callback)
            callback(context, value, from + (to - from) * percent / 100);
    }
    // Reports done ÷ total as a percentage (100 when total is 0).
    void ReportFraction(int value, uint64_t done, uint64_t total) const
    {
        Report(value, total ? static_cast<int>(done * 100 / total) : 100);
    }
    AudioProgress Sub(int subFrom, int subTo) const
    {
        return AudioProgress{callback, context, from + (to - from) * subFrom / 100, from + (to - from) * subTo / 100};
    }
};
