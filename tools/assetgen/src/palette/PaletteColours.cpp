#include "palette/PaletteColours.h"

#include "imaging/CDibPalette.h"

CDibPalette* NewPalette(const PaletteEntry* entries)
{
    CDibPalette* palette = new CDibPalette;
    palette->Create(256);
    palette->SetEntries(entries, 0, 256);
    return palette;
}
