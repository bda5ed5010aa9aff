// Feeds arbitrary bytes to the "PRLE" decoder and to the "PRLE" to "ARLE"
// step, as a sprite file or a bare packed picture. The two paths must agree,
// and what decodes must re-encode and decode to the same pixels.

#include "CodecFuzzChecks.h"
#include "sprites/ArleCodec.h"
#include "sprites/PrleCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    size_t available = 0;
    const uint8_t* picture = FuzzPicture(data, size, available);
    if (!picture)
        return 0;
    uint8_t* decoded = PrleDecode(picture, available);
    uint8_t* arle = PrleToArle(picture, available);
    uint8_t* viaArle = arle ? ArleDecode(arle, PictureSize(arle)) : nullptr;
    if (!decoded != !viaArle || (decoded && std::memcmp(decoded, viaArle, PictureSize(decoded)) != 0))
        std::abort();
    if (decoded && int32_t(InfoHeight(decoded)) > 0)
        CheckRoundTrip(decoded, PrleEncode, PrleDecode);
    FreePicture(viaArle);
    FreePicture(arle);
    FreePicture(decoded);
    return 0;
}
