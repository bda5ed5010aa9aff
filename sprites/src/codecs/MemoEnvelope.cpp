#include "sprites/MemoEnvelope.h"

#include "common/ByteOrder.h"
#include "common/DebugTrace.h"
#include "sprites/PictureFormat.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <limits>
#include <zlib.h>

namespace {

constexpr size_t MEMO_PACKED_SIZE = 4;
constexpr size_t MEMO_UNPACKED_SIZE = 8;

bool HasMagic(const uint8_t* envelope, size_t available)
{
    return envelope && available >= MEMO_HEADER_SIZE && ReadLE32(envelope) == TAG_MEMO;
}

// One inflate pass over the whole stream into a buffer of exactly the stated
// size. A stream that would produce more stops when the buffer is full and is
// refused, so a small envelope can never make us write beyond what it states.
bool InflateExactly(const uint8_t* stream, size_t streamSize, uint8_t* out, size_t outSize)
{
    z_stream z{};
    if (inflateInit(&z) != Z_OK)
        return false;
    constexpr size_t chunk = UINT_MAX;
    size_t inLeft = streamSize, outLeft = outSize;
    z.next_in = const_cast<Bytef*>(stream);
    uint8_t none = 0; // zlib wants an output pointer even for an empty result
    z.next_out = out ? out : &none;
    int status = Z_OK;
    while (status == Z_OK) {
        // zlib counts in 32 bits: feed the buffers in pieces it can describe.
        if (z.avail_in == 0 && inLeft > 0) {
            z.avail_in = uInt(std::min(inLeft, chunk));
            inLeft -= z.avail_in;
        }
        if (z.avail_out == 0 && outLeft > 0) {
            z.avail_out = uInt(std::min(outLeft, chunk));
            outLeft -= z.avail_out;
        }
        const int flush = inLeft == 0 && outLeft == 0 ? Z_FINISH : Z_NO_FLUSH;
        status = inflate(&z, flush);
        if (status == Z_BUF_ERROR && (z.avail_in > 0 || inLeft > 0) && (z.avail_out > 0 || outLeft > 0))
            status = Z_OK; // progress is still possible with the next pieces
    }
    const bool ended = status == Z_STREAM_END && z.avail_out == 0 && outLeft == 0;
    inflateEnd(&z);
    return ended;
}

} // namespace

uint8_t* MemoPack(const uint8_t* data, size_t size)
{
    if (!data && size > 0)
        return nullptr;
    // compressBound is zlib's own worst case for a one-call compress; it is
    // never below 12 + 1.001 × size, the classic bound.
    const uLong bound = compressBound(uLong(size));
    if (bound > std::numeric_limits<uint32_t>::max() - MEMO_HEADER_SIZE)
        return nullptr;
    uint8_t* scratch = AllocPicture(MEMO_HEADER_SIZE + bound);
    if (!scratch)
        return nullptr;
    uLongf packed = bound;
    const int status = compress2(scratch + MEMO_HEADER_SIZE, &packed, data, uLong(size), Z_BEST_COMPRESSION);
    if (status != Z_OK) {
        DebugTrace("MEMO: zlib could not pack %zu bytes (%d)", size, status);
        FreePicture(scratch);
        return nullptr;
    }
    const size_t total = MEMO_HEADER_SIZE + packed;
    uint8_t* envelope = AllocPicture(total);
    if (envelope) {
        WriteLE32(envelope, TAG_MEMO);
        WriteLE32(envelope + MEMO_PACKED_SIZE, uint32_t(total));
        WriteLE32(envelope + MEMO_UNPACKED_SIZE, uint32_t(size));
        std::memcpy(envelope + MEMO_HEADER_SIZE, scratch + MEMO_HEADER_SIZE, packed);
    }
    FreePicture(scratch);
    return envelope;
}

uint32_t MemoPackedSize(const uint8_t* envelope, size_t available)
{
    return HasMagic(envelope, available) ? ReadLE32(envelope + MEMO_PACKED_SIZE) : 0;
}

uint32_t MemoUnpackedSize(const uint8_t* envelope, size_t available)
{
    return HasMagic(envelope, available) ? ReadLE32(envelope + MEMO_UNPACKED_SIZE) : 0;
}

bool IsMemoEnvelopeWithin(const uint8_t* envelope, size_t available)
{
    if (!HasMagic(envelope, available))
        return false;
    const uint32_t packed = MemoPackedSize(envelope, available);
    const uint32_t unpacked = MemoUnpackedSize(envelope, available);
    if (packed < MEMO_HEADER_SIZE || packed > available)
        return false;
    return unpacked <= MEMO_MAX_EXPANSION * (packed - MEMO_HEADER_SIZE);
}

bool MemoUnpackInto(const uint8_t* envelope, size_t available, uint8_t* out, size_t outSize)
{
    if (!IsMemoEnvelopeWithin(envelope, available) || outSize != MemoUnpackedSize(envelope, available))
        return false;
    if (!out && outSize > 0)
        return false;
    const size_t packed = MemoPackedSize(envelope, available);
    return InflateExactly(envelope + MEMO_HEADER_SIZE, packed - MEMO_HEADER_SIZE, out, outSize);
}

uint8_t* MemoUnpack(const uint8_t* envelope, size_t available)
{
    if (!IsMemoEnvelopeWithin(envelope, available))
        return nullptr;
    const size_t size = MemoUnpackedSize(envelope, available);
    uint8_t* out = AllocPicture(size);
    if (!out)
        return nullptr;
    if (!MemoUnpackInto(envelope, available, out, size)) {
        FreePicture(out);
        return nullptr;
    }
    return out;
}

uint8_t* PackPictureArea(const uint8_t* picture, size_t headerSize, const uint8_t* data, size_t size, uint32_t tag)
{
    uint8_t* envelope = MemoPack(data, size);
    if (!envelope)
        return nullptr;
    const uint32_t packed = MemoPackedSize(envelope, MEMO_HEADER_SIZE);
    uint8_t* out = AllocPicture(headerSize + packed);
    if (out) {
        std::memcpy(out, picture, headerSize);
        WriteLE32(out + BIH_COMPRESSION, tag);
        WriteLE32(out + BIH_IMAGE_SIZE, packed);
        std::memcpy(out + headerSize, envelope, packed);
    }
    FreePicture(envelope);
    return out;
}

uint8_t* UnpackPictureArea(const uint8_t* picture, size_t headerSize, const uint8_t* envelope, size_t available,
                           size_t unpackedSize, uint32_t compression, uint32_t imageSize)
{
    // Checked before allocating, so a lying header costs nothing.
    if (!IsMemoEnvelopeWithin(envelope, available) || MemoUnpackedSize(envelope, available) != unpackedSize)
        return nullptr;
    uint8_t* out = AllocPicture(headerSize + unpackedSize);
    if (!out)
        return nullptr;
    if (!MemoUnpackInto(envelope, available, out + headerSize, unpackedSize)) {
        FreePicture(out);
        return nullptr;
    }
    std::memcpy(out, picture, headerSize);
    WriteLE32(out + BIH_COMPRESSION, compression);
    WriteLE32(out + BIH_IMAGE_SIZE, imageSize);
    return out;
}
