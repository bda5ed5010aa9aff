#include "FrameTools.h"

#include "imaging/BlitFlags.h"
#include "imaging/CDibPalette.h"
#include "imaging/CDibSection.h"
#include "imaging/ConvertPixels.h"
#include "imaging/PixelFormat.h"

#include <algorithm>
#include <vector>

uint32_t PixelOfColour(CDib& image, EditorColour colour)
{
    const PixelFormat format = image.GetFormat();
    if (PixelFormatIsIndexed(format)) {
        const CDibPalette* palette = image.GetPalette();
        if (!palette || palette->GetCount() == 0)
            return 0;
        const int reachable = std::min(palette->GetCount(), 1 << std::min<uint32_t>(PixelFormatBits(format), 8));
        if (colour.index >= 0 && colour.index < reachable) {
            const PaletteEntry& picked = palette->Entries()[colour.index];
            if (picked.red == colour.red && picked.green == colour.green && picked.blue == colour.blue)
                return uint32_t(colour.index);
        }
        const int index = ExhaustiveNearestIndex(palette->Entries(), reachable, colour.red, colour.green, colour.blue);
        return index < 0 ? 0 : uint32_t(index);
    }
    const ChannelSet channels = DescribeChannels(format);
    auto place = [](const ChannelLayout& channel, uint8_t value) {
        return ((uint32_t(value) >> channel.shift) << channel.offset) & channel.mask;
    };
    return place(channels.red, colour.red) | place(channels.green, colour.green) | place(channels.blue, colour.blue);
}

namespace {

// A new picture of the source's format and palette.
DibResult CreateLike(CDibSection& source, int width, int height, CDibSection& result)
{
    DibResult code = result.Create(width, height, source.GetFormat());
    if (code == DIB_OK && source.GetPalette())
        code = result.SetPalette(source.GetPalette());
    return code;
}

// An 8-bit copy of a 1-, 2- or 4-bit picture's indices. Its palette holds
// the source's colours first; the entries the source cannot address are
// reserved, so no colour search picks an index that will not pack back.
DibResult WidenIndices(CDibSection& source, CDibSection& wide)
{
    const CDibPalette* palette = source.GetPalette();
    if (!palette || palette->GetCount() == 0)
        return DIB_PALETTE_EMPTY;
    DibResult code = wide.Create(source.GetWidth(), source.GetHeight(), PF_INDEX8);
    if (code != DIB_OK)
        return code;
    const int addressable = 1 << PixelFormatBits(source.GetFormat());
    std::vector<PaletteEntry> entries(256, PaletteEntry{0, 0, 0, PALETTE_FLAG_RESERVED});
    palette->GetEntries(entries.data(), 0, std::min(palette->GetCount(), addressable));
    CDibPalette* widePalette = wide.NewPalette();
    code = widePalette->Create(256);
    if (code == DIB_OK)
        code = widePalette->SetEntries(entries.data(), 0, 256);
    if (code == DIB_OK)
        code = wide.SetPalette(widePalette);
    widePalette->Release();
    if (code == DIB_OK)
        CopyIndices(wide.Bits(), wide.Pitch(), 8, source.Bits(), source.Pitch(), PixelFormatBits(source.GetFormat()),
                    source.GetWidth(), source.GetHeight());
    return code;
}

// Packs an 8-bit picture made from WidenIndices back to `like`'s depth and palette.
DibResult NarrowIndices(CDibSection& wide, CDibSection& like, CDibSection& result)
{
    DibResult code = CreateLike(like, wide.GetWidth(), wide.GetHeight(), result);
    if (code == DIB_OK)
        CopyIndices(result.Bits(), result.Pitch(), PixelFormatBits(result.GetFormat()), wide.Bits(), wide.Pitch(), 8,
                    wide.GetWidth(), wide.GetHeight());
    return code;
}

// Runs `draw(picture, result)` on whole-byte pixels: the source itself, or
// an 8-bit copy of its indices whose result is packed back.
template <typename Draw>
DibResult WithWholeBytes(CDibSection& source, CDibSection& result, Draw&& draw)
{
    if (PixelFormatBits(source.GetFormat()) >= 8)
        return draw(source, result);
    CDibSection wide, wideResult;
    DibResult code = WidenIndices(source, wide);
    if (code == DIB_OK)
        code = draw(wide, wideResult);
    if (code == DIB_OK)
        code = NarrowIndices(wideResult, source, result);
    return code;
}

// Applies `change(blue, green, red)` to every pixel of a 24-bit copy of the
// source, then maps the copy back to the source's format and palette.
template <typename Change>
DibResult ChangeAs24Bit(CDibSection& source, CDibSection& result, Change&& change)
{
    DibResult code = result.CopyFrom(&source);
    if (code == DIB_OK)
        code = result.ConvertFormat(PF_RGB24, nullptr, 0);
    if (code != DIB_OK)
        return code;
    for (int y = 0; y < result.GetHeight(); ++y) {
        uint8_t* pixel = result.Bits() + ptrdiff_t(y) * result.Pitch();
        for (int x = 0; x < result.GetWidth(); ++x, pixel += 3)
            change(pixel[0], pixel[1], pixel[2]);
    }
    const bool indexed = PixelFormatIsIndexed(source.GetFormat());
    return result.ConvertFormat(source.GetFormat(), indexed ? source.GetPalette() : nullptr, 0);
}

} // namespace

