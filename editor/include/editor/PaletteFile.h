#pragma once
// Palette files (".pal"): exactly 1024 bytes, 256 entries of red, green,
// blue and flags, in palette-entry order, with no header.

#include "editor/EditorStatus.h"
#include "imaging/PaletteEntry.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

constexpr size_t PALETTE_FILE_SIZE = 1024;
constexpr const char* PALETTE_FILE_FILTER = "KVF Editor Palette (*.pal)|*.pal||";

using PaletteEntries = std::array<PaletteEntry, 256>;

// Reads the entries from the bytes of a palette file: BadPaletteFile unless
// there are exactly 1024. Of the flags only "no collapse" is kept: a file
// that marks colours reserved would otherwise leave conversions nothing to
// choose from.
EditorStatus ParsePaletteFile(const uint8_t* bytes, size_t size, PaletteEntries& entries);

// CannotOpenFile when the file cannot be read; otherwise ParsePaletteFile's result.
EditorStatus ReadPaletteFile(const std::string& path, PaletteEntries& entries);

// Writes `count` entries (at most 256; missing ones are written black) as a
// palette file, whole or not at all.
EditorStatus WritePaletteFile(const std::string& path, const PaletteEntry* entries, int count);
