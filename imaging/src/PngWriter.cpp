#include "imaging/PngWriter.h"

#include "common/AtomicFile.h"
#include "imaging/CDibPalette.h"
#include "imaging/ConvertPixels.h"

#include <png.h>

std::vector<uint32_t> ImageToRgb(CDib* image)
{
    std::vector<uint32_t> rgb;
    if (!image || !image->IsCreated() || PixelFormatBits(image->GetFormat()) < 8)
        return rgb;
    const int w = image->GetWidth(), h = image->GetHeight();
    std::vector<PaletteEntry> entries;
    if (PixelFormatIsIndexed(image->GetFormat())) {
        entries.assign(256, PaletteEntry{});
        if (CDibPalette* palette = image->GetPalette())
            palette->GetEntries(entries.data(), 0, palette->GetCount() < 256 ? palette->GetCount() : 256);
    }
    uint8_t* bits;
    int pitch;
    if (image->Lock(&bits, &pitch) != DIB_OK)
        return rgb;
    rgb.resize(size_t(w) * h);
    const uint8_t* top = image->IsBottomUp() ? bits + size_t(h - 1) * pitch : bits;
    const bool converted = ConvertPixels(reinterpret_cast<uint8_t*>(rgb.data()), PF_RGB32, top, w, h, w * 4,
                                         image->IsBottomUp() ? -pitch : pitch, image->GetFormat(), nullptr,
                                         entries.empty() ? nullptr : entries.data(), 0);
    image->Unlock();
    if (!converted)
        rgb.clear(); // nothing is written rather than a picture of garbage
    return rgb;
}

namespace {

// Encodes rows of `format` (PNG_FORMAT_RGB or PNG_FORMAT_RGBA), top row
// first and unpadded, and writes the file whole or not at all.
bool WritePngRows(const uint8_t* rows, int width, int height, uint32_t format, const std::string& path)
{
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    png.width = uint32_t(width);
    png.height = uint32_t(height);
    png.format = format;
    png_alloc_size_t size = 0;
    if (!png_image_write_to_memory(&png, nullptr, &size, 0, rows, 0, nullptr))
        return false;
    std::vector<uint8_t> encoded(size);
    if (!png_image_write_to_memory(&png, encoded.data(), &size, 0, rows, 0, nullptr))
        return false;
    return WriteFileAtomically(path, encoded.data(), size);
}

} // namespace

bool WriteRgbPng(const uint32_t* pixels, int width, int height, const std::string& path)
{
    if (!pixels || width <= 0 || height <= 0)
        return false;
    // The fourth byte of 0x00RRGGBB is no channel: write opaque RGB.
    std::vector<uint8_t> rows(size_t(width) * height * 3);
    for (size_t i = 0; i < size_t(width) * height; ++i) {
        rows[3 * i] = uint8_t(pixels[i] >> 16);
        rows[3 * i + 1] = uint8_t(pixels[i] >> 8);
        rows[3 * i + 2] = uint8_t(pixels[i]);
    }
    return WritePngRows(rows.data(), width, height, PNG_FORMAT_RGB, path);
}

bool WriteRgbaPng(const uint8_t* rgba, int width, int height, const std::string& path)
{
    if (!rgba || width <= 0 || height <= 0)
        return false;
    return WritePngRows(rgba, width, height, PNG_FORMAT_RGBA, path);
}

bool WriteImagePng(CDib* image, const std::string& path)
{
    std::vector<uint32_t> rgb = ImageToRgb(image);
    if (rgb.empty())
        return false;
    return WriteRgbPng(rgb.data(), image->GetWidth(), image->GetHeight(), path);
}
