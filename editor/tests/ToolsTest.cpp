// The Tools menu: per-frame tools, whole-sequence tools, colour depth and
// palette files, with their dialogs' limits.

#include "EditorTestSupport.h"

#include "../src/FrameTools.h"
#include "editor/CKVFEditorDoc.h"
#include "editor/PaletteFile.h"
#include "imaging/SystemColours.h"

#include <gtest/gtest.h>
#include <set>

using namespace edtest;

namespace {

// Frames named by their red value (see FrameNumbers).
void FillNamed(CKVFEditorDoc& doc, int count, int width = 4, int height = 3)
{
    for (int i = 0; i < count; ++i) {
        Bytes picture = SolidPicture(width, height, uint8_t(i * 10 + 10), 0, 0);
        ASSERT_EQ(doc.Paste(picture.data(), picture.size()), EditorStatus::Ok);
    }
}

std::vector<int> FrameNumbers(const CKVFEditorDoc& doc)
{
    std::vector<int> names;
    for (int i = 0; i < doc.GetFrameCount(); ++i)
        names.push_back(int(ColourAt(doc.GetFrame(i), 0, 0) >> 16) / 10 - 1);
    return names;
}

void FillFormat(CKVFEditorDoc& doc, PixelFormat format, int count, int width, int height)
{
    for (int i = 0; i < count; ++i) {
        Bytes picture = MakePicture(format, width, height, uint32_t(i) + 1);
        ASSERT_EQ(doc.Paste(picture.data(), picture.size()), EditorStatus::Ok);
    }
}

void SectionOf(const CStoredFrame* frame, CDibSection& section)
{
    DecodedSection(frame, section);
    ASSERT_TRUE(section.IsCreated());
}

// Index (or whole pixel) at (x, y) of a picture of any depth.
uint32_t RawPixel(CDibSection& section, int x, int y)
{
    const uint32_t bits = PixelFormatBits(section.GetFormat());
    const uint8_t* row = section.Bits() + ptrdiff_t(y) * section.Pitch();
    if (bits >= 8)
        return section.GetPixel(x, y);
    const uint32_t perByte = 8 / bits, shift = 8 - bits * (uint32_t(x) % perByte + 1);
    return (row[uint32_t(x) / perByte] >> shift) & ((1u << bits) - 1);
}

} // namespace

TEST(ToolsTest, TimeStretchRepeatsOrDropsFrames)
{
    struct Case {
        int from, to;
        std::vector<int> expected;
    };
    for (const Case& c : {Case{4, 8, {0, 0, 1, 1, 2, 2, 3, 3}}, Case{8, 4, {0, 2, 4, 6}}, Case{3, 5, {0, 0, 1, 1, 2}}}) {
        CKVFEditorDoc doc;
        FillNamed(doc, c.from);
        ASSERT_EQ(doc.TimeStretch(TimeStretchParams{c.to}), EditorStatus::Ok);
        EXPECT_EQ(FrameNumbers(doc), c.expected) << c.from << " to " << c.to;
        EXPECT_EQ(doc.GetCurrentFrame(), 0);
        EXPECT_TRUE(doc.IsModified());
    }
    CKVFEditorDoc doc;
    FillNamed(doc, 2);
    EXPECT_EQ(doc.TimeStretch(TimeStretchParams{0}), EditorStatus::BadParameters);
    EXPECT_EQ(doc.TimeStretch(TimeStretchParams{10001}), EditorStatus::BadParameters);
    EXPECT_EQ(doc.GetFrameCount(), 2);
}

TEST(ToolsTest, ReverseTurnsTheOrderAroundAndGoesToFrameZero)
{
    CKVFEditorDoc doc;
    FillNamed(doc, 4);
    ASSERT_EQ(doc.Reverse(), EditorStatus::Ok);
    EXPECT_EQ(FrameNumbers(doc), (std::vector<int>{3, 2, 1, 0}));
    EXPECT_EQ(doc.GetCurrentFrame(), 0);
}

TEST(ToolsTest, FadeFactorsRunEvenlyBetweenTheEnds)
{
    std::vector<int> in, out;
    for (int i = 0; i < 5; ++i) {
        in.push_back(FadeFactor(i, 5, true));
        out.push_back(FadeFactor(i, 5, false));
    }
    EXPECT_EQ(in, (std::vector<int>{0, 64, 128, 192, 256}));
    EXPECT_EQ(out, (std::vector<int>{256, 192, 128, 64, 0}));
    EXPECT_EQ(FadeFactor(1, 3, true), 128);
    EXPECT_EQ(FadeFactor(1, 4, true), 85); // integer division
}

