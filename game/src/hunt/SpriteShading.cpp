#include "SpriteShading.h"

#include "common/ByteOrder.h"
#include "imaging/CNearestColourMap.h"
#include "imaging/OrderedDither.h"

#include <algorithm>
#include <cassert>
#include <cstring>
#include <vector>

namespace {

// One stored row of the frame: indices [skip, skip + count) are stored, the
// rest of the row is transparent.
struct StoredRow {
    const uint8_t* stored;
    int skip;
    int count;

    uint8_t At(int column) const
    {
        const unsigned at = unsigned(column - skip);
        return at < unsigned(count) ? stored[at] : 0;
    }
};

StoredRow ReadRow(const TrleSpriteView& sprite, int row)
{
    const uint8_t* entry = sprite.RowEntry(row);
    return {sprite.dataArea + ReadLE32(entry), ReadLE16(entry + 4), ReadLE16(entry + 6)};
}

struct Rgb {
    int r, g, b;
};

Rgb Unpack(uint16_t pixel, ShadedPixels kind)
{
    if (kind == ShadedPixels::Rgb555)
        return {(pixel >> 10 & 31) << 3, (pixel >> 5 & 31) << 3, (pixel & 31) << 3};
    return {(pixel >> 11 & 31) << 3, (pixel >> 5 & 63) << 2, (pixel & 31) << 3};
}

uint16_t Pack(Rgb c, ShadedPixels kind)
{
    if (kind == ShadedPixels::Rgb555)
        return uint16_t(((c.r >> 3) << 10) | ((c.g >> 3) << 5) | (c.b >> 3));
    return uint16_t(((c.r >> 3) << 11) | ((c.g >> 2) << 5) | (c.b >> 3));
}

Rgb Mix(Rgb under, Rgb c, int a)
{
    return {under.r + (c.r - under.r) * a / 256, under.g + (c.g - under.g) * a / 256,
            under.b + (c.b - under.b) * a / 256};
}

// Writes one pixel of colour c, mixed with the one under it by
// opacity / 256.
void Put(const ShadedSprite& call, uint8_t* line, int x, Rgb c)
{
    const int a = call.opacity;
    if (call.pixels == ShadedPixels::Index8) {
        if (a < 256) {
            const PaletteEntry& d = call.targetColours[line[x]];
            c = Mix({d.red, d.green, d.blue}, c, a);
        }
        line[x] = uint8_t(std::max(call.nearest->Nearest(uint8_t(c.r), uint8_t(c.g), uint8_t(c.b)), 0));
        return;
    }
    uint8_t* at = line + 2 * x;
    if (a < 256) {
        uint16_t under;
        std::memcpy(&under, at, 2);
        c = Mix(Unpack(under, call.pixels), c, a);
    }
    const uint16_t pixel = Pack(c, call.pixels);
    std::memcpy(at, &pixel, 2);
}

bool NextLevel(const ShadedSprite& call, int x, int y)
{
    return kOrderedDither[y & 7][x & 7] <= call.nextShare;
}

// The colour of a sprite index at target pixel (x, y).
Rgb Colour(const ShadedSprite& call, uint8_t index, int x, int y)
{
    const uint8_t* c = (NextLevel(call, x, y) ? call.nextColours : call.colours) + size_t(index) * 3;
    return {c[0], c[1], c[2]};
}

// The source coordinate of a target pixel centre in 16.16 fixed point.
int64_t Centre(int j, int source, int target)
{
    return (int64_t(2 * j + 1) * source * 32768) / target - 32768;
}

// Per target column of [x0, x1): the source column (nearest), or the 16.16
// coordinate clamped to the frame (smooth). Kept per thread, so that
// drawing does not allocate once it has grown.
const int64_t* Columns(const ShadedSprite& call, int x0, int x1)
{
    thread_local std::vector<int64_t> columns;
    columns.resize(size_t(x1 - x0));
    const int sw = call.sprite->width;
    for (int x = x0; x < x1; ++x) {
        const int j = x - call.left;
        columns[size_t(x - x0)] =
            call.smooth ? std::clamp<int64_t>(Centre(j, sw, call.width), 0, int64_t(sw - 1) << 16)
                        : int64_t(j) * sw / call.width;
    }
    return columns.data();
}

void DrawNearest(const ShadedSprite& call, int x0, int x1, int y0, int y1)
{
    const TrleSpriteView& sprite = *call.sprite;
    const int sh = call.frameHeight;
    const int64_t* columns = Columns(call, x0, x1);
    const bool whole = call.pixels == ShadedPixels::Index8 && call.opacity == 256;
    for (int y = y0; y < y1; ++y) {
        const int k = y - call.top;
        const StoredRow row = ReadRow(sprite, call.frameTop + int(int64_t(k) * sh / call.height));
        uint8_t* line = call.rows + ptrdiff_t(y) * call.pitch;
        for (int x = x0; x < x1; ++x) {
            const uint8_t index = row.At(int(columns[x - x0]));
            if (index == 0)
                continue;
            if (whole)
                line[x] = NextLevel(call, x, y) ? call.nextIndices[index] : call.indices[index];
            else
                Put(call, line, x, Colour(call, index, x, y));
        }
    }
}

void DrawSmooth(const ShadedSprite& call, int x0, int x1, int y0, int y1)
{
    const TrleSpriteView& sprite = *call.sprite;
    const int sw = sprite.width, sh = call.frameHeight;
    const int64_t* columns = Columns(call, x0, x1);
    for (int y = y0; y < y1; ++y) {
        const int64_t v = std::clamp<int64_t>(Centre(y - call.top, sh, call.height), 0, int64_t(sh - 1) << 16);
        const int v0 = int(v >> 16), v1 = std::min(v0 + 1, sh - 1);
        const int fv = int(v >> 8 & 255);
        const StoredRow above = ReadRow(sprite, call.frameTop + v0), below = ReadRow(sprite, call.frameTop + v1);
        uint8_t* line = call.rows + ptrdiff_t(y) * call.pitch;
        for (int x = x0; x < x1; ++x) {
            const int64_t u = columns[x - x0];
            const int u0 = int(u >> 16), u1 = std::min(u0 + 1, sw - 1);
            const int fu = int(u >> 8 & 255);
            const uint8_t texels[4] = {above.At(u0), above.At(u1), below.At(u0), below.At(u1)};
            const int weights[4] = {(256 - fu) * (256 - fv), fu * (256 - fv), (256 - fu) * fv, fu * fv};
            int cover = 0, r = 0, g = 0, b = 0;
            for (int i = 0; i < 4; ++i) {
                if (texels[i] == 0)
                    continue;
                const Rgb c = Colour(call, texels[i], x, y);
                cover += weights[i];
                r += c.r * weights[i];
                g += c.g * weights[i];
                b += c.b * weights[i];
            }
            if (2 * cover < 65536)
                continue;
            if (cover == 65536) // inside the sprite: the weights sum to one
                Put(call, line, x, {(r + 32768) >> 16, (g + 32768) >> 16, (b + 32768) >> 16});
            else
                Put(call, line, x, {(r + cover / 2) / cover, (g + cover / 2) / cover, (b + cover / 2) / cover});
        }
    }
}

} // namespace

void DrawShadedSprite(const ShadedSprite& call)
{
    if (!call.sprite || !call.sprite->dataArea || call.sprite->format != PF_INDEX8 || !call.rows || !call.colours ||
        (call.pixels == ShadedPixels::Index8 &&
         (!call.indices || !call.nearest || !call.targetColours ||
          (call.nextShare > 0 && (!call.nextIndices || !call.nextColours)))) ||
        call.width <= 0 || call.height <= 0 || call.frameHeight <= 0 || call.sprite->width <= 0 ||
        call.frameTop < 0 || call.frameTop + call.frameHeight > call.sprite->height || call.opacity <= 0)
        return;
    assert(ValidateTrleView(*call.sprite));
    const int x0 = std::max(call.left, call.clipLeft), x1 = int(std::min<int64_t>(int64_t(call.left) + call.width, call.clipRight));
    const int y0 = std::max(call.top, call.clipTop), y1 = int(std::min<int64_t>(int64_t(call.top) + call.height, call.clipBottom));
    if (x0 >= x1 || y0 >= y1)
        return;
    if (call.smooth)
        DrawSmooth(call, x0, x1, y0, y1);
    else
        DrawNearest(call, x0, x1, y0, y1);
}
