// Times the sprite codecs ("ARLE", "PRLE", "PKC1") on a generated 8-bit
// sprite strip (64 frames of 128 × 128 animal-like blobs on transparent
// surroundings) and a generated 24-bit 640 × 480 picture, beside libpng at
// compression level 9 on the same pixels (encode and decode in memory).
// Prints time and size for each and the ratios against PNG.

#include "bench/BenchTimer.h"
#include "common/ByteOrder.h"
#include "sprites/ArleCodec.h"
#include "sprites/PictureFormat.h"
#include "sprites/PkcCodec.h"
#include "sprites/PrleCodec.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <png.h>
#include <random>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

Bytes MakeHeader(int width, int height, int bitCount)
{
    const size_t header = INFO_HEADER_SIZE + (bitCount == 8 ? 1024 : 0);
    const size_t stride = DibRowStride(width, uint32_t(bitCount));
    Bytes picture(header + stride * size_t(height));
    WriteLE32(&picture[BIH_SIZE], INFO_HEADER_SIZE);
    WriteLE32(&picture[BIH_WIDTH], uint32_t(width));
    WriteLE32(&picture[BIH_HEIGHT], uint32_t(height));
    WriteLE16(&picture[BIH_PLANES], 1);
    WriteLE16(&picture[BIH_BIT_COUNT], uint16_t(bitCount));
    WriteLE32(&picture[BIH_IMAGE_SIZE], uint32_t(stride * size_t(height)));
    if (bitCount == 8)
        for (int i = 0; i < 256; ++i) { // browns, greys and greens, like the game's art
            uint8_t* entry = &picture[INFO_HEADER_SIZE + 4 * size_t(i)];
            entry[0] = uint8_t(i * 3 / 4);
            entry[1] = uint8_t(i * 7 / 8);
            entry[2] = uint8_t(i);
        }
    return picture;
}

bool InEllipse(double x, double y, double cx, double cy, double rx, double ry)
{
    const double dx = (x - cx) / rx, dy = (y - cy) / ry;
    return dx * dx + dy * dy <= 1.0;
}

// 64 frames of a four-legged animal walking: body, head, neck, legs swinging
// with the frame, a striped and shaded coat with some dithering noise, and
// transparent (index 0) surroundings. Frame 0 is the top band.
Bytes MakeAnimalStrip(int size, int frames)
{
    const int height = size * frames;
    Bytes picture = MakeHeader(size, height, 8);
    uint8_t* pixels = &picture[INFO_HEADER_SIZE + 1024];
    const size_t stride = DibRowStride(size, 8);
    std::mt19937 random(2024);
    for (int f = 0; f < frames; ++f) {
        const double phase = 2 * M_PI * f / 16.0, s = size / 128.0;
        const double bob = 2 * std::sin(2 * phase) * s;
        for (int y = 0; y < size; ++y) {
            uint8_t* row = pixels + size_t(height - 1 - (f * size + y)) * stride;
            for (int x = 0; x < size; ++x) {
                bool inside = InEllipse(x, y, 60 * s, 62 * s + bob, 34 * s, 20 * s) ||      // body
                              InEllipse(x, y, 100 * s, 36 * s + bob, 12 * s, 9 * s) ||      // head
                              InEllipse(x, y, 90 * s, 48 * s + bob, 8 * s, 16 * s) ||       // neck
                              InEllipse(x, y, 26 * s, 56 * s + bob, 3 * s, 14 * s);         // tail
                for (int leg = 0; leg < 4 && !inside; ++leg) {
                    const double base = (leg < 2 ? 38 : 80) * s + (leg % 2) * 8 * s;
                    const double swing = std::sin(phase + leg * M_PI / 2) * 10 * s;
                    const double t = (y - 76 * s) / (40 * s);
                    inside = t >= 0 && t <= 1 && std::fabs(x - (base + swing * t)) <= 4 * s;
                }
                if (!inside) {
                    row[x] = 0;
                    continue;
                }
                // Coat: stripes that follow the body, three shades from the
                // back to the belly, and error-diffusion-like noise.
                const int stripe = int((x + 0.4 * y + f) / (7 * s)) % 2;
                const int shade = std::min(2, y * 3 / size);
                int colour = 60 + stripe * 90 + shade * 12 + int((x * 5 + y * 3) / (16 * s)) % 4;
                if (random() % 6 == 0)
                    colour += int(random() % 3) - 1;
                row[x] = uint8_t(colour);
            }
        }
    }
    return picture;
}

