// Feeds arbitrary bytes to the "MEMO" envelope reader. What unpacks must pack
// and unpack to the same bytes again.

#include "sprites/MemoEnvelope.h"
#include "sprites/PictureFormat.h"

#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    uint8_t* unpacked = MemoUnpack(data, size);
    if (!unpacked)
        return 0;
    const size_t length = MemoUnpackedSize(data, size);
    uint8_t* envelope = MemoPack(unpacked, length);
    if (!envelope)
        std::abort();
    const size_t packed = MemoPackedSize(envelope, MEMO_HEADER_SIZE);
    uint8_t* back = MemoUnpack(envelope, packed);
    if (!back || MemoUnpackedSize(envelope, packed) != length || std::memcmp(back, unpacked, length) != 0)
        std::abort();
    FreePicture(back);
    FreePicture(envelope);
    FreePicture(unpacked);
    return 0;
}
