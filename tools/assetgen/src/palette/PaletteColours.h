#pragma once
// Palette entries and 0x00RRGGBB colours, and palettes for the image
// library's own colour search.

#include "imaging/PaletteEntry.h"

#include <cstdint>

class CDibPalette;

inline uint32_t ColourOf(const PaletteEntry& e) { return uint32_t(e.red) << 16 | uint32_t(e.green) << 8 | e.blue; }
inline PaletteEntry EntryOf(uint32_t rgb) { return {uint8_t(rgb >> 16), uint8_t(rgb >> 8), uint8_t(rgb), 0}; }

// A palette of the 256 `entries`, holding one reference for the caller.
CDibPalette* NewPalette(const PaletteEntry* entries);
