#include "editor/SpriteExport.h"

#include "PackedFrames.h"
#include "ProgressScope.h"
#include "editor/CKVFEditorDoc.h"
#include "editor/JpegFile.h"
#include "editor/PngPicture.h"
#include "frames/CWorkQueue.h"
#include "sprites/CDibPacked.h"
#include "sprites/LoadPicture.h"
#include "sprites/PictureFormat.h"
#include "sprites/PkcCodec.h"
#include "sprites/SpriteCodecs.h"
#include "sprites/SpriteFiles.h"
#include "sprites/TrleCodec.h"

#include <cstring>
#include <memory>
#include <mutex>
#include <vector>

bool ExportOptions::IsValid() const
{
    return quality >= kMinQuality && quality <= kMaxQuality && int(encoding) >= int(ExportEncoding::Uncompressed) &&
           int(encoding) <= int(ExportEncoding::Png);
}

namespace {

// A strip holds at most this many bytes of pixels: four frames of the
// largest size a frame may have.
constexpr size_t kMaxStripBytes = 4 * kMaxFrameBytes;

uint32_t CodecTag(ExportEncoding encoding)
{
    switch (encoding) {
    case ExportEncoding::Pkc:
        return TAG_PKCC;
    case ExportEncoding::Arle:
        return TAG_ARLE;
    case ExportEncoding::Prle:
        return TAG_PRLE;
    case ExportEncoding::Trle:
        return TAG_TRLE;
    default:
        return 0;
    }
}

// A packed image of its own over a copy of the picture's bytes, so that
// encoding it never touches a stored frame.
EditorStatus AttachCopy(const std::vector<uint8_t>& picture, CDibPacked& image)
{
    CMemoryBlock* block = CMemoryBlock::Allocate(picture.size());
    if (!block)
        return EditorStatus::OutOfMemory;
    std::memcpy(block->Lock(), picture.data(), picture.size());
    block->Unlock();
    return image.Attach(block) == DIB_OK ? EditorStatus::Ok : EditorStatus::ImageFailed;
}

EditorStatus WriteEncoded(const std::string& path, const uint8_t* picture, size_t size)
{
    return WriteSpriteFile(path, picture, size) ? EditorStatus::Ok : EditorStatus::CannotWriteFile;
}

// The "Alpha" picture of a TRLE strip, as loaded (still encoded).
struct AlphaReference {
    CDibPacked image;
    bool used = false;
};

// Writes one plain picture (a frame or the strip) to `path` as `options` ask.
EditorStatus WritePicture(const std::string& path, const std::vector<uint8_t>& plain, const ExportOptions& options,
                          AlphaReference* alpha)
{
    CDibPacked picture;
    EditorStatus status = AttachCopy(plain, picture);
    if (status != EditorStatus::Ok)
        return status;
    switch (options.encoding) {
    case ExportEncoding::Uncompressed:
        return WriteEncoded(path, picture.GetInfoHeader(), picture.GetPictureSize());
    case ExportEncoding::Jpeg:
        return WriteJpegFile(path, picture, options.quality);
    case ExportEncoding::Png:
        return WritePngFile(path, picture);
    default:
        break;
    }
    if (alpha && alpha->used) {
        // The rows keep what the reference keeps, whatever the strip's depth.
        uint8_t* encoded = TrleEncodeWithReference(picture.GetInfoHeader(), picture.GetPictureSize(),
                                                   alpha->image.GetInfoHeader(), alpha->image.GetPictureSize());
        if (!encoded)
            return EditorStatus::CompressionFailed;
        status = WriteEncoded(path, encoded, PictureSize(encoded));
        FreePicture(encoded);
        return status;
    }
    if (options.encoding == ExportEncoding::Pkc) {
        // The quick deflate level: the user is waiting for these files.
        uint8_t* encoded = PkcEncodeWith(picture.GetInfoHeader(), picture.GetPictureSize(), PackEffort::Quick);
        if (!encoded)
            return EditorStatus::CompressionFailed;
        status = WriteEncoded(path, encoded, PictureSize(encoded));
        FreePicture(encoded);
        return status;
    }
    if (picture.Compress(CodecTag(options.encoding)) != DIB_OK)
        return EditorStatus::CompressionFailed;
    return WriteEncoded(path, picture.GetInfoHeader(), picture.GetPictureSize());
}

// Whether the frames of a sequence in this encoding can be encoded and
// written on worker threads: the sprite codecs work on bytes alone, while
// JPEG and PNG files are made through image objects.
bool EncodesOnWorkers(ExportEncoding encoding)
{
    return encoding != ExportEncoding::Jpeg && encoding != ExportEncoding::Png;
}

// One frame of a sequence encoded and written, on a worker thread: the same
// bytes WritePicture writes, through the codecs' byte-level entry points.
EditorStatus EncodeAndWrite(const std::string& path, const std::vector<uint8_t>& plain, ExportEncoding encoding)
{
    if (encoding == ExportEncoding::Uncompressed)
        return WriteEncoded(path, plain.data(), plain.size());
    uint8_t* encoded = nullptr;
    if (encoding == ExportEncoding::Pkc) {
        encoded = PkcEncodeWith(plain.data(), plain.size(), PackEffort::Quick);
    } else {
        const SpriteCodec* codec = FindSpriteEncoder(CodecTag(encoding));
        encoded = codec ? codec->encoder(plain.data(), plain.size()) : nullptr;
    }
    if (!encoded)
        return EditorStatus::CompressionFailed;
    const EditorStatus status = WriteEncoded(path, encoded, PictureSize(encoded));
    FreePicture(encoded);
    return status;
}

// The plain picture of frame `index` (info header first).
EditorStatus PlainPicture(CKVFEditorDoc& doc, int index, std::vector<uint8_t>& picture)
{
    const CStoredFrame* frame = doc.GetFrame(index);
    picture = frame ? frame->Picture() : std::vector<uint8_t>();
    return picture.empty() ? EditorStatus::ImageFailed : EditorStatus::Ok;
}

// One picture of the frames stacked, frame 0 at the top: the first frame's
// header with the height multiplied by the count, then the frames' pixels
// last frame first, since rows are stored bottom-up. The frames have one
// format and size (checked before).
EditorStatus AssembleStrip(CKVFEditorDoc& doc, ProgressScope& scope, std::vector<uint8_t>& strip)
{
    std::vector<uint8_t> frame;
    EditorStatus status = PlainPicture(doc, 0, frame);
    if (status != EditorStatus::Ok)
        return status;
    const size_t headerSize = PictureHeaderSize(frame.data(), HeaderRule::Editor);
    const size_t dataSize = PictureDataSize(frame.data());
    const size_t count = size_t(doc.GetFrameCount());
    const uint64_t height = uint64_t(InfoHeight(frame.data())) * count;
    if (height > 65535 || dataSize > kMaxStripBytes / count)
        return EditorStatus::TooLarge;
    strip.assign(headerSize + dataSize * count, 0);
    std::memcpy(strip.data(), frame.data(), headerSize);
    WriteLE32(strip.data() + BIH_HEIGHT, uint32_t(height));
    WriteLE32(strip.data() + BIH_IMAGE_SIZE, uint32_t(dataSize * count));
    for (size_t i = 0; i < count; ++i) {
        if (i > 0 && (status = PlainPicture(doc, int(i), frame)) != EditorStatus::Ok)
            return status;
        std::memcpy(strip.data() + headerSize + (count - 1 - i) * dataSize, frame.data() + headerSize, dataSize);
        scope.SetPosition(int(i));
    }
    return EditorStatus::Ok;
}

} // namespace

