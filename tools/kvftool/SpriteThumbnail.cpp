#include "SpriteThumbnail.h"

#include "gamedata/HuntTables.h"
#include "gamedata/ScreenTables.h"
#include "imaging/PngWriter.h"
#include "sprites/PictureFormat.h"

#include <algorithm>
#include <cctype>

namespace {

// Frame 0's rows of `image` (uncompressed) as straight RGBA: `keyZero` makes
// the pixels whose stored value is 0 transparent.
std::vector<uint8_t> FirstFrameRgba(CDibPacked& image, int frameHeight, bool keyZero)
{
    const std::vector<uint32_t> rgb = ImageToRgb(&image);
    const int width = image.GetWidth();
    std::vector<uint8_t> rgba;
    if (rgb.size() < size_t(width) * size_t(frameHeight))
        return rgba;
    rgba.resize(size_t(width) * size_t(frameHeight) * 4);
    for (int y = 0; y < frameHeight; ++y)
        for (int x = 0; x < width; ++x) {
            const size_t at = size_t(y) * size_t(width) + size_t(x);
            const uint32_t colour = rgb[at];
            uint8_t* out = rgba.data() + at * 4;
            out[0] = uint8_t(colour >> 16);
            out[1] = uint8_t(colour >> 8);
            out[2] = uint8_t(colour);
            out[3] = keyZero && image.GetPixel(x, y) == 0 ? 0 : 255;
        }
    return rgba;
}

// Shrinks straight RGBA by whole source pixels: each target pixel averages
// the source pixels whose centres fall in its box, colours weighted by their
// alpha so that transparent pixels lend the edges none of their colour.
SpriteThumbnail Shrink(const std::vector<uint8_t>& rgba, int width, int height, int targetWidth, int targetHeight)
{
    SpriteThumbnail out;
    out.width = targetWidth;
    out.height = targetHeight;
    out.rgba.assign(size_t(targetWidth) * size_t(targetHeight) * 4, 0);
    for (int ty = 0; ty < targetHeight; ++ty) {
        const int y0 = int(int64_t(ty) * height / targetHeight), y1 = int(int64_t(ty + 1) * height / targetHeight);
        for (int tx = 0; tx < targetWidth; ++tx) {
            const int x0 = int(int64_t(tx) * width / targetWidth), x1 = int(int64_t(tx + 1) * width / targetWidth);
            uint64_t alpha = 0, red = 0, green = 0, blue = 0, count = 0;
            for (int y = y0; y < y1; ++y)
                for (int x = x0; x < x1; ++x) {
                    const uint8_t* in = rgba.data() + (size_t(y) * size_t(width) + size_t(x)) * 4;
                    red += uint64_t(in[0]) * in[3];
                    green += uint64_t(in[1]) * in[3];
                    blue += uint64_t(in[2]) * in[3];
                    alpha += in[3];
                    ++count;
                }
            uint8_t* to = out.rgba.data() + (size_t(ty) * size_t(targetWidth) + size_t(tx)) * 4;
            if (count == 0 || alpha == 0)
                continue;
            to[0] = uint8_t((red + alpha / 2) / alpha);
            to[1] = uint8_t((green + alpha / 2) / alpha);
            to[2] = uint8_t((blue + alpha / 2) / alpha);
            to[3] = uint8_t((alpha + count / 2) / count);
        }
    }
    return out;
}

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return text;
}

// "folder/name" of a path in lower case, with slashes; the table's names are
// Windows style ("animals\z_r.bmp").
std::string FolderAndName(std::string path)
{
    std::replace(path.begin(), path.end(), '\\', '/');
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos || slash == 0)
        return Lower(path);
    const size_t before = path.rfind('/', slash - 1);
    return Lower(path.substr(before == std::string::npos ? 0 : before + 1));
}

} // namespace

bool MakeSpriteThumbnail(CDibPacked& image, int frames, int size, SpriteThumbnail& thumbnail, std::string& error)
{
    if (!image.IsCreated() || !image.GetInfoHeader()) {
        error = "no picture";
        return false;
    }
    if (size < 1) {
        error = "the thumbnail size must be at least 1";
        return false;
    }
    const int width = image.GetWidth(), height = image.GetHeight();
    if (width < 1 || height < 1 || int64_t(width) * height > kThumbnailMaxPixels) {
        error = "a picture of " + std::to_string(width) + " x " + std::to_string(height) +
                " pixels is too large for a thumbnail";
        return false;
    }
    if (frames < 1 || frames > height) {
        error = "a picture " + std::to_string(height) + " pixels high cannot hold " + std::to_string(frames) +
                " frames";
        return false;
    }
    const bool keyZero = image.IsCompressed() && InfoCompression(image.GetInfoHeader()) == TAG_TRLE;
    if (image.IsCompressed() && image.Decompress() != DIB_OK) {
        error = "the picture's data is damaged or in an unknown codec";
        return false;
    }
    // Pictures of fewer than 8 bits a pixel are read through a wider copy.
    if (PixelFormatBits(image.GetFormat()) < 8 && image.ConvertFormat(PF_RGB24, nullptr, 0) != DIB_OK) {
        error = "the picture cannot be read";
        return false;
    }
    const int frameHeight = height / frames;
    const std::vector<uint8_t> rgba = FirstFrameRgba(image, frameHeight, keyZero);
    if (rgba.empty()) {
        error = "the picture cannot be read";
        return false;
    }
    // Fit the longer side to `size`, never enlarging.
    const double scale = std::min({1.0, double(size) / width, double(size) / frameHeight});
    const int targetWidth = std::clamp(int(width * scale + 0.5), 1, width);
    const int targetHeight = std::clamp(int(frameHeight * scale + 0.5), 1, frameHeight);
    thumbnail = Shrink(rgba, width, frameHeight, targetWidth, targetHeight);
    return true;
}

int GameStripFrames(const std::string& path)
{
    const std::string wanted = FolderAndName(path);
    for (const AnimalKindDesc& kind : kAnimalKinds)
        for (const char* strip : kind.strips)
            if (FolderAndName(strip) == wanted)
                return kind.StripFrames();
    for (const char* strip : kJeepStrips)
        if (FolderAndName(strip) == wanted)
            return JEEP_FRAMES;
    for (const WeaponDesc& weapon : kWeapons)
        if (weapon.gunPicture && FolderAndName(weapon.gunPicture) == wanted)
            return weapon.frames;
    for (int screen = 0; screen < SCREEN_COUNT; ++screen) {
        const ScreenTable table = ScreenTableFor(ScreenId(screen));
        for (int i = 0; i < table.count; ++i)
            if (table.items[i].picture && FolderAndName(table.items[i].picture) == wanted)
                return table.items[i].frames;
    }
    return 0;
}
