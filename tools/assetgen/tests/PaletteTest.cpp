// The 8-bit palettes and how pictures are written in them: displayable
// colours, the banked reduction, selective dithering, the check through the
// game's own colour search, and the palettes made from a small set of
// generated pictures.

#include "gamedata/DataFiles.h"
#include "gamedata/HuntTables.h"
#include "gamedata/ScreenTables.h"
#include "generators/Generators.h"
#include "paint/RgbaImage.h"
#include "palette/CContextPalettes.h"
#include "palette/CPaletteBuilder.h"
#include "palette/CPaletteCheck.h"
#include "palette/CPictureMapper.h"
#include "palette/HighColour.h"
#include "palette/PaletteColours.h"
#include "palette/ScreenTime.h"
#include "palette/WrittenPicture.h"
#include "sink/CAssetSink.h"

#include "imaging/CDibPalette.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <gtest/gtest.h>
#include <set>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::array<PaletteEntry, 256> PaletteOf(const std::vector<uint32_t>& colours)
{
    std::array<PaletteEntry, 256> entries{};
    for (size_t i = 0; i < colours.size() && i + 1 < 256; ++i)
        entries[i + 1] = {uint8_t(colours[i] >> 16), uint8_t(colours[i] >> 8), uint8_t(colours[i]), 0};
    return entries;
}

// Entries 1 .. count may be used.
std::vector<bool> UsableUpTo(int count)
{
    std::vector<bool> usable(256, false);
    for (int i = 1; i <= count; ++i)
        usable[size_t(i)] = true;
    return usable;
}

} // namespace

TEST(HighColour, DisplayableColoursShowUnchangedAndEveryColourHasANearOne)
{
    for (int v = 0; v < 256; ++v) {
        const uint8_t near = NearestHighColourChannel(v);
        EXPECT_LE(std::abs(near - v), 4 + 7 * (v > 248)) << v; // at most half a step, or the top's missing part
        const uint32_t grey = uint32_t(near) * 0x010101;
        EXPECT_EQ(HighColourOf(grey), grey) << v;
    }
    // High colour keeps the top five bits: a colour shows as its level.
    EXPECT_EQ(HighColourOf(0x0F0F0F), uint32_t(WidenedLevel(1)) * 0x010101);
    EXPECT_EQ(NearestHighColour(0xFFFFFF), HighColourOf(0xFFFFFF));
}

TEST(PaletteBuilder, FixedColoursStayAndFreeBanksServeOnlyTheirDomains)
{
    CPaletteBuilder builder;
    const int reds = builder.AddDomain(), blues = builder.AddDomain();
    const int fixed = builder.AddFixedBank({0x00F800}, {reds, blues});
    const int shared = builder.AddFreeBank(2, reds, {reds, blues});
    const int own = builder.AddFreeBank(2, blues, {blues});
    for (int i = 0; i < 8; ++i) {
        builder.Add(reds, uint32_t(0x800000 + i * 0x100000), 1.0);
        builder.Add(blues, uint32_t(0x000080 + i * 0x000010), 1.0);
    }
    builder.Build();
    ASSERT_EQ(builder.BankColours(fixed), std::vector<uint32_t>{0x00F800});
    // The reds can only use the shared bank, so it goes to them.
    for (uint32_t c : builder.BankColours(shared))
        EXPECT_GT(c >> 16 & 0xFF, 0x60u) << std::hex << c;
    for (uint32_t c : builder.BankColours(own))
        EXPECT_GT(c & 0xFF, 0x60u) << std::hex << c;
    for (int b : {shared, own})
        for (uint32_t c : builder.BankColours(b))
            EXPECT_EQ(NearestHighColour(c), c) << "not displayable: " << std::hex << c;
    EXPECT_LT(builder.SquaredError(reds, 0x800000), builder.SquaredError(reds, 0x0000F8));
}

TEST(PaletteBuilder, BlackNeverComesOutOfAFreeBankAndAHeavyColourComesOutExactly)
{
    CPaletteBuilder builder;
    const int domain = builder.AddDomain();
    const int bank = builder.AddFreeBank(2, domain, {domain});
    builder.Add(domain, 0x000000, 50.0);
    builder.Add(domain, 0x020202, 50.0);
    builder.Add(domain, 0xC86428, 1000.0); // (200, 100, 40)
    builder.Add(domain, 0xD06830, 1.0);
    builder.Build();
    const std::vector<uint32_t>& colours = builder.BankColours(bank);
    EXPECT_EQ(std::count(colours.begin(), colours.end(), 0u), 0);
    EXPECT_NE(std::find(colours.begin(), colours.end(), NearestHighColour(0xC86428)), colours.end());
}

