// Feeds arbitrary bytes to the "ARLE" decoder as a sprite file or a bare
// packed picture. What decodes must re-encode and decode to the same pixels.

#include "sprites/ArleCodec.h"
#include "sprites/PictureFormat.h"

#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    size_t available = size;
    const uint8_t* picture = FindInfoHeader(data, available);
    // Legitimate pictures of up to 65535 × 65535 pixels decode from small
    // inputs; keep within the fuzzer's memory budget.
    if (!picture)
        return 0;
    const int32_t rows = int32_t(InfoHeight(picture));
    if (rows > 0 && uint64_t(InfoWidth(picture)) * uint64_t(rows) > (1u << 22))
        return 0;
    uint8_t* decoded = ArleDecode(picture, available);
    if (!decoded)
        return 0;
    const size_t decodedSize = PictureSize(decoded);
    if (int32_t(InfoHeight(decoded)) > 0) {
        uint8_t* again = ArleEncode(decoded, decodedSize);
        uint8_t* back = again ? ArleDecode(again, PictureSize(again)) : nullptr;
        if (!back || PictureSize(back) != decodedSize || std::memcmp(back, decoded, decodedSize) != 0)
            std::abort();
        FreePicture(back);
        FreePicture(again);
    }
    FreePicture(decoded);
    return 0;
}