DibResult ResizePicture(CDibSection& source, int width, int height, CDibSection& result)
{
    return WithWholeBytes(source, result, [&](CDibSection& from, CDibSection& to) {
        DibResult code = CreateLike(from, width, height, to);
        if (code == DIB_OK)
            code = from.Blit(&to, 0, 0, width, height, 0, 0, from.GetWidth(), from.GetHeight(), 0, 0);
        return code;
    });
}

DibResult PlacePictureOnCanvas(CDibSection& source, int width, int height, int x, int y, EditorColour background,
                               CDibSection& result)
{
    return WithWholeBytes(source, result, [&](CDibSection& from, CDibSection& to) {
        DibResult code = CreateLike(from, width, height, to);
        if (code == DIB_OK)
            code = to.FillRect(0, 0, width, height, PixelOfColour(to, background));
        if (code == DIB_OK)
            code = from.Blit(&to, x, y, from.GetWidth(), from.GetHeight(), 0, 0, from.GetWidth(), from.GetHeight(),
                             0, 0);
        return code;
    });
}

DibResult MirrorPicture(CDibSection& source, uint32_t mirrorFlag, CDibSection& result)
{
    return WithWholeBytes(source, result, [&](CDibSection& from, CDibSection& to) {
        const int w = from.GetWidth(), h = from.GetHeight();
        DibResult code = CreateLike(from, w, h, to);
        if (code == DIB_OK)
            code = to.Draw(0, 0, w, h, &from, 0, 0, w, h, mirrorFlag, 0);
        return code;
    });
}

int FadeFactor(int index, int count, bool fadeIn)
{
    if (count < 2)
        return 256;
    const int step = fadeIn ? index : count - 1 - index;
    return int(int64_t(step) * 256 / (count - 1));
}

DibResult FadePicture(CDibSection& source, int factor, EditorColour background, CDibSection& result)
{
    const uint32_t f = uint32_t(std::clamp(factor, 0, 256));
    return ChangeAs24Bit(source, result, [&](uint8_t& blue, uint8_t& green, uint8_t& red) {
        if (blue == background.blue && green == background.green && red == background.red)
            return;
        blue = uint8_t(blue * f >> 8);
        green = uint8_t(green * f >> 8);
        red = uint8_t(red * f >> 8);
    });
}

DibResult InvertPicture(CDibSection& source, CDibSection& result)
{
    return ChangeAs24Bit(source, result, [](uint8_t& blue, uint8_t& green, uint8_t& red) {
        blue = uint8_t(255 - blue);
        green = uint8_t(255 - green);
        red = uint8_t(255 - red);
    });
}

DibResult RemoveAlphaFromPicture(CDibSection& source, CDib& alpha, EditorColour background, CDibSection& result)
{
    return WithWholeBytes(source, result, [&](CDibSection& from, CDibSection& to) {
        const int w = from.GetWidth(), h = from.GetHeight();
        DibResult code = CreateLike(from, w, h, to);
        if (code == DIB_OK)
            code = to.FillRect(0, 0, w, h, PixelOfColour(to, background));
        if (code == DIB_OK)
            code = from.Blit(&to, 0, 0, w, h, 0, 0, w, h, BLIT_ALPHA_STIPPLE, reinterpret_cast<BlitExtra>(&alpha));
        return code;
    });
}
