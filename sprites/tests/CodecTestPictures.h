#pragma once
// Small generated pictures for the codec tests, and an owner for the
// pictures the codecs return.

#include "common/ByteOrder.h"
#include "sprites/PictureFormat.h"

#include <memory>
#include <random>
#include <vector>

struct PictureFree {
    void operator()(uint8_t* picture) const { FreePicture(picture); }
};
using PicturePtr = std::unique_ptr<uint8_t, PictureFree>;

// The whole of a picture a codec returned, as bytes.
inline std::vector<uint8_t> BytesOf(const PicturePtr& picture)
{
    return std::vector<uint8_t>(picture.get(), picture.get() + PictureSize(picture.get()));
}

// An uncompressed picture: info header, a colour table (1-8 bits: every entry
// distinct) or, for compression 3, three masks; zeroed pixels. Image size is
// stride × height, as writers usually fill it in.
inline std::vector<uint8_t> MakePicture(int32_t width, int32_t height, uint16_t bitCount,
                                        uint32_t compression = BI_RGB, uint32_t coloursUsed = 0)
{
    std::vector<uint8_t> info(INFO_HEADER_SIZE);
    WriteLE32(&info[BIH_SIZE], INFO_HEADER_SIZE);
    WriteLE32(&info[BIH_WIDTH], uint32_t(width));
    WriteLE32(&info[BIH_HEIGHT], uint32_t(height));
    WriteLE16(&info[BIH_PLANES], 1);
    WriteLE16(&info[BIH_BIT_COUNT], bitCount);
    WriteLE32(&info[BIH_COMPRESSION], compression);
    WriteLE32(&info[BIH_X_RESOLUTION], 2835);
    WriteLE32(&info[BIH_Y_RESOLUTION], 2835);
    WriteLE32(&info[BIH_COLOURS_USED], coloursUsed);
    const size_t header = PictureHeaderSize(info.data());
    const size_t data = height > 0 ? size_t(DibRowStride(width, bitCount)) * size_t(height) : 0;
    WriteLE32(&info[BIH_IMAGE_SIZE], uint32_t(data));
    std::vector<uint8_t> picture(header + data);
    std::copy(info.begin(), info.end(), picture.begin());
    if (bitCount <= 8) {
        for (size_t i = 0; INFO_HEADER_SIZE + 4 * i < header; ++i) {
            uint8_t* entry = &picture[INFO_HEADER_SIZE + 4 * i];
            entry[0] = uint8_t(i);
            entry[1] = uint8_t(255 - i);
            entry[2] = uint8_t(i * 7);
        }
    } else if (header == INFO_HEADER_SIZE + 12) {
        const bool wide = bitCount != 16;
        WriteLE32(&picture[40], wide ? 0xFF0000 : 0xF800);
        WriteLE32(&picture[44], wide ? 0x00FF00 : 0x07E0);
        WriteLE32(&picture[48], wide ? 0x0000FF : 0x001F);
    }
    return picture;
}

inline size_t HeaderOf(const std::vector<uint8_t>& picture) { return PictureHeaderSize(picture.data()); }
inline size_t StrideOf(const std::vector<uint8_t>& picture)
{
    return DibRowStride(int32_t(InfoWidth(picture.data())), InfoBitCount(picture.data()));
}

// Pixel x of memory row y (bottom-up) of an 8-bit picture.
inline uint8_t& Pixel8(std::vector<uint8_t>& picture, size_t x, size_t y)
{
    return picture[HeaderOf(picture) + y * StrideOf(picture) + x];
}

// Random pixel bytes (row padding stays zero, as in written files).
inline void FillRandom(std::vector<uint8_t>& picture, uint32_t seed)
{
    std::mt19937 random(seed);
    const size_t rowBytes = (size_t(InfoWidth(picture.data())) * InfoBitCount(picture.data()) + 7) / 8;
    const size_t stride = StrideOf(picture), header = HeaderOf(picture);
    for (size_t y = 0; y < InfoHeight(picture.data()); ++y)
        for (size_t x = 0; x < rowBytes; ++x)
            picture[header + y * stride + x] = uint8_t(random());
    // A partly filled last byte keeps its unused low bits zero.
    const size_t bits = size_t(InfoWidth(picture.data())) * InfoBitCount(picture.data());
    if (bits % 8)
        for (size_t y = 0; y < InfoHeight(picture.data()); ++y)
            picture[header + y * stride + rowBytes - 1] &= uint8_t(0xFF << (8 - bits % 8));
}

// An 8-bit strip of sprite-like frames: a striped, slightly noisy blob on
// transparent (0) surroundings in each, with runs, literals and long runs.
inline std::vector<uint8_t> MakeSpriteStrip(int32_t width, int32_t frameHeight, int frames, uint32_t seed)
{
    std::vector<uint8_t> picture = MakePicture(width, frameHeight * frames, 8);
    std::mt19937 random(seed);
    const int32_t height = frameHeight * frames;
    for (int f = 0; f < frames; ++f) {
        const double cx = width / 2.0 + int(random() % 7) - 3, cy = frameHeight / 2.0;
        const double rx = width * (0.25 + (random() % 20) / 100.0), ry = frameHeight * 0.3;
        for (int32_t y = 0; y < frameHeight; ++y)
            for (int32_t x = 0; x < width; ++x) {
                const double dx = (x - cx) / rx, dy = (y - cy) / ry;
                if (dx * dx + dy * dy > 1.0)
                    continue;
                uint8_t colour = uint8_t(16 + ((x + f) / 5 % 3) * 20 + (y * 3 / frameHeight));
                if (random() % 5 == 0)
                    colour = uint8_t(colour + 1 + random() % 3);
                // Frame f is band f from the top; memory rows run bottom-up.
                Pixel8(picture, size_t(x), size_t(height - 1 - (f * frameHeight + y))) = colour;
            }
    }
    return picture;
}

// The pixel bytes of a picture, without its header.
inline std::vector<uint8_t> PixelsOf(const uint8_t* picture)
{
    const size_t header = PictureHeaderSize(picture), size = PictureSize(picture);
    return std::vector<uint8_t>(picture + header, picture + size);
}
