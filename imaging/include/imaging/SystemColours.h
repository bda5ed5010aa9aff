#pragma once
// The twenty static colours of the classic 256-entry system palette (the
// first ten and the last ten entries), and the step that makes room for
// them in a quantized palette so pictures keep the desktop's fixed colours.

#include "imaging/DibResult.h"
#include "imaging/PaletteEntry.h"

#include <array>

class CDibPalette;

constexpr int SYSTEM_STATIC_COLOURS = 20;
// Entries 0-9 and 246-255 are fixed; the 236 in between are free.
constexpr int SYSTEM_FREE_FIRST = 10;
constexpr int SYSTEM_FREE_COUNT = 236;

// The fixed colours in palette order: entries 0-9, then 246-255. Flags 0.
const std::array<PaletteEntry, SYSTEM_STATIC_COLOURS>& SystemStaticColours();

// Turns a 256-entry quantized palette into one that starts and ends with the
// static colours: its entries 0-235 move to 10-245 and are flagged
// PALETTE_FLAG_NOCOLLAPSE, entries 236-255 are dropped, and all 256 entries
// are set at once. A palette of any other size is left alone (DIB_OK);
// DIB_UNSUPPORTED for a null palette.
[[nodiscard]] DibResult IncludeSystemColours(CDibPalette* palette);
