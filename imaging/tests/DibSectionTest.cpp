#include "imaging/CDibContext.h"
#include "imaging/CDibPalette.h"
#include "imaging/CDibRegion.h"
#include "imaging/CDibSection.h"

#include <gtest/gtest.h>

TEST(DibSection, CreatesOnlyFormatsWithAHeaderAndSaneSizes)
{
    CDibSection image;
    EXPECT_EQ(image.Create(4, 4, PF_BGR24), DIB_FAILED);
    EXPECT_FALSE(image.IsCreated());
    EXPECT_EQ(image.Create(4, 4, PF_BGR32), DIB_FAILED);
    EXPECT_EQ(image.Create(0, 4, PF_INDEX8), DIB_FAILED);
    EXPECT_EQ(image.Create(65536, 1, PF_INDEX8), DIB_FAILED);
    EXPECT_EQ(image.Create(4, -1, PF_INDEX8), DIB_FAILED);
    EXPECT_EQ(image.Create(3, 2, PF_INDEX8), DIB_OK);
    EXPECT_EQ(image.Pitch(), 4);
    EXPECT_EQ(image.Create(3, 2, PF_RGB24), DIB_OK);
    EXPECT_EQ(image.Pitch(), 12);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(image.Bits()) % 16, 0u);
    EXPECT_EQ(image.Create(5, 2, PF_INDEX4), DIB_OK);
    EXPECT_EQ(image.Pitch(), 4);
}

TEST(DibSection, NotCreatedImagesReportNotCreatedAndReadZero)
{
    CDibSection image;
    uint8_t* bits;
    int pitch;
    EXPECT_EQ(image.Lock(&bits, &pitch), DIB_NOT_CREATED);
    EXPECT_EQ(image.FillRect(0, 0, 1, 1, 0), DIB_NOT_CREATED);
    EXPECT_EQ(image.GetPixel(0, 0), 0u);
    EXPECT_EQ(image.SetPalette(nullptr), DIB_NOT_CREATED);
    EXPECT_EQ(image.ConvertFormat(PF_RGB555, nullptr, 0), DIB_NOT_CREATED);
    EXPECT_EQ(image.Draw(0, 0, 1, 1, nullptr, 0, 0, 1, 1, 0, 0), DIB_FAILED);
}

TEST(DibSection, PixelsReadBackLittleEndianAndOutsideIsIgnored)
{
    CDibSection image;
    ASSERT_EQ(image.Create(3, 3, PF_RGB24), DIB_OK);
    image.SetPixel(2, 1, 0x123456);
    EXPECT_EQ(image.GetPixel(2, 1), 0x123456u);
    uint8_t* bits;
    int pitch;
    ASSERT_EQ(image.Lock(&bits, &pitch), DIB_OK);
    EXPECT_EQ(bits[pitch + 6], 0x56);
    EXPECT_EQ(bits[pitch + 8], 0x12);
    image.Unlock();
    image.SetPixel(3, 0, 1);
    image.SetPixel(-1, 0, 1);
    EXPECT_EQ(image.GetPixel(3, 0), 0u);
    EXPECT_EQ(image.GetPixel(0, -1), 0u);

    CDibSection packed;
    ASSERT_EQ(packed.Create(8, 1, PF_INDEX4), DIB_OK);
    packed.SetPixel(0, 0, 7); // below 8 bits: not supported, nothing written
    EXPECT_EQ(packed.GetPixel(0, 0), 0u);
}

TEST(DibSection, PaletteMustFitTheImage)
{
    CDibSection image;
    ASSERT_EQ(image.Create(2, 2, PF_INDEX8), DIB_OK);
    CDibPalette* small = new CDibPalette;
    ASSERT_EQ(small->Create(16), DIB_OK);
    EXPECT_EQ(image.SetPalette(small), DIB_PALETTE_MISMATCH);
    CDibPalette* empty = new CDibPalette;
    EXPECT_EQ(image.SetPalette(empty), DIB_PALETTE_EMPTY);
    CDibPalette* full = new CDibPalette;
    ASSERT_EQ(full->Create(256), DIB_OK);
    PaletteEntry red{200, 10, 20, 0};
    full->SetEntries(&red, 5, 1);
    EXPECT_EQ(image.SetPalette(full), DIB_OK);
    EXPECT_EQ(full->GetRefCount(), 2);
    EXPECT_EQ(image.ColourTable()[5], 0x00C80A14u); // blue, green, red quads
    // Later changes reach the colour table at the next lock.
    PaletteEntry blue{0, 0, 255, 0};
    full->SetEntries(&blue, 5, 1);
    uint8_t* bits;
    int pitch;
    EXPECT_EQ(image.Lock(&bits, &pitch), DIB_OK);
    image.Unlock();
    EXPECT_EQ(image.ColourTable()[5], 0x000000FFu);
    EXPECT_EQ(image.SetPalette(nullptr), DIB_OK);
    EXPECT_EQ(full->GetRefCount(), 1);

    CDibSection direct;
    ASSERT_EQ(direct.Create(2, 2, PF_RGB555), DIB_OK);
    EXPECT_EQ(direct.SetPalette(full), DIB_PALETTE_MISMATCH);
    small->Release();
    empty->Release();
    full->Release();
}

