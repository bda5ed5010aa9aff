#include "sprites/PrleCodec.h"

#include "sprites/ArleCodec.h"
#include "sprites/MemoEnvelope.h"
#include "sprites/PictureFormat.h"

uint8_t* ArleToPrle(const uint8_t* picture, size_t available)
{
    const size_t header = TaggedIndex8HeaderSize(picture, available, TAG_ARLE);
    if (header == 0)
        return nullptr;
    return PackPictureArea(picture, header, picture + header, InfoImageSize(picture), TAG_PRLE);
}

uint8_t* PrleToArle(const uint8_t* picture, size_t available)
{
    const size_t header = TaggedIndex8HeaderSize(picture, available, TAG_PRLE);
    if (header == 0)
        return nullptr;
    const uint8_t* envelope = picture + header;
    const size_t area = InfoImageSize(picture);
    const uint32_t unpacked = MemoUnpackedSize(envelope, area);
    return UnpackPictureArea(picture, header, envelope, area, unpacked, TAG_ARLE, unpacked);
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
    const size_t header = TaggedIndex8HeaderSize(picture, available, TAG_PRLE);
    if (header == 0)
        return nullptr;
    // The row codes are inflated on their own and decoded from there, which
    // spares building the intermediate "ARLE" picture.
    const uint8_t* envelope = picture + header;
    const size_t area = InfoImageSize(picture);
    uint8_t* codes = MemoUnpack(envelope, area);
    if (!codes)
        return nullptr;
    uint8_t* out = ArleDecodeArea(picture, header, codes, MemoUnpackedSize(envelope, area));
    FreePicture(codes);
    return out;
}
