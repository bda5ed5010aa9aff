// The document's tools: the per-frame ones work on each frame's picture
// through FrameTools.h and store the results as one undo step; the
// whole-sequence ones reorder the frames without touching their pixels.

#include "editor/CKVFEditorDoc.h"

#include "FrameTools.h"
#include "PackedFrames.h"
#include "ProgressScope.h"
#include "commands/CReplaceFramesCommand.h"
#include "editor/IEditorProgress.h"
#include "editor/PaletteFile.h"
#include "imaging/CDibPalette.h"
#include "sprites/CDibPacked.h"

#include <cstring>
#include <memory>

void CKVFEditorDoc::ReplaceFrames(const std::string& name, std::vector<FrameRef> frames, int current)
{
    Perform(std::make_unique<CReplaceFramesCommand>(name, std::move(frames), current));
    UpdateViews();
}

EditorStatus CKVFEditorDoc::CheckNewSize(int width, int height) const
{
    for (const CDibPacked* frame : m_frames.Frames())
        if (!FitsFrameLimit(frame->GetFormat(), width, height))
            return EditorStatus::TooLarge;
    return EditorStatus::Ok;
}

EditorStatus CKVFEditorDoc::ApplyToEachFrame(const std::string& name, const char* caption,
                                             IEditorProgress* progress, const FrameTool& tool)
{
    EditorStatus status = CommitBeforeChange();
    if (status != EditorStatus::Ok)
        return status;
    const std::vector<CDibPacked*> frames = m_frames.Frames();
    const int count = int(frames.size());
    std::vector<FrameRef> results;
    results.reserve(frames.size());
    {
        ProgressScope scope(progress, caption);
        for (int i = 0; i < count; ++i) {
            scope.ShowFrame(kFrameProgressFormat, i, count);
            CDibSection picture, result;
            if (DecodeFrame(frames[size_t(i)], picture) != DIB_OK || tool(picture, i, count, result) != DIB_OK)
                return EditorStatus::ImageFailed;
            FrameRef stored = MakeStoredFrame(result);
            if (!stored)
                return EditorStatus::OutOfMemory;
            results.push_back(std::move(stored));
        }
    }
    // As if each frame had been made current in turn: the last one is.
    ReplaceFrames(name, std::move(results), count - 1);
    return EditorStatus::Ok;
}

EditorStatus CKVFEditorDoc::Resize(const ResizeParams& params, IEditorProgress* progress)
{
    if (!params.IsValid())
        return EditorStatus::BadParameters;
    const EditorStatus status = CheckNewSize(params.width, params.height);
    if (status != EditorStatus::Ok)
        return status;
    return ApplyToEachFrame("Resize", PROGRESS_PROCESSING, progress,
                            [&](CDibSection& picture, int, int, CDibSection& result) {
                                return ResizePicture(picture, params.width, params.height, result);
                            });
}

EditorStatus CKVFEditorDoc::EnlargeCanvas(const CanvasParams& params, EditorColour background,
                                          IEditorProgress* progress)
{
    if (!params.IsValid())
        return EditorStatus::BadParameters;
    const EditorStatus status = CheckNewSize(params.width, params.height);
    if (status != EditorStatus::Ok)
        return status;
    return ApplyToEachFrame("Enlarge Canvas", PROGRESS_PROCESSING, progress,
                            [&](CDibSection& picture, int, int, CDibSection& result) {
                                return PlacePictureOnCanvas(picture, params.width, params.height, params.x, params.y,
                                                            background, result);
                            });
}

EditorStatus CKVFEditorDoc::Fade(const std::string& name, bool fadeIn, EditorColour background,
                                 IEditorProgress* progress)
{
    // With one frame the factor would divide by zero: there is nothing to fade between.
    if (m_frames.Count() < 2)
        return EditorStatus::NothingToDo;
    return ApplyToEachFrame(name, PROGRESS_PROCESSING, progress,
                            [&](CDibSection& picture, int index, int count, CDibSection& result) {
                                return FadePicture(picture, FadeFactor(index, count, fadeIn), background, result);
                            });
}

