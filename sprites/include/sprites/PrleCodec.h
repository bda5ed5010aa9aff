#pragma once
// "PRLE": an "ARLE" data area packed once more with deflate inside a "MEMO"
// envelope. The header is the "ARLE" picture's with compression "PRLE" and
// the envelope's packed size as image size. 8-bit pictures only.
//
// Entry points follow the codec contract of PictureFormat.h: a packed picture
// and the bytes really available in, a new picture of exactly PictureSize
// bytes out (free with FreePicture), null when the input is refused.

#include <cstddef>
#include <cstdint>

// Uncompressed 8-bit picture to "PRLE" ("ARLE" encoding, then packing).
uint8_t* PrleEncode(const uint8_t* picture, size_t available);

// "PRLE" picture to the uncompressed picture (compression 0, image size 0).
uint8_t* PrleDecode(const uint8_t* picture, size_t available);

// "ARLE" picture to "PRLE": packs the data area into an envelope.
uint8_t* ArleToPrle(const uint8_t* picture, size_t available);

// "PRLE" picture to "ARLE": unpacks the envelope; the image size becomes the
// envelope's unpacked size. The row codes themselves are not checked here.
uint8_t* PrleToArle(const uint8_t* picture, size_t available);
