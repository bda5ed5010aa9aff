// The blit rules through the public Blit: random blits of every depth and
// flag combination checked pixel by pixel against a model written from the
// rules (portable and vector paths, top-down and bottom-up images), and the
// cases where the rules are easiest to get wrong.

#include "BlitTestSupport.h"

#include "imaging/CDibContext.h"
#include "imaging/CDibSection.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

using namespace blittest;

namespace {

// The flags the dispatch reads; random blits draw from all of them.
constexpr uint32_t kFlagBits[] = {BLIT_SRCKEY, BLIT_DESTKEY, BLIT_MIRROR_X, BLIT_MIRROR_Y,
                                  BLIT_STIPPLE, BLIT_BLEND,  BLIT_ALPHA,    BLIT_ALPHA_STIPPLE};

void RunModelComparison(PixelFormat format, bool simd)
{
    CDibContext context;
    context.useMmx = simd ? 1 : 0;
    for (uint32_t seed = 0; seed < 300; ++seed) {
        std::mt19937 random(seed + format);
        const int sw0 = int(random() % 40) + 1, sh0 = int(random() % 6) + 1;
        const int tw = int(random() % 90) + 1, th = int(random() % 8) + 1;
        CGuardedImage source(sw0, sh0, format, random() % 2, int(random() % 3));
        CGuardedImage target(tw, th, format, random() % 2, int(random() % 3));
        CGuardedImage alpha(sw0, sh0, PF_INDEX8, random() % 2);
        const uint32_t srcKey = random(), dstKey = random();
        const uint32_t mask = PixelFormatBits(format) == 32 ? ~0u : (1u << PixelFormatBits(format)) - 1;
        FillImage(source, random, srcKey & mask);
        FillImage(target, random, dstKey & mask);
        for (int y = 0; y < sh0; ++y)
            for (int x = 0; x < sw0; ++x)
                alpha.Put(x, y, RandomOpacity(random));
        EXPECT_EQ(source.SetSourceKey(srcKey), DIB_OK);
        EXPECT_EQ(target.SetDestKey(dstKey), DIB_OK);

        uint32_t flags = 0;
        for (uint32_t bit : kFlagBits)
            if (random() % 3 == 0)
                flags |= bit;
        // Rectangles inside both images, so the model needs no clipping.
        const int sx = int(random() % uint32_t(sw0)), sy = int(random() % uint32_t(sh0));
        const int sw = int(random() % uint32_t(sw0 - sx)) + 1, sh = int(random() % uint32_t(sh0 - sy)) + 1;
        const bool scaled = random() % 3 == 0;
        const int dw = scaled ? int(random() % uint32_t(tw)) + 1 : std::min(sw, tw);
        const int dh = scaled ? int(random() % uint32_t(th)) + 1 : std::min(sh, th);
        const int srcW = scaled ? sw : dw, srcH = scaled ? sh : dh;
        const int dx = int(random() % uint32_t(tw - dw + 1)), dy = int(random() % uint32_t(th - dh + 1));
        const uint32_t levels[] = {0, 1, 128, 255, 256, 1000};
        const BlitExtra extra = (flags & (BLIT_ALPHA | BLIT_ALPHA_STIPPLE))
                                    ? reinterpret_cast<BlitExtra>(&alpha)
                                    : levels[random() % 6];

        CGuardedImage expected(tw, th, format);
        for (int y = 0; y < th; ++y)
            for (int x = 0; x < tw; ++x)
                expected.Put(x, y, target.At(x, y));
        const uint32_t extraLevel = extra > 256 ? 256u : uint32_t(extra);
        const bool isScaled = dw != srcW || dh != srcH;
        for (int k = 0; k < dh; ++k) {
            for (int j = 0; j < dw; ++j) {
                const int64_t cj = int64_t(j) * srcW / dw, ck = int64_t(k) * srcH / dh;
                const int col = (flags & BLIT_MIRROR_X) ? sx + srcW - 1 - int(cj) : sx + int(cj);
                const int row = (flags & BLIT_MIRROR_Y) ? sy + srcH - 1 - int(ck) : sy + int(ck);
                const uint32_t v = ModelPixel(format, flags, isScaled, simd, source.At(col, row),
                                              target.At(dx + j, dy + k), alpha.At(col, row), dx + j, dy + k,
                                              srcKey & mask, dstKey & mask, extraLevel);
                expected.Put(dx + j, dy + k, v);
            }
        }
        ASSERT_EQ(source.Blit(&target, dx, dy, dw, dh, sx, sy, srcW, srcH, flags, extra), DIB_OK);
        SCOPED_TRACE("format " + std::to_string(format) + " simd " + std::to_string(simd) + " seed " +
                     std::to_string(seed) + " flags " + std::to_string(flags));
        ASSERT_TRUE(target.Intact());
        for (int y = 0; y < th; ++y)
            for (int x = 0; x < tw; ++x)
                ASSERT_EQ(target.At(x, y), expected.At(x, y)) << "at " << x << ", " << y << " dx " << dx << " dy " << dy << " dw " << dw << " dh " << dh << " sx " << sx << " sy " << sy << " sw " << srcW << " sh " << srcH;
    }
}

TEST(BlitRules, RandomBlitsFollowTheModel)
{
    for (PixelFormat format : {PF_INDEX8, PF_RGB555, PF_BGR555, PF_RGB565, PF_RGB24, PF_RGB32, PF_BGR32})
        for (bool simd : {false, true})
            RunModelComparison(format, simd);
}

// A 1-row 16-bit blit of `s` over `t` at level `alpha`, by the portable or
// the vector path.
uint32_t Blend16(uint32_t s, uint32_t t, uint32_t level, bool simd, PixelFormat format = PF_RGB555)
{
    CDibContext context;
    context.useMmx = simd ? 1 : 0;
    CDibSection source, target;
    EXPECT_EQ(source.Create(1, 1, format), DIB_OK);
    EXPECT_EQ(target.Create(1, 1, format), DIB_OK);
    source.SetPixel(0, 0, s);
    target.SetPixel(0, 0, t);
    source.Blit(&target, 0, 0, 1, 1, 0, 0, 1, 1, BLIT_BLEND, level);
    return target.GetPixel(0, 0);
}

TEST(BlitRules, LevelBlendArithmeticPerPath)
{
    const uint32_t grey15 = 15u << 10 | 15u << 5 | 15u;
    EXPECT_EQ(Blend16(0x7FFF, 0, 128, false), grey15);
    EXPECT_EQ(Blend16(0x7FFF, 0, 128, true), grey15);
    // At 100 the table weighs 12 and 19 of 32; the exact path 100 of 256.
    EXPECT_EQ(Blend16(0x7FFF, 0, 100, false), 11u << 10 | 11u << 5 | 11u);
    EXPECT_EQ(Blend16(0x7FFF, 0, 100, true), 12u << 10 | 12u << 5 | 12u);
    // 565 through the table mixes the upper five bits of green.
    EXPECT_EQ(Blend16(0xFFFF, 0, 256, false, PF_RGB565), 0xFFDFu);
    EXPECT_EQ(Blend16(0xFFFF, 0, 256, true, PF_RGB565), 0xFFFFu);
    // The spare top bit of 555 stays clear; level 0 keeps the target.
    EXPECT_EQ(Blend16(0xFFFF, 0x1234, 0, false), 0x1234u);

    // 24 and 32 bits through the table keep five bits per channel.
    CDibContext context;
    CDibSection source, target;
    EXPECT_EQ(source.Create(1, 1, PF_RGB32), DIB_OK);
    EXPECT_EQ(target.Create(1, 1, PF_RGB32), DIB_OK);
    source.SetPixel(0, 0, 0x00FFFFFF);
    target.SetPixel(0, 0, 0xAAFFFFFF);
    source.Blit(&target, 0, 0, 1, 1, 0, 0, 1, 1, BLIT_BLEND, 64);
    EXPECT_EQ(target.GetPixel(0, 0), 0xAAF8F8F8u); // the fourth byte is not written
}

TEST(BlitRules, BlendRectMixesPerPath)
{
    for (bool simd : {false, true}) {
        CDibContext context;
        context.useMmx = simd ? 1 : 0;
        CDibSection image;
        EXPECT_EQ(image.Create(19, 2, PF_RGB555), DIB_OK);
        // Colour weight 256 - 156 = 100: 11 through the table, 12 exactly.
        ASSERT_EQ(image.BlendRect(1, 0, 17, 1, 1, 0x7FFF, 156), DIB_OK);
        const uint32_t grey = simd ? 12u : 11u;
        for (int x = 0; x < 19; ++x) {
            EXPECT_EQ(image.GetPixel(x, 0), x >= 1 && x < 18 ? (grey << 10 | grey << 5 | grey) : 0u);
            EXPECT_EQ(image.GetPixel(x, 1), 0u);
        }
    }
}

TEST(BlitRules, AlphaEndsCopyAndSkip)
{
    for (bool simd : {false, true}) {
        for (PixelFormat format : {PF_RGB565, PF_RGB24, PF_RGB32}) {
            CDibContext context;
            context.useMmx = simd ? 1 : 0;
            // Wide enough for whole vectors, plus leftovers.
            const int w = 37;
            CDibSection source, target, alpha;
            EXPECT_EQ(source.Create(w, 1, format), DIB_OK);
            EXPECT_EQ(target.Create(w, 1, format), DIB_OK);
            EXPECT_EQ(alpha.Create(w, 1, PF_INDEX8), DIB_OK);
            for (int x = 0; x < w; ++x) {
                source.SetPixel(x, 0, 0x00123456u + uint32_t(x));
                target.SetPixel(x, 0, 0x00ABCDEFu - uint32_t(x));
                alpha.SetPixel(x, 0, x % 2 ? 255 : 0);
            }
            const uint32_t mask = PixelFormatBits(format) == 16 ? 0xFFFF : 0xFFFFFFFF;
            ASSERT_EQ(source.Blit(&target, 0, 0, w, 1, 0, 0, w, 1, BLIT_ALPHA, reinterpret_cast<BlitExtra>(&alpha)),
                      DIB_OK);
            for (int x = 0; x < w; ++x)
                EXPECT_EQ(target.GetPixel(x, 0), ((x % 2 ? 0x00123456u + x : 0x00ABCDEFu - x) & mask))
                    << "simd " << simd << " format " << format << " x " << x;
        }
    }
}

TEST(BlitRules, PlainSixteenBitCopyAtAnOddColumn)
{
    for (bool simd : {false, true}) {
        CDibContext context;
        context.useMmx = simd ? 1 : 0;
        CDibSection source, target;
        EXPECT_EQ(source.Create(4, 4, PF_RGB565), DIB_OK);
        EXPECT_EQ(target.Create(9, 5, PF_RGB565), DIB_OK);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 4; ++x)
                source.SetPixel(x, y, uint32_t(0x1000 + y * 4 + x));
        ASSERT_EQ(source.Blit(&target, 3, 1, 4, 4, 0, 0, 4, 4, 0, 0), DIB_OK);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 9; ++x) {
                const bool inside = x >= 3 && x < 7 && y >= 1;
                EXPECT_EQ(target.GetPixel(x, y), inside ? uint32_t(0x1000 + (y - 1) * 4 + (x - 3)) : 0u);
            }
    }
}

