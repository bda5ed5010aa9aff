#pragma once
// The thumbnail of a sprite file: its first frame, shrunk to fit a square,
// with the transparency the game draws it with. File managers show it in
// place of the file's icon (kvftool thumbnail, through the desktop's
// thumbnailer entry).
//
// Sprite files carry no alpha channel; what the game leaves out when it
// draws a "TRLE" sprite are its zero pixels (the runs the codec trims), so
// those are transparent in the thumbnail. Every other picture is opaque.

#include "sprites/CDibPacked.h"

#include <cstdint>
#include <string>
#include <vector>

struct SpriteThumbnail {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgba; // straight R, G, B, A, top row first
};

// The largest picture a thumbnail is made of, in pixels (about seven times
// the game's largest): a file that claims more (whatever its size on disk,
// an encoded picture can claim a great deal) is refused before it is
// decoded, so a thumbnail never takes more than a few hundred megabytes.
constexpr int64_t kThumbnailMaxPixels = int64_t(1) << 24;

// Makes the thumbnail of the sprite file `image` holds as it was loaded
// (encoded or not; it is decoded here): frame 0 of a strip of `frames`
// frames (the top height / frames rows; 1 is the whole picture), scaled down
// to fit `size` × `size` pixels with its proportions kept (never enlarged).
// False, with a line in `error`, for an image without a picture, a picture
// that does not decode or is too large, a frame count larger than the
// height, or a size below 1.
bool MakeSpriteThumbnail(CDibPacked& image, int frames, int size, SpriteThumbnail& thumbnail, std::string& error);

// The number of frames the game takes the data file at `path` to hold,
// known from the game's tables by the file's folder and name ("animals",
// "z_r.bmp"; case does not matter); 0 when the game loads no such strip.
int GameStripFrames(const std::string& path);