EditorStatus CKVFEditorDoc::FadeIn(EditorColour background, IEditorProgress* progress)
{
    return Fade("Fade In", true, background, progress);
}

EditorStatus CKVFEditorDoc::FadeOut(EditorColour background, IEditorProgress* progress)
{
    return Fade("Fade Out", false, background, progress);
}

EditorStatus CKVFEditorDoc::Mirror(IEditorProgress* progress)
{
    return ApplyToEachFrame("Mirror", PROGRESS_PROCESSING, progress,
                            [](CDibSection& picture, int, int, CDibSection& result) {
                                return MirrorPicture(picture, BLIT_MIRROR_X, result);
                            });
}

EditorStatus CKVFEditorDoc::Flip(IEditorProgress* progress)
{
    return ApplyToEachFrame("Flip", PROGRESS_PROCESSING, progress,
                            [](CDibSection& picture, int, int, CDibSection& result) {
                                return MirrorPicture(picture, BLIT_MIRROR_Y, result);
                            });
}

EditorStatus CKVFEditorDoc::Invert(IEditorProgress* progress)
{
    return ApplyToEachFrame("Invert", PROGRESS_PROCESSING, progress,
                            [](CDibSection& picture, int, int, CDibSection& result) {
                                return InvertPicture(picture, result);
                            });
}

EditorStatus CKVFEditorDoc::RemoveAlphaChannel(const std::string& maskPath, EditorColour background,
                                               IEditorProgress* progress)
{
    if (m_frames.IsEmpty())
        return EditorStatus::NothingToDo;
    if (!IsSameFormat())
        return EditorStatus::NotSameFormat;
    CDibPacked mask;
    if (mask.Load(maskPath.c_str(), SRC_FILE) != DIB_OK)
        return EditorStatus::CannotOpenFile;
    // The size is checked before an encoded strip is decoded, so a header
    // claiming a huge picture costs nothing.
    const int width = m_frames.At(0)->GetWidth(), height = m_frames.At(0)->GetHeight();
    if (mask.GetFormat() != PF_INDEX8 || mask.GetWidth() != width ||
        int64_t(mask.GetHeight()) != int64_t(height) * m_frames.Count())
        return EditorStatus::MaskMismatch;
    if (mask.IsCompressed() && mask.Decompress() != DIB_OK)
        return EditorStatus::MaskMismatch;
    CDibSection strip, band;
    if (strip.CopyFrom(&mask) != DIB_OK || band.Create(width, height, PF_INDEX8) != DIB_OK)
        return EditorStatus::OutOfMemory;
    return ApplyToEachFrame("Remove Alpha Channel", PROGRESS_LOADING, progress,
                            [&](CDibSection& picture, int index, int, CDibSection& result) {
                                // Band `index` from the top of the strip is this frame's opacity.
                                for (int y = 0; y < height; ++y)
                                    std::memcpy(band.Bits() + ptrdiff_t(y) * band.Pitch(),
                                                strip.Bits() + (ptrdiff_t(index) * height + y) * strip.Pitch(),
                                                size_t(width));
                                return RemoveAlphaFromPicture(picture, band, background, result);
                            });
}