TEST(BlitRules, StippleNearlyFullLeavesOnePixelPerBlock)
{
    for (bool simd : {false, true}) {
        CDibContext context;
        context.useMmx = simd ? 1 : 0;
        CDibSection source, target;
        EXPECT_EQ(source.Create(40, 19, PF_INDEX8), DIB_OK);
        EXPECT_EQ(target.Create(48, 24, PF_INDEX8), DIB_OK);
        source.FillRect(0, 0, 40, 19, 7);
        // Drawn at an offset: the pattern is anchored to the target, not the sprite.
        ASSERT_EQ(source.Blit(&target, 3, 2, 40, 19, 0, 0, 40, 19, BLIT_STIPPLE, 252), DIB_OK);
        // Every aligned 8 × 8 block wholly inside the rectangle misses exactly
        // the pixel where the matrix holds 64: row 7, column 0 of the block.
        for (int by = 8; by + 8 <= 21; by += 8)
            for (int bx = 8; bx + 8 <= 43; bx += 8) {
                int undrawn = 0;
                for (int y = by; y < by + 8; ++y)
                    for (int x = bx; x < bx + 8; ++x)
                        undrawn += target.GetPixel(x, y) == 0;
                EXPECT_EQ(undrawn, 1);
                EXPECT_EQ(target.GetPixel(bx, by + 7), 0u);
            }
        target.FillRect(0, 0, 48, 24, 0);
        ASSERT_EQ(source.Blit(&target, 3, 2, 40, 19, 0, 0, 40, 19, BLIT_STIPPLE, 0), DIB_OK);
        for (int y = 0; y < 24; ++y)
            for (int x = 0; x < 48; ++x)
                ASSERT_EQ(target.GetPixel(x, y), 0u);
    }
}

