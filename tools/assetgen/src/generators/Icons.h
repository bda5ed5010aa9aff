#pragma once
// The desktop icons: one for each of the three programs and one for the
// sprite files the editor opens. They are not part of the game's data folder;
// they go into an icon theme folder of their own, laid out as the desktop
// looks for them: <folder>/hicolor/<n>x<n>/apps/<program>.png and
// .../mimetypes/<type>.png. Drawn from shapes with a fixed 4 x 4 samples a
// pixel, so every run writes the same bytes.

#include <cstdint>
#include <string>
#include <vector>

struct IconDesc {
    const char* name;    // the icon's name, as desktop entries give it
    const char* context; // "apps" or "mimetypes"
};

// The program icons ("veldra", "kvfedit", "veldra-setup") and the sprite
// files' ("image-x-veldra-sprite").
extern const IconDesc kIcons[];
extern const int kIconCount;
// The sizes written, in pixels (square), smallest first.
extern const int kIconSizes[];
extern const int kIconSizeCount;

// The icon `index` at `size` × `size` pixels, as straight (not premultiplied)
// RGBA bytes, top row first; transparent around the drawing.
std::vector<uint8_t> RenderIcon(int index, int size);

// Writes every icon in every size under `folder` as RGBA PNG files (each
// whole or not at all). False, with the file named on standard error, when
// one cannot be written.
bool GenerateIcons(const std::string& folder);

// The sizes of the programs' window icons (the ones the windows themselves
// show, built into the programs), smallest first.
extern const int kWindowIconSizes[];
extern const int kWindowIconSizeCount;

// The C++ text that builds the three program icons into the programs: an
// array of straight RGBA bytes for each program icon in each window-icon
// size, and the table `kWindowIconTable` of {name, size, pixels} naming them
// (the record WindowIconImage, packaging/windowicon).
std::string WindowIconSource();

// Writes WindowIconSource() to `path`, whole or not at all; left alone when
// it already holds those bytes, so the programs are not rebuilt for nothing.
bool WriteWindowIconSource(const std::string& path);
