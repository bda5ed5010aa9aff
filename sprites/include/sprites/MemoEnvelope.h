#pragma once
// The "MEMO" envelope: a 12-byte header ("MEMO", the packed size of the whole
// envelope, the unpacked size) followed by one zlib stream. It carries the
// pixel data of "PKC1"/"PKC2" pictures and the row codes of "PRLE" pictures.
//
// Envelopes read from files are untrusted: every size in the header is checked
// against the bytes really there, the unpacked size against what the stream
// could possibly inflate to, and inflation stops at the stated size.

#include <cstddef>
#include <cstdint>

constexpr size_t MEMO_HEADER_SIZE = 12;

// Deflate never expands more than 1032 to 1 (a 258-byte match coded in two
// bits), so a stream of n bytes cannot legitimately stand for more than
// 1032 × n bytes. Unpacked sizes above that are lies and are refused before
// anything is allocated.
constexpr uint64_t MEMO_MAX_EXPANSION = 1032;

// How hard packing tries. Smallest takes the strongest deflate search, for
// files made once and read many times (the game's data); Quick takes a
// middle level that packs several times faster into streams a few per cent
// larger, for files a user is waiting for (the editor's export). Both are
// ordinary zlib streams that every reader decodes alike.
enum class PackEffort { Smallest, Quick };

// Packs `size` bytes into a new envelope, allocated with AllocPicture (free
// it with FreePicture); its length is the packed-size field. Null when
// packing fails, memory runs out or the envelope would not fit the 32-bit
// size fields.
uint8_t* MemoPack(const uint8_t* data, size_t size, PackEffort effort = PackEffort::Smallest);

// The header fields of an envelope lying in `available` bytes, or 0 when the
// magic is not "MEMO" or the header is not all there.
uint32_t MemoPackedSize(const uint8_t* envelope, size_t available);
uint32_t MemoUnpackedSize(const uint8_t* envelope, size_t available);

// True when the envelope's header is believable: the magic is "MEMO", the
// packed size covers the header and lies within `available`, and the
// unpacked size is one the stream could inflate to.
bool IsMemoEnvelopeWithin(const uint8_t* envelope, size_t available);

// Inflates the envelope into `out`, which must be exactly the stated unpacked
// size. False, with `out` in an unspecified state, when the envelope is not
// believable, `outSize` differs from the stated size, or the stream does not
// inflate to exactly that many bytes and end there.
[[nodiscard]] bool MemoUnpackInto(const uint8_t* envelope, size_t available, uint8_t* out, size_t outSize);

// Inflates the envelope into a new block of the unpacked size (AllocPicture;
// free with FreePicture), or null as for MemoUnpackInto.
uint8_t* MemoUnpack(const uint8_t* envelope, size_t available);

// The pictures whose data area is one envelope ("PKC1", "PKC2", "PRLE") and
// their unpacked forms differ only in that area and two header fields.

// A new picture: the first `headerSize` bytes of `picture`, then the envelope
// of the `size` bytes at `data`; compression `tag`, image size the envelope's
// packed size. Null when packing fails.
uint8_t* PackPictureArea(const uint8_t* picture, size_t headerSize, const uint8_t* data, size_t size, uint32_t tag,
                         PackEffort effort = PackEffort::Smallest);

// A new picture: the first `headerSize` bytes of `picture`, then the contents
// of the envelope lying in `available` bytes at `envelope`; compression
// `compression`, image size `imageSize`. Null unless the envelope is
// believable and unpacks to exactly `unpackedSize` bytes.
uint8_t* UnpackPictureArea(const uint8_t* picture, size_t headerSize, const uint8_t* envelope, size_t available,
                           size_t unpackedSize, uint32_t compression, uint32_t imageSize);
