#pragma once
// Little- and big-endian reads and writes at unaligned addresses, for every
// parser and writer of file formats.

#include <cstdint>
#include <cstring>

inline uint16_t ReadLE16(const void* p)
{
    const uint8_t* b = static_cast<const uint8_t*>(p);
    return static_cast<uint16_t>(b[0] | b[1] << 8);
}
inline uint32_t ReadLE32(const void* p)
{
    const uint8_t* b = static_cast<const uint8_t*>(p);
    return uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
}
inline uint16_t ReadBE16(const void* p)
{
    const uint8_t* b = static_cast<const uint8_t*>(p);
    return static_cast<uint16_t>(b[0] << 8 | b[1]);
}
inline uint32_t ReadBE32(const void* p)
{
    const uint8_t* b = static_cast<const uint8_t*>(p);
    return uint32_t(b[0]) << 24 | uint32_t(b[1]) << 16 | uint32_t(b[2]) << 8 | uint32_t(b[3]);
}
inline void WriteLE16(void* p, uint16_t v)
{
    uint8_t* b = static_cast<uint8_t*>(p);
    b[0] = uint8_t(v);
    b[1] = uint8_t(v >> 8);
}
inline void WriteLE32(void* p, uint32_t v)
{
    uint8_t* b = static_cast<uint8_t*>(p);
    b[0] = uint8_t(v);
    b[1] = uint8_t(v >> 8);
    b[2] = uint8_t(v >> 16);
    b[3] = uint8_t(v >> 24);
}
inline void WriteBE16(void* p, uint16_t v)
{
    uint8_t* b = static_cast<uint8_t*>(p);
    b[0] = uint8_t(v >> 8);
    b[1] = uint8_t(v);
}
inline void WriteBE32(void* p, uint32_t v)
{
    uint8_t* b = static_cast<uint8_t*>(p);
    b[0] = uint8_t(v >> 24);
    b[1] = uint8_t(v >> 16);
    b[2] = uint8_t(v >> 8);
    b[3] = uint8_t(v);
}

// A four-character code with the first letter in the least significant byte,
// so the bytes read in file order spell the tag.
constexpr uint32_t FourCC(const char (&tag)[5])
{
    return uint32_t(uint8_t(tag[0])) | uint32_t(uint8_t(tag[1])) << 8 |
           uint32_t(uint8_t(tag[2])) << 16 | uint32_t(uint8_t(tag[3])) << 24;
}
