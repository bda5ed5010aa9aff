#include "editor/SpriteImport.h"

#include "PackedFrames.h"
#include "ProgressScope.h"
#include "common/AtomicFile.h"
#include "editor/CAviFile.h"
#include "editor/CKVFEditorDoc.h"
#include "editor/PngPicture.h"
#include "imaging/CDibSection.h"
#include "sprites/SpriteFiles.h"

#include <cstring>

bool ImportParams::IsValid() const
{
    return frames >= kMinFrames && frames <= kMaxFrames;
}

namespace {

// Encoded pictures may take more bytes than their pixels (a row table, runs
// that do not pay off); files beyond this hold no picture the editor keeps.
constexpr size_t kMaxPictureFileBytes = 2 * kMaxFrameBytes;

// Sprite files and other programs' bitmaps as the clipboard's pictures are
// read (any codec, decoded); PNG files through the PNG reader. Either way
// the result is a plain picture.
EditorStatus LoadPictureFrame(const std::string& path, FrameRef& frame)
{
    std::string bytes;
    if (!ReadWholeFile(path, bytes, kMaxPictureFileBytes))
        return EditorStatus::CannotOpenFile;
    const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
    std::vector<uint8_t> png;
    if (IsPngData(data, bytes.size())) {
        const EditorStatus status = DecodePngPicture(data, bytes.size(), png);
        if (status != EditorStatus::Ok)
            return status;
        data = png.data();
        bytes.clear();
    }
    const size_t size = png.empty() ? bytes.size() : png.size();
    const EditorStatus status = FrameFromPicture(data, size, frame);
    return status == EditorStatus::NotAPicture ? EditorStatus::NotAPictureFile : status;
}

} // namespace

EditorStatus ImportStrip(CKVFEditorDoc& doc, const std::string& path, const ImportParams& params,
                         IEditorProgress* progress)
{
    if (!params.IsValid())
        return EditorStatus::BadParameters;
    FrameRef strip;
    EditorStatus status = LoadPictureFrame(path, strip);
    if (status != EditorStatus::Ok)
        return status;
    const int width = strip->GetWidth(), height = strip->GetHeight();
    const int frameHeight = StripFrameHeight(height, params.frames);
    if (frameHeight == 0)
        return EditorStatus::BadParameters;

    uint8_t* bits = nullptr;
    int pitch = 0;
    if (strip->Lock(&bits, &pitch) != DIB_OK)
        return EditorStatus::ImageFailed;
    const size_t rowBytes = PixelFormatRowPitch(strip->GetFormat(), width);
    ProgressScope scope(progress, PROGRESS_IMPORTING);
    scope.SetRange(0, params.frames);
    doc.BeginCommandGroup("Import");
    for (int i = 0; i < params.frames && status == EditorStatus::Ok; ++i) {
        CDibSection band;
        if (band.Create(width, frameHeight, strip->GetFormat()) != DIB_OK ||
            (strip->GetPalette() && band.SetPalette(strip->GetPalette()) != DIB_OK)) {
            status = EditorStatus::OutOfMemory;
            break;
        }
        // Frame i is rows i × h to (i + 1) × h − 1 from the top; the strip's
        // rows are stored bottom-up, the band's top-down.
        for (int row = 0; row < frameHeight; ++row) {
            const int fromTop = i * frameHeight + row;
            std::memcpy(band.Bits() + ptrdiff_t(row) * band.Pitch(), bits + ptrdiff_t(height - 1 - fromTop) * pitch,
                        rowBytes);
        }
        const FrameRef frame = MakePlainFrame(band);
        if (!frame) {
            status = EditorStatus::OutOfMemory;
            break;
        }
        const std::vector<uint8_t> picture = PictureBytes(*frame);
        status = doc.InsertFrame(picture.data(), picture.size(), InsertPlace::After, "Import");
        scope.SetPosition(i);
    }
    strip->Unlock();
    if (status != EditorStatus::Ok) {
        doc.CancelCommandGroup();
        return status;
    }
    doc.EndCommandGroup();
    return EditorStatus::Ok;
}

EditorStatus InsertVideo(CKVFEditorDoc& doc, const std::string& path, IEditorProgress* progress)
{
    CAviFile file;
    EditorStatus status = file.OpenRead(path);
    if (status != EditorStatus::Ok)
        return status;
    const int count = file.GetFrameCount();
    if (count == 0) {
        doc.SetModifiedFlag();
        return EditorStatus::Ok;
    }
    ProgressScope scope(progress, PROGRESS_IMPORTING);
    scope.SetRange(0, count);
    doc.BeginCommandGroup("Insert Video");
    for (int i = 0; i < count && status == EditorStatus::Ok; ++i) {
        size_t size = 0;
        const uint8_t* picture = file.GetFrame(i, &size);
        if (!picture) {
            status = file.LastStatus() == EditorStatus::Ok ? EditorStatus::DamagedVideo : file.LastStatus();
            break;
        }
        status = doc.InsertFrame(picture, size, InsertPlace::After, "Insert Video");
        if (status == EditorStatus::NotAPicture)
            status = EditorStatus::DamagedVideo;
        scope.SetPosition(i);
    }
    if (status != EditorStatus::Ok) {
        doc.CancelCommandGroup();
        return status;
    }
    doc.EndCommandGroup();
    return EditorStatus::Ok;
}
