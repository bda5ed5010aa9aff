#pragma once
// Pictures written by other programs that the system reads but never writes:
// run-length coded 8- and 4-bit pictures (BI_RLE8, BI_RLE4), the larger info
// headers of later bitmap versions (52, 56, 108 and 124 bytes) with their
// colour masks, rows stored top-down, and 16- or 32-bit colour masks other
// than the system's own. Each is turned into the plain packed picture the
// system itself would write (40-byte header, uncompressed, bottom-up, one of
// the system's pixel formats), so everything past loading sees only those.
// What the system has no use for (alpha masks, colour spaces, profiles) is
// ignored.
//
// Every size, offset and run is checked against the bytes really there; a
// run-length stream that stops early leaves the rest of the picture at
// index 0, as ends of lines and bitmap do.

#include <cstddef>
#include <cstdint>

enum class ForeignPictureResult {
    Native,    // a picture in the system's own form (or none): read it as it is
    Converted, // `*converted` holds the plain picture
    Refused,   // a foreign picture that is damaged or of a kind not read (JPEG or PNG inside)
};

// Examines the block (`size` bytes, possibly behind a 14-byte file header).
// On Converted, `*converted` is a new packed picture allocated with
// AllocPicture (PictureSize bytes; free it with FreePicture).
[[nodiscard]] ForeignPictureResult ReadForeignPicture(const uint8_t* block, size_t size, uint8_t** converted);

// Run-length decoded pictures larger than this are refused: a few bytes of
// end-of-line codes may claim a picture of gigabytes.
constexpr size_t FOREIGN_MAX_DECODED_SIZE = size_t(256) << 20;
