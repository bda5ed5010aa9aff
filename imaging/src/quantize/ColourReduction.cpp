#include "imaging/ColourReduction.h"

#include "imaging/CColourBoxQuantizer.h"
#include "imaging/CColourKMeansQuantizer.h"
#include "imaging/CColourOctreeQuantizer.h"
#include "imaging/CDib.h"
#include "imaging/CDibPalette.h"
#include "imaging/CDibSection.h"
#include "imaging/ConvertPixels.h"
#include "imaging/CNearestColourMap.h"
#include "imaging/SystemColours.h"

#include <array>

namespace {

DibResult CheckFrames(CDib* const* frames, int count)
{
    if (count < 0 || (count > 0 && !frames))
        return DIB_UNSUPPORTED;
    for (int i = 0; i < count; ++i) {
        if (!frames[i])
            return DIB_UNSUPPORTED;
        if (!frames[i]->IsCreated())
            return DIB_NOT_CREATED;
        // The converters handle whole-byte pixels only.
        if (PixelFormatBits(frames[i]->GetFormat()) < 8)
            return DIB_UNSUPPORTED;
    }
    return DIB_OK;
}

// Feeds one 24-bit picture to the quantizer, top row first.
DibResult AddPicture(CColourQuantizer& quantizer, CDib* picture, const ColourReductionOptions& options)
{
    uint8_t* bits;
    int pitch;
    DibResult code = picture->Lock(&bits, &pitch);
    if (code != DIB_OK)
        return code;
    const int height = picture->GetHeight();
    const uint8_t* top = picture->IsBottomUp() ? bits + ptrdiff_t(height - 1) * pitch : bits;
    quantizer.AddPixels(top, picture->GetWidth(), height, picture->IsBottomUp() ? -pitch : pitch, options.progress,
                        options.progressArgument, options.sample ? QUANTIZE_SAMPLE : 0);
    picture->Unlock();
    return DIB_OK;
}

DibResult AddFrame(CColourQuantizer& quantizer, CDib* frame, const ColourReductionOptions& options)
{
    if (frame->GetFormat() == PF_RGB24)
        return AddPicture(quantizer, frame, options);
    CDibSection copy;
    DibResult code = copy.CopyFrom(frame);
    if (code == DIB_OK)
        code = copy.ConvertFormat(PF_RGB24, nullptr, 0);
    if (code == DIB_OK)
        code = AddPicture(quantizer, &copy, options);
    return code;
}

// Replaces a frame by its 8-bit picture under `palette`, each pixel taking
// the exact nearest colour; shaped like ConvertFormat (same size, frame
// count and palette reference afterwards).
DibResult RemapExactly(CDib* frame, CDibPalette* palette, CNearestColourMap& map)
{
    CDibSection copy;
    DibResult code = copy.CopyFrom(frame);
    if (code == DIB_OK)
        code = copy.ConvertFormat(PF_RGB24, nullptr, 0);
    if (code == DIB_OK)
        code = frame->Create(copy.GetWidth(), copy.GetHeight(), PF_INDEX8);
    if (code == DIB_OK)
        code = frame->SetPalette(palette);
    if (code != DIB_OK)
        return code;
    frame->SetFrameCount(copy.GetFrameCount());
    uint8_t *source, *target;
    int sourcePitch, targetPitch;
    if ((code = copy.Lock(&source, &sourcePitch)) != DIB_OK)
        return code;
    if ((code = frame->Lock(&target, &targetPitch)) == DIB_OK) {
        const int height = frame->GetHeight();
        if (frame->IsBottomUp()) {
            target += ptrdiff_t(height - 1) * targetPitch;
            targetPitch = -targetPitch;
        }
        map.MapPixels(target, targetPitch, source, sourcePitch, frame->GetWidth(), height);
        frame->Unlock();
    }
    copy.Unlock();
    return code;
}

PixelFormat TargetFormat(ColourTarget target)
{
    switch (target) {
    case ColourTarget::Index8: return PF_INDEX8;
    case ColourTarget::Rgb555: return PF_RGB555;
    case ColourTarget::Rgb565: return PF_RGB565;
    case ColourTarget::Rgb24: return PF_RGB24;
    case ColourTarget::Rgb32: return PF_RGB32;
    }
    return PF_NONE;
}

} // namespace

