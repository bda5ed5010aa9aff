#pragma once
// The AU file's fixed numbers, which its reader and writer share: the magic
// ".snd" that opens the header and the encodings the suite reads and writes.
// Every number in the file is big-endian.

#include <cstdint>

constexpr uint32_t kAuMagic = 0x2E736E64; // ".snd"

enum AuEncoding : uint32_t { AU_MULAW = 1, AU_LINEAR8 = 2, AU_LINEAR16 = 3, AU_ALAW = 27 };