EditorStatus ExportFrames(CKVFEditorDoc& doc, const std::string& path, ExportLayout layout,
                          const ExportOptions& options, IEditorProgress* progress)
{
    if (!options.IsValid())
        return EditorStatus::BadParameters;
    if (doc.GetFrameCount() == 0)
        return EditorStatus::NothingToDo;
    EditorStatus status = doc.Commit();
    if (status != EditorStatus::Ok)
        return status;
    if (!doc.IsSameFormat())
        return EditorStatus::NotSameFormat;
    const PixelFormat format = doc.GetFrame(0)->Format();
    if ((options.encoding == ExportEncoding::Arle || options.encoding == ExportEncoding::Prle) &&
        format != PF_INDEX8)
        return EditorStatus::NeedsIndexed8;
    // Nothing but a 24-bit picture can become a JPEG file: say so rather
    // than write nothing.
    if (options.encoding == ExportEncoding::Jpeg && format != PF_RGB24)
        return EditorStatus::JpegNeeds24Bits;

    AlphaReference alpha;
    if (layout == ExportLayout::Strip && options.encoding == ExportEncoding::Trle && !options.alphaPath.empty()) {
        if (LoadPicture(alpha.image, PictureSource::File(options.alphaPath)) != DIB_OK)
            return EditorStatus::CannotOpenAlpha;
        alpha.used = true;
    }

    const int count = doc.GetFrameCount();
    ProgressScope scope(progress, PROGRESS_EXPORTING);
    scope.SetRange(0, count);
    if (layout == ExportLayout::Strip) {
        std::vector<uint8_t> strip;
        status = AssembleStrip(doc, scope, strip);
        return status == EditorStatus::Ok ? WritePicture(path, strip, options, &alpha) : status;
    }
    if (EncodesOnWorkers(options.encoding)) {
        // The first failure is the one reported; frames after it are still
        // written by the workers that had them.
        std::mutex failureMutex;
        EditorStatus failure = EditorStatus::Ok;
        CWorkQueue workers;
        for (int i = 0; i < count && status == EditorStatus::Ok; ++i) {
            if (scope.IsCancelled()) {
                status = EditorStatus::Cancelled;
                break;
            }
            std::vector<uint8_t> frame;
            status = PlainPicture(doc, i, frame);
            if (status != EditorStatus::Ok)
                break;
            auto held = std::make_shared<std::vector<uint8_t>>(std::move(frame));
            workers.Add([&, held, name = SequenceFrameName(path, i)] {
                const EditorStatus written = EncodeAndWrite(name, *held, options.encoding);
                if (written != EditorStatus::Ok) {
                    std::lock_guard<std::mutex> lock(failureMutex);
                    if (failure == EditorStatus::Ok)
                        failure = written;
                }
                return written == EditorStatus::Ok;
            });
            scope.SetPosition(i);
        }
        workers.Finish();
        return status != EditorStatus::Ok ? status : failure;
    }
    std::vector<uint8_t> frame;
    for (int i = 0; i < count && status == EditorStatus::Ok; ++i) {
        if (scope.IsCancelled())
            return EditorStatus::Cancelled;
        status = PlainPicture(doc, i, frame);
        if (status == EditorStatus::Ok)
            status = WritePicture(SequenceFrameName(path, i), frame, options, nullptr);
        scope.SetPosition(i);
    }
    return status;
}
