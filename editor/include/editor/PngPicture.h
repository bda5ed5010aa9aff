#pragma once
// PNG files beside the sprite files, for other programs: Import reads them,
// Export and the clipboard write them. A PNG with a palette becomes an 8-bit
// picture with those colours and indices; every other PNG becomes a 24-bit
// picture, composed over black where it has transparency, since black (0)
// is what the sprite codecs leave out.

#include "editor/EditorStatus.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class CDib;

// Pictures read from PNG files may hold no more pixel bytes than this.
constexpr size_t PNG_MAX_PICTURE_BYTES = size_t(256) << 20;

// True when the bytes start with the PNG signature.
bool IsPngData(const uint8_t* data, size_t size);

// Decodes a PNG file's bytes into a plain packed picture (info header first,
// bottom-up rows). NotAPictureFile for bytes that are not a whole PNG,
// TooLarge when its pixels would need more than `maxBytes`.
EditorStatus DecodePngPicture(const uint8_t* data, size_t size, std::vector<uint8_t>& picture,
                              size_t maxBytes = PNG_MAX_PICTURE_BYTES);

// Encodes an uncompressed picture of any depth as PNG bytes: indexed
// pictures as a palette PNG of their colours (indices kept), the others as
// 8-bit RGB. NothingToDo without a picture.
EditorStatus EncodePng(CDib& image, std::vector<uint8_t>& png);

// EncodePng, written whole or not at all (CannotWriteFile).
EditorStatus WritePngFile(const std::string& path, CDib& image);
