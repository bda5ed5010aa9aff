// Differential tests: every vector kernel must give its portable twin's
// pixels bit for bit, on seeded random images of every width from 1 to 67,
// odd and negative pitches, every key and mirror combination, and the levels
// where rules change. Buffers carry guard bytes, so a write outside a row
// fails the test even without the sanitizers. A failure names its seed.

#include "BlitTestSupport.h"
#include "kernels/rect/BlitKernels.h"
#include "kernels/sprite/TrleKernels.h"
#include "kernels/sprite/TrleRunKernels.h"

#include "imaging/BlitFlags.h"
#include "imaging/TrleRunCache.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

using namespace blittest;

namespace {

const BlitTier kVectorTiers[] = {BlitTier::Sse2, BlitTier::Avx2};

// Each vector tier is its own test case, reported as skipped where the
// processor cannot run it rather than passing without having compared.
class BlitSimdTier : public ::testing::TestWithParam<BlitTier> {};

INSTANTIATE_TEST_SUITE_P(VectorTiers, BlitSimdTier, ::testing::ValuesIn(kVectorTiers),
                         [](const ::testing::TestParamInfo<BlitTier>& info) {
                             return std::string(info.param == BlitTier::Sse2 ? "Sse2" : "Avx2");
                         });
const uint32_t kLevels[] = {0, 1, 128, 255, 256};

int BytesOf(BlitKernelId id)
{
    switch (id) {
    case BlitKernelId::Keyed8:
    case BlitKernelId::Stipple8: return 1;
    case BlitKernelId::Blend32Exact:
    case BlitKernelId::Alpha32Exact: return 4;
    default: return 2;
    }
}

// A source, alpha and target laid out with the given pitches (negative
// pitches start at the last row), randomly filled.
struct KernelCase {
    GuardedBytes source, alpha, target;
    BlitParams params;

