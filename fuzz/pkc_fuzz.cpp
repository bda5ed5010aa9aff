// Feeds arbitrary bytes to the "PKC1"/"PKC2" decoder as a sprite file or a
// bare packed picture. What decodes must re-encode and decode unchanged.

#include "CodecFuzzChecks.h"
#include "sprites/PkcCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    size_t available = 0;
    const uint8_t* picture = FuzzPicture(data, size, available);
    uint8_t* decoded = picture ? PkcDecode(picture, available) : nullptr;
    if (decoded)
        CheckRoundTrip(decoded, PkcEncode, PkcDecode);
    FreePicture(decoded);
    return 0;
}
