#pragma once
// The seek rule of the AVI layer's FFmpeg byte streams, read and written: a
// position is reached from the start, the current position or the end,
// and must lie within the bytes there are (checked before any sum, since
// offsets come from files).

#include <cstdint>
#include <cstdio>

extern "C" {
#include <libavformat/avio.h>
#include <libavutil/error.h>
}

// The new position, or a negative FFmpeg error; `whence` as FFmpeg passes
// it (AVSEEK_SIZE asks for the size).
inline int64_t ResolveAvioSeek(int64_t offset, int whence, uint64_t position, uint64_t size)
{
    const int64_t end = int64_t(size);
    int64_t from = 0;
    switch (whence & ~AVSEEK_FORCE) {
    case AVSEEK_SIZE: return end;
    case SEEK_SET: from = 0; break;
    case SEEK_CUR: from = int64_t(position); break;
    case SEEK_END: from = end; break;
    default: return AVERROR(EINVAL);
    }
    if (offset < -from || offset > end - from)
        return AVERROR(EINVAL);
    return from + offset;
}
