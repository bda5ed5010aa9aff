// The hunt's shaded sprites: unhazed and whole they draw what the keyed blit
// draws; opacity mixes by its level and a frame enlarged smoothly shows
// ramps, not blocks, in both depths (8 bits through the palette's nearest
// colours); between two haze levels 8-bit pixels take the next level's
// share; nothing is written outside the clip rectangle.

#include "hunt/SpriteShading.h"

#include "common/ByteOrder.h"
#include "imaging/CDibPalette.h"
#include "imaging/CDibSection.h"
#include "imaging/CNearestColourMap.h"
#include "imaging/TrleSprite.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <memory>
#include <set>
#include <vector>

namespace {

// A "TRLE" data area of 8-bit indices (row by row, 0 transparent), each
// row storing the stretch from its first to its last non-zero index.
struct TestSprite {
    std::vector<uint8_t> data;
    TrleSpriteView view;

    TestSprite(int width, int height, const std::vector<uint8_t>& indices)
    {
        data.assign(16 + size_t(height) * 8, 0);
        for (int row = 0; row < height; ++row) {
            const uint8_t* line = &indices[size_t(row) * width];
            int first = 0, last = width;
            while (first < width && line[first] == 0)
                ++first;
            while (last > first && line[last - 1] == 0)
                --last;
            uint8_t* entry = &data[16 + size_t(row) * 8];
            WriteLE32(entry, uint32_t(data.size()));
            WriteLE16(entry + 4, uint16_t(first < width ? first : 0));
            WriteLE16(entry + 6, uint16_t(last - std::min(first, last)));
            data.insert(data.end(), line + std::min(first, last), line + last);
        }
        view.dataArea = data.data();
        view.dataSize = data.size();
        view.width = width;
        view.height = height;
        view.format = PF_INDEX8;
    }
};

// A target of 8- or 16-bit pixels, top-down, filled with `fill`.
struct Target {
    int width, height, bytes;
    std::vector<uint8_t> pixels;
    Target(int w, int h, int b, uint16_t fill) : width(w), height(h), bytes(b), pixels(size_t(w) * h * b)
    {
        for (size_t i = 0; i < size_t(w) * h; ++i)
            std::memcpy(&pixels[i * b], &fill, size_t(b));
    }
    uint32_t At(int x, int y) const
    {
        uint16_t p = 0;
        std::memcpy(&p, &pixels[(size_t(y) * width + x) * bytes], size_t(bytes));
        return p;
    }
};

// A palette of 256 greys: its colours and its nearest-colour map.
struct Greys {
    std::vector<uint8_t> rgb = std::vector<uint8_t>(768);
    std::vector<PaletteEntry> entries = std::vector<PaletteEntry>(256);
    std::vector<uint8_t> identity = std::vector<uint8_t>(256);
    mutable std::unique_ptr<CNearestColourMap> nearest;
    Greys()
    {
        for (int i = 0; i < 256; ++i) {
            rgb[size_t(i) * 3] = rgb[size_t(i) * 3 + 1] = rgb[size_t(i) * 3 + 2] = uint8_t(i);
            entries[size_t(i)] = {uint8_t(i), uint8_t(i), uint8_t(i), 0};
            identity[size_t(i)] = uint8_t(i);
        }
        nearest = std::make_unique<CNearestColourMap>(entries.data(), 256);
    }
};

ShadedSprite Call(const TestSprite& sprite, Target& target, const Greys& greys, int w, int h)
{
    ShadedSprite call;
    call.sprite = &sprite.view;
    call.frameTop = 0;
    call.frameHeight = sprite.view.height;
    call.left = 0;
    call.top = 0;
    call.width = w;
    call.height = h;
    call.clipRight = target.width;
    call.clipBottom = target.height;
    call.rows = target.pixels.data();
    call.pitch = ptrdiff_t(target.width) * target.bytes;
    call.pixels = target.bytes == 1 ? ShadedPixels::Index8 : ShadedPixels::Rgb555;
    call.colours = greys.rgb.data();
    call.indices = greys.identity.data();
    call.nearest = greys.nearest.get();
    call.targetColours = greys.entries.data();
    return call;
}

// The blue channel (5 bits) of a 16-bit pixel, or an 8-bit grey index.
uint32_t Level(const Target& target, int x, int y)
{
    return target.bytes == 1 ? target.At(x, y) : target.At(x, y) & 31;
}

} // namespace

