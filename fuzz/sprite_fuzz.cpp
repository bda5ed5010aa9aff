// Arbitrary bytes as a sprite file: packed-image attach and decode, the
// "TRLE" image kind's attach, conversion and blit, and the "TRLE" codec's
// conversions on the raw bytes.

#include "CodecFuzzChecks.h"
#include "imaging/CDibPalette.h"
#include "imaging/CDibSection.h"
#include "sprites/CDibPacked.h"
#include "sprites/CDibTrle.h"
#include "sprites/PictureFormat.h"
#include "sprites/TrleCodec.h"

#include <cstdlib>
#include <cstring>

namespace {

CDibPalette* GreyPalette()
{
    static CDibPalette* palette = [] {
        auto* p = new CDibPalette;
        p->Create(256);
        for (int i = 0; i < 256; ++i) {
            PaletteEntry e{uint8_t(i), uint8_t(255 - i), uint8_t(i / 2), uint8_t(i == 7 ? PALETTE_FLAG_RESERVED : 0)};
            p->SetEntries(&e, i, 1);
        }
        return p;
    }();
    return palette;
}

void ExercisePacked(const uint8_t* data, size_t size)
{
    CDibPacked image;
    if (image.Attach(FuzzBlock(data, size)) != DIB_OK)
        return;
    if (image.IsCompressed() && image.Decompress() != DIB_OK)
        return; // a refusal is a fine outcome; what matters is that it is safe
    if (!image.IsCompressed()) {
        image.GetPixel(0, 0);
        image.GetPixel(image.GetWidth() - 1, image.GetHeight() - 1);
        image.Touch();
    }
}

void ExerciseTrleImage(const uint8_t* data, size_t size, CDibSection& rgb, CDibSection& indexed)
{
    CDibTrle sprite;
    if (sprite.Attach(FuzzBlock(data, size)) != DIB_OK)
        return;
    const int w = sprite.GetWidth(), h = sprite.GetHeight();
    rgb.Draw(-2, -3, w, h, &sprite, 0, 0, w, h, BLIT_SRCKEY, 0);
    // Drawn three times alike, a scaled call is kept and drawn from the cache.
    for (int n = 0; n < 3; ++n)
        rgb.Draw(5, 1, w / 2 + 1, h * 2, &sprite, 0, 0, w, h, BLIT_SRCKEY | BLIT_MIRROR_X, 0);
    rgb.Draw(3, 2, w * 2, h + 1, &sprite, 0, 0, w, h, BLIT_SRCKEY, 0);
    indexed.Draw(0, 0, w, h, &sprite, 0, 0, w, h, BLIT_SRCKEY | BLIT_MIRROR_Y, 0);
    indexed.Draw(2, 1, w, h, &sprite, 0, 0, w, h, BLIT_SRCKEY, 0);
    if (sprite.ConvertFormat(PF_RGB555, nullptr, 0) == DIB_OK)
        rgb.Draw(1, 1, w, h, &sprite, 0, 0, w, h, BLIT_ALPHA, BlitExtra(static_cast<CDib*>(&sprite)));
    // A refusal is a fine outcome; a picture made is drawn once more.
    if (sprite.ConvertFormat(PF_INDEX8, GreyPalette(), 1) == DIB_OK)
        indexed.Draw(0, 0, w, h, &sprite, 0, 0, w, h, 0, 0);
}

void ExerciseCodec(const uint8_t* data, size_t size)
{
    size_t available = size;
    const uint8_t* info = FindInfoHeader(data, available);
    if (!info)
        return;
    PaletteEntry entries[256];
    GreyPalette()->GetEntries(entries, 0, 256);
    for (PixelFormat target : {PF_RGB565, PF_BGR555, PF_RGB24, PF_RGB32, PF_INDEX8, PF_BGR24})
        FreePicture(TrleConvertFormat(info, available, target, entries));
    FreePicture(TrleConvertFast8(info, available, entries, GreyPalette()->GetInverseMap()));
    FreePicture(TrleDecode(info, available));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static CDibSection* rgb = [] {
        auto* s = new CDibSection;
        if (s->Create(48, 32, PF_RGB565) != DIB_OK)
            std::abort();
        return s;
    }();
    static CDibSection* indexed = [] {
        auto* s = new CDibSection;
        if (s->Create(40, 24, PF_INDEX8) != DIB_OK)
            std::abort();
        s->SetPalette(GreyPalette());
        return s;
    }();
    ExercisePacked(data, size);
    ExerciseTrleImage(data, size, *rgb, *indexed);
    ExerciseCodec(data, size);
    return 0;
}