    KernelCase(int bytes, int w, int h, int srcExtra, int dstExtra, bool srcUp, bool dstUp, std::mt19937& random)
        : source(size_t(w * bytes + srcExtra) * h), alpha(size_t(w + srcExtra) * h),
          target(size_t(w * bytes + dstExtra) * h)
    {
        FillRandom(source.data(), source.size(), random);
        FillRandom(target.data(), target.size(), random);
        for (size_t i = 0; i < alpha.size(); ++i)
            alpha.data()[i] = RandomOpacity(random);
        const ptrdiff_t sp = w * bytes + srcExtra, dp = w * bytes + dstExtra, ap = w + srcExtra;
        params.src = srcUp ? source.data() + (h - 1) * sp : source.data();
        params.srcPitch = srcUp ? -sp : sp;
        params.alpha = srcUp ? alpha.data() + (h - 1) * ap : alpha.data();
        params.alphaPitch = srcUp ? -ap : ap;
        params.dst = dstUp ? target.data() + (h - 1) * dp : target.data();
        params.dstPitch = dstUp ? -dp : dp;
        params.width = params.srcWidth = w;
        params.height = params.srcHeight = h;
        // Keys that occur: a source pixel and a target pixel, planted again
        // at random places.
        auto pixelAt = [&](const uint8_t* p) {
            uint32_t v = 0;
            std::memcpy(&v, p, size_t(bytes));
            return v;
        };
        params.srcKey = pixelAt(source.data() + (random() % size_t(w)) * bytes);
        params.dstKey = pixelAt(target.data() + (random() % size_t(w)) * bytes);
        for (int n = 0; n < w * h / 3; ++n) {
            std::memcpy(source.data() + random() % (source.size() / bytes) * bytes, &params.srcKey, size_t(bytes));
            std::memcpy(target.data() + random() % (target.size() / bytes) * bytes, &params.dstKey, size_t(bytes));
        }
    }
};

TEST_P(BlitSimdTier, EveryVectorKernelMatchesItsPortableTwin)
{
    const BlitTier tier = GetParam();
    if (!TierSupported(tier))
        GTEST_SKIP() << "this processor cannot run the tier";
    for (int idValue = 0; idValue < int(BlitKernelId::Count); ++idValue) {
        const BlitKernelId id = BlitKernelId(idValue);
        const BlitKernel vector = kBlitKernels.At(tier, id);
        if (!vector)
            continue;
        const BlitKernel twin = kBlitKernels.At(BlitTier::Portable, id);
        ASSERT_NE(twin, nullptr);
        const int bytes = BytesOf(id);
        for (uint32_t seed = 0; seed < 67 * 6; ++seed) {
            std::mt19937 random(seed * 7919 + idValue);
            const int w = int(seed % 67) + 1, h = int(random() % 4) + 1;
            KernelCase a(bytes, w, h, int(random() % 6), int(random() % 6), random() % 3 == 0,
                         random() % 3 == 0, random);
            a.params.flags = (random() % 4) | (random() % 2 ? BLIT_MIRROR_X : 0);
            a.params.level = seed % 7 < 5 ? kLevels[seed % 7] : random() % 257;
            a.params.dstX = int(random() % 16);
            a.params.dstY = int(random() % 16);
            // The second run: the same bytes, re-pointed.
            KernelCase b = a;
            b.params.src = b.source.data() + (a.params.src - a.source.data());
            b.params.alpha = b.alpha.data() + (a.params.alpha - a.alpha.data());
            b.params.dst = b.target.data() + (a.params.dst - a.target.data());
            twin(a.params);
            vector(b.params);
            SCOPED_TRACE("tier " + std::to_string(int(tier)) + " kernel " + std::to_string(idValue) + " seed " +
                         std::to_string(seed) + " width " + std::to_string(w) + " flags " +
                         std::to_string(a.params.flags) + " level " + std::to_string(a.params.level));
            ASSERT_TRUE(b.target.Intact());
            ASSERT_EQ(std::memcmp(a.target.data(), b.target.data(), a.target.size()), 0);
        }
    }
}

TEST_P(BlitSimdTier, BlendFillMatchesItsPortableTwin)
{
    const BlitTier tier = GetParam();
    if (!TierSupported(tier))
        GTEST_SKIP() << "this processor cannot run the tier";
    for (BlendFillId id : {BlendFillId::Exact555, BlendFillId::Exact565}) {
        const BlendFillKernel vector = kBlendFillKernels.At(tier, id);
        const BlendFillKernel twin = kBlendFillKernels.At(BlitTier::Portable, id);
        ASSERT_TRUE(vector && twin);
        for (uint32_t seed = 0; seed < 67 * 3; ++seed) {
            std::mt19937 random(seed);
            const int w = int(seed % 67) + 1, h = int(random() % 3) + 1, x = int(random() % 5);
            const int pitch = (x + w) * 2 + int(random() % 5);
            GuardedBytes a(size_t(pitch) * h);
            FillRandom(a.data(), a.size(), random);
            GuardedBytes b = a;
            const uint32_t colour = random() & 0xFFFF;
            const uint32_t level = seed % 7 < 5 ? kLevels[seed % 7] : random() % 257;
            twin(a.data(), pitch, x, 0, w, h, colour, level);
            vector(b.data(), pitch, x, 0, w, h, colour, level);
            SCOPED_TRACE("seed " + std::to_string(seed));
            ASSERT_TRUE(b.Intact());
            ASSERT_EQ(std::memcmp(a.data(), b.data(), a.size()), 0);
        }
    }
}

// A random "TRLE" data area: per row a skip and a count within the width,
// the stored indices about one in five zero.
std::vector<uint8_t> RandomSprite(int width, int height, std::mt19937& random)
{
    std::vector<uint8_t> data(16 + size_t(height) * 8);
    for (int row = 0; row < height; ++row) {
        const int skip = int(random() % uint32_t(width + 1));
        const int count = int(random() % uint32_t(width - skip + 1));
        uint8_t* entry = data.data() + 16 + row * 8;
        const uint32_t offset = uint32_t(data.size());
        std::memcpy(entry, &offset, 4);
        const uint16_t s = uint16_t(skip), c = uint16_t(count);
        std::memcpy(entry + 4, &s, 2);
        std::memcpy(entry + 6, &c, 2);
        // Rows of short runs, and rows of runs long enough for the widest
        // moves.
        const uint32_t gapEvery = random() % 2 ? 5 : 80;
        for (int i = 0; i < count; ++i)
            data.push_back(random() % gapEvery == 0 ? 0 : uint8_t(random() % 255 + 1));
    }
    return data;
}

int TrleBytes(TrleKernelId id)
{
    switch (id) {
    case TrleKernelId::Rgb16: return 2;
    case TrleKernelId::Rgb24: return 3;
    case TrleKernelId::Rgb32: return 4;
    default: return 1;
    }
}

TEST_P(BlitSimdTier, TrleKernelsMatchTheirPortableTwins)
{
    const BlitTier tier = GetParam();
    if (!TierSupported(tier))
        GTEST_SKIP() << "this processor cannot run the tier";
    for (int idValue = 0; idValue < int(TrleKernelId::Count); ++idValue) {
        const TrleKernelId id = TrleKernelId(idValue);
        const TrleKernel vector = kTrleKernels.At(tier, id);
        if (!vector)
            continue;
        const TrleKernel twin = kTrleKernels.At(BlitTier::Portable, id);
        const int bytes = TrleBytes(id);
        for (uint32_t seed = 0; seed < 67 * 8; ++seed) {
            std::mt19937 random(seed * 31 + idValue);
            const int width = int(seed % 67) + 1, height = int(random() % 6) + 1;
            const std::vector<uint8_t> sprite = RandomSprite(width, height, random);
            std::vector<uint8_t> table(256 * 4);
            if (id == TrleKernelId::Index8Identity)
                for (int i = 0; i < 256; ++i)
                    table[i] = uint8_t(i);
            else
                FillRandom(table.data(), table.size(), random);

            TrleParams p;
            p.data = sprite.data();
            p.dataSize = sprite.size();
            p.table = table.data();
            p.srcX = int(random() % uint32_t(width));
            p.srcY = int(random() % uint32_t(height));
            p.srcWidth = int(random() % uint32_t(width - p.srcX)) + 1;
            p.srcHeight = int(random() % uint32_t(height - p.srcY)) + 1;
            // Half unscaled, half scaled either way (up to 80 columns).
            const bool scaled = random() % 2;
            p.width = scaled ? int(random() % 80) + 1 : p.srcWidth;
            p.height = scaled ? int(random() % 9) + 1 : p.srcHeight;
            p.flags = BLIT_SRCKEY | (random() % 2 ? BLIT_MIRROR_X : 0) | (random() % 2 ? BLIT_MIRROR_Y : 0);
            const int pitch = p.width * bytes + int(random() % 5);
            GuardedBytes a(size_t(pitch) * p.height);
            FillRandom(a.data(), a.size(), random);
            GuardedBytes b = a;
            p.dstPitch = pitch;
            p.dst = a.data();
            twin(p);
            p.dst = b.data();
            vector(p);
            SCOPED_TRACE("tier " + std::to_string(int(tier)) + " kernel " + std::to_string(idValue) + " seed " +
                         std::to_string(seed));
            ASSERT_TRUE(b.Intact());
            ASSERT_EQ(std::memcmp(a.data(), b.data(), a.size()), 0);
        }
    }
}

TEST_P(BlitSimdTier, TrleRunKernelsMatchTheirPortableTwins)
{
    // Sprites drawn from their run caches: whole-width windows take the move
    // program, others the runs, scaled and mirrored ones the rectangle.
    const TrleRunKernelId ids[] = {TrleRunKernelId::Copy8, TrleRunKernelId::Copy16, TrleRunKernelId::Copy32};
    const BlitTier tier = GetParam();
    if (!TierSupported(tier))
        GTEST_SKIP() << "this processor cannot run the tier";
    for (int idValue = 0; idValue < 3; ++idValue) {
        const TrleRunKernel vector = kTrleRunKernels.At(tier, ids[idValue]);
        const TrleRunKernel twin = kTrleRunKernels.At(BlitTier::Portable, ids[idValue]);
        const int bytes = 1 << idValue;
        for (uint32_t seed = 0; seed < 67 * 8; ++seed) {
            std::mt19937 random(seed * 29 + idValue);
            // Up to 67 pixels, and now and then wide enough for whole
            // 32-byte blocks of 8-bit pixels after scaling.
            const int width = seed % 5 == 0 ? int(random() % 200) + 1 : int(seed % 67) + 1;
            const int height = int(random() % 6) + 1;
            const std::vector<uint8_t> sprite = RandomSprite(width, height, random);
            std::vector<uint8_t> table(256 * 4);
            FillRandom(table.data(), table.size(), random);
            TrleSpriteView view;
            view.dataArea = sprite.data();
            view.dataSize = sprite.size();
            view.width = width;
            view.height = height;
            view.format = PF_INDEX8;

            TrleRunParams p;
            const bool whole = random() % 3 == 0, scaled = !whole && random() % 2;
            p.srcX = whole ? 0 : int(random() % uint32_t(width));
            p.srcY = int(random() % uint32_t(height));
            p.srcWidth = whole ? width : int(random() % uint32_t(width - p.srcX)) + 1;
            p.srcHeight = int(random() % uint32_t(height - p.srcY)) + 1;
            p.width = scaled ? int(random() % 250) + 1 : p.srcWidth;
            p.height = scaled ? int(random() % 9) + 1 : p.srcHeight;
            p.flags = BLIT_SRCKEY | (random() % 2 ? BLIT_MIRROR_X : 0) | (random() % 2 ? BLIT_MIRROR_Y : 0);
            const int pitch = p.width * bytes + int(random() % 5);
            TrleRunCache cache;
            ASSERT_TRUE(cache.Prepare(view, table.data(), bytes, pitch));
            ASSERT_TRUE(cache.EnsureRect());
            p.dstPitch = pitch;
            UseRunCache(p, cache, width);
            GuardedBytes a(size_t(pitch) * p.height);
            FillRandom(a.data(), a.size(), random);
            GuardedBytes b = a;
            // The program's offsets count from the window's first row.
            p.dst = a.data();
            twin(p);
            p.dst = b.data();
            vector(p);
            SCOPED_TRACE("tier " + std::to_string(int(tier)) + " bytes " + std::to_string(bytes) + " seed " +
                         std::to_string(seed));
            ASSERT_TRUE(b.Intact());
            ASSERT_EQ(std::memcmp(a.data(), b.data(), a.size()), 0);
        }
    }
}

TEST(BlitSimd, TiersFallBackToTheTierBelow)
{
    // No vector tier has a 24-bit keyed copy of its own: it runs the portable one.
    EXPECT_EQ(kBlitKernels.At(BlitTier::Avx2, BlitKernelId::Keyed24), nullptr);
    EXPECT_EQ(kBlitKernels.For(BlitTier::Avx2, BlitKernelId::Keyed24),
              kBlitKernels.At(BlitTier::Portable, BlitKernelId::Keyed24));
    for (int id = 0; id < int(BlitKernelId::Count); ++id)
        EXPECT_NE(kBlitKernels.For(BlitTier::Avx2, BlitKernelId(id)), nullptr);
    EXPECT_EQ(kBlitKernels.At(BlitTier::Count, BlitKernelId::Keyed8), nullptr);
}

} // namespace
