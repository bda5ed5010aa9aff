#include "imaging/TrleSprite.h"

#include "common/ByteOrder.h"

// Validation of a sprite view: every row must lie inside the data area, so
// that the blitters can trust the view and check nothing per row.
bool ValidateTrleView(const TrleSpriteView& view)
{
    const uint32_t bytes = PixelFormatBytes(view.format);
    if (!view.dataArea || bytes == 0 || view.width < 1 || view.width > 65535 || view.height < 1 ||
        view.height > 65535)
        return false;
    const size_t tableEnd = 16 + size_t(view.height) * 8;
    if (view.dataSize < tableEnd)
        return false;
    for (int row = 0; row < view.height; ++row) {
        const uint8_t* entry = view.RowEntry(row);
        const uint64_t offset = ReadLE32(entry);
        const uint32_t skip = ReadLE16(entry + 4), count = ReadLE16(entry + 6);
        if (uint64_t(skip) + count > uint64_t(view.width))
            return false;
        if (count != 0 && (offset < tableEnd || offset + uint64_t(count) * bytes > view.dataSize))
            return false;
    }
    return true;
}
