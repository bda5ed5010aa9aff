#include "PackedFrames.h"

#include "imaging/CDibSection.h"
#include "sprites/CDibPacked.h"
#include "sprites/PictureFormat.h"

#include <cassert>
#include <cstring>

size_t FrameDataBytes(PixelFormat format, int width, int height)
{
    if (!IsValidImageSize(width, height))
        return 0;
    return size_t(PixelFormatRowPitch(format, width)) * size_t(height);
}

bool FitsFrameLimit(PixelFormat format, int width, int height)
{
    const size_t bytes = FrameDataBytes(format, width, height);
    return bytes != 0 && bytes <= kMaxFrameBytes;
}

std::vector<uint8_t> PlainPictureOf(CDib& image)
{
    // From any kind but a packed image, CopyFrom builds a new picture of the
    // image's format: the plain form.
    assert(image.GetKind() != DIB_KIND_PACKED);
    CDibPacked packed;
    if (packed.CopyFrom(&image) != DIB_OK)
        return {};
    const uint8_t* info = packed.GetInfoHeader();
    if (!info)
        return {};
    const size_t size = PictureSize(info, HeaderRule::Editor);
    // Plain pictures carry no optional colour table: both rules measure them alike.
    assert(size == packed.GetPictureSize());
    return std::vector<uint8_t>(info, info + size);
}

FrameRef MakeStoredFrame(CDib& image)
{
    const std::vector<uint8_t> picture = PlainPictureOf(image);
    return CStoredFrame::FromPicture(picture.data(), picture.size());
}

EditorStatus FrameFromPicture(const uint8_t* bytes, size_t size, FrameRef& frame)
{
    frame.reset();
    if (!bytes || size == 0)
        return EditorStatus::NotAPicture;
    CMemoryBlock* block = CMemoryBlock::Allocate(size);
    if (!block)
        return EditorStatus::OutOfMemory;
    std::memcpy(block->Lock(), bytes, size);
    block->Unlock();
    CDibPacked picture;
    if (picture.Attach(block) != DIB_OK) // takes the block over either way
        return EditorStatus::NotAPicture;
    if (!FitsFrameLimit(picture.GetFormat(), picture.GetWidth(), picture.GetHeight()))
        return EditorStatus::TooLarge;
    if (picture.IsCompressed() && picture.Decompress() != DIB_OK)
        return EditorStatus::NotAPicture;
    CDibSection section;
    if (section.CopyFrom(&picture) != DIB_OK)
        return EditorStatus::NotAPicture;
    frame = MakeStoredFrame(section);
    return frame ? EditorStatus::Ok : EditorStatus::OutOfMemory;
}

DibResult DecodeFrame(const CStoredFrame* frame, CDibSection& image)
{
    if (!frame)
        return DIB_FAILED;
    const std::vector<uint8_t>& header = frame->Header();
    CMemoryBlock* block = CMemoryBlock::Allocate(header.size() + frame->PixelBytes());
    if (!block)
        return DIB_FAILED;
    // The picture is unpacked straight into the block the packed image reads.
    uint8_t* bytes = block->Lock();
    std::memcpy(bytes, header.data(), header.size());
    const bool unpacked = frame->UnpackPixels(bytes + header.size());
    block->Unlock();
    CDibPacked picture;
    DibResult code = picture.Attach(block); // takes the block over either way
    if (!unpacked)
        return DIB_FAILED;
    if (code == DIB_OK)
        code = image.CopyFrom(&picture);
    return code;
}