TEST(ToolsTest, FadeInScalesEveryPixelButTheBackground)
{
    CKVFEditorDoc doc;
    const EditorColour background{10, 20, 30};
    for (int i = 0; i < 5; ++i) {
        CDibSection section;
        EXPECT_EQ(section.Create(2, 1, PF_RGB24), DIB_OK);
        section.SetPixel(0, 0, 0xC86432); // red 200, green 100, blue 50
        section.SetPixel(1, 0, 0x0A141E); // the background
        Bytes picture = PackedBytes(section);
        ASSERT_EQ(doc.Paste(picture.data(), picture.size()), EditorStatus::Ok);
    }
    RecordingProgress progress;
    ASSERT_EQ(doc.FadeIn(background, &progress), EditorStatus::Ok);
    const int factors[5] = {0, 64, 128, 192, 256};
    for (int i = 0; i < 5; ++i) {
        const uint32_t f = uint32_t(factors[i]);
        EXPECT_EQ(ColourAt(doc.GetFrame(i), 0, 0), (200 * f >> 8) << 16 | (100 * f >> 8) << 8 | (50 * f >> 8)) << i;
        EXPECT_EQ(ColourAt(doc.GetFrame(i), 1, 0), 0x0A141Eu) << i;
    }
    EXPECT_EQ(doc.GetCurrentFrame(), 4);
    ASSERT_GE(progress.log.size(), 3u);
    EXPECT_EQ(progress.log.front(), "begin Processing ...");
    EXPECT_EQ(progress.log[1], "message Processing frame 0 out of 5 ...");
    EXPECT_EQ(progress.log[4], "position 20");
    EXPECT_EQ(progress.log.back(), "end");

    ASSERT_EQ(doc.Undo(), EditorStatus::Ok);
    ASSERT_EQ(doc.FadeOut(background), EditorStatus::Ok);
    EXPECT_EQ(ColourAt(doc.GetFrame(0), 0, 0), 0xC86432u);
    EXPECT_EQ(ColourAt(doc.GetFrame(4), 0, 0), 0u);

    // One frame: nothing to fade between.
    CKVFEditorDoc single;
    FillNamed(single, 1);
    EXPECT_EQ(single.FadeIn(background), EditorStatus::NothingToDo);
    EXPECT_FALSE(single.CanRedo());
}

TEST(ToolsTest, MirrorAndFlipMoveEveryPixelAtEveryDepth)
{
    for (PixelFormat format : AllFormats()) {
        CKVFEditorDoc doc;
        FillFormat(doc, format, 2, 9, 5);
        CDibSection before;
        SectionOf(doc.GetFrame(1), before);
        ASSERT_EQ(doc.Mirror(), EditorStatus::Ok);
        CDibSection mirrored;
        SectionOf(doc.GetFrame(1), mirrored);
        ASSERT_EQ(doc.Flip(), EditorStatus::Ok);
        CDibSection flipped;
        SectionOf(doc.GetFrame(1), flipped);
        ASSERT_EQ(mirrored.GetFormat(), format);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 9; ++x) {
                EXPECT_EQ(RawPixel(mirrored, x, y), RawPixel(before, 8 - x, y)) << std::hex << format;
                EXPECT_EQ(RawPixel(flipped, x, y), RawPixel(before, 8 - x, 4 - y)) << std::hex << format;
            }
    }
}

TEST(ToolsTest, InvertTurnsEveryChannelAround)
{
    CKVFEditorDoc doc;
    Bytes picture = SolidPicture(3, 2, 200, 100, 0);
    doc.Paste(picture.data(), picture.size());
    ASSERT_EQ(doc.Invert(), EditorStatus::Ok);
    EXPECT_EQ(ColourAt(doc.GetFrame(0), 2, 1), 0x379BFFu);

    // An indexed frame maps the inverted colours back to its own palette.
    CDibSection section;
    FillSection(section, PF_INDEX8, 2, 1, 3);
    PaletteEntry entries[256] = {};
    entries[1] = {255, 0, 0, 0};
    entries[2] = {0, 255, 255, 0};
    section.GetPalette()->SetEntries(entries, 0, 256);
    section.SetPixel(0, 0, 1);
    section.SetPixel(1, 0, 2);
    Bytes indexed = PackedBytes(section);
    doc.Paste(indexed.data(), indexed.size());
    ASSERT_EQ(doc.Invert(), EditorStatus::Ok);
    EXPECT_EQ(ColourAt(doc.GetFrame(1), 0, 0), 0x00FFFFu);
    EXPECT_EQ(ColourAt(doc.GetFrame(1), 1, 0), 0xFF0000u);
}

