// Feeds arbitrary bytes to the "ARLE" decoder as a sprite file or a bare
// packed picture. What decodes must re-encode and decode to the same pixels.

#include "CodecFuzzChecks.h"
#include "sprites/ArleCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    size_t available = 0;
    const uint8_t* picture = FuzzPicture(data, size, available);
    uint8_t* decoded = picture ? ArleDecode(picture, available) : nullptr;
    if (decoded && int32_t(InfoHeight(decoded)) > 0)
        CheckRoundTrip(decoded, ArleEncode, ArleDecode);
    FreePicture(decoded);
    return 0;
}
