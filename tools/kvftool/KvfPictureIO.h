#pragma once
// Sprite-file helpers shared by kvftool's commands (the quantize command
// included): loading a file into a packed image, writing one back, reading a
// palette from a picture, and the names the command line uses for pixel
// formats and codec tags.
//
// Every function that can fail returns false (or null) and leaves one line of
// text in `error` for the caller to print; KvfFail prints it the tool's way.

#include "imaging/PixelFormat.h"
#include "sprites/CDibPacked.h"

#include <cstdint>
#include <string>
#include <string_view>

class CDibPalette;

// Exit codes of the tool.
constexpr int KVF_EXIT_OK = 0;
constexpr int KVF_EXIT_FAILED = 1; // the files could not be read, converted or written
constexpr int KVF_EXIT_USAGE = 2;  // the command line is wrong

// Prints "kvftool: <message>" on standard error and returns `exitCode`.
int KvfFail(const std::string& message, int exitCode = KVF_EXIT_FAILED);

// Loads a sprite file as it is stored (encoded pictures stay encoded; the
// bytes are the file's, read-only until pixels are locked).
bool LoadSpriteFile(const std::string& path, CDibPacked& image, std::string& error);
// Loads a sprite file and decodes it: the image then holds an uncompressed
// picture whose pixels may be locked.
bool LoadDecodedSpriteFile(const std::string& path, CDibPacked& image, std::string& error);
// Writes the image's picture (with its palette's current colours) as a
// sprite file, whole or not at all.
bool SaveSpriteFile(const std::string& path, CDibPacked& image, std::string& error);

// The palette of a 1- to 8-bit picture file, widened to 256 entries: the
// entries past the picture's own are marked reserved so that nothing maps to
// them. Null (and `error`) for other files. The caller releases it.
CDibPalette* LoadPaletteFromPicture(const std::string& path, std::string& error);

// "RGB555", "RGB565", "RGB24", "RGB32", "INDEX8" (and the other format
// codes by their constant's name without "PF_"); case matters.
bool ParsePixelFormatName(std::string_view name, PixelFormat& format);
// The same names, "unknown" for other codes.
std::string PixelFormatName(PixelFormat format);
// "none" (BI_RGB), "bitfields" (BI_BITFIELDS), or the four letters of a tag
// (non-printing bytes as '?').
std::string CompressionName(uint32_t compression);
// The FourCC of a four-letter tag; false for other lengths.
bool ParseTag(std::string_view name, uint32_t& tag);
// The tag to request when re-encoding a picture stored with `stored`:
// "PKC1" and "PKC2" come from the "PKCC" request, the others from themselves.
uint32_t EncodeRequestFor(uint32_t stored);
