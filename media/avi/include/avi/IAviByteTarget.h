#pragma once
// Where an AVI file being written goes: bytes appended, and bytes written
// again over what is there (the multiplexer goes back to patch its headers).

#include <cstddef>
#include <cstdint>

class IAviByteTarget {
public:
    virtual ~IAviByteTarget() = default;
    virtual uint64_t Size() const = 0;
    // Writes `count` bytes at `position`, which is at most Size(): what lies
    // before the end is overwritten, the rest appended. False on failure.
    virtual bool WriteAt(uint64_t position, const uint8_t* bytes, size_t count) = 0;
};