TEST(PaletteBuilder, AGameSearchedDomainIsServedThroughTheOctree)
{
    // Colours just below a bit boundary with one free colour above it: the
    // octree search, unlike the exact one, cannot reach the free colour
    // from the fixed black's side unless the reduction moves it there.
    CPaletteBuilder builder;
    const int domain = builder.AddDomain(CPaletteBuilder::Search::Game);
    builder.AddFixedBank({0x000000}, {domain});
    builder.AddFreeBank(1, domain, {domain});
    builder.Add(domain, 0x787878, 10.0);
    builder.Build();
    EXPECT_LT(builder.SquaredError(domain, 0x787878), 3 * 8 * 8);
}

TEST(PictureMapper, FlatAreasAndEdgesTakeTheNearestColourAndGradientsAreDiffused)
{
    const auto entries = PaletteOf({0x404040, 0x808080, 0xC0C0C0, 0xF80000});
    CPictureMapper mapper(entries.data(), UsableUpTo(4));
    // A flat field between two entries stays one colour: no pattern.
    RgbaImage flat(16, 16, Rgb(0x58, 0x58, 0x58));
    const std::vector<uint8_t> flatIndices = CPictureMapper(entries.data(), UsableUpTo(4)).Map(flat, Dithering::Smooth);
    EXPECT_EQ(std::set<uint8_t>(flatIndices.begin(), flatIndices.end()), std::set<uint8_t>{1});
    // A slow ramp from 0x40 to 0xC0: dithered, so the mean of each column
    // follows the ramp instead of stepping.
    RgbaImage ramp(128, 32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 128; ++x)
            ramp.Set(x, y, Rgb(0x40 + x, 0x40 + x, 0x40 + x));
    const std::vector<uint8_t> rampIndices = mapper.Map(ramp, Dithering::Smooth);
    double worstMean = 0;
    for (int x = 8; x < 120; x += 8) {
        double sum = 0;
        for (int y = 0; y < 32; ++y)
            for (int dx = 0; dx < 8; ++dx)
                sum += entries[rampIndices[size_t(y) * 128 + x + dx]].red;
        worstMean = std::max(worstMean, std::fabs(sum / 256 - (0x40 + x + 3.5)));
    }
    EXPECT_LT(worstMean, 12.0) << "a dithered ramp keeps its mean (the nearest colour would be 32 off)";
    // Without dithering the same ramp is plain nearest colour.
    const std::vector<uint8_t> nearest = mapper.Map(ramp, Dithering::None);
    EXPECT_EQ(nearest[5], 1);
    EXPECT_EQ(nearest[127], 3);
    // A hard edge: red next to grey, each the exact entry, no red speckles.
    RgbaImage edge(8, 8, Rgb(0x80, 0x80, 0x80));
    edge.FillRect(4, 0, 4, 8, Rgb(0xF8, 0, 0));
    const std::vector<uint8_t> edgeIndices = mapper.Map(edge, Dithering::Smooth);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            EXPECT_EQ(edgeIndices[size_t(y) * 8 + x], x < 4 ? 2 : 4);
}

TEST(PictureMapper, TransparentPixelsTakeIndexZeroAndVisibleOnesNever)
{
    const auto entries = PaletteOf({0x080808, 0xF8F8F8});
    std::vector<bool> usable = UsableUpTo(2);
    RgbaImage image(4, 4);
    image.Set(1, 1, Rgb(0, 0, 0));  // opaque black: the nearest usable entry, not the key
    image.Set(2, 2, Rgb(255, 255, 255));
    const std::vector<uint8_t> indices = CPictureMapper(entries.data(), usable).Map(image, Dithering::Smooth);
    for (int i = 0; i < 16; ++i) {
        const int x = i % 4, y = i / 4;
        if ((x == 1 && y == 1) || (x == 2 && y == 2))
            EXPECT_NE(indices[size_t(i)], 0);
        else
            EXPECT_EQ(indices[size_t(i)], 0);
    }
    EXPECT_EQ(indices[5], 1);
    // Entries a picture may not use are never chosen.
    usable[1] = false;
    EXPECT_EQ(CPictureMapper(entries.data(), usable).Map(image, Dithering::None)[5], 2);
}

