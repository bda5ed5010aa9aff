// Arbitrary bytes as a PNG file offered to Import, a drop or the clipboard:
// what comes out is a whole plain picture, and writing it as PNG again and
// reading that gives the same picture back.

#include "editor/PngPicture.h"
#include "imaging/CDibSection.h"
#include "sprites/CDibPacked.h"
#include "sprites/PictureFormat.h"

#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

// Pictures of more than 256 KiB of pixels are refused: a few bytes of
// header legitimately claim far more than the fuzzer should decode.
constexpr size_t kMaxBytes = size_t(256) << 10;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<uint8_t> picture;
    if (DecodePngPicture(data, size, picture, kMaxBytes) != EditorStatus::Ok)
        return 0;
    if (!IsPictureWithin(picture.data(), picture.size()) || PictureSize(picture.data()) != picture.size())
        std::abort();
    CDibPacked image;
    CMemoryBlock* block = CMemoryBlock::Allocate(picture.size());
    std::memcpy(block->Lock(), picture.data(), picture.size());
    block->Unlock();
    if (image.Attach(block) != DIB_OK)
        std::abort();
    std::vector<uint8_t> png, again;
    if (EncodePng(image, png) != EditorStatus::Ok ||
        DecodePngPicture(png.data(), png.size(), again, kMaxBytes) != EditorStatus::Ok || again != picture)
        std::abort();
    return 0;
}
