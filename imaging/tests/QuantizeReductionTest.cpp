#include "imaging/CDibPalette.h"
#include "imaging/CDibSection.h"
#include "imaging/ColourReduction.h"
#include "imaging/SystemColours.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace {

// A 24-bit frame whose pixel (x, y) is colours[(x + y) % colours.size()].
void Fill(CDibSection& frame, int width, int height, const std::vector<uint32_t>& colours)
{
    ASSERT_EQ(frame.Create(width, height, PF_RGB24), DIB_OK);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            frame.SetPixel(x, y, colours[size_t(x + y) % colours.size()]);
}

uint32_t ColourAt(CDibSection& frame, int x, int y)
{
    const PaletteEntry& e = frame.GetPalette()->Entries()[frame.GetPixel(x, y)];
    return uint32_t(e.red) << 16 | uint32_t(e.green) << 8 | e.blue;
}

} // namespace

TEST(QuantizeSystemColours, TheTwentyStaticColoursAndTheirPlaces)
{
    const auto& fixed = SystemStaticColours();
    auto rgb = [](const PaletteEntry& e) { return uint32_t(e.red) << 16 | uint32_t(e.green) << 8 | e.blue; };
    EXPECT_EQ(rgb(fixed[0]), 0x000000u);
    EXPECT_EQ(rgb(fixed[7]), 0xC0C0C0u);
    EXPECT_EQ(rgb(fixed[8]), 0xC0DCC0u);
    EXPECT_EQ(rgb(fixed[9]), 0xA6CAF0u);
    EXPECT_EQ(rgb(fixed[10]), 0xFFFBF0u);
    EXPECT_EQ(rgb(fixed[11]), 0xA0A0A4u);
    EXPECT_EQ(rgb(fixed[13]), 0xFF0000u);
    EXPECT_EQ(rgb(fixed[19]), 0xFFFFFFu);

    CDibPalette* palette = new CDibPalette;
    ASSERT_EQ(palette->Create(256), DIB_OK);
    std::array<PaletteEntry, 256> quantized{};
    for (int i = 0; i < 256; ++i)
        quantized[size_t(i)] = {uint8_t(i), uint8_t(255 - i), 7, 0};
    palette->SetEntries(quantized.data(), 0, 256);
    ASSERT_EQ(IncludeSystemColours(palette), DIB_OK);
    const PaletteEntry* e = palette->Entries();
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(rgb(e[i]), rgb(fixed[size_t(i)]));
        EXPECT_EQ(e[i].flags, 0);
        EXPECT_EQ(rgb(e[246 + i]), rgb(fixed[size_t(10 + i)]));
    }
    for (int i = 10; i < 246; ++i) {
        EXPECT_EQ(e[i].red, i - 10); // the quantized entries 0..235, moved up
        EXPECT_EQ(e[i].green, 255 - (i - 10));
        EXPECT_EQ(e[i].flags, PALETTE_FLAG_NOCOLLAPSE);
    }
    palette->Release();
}

TEST(QuantizeSystemColours, ShorterPalettesAreLeftAlone)
{
    CDibPalette* palette = new CDibPalette;
    ASSERT_EQ(palette->Create(16), DIB_OK);
    const uint32_t version = palette->GetVersion();
    EXPECT_EQ(IncludeSystemColours(palette), DIB_OK);
    EXPECT_EQ(palette->GetVersion(), version);
    EXPECT_EQ(palette->Entries()[0].flags, 0);
    palette->Release();
    EXPECT_EQ(IncludeSystemColours(nullptr), DIB_UNSUPPORTED);
}

TEST(QuantizeReduction, FramesShareOnePaletteThatHoldsAllTheirColours)
{
    const std::vector<uint32_t> first = {0xFF0000, 0x00FF00, 0x102030}, second = {0x0000FF, 0x102030};
    for (ColourMethod method : {ColourMethod::Octree, ColourMethod::Box6, ColourMethod::KMeans}) {
        CDibSection a, b;
        Fill(a, 7, 5, first);
        Fill(b, 3, 9, second);
        b.SetFrameCount(3);
        CDib* frames[] = {&a, &b};
        ColourReductionOptions options;
        options.method = method;
        ASSERT_EQ(ReduceColours(frames, 2, options), DIB_OK);
        ASSERT_EQ(a.GetFormat(), PF_INDEX8);
        ASSERT_EQ(b.GetFormat(), PF_INDEX8);
        EXPECT_EQ(a.GetPalette(), b.GetPalette());
        EXPECT_EQ(a.GetPalette()->GetCount(), 256);
        EXPECT_EQ(b.GetFrameCount(), 3);
        // Octree and k-means keep exact colours; the box gives bin centres.
        const uint32_t mask = method == ColourMethod::Box6 ? 0xFCFCFC : 0xFFFFFF;
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 7; ++x)
                EXPECT_EQ(ColourAt(a, x, y), first[size_t(x + y) % 3] & mask);
        for (int y = 0; y < 9; ++y)
            for (int x = 0; x < 3; ++x)
                EXPECT_EQ(ColourAt(b, x, y), second[size_t(x + y) % 2] & mask);
    }
}

