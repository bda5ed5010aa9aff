#pragma once
// The packed picture: a 40-byte info header, a colour table or three colour
// masks, then the pixel data or a codec's data area; optionally behind the
// 14-byte file header that starts with "BM". Little-endian throughout.
//
// Every codec takes a packed picture (info header first) together with the
// number of bytes that are really there, and returns a new one allocated with
// AllocPicture (free it with FreePicture), or null when it refuses the input.
// Sizes read from a picture are never trusted beyond `available`.

#include "common/ByteOrder.h"

#include <cstddef>
#include <cstdint>

constexpr size_t FILE_HEADER_SIZE = 14;
constexpr size_t INFO_HEADER_SIZE = 40;

// Info header field offsets.
constexpr size_t BIH_SIZE = 0;
constexpr size_t BIH_WIDTH = 4;
constexpr size_t BIH_HEIGHT = 8;
constexpr size_t BIH_PLANES = 12;
constexpr size_t BIH_BIT_COUNT = 14;
constexpr size_t BIH_COMPRESSION = 16;
constexpr size_t BIH_IMAGE_SIZE = 20;
constexpr size_t BIH_X_RESOLUTION = 24;
constexpr size_t BIH_Y_RESOLUTION = 28;
constexpr size_t BIH_COLOURS_USED = 32;
constexpr size_t BIH_COLOURS_IMPORTANT = 36;

// Compression values: the two uncompressed forms and the codec tags.
constexpr uint32_t BI_RGB = 0;
constexpr uint32_t BI_BITFIELDS = 3;
constexpr uint32_t TAG_TRLE = FourCC("TRLE");
constexpr uint32_t TAG_ARLE = FourCC("ARLE");
constexpr uint32_t TAG_PRLE = FourCC("PRLE");
constexpr uint32_t TAG_PKC1 = FourCC("PKC1");
constexpr uint32_t TAG_PKC2 = FourCC("PKC2");
constexpr uint32_t TAG_PKCC = FourCC("PKCC"); // request only: PKC1 or PKC2, whichever fits
constexpr uint32_t TAG_MEMO = FourCC("MEMO");

// Whose reading of the header size applies to 16/24/32-bit pictures that are
// neither BI_BITFIELDS nor PKC2: the editor counts 40, the game adds a colour
// table of `colours used` entries.
enum class HeaderRule { Game, Editor };

inline uint32_t InfoWidth(const uint8_t* info) { return ReadLE32(info + BIH_WIDTH); }
inline uint32_t InfoHeight(const uint8_t* info) { return ReadLE32(info + BIH_HEIGHT); }
inline uint16_t InfoBitCount(const uint8_t* info) { return ReadLE16(info + BIH_BIT_COUNT); }
inline uint32_t InfoCompression(const uint8_t* info) { return ReadLE32(info + BIH_COMPRESSION); }
inline uint32_t InfoImageSize(const uint8_t* info) { return ReadLE32(info + BIH_IMAGE_SIZE); }
inline uint32_t InfoColoursUsed(const uint8_t* info) { return ReadLE32(info + BIH_COLOURS_USED); }
inline bool IsTagged(uint32_t compression) { return compression != BI_RGB && compression != BI_BITFIELDS; }

// Row stride of an uncompressed picture: width × bit count rounded up to whole
// bytes, then to a multiple of 4. 0 for a width outside 1..65535.
uint32_t DibRowStride(int64_t width, uint32_t bitCount);

// Info header plus colour table or masks; 0 for an unknown bit count or an
// absurd colour count (more than 2^bit-count entries at 1-8 bits, more than
// 256 at higher depths).
size_t PictureHeaderSize(const uint8_t* info, HeaderRule rule = HeaderRule::Game);
// The image-size field for tagged pictures; stride × height otherwise.
size_t PictureDataSize(const uint8_t* info);
// Header plus data; 0 when the size field is not 40 or the picture is invalid.
size_t PictureSize(const uint8_t* info, HeaderRule rule = HeaderRule::Game);

// Checks what every reader needs before touching a picture: at least a 40-byte
// info header with size 40, width and height in 1..65535 (height positive),
// a known bit count, and PictureSize() bytes within `available`.
bool IsPictureWithin(const uint8_t* info, size_t available, HeaderRule rule = HeaderRule::Game);

// The info header of a block that may start with a file header, or null when
// the block is neither "BM" + header nor a bare 40-byte header. `available`
// is reduced by the skipped file header.
const uint8_t* FindInfoHeader(const uint8_t* block, size_t& available);

// Picture memory for codec results, zeroed, so padding bytes are defined;
// freed with FreePicture.
uint8_t* AllocPicture(size_t size);
void FreePicture(uint8_t* picture);

// The 14-byte file header written in front of a picture: type "BM", file
// size, and the bits offset of the uncompressed form.
void BuildFileHeader(uint8_t out[FILE_HEADER_SIZE], size_t pictureSize, size_t uncompressedHeaderSize);
