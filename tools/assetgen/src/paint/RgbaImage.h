#pragma once
// The generator's working picture: 0xAARRGGBB pixels, top row first. Alpha 0
// is transparent (it becomes index 0 or the key colour when written); any
// other alpha is opaque in the written file (blend before writing).

#include <algorithm>
#include <cstdint>
#include <vector>

struct RgbaImage {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;

    RgbaImage() = default;
    RgbaImage(int w, int h, uint32_t fill = 0) : width(w), height(h), pixels(size_t(w) * h, fill) {}

    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
    uint32_t Get(int x, int y) const { return Inside(x, y) ? pixels[size_t(y) * width + x] : 0; }
    void Set(int x, int y, uint32_t argb)
    {
        if (Inside(x, y))
            pixels[size_t(y) * width + x] = argb;
    }
    // Mixes `rgb` over the pixel with opacity 0..255 (the result is opaque).
    void Blend(int x, int y, uint32_t rgb, int opacity)
    {
        if (!Inside(x, y) || opacity <= 0)
            return;
        uint32_t& p = pixels[size_t(y) * width + x];
        if (opacity >= 255 || (p >> 24) == 0) {
            p = 0xFF000000u | (rgb & 0xFFFFFF);
            return;
        }
        auto mix = [&](int shift) {
            int a = int((p >> shift) & 0xFF), b = int((rgb >> shift) & 0xFF);
            return uint32_t(a + (b - a) * opacity / 255) << shift;
        };
        p = 0xFF000000u | mix(16) | mix(8) | mix(0);
    }
    void FillRect(int x, int y, int w, int h, uint32_t argb)
    {
        for (int j = std::max(0, y); j < std::min(height, y + h); ++j)
            for (int i = std::max(0, x); i < std::min(width, x + w); ++i)
                pixels[size_t(j) * width + i] = argb;
    }
    // Copies `other` in at (x, y), skipping its transparent pixels.
    void Paste(const RgbaImage& other, int x, int y)
    {
        for (int j = 0; j < other.height; ++j)
            for (int i = 0; i < other.width; ++i) {
                uint32_t p = other.pixels[size_t(j) * other.width + i];
                if (p >> 24)
                    Set(x + i, y + j, p);
            }
    }
};

constexpr uint32_t Rgb(int r, int g, int b)
{
    return 0xFF000000u | uint32_t(std::clamp(r, 0, 255)) << 16 | uint32_t(std::clamp(g, 0, 255)) << 8 |
           uint32_t(std::clamp(b, 0, 255));
}
