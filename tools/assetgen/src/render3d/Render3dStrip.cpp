#include "render3d/Render3dStrip.h"

#include <algorithm>

namespace {

struct OpaqueBounds {
    int left = 1 << 30, right = -1, top = 1 << 30, bottom = -1;
    bool Empty() const { return right < 0; }
};

OpaqueBounds FindOpaque(const RgbaImage& image)
{
    OpaqueBounds b;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            if (image.pixels[size_t(y) * image.width + x] >> 24) {
                b.left = std::min(b.left, x);
                b.right = std::max(b.right, x);
                b.top = std::min(b.top, y);
                b.bottom = std::max(b.bottom, y);
            }
    return b;
}

} // namespace

AssembledStrip AssembleStrip(const std::vector<RenderedSprite>& frames, int frameHeight)
{
    AssembledStrip strip;
    std::vector<OpaqueBounds> bounds;
    int half = 1;
    for (const RenderedSprite& frame : frames) {
        bounds.push_back(FindOpaque(frame.image));
        const OpaqueBounds& b = bounds.back();
        if (!b.Empty())
            half = std::max({half, frame.originX - b.left, b.right + 1 - frame.originX});
    }
    strip.frameWidth = 2 * half + 2;
    strip.image = RgbaImage(strip.frameWidth, std::max(1, frameHeight * int(frames.size())));
    for (size_t n = 0; n < frames.size(); ++n) {
        const OpaqueBounds& b = bounds[n];
        if (b.Empty())
            continue;
        const RenderedSprite& frame = frames[n];
        strip.tallest = std::max(strip.tallest, b.bottom - b.top + 1);
        const int dx = strip.frameWidth / 2 - frame.originX;
        const int dy = frameHeight - 1 - b.bottom; // lowest opaque row onto the bottom row
        const int frameTop = int(n) * frameHeight;
        for (int y = b.top; y <= b.bottom; ++y) {
            const int ty = y + dy;
            if (ty < 0) {
                ++strip.clippedRows;
                continue;
            }
            for (int x = b.left; x <= b.right; ++x) {
                const uint32_t p = frame.image.pixels[size_t(y) * frame.image.width + x];
                if (p >> 24)
                    strip.image.Set(x + dx, frameTop + ty, p);
            }
        }
    }
    return strip;
}