EditorStatus CKVFEditorDoc::ChangeColourDepth(const ColourDepthParams& params, IEditorProgress* progress)
{
    if (!params.IsValid())
        return EditorStatus::BadParameters;
    EditorStatus status = CommitBeforeChange();
    if (status != EditorStatus::Ok)
        return status;
    // The palette of an 8-bit target is quantized from every frame's pixels
    // together, so every frame is decoded before any is converted.
    const std::vector<CDibPacked*> frames = m_frames.Frames();
    const int count = int(frames.size());
    std::vector<std::unique_ptr<CDibSection>> pictures;
    std::vector<CDib*> images;
    ProgressScope scope(progress, PROGRESS_PROCESSING);
    for (int i = 0; i < count; ++i) {
        scope.ShowFrame(kFrameProgressFormat, i, count);
        auto picture = std::make_unique<CDibSection>();
        if (DecodeFrame(frames[size_t(i)], *picture) != DIB_OK)
            return EditorStatus::ImageFailed;
        // The reduction reads whole-byte pixels: 1- to 4-bit frames are
        // widened to 8 bits first, their indices and colours kept.
        if (PixelFormatBits(picture->GetFormat()) < 8 && picture->ConvertFormat(PF_INDEX8, nullptr, 0) != DIB_OK)
            return EditorStatus::ImageFailed;
        images.push_back(picture.get());
        pictures.push_back(std::move(picture));
    }
    ColourReductionOptions options;
    options.target = params.target;
    options.method = params.method;
    options.colours = params.colours;
    options.includeSystemColours = params.includeWindowsColours;
    options.errorDiffusion = params.errorDiffusion;
    if (ReduceColours(images.data(), count, options) != DIB_OK)
        return EditorStatus::ImageFailed;
    std::vector<FrameRef> results;
    for (auto& picture : pictures) {
        FrameRef stored = MakeStoredFrame(*picture);
        if (!stored)
            return EditorStatus::OutOfMemory;
        results.push_back(std::move(stored));
    }
    ReplaceFrames("Change Color Depth", std::move(results), count - 1);
    return EditorStatus::Ok;
}

EditorStatus CKVFEditorDoc::SavePalette(const std::string& path)
{
    if (m_frames.IsEmpty())
        return EditorStatus::NothingToDo;
    const CDibPalette* palette = m_working.GetPalette();
    if (m_working.GetFormat() != PF_INDEX8 || !palette)
        return EditorStatus::NotIndexed;
    return WritePaletteFile(path, palette->Entries(), palette->GetCount());
}

EditorStatus CKVFEditorDoc::LoadPalette(const std::string& path, IEditorProgress* progress)
{
    if (m_frames.IsEmpty())
        return EditorStatus::NothingToDo;
    PaletteEntries entries;
    const EditorStatus status = ReadPaletteFile(path, entries);
    if (status != EditorStatus::Ok)
        return status;
    CDibPalette* palette = new CDibPalette;
    if (palette->Create(256) != DIB_OK || palette->SetEntries(entries.data(), 0, 256) != DIB_OK) {
        palette->Release();
        return EditorStatus::OutOfMemory;
    }
    const EditorStatus result = ApplyToEachFrame(
        "Load Palette", PROGRESS_PROCESSING, progress, [&](CDibSection& picture, int, int, CDibSection& converted) {
            DibResult code = converted.CopyFrom(&picture);
            return code == DIB_OK ? converted.ConvertFormat(PF_INDEX8, palette, 0) : code;
        });
    palette->Release();
    return result;
}

EditorStatus CKVFEditorDoc::Reverse()
{
    const EditorStatus status = CommitBeforeChange();
    if (status != EditorStatus::Ok)
        return status;
    const std::vector<CDibPacked*> frames = m_frames.Frames();
    std::vector<FrameRef> reversed;
    reversed.reserve(frames.size());
    for (auto it = frames.rbegin(); it != frames.rend(); ++it)
        reversed.push_back(FrameRef::Share(*it));
    ReplaceFrames("Reverse", std::move(reversed), 0);
    return EditorStatus::Ok;
}

EditorStatus CKVFEditorDoc::TimeStretch(const TimeStretchParams& params)
{
    if (!params.IsValid())
        return EditorStatus::BadParameters;
    const EditorStatus status = CommitBeforeChange();
    if (status != EditorStatus::Ok)
        return status;
    // Stored frames never change, so a repeated frame is the same frame twice.
    const std::vector<CDibPacked*> frames = m_frames.Frames();
    const int64_t oldCount = int64_t(frames.size()), newCount = params.frames;
    std::vector<FrameRef> stretched;
    stretched.reserve(size_t(newCount));
    for (int64_t k = 0; k < newCount; ++k)
        stretched.push_back(FrameRef::Share(frames[size_t(k * oldCount / newCount)]));
    ReplaceFrames("Time Stretch/Shrink", std::move(stretched), 0);
    return EditorStatus::Ok;
}
