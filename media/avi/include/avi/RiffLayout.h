#pragma once
// The chunk layout of a RIFF file, checked before any demultiplexer reads
// it: FFmpeg's AVI reader allocates what a header chunk's size field claims
// before it finds out that the bytes are not there, so every size is
// checked against its container first.

#include <cstddef>
#include <cstdint>

enum class RiffLayout {
    Sound,      // "RIFF" forms whose every chunk lies within its container
    NotRiff,    // does not start with a "RIFF" chunk
    Damaged,    // a chunk reaches past its container (or the file), or lists nest absurdly
};

// Walks every chunk, descending into "RIFF" and "LIST" chunks. The pad byte
// after an odd-sized chunk may be missing at the very end of a container.
RiffLayout CheckRiffLayout(const uint8_t* data, size_t size);
