#include "editor/PngPicture.h"

#include "PackedFrames.h"
#include "common/AtomicFile.h"
#include "imaging/CDibPalette.h"
#include "imaging/CDibSection.h"
#include "imaging/ConvertPixels.h"

#include <png.h>

#include <algorithm>
#include <cstring>

namespace {

// Frees what the simplified reader or writer holds on every way out.
class PngImage {
public:
    PngImage()
    {
        image.version = PNG_IMAGE_VERSION;
    }
    ~PngImage() { png_image_free(&image); }
    PngImage(const PngImage&) = delete;
    PngImage& operator=(const PngImage&) = delete;

    png_image image{};
};

} // namespace

bool IsPngData(const uint8_t* data, size_t size)
{
    static const uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    return data && size >= sizeof kSignature && std::memcmp(data, kSignature, sizeof kSignature) == 0;
}

EditorStatus DecodePngPicture(const uint8_t* data, size_t size, std::vector<uint8_t>& picture, size_t maxBytes)
{
    picture.clear();
    if (!IsPngData(data, size))
        return EditorStatus::NotAPictureFile;
    PngImage png;
    if (!png_image_begin_read_from_memory(&png.image, data, size))
        return EditorStatus::NotAPictureFile;
    const int width = png.image.width <= 65535 ? int(png.image.width) : 0;
    const int height = png.image.height <= 65535 ? int(png.image.height) : 0;
    if (!IsValidImageSize(width, height))
        return EditorStatus::NotAPictureFile;
    const bool paletted = (png.image.format & PNG_FORMAT_FLAG_COLORMAP) != 0 && png.image.colormap_entries <= 256;
    const PixelFormat format = paletted ? PF_INDEX8 : PF_RGB24;
    // Checked before a byte is allocated: the header alone may claim gigabytes.
    if (size_t(PixelFormatRowPitch(format, width)) * size_t(height) > maxBytes)
        return EditorStatus::TooLarge;

    CDibSection section;
    if (section.Create(width, height, format) != DIB_OK)
        return EditorStatus::OutOfMemory;
    // 8-bit components: the stride in components is the pitch in bytes.
    png.image.format = paletted ? PNG_FORMAT_RGB_COLORMAP : PNG_FORMAT_BGR;
    png_color black{0, 0, 0};
    uint8_t colourMap[256 * 3] = {};
    if (!png_image_finish_read(&png.image, &black, section.Bits(), section.Pitch(), paletted ? colourMap : nullptr))
        return EditorStatus::NotAPictureFile;
    if (paletted) {
        PaletteEntry entries[256] = {};
        const int count = int(std::min<png_uint_32>(png.image.colormap_entries, 256));
        for (int i = 0; i < count; ++i)
            entries[i] = PaletteEntry{colourMap[3 * i], colourMap[3 * i + 1], colourMap[3 * i + 2], 0};
        CDibPalette* palette = section.NewPalette();
        if (!palette)
            return EditorStatus::OutOfMemory;
        const bool made = palette->Create(256) == DIB_OK && palette->SetEntries(entries, 0, 256) == DIB_OK &&
                          section.SetPalette(palette) == DIB_OK;
        palette->Release();
        if (!made)
            return EditorStatus::OutOfMemory;
    }
    picture = PlainPictureOf(section);
    return picture.empty() ? EditorStatus::OutOfMemory : EditorStatus::Ok;
}

EditorStatus EncodePng(CDib& image, std::vector<uint8_t>& png)
{
    png.clear();
    if (!image.IsCreated())
        return EditorStatus::NothingToDo;
    // A top-down copy in plain memory, whatever kind the image is.
    CDibSection section;
    if (section.CopyFrom(&image) != DIB_OK)
        return EditorStatus::ImageFailed;
    const int width = section.GetWidth(), height = section.GetHeight();
    const PixelFormat format = section.GetFormat();

    PngImage writer;
    writer.image.width = png_uint_32(width);
    writer.image.height = png_uint_32(height);
    std::vector<uint8_t> pixels;
    uint8_t colourMap[256 * 3] = {};
    int stride = 0;
    if (PixelFormatIsIndexed(format)) {
        // Every index the depth can hold gets an entry (black where the
        // palette has none), so no stored index points past the colour map.
        const uint32_t bits = PixelFormatBits(format);
        const int entries = 1 << bits;
        const CDibPalette* palette = section.GetPalette();
        const int known = palette ? std::min(palette->GetCount(), entries) : 0;
        for (int i = 0; i < known; ++i) {
            const PaletteEntry& entry = palette->Entries()[i];
            colourMap[3 * i] = entry.red;
            colourMap[3 * i + 1] = entry.green;
            colourMap[3 * i + 2] = entry.blue;
        }
        pixels.resize(size_t(width) * size_t(height));
        CopyIndices(pixels.data(), width, 8, section.Bits(), section.Pitch(), bits, width, height);
        writer.image.format = PNG_FORMAT_RGB_COLORMAP;
        writer.image.colormap_entries = png_uint_32(entries);
        stride = width;
    } else {
        pixels.resize(size_t(width) * size_t(height) * 3);
        if (!ConvertPixels(pixels.data(), PF_RGB24, section.Bits(), width, height, width * 3, section.Pitch(), format,
                           nullptr, nullptr, 0))
            return EditorStatus::ImageFailed;
        writer.image.format = PNG_FORMAT_BGR;
        stride = width * 3;
    }
    const void* map = PixelFormatIsIndexed(format) ? colourMap : nullptr;
    png_alloc_size_t size = 0;
    if (!png_image_write_to_memory(&writer.image, nullptr, &size, 0, pixels.data(), stride, map))
        return EditorStatus::ImageFailed;
    png.resize(size);
    if (!png_image_write_to_memory(&writer.image, png.data(), &size, 0, pixels.data(), stride, map)) {
        png.clear();
        return EditorStatus::ImageFailed;
    }
    png.resize(size);
    return EditorStatus::Ok;
}

EditorStatus WritePngFile(const std::string& path, CDib& image)
{
    std::vector<uint8_t> png;
    const EditorStatus status = EncodePng(image, png);
    if (status != EditorStatus::Ok)
        return status;
    return WriteFileAtomically(path, png.data(), png.size()) ? EditorStatus::Ok : EditorStatus::CannotWriteFile;
}
