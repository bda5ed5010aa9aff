#include "sprites/PkcCodec.h"

#include "common/ByteOrder.h"
#include "sprites/MemoEnvelope.h"
#include "sprites/PictureFormat.h"

#include <cstring>

uint8_t* PkcEncode(const uint8_t* picture, size_t available)
{
    if (!IsPictureWithin(picture, available))
        return nullptr;
    const uint32_t compression = InfoCompression(picture);
    if (compression != BI_RGB && compression != BI_BITFIELDS)
        return nullptr;
    const size_t header = PictureHeaderSize(picture);
    uint8_t* envelope = MemoPack(picture + header, PictureDataSize(picture));
    if (!envelope)
        return nullptr;
    const uint32_t packed = MemoPackedSize(envelope, MEMO_HEADER_SIZE);
    uint8_t* out = AllocPicture(header + packed);
    if (out) {
        std::memcpy(out, picture, header);
        WriteLE32(out + BIH_COMPRESSION, compression == BI_BITFIELDS ? TAG_PKC2 : TAG_PKC1);
        WriteLE32(out + BIH_IMAGE_SIZE, packed);
        std::memcpy(out + header, envelope, packed);
    }
    FreePicture(envelope);
    return out;
}

uint8_t* PkcDecode(const uint8_t* picture, size_t available)
{
    if (!IsPictureWithin(picture, available))
        return nullptr;
    const uint32_t compression = InfoCompression(picture);
    if (compression != TAG_PKC1 && compression != TAG_PKC2)
        return nullptr;
    const size_t header = PictureHeaderSize(picture);
    const uint8_t* envelope = picture + header;
    const size_t area = InfoImageSize(picture);
    // The unpacked size is not taken from the envelope: the rows must fill the
    // picture exactly, or a reader of the result would run past its end.
    const size_t dataSize = size_t(DibRowStride(InfoWidth(picture), InfoBitCount(picture))) * InfoHeight(picture);
    if (!IsMemoEnvelopeWithin(envelope, area) || MemoUnpackedSize(envelope, area) != dataSize)
        return nullptr;
    uint8_t* out = AllocPicture(header + dataSize);
    if (!out)
        return nullptr;
    if (!MemoUnpackInto(envelope, area, out + header, dataSize)) {
        FreePicture(out);
        return nullptr;
    }
    std::memcpy(out, picture, header);
    WriteLE32(out + BIH_COMPRESSION, compression == TAG_PKC2 ? BI_BITFIELDS : BI_RGB);
    WriteLE32(out + BIH_IMAGE_SIZE, 0);
    return out;
}
