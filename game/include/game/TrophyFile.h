#pragma once
// "trophy.bin": a signed 32-bit count, then that many 32-bit animal kinds,
// oldest first, little-endian. The file is untrusted: only the entries that
// are really there are read, whatever the count claims. Appending writes a
// new file beside the old one and renames it over, so the trophies already
// won survive a crash or a full disk.

#include "gamedata/DataFiles.h"

#include <cstdint>
#include <string>
#include <vector>

std::vector<int32_t> ReadTrophies(const std::string& path = kTrophyFile);
bool AppendTrophy(int32_t kind, const std::string& path = kTrophyFile);
