#pragma once
// "PKC1" and "PKC2": the uncompressed pixel data (bottom-up rows padded to 4
// bytes) packed with deflate in a "MEMO" envelope behind the unchanged header.
// "PKC1" stands for compression 0, "PKC2" for compression 3 (colour masks), so
// decoding restores the compression field exactly. Any bit depth.
//
// Entry points follow the codec contract of PictureFormat.h: a packed picture
// and the bytes really available in, a new picture of exactly PictureSize
// bytes out (free with FreePicture), null when the input is refused.

#include "sprites/MemoEnvelope.h"

#include <cstddef>
#include <cstdint>

// Uncompressed picture (compression 0 or 3) to "PKC1" or "PKC2", whichever
// fits: this is what the request tag "PKCC" asks for.
uint8_t* PkcEncode(const uint8_t* picture, size_t available);
// The same, packed with the given effort.
uint8_t* PkcEncodeWith(const uint8_t* picture, size_t available, PackEffort effort);

// "PKC1"/"PKC2" picture to the uncompressed picture (compression 0 or 3,
// image size 0). The envelope must unpack to exactly the picture's row
// stride × height bytes.
uint8_t* PkcDecode(const uint8_t* picture, size_t available);
