#pragma once
// Animations on disk, and writing a sprite file.
//
// A strip stacks n frames of equal size in one picture of height n × h, frame
// 0 at the top. The count is not stored in the file: whoever reads a strip is
// told n and takes h = height / n (integer division; leftover rows belong to
// no frame). Picture rows are bottom-up in memory while the codecs' row
// tables run top-down, so a frame has two row ranges.
//
// A sequence stores frame i in its own file, named from a chosen path by
// inserting the frame number, printed with at least four digits, before the
// extension: walk.bmp gives walk0000.bmp, walk0001.bmp, ... Our folder
// separator is '/'; a backslash is accepted as one too.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

struct StripFrame {
    int height = 0;         // rows per frame; 0 when the request is invalid
    int firstMemoryRow = 0; // first of the frame's rows in the bottom-up picture
    int firstTableRow = 0;  // first of the frame's entries in a top-down row table
};

// Rows per frame of a strip, 0 unless 1 <= frameCount <= pictureHeight.
int StripFrameHeight(int pictureHeight, int frameCount);
// Frame `frame` of a strip; height 0 when the frame or the count is invalid.
StripFrame StripFrameRows(int pictureHeight, int frameCount, int frame);

// The file of frame `frame` (0 or more) of the sequence chosen as `path`:
// directory + separator + name + number + "." + extension. A name without
// an extension gets just the number. Empty for a negative frame.
std::string SequenceFrameName(std::string_view path, int frame);

// The header size of the picture's uncompressed form, for the bits-offset
// field of the file header ("TRLE" pictures of 16 bits and more decode to
// 40 or 52 bytes, everything else keeps its header). 0 for a bad header.
size_t UncompressedHeaderSize(const uint8_t* picture);

// Writes a sprite file: the 14-byte file header, then the PictureSize bytes
// of `picture` (info header first). False, with nothing written, when the
// picture does not lie within `available` bytes or the write fails; an old
// file of that name then stays as it was.
[[nodiscard]] bool WriteSpriteFile(const std::string& path, const uint8_t* picture, size_t available);
