#pragma once
// "ARLE": 8-bit rows coded as literal and run packets, with a table of u32
// row offsets (top row first) in front of the rows' code streams so that any
// row can be found without decoding the ones above it.
//
// Packet forms (top two bits of the first byte, then a length L):
//   00LLLLLL             literal, L bytes of pixels follow
//   01LLLLLL c           run of L pixels c
//   10LLLLLL LLLLLLLL    long literal, 14-bit L (high part first), L bytes follow
//   11LLLLLL LLLLLLLL c  long run, 14-bit L
// The encoder writes runs of at least 4 and the two-byte forms only from 64
// on; the decoder takes any length in any form.
//
// Entry points follow the codec contract of PictureFormat.h: a packed picture
// and the bytes really available in, a new picture of exactly PictureSize
// bytes out (free with FreePicture), null when the input is refused.

#include <cstddef>
#include <cstdint>

// The longest length a packet can state.
constexpr uint32_t ARLE_MAX_PACKET = 16383;

// Uncompressed 8-bit picture (compression 0) to "ARLE". Rows wider than one
// packet can hold are split over several packets.
uint8_t* ArleEncode(const uint8_t* picture, size_t available);

// "ARLE" picture to the uncompressed picture (compression 0, image size 0).
// Refused: row offsets outside the data area, packets that run past their row
// or past the data area, rows whose code ends before the row is full.
uint8_t* ArleDecode(const uint8_t* picture, size_t available);

// The decoding step alone, for a data area that does not follow its header
// in memory (the "PRLE" decoder inflates it elsewhere). `info` must hold
// `headerSize` readable bytes: a 40-byte info header of an 8-bit picture and
// its colour table. The output header is the input's with compression 0 and
// image size 0. A height of 0 or less gives just that header.
uint8_t* ArleDecodeArea(const uint8_t* info, size_t headerSize, const uint8_t* data, size_t dataSize);

// The header size of an 8-bit picture tagged `tag` whose header and data area
// (image-size bytes) lie within `available`; 0 when it is not one.
size_t TaggedIndex8HeaderSize(const uint8_t* picture, size_t available, uint32_t tag);
