// Feeds arbitrary bytes to the "PKC1"/"PKC2" decoder as a sprite file or a
// bare packed picture. What decodes must re-encode and decode unchanged.

#include "sprites/PictureFormat.h"
#include "sprites/PkcCodec.h"

#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    size_t available = size;
    const uint8_t* picture = FindInfoHeader(data, available);
    if (!picture)
        return 0;
    uint8_t* decoded = PkcDecode(picture, available);
    if (!decoded)
        return 0;
    const size_t decodedSize = PictureSize(decoded);
    uint8_t* again = PkcEncode(decoded, decodedSize);
    uint8_t* back = again ? PkcDecode(again, PictureSize(again)) : nullptr;
    if (!back || PictureSize(back) != decodedSize || std::memcmp(back, decoded, decodedSize) != 0)
        std::abort();
    FreePicture(back);
    FreePicture(again);
    FreePicture(decoded);
    return 0;
}
