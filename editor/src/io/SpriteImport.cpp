#include "editor/SpriteImport.h"

#include "PackedFrames.h"
#include "ProgressScope.h"
#include "common/AtomicFile.h"
#include "editor/CAviFile.h"
#include "editor/CKVFEditorDoc.h"
#include "editor/PngPicture.h"
#include "imaging/CDibSection.h"
#include "sprites/PictureFormat.h"
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
    const int width = strip->Width(), height = strip->Height();
    const int frameHeight = StripFrameHeight(height, params.frames);
    if (frameHeight == 0)
        return EditorStatus::BadParameters;

    // Each band becomes a picture of its own: the strip's header with the
    // band's height, and the band's rows.
    const bool wasEmpty = doc.GetFrameCount() == 0;
    const std::vector<uint8_t> whole = strip->Picture();
    if (whole.empty())
        return EditorStatus::OutOfMemory;
    const std::vector<uint8_t>& header = strip->Header();
    const size_t pitch = DibRowStride(width, PixelFormatBits(strip->Format()));
    const uint8_t* bits = whole.data() + header.size();
    std::vector<uint8_t> picture(header.size() + pitch * size_t(frameHeight));
    std::memcpy(picture.data(), header.data(), header.size());
    WriteLE32(picture.data() + BIH_HEIGHT, uint32_t(frameHeight));
    WriteLE32(picture.data() + BIH_IMAGE_SIZE, 0);
    ProgressScope scope(progress, PROGRESS_IMPORTING);
    scope.SetRange(0, params.frames);
    doc.BeginCommandGroup("Import");
    for (int i = 0; i < params.frames && status == EditorStatus::Ok; ++i) {
        // Frame i is rows i × h to (i + 1) × h − 1 from the top; both the
        // strip's rows and the band's are stored bottom-up.
        for (int row = 0; row < frameHeight; ++row) {
            const int fromTop = i * frameHeight + (frameHeight - 1 - row);
            std::memcpy(picture.data() + header.size() + size_t(row) * pitch,
                        bits + size_t(height - 1 - fromTop) * pitch, pitch);
        }
        status = doc.InsertFrame(picture.data(), picture.size(), InsertPlace::After, "Import");
        scope.SetPosition(i);
    }
    if (status != EditorStatus::Ok) {
        doc.CancelCommandGroup();
        return status;
    }
    doc.EndCommandGroup();
    // A document made from the strip opens on its first frame.
    if (wasEmpty)
        doc.SetCurrentFrame(0);
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
