#include "imaging/CDibPalette.h"


#include <cstring>
#include <vector>
#include <gtest/gtest.h>

namespace {
CDibPalette* MakePalette(int count, uint8_t step = 1)
{
    CDibPalette* palette = new CDibPalette;
    palette->Create(count);
    for (int i = 0; i < count; ++i) {
        PaletteEntry e{uint8_t(i * step), uint8_t(255 - i * step), uint8_t(i * step / 2), 0};
        palette->SetEntries(&e, i, 1);
    }
    return palette;
}
} // namespace

TEST(Palette, ResultCodesForNullEmptyAndExisting)
{
    CDibPalette palette;
    PaletteEntry e{};
    EXPECT_EQ(palette.GetEntries(nullptr, 0, 1), DIB_UNSUPPORTED);
    EXPECT_EQ(palette.GetEntries(&e, 0, 1), DIB_FAILED);
    EXPECT_EQ(palette.SetEntries(&e, 0, 1), DIB_FAILED);
    EXPECT_EQ(palette.CopyFrom(nullptr), DIB_UNSUPPORTED);
    CDibPalette empty;
    EXPECT_EQ(palette.CopyFrom(&empty), DIB_FAILED);
    EXPECT_EQ(palette.Create(0), DIB_FAILED);
    EXPECT_EQ(palette.Create(257), DIB_FAILED);
    EXPECT_EQ(palette.Create(4), DIB_OK);
    EXPECT_EQ(palette.Create(4), DIB_NOT_CREATED);
    EXPECT_EQ(palette.SetEntries(&e, 4, 1), DIB_FAILED); // past the end
    EXPECT_EQ(palette.NearestIndex(1, 2, 3), 0);
    EXPECT_EQ(empty.NearestIndex(1, 2, 3), -1);
    EXPECT_EQ(empty.GetConversionTable(PF_RGB555), nullptr);
}

TEST(Palette, VersionCountsEverySetEntriesAndDropsTables)
{
    CDibPalette* palette = MakePalette(256);
    const uint32_t version = palette->GetVersion();
    const void* table = palette->GetConversionTable(PF_RGB555);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(palette->GetConversionTable(PF_RGB555), table); // cached
    PaletteEntry white{255, 255, 255, 0};
    palette->SetEntries(&white, 7, 1);
    EXPECT_EQ(palette->GetVersion(), version + 1);
    const uint16_t* rebuilt = static_cast<const uint16_t*>(palette->GetConversionTable(PF_RGB555));
    EXPECT_EQ(rebuilt[7], 0x7FFF);
    palette->Release();
}

TEST(Palette, ConversionTablesPerFormat)
{
    CDibPalette palette;
    EXPECT_EQ(palette.Create(2), DIB_OK);
    PaletteEntry entries[2] = {{0x12, 0x34, 0x56, 0}, {255, 128, 7, 0}};
    EXPECT_EQ(palette.SetEntries(entries, 0, 2), DIB_OK);
    auto t555 = static_cast<const uint16_t*>(palette.GetConversionTable(PF_RGB555));
    EXPECT_EQ(t555[1], (31 << 10) | (16 << 5) | 0);
    auto t565 = static_cast<const uint16_t*>(palette.GetConversionTable(PF_RGB565));
    EXPECT_EQ(t565[0], 0x11AA);
    auto tb565 = static_cast<const uint16_t*>(palette.GetConversionTable(PF_BGR565));
    EXPECT_EQ(tb565[1], (0 << 11) | (32 << 5) | 31);
    auto t32 = static_cast<const uint32_t*>(palette.GetConversionTable(PF_RGB32));
    EXPECT_EQ(t32[0], 0x123456u);
    auto tb24 = static_cast<const uint32_t*>(palette.GetConversionTable(PF_BGR24));
    EXPECT_EQ(tb24[0], 0x563412u);
    EXPECT_EQ(t32[200], 0u); // padded to 256 entries
    EXPECT_EQ(palette.GetConversionTable(PF_INDEX4), nullptr);
}

TEST(Palette, IndexTableNeedsTwoFullPalettesAndSkipsReservedEntries)
{
    CDibPalette* source = MakePalette(256);
    CDibPalette* small = MakePalette(16);
    EXPECT_EQ(source->GetConversionTable(PF_INDEX8, small), nullptr);
    EXPECT_EQ(source->GetConversionTable(PF_INDEX8, nullptr), nullptr);

    CDibPalette* target = MakePalette(256);
    auto identity = static_cast<const uint8_t*>(source->GetConversionTable(PF_INDEX8, target));
    ASSERT_NE(identity, nullptr);
    for (int i = 0; i < 256; ++i)
        ASSERT_EQ(identity[i], i);
    EXPECT_EQ(target->GetRefCount(), 1); // the cache keeps no reference on the target

    // Reserving entry 3 of the target sends index 3 elsewhere.
    PaletteEntry reserved = target->Entries()[3];
    reserved.flags = PALETTE_FLAG_RESERVED;
    target->SetEntries(&reserved, 3, 1);
    auto remapped = static_cast<const uint8_t*>(source->GetConversionTable(PF_INDEX8, target));
    EXPECT_NE(remapped[3], 3);
    source->Release();
    EXPECT_EQ(target->GetRefCount(), 1);
    small->Release();
    target->Release();
}

