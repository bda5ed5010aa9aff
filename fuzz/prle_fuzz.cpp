// Feeds arbitrary bytes to the "PRLE" decoder and to the "PRLE" to "ARLE"
// step, as a sprite file or a bare packed picture. The two paths must agree.

#include "sprites/ArleCodec.h"
#include "sprites/PictureFormat.h"
#include "sprites/PrleCodec.h"

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
    uint8_t* decoded = PrleDecode(picture, available);
    uint8_t* arle = PrleToArle(picture, available);
    uint8_t* viaArle = arle ? ArleDecode(arle, PictureSize(arle)) : nullptr;
    if (!decoded != !viaArle)
        std::abort();
    if (decoded && std::memcmp(decoded, viaArle, PictureSize(decoded)) != 0)
        std::abort();
    FreePicture(viaArle);
    FreePicture(arle);
    FreePicture(decoded);
    return 0;
}