// A savannah-like 24-bit scene: sky gradient, grass with texture noise, a few
// trees and a sun disc.
Bytes MakeScene(int width, int height)
{
    Bytes picture = MakeHeader(width, height, 24);
    uint8_t* pixels = &picture[INFO_HEADER_SIZE];
    const size_t stride = DibRowStride(width, 24);
    std::mt19937 random(7);
    for (int y = 0; y < height; ++y) {
        uint8_t* row = pixels + size_t(height - 1 - y) * stride;
        for (int x = 0; x < width; ++x) {
            int r, g, b;
            if (y < height * 2 / 5) {
                r = 120 + y / 3;
                g = 160 + y / 4;
                b = 230 - y / 8;
                if (InEllipse(x, y, 500, 60, 25, 25))
                    r = g = 250, b = 200;
            } else {
                const int noise = int(random() % 24);
                r = 150 + noise + (x / 40 % 2) * 6;
                g = 130 + noise + (y - height * 2 / 5) / 8;
                b = 70 + noise / 2;
            }
            for (int t = 0; t < 3; ++t)
                if (InEllipse(x, y, 120 + 180 * t, 200, 50, 22) || (std::abs(x - (120 + 180 * t)) < 5 && y > 200 && y < 260))
                    r = 60, g = 80 + int(random() % 20), b = 30;
            row[3 * x] = uint8_t(b);
            row[3 * x + 1] = uint8_t(g);
            row[3 * x + 2] = uint8_t(r);
        }
    }
    return picture;
}

// --- libpng in memory ------------------------------------------------------

struct MemoryReader {
    const uint8_t* data;
    size_t size, at;
};

void WriteToVector(png_structp png, png_bytep data, png_size_t length)
{
    Bytes* out = static_cast<Bytes*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void FlushNothing(png_structp) {}

void ReadFromMemory(png_structp png, png_bytep data, png_size_t length)
{
    MemoryReader* in = static_cast<MemoryReader*>(png_get_io_ptr(png));
    if (length > in->size - in->at)
        png_error(png, "read past the end");
    std::memcpy(data, in->data + in->at, length);
    in->at += length;
}

// Encodes a bottom-up picture (8-bit with its palette, or 24-bit BGR) as PNG.
bool EncodePng(const Bytes& picture, Bytes& out, std::vector<png_bytep>& rows)
{
    const int width = int(InfoWidth(picture.data())), height = int(InfoHeight(picture.data()));
    const int bits = InfoBitCount(picture.data());
    const size_t header = PictureHeaderSize(picture.data()), stride = DibRowStride(width, uint32_t(bits));
    rows.resize(size_t(height));
    for (int y = 0; y < height; ++y)
        rows[size_t(y)] = const_cast<png_bytep>(&picture[header + size_t(height - 1 - y) * stride]);
    png_color palette[256];
    for (int i = 0; i < 256 && bits == 8; ++i) {
        const uint8_t* entry = &picture[INFO_HEADER_SIZE + 4 * size_t(i)];
        palette[i] = {entry[2], entry[1], entry[0]};
    }
    out.clear();
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, &out, WriteToVector, FlushNothing);
    png_set_compression_level(png, 9);
    png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8,
                 bits == 8 ? PNG_COLOR_TYPE_PALETTE : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (bits == 8)
        png_set_PLTE(png, info, palette, 256);
    png_write_info(png, info);
    if (bits == 24)
        png_set_bgr(png);
    png_write_image(png, rows.data());
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

// Decodes a PNG into the bottom-up pixel rows of `picture` (same layout as
// the codecs produce: palette indices, or BGR).
bool DecodePng(const Bytes& encoded, Bytes& picture, std::vector<png_bytep>& rows)
{
    MemoryReader reader{encoded.data(), encoded.size(), 0};
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    png_set_read_fn(png, &reader, ReadFromMemory);
    png_read_info(png, info);
    const int height = int(png_get_image_height(png, info));
    if (png_get_color_type(png, info) == PNG_COLOR_TYPE_RGB)
        png_set_bgr(png);
    const int bits = InfoBitCount(picture.data());
    const size_t header = PictureHeaderSize(picture.data());
    const size_t stride = DibRowStride(int(png_get_image_width(png, info)), uint32_t(bits));
    for (int y = 0; y < height; ++y)
        rows[size_t(y)] = &picture[header + size_t(height - 1 - y) * stride];
    png_read_image(png, rows.data());
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    return true;
}

// --- the measurements ------------------------------------------------------

using Codec = uint8_t* (*)(const uint8_t*, size_t);

// One way of storing a picture: its encoded size, whether it decodes back to
// the same pixels, and the work to time.
struct Contender {
    const char* name = "";
    size_t size = 0;
    bool refused = false, ok = false;
    std::function<void()> encode, decode;
    double encodeTime = 1e30, decodeTime = 1e30;
};

bool SamePixels(const uint8_t* a, const Bytes& b)
{
    const size_t header = PictureHeaderSize(b.data());
    return PictureSize(a) == b.size() && std::memcmp(a + header, b.data() + header, b.size() - header) == 0;
}

Contender CodecContender(const char* name, const Bytes& picture, Codec encode, Codec decode,
                         std::vector<std::unique_ptr<uint8_t, void (*)(uint8_t*)>>& keep)
{
    Contender contender;
    contender.name = name;
    uint8_t* coded = encode(picture.data(), picture.size());
    contender.refused = !coded;
    if (!coded)
        return contender;
    keep.emplace_back(coded, FreePicture);
    const size_t codedSize = PictureSize(coded);
    contender.size = InfoImageSize(coded);
    uint8_t* back = decode(coded, codedSize);
    contender.ok = back && SamePixels(back, picture);
    FreePicture(back);
    contender.encode = [&picture, encode] { FreePicture(encode(picture.data(), picture.size())); };
    contender.decode = [coded, codedSize, decode] { FreePicture(decode(coded, codedSize)); };
    return contender;
}

// libpng's state lives as long as the measurements.
struct PngState {
    Bytes encoded, decoded, scratch;
    std::vector<png_bytep> rows;
};

Contender PngContender(const Bytes& picture, PngState& state)
{
    Contender contender;
    contender.name = "PNG";
    state.decoded.assign(picture.size(), 0);
    std::copy(picture.begin(), picture.begin() + long(PictureHeaderSize(picture.data())), state.decoded.begin());
    contender.refused = !EncodePng(picture, state.encoded, state.rows);
    contender.size = state.encoded.size();
    contender.ok = !contender.refused && DecodePng(state.encoded, state.decoded, state.rows) && state.decoded == picture;
    contender.encode = [&picture, &state] { EncodePng(picture, state.scratch, state.rows); };
    contender.decode = [&state] { DecodePng(state.encoded, state.decoded, state.rows); };
    return contender;
}

// The contenders take turns, so a busy machine slows them alike; each keeps
// its best time.
void TimeInTurns(std::vector<Contender>& contenders, int encodeRounds, int decodeRounds)
{
    for (int round = 0; round < decodeRounds; ++round)
        for (Contender& c : contenders) {
            if (c.refused)
                continue;
            if (round < encodeRounds)
                c.encodeTime = std::min(c.encodeTime, TimeBest(c.encode, 1));
            c.decodeTime = std::min(c.decodeTime, TimeBest(c.decode, 1));
        }
}

void Print(const char* picture, const Contender& c, const Contender& png)
{
    if (c.refused) {
        std::printf("%-8s %-5s refused (8-bit codec)\n", picture, c.name);
        return;
    }
    std::printf("%-8s %-5s encode %8.3f ms  decode %6.3f ms  size %8zu%s", picture, c.name, c.encodeTime * 1e3,
                c.decodeTime * 1e3, c.size, c.ok ? "" : "  MISMATCH");
    if (&c != &png)
        std::printf("  | vs PNG: decode %5.2fx faster, encode %6.2fx faster, size %5.3f of PNG",
                    png.decodeTime / c.decodeTime, png.encodeTime / c.encodeTime, double(c.size) / double(png.size));
    std::printf("\n");
}

} // namespace

