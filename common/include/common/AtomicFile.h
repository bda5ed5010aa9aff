#pragma once
// Files the programs write are written whole or not at all: the bytes go to a
// temporary file beside the target, are flushed to disk, and the temporary
// file is renamed over the target. A crash or a full disk leaves the old file.
// This is the one-buffer form of CAtomicOutputFile, which does the work.

#include <cstddef>
#include <string>

// Returns true when `path` now holds exactly the given bytes.
bool WriteFileAtomically(const std::string& path, const void* data, size_t size);

// Reads a whole file, refusing files larger than `maxBytes`.
bool ReadWholeFile(const std::string& path, std::string& bytes, size_t maxBytes = size_t(1) << 30);
