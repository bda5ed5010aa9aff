#include "sprites/MemoEnvelope.h"

#include "common/ByteOrder.h"
#include "common/DebugTrace.h"
#include "sprites/PictureFormat.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <limits>
#include <memory>
#include <libdeflate.h>

namespace {

constexpr size_t MEMO_PACKED_SIZE = 4;
constexpr size_t MEMO_UNPACKED_SIZE = 8;

bool HasMagic(const uint8_t* envelope, size_t available)
{
    return envelope && available >= MEMO_HEADER_SIZE && ReadLE32(envelope) == TAG_MEMO;
}

// The envelope's deflate stream goes through libdeflate: the same zlib format
// that a one-call compress and uncompress read and write, decoded about twice
// as fast and packed tighter. Decoding writes into a buffer of exactly the
// stated size; a stream that would produce more, or less, is refused, so a
// small envelope can never make us write beyond what it states.
bool InflateExactly(const uint8_t* stream, size_t streamSize, uint8_t* out, size_t outSize)
{
    // One per thread: libdeflate state is not shared between threads.
    static thread_local std::unique_ptr<libdeflate_decompressor, decltype(&libdeflate_free_decompressor)> owned(
        libdeflate_alloc_decompressor(), &libdeflate_free_decompressor);
    libdeflate_decompressor* decompressor = owned.get();
    if (!decompressor)
        return false;
    uint8_t none = 0; // an empty result still needs somewhere to point
    size_t consumed = 0, produced = 0;
    const libdeflate_result result = libdeflate_zlib_decompress_ex(
        decompressor, stream, streamSize, out ? out : &none, outSize, &consumed, &produced);
    return result == LIBDEFLATE_SUCCESS && produced == outSize;
}

} // namespace

uint8_t* MemoPack(const uint8_t* data, size_t size, PackEffort effort)
{
    if (!data && size > 0)
        return nullptr;
    // One compressor per thread and effort: libdeflate state is not shared
    // between threads, and a worker thread's goes when the thread ends.
    using Compressor = std::unique_ptr<libdeflate_compressor, decltype(&libdeflate_free_compressor)>;
    static thread_local Compressor strongest(libdeflate_alloc_compressor(12), &libdeflate_free_compressor);
    static thread_local Compressor quick(libdeflate_alloc_compressor(6), &libdeflate_free_compressor);
    libdeflate_compressor* compressor = effort == PackEffort::Quick ? quick.get() : strongest.get();
    if (!compressor)
        return nullptr;
    const size_t bound = libdeflate_zlib_compress_bound(compressor, size);
    if (bound > std::numeric_limits<uint32_t>::max() - MEMO_HEADER_SIZE)
        return nullptr;
    uint8_t* scratch = AllocPicture(MEMO_HEADER_SIZE + bound);
    if (!scratch)
        return nullptr;
    const size_t packed = libdeflate_zlib_compress(compressor, data, size, scratch + MEMO_HEADER_SIZE, bound);
    if (packed == 0) {
        DebugTrace("MEMO: could not pack %zu bytes", size);
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

uint8_t* PackPictureArea(const uint8_t* picture, size_t headerSize, const uint8_t* data, size_t size, uint32_t tag,
                         PackEffort effort)
{
    uint8_t* envelope = MemoPack(data, size, effort);
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
