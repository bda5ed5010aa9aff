// Arbitrary bytes as a sprite file handed to the thumbnailer (what a file
// manager does with any file that looks like one): attach, decode, the first
// frame, shrinking. The first two bytes choose the frame count and the size.

#include "CodecFuzzChecks.h"
#include "SpriteThumbnail.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    const int frames = 1 + data[0] % 8;
    const int side = 1 + data[1] % 96;
    CDibPacked image;
    if (image.Attach(FuzzBlock(data + 2, size - 2)) != DIB_OK)
        return 0;
    SpriteThumbnail thumbnail;
    std::string error;
    if (!MakeSpriteThumbnail(image, frames, side, thumbnail, error)) {
        if (error.empty())
            std::abort(); // a refusal always says why
        return 0;
    }
    // Fitted into the square, never empty, every pixel there.
    if (thumbnail.width < 1 || thumbnail.height < 1 || thumbnail.width > side || thumbnail.height > side ||
        thumbnail.rgba.size() != size_t(thumbnail.width) * size_t(thumbnail.height) * 4)
        std::abort();
    return 0;
}
