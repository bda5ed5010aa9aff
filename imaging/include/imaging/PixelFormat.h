#pragma once
// PixelFormat: one 32-bit code that describes a pixel layout. Bits 24-29 hold
// the bits per pixel, bit 30 marks palette-indexed pixels, bits 16-23 hold the
// position of the alpha, red, green and blue channels (2 bits each, alpha
// highest) and bits 0-15 their widths (4 bits each, alpha highest). Code 0
// means "no picture".

#include <cstdint>

using PixelFormat = uint32_t;

constexpr PixelFormat PF_NONE = 0;
constexpr PixelFormat PF_INDEX1 = 0x41000000;
constexpr PixelFormat PF_INDEX2 = 0x42000000;
constexpr PixelFormat PF_INDEX4 = 0x44000000;
constexpr PixelFormat PF_INDEX8 = 0x48000000;
constexpr PixelFormat PF_RGB555 = 0x10e40555;
constexpr PixelFormat PF_BGR555 = 0x10c60555;
constexpr PixelFormat PF_RGB565 = 0x10e40565;
constexpr PixelFormat PF_BGR565 = 0x10c60565;
constexpr PixelFormat PF_RGB24 = 0x18e40888;
constexpr PixelFormat PF_BGR24 = 0x18c60888;
constexpr PixelFormat PF_RGB32 = 0x20e40888;
constexpr PixelFormat PF_BGR32 = 0x20c60888;

constexpr uint32_t PixelFormatBits(PixelFormat f) { return (f >> 24) & 0x3F; }
constexpr bool PixelFormatIsIndexed(PixelFormat f) { return (f & 0x40000000u) != 0; }
// Bytes per pixel for formats of 8 bits and more; 0 below 8 bits.
constexpr uint32_t PixelFormatBytes(PixelFormat f) { return PixelFormatBits(f) / 8; }

// True for the twelve codes in use.
bool PixelFormatIsKnown(PixelFormat f);

// Bytes in one row: ceil(bits × width / 8) rounded up to a multiple of 4.
// 0 for an unknown format or a width outside 1..65535.
uint32_t PixelFormatRowPitch(PixelFormat f, int width);

// The layout of one channel of a direct-colour format.
struct ChannelLayout {
    uint32_t width = 0;  // bits
    uint32_t offset = 0; // bit position of the least significant bit
    uint32_t mask = 0;   // (2^width - 1) << offset
    uint32_t shift = 8;  // 8 - width: how far an 8-bit value is narrowed
};

// Channels of a direct-colour format, derived once per call by the converters.
struct ChannelSet {
    ChannelLayout red, green, blue, alpha;
};

ChannelSet DescribeChannels(PixelFormat f);