TEST(ScreenTime, TheGroundFillsTheLowerHalfAndMostOfItIsNear)
{
    const std::vector<double> levels = GroundPixelsByHazeLevel();
    ASSERT_EQ(levels.size(), size_t(kHazeLevels));
    double total = 0;
    for (double pixels : levels)
        total += pixels;
    EXPECT_NEAR(total, 640.0 * 240, 1e-6);
    EXPECT_GT(levels[0], total * 0.8); // rows nearer than 1500 units
    EXPECT_GT(levels[32], 0);
    EXPECT_GT(PanoramaPixelWeight(239, 240), PanoramaPixelWeight(0, 240));
}

TEST(WrittenPicture, HazeMovesTowardsLightGreyAsTheRendererDoes)
{
    EXPECT_EQ(Hazed(0x102030, 0), 0x102030u);
    // Level 32: 35% of the way, truncated towards zero.
    const int r = 0x10 + int((224 - 0x10) * 0.35), b = 0xF0 + int((224 - 0xF0) * 0.35);
    EXPECT_EQ(Hazed(0x1000F0, 32), uint32_t(r) << 16 | uint32_t(int(224 * 0.35)) << 8 | uint32_t(b));
}

TEST(WrittenPicture, OwnColoursAreDisplayableAndMeetTheGameSearchHalfway)
{
    RecordedPicture sprite{"animals\\test.bmp", RgbaImage(8, 8), GROUP_HUNT, 1, PictureStorage::Trle8,
                           PaletteUse::Own};
    sprite.image.FillRect(2, 0, 4, 8, Rgb(120, 120, 120));
    WrittenPicture written = InOwnColours(sprite);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            const uint8_t index = written.indices[size_t(y) * 8 + x];
            EXPECT_EQ(index != 0, x >= 2 && x < 6);
            if (index) {
                EXPECT_EQ(HighColourOf(ColourOf(written.palette[index])), ColourOf(written.palette[index]));
            }
        }
    // The octree of this context takes (120, 120, 120), just below the top
    // bit, to black; one step up it finds (128, 128, 128) exactly.
    const auto context = PaletteOf({0x808080, 0xF8F8F8});
    CDibPalette* palette = NewPalette(context.data());
    auto worst = [&] {
        int error = 0;
        for (uint8_t index : written.indices)
            if (index) {
                const PaletteEntry& e = written.palette[index];
                const PaletteEntry& found = context[size_t(palette->NearestIndex(e.red, e.green, e.blue))];
                error = std::max({error, std::abs(found.red - e.red), std::abs(found.green - e.green),
                                  std::abs(found.blue - e.blue)});
            }
        return error;
    };
    const int before = worst();
    SuitGameSearch(written, {palette});
    EXPECT_EQ(before, 120);
    EXPECT_LE(worst(), 8); // within a step of what the search finds
    palette->Release();
}