TEST(DibSection, CopyFromKeepsPixelsPaletteAndFrames)
{
    CDibSection source;
    ASSERT_EQ(source.Create(4, 6, PF_INDEX8), DIB_OK);
    CDibPalette* palette = new CDibPalette;
    palette->Create(256);
    EXPECT_EQ(source.SetPalette(palette), DIB_OK);
    palette->Release();
    source.SetPixel(1, 2, 42);
    source.SetFrameCount(3);
    EXPECT_EQ(source.SetSourceKey(9), DIB_OK);
    CDibSection copy;
    ASSERT_EQ(copy.CopyFrom(&source), DIB_OK);
    EXPECT_EQ(copy.GetPixel(1, 2), 42u);
    EXPECT_EQ(copy.GetFrameCount(), 3);
    ASSERT_NE(copy.GetPalette(), nullptr);
    EXPECT_NE(copy.GetPalette(), source.GetPalette());
    EXPECT_EQ(copy.GetPalette()->GetRefCount(), 1);
    EXPECT_EQ(copy.SourceKey(), 0u); // keys are not copied
}

TEST(DibSection, FrameCountAndDrawFrameBounds)
{
    CDibSection strip, target;
    ASSERT_EQ(strip.Create(2, 6, PF_INDEX8), DIB_OK);
    ASSERT_EQ(target.Create(2, 2, PF_INDEX8), DIB_OK);
    EXPECT_EQ(strip.SetFrameCount(0), 1);
    strip.SetFrameCount(3);
    strip.SetPixel(0, 4, 77); // frame 2, row 0
    EXPECT_EQ(target.DrawFrame(0, 0, &strip, 3, 0, 0), DIB_FAILED);
    EXPECT_EQ(target.DrawFrame(0, 0, &strip, -1, 0, 0), DIB_FAILED);
    EXPECT_EQ(target.DrawFrame(0, 0, &strip, 2, 0, 0), DIB_OK);
    EXPECT_EQ(target.GetPixel(0, 0), 77u);
}

TEST(DibContext, RecordsItsFlagsAndIsTheCurrentOne)
{
    auto* context = new CDibContext;
    EXPECT_EQ(CDibContext::Current(), context);
    EXPECT_EQ(context->Init(nullptr, nullptr, DIBCTX_NO_SIMD | DIBCTX_NO_HARDWARE_BLIT), DIB_OK);
    EXPECT_EQ(context->useMmx, 0);
    EXPECT_EQ(context->noHardwareBlit, 1);
    EXPECT_FALSE(DibUseSimd());
    delete context;
    EXPECT_EQ(CDibContext::Current(), nullptr);
}

TEST(DibRegion, ReportsItsRectangleInRegionDataLayout)
{
    CDibRegion region;
    DibRect r;
    EXPECT_EQ(region.GetBounds(&r), DIB_UNSUPPORTED);
    EXPECT_EQ(region.SetRect({10, 20, 30, 40}), DIB_OK);
    ASSERT_EQ(region.GetBounds(&r), DIB_OK);
    EXPECT_EQ(r.x, 10);
    EXPECT_EQ(r.h, 40);
    const RegionData* data = region.GetRegionData();
    EXPECT_EQ(data->size, 32u);
    EXPECT_EQ(data->right, 40);
    EXPECT_EQ(data->bottom, 60);
    CDibRegion other;
    EXPECT_EQ(other.CopyFrom(nullptr), DIB_FAILED);
    CDibRegion empty;
    EXPECT_EQ(other.CopyFrom(&empty), DIB_FAILED);
    EXPECT_EQ(other.CopyFrom(&region), DIB_OK);
    CDibRegion* clone = region.Clone();
    clone->GetBounds(&r);
    EXPECT_EQ(r.w, 30);
    clone->Release();
}
