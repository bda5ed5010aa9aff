// Arbitrary bytes as a bitmap written by another program: the reader that
// turns run-length pictures, later headers, masks and top-down rows into
// plain pictures, and a packed image attaching and converting the result.

#include "CodecFuzzChecks.h"
#include "imaging/CDibSection.h"
#include "imaging/ConvertPixels.h"
#include "sprites/CDibPacked.h"
#include "sprites/ForeignPicture.h"
#include "sprites/PictureFormat.h"

#include <cstdlib>
#include <cstring>

namespace {

// Pictures of more than 64 Ki pixels are skipped: a few bytes of run-length
// codes legitimately claim far more than the fuzzer should decode and
// convert on every run.
bool SmallEnough(const uint8_t* data, size_t size)
{
    size_t available = size;
    const uint8_t* info = data;
    if (size >= 14 && data[0] == 'B' && data[1] == 'M') {
        info += 14;
        available -= 14;
    }
    if (available < 12)
        return true;
    const int64_t height = int32_t(ReadLE32(info + 8));
    return uint64_t(ReadLE32(info + 4)) * uint64_t(height < 0 ? -height : height) <= (1u << 16);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (!SmallEnough(data, size))
        return 0;
    uint8_t* converted = nullptr;
    if (ReadForeignPicture(data, size, &converted) == ForeignPictureResult::Converted) {
        // What comes out is a whole picture the system's own reader accepts.
        if (!IsPictureWithin(converted, PictureSize(converted)))
            std::abort();
        FreePicture(converted);
    }
    CDibPacked image;
    if (image.Attach(FuzzBlock(data, size)) == DIB_OK && !image.IsCompressed()) {
        image.GetPixel(image.GetWidth() - 1, 0);
        CDibSection section;
        if (section.CopyFrom(&image) == DIB_OK && section.ConvertFormat(PF_RGB555, nullptr, CONVERT_DITHER) == DIB_OK)
            section.GetPixel(0, 0);
        if (image.ConvertFormat(PF_RGB32, nullptr, 0) == DIB_OK) // a refusal is a fine outcome
            image.GetPixel(0, 0);
    }
    return 0;
}