std::unique_ptr<CColourQuantizer> MakeColourQuantizer(ColourMethod method, int colours)
{
    switch (method) {
    case ColourMethod::Box5: return std::make_unique<CColourBoxQuantizer>(colours, 5);
    case ColourMethod::Box6: return std::make_unique<CColourBoxQuantizer>(colours, 6);
    case ColourMethod::KMeans: return std::make_unique<CColourKMeansQuantizer>(colours);
    case ColourMethod::Octree: break;
    }
    return std::make_unique<CColourOctreeQuantizer>(colours);
}

DibResult AddReductionFrame(CColourQuantizer& quantizer, CDib* frame, const ColourReductionOptions& options)
{
    DibResult code = CheckFrames(&frame, 1);
    return code == DIB_OK ? AddFrame(quantizer, frame, options) : code;
}

DibResult FinishReductionPalette(CColourQuantizer& quantizer, const ColourReductionOptions& options,
                                 CDibPalette** palette)
{
    if (!palette)
        return DIB_UNSUPPORTED;
    *palette = nullptr;
    std::array<PaletteEntry, 256> entries{};
    quantizer.BuildPalette(entries.data());
    CDibPalette* result = new CDibPalette;
    DibResult code = result->Create(256);
    if (code == DIB_OK)
        code = result->SetEntries(entries.data(), 0, 256);
    if (code == DIB_OK && options.includeSystemColours)
        code = IncludeSystemColours(result);
    if (code != DIB_OK) {
        result->Release();
        return code;
    }
    *palette = result;
    return DIB_OK;
}

DibResult BuildReductionPalette(CDib* const* frames, int count, const ColourReductionOptions& options,
                                CDibPalette** palette)
{
    if (!palette)
        return DIB_UNSUPPORTED;
    *palette = nullptr;
    DibResult code = CheckFrames(frames, count);
    if (code != DIB_OK)
        return code;
    std::unique_ptr<CColourQuantizer> quantizer = MakeColourQuantizer(options.method, options.colours);
    for (int i = 0; i < count; ++i)
        if ((code = AddFrame(*quantizer, frames[i], options)) != DIB_OK)
            return code;
    return FinishReductionPalette(*quantizer, options, palette);
}

DibResult ReduceFrame(CDib* frame, CDibPalette* palette, const ColourReductionOptions& options,
                      CNearestColourMap* map)
{
    DibResult code = CheckFrames(&frame, 1);
    if (code != DIB_OK)
        return code;
    const PixelFormat format = TargetFormat(options.target);
    if (format == PF_NONE)
        return DIB_UNSUPPORTED;
    if (options.target != ColourTarget::Index8) {
        const bool diffuse = options.errorDiffusion &&
                             (options.target == ColourTarget::Rgb555 || options.target == ColourTarget::Rgb565);
        return frame->ConvertFormat(format, nullptr, diffuse ? CONVERT_DITHER : 0);
    }
    if (!palette)
        return DIB_UNSUPPORTED;
    if (options.method == ColourMethod::KMeans && !options.errorDiffusion) {
        if (map)
            return RemapExactly(frame, palette, *map);
        CNearestColourMap own(palette->Entries(), palette->GetCount());
        return RemapExactly(frame, palette, own);
    }
    return frame->ConvertFormat(PF_INDEX8, palette, options.errorDiffusion ? CONVERT_DITHER : 0);
}

DibResult ReduceColours(CDib* const* frames, int count, const ColourReductionOptions& options)
{
    DibResult code = CheckFrames(frames, count);
    if (code != DIB_OK)
        return code;
    if (TargetFormat(options.target) == PF_NONE)
        return DIB_UNSUPPORTED;
    CDibPalette* palette = nullptr;
    if (options.target == ColourTarget::Index8 &&
        (code = BuildReductionPalette(frames, count, options, &palette)) != DIB_OK)
        return code;
    std::unique_ptr<CNearestColourMap> map;
    if (palette && options.method == ColourMethod::KMeans && !options.errorDiffusion)
        map = std::make_unique<CNearestColourMap>(palette->Entries(), palette->GetCount());
    for (int i = 0; i < count && code == DIB_OK; ++i)
        code = ReduceFrame(frames[i], palette, options, map.get());
    if (palette)
        palette->Release(); // the frames hold their own references
    return code;
}
