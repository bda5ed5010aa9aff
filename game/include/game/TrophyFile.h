#pragma once
// "trophy.bin": a signed 32-bit count, then that many 32-bit animal kinds,
// oldest first, little-endian. The file is untrusted: only the entries that
// are really there are read, whatever the count claims (one flipped bit in
// the count must not cost the trophies behind it). Appending writes a new
// file beside the old one and renames it over, so the trophies already won
// survive a crash or a full disk; a record that did not read cleanly is
// first kept, byte for byte, beside it ("trophy.bin.damaged", then
// "trophy.bin.damaged.1" and on: an earlier copy is never overwritten).

#include "gamedata/DataFiles.h"

#include <cstdint>
#include <string>
#include <vector>

struct TrophyRecord {
    std::vector<int32_t> entries;
    // False when the bytes were not exactly a count and that many entries:
    // a count out of range, a torn entry, bytes beyond the counted ones.
    bool clean = true;
};

// At most this many entries are read (16 MiB of record, far beyond any
// player's); a longer record reads as not clean.
inline constexpr int32_t kMaxTrophies = 1 << 22;

TrophyRecord ReadTrophyRecord(const std::string& path = kTrophyFile);
std::vector<int32_t> ReadTrophies(const std::string& path = kTrophyFile);
// False when the record could not be written, or when it did not read cleanly
// and its bytes could not be kept first; the old record is then untouched.
bool AppendTrophy(int32_t kind, const std::string& path = kTrophyFile);
