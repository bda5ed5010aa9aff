#include "PackedFrames.h"

#include "imaging/CDibSection.h"
#include "sprites/PictureFormat.h"
#include "sprites/PictureLayout.h"

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

FrameRef MakePlainFrame(CDib& image)
{
    FrameRef frame = MakeDib<CDibPacked>();
    // From any kind but a packed image, CopyFrom builds a new picture of the
    // image's format: the plain form.
    assert(image.GetKind() != DIB_KIND_PACKED);
    if (frame->CopyFrom(&image) != DIB_OK)
        return {};
    return frame;
}

FrameRef MakeStoredFrame(CDib& image)
{
    FrameRef frame = MakePlainFrame(image);
    if (frame)
        frame->Compress(TAG_PKCC);
    return frame;
}

EditorStatus FrameFromPicture(const uint8_t* bytes, size_t size, FrameRef& frame)
{
    frame.Reset();
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
    frame = MakePlainFrame(section);
    return frame ? EditorStatus::Ok : EditorStatus::OutOfMemory;
}

DibResult DecodeFrame(CDibPacked* frame, CDibSection& image)
{
    if (!frame)
        return DIB_FAILED;
    if (!frame->IsCompressed())
        return image.CopyFrom(frame);
    CDibPacked decoded;
    DibResult code = decoded.CopyFrom(frame);
    if (code == DIB_OK)
        code = decoded.Decompress();
    if (code == DIB_OK)
        code = image.CopyFrom(&decoded);
    return code;
}

FrameRef PlainFrame(CDibPacked* frame)
{
    if (!frame)
        return {};
    if (!frame->IsCompressed())
        return FrameRef::Share(frame);
    FrameRef plain = MakeDib<CDibPacked>();
    if (plain->CopyFrom(frame) != DIB_OK || plain->Decompress() != DIB_OK)
        return {};
    return plain;
}

std::vector<uint8_t> PictureBytes(const CDibPacked& frame)
{
    const uint8_t* info = frame.GetInfoHeader();
    if (!info)
        return {};
    const size_t size = PictureSize(info, HeaderRule::Editor);
    // Stored pictures are plain (see above): both rules measure them alike.
    assert(size == frame.GetPictureSize());
    return std::vector<uint8_t>(info, info + size);
}