TEST(QuantizeReduction, SystemColoursAndErrorDiffusion)
{
    CDibSection frame;
    Fill(frame, 16, 16, {0x808080, 0x7F7F7F, 0x123456});
    CDib* frames[] = {&frame};
    ColourReductionOptions options;
    options.includeSystemColours = true;
    options.errorDiffusion = true;
    ASSERT_EQ(ReduceColours(frames, 1, options), DIB_OK);
    const PaletteEntry* e = frame.GetPalette()->Entries();
    EXPECT_EQ(e[255].red, 255);
    EXPECT_EQ(e[10].flags, PALETTE_FLAG_NOCOLLAPSE);
    EXPECT_EQ(ColourAt(frame, 2, 0), 0x123456u);
}

TEST(QuantizeReduction, PalettizedFramesAndProgressPerRow)
{
    CDibSection frame;
    ASSERT_EQ(frame.Create(4, 2, PF_INDEX8), DIB_OK);
    CDibPalette* palette = new CDibPalette;
    palette->Create(256);
    const PaletteEntry colours[2] = {{10, 20, 30, 0}, {200, 100, 0, 0}};
    palette->SetEntries(colours, 0, 2);
    EXPECT_EQ(frame.SetPalette(palette), DIB_OK);
    palette->Release();
    frame.SetPixel(3, 1, 1);
    CDib* frames[] = {&frame};
    std::vector<int> progress;
    ColourReductionOptions options;
    options.progress = [](void* argument, int percent) {
        static_cast<std::vector<int>*>(argument)->push_back(percent);
    };
    options.progressArgument = &progress;
    CDibPalette* result = nullptr;
    ASSERT_EQ(BuildReductionPalette(frames, 1, options, &result), DIB_OK);
    EXPECT_EQ(progress, (std::vector<int>{0, 50}));
    EXPECT_EQ(frame.GetFormat(), PF_INDEX8); // the frames themselves are untouched
    EXPECT_EQ(frame.GetPalette(), palette);
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(result->Entries()[0].red, 10);
    EXPECT_EQ(result->Entries()[1].red, 200);
    EXPECT_EQ(result->Entries()[2].red, 0); // unfilled entries stay zero
    result->Release();
}

TEST(QuantizeReduction, DirectColourTargets)
{
    CDibSection frame;
    Fill(frame, 5, 3, {0xFF8007, 0x000000});
    CDib* frames[] = {&frame};
    ColourReductionOptions options;
    options.target = ColourTarget::Rgb555;
    ASSERT_EQ(ReduceColours(frames, 1, options), DIB_OK);
    EXPECT_EQ(frame.GetFormat(), PF_RGB555);
    EXPECT_EQ(frame.GetPixel(0, 0), uint32_t(31 << 10 | 16 << 5 | 0));
    options.target = ColourTarget::Rgb32;
    ASSERT_EQ(ReduceColours(frames, 1, options), DIB_OK);
    EXPECT_EQ(frame.GetFormat(), PF_RGB32);
    EXPECT_EQ(frame.GetPixel(0, 0), 0xF88000u);
    options.target = ColourTarget::Rgb565;
    ASSERT_EQ(ReduceColours(frames, 1, options), DIB_OK);
    EXPECT_EQ(frame.GetFormat(), PF_RGB565);
    options.target = ColourTarget::Rgb24;
    ASSERT_EQ(ReduceColours(frames, 1, options), DIB_OK);
    EXPECT_EQ(frame.GetFormat(), PF_RGB24);
}

TEST(QuantizeReduction, BadFramesChangeNothing)
{
    CDibSection good, empty, small;
    Fill(good, 2, 2, {0x112233});
    ASSERT_EQ(small.Create(8, 1, PF_INDEX4), DIB_OK);
    ColourReductionOptions options;
    CDib* withEmpty[] = {&good, &empty};
    EXPECT_EQ(ReduceColours(withEmpty, 2, options), DIB_NOT_CREATED);
    CDib* withNull[] = {&good, nullptr};
    EXPECT_EQ(ReduceColours(withNull, 2, options), DIB_UNSUPPORTED);
    CDib* withSmall[] = {&good, &small};
    EXPECT_EQ(ReduceColours(withSmall, 2, options), DIB_UNSUPPORTED);
    EXPECT_EQ(good.GetFormat(), PF_RGB24);
    EXPECT_EQ(ReduceColours(nullptr, 1, options), DIB_UNSUPPORTED);
    EXPECT_EQ(ReduceColours(nullptr, 0, options), DIB_OK);
    CDib* frames[] = {&good};
    EXPECT_EQ(BuildReductionPalette(frames, 1, options, nullptr), DIB_UNSUPPORTED);
}
