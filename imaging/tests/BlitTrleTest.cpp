// "TRLE" sprites drawn straight from their row tables: random sprites,
// windows, scales and mirrors checked against the decoded picture drawn by
// the rules, into every target format; the keyed-call rules; the alpha blit.

#include "BlitTestSupport.h"

#include "imaging/CDibContext.h"
#include "imaging/CDibPalette.h"
#include "imaging/TrleRunCache.h"
#include "imaging/TrleSprite.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

using namespace blittest;

namespace {

// An encoded sprite: each row trimmed of the zero pixels at both ends of
// `visible` (the sprite's own pixels unless another picture gives the trims).
struct EncodedSprite {
    std::vector<uint8_t> data;
    TrleSpriteView view;
};

EncodedSprite Encode(const std::vector<uint32_t>& pixels, const std::vector<uint32_t>& visible, int w, int h,
                     PixelFormat format)
{
    const int bytes = int(PixelFormatBytes(format));
    EncodedSprite sprite;
    sprite.data.assign(16 + size_t(h) * 8, 0);
    for (int y = 0; y < h; ++y) {
        int skip = 0, end = w;
        while (skip < w && visible[size_t(y) * w + skip] == 0)
            ++skip;
        while (end > skip && visible[size_t(y) * w + end - 1] == 0)
            --end;
        const uint32_t offset = uint32_t(sprite.data.size());
        const uint16_t s = uint16_t(skip), c = uint16_t(end - skip);
        std::memcpy(&sprite.data[16 + size_t(y) * 8], &offset, 4);
        std::memcpy(&sprite.data[16 + size_t(y) * 8 + 4], &s, 2);
        std::memcpy(&sprite.data[16 + size_t(y) * 8 + 6], &c, 2);
        for (int x = skip; x < end; ++x)
            for (int i = 0; i < bytes; ++i)
                sprite.data.push_back(uint8_t(pixels[size_t(y) * w + x] >> (8 * i)));
    }
    sprite.view.dataArea = sprite.data.data();
    sprite.view.dataSize = sprite.data.size();
    sprite.view.width = w;
    sprite.view.height = h;
    sprite.view.format = format;
    return sprite;
}

EncodedSprite Encode8(const std::vector<uint32_t>& pixels, int w, int h)
{
    return Encode(pixels, pixels, w, h, PF_INDEX8);
}

// A picture with a blank margin and holes, like an animal's outline.
std::vector<uint32_t> RandomIndices(int w, int h, std::mt19937& random)
{
    std::vector<uint32_t> pixels(size_t(w) * h, 0);
    for (int y = 0; y < h; ++y) {
        const int left = int(random() % uint32_t(w)), right = left + int(random() % uint32_t(w - left + 1));
        for (int x = left; x < right; ++x)
            pixels[size_t(y) * w + x] = random() % 6 == 0 ? 0 : random() % 256;
    }
    return pixels;
}

CDibPalette* RandomPalette(std::mt19937& random)
{
    CDibPalette* palette = new CDibPalette;
    palette->Create(256);
    PaletteEntry entries[256];
    for (PaletteEntry& e : entries)
        e = {uint8_t(random()), uint8_t(random()), uint8_t(random()), 0};
    palette->SetEntries(entries, 0, 256);
    return palette;
}

uint32_t TableEntry(const void* table, PixelFormat format, uint32_t index)
{
    switch (PixelFormatBytes(format)) {
    case 1: return static_cast<const uint8_t*>(table)[index];
    case 2: return static_cast<const uint16_t*>(table)[index];
    case 3: return static_cast<const uint32_t*>(table)[index] & 0xFFFFFF;
    default: return static_cast<const uint32_t*>(table)[index];
    }
}

// With `cached`, the sprite keeps a run cache, as a loaded picture does, and
// is drawn once into another target first so that the blit checked finds a
// cache in use.
void RunTrleModel(PixelFormat format, bool simd, bool ownTable, bool cached)
{
    CDibContext context;
    context.useMmx = simd ? 1 : 0;
    for (uint32_t seed = 0; seed < 150; ++seed) {
        std::mt19937 random(seed * 3 + format);
        const int w = int(random() % 70) + 1, h = int(random() % 7) + 1;
        const std::vector<uint32_t> pixels = RandomIndices(w, h, random);
        EncodedSprite sprite = Encode8(pixels, w, h);
        TrleRunCache cache;
        if (cached)
            sprite.view.runCache = &cache;
        CDibPalette* spritePalette = RandomPalette(random);
        // Half the 8-bit targets have the sprite's colours (the identity
        // table). A copy, not the same palette: a palette's table towards
        // itself would hold a reference to itself.
        CDibPalette* targetPalette = random() % 2 ? spritePalette->Clone() : RandomPalette(random);
        sprite.view.palette = spritePalette;
        std::vector<uint32_t> custom(256);
        for (uint32_t& v : custom)
            v = random();

        // A third of the calls show the sprite's whole width unscaled (the
        // drawing cached sprites take most).
        const bool wholeWidth = random() % 3 == 0;
        const int tw = std::max(int(random() % 100) + 1, wholeWidth ? w : 1), th = int(random() % 9) + 1;
        CGuardedImage target(tw, th, format, random() % 2, int(random() % 3));
        EXPECT_EQ(target.SetPalette(targetPalette), DIB_OK);
        FillRandom(target.Pixels().data(), target.Pixels().size(), random);
        const int sx = wholeWidth ? 0 : int(random() % uint32_t(w)), sy = int(random() % uint32_t(h));
        const int sw = wholeWidth ? w : int(random() % uint32_t(w - sx)) + 1;
        const int sh = int(random() % uint32_t(h - sy)) + 1;
        const bool scaled = !wholeWidth && random() % 2;
        const int dw = scaled ? int(random() % uint32_t(tw)) + 1 : std::min(sw, tw);
        const int dh = scaled ? int(random() % uint32_t(th)) + 1 : std::min(sh, th);
        const int srcW = scaled ? sw : dw, srcH = scaled ? sh : dh;
        const int dx = int(random() % uint32_t(tw - dw + 1)), dy = int(random() % uint32_t(th - dh + 1));
        const uint32_t flags = BLIT_SRCKEY | (random() % 2 ? BLIT_MIRROR_X : 0) | (random() % 2 ? BLIT_MIRROR_Y : 0) |
                               (ownTable ? BLIT_TABLE : 0);

        // Table entries as the blit will use them (the palette's own table
        // is trusted here; its making is tested with the palette).
        const void* table = ownTable ? static_cast<const void*>(custom.data())
                                     : spritePalette->GetConversionTable(format, targetPalette);
        ASSERT_NE(table, nullptr);
        std::vector<uint32_t> expected(size_t(tw) * th);
        for (int y = 0; y < th; ++y)
            for (int x = 0; x < tw; ++x)
                expected[size_t(y) * tw + x] = target.At(x, y);
        for (int k = 0; k < dh; ++k)
            for (int j = 0; j < dw; ++j) {
                const int cj = int(int64_t(j) * srcW / dw), ck = int(int64_t(k) * srcH / dh);
                const int col = (flags & BLIT_MIRROR_X) ? sx + srcW - 1 - cj : sx + cj;
                const int row = (flags & BLIT_MIRROR_Y) ? sy + srcH - 1 - ck : sy + ck;
                const uint32_t p = pixels[size_t(row) * w + col];
                if (p != 0)
                    expected[size_t(dy + k) * tw + dx + j] = TableEntry(table, format, p);
            }
        const BlitExtra extra = ownTable ? reinterpret_cast<BlitExtra>(custom.data()) : 0;
        if (cached) {
            // Another conversion first; then the same call three times
            // elsewhere, so that the call checked is drawn from what they
            // kept.
            CGuardedImage other(tw, th, format == PF_RGB555 ? PF_INDEX8 : PF_RGB555);
            EXPECT_EQ(other.SetPalette(targetPalette), DIB_OK);
            ASSERT_EQ(TrleBlit(sprite.view, &other, 0, 0, tw, th, 0, 0, w, h, BLIT_SRCKEY, 0), DIB_OK);
            EXPECT_EQ(other.SetPalette(nullptr), DIB_OK);
            CGuardedImage same(tw, th, format);
            EXPECT_EQ(same.SetPalette(targetPalette), DIB_OK);
            for (int n = 0; n < 3; ++n)
                ASSERT_EQ(TrleBlit(sprite.view, &same, dx, dy, dw, dh, sx, sy, srcW, srcH, flags, extra), DIB_OK);
            EXPECT_EQ(same.SetPalette(nullptr), DIB_OK);
        }
        ASSERT_EQ(TrleBlit(sprite.view, &target, dx, dy, dw, dh, sx, sy, srcW, srcH, flags, extra), DIB_OK);
        SCOPED_TRACE("format " + std::to_string(format) + " simd " + std::to_string(simd) + " cached " +
                     std::to_string(cached) + " seed " + std::to_string(seed));
        ASSERT_TRUE(target.Intact());
        for (int y = 0; y < th; ++y)
            for (int x = 0; x < tw; ++x)
                ASSERT_EQ(target.At(x, y), expected[size_t(y) * tw + x]) << "at " << x << ", " << y;
        EXPECT_EQ(target.SetPalette(nullptr), DIB_OK);
        targetPalette->Release();
        spritePalette->Release();
    }
}

TEST(BlitTrle, RandomSpritesDrawLikeTheirDecodedPictures)
{
    for (PixelFormat format : {PF_INDEX8, PF_RGB555, PF_RGB565, PF_BGR565, PF_RGB24, PF_BGR24, PF_RGB32, PF_BGR32})
        for (bool simd : {false, true})
            for (bool ownTable : {false, true})
                for (bool cached : {false, true})
                    RunTrleModel(format, simd, ownTable, cached);
}

TEST(BlitTrle, ClippedSpritesShowTheirVisiblePart)
{
    // A sprite cut by the edges of a small target shows exactly what the same
    // sprite drawn whole on a large one shows there, mirrored or not.
    CDibContext context;
    std::mt19937 random(17);
    const int w = 45, h = 9;
    const std::vector<uint32_t> pixels = RandomIndices(w, h, random);
    EncodedSprite sprite = Encode8(pixels, w, h);
    std::vector<uint32_t> table(256);
    for (uint32_t i = 0; i < 256; ++i)
        table[i] = 0x010101u * i + 0x10000u;
    const BlitExtra extra = reinterpret_cast<BlitExtra>(table.data());
    for (uint32_t mirror : {0u, uint32_t(BLIT_MIRROR_X), uint32_t(BLIT_MIRROR_X | BLIT_MIRROR_Y)}) {
        for (int x : {-30, -7, 0, 3, 12}) {
            for (int y : {-5, 0, 2}) {
                CGuardedImage whole(w + 80, h + 20, PF_RGB32), small(20, 6, PF_RGB32);
                const uint32_t flags = BLIT_SRCKEY | BLIT_TABLE | mirror;
                ASSERT_EQ(TrleBlit(sprite.view, &whole, 40 + x, 10 + y, w, h, 0, 0, w, h, flags, extra), DIB_OK);
                ASSERT_EQ(TrleBlit(sprite.view, &small, x, y, w, h, 0, 0, w, h, flags, extra), DIB_OK);
                for (int sy = 0; sy < 6; ++sy)
                    for (int sx = 0; sx < 20; ++sx)
                        ASSERT_EQ(small.At(sx, sy), whole.At(40 + sx, 10 + sy))
                            << "mirror " << mirror << " at " << x << ", " << y;
                ASSERT_TRUE(small.Intact());
            }
        }
    }
}

TEST(BlitTrle, AnyValidatedViewDrawsInsideItsBytes)
{
    // Random row tables, overlapping runs and odd offsets included: whatever
    // passes validation is drawn (scaled, mirrored, as an opacity sprite of
    // itself) without a read outside its data area or a write outside the
    // target. The sanitizer build checks the reads.
    CDibContext context;
    context.useMmx = 1;
    std::mt19937 random(23);
    int drawn = 0;
    for (int n = 0; n < 3000; ++n) {
        const int w = int(random() % 70) + 1, h = int(random() % 6) + 1;
        const size_t size = 16 + size_t(h) * 8 + random() % 200;
        std::vector<uint8_t> data(size);
        FillRandom(data.data(), size, random);
        for (int row = 0; row < h; ++row) {
            uint8_t* entry = data.data() + 16 + row * 8;
            const uint32_t offset = uint32_t(16 + h * 8 + random() % (size - 16 - h * 8 + 4));
            const uint16_t skip = uint16_t(random() % uint32_t(w + 2)), count = uint16_t(random() % uint32_t(w + 2));
            std::memcpy(entry, &offset, 4);
            std::memcpy(entry + 4, &skip, 2);
            std::memcpy(entry + 6, &count, 2);
        }
        TrleSpriteView view;
        view.dataArea = data.data();
        view.dataSize = size;
        view.width = w;
        view.height = h;
        view.format = random() % 2 ? PF_INDEX8 : PF_RGB565;
        if (!ValidateTrleView(view))
            continue;
        ++drawn;
        const PixelFormat targetFormat = view.format == PF_INDEX8 && random() % 2 ? PF_RGB32 : view.format;
        CGuardedImage target(int(random() % 90) + 1, int(random() % 9) + 1, targetFormat);
        std::vector<uint32_t> table(256, 0x123456);
        const uint32_t flags = (random() % 4 ? BLIT_SRCKEY | BLIT_TABLE : BLIT_ALPHA) |
                               (random() % 2 ? BLIT_MIRROR_X : 0) | (random() % 2 ? BLIT_MIRROR_Y : 0);
        TrleSpriteView opacity = view;
        opacity.format = PF_INDEX8;
        const BlitExtra extra = (flags & BLIT_ALPHA) ? reinterpret_cast<BlitExtra>(&opacity)
                                                     : reinterpret_cast<BlitExtra>(table.data());
        const int dx = int(random() % 100) - 20, dy = int(random() % 12) - 3;
        const int sx = int(random() % uint32_t(w)), sy = int(random() % uint32_t(h));
        const int sw = int(random() % uint32_t(w - sx)) + 1, sh = int(random() % uint32_t(h - sy)) + 1;
        const int dw = random() % 2 ? sw : int(random() % 120) + 1, dh = random() % 2 ? sh : int(random() % 10) + 1;
        EXPECT_EQ(TrleBlit(view, &target, dx, dy, dw, dh, sx, sy, sw, sh, flags, extra), DIB_OK);
        ASSERT_TRUE(target.Intact());
    }
    EXPECT_GT(drawn, 100);
}

struct SimpleScene {
    CDibContext context;
    std::vector<uint32_t> pixels{0, 0, 5, 0, 7, 0, 3, 3, 3, 9};
    EncodedSprite sprite = Encode8(pixels, 10, 1);
    CDibPalette* palette = nullptr;
    CGuardedImage target{12, 2, PF_INDEX8};