TEST(Palette, InverseMapFindsEveryExactColour)
{
    CDibPalette palette;
    EXPECT_EQ(palette.Create(4), DIB_OK);
    PaletteEntry entries[4] = {{0, 0, 0, 0}, {248, 0, 0, 0}, {0, 248, 0, 0}, {0, 0, 248, 0}};
    EXPECT_EQ(palette.SetEntries(entries, 0, 4), DIB_OK);
    const uint8_t* map = palette.GetInverseMap();
    ASSERT_NE(map, nullptr);
    EXPECT_EQ(map[0], 0);
    EXPECT_EQ(map[31 << 10], 1);
    EXPECT_EQ(map[31 << 5], 2);
    EXPECT_EQ(map[31], 3);
}

TEST(Palette, CloneCopiesEntries)
{
    CDibPalette* palette = MakePalette(16, 9);
    CDibPalette* clone = palette->Clone();
    ASSERT_EQ(clone->GetCount(), 16);
    EXPECT_EQ(std::memcmp(clone->Entries(), palette->Entries(), 16 * sizeof(PaletteEntry)), 0);
    clone->Release();
    palette->Release();
}

TEST(Palette, ConvertingIntoItselfHoldsNoReferenceOnItself)
{
    CDibPalette* palette = MakePalette(256);
    auto identity = static_cast<const uint8_t*>(palette->GetConversionTable(PF_INDEX8, palette));
    ASSERT_NE(identity, nullptr);
    EXPECT_EQ(identity[77], 77);
    EXPECT_EQ(palette->GetRefCount(), 1);
    EXPECT_EQ(palette->GetConversionTable(PF_INDEX8, palette), identity);
    palette->Release(); // freed: the sanitizer build reports a leak otherwise
}

TEST(Palette, PalettesConvertingIntoEachOtherAreBothFreed)
{
    // The tables refer to each other's palettes without holding them: both
    // go at their last reference (the sanitizer build reports a leak otherwise).
    CDibPalette* a = MakePalette(256, 1);
    CDibPalette* b = MakePalette(256, 3);
    ASSERT_NE(a->GetConversionTable(PF_INDEX8, b), nullptr);
    ASSERT_NE(b->GetConversionTable(PF_INDEX8, a), nullptr);
    EXPECT_EQ(a->GetRefCount(), 1);
    EXPECT_EQ(b->GetRefCount(), 1);
    a->Release();
    b->Release();
}

TEST(Palette, IndexTablesFollowTheTargetNotItsAddress)
{
    CDibPalette* source = MakePalette(256, 1);
    // Targets come and go, possibly at the same address: each is matched by
    // its own colours, never by a table made for one that went before.
    for (int round = 0; round < 3 * int(CDibPalette::kMaxIndexTables); ++round) {
        CDibPalette* target = new CDibPalette;
        target->Create(256);
        std::vector<PaletteEntry> colours(256, PaletteEntry{uint8_t(round * 7), 0, 0, 0});
        const int wanted = round, at = (round * 37) % 255 + 1;
        colours[size_t(at)] = source->Entries()[wanted]; // the one exact match
        target->SetEntries(colours.data(), 0, 256);
        auto table = static_cast<const uint8_t*>(source->GetConversionTable(PF_INDEX8, target));
        ASSERT_NE(table, nullptr);
        EXPECT_EQ(table[wanted], at) << "round " << round;
        target->Release();
    }
    source->Release();
}

TEST(Palette, InverseMapFollowsChangedEntries)
{
    CDibPalette palette;
    EXPECT_EQ(palette.Create(2), DIB_OK);
    PaletteEntry entries[2] = {{0, 0, 0, 0}, {248, 248, 248, 0}};
    EXPECT_EQ(palette.SetEntries(entries, 0, 2), DIB_OK);
    const uint8_t* before = palette.GetInverseMap();
    ASSERT_NE(before, nullptr);
    EXPECT_EQ(before[0x7FFF], 1);
    EXPECT_EQ(before[0], 0);
    // The colours swap places: white is now entry 0.
    PaletteEntry swapped[2] = {{248, 248, 248, 0}, {0, 0, 0, 0}};
    EXPECT_EQ(palette.SetEntries(swapped, 0, 2), DIB_OK);
    const uint8_t* after = palette.GetInverseMap();
    ASSERT_NE(after, nullptr);
    EXPECT_EQ(after[0x7FFF], 0);
    EXPECT_EQ(after[0], 1);
}