namespace {

// A small data set with the shapes that matter: a menu backdrop with a sky,
// a one-pixel checkerboard tint over the hunt, a keyed surface with
// near-black, binoculars with a lens, a pointer shown everywhere, a panorama
// and a ground, and a sprite in its own colours.
std::vector<RecordedPicture> SmallDataSet()
{
    std::vector<RecordedPicture> pictures;
    RgbaImage backdrop(64, 48);
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x)
            backdrop.Set(x, y, y < 24 ? Rgb(60 + y * 3, 110 + y * 3, 200) : Rgb(180, 150, 90 + x % 7));
    pictures.push_back({ItemOf(ScreenId::MainMenu, MainMenuItem::Background).picture, backdrop, GROUP_MENU, 1, PictureStorage::Trle8, PaletteUse::Context});
    RgbaImage tint(32, 32);
    for (int y = 0; y < 32; ++y)
        for (int x = (y + 1) % 2; x < 32; x += 2)
            tint.Set(x, y, Rgb(110, 0, 0));
    pictures.push_back({ItemOf(ScreenId::EndKilled, 0).picture, tint, GROUP_HUNT, 1, PictureStorage::Plain8, PaletteUse::Context});
    RgbaImage dark(24, 24);
    for (int y = 4; y < 24; ++y)
        for (int x = 0; x < 24; ++x)
            dark.Set(x, y, Rgb(14 + x / 8, 14 + x / 8, 16 + x / 8));
    pictures.push_back({kWeapons[WEAPON_RIFLE].smokePicture, dark, GROUP_HUNT, 1, PictureStorage::Plain8, PaletteUse::Context});
    RgbaImage bino(260, 240);
    for (int y = 60; y < 240; ++y)
        for (int x = 0; x < 260; ++x)
            bino.Set(x, y, std::hypot(x - 200, y - 200) < 30 ? Rgb(255, 0, 255) : Rgb(22, 22, 24));
    pictures.push_back({kBinocularPicture, bino, GROUP_HUNT, 1, PictureStorage::Plain8, PaletteUse::Context});
    RgbaImage cursor(4, 4);
    cursor.Set(0, 0, Rgb(24, 18, 10));
    cursor.Set(1, 1, Rgb(255, 248, 220));
    pictures.push_back({kCursorPicture, cursor, GROUP_ALL, 1, PictureStorage::Plain8, PaletteUse::Context});
    for (uint32_t group : {GROUP_DESERT, GROUP_PLAINS, GROUP_GRASS}) {
        RgbaImage sky(64, 24);
        for (int y = 0; y < 24; ++y)
            for (int x = 0; x < 64; ++x)
                sky.Set(x, y, Rgb(70 + y * 5, 120 + y * 4, 210 - int(group)));
        const std::string n = std::to_string(group);
        pictures.push_back({"env\\back" + n + ".bmp", sky, group, 1, PictureStorage::Plain8, PaletteUse::Context});
        RgbaImage ground(256, 256);
        for (int y = 0; y < 256; ++y)
            for (int x = 0; x < 256; ++x)
                ground.Set(x, y, Rgb(120 + (x * 7 + y * 3) % 40, 110 + int(group) * 4 + (x + y) % 20, 60));
        pictures.push_back({"env\\grass" + n + ".bmp", ground, group, 1, PictureStorage::Plain8, PaletteUse::Ground});
    }
    RgbaImage sprite(16, 16);
    for (int y = 0; y < 16; ++y)
        for (int x = 4; x < 12; ++x)
            sprite.Set(x, y, Rgb(150 + y * 4, 120 + x * 3, 130));
    pictures.push_back({AnimalKindOf(ANIMAL_HIPPO).strips[0], sprite, GROUP_HUNT, 1, PictureStorage::Trle8, PaletteUse::Own});
    return pictures;
}

// The pictures that keep their own colours, and the palettes made from all.
void BuildPalettes(const std::vector<RecordedPicture>& pictures, std::vector<WrittenPicture>& written,
                   CContextPalettes& palettes)
{
    written.assign(pictures.size(), WrittenPicture{});
    for (size_t i = 0; i < pictures.size(); ++i)
        if (pictures[i].use != PaletteUse::Context)
            written[i] = InOwnColours(pictures[i]);
    palettes.Build(pictures, written);
}

} // namespace

