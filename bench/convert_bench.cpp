// Times ConvertPixels on a 640 × 480 picture: RGB24 to RGB555 (plain and with
// error diffusion) and RGB24 to INDEX8 (octree, and exhaustive with
// diffusion), beside SDL2's SDL_ConvertPixels for RGB24 to RGB555.

#include "bench/BenchTimer.h"
#include "imaging/ConvertPixels.h"

#include <SDL.h>
#include <cstdio>
#include <random>
#include <vector>

int main()
{
    const int w = 640, h = 480;
    std::vector<uint8_t> source(size_t(w) * h * 3);
    std::mt19937 random(1);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint8_t* p = &source[(size_t(y) * w + x) * 3];
            p[0] = uint8_t(x * 255 / w);
            p[1] = uint8_t(y * 255 / h);
            p[2] = uint8_t((x + y) / 5 + (random() & 15));
        }
    std::vector<uint8_t> target16(size_t(w) * h * 2), target8(size_t(w) * h);
    std::vector<PaletteEntry> palette(256);
    for (int i = 0; i < 256; ++i)
        palette[i] = {uint8_t((i >> 5) * 36), uint8_t(((i >> 2) & 7) * 36), uint8_t((i & 3) * 85), 0};

    bool converted = true; // every run converts, or the figures mean nothing
    const double ours = TimeBest([&] {
        converted &= ConvertPixels(target16.data(), PF_RGB555, source.data(), w, h, w * 2, w * 3, PF_RGB24, nullptr, nullptr, 0);
    });
    const double sdl = TimeBest([&] {
        SDL_ConvertPixels(w, h, SDL_PIXELFORMAT_BGR24, source.data(), w * 3, SDL_PIXELFORMAT_RGB555,
                          target16.data(), w * 2);
    });
    const double diffused = TimeBest([&] {
        converted &= ConvertPixels(target16.data(), PF_RGB555, source.data(), w, h, w * 2, w * 3, PF_RGB24, nullptr, nullptr,
                      CONVERT_DITHER);
    });
    const double octree = TimeBest([&] {
        converted &= ConvertPixels(target8.data(), PF_INDEX8, source.data(), w, h, w, w * 3, PF_RGB24, palette.data(), nullptr,
                      0);
    });
    const double exhaustive = TimeBest(
        [&] {
            converted &= ConvertPixels(target8.data(), PF_INDEX8, source.data(), w, h, w, w * 3, PF_RGB24, palette.data(),
                          nullptr, CONVERT_DITHER);
        },
        3);

    std::printf("RGB24->RGB555 plain          ours %8.3f ms   SDL_ConvertPixels %8.3f ms   ratio (SDL/ours) %.2f\n",
                ours * 1e3, sdl * 1e3, sdl / ours);
    std::printf("RGB24->RGB555 diffusion      ours %8.3f ms\n", diffused * 1e3);
    std::printf("RGB24->INDEX8 octree         ours %8.3f ms\n", octree * 1e3);
    std::printf("RGB24->INDEX8 exhaustive+FS  ours %8.3f ms\n", exhaustive * 1e3);
    if (!converted) {
        std::fprintf(stderr, "convert_bench: a conversion was refused\n");
        return 1;
    }
    return 0;
}