TEST(ToolsTest, ResizeStretchesAndRefusesSizesOutsideItsLimits)
{
    CKVFEditorDoc doc;
    FillFormat(doc, PF_INDEX4, 2, 3, 2);
    CDibSection before;
    SectionOf(doc.GetFrame(0), before);
    ASSERT_EQ(doc.Resize(ResizeParams{6, 4}), EditorStatus::Ok);
    CDibSection after;
    SectionOf(doc.GetFrame(0), after);
    ASSERT_EQ(after.GetWidth(), 6);
    ASSERT_EQ(after.GetHeight(), 4);
    EXPECT_EQ(after.GetFormat(), PF_INDEX4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ(RawPixel(after, x, y), RawPixel(before, x / 2, y / 2));

    const DocumentState state = Snapshot(doc);
    EXPECT_EQ(doc.Resize(ResizeParams{0, 4}), EditorStatus::BadParameters);
    EXPECT_EQ(doc.Resize(ResizeParams{4, 30001}), EditorStatus::BadParameters);
    // Allowed by the dialog, but 30000 × 30000 is beyond what a frame may take.
    CKVFEditorDoc deep;
    FillFormat(deep, PF_RGB32, 1, 2, 2);
    EXPECT_EQ(deep.Resize(ResizeParams{30000, 30000}), EditorStatus::TooLarge);
    EXPECT_EQ(Snapshot(doc), state);
}

TEST(ToolsTest, EnlargeCanvasPlacesThePictureOnTheBackground)
{
    CKVFEditorDoc doc;
    Bytes picture = SolidPicture(2, 2, 1, 2, 3);
    doc.Paste(picture.data(), picture.size());
    const EditorColour background{250, 240, 230};
    ASSERT_EQ(doc.EnlargeCanvas(CanvasParams{5, 4, 3, 1}, background), EditorStatus::Ok);
    const CStoredFrame* frame = doc.GetFrame(0);
    ASSERT_EQ(frame->Width(), 5);
    ASSERT_EQ(frame->Height(), 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x) {
            const bool inside = x >= 3 && y >= 1 && y < 3;
            EXPECT_EQ(ColourAt(frame, x, y), inside ? 0x010203u : 0xFAF0E6u) << x << "," << y;
        }
    // A smaller canvas crops; an offset past it shows only background.
    ASSERT_EQ(doc.EnlargeCanvas(CanvasParams{1, 1, 10000, 0}, background), EditorStatus::Ok);
    EXPECT_EQ(ColourAt(doc.GetFrame(0), 0, 0), 0xFAF0E6u);
    EXPECT_EQ(doc.EnlargeCanvas(CanvasParams{1, 1, 10001, 0}, background), EditorStatus::BadParameters);
    EXPECT_EQ(doc.EnlargeCanvas(CanvasParams{10001, 1, 0, 0}, background), EditorStatus::BadParameters);

    // A 1-bit frame takes the nearer of its two colours as the background.
    CDibSection bilevel;
    FillSection(bilevel, PF_INDEX1, 3, 3, 1);
    PaletteEntry entries[2] = {{0, 0, 0, 0}, {255, 255, 255, 0}};
    bilevel.GetPalette()->SetEntries(entries, 0, 2);
    Bytes one = PackedBytes(bilevel);
    CKVFEditorDoc mono;
    mono.Paste(one.data(), one.size());
    ASSERT_EQ(mono.EnlargeCanvas(CanvasParams{6, 3, 3, 0}, background), EditorStatus::Ok);
    EXPECT_EQ(mono.GetFrame(0)->Format(), PF_INDEX1);
    EXPECT_EQ(ColourAt(mono.GetFrame(0), 0, 2), 0xFFFFFFu);
}

TEST(ToolsTest, RemoveAlphaChannelBlendsEachFrameWithItsBandOfTheMask)
{
    TempDir dir;
    CKVFEditorDoc doc;
    for (int i = 0; i < 2; ++i) {
        Bytes picture = SolidPicture(4, 2, 200, 0, 0);
        doc.Paste(picture.data(), picture.size());
    }
    // Frame 0's band is opaque, frame 1's transparent.
    CDibSection mask;
    FillSection(mask, PF_INDEX8, 4, 4, 1);
    mask.FillRect(0, 0, 4, 2, 255);
    mask.FillRect(0, 2, 4, 2, 0);
    WriteFile(dir.File("mask.bmp"), PackedBytes(mask));
    const EditorColour background{0, 0, 255};
    ASSERT_EQ(doc.RemoveAlphaChannel(dir.File("mask.bmp"), background), EditorStatus::Ok);
    EXPECT_EQ(ColourAt(doc.GetFrame(0), 1, 1), 0xC80000u);
    EXPECT_EQ(ColourAt(doc.GetFrame(1), 1, 1), 0x0000FFu);

    // A strip that does not fit, or is not 8-bit: silently nothing.
    const DocumentState state = Snapshot(doc);
    CDibSection shortMask;
    FillSection(shortMask, PF_INDEX8, 4, 3, 1);
    WriteFile(dir.File("short.bmp"), PackedBytes(shortMask));
    EXPECT_EQ(doc.RemoveAlphaChannel(dir.File("short.bmp"), background), EditorStatus::MaskMismatch);
    CDibSection deepMask;
    FillSection(deepMask, PF_RGB24, 4, 4, 1);
    WriteFile(dir.File("deep.bmp"), PackedBytes(deepMask));
    EXPECT_EQ(doc.RemoveAlphaChannel(dir.File("deep.bmp"), background), EditorStatus::MaskMismatch);
    EXPECT_STREQ(EditorStatusMessage(EditorStatus::MaskMismatch), "");
    EXPECT_EQ(doc.RemoveAlphaChannel(dir.File("missing.bmp"), background), EditorStatus::CannotOpenFile);
    // An encoded strip is read too.
    CDibPacked encoded;
    Bytes maskBytes = PackedBytes(mask);
    CMemoryBlock* block = CMemoryBlock::Allocate(maskBytes.size());
    std::copy(maskBytes.begin(), maskBytes.end(), block->Lock());
    block->Unlock();
    ASSERT_EQ(encoded.Attach(block), DIB_OK);
    ASSERT_EQ(encoded.Compress(TAG_PRLE), DIB_OK);
    WriteFile(dir.File("packed.bmp"), Stored(&encoded));
    ASSERT_EQ(doc.Undo(), EditorStatus::Ok);
    ASSERT_EQ(doc.RemoveAlphaChannel(dir.File("packed.bmp"), background), EditorStatus::Ok);
    EXPECT_EQ(ColourAt(doc.GetFrame(1), 1, 1), 0x0000FFu);
    Bytes other = SolidPicture(3, 2, 1, 1, 1);
    doc.Paste(other.data(), other.size());
    EXPECT_EQ(doc.RemoveAlphaChannel(dir.File("mask.bmp"), background), EditorStatus::NotSameFormat);
    doc.DeleteCurrentFrame();
    EXPECT_EQ(Snapshot(doc).frames, state.frames);
}

TEST(ToolsTest, ChangeColourDepthQuantizesAllFramesToOnePalette)
{
    CKVFEditorDoc doc;
    FillFormat(doc, PF_RGB24, 3, 8, 8);
    ColourDepthParams params;
    params.colours = 16;
    ASSERT_EQ(doc.ChangeColourDepth(params), EditorStatus::Ok);
    std::set<uint32_t> colours;
    CDibSection first;
    SectionOf(doc.GetFrame(0), first);
    for (int i = 0; i < 3; ++i) {
        CDibSection frame;
        SectionOf(doc.GetFrame(i), frame);
        ASSERT_EQ(frame.GetFormat(), PF_INDEX8);
        EXPECT_EQ(frame.ColourTable(), first.ColourTable());
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                colours.insert(frame.ColourTable()[frame.GetPixel(x, y)]);
    }
    // The quantizer fills 16 entries; the other 240 are black, which the
    // conversion may choose as well.
    std::set<uint32_t> allowed(first.ColourTable().begin(), first.ColourTable().begin() + 16);
    allowed.insert(0);
    for (uint32_t colour : colours)
        EXPECT_TRUE(allowed.count(colour)) << std::hex << colour;
    EXPECT_EQ(doc.GetCurrentFrame(), 2);

    // With the system colours, the palette starts and ends with them.
    params.includeWindowsColours = true;
    params.method = ColourMethod::Box6;
    params.errorDiffusion = true;
    ASSERT_EQ(doc.Undo(), EditorStatus::Ok);
    ASSERT_EQ(doc.ChangeColourDepth(params), EditorStatus::Ok);
    CDibSection withSystem;
    SectionOf(doc.GetFrame(0), withSystem);
    const PaletteEntry& firstStatic = SystemStaticColours()[1];
    EXPECT_EQ(withSystem.ColourTable()[1],
              uint32_t(firstStatic.red) << 16 | uint32_t(firstStatic.green) << 8 | firstStatic.blue);

    // Sub-byte frames and direct targets.
    CKVFEditorDoc small;
    FillFormat(small, PF_INDEX2, 2, 5, 3);
    params = ColourDepthParams{};
    params.target = ColourTarget::Rgb565;
    ASSERT_EQ(small.ChangeColourDepth(params), EditorStatus::Ok);
    EXPECT_EQ(small.GetFrame(0)->Format(), PF_RGB565);
    params.colours = 7;
    EXPECT_EQ(small.ChangeColourDepth(params), EditorStatus::BadParameters);
    params.colours = 257;
    EXPECT_EQ(small.ChangeColourDepth(params), EditorStatus::BadParameters);
}

TEST(ToolsTest, PaletteFilesHoldExactly1024Bytes)
{
    TempDir dir;
    CKVFEditorDoc doc;
    FillFormat(doc, PF_INDEX8, 2, 4, 4);
    ASSERT_EQ(doc.SavePalette(dir.File("colours.pal")), EditorStatus::Ok);
    const Bytes saved = ReadFile(dir.File("colours.pal"));
    ASSERT_EQ(saved.size(), 1024u);
    const CDibPalette* palette = doc.GetWorkingImage().GetPalette();
    for (int i = 0; i < 256; ++i) {
        EXPECT_EQ(saved[size_t(4 * i)], palette->Entries()[i].red);
        EXPECT_EQ(saved[size_t(4 * i + 2)], palette->Entries()[i].blue);
    }

    // Loading converts every frame to 8 bits with exactly those colours.
    CKVFEditorDoc deep;
    FillFormat(deep, PF_RGB555, 2, 4, 4);
    EXPECT_EQ(deep.SavePalette(dir.File("none.pal")), EditorStatus::NotIndexed);
    Bytes grey(1024);
    for (int i = 0; i < 256; ++i) {
        grey[size_t(4 * i)] = grey[size_t(4 * i + 1)] = grey[size_t(4 * i + 2)] = uint8_t(i);
        grey[size_t(4 * i + 3)] = PALETTE_FLAG_RESERVED; // not honoured from a file
    }
    WriteFile(dir.File("grey.pal"), grey);
    ASSERT_EQ(deep.LoadPalette(dir.File("grey.pal")), EditorStatus::Ok);
    for (int i = 0; i < 2; ++i) {
        CDibSection frame;
        SectionOf(deep.GetFrame(i), frame);
        ASSERT_EQ(frame.GetFormat(), PF_INDEX8);
        for (int c = 0; c < 256; ++c)
            EXPECT_EQ(frame.ColourTable()[size_t(c)], uint32_t(c) * 0x010101u);
    }

    // Files of any other size, and missing ones, change nothing.
    const DocumentState state = Snapshot(deep);
    for (size_t size : {size_t(0), size_t(1023), size_t(1025), size_t(4096)}) {
        WriteFile(dir.File("bad.pal"), Bytes(size, 7));
        EXPECT_EQ(deep.LoadPalette(dir.File("bad.pal")), EditorStatus::BadPaletteFile) << size;
    }
    EXPECT_EQ(deep.LoadPalette(dir.File("missing.pal")), EditorStatus::CannotOpenFile);
    EXPECT_EQ(Snapshot(deep), state);

    PaletteEntries entries;
    EXPECT_EQ(ParsePaletteFile(grey.data(), grey.size(), entries), EditorStatus::Ok);
    EXPECT_EQ(entries[5].flags, 0);
    EXPECT_EQ(ParsePaletteFile(grey.data(), 1000, entries), EditorStatus::BadPaletteFile);
}

TEST(ToolsTest, ToolsWithoutFramesDoNothing)
{
    CKVFEditorDoc doc;
    RecordingProgress progress;
    EXPECT_EQ(doc.Resize(ResizeParams{2, 2}, &progress), EditorStatus::NothingToDo);
    EXPECT_EQ(doc.Mirror(&progress), EditorStatus::NothingToDo);
    EXPECT_EQ(doc.Invert(&progress), EditorStatus::NothingToDo);
    EXPECT_EQ(doc.Reverse(), EditorStatus::NothingToDo);
    EXPECT_EQ(doc.TimeStretch(TimeStretchParams{3}), EditorStatus::NothingToDo);
    EXPECT_EQ(doc.ChangeColourDepth(ColourDepthParams{}), EditorStatus::NothingToDo);
    EXPECT_EQ(doc.SavePalette("/nonexistent/x.pal"), EditorStatus::NothingToDo);
    EXPECT_TRUE(progress.log.empty());
    EXPECT_FALSE(doc.IsModified());
}
