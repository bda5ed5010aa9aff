#include "sprites/PrleCodec.h"

#include "common/ByteOrder.h"
#include "sprites/ArleCodec.h"
#include "sprites/MemoEnvelope.h"
#include "sprites/PictureFormat.h"

#include <cstring>

namespace {

// The envelope of a "PRLE" picture, or null when the picture is not one or its
// envelope claims more bytes than the image size gives it.
const uint8_t* FindEnvelope(const uint8_t* picture, size_t available, size_t& header)
{
    header = TaggedIndex8HeaderSize(picture, available, TAG_PRLE);
    if (header == 0)
        return nullptr;
    const uint8_t* envelope = picture + header;
    return IsMemoEnvelopeWithin(envelope, InfoImageSize(picture)) ? envelope : nullptr;
}

} // namespace

uint8_t* ArleToPrle(const uint8_t* picture, size_t available)
{
    const size_t header = TaggedIndex8HeaderSize(picture, available, TAG_ARLE);
    if (header == 0)
        return nullptr;
    uint8_t* envelope = MemoPack(picture + header, InfoImageSize(picture));
    if (!envelope)
        return nullptr;
    const uint32_t packed = MemoPackedSize(envelope, MEMO_HEADER_SIZE);
    uint8_t* out = AllocPicture(header + packed);
    if (out) {
        std::memcpy(out, picture, header);
        WriteLE32(out + BIH_COMPRESSION, TAG_PRLE);
        WriteLE32(out + BIH_IMAGE_SIZE, packed);
        std::memcpy(out + header, envelope, packed);
    }
    FreePicture(envelope);
    return out;
}

uint8_t* PrleToArle(const uint8_t* picture, size_t available)
{
    size_t header = 0;
    const uint8_t* envelope = FindEnvelope(picture, available, header);
    if (!envelope)
        return nullptr;
    const size_t packed = InfoImageSize(picture);
    const uint32_t unpacked = MemoUnpackedSize(envelope, packed);
    uint8_t* out = AllocPicture(header + unpacked);
    if (!out)
        return nullptr;
    if (!MemoUnpackInto(envelope, packed, out + header, unpacked)) {
        FreePicture(out);
        return nullptr;
    }
    std::memcpy(out, picture, header);
    WriteLE32(out + BIH_COMPRESSION, TAG_ARLE);
    WriteLE32(out + BIH_IMAGE_SIZE, unpacked);
    return out;
}

uint8_t* PrleEncode(const uint8_t* picture, size_t available)
{
    uint8_t* arle = ArleEncode(picture, available);
    if (!arle)
        return nullptr;
    uint8_t* out = ArleToPrle(arle, PictureSize(arle));
    FreePicture(arle);
    return out;
}

uint8_t* PrleDecode(const uint8_t* picture, size_t available)
{
    // The row codes are inflated on their own and decoded from there, which
    // spares building the intermediate "ARLE" picture.
    size_t header = 0;
    const uint8_t* envelope = FindEnvelope(picture, available, header);
    if (!envelope)
        return nullptr;
    const size_t packed = InfoImageSize(picture);
    uint8_t* codes = MemoUnpack(envelope, packed);
    if (!codes)
        return nullptr;
    uint8_t* out = ArleDecodeArea(picture, header, codes, MemoUnpackedSize(envelope, packed));
    FreePicture(codes);
    return out;
}