    SimpleScene()
    {
        palette = new CDibPalette;
        palette->Create(256);
        PaletteEntry entries[256];
        for (int i = 0; i < 256; ++i)
            entries[i] = {uint8_t(i), uint8_t(i), uint8_t(i), 0};
        palette->SetEntries(entries, 0, 256);
        sprite.view.palette = palette;
        CDibPalette* same = palette->Clone();
        EXPECT_EQ(target.SetPalette(same), DIB_OK);
        same->Release();
    }
    ~SimpleScene()
    {
        EXPECT_EQ(target.SetPalette(nullptr), DIB_OK);
        palette->Release();
    }
};

TEST(BlitTrle, KeyedCallsOnly)
{
    SimpleScene scene;
    // Without BLIT_SRCKEY, or with BLIT_DESTKEY, nothing is drawn.
    for (uint32_t flags : {0u, uint32_t(BLIT_DESTKEY), uint32_t(BLIT_SRCKEY | BLIT_DESTKEY), uint32_t(BLIT_MIRROR_X)})
        EXPECT_EQ(TrleBlit(scene.sprite.view, &scene.target, 0, 0, 10, 1, 0, 0, 10, 1, flags, 0), DIB_OK);
    for (int x = 0; x < 12; ++x)
        EXPECT_EQ(scene.target.At(x, 0), 0u);
    ASSERT_EQ(TrleBlit(scene.sprite.view, &scene.target, 1, 0, 10, 1, 0, 0, 10, 1, BLIT_SRCKEY, 0), DIB_OK);
    const uint32_t row[12] = {0, 0, 0, 5, 0, 7, 0, 3, 3, 3, 9, 0};
    for (int x = 0; x < 12; ++x)
        EXPECT_EQ(scene.target.At(x, 0), row[x]);
}

TEST(BlitTrle, ScaledRowsPickNearestLowerColumns)
{
    SimpleScene scene;
    std::vector<uint32_t> pixels(10);
    for (int x = 0; x < 10; ++x)
        pixels[x] = uint32_t(x + 1);
    const EncodedSprite sprite = [&] {
        EncodedSprite s = Encode8(pixels, 10, 1);
        s.view.palette = scene.palette;
        return s;
    }();
    ASSERT_EQ(TrleBlit(sprite.view, &scene.target, 0, 0, 4, 1, 0, 0, 10, 1, BLIT_SRCKEY, 0), DIB_OK);
    ASSERT_EQ(TrleBlit(sprite.view, &scene.target, 0, 1, 4, 1, 0, 0, 10, 1, BLIT_SRCKEY | BLIT_MIRROR_X, 0), DIB_OK);
    const uint32_t forward[4] = {1, 3, 6, 8}, mirrored[4] = {10, 8, 5, 3};
    for (int j = 0; j < 4; ++j) {
        EXPECT_EQ(scene.target.At(j, 0), forward[j]);
        EXPECT_EQ(scene.target.At(j, 1), mirrored[j]);
    }
}

TEST(BlitTrle, RefusalsAndMissingTables)
{
    SimpleScene scene;
    EXPECT_EQ(TrleBlit(scene.sprite.view, nullptr, 0, 0, 10, 1, 0, 0, 10, 1, BLIT_SRCKEY, 0), DIB_FAILED);
    EXPECT_EQ(TrleBlit(TrleSpriteView{}, &scene.target, 0, 0, 10, 1, 0, 0, 10, 1, BLIT_SRCKEY, 0), DIB_NOT_CREATED);
    EXPECT_EQ(TrleBlit(scene.sprite.view, &scene.target, 0, 0, 1, 1, 11, 0, 1, 1, BLIT_SRCKEY, 0), DIB_FAILED);
    // No palette on the sprite, none on an 8-bit target, or a null table:
    // nothing to draw with.
    TrleSpriteView bare = scene.sprite.view;
    bare.palette = nullptr;
    EXPECT_EQ(TrleBlit(bare, &scene.target, 0, 0, 10, 1, 0, 0, 10, 1, BLIT_SRCKEY, 0), DIB_OK);
    EXPECT_EQ(TrleBlit(scene.sprite.view, &scene.target, 0, 0, 10, 1, 0, 0, 10, 1, BLIT_SRCKEY | BLIT_TABLE, 0),
              DIB_OK);
    CGuardedImage noPalette(12, 1, PF_INDEX8);
    EXPECT_EQ(TrleBlit(scene.sprite.view, &noPalette, 0, 0, 10, 1, 0, 0, 10, 1, BLIT_SRCKEY, 0), DIB_OK);
    CGuardedImage packed(12, 1, PF_INDEX4);
    EXPECT_EQ(TrleBlit(scene.sprite.view, &packed, 0, 0, 10, 1, 0, 0, 10, 1, BLIT_SRCKEY, 0), DIB_OK);
    for (int x = 0; x < 12; ++x)
        EXPECT_EQ(scene.target.At(x, 0) | noPalette.At(x, 0), 0u);
    EXPECT_TRUE(packed.Intact());
}

// The alpha blit: a sprite already in the target's format and an 8-bit
// opacity sprite with the same row trims.
struct AlphaCase {
    EncodedSprite sprite, opacity;
    std::vector<uint32_t> pixels, alphas;
};

AlphaCase MakeAlphaCase(PixelFormat format, int w, int h, std::mt19937& random)
{
    AlphaCase c;
    const uint32_t mask = PixelFormatBits(format) == 32 ? ~0u : (1u << PixelFormatBits(format)) - 1;
    c.alphas = RandomIndices(w, h, random);
    c.pixels.resize(c.alphas.size());
    for (size_t i = 0; i < c.alphas.size(); ++i) {
        if (c.alphas[i] != 0 && random() % 3 == 0)
            c.alphas[i] = random() % 2 ? 255 : 0; // the two literal ends, inside the runs
        c.pixels[i] = random() & mask;
    }
    // Trims from a picture that is visible wherever the opacity run is.
    std::vector<uint32_t> visible = RandomIndices(w, h, random);
    for (int y = 0; y < h; ++y) {
        int first = w, last = -1;
        for (int x = 0; x < w; ++x)
            if (c.alphas[size_t(y) * w + x] != 0) {
                first = std::min(first, x);
                last = x;
            }
        for (int x = 0; x < w; ++x)
            visible[size_t(y) * w + x] = x >= first && x <= last ? 1 : 0;
    }
    c.sprite = Encode(c.pixels, visible, w, h, format);
    c.opacity = Encode(c.alphas, visible, w, h, PF_INDEX8);
    return c;
}

TEST(BlitTrle, AlphaSpritesMixEachStoredPixel)
{
    for (PixelFormat format : {PF_INDEX8, PF_RGB555, PF_RGB565, PF_RGB24, PF_RGB32}) {
        for (bool simd : {false, true}) {
            CDibContext context;
            context.useMmx = simd ? 1 : 0;
            for (uint32_t seed = 0; seed < 40; ++seed) {
                std::mt19937 random(seed);
                const int w = int(random() % 60) + 1, h = int(random() % 4) + 1;
                const AlphaCase c = MakeAlphaCase(format, w, h, random);
                CGuardedImage target(w + 4, h, format, random() % 2);
                FillRandom(target.Pixels().data(), target.Pixels().size(), random);
                const uint32_t flags = BLIT_ALPHA | (random() % 2 ? BLIT_MIRROR_X : 0) |
                                       (random() % 2 ? BLIT_MIRROR_Y : 0);
                std::vector<uint32_t> expected(size_t(w + 4) * h);
                for (int y = 0; y < h; ++y)
                    for (int x = 0; x < w + 4; ++x)
                        expected[size_t(y) * (w + 4) + x] = target.At(x, y);
                const bool is565 = format == PF_RGB565;
                for (int k = 0; k < h; ++k)
                    for (int j = 0; j < w; ++j) {
                        const int col = (flags & BLIT_MIRROR_X) ? w - 1 - j : j;
                        const int row = (flags & BLIT_MIRROR_Y) ? h - 1 - k : k;
                        const uint32_t a = c.alphas[size_t(row) * w + col], s = c.pixels[size_t(row) * w + col];
                        uint32_t& t = expected[size_t(k) * (w + 4) + 2 + j];
                        if (format == PF_INDEX8) {
                            if ((a >> 2) != 0 && kMatrix[k & 7][(2 + j) & 7] <= (a >> 2) + 1)
                                t = s;
                        } else if (a == 255) {
                            t = s;
                        } else if (a != 0) {
                            t = PixelFormatBits(format) == 16 ? Mix16(s, t, a, 255 - a, is565, false)
                                                              : MixBytes(s, t, a, 255 - a, simd && format == PF_RGB32);
                        }
                    }
                ASSERT_EQ(TrleBlit(c.sprite.view, &target, 2, 0, w, h, 0, 0, w, h, flags,
                                   reinterpret_cast<BlitExtra>(&c.opacity.view)),
                          DIB_OK);
                SCOPED_TRACE("format " + std::to_string(format) + " simd " + std::to_string(simd) + " seed " +
                             std::to_string(seed));
                ASSERT_TRUE(target.Intact());
                for (int y = 0; y < h; ++y)
                    for (int x = 0; x < w + 4; ++x)
                        ASSERT_EQ(target.At(x, y), expected[size_t(y) * (w + 4) + x]) << "at " << x << ", " << y;
            }
        }
    }
}

TEST(BlitTrle, AlphaBlitsThatCannotBeDrawn)
{
    CDibContext context;
    std::mt19937 random(9);
    const AlphaCase c = MakeAlphaCase(PF_RGB565, 20, 3, random);
    const BlitExtra opacity = reinterpret_cast<BlitExtra>(&c.opacity.view);
    CGuardedImage target(40, 6, PF_RGB565), wrongSize(40, 6, PF_RGB32);
    // Scaled, another pixel size, no opacity sprite, an opacity sprite with
    // other trims or another size: nothing is drawn.
    EXPECT_EQ(TrleBlit(c.sprite.view, &target, 0, 0, 40, 6, 0, 0, 20, 3, BLIT_ALPHA, opacity), DIB_OK);
    EXPECT_EQ(TrleBlit(c.sprite.view, &wrongSize, 0, 0, 20, 3, 0, 0, 20, 3, BLIT_ALPHA, opacity), DIB_OK);
    EXPECT_EQ(TrleBlit(c.sprite.view, &target, 0, 0, 20, 3, 0, 0, 20, 3, BLIT_ALPHA, 0), DIB_OK);
    EncodedSprite retrimmed = c.opacity;
    retrimmed.view.dataArea = retrimmed.data.data();
    for (int row = 0; row < 3; ++row) {
        uint8_t* count = retrimmed.data.data() + 16 + row * 8 + 6;
        if (*count > 0) {
            --*count;
            break;
        }
    }
    EXPECT_EQ(TrleBlit(c.sprite.view, &target, 0, 0, 20, 3, 0, 0, 20, 3, BLIT_ALPHA,
                       reinterpret_cast<BlitExtra>(&retrimmed.view)),
              DIB_OK);
    TrleSpriteView shorter = c.opacity.view;
    shorter.height = 2;
    EXPECT_EQ(TrleBlit(c.sprite.view, &target, 0, 0, 20, 3, 0, 0, 20, 3, BLIT_ALPHA,
                       reinterpret_cast<BlitExtra>(&shorter)),
              DIB_OK);
    EXPECT_TRUE(target.Intact() && wrongSize.Intact());
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 40; ++x)
            ASSERT_EQ(target.At(x, y) | wrongSize.At(x, y), 0u);
}

} // namespace
