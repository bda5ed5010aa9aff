#include "kvfedit/PictureImage.h"

#include "imaging/CDib.h"
#include "imaging/CDibPalette.h"
#include "imaging/ConvertPixels.h"

#include <algorithm>

QImage PictureToImage(CDib& picture)
{
    if (!picture.IsCreated())
        return QImage();
    QImage image(picture.GetWidth(), picture.GetHeight(), QImage::Format_RGB32);
    if (image.isNull())
        return image;
    RefreshImageRows(picture, image, 0, picture.GetHeight());
    return image;
}

void RefreshImageRows(CDib& picture, QImage& image, int top, int bottom)
{
    top = std::max(top, 0);
    bottom = std::min({bottom, picture.GetHeight(), image.height()});
    if (top >= bottom || image.width() != picture.GetWidth())
        return;
    PaletteEntry entries[256] = {};
    if (const CDibPalette* palette = picture.GetPalette())
        palette->GetEntries(entries, 0, std::min(palette->GetCount(), 256));
    uint8_t* bits = nullptr;
    int pitch = 0;
    if (picture.Lock(&bits, &pitch) != DIB_OK)
        return;
    const bool bottomUp = picture.IsBottomUp() != 0;
    const int height = picture.GetHeight();
    const uint8_t* first = bits + ptrdiff_t(bottomUp ? height - 1 - top : top) * pitch;
    const bool converted = ConvertPixels(image.scanLine(top), PF_RGB32, first, picture.GetWidth(), bottom - top,
                                         int(image.bytesPerLine()), bottomUp ? -pitch : pitch, picture.GetFormat(),
                                         nullptr, entries, 0);
    picture.Unlock();
    if (!converted) {
        // A format the converter does not know shows as black, not as
        // whatever the rows held before.
        for (int y = top; y < bottom; ++y)
            std::memset(image.scanLine(y), 0, size_t(image.bytesPerLine()));
    }
    // The library leaves the fourth byte 0; Qt wants it opaque.
    for (int y = top; y < bottom; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            row[x] |= 0xFF000000u;
    }
}