TEST(ContextPalettes, PalettesShareWhatTheyMustAndTheCheckFindsEveryPictureExact)
{
    const std::vector<RecordedPicture> pictures = SmallDataSet();
    std::vector<WrittenPicture> written;
    CContextPalettes palettes;
    BuildPalettes(pictures, written, palettes);

    // Entry 0 is the only black; the pointer's colours sit at the same
    // entries everywhere; the colours over the hunt are shared by all three
    // scenario palettes.
    std::array<PaletteEntry, 256> over, everywhere;
    std::vector<bool> overUsable, everywhereUsable;
    ASSERT_TRUE(palettes.PaletteFor(GROUP_HUNT, over, overUsable));
    ASSERT_TRUE(palettes.PaletteFor(GROUP_ALL, everywhere, everywhereUsable));
    for (int c = 0; c < CContextPalettes::kContexts; ++c) {
        const auto& palette = palettes.Palette(c);
        EXPECT_EQ(ColourOf(palette[0]), 0u);
        for (int i = 1; i < 256; ++i) {
            EXPECT_NE(ColourOf(palette[size_t(i)]), 0u) << "context " << c << " entry " << i;
            if (everywhereUsable[size_t(i)]) {
                EXPECT_EQ(ColourOf(palette[size_t(i)]), ColourOf(everywhere[size_t(i)]));
            }
            if (c > 0 && overUsable[size_t(i)]) {
                EXPECT_EQ(ColourOf(palette[size_t(i)]), ColourOf(over[size_t(i)]));
            }
        }
    }
    // The checkerboard's colour is in the palettes it is shown with, although
    // every pixel with both coordinates even is transparent.
    for (int c = 1; c < CContextPalettes::kContexts; ++c) {
        const auto& palette = palettes.Palette(c);
        EXPECT_TRUE(std::any_of(palette.begin(), palette.end(),
                                [](const PaletteEntry& e) { return ColourOf(e) == NearestHighColour(0x6E0000); }));
    }

    for (size_t i = 0; i < pictures.size(); ++i)
        if (pictures[i].use == PaletteUse::Context) {
            std::vector<bool> usable;
            written[i].source = &pictures[i];
            ASSERT_TRUE(palettes.PaletteFor(pictures[i].groups, written[i].palette, usable));
            if (pictures[i].name == kBinocularPicture)
                usable[size_t(palettes.LensIndex())] = false;
            written[i].indices = CPictureMapper(written[i].palette.data(), usable).Map(pictures[i].image, Dithering::Smooth);
            if (pictures[i].name == kBinocularPicture)
                for (size_t p = 0; p < written[i].indices.size(); ++p)
                    if (pictures[i].image.pixels[p] == pictures[i].image.Get(200, 200))
                        written[i].indices[p] = uint8_t(palettes.LensIndex());
        }
    CPaletteCheck check(palettes);
    for (const WrittenPicture& picture : written)
        for (const CPaletteCheck::Result& result : check.Check(picture)) {
            EXPECT_EQ(result.keyHits, 0) << result.name;
            EXPECT_EQ(result.lensHits, 0) << result.name;
            if (result.context >= 0 && picture.source->use == PaletteUse::Context) {
                EXPECT_EQ(result.worst, 0) << result.name << " is not exact in context " << result.context;
            }
        }
}

TEST(PaletteCheck, CatchesVisiblePixelsOnTheKeyAndPicturesNotShownExactly)
{
    const std::vector<RecordedPicture> pictures = SmallDataSet();
    std::vector<WrittenPicture> written;
    CContextPalettes palettes;
    BuildPalettes(pictures, written, palettes);
    CPaletteCheck check(palettes);

    // The near-black surface written with a near-black that no palette has:
    // the game's search takes (0, 0, 8) to the key's black.
    const RecordedPicture& dark = pictures[2];
    WrittenPicture bad;
    bad.source = &dark;
    bad.palette[1] = {0, 0, 8, 0};
    bad.indices.assign(dark.image.pixels.size(), 0);
    for (size_t p = 0; p < bad.indices.size(); ++p)
        if (dark.image.pixels[p] >> 24)
            bad.indices[p] = 1;
    bool keyCaught = false, exactCaught = false;
    for (const CPaletteCheck::Result& result : check.Check(bad)) {
        if (result.context < 0)
            continue;
        keyCaught = keyCaught || result.keyHits > 0;
        exactCaught = exactCaught || !result.problem.empty();
    }
    EXPECT_TRUE(keyCaught);
    EXPECT_TRUE(exactCaught);
}

TEST(GeneratePalettes, WritesThePalettePicturesAndEveryRecordedPicture)
{
    const fs::path folder = fs::temp_directory_path() / ("palettes-" + std::to_string(::getpid()));
    fs::remove_all(folder);
    {
        CAssetSink sink(folder.string(), "");
        for (const RecordedPicture& picture : SmallDataSet())
            sink.WritePicture(picture.name, picture.image, picture.groups, picture.storage, picture.frames, picture.use);
        GeneratePalettes(sink);
        EXPECT_EQ(sink.Failures(), 0);
        for (const char* name : {"menu/palMain.bmp", "menu/pal10.bmp", "menu/pal20.bmp", "menu/pal30.bmp",
                                 "menu/mback.bmp", "menu/bino.bmp", "env/grass2.bmp", "animals/hip_f.bmp"})
            EXPECT_TRUE(fs::exists(folder / name)) << name;
    }
    fs::remove_all(folder);
}
