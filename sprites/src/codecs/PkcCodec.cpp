#include "sprites/PkcCodec.h"

#include "sprites/MemoEnvelope.h"
#include "sprites/PictureFormat.h"

uint8_t* PkcEncode(const uint8_t* picture, size_t available)
{
    return PkcEncodeWith(picture, available, PackEffort::Smallest);
}

uint8_t* PkcEncodeWith(const uint8_t* picture, size_t available, PackEffort effort)
{
    if (!IsPictureWithin(picture, available))
        return nullptr;
    const uint32_t compression = InfoCompression(picture);
    if (compression != BI_RGB && compression != BI_BITFIELDS)
        return nullptr;
    const size_t header = PictureHeaderSize(picture);
    return PackPictureArea(picture, header, picture + header, PictureDataSize(picture),
                           compression == BI_BITFIELDS ? TAG_PKC2 : TAG_PKC1, effort);
}

uint8_t* PkcDecode(const uint8_t* picture, size_t available)
{
    if (!IsPictureWithin(picture, available))
        return nullptr;
    const uint32_t compression = InfoCompression(picture);
    if (compression != TAG_PKC1 && compression != TAG_PKC2)
        return nullptr;
    const size_t header = PictureHeaderSize(picture);
    // The unpacked size is not taken from the envelope: the rows must fill the
    // picture exactly, or a reader of the result would run past its end.
    const size_t dataSize = size_t(DibRowStride(InfoWidth(picture), InfoBitCount(picture))) * InfoHeight(picture);
    return UnpackPictureArea(picture, header, picture + header, InfoImageSize(picture), dataSize,
                             compression == TAG_PKC2 ? BI_BITFIELDS : BI_RGB, 0);
}