int main()
{
    const Bytes strip = MakeAnimalStrip(128, 64);
    const Bytes scene = MakeScene(640, 480);
    const struct {
        const char* name;
        const Bytes& picture;
    } pictures[] = {{"strip8", strip}, {"scene24", scene}};

    for (const auto& picture : pictures) {
        std::vector<std::unique_ptr<uint8_t, void (*)(uint8_t*)>> keep;
        PngState pngState;
        std::vector<Contender> contenders;
        contenders.push_back(PngContender(picture.picture, pngState));
        contenders.push_back(CodecContender("ARLE", picture.picture, ArleEncode, ArleDecode, keep));
        contenders.push_back(CodecContender("PRLE", picture.picture, PrleEncode, PrleDecode, keep));
        contenders.push_back(CodecContender("PKC", picture.picture, PkcEncode, PkcDecode, keep));
        TimeInTurns(contenders, 5, 25);

        std::printf("%-8s raw pixel data %zu bytes\n", picture.name,
                    picture.picture.size() - PictureHeaderSize(picture.picture.data()));
        const Contender& png = contenders[0];
        for (const Contender& c : contenders)
            Print(picture.name, c, png);
        const Contender& prle = contenders[2];
        if (!prle.refused)
            std::printf("%-8s PRLE goal: decode at least 2x faster than PNG: %s; size within 15%% of PNG: %s\n",
                        picture.name, png.decodeTime / prle.decodeTime >= 2 ? "met" : "MISSED",
                        double(prle.size) <= 1.15 * double(png.size) ? "met" : "MISSED");
    }
    return 0;
}