TEST(BlitRules, BothKeysCompareWholeSixteenBitPixels)
{
    for (bool simd : {false, true}) {
        CDibContext context;
        context.useMmx = simd ? 1 : 0;
        const int w = 20;
        CDibSection source, target;
        EXPECT_EQ(source.Create(w, 1, PF_RGB565), DIB_OK);
        EXPECT_EQ(target.Create(w, 1, PF_RGB565), DIB_OK);
        EXPECT_EQ(source.SetSourceKey(0x0042), DIB_OK);
        EXPECT_EQ(target.SetDestKey(0x0000), DIB_OK);
        for (int x = 0; x < w; ++x)
            source.SetPixel(x, 0, x % 2 ? 0x1142 : 0x0042); // low byte equal to the key's
        ASSERT_EQ(source.Blit(&target, 0, 0, w, 1, 0, 0, w, 1, BLIT_SRCKEY | BLIT_DESTKEY, 0), DIB_OK);
        for (int x = 0; x < w; ++x)
            EXPECT_EQ(target.GetPixel(x, 0), x % 2 ? 0x1142u : 0u);
    }
}

TEST(BlitRules, ScaledBlitsPickNearestLowerColumns)
{
    for (PixelFormat format : {PF_INDEX8, PF_RGB565, PF_RGB24, PF_RGB32}) {
        CDibSection source, target;
        EXPECT_EQ(source.Create(10, 1, format), DIB_OK);
        EXPECT_EQ(target.Create(4, 2, format), DIB_OK);
        for (int x = 0; x < 10; ++x)
            source.SetPixel(x, 0, uint32_t(x + 1));
        ASSERT_EQ(source.Blit(&target, 0, 0, 4, 1, 0, 0, 10, 1, 0, 0), DIB_OK);
        ASSERT_EQ(source.Blit(&target, 0, 1, 4, 1, 0, 0, 10, 1, BLIT_MIRROR_X, 0), DIB_OK);
        const uint32_t forward[4] = {1, 3, 6, 8}, mirrored[4] = {10, 8, 5, 3};
        for (int j = 0; j < 4; ++j) {
            EXPECT_EQ(target.GetPixel(j, 0), forward[j]);
            EXPECT_EQ(target.GetPixel(j, 1), mirrored[j]);
        }
    }
}