TEST(SpriteShading, WholeAndUnhazedItDrawsWhatTheKeyedBlitDraws)
{
    // A ragged sprite with holes, at sizes shrunk and enlarged.
    const int w = 13, h = 9;
    std::vector<uint8_t> indices(size_t(w) * h);
    for (int i = 0; i < w * h; ++i)
        indices[size_t(i)] = (i * 7 % 5 == 0 || i % w < i / w) ? 0 : uint8_t(1 + i % 200);
    TestSprite sprite(w, h, indices);
    ASSERT_TRUE(ValidateTrleView(sprite.view));
    const Greys greys;
    for (auto [dw, dh] : {std::pair{13, 9}, {7, 5}, {20, 31}, {40, 17}}) {
        Target shaded(64, 48, 1, 250);
        DrawShadedSprite(Call(sprite, shaded, greys, dw, dh));
        CDibSection blitted;
        ASSERT_EQ(blitted.Create(64, 48, PF_INDEX8), DIB_OK);
        blitted.FillRect(0, 0, 64, 48, 250);
        ASSERT_EQ(TrleBlit(sprite.view, &blitted, 0, 0, dw, dh, 0, 0, w, h, BLIT_SRCKEY | BLIT_TABLE,
                           BlitExtra(greys.identity.data())),
                  DIB_OK);
        for (int y = 0; y < 48; ++y)
            for (int x = 0; x < 64; ++x)
                ASSERT_EQ(shaded.At(x, y), blitted.GetPixel(x, y)) << dw << "x" << dh << " at " << x << "," << y;
    }
}

TEST(SpriteShading, OpacityMixesWithWhatIsUnderInBothDepths)
{
    TestSprite solid(8, 8, std::vector<uint8_t>(64, 255));
    const Greys greys;
    for (int bytes : {1, 2})
        for (int opacity : {0, 64, 128, 256}) {
            Target target(8, 8, bytes, 0); // white over black
            ShadedSprite call = Call(solid, target, greys, 8, 8);
            call.opacity = opacity;
            DrawShadedSprite(call);
            const double full = bytes == 1 ? 255 : 31;
            for (int y = 0; y < 8; ++y)
                for (int x = 0; x < 8; ++x)
                    ASSERT_NEAR(double(Level(target, x, y)), full * opacity / 256, bytes == 1 ? 8 : 1)
                        << bytes << " bytes, opacity " << opacity;
        }
}

TEST(SpriteShading, BetweenTwoHazeLevelsEightBitsTakeTheNextLevelsShareOfPixels)
{
    TestSprite solid(8, 8, std::vector<uint8_t>(64, 255));
    const Greys greys;
    const std::vector<uint8_t> next(256, 7);
    for (int share : {0, 1, 16, 32, 64}) {
        Target target(8, 8, 1, 0);
        ShadedSprite call = Call(solid, target, greys, 8, 8);
        call.nextIndices = next.data();
        call.nextColours = greys.rgb.data();
        call.nextShare = share;
        DrawShadedSprite(call);
        EXPECT_EQ(std::count(target.pixels.begin(), target.pixels.end(), 7), share) << share;
        EXPECT_EQ(std::count(target.pixels.begin(), target.pixels.end(), 255), 64 - share) << share;
    }
}

TEST(SpriteShading, SmoothEnlargementShowsRampsNotBlocks)
{
    // Two texels, dark and light, enlarged 16 times across.
    TestSprite pair(2, 1, {40, 200});
    const Greys greys;
    for (int bytes : {1, 2}) {
        Target target(32, 4, bytes, 0);
        ShadedSprite call = Call(pair, target, greys, 32, 4);
        call.smooth = true;
        DrawShadedSprite(call);
        std::set<uint32_t> shades;
        uint32_t previous = 0;
        for (int x = 0; x < 32; ++x) {
            const uint32_t level = Level(target, x, 2);
            EXPECT_GE(level, previous) << "the ramp rises from dark to light at " << x;
            previous = level;
            shades.insert(level);
        }
        EXPECT_GE(shades.size(), 12u) << "a block would show two shades";
    }

    // The outline is smoothed too: a transparent texel's side is not drawn
    // past halfway between the texel centres.
    TestSprite half(2, 1, {0, 200});
    Target edge(32, 1, 2, 0);
    ShadedSprite call = Call(half, edge, greys, 32, 1);
    call.smooth = true;
    DrawShadedSprite(call);
    for (int x = 0; x < 32; ++x)
        EXPECT_EQ(edge.At(x, 0) != 0, x >= 16) << x;
}

TEST(SpriteShading, NothingIsWrittenOutsideTheClipRectangle)
{
    TestSprite solid(4, 4, std::vector<uint8_t>(16, 9));
    const Greys greys;
    for (bool smooth : {false, true}) {
        Target target(20, 20, 1, 0);
        ShadedSprite call = Call(solid, target, greys, 40, 40);
        call.left = -10;
        call.top = -7;
        call.clipLeft = 3;
        call.clipTop = 4;
        call.clipRight = 15;
        call.clipBottom = 16;
        call.smooth = smooth;
        call.opacity = 200;
        DrawShadedSprite(call);
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 20; ++x) {
                if (x < 3 || x >= 15 || y < 4 || y >= 16) {
                    ASSERT_EQ(target.At(x, y), 0u) << x << "," << y;
                }
            }
        // A frame reaching past the sprite draws nothing at all.
        call.frameTop = 1;
        Target untouched(20, 20, 1, 0);
        call.rows = untouched.pixels.data();
        DrawShadedSprite(call);
        EXPECT_EQ(std::count(untouched.pixels.begin(), untouched.pixels.end(), 0), 400);
    }
}