TEST(BlitRules, AlphaImageMustFitTheSource)
{
    CDibContext context;
    CDibSection source, target, small, wide;
    EXPECT_EQ(source.Create(4, 2, PF_RGB555), DIB_OK);
    EXPECT_EQ(target.Create(4, 2, PF_RGB555), DIB_OK);
    EXPECT_EQ(small.Create(3, 2, PF_INDEX8), DIB_OK);
    EXPECT_EQ(wide.Create(4, 2, PF_RGB555), DIB_OK);
    source.FillRect(0, 0, 4, 2, 0x7FFF);
    small.FillRect(0, 0, 3, 2, 255);
    for (CDib* alpha : {static_cast<CDib*>(&small), static_cast<CDib*>(&wide), static_cast<CDib*>(nullptr)}) {
        for (uint32_t flags : {BLIT_ALPHA, BLIT_ALPHA_STIPPLE}) {
            EXPECT_EQ(source.Blit(&target, 0, 0, 4, 2, 0, 0, 4, 2, flags, reinterpret_cast<BlitExtra>(alpha)),
                      DIB_OK);
            EXPECT_EQ(target.GetPixel(3, 1), 0u);
        }
    }
}

TEST(BlitRules, TargetOfAnotherPixelSizeIsNotDrawn)
{
    CDibContext context;
    CGuardedImage source(8, 8, PF_RGB32), target(8, 8, PF_INDEX8);
    std::mt19937 random(3);
    FillImage(source, random, 1);
    EXPECT_EQ(source.Blit(&target, 0, 0, 8, 8, 0, 0, 8, 8, 0, 0), DIB_OK);
    EXPECT_TRUE(target.Intact());
    EXPECT_EQ(target.At(7, 7), 0u);
}

// An image whose pixels cannot be reached, as a compressed picture's cannot.
class CRefusingImage : public CGuardedImage {
public:
    using CGuardedImage::CGuardedImage;
    DibResult Lock(uint8_t**, int*) override { return DIB_COMPRESSED; }
};

TEST(BlitRules, LockFailuresAreReported)
{
    CGuardedImage image(4, 4, PF_INDEX8);
    CRefusingImage refusing(4, 4, PF_INDEX8);
    EXPECT_EQ(refusing.Blit(&image, 0, 0, 4, 4, 0, 0, 4, 4, 0, 0), DIB_COMPRESSED);
    EXPECT_EQ(image.Blit(&refusing, 0, 0, 4, 4, 0, 0, 4, 4, 0, 0), DIB_COMPRESSED);
    EXPECT_EQ(image.GetUseCount(), 0); // the source was unlocked again
}

} // namespace
