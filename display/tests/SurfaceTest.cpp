#include "DisplayTestSupport.h"
#include "display/CDibDD.h"
#include "imaging/DibRef.h"
#include "display/CDibDDPalette.h"
#include "display/CDibDDRegion.h"
#include "display/DisplayResult.h"
#include "display/SurfaceFormat.h"
#include "imaging/CDibSection.h"

TEST(SurfaceFormat, MasksRoundTripForEveryDirectFormat)
{
    for (PixelFormat f : {PF_RGB555, PF_BGR555, PF_RGB565, PF_BGR565, PF_RGB24, PF_BGR24, PF_RGB32, PF_BGR32}) {
        ChannelMasks masks = PixelFormatToMasks(f);
        EXPECT_EQ(MasksToPixelFormat(masks), f) << std::hex << f;
    }
    ChannelMasks rgb565 = PixelFormatToMasks(PF_RGB565);
    EXPECT_EQ(rgb565.red, 0xF800u);
    EXPECT_EQ(rgb565.green, 0x07E0u);
    EXPECT_EQ(rgb565.blue, 0x001Fu);
    EXPECT_EQ(MasksToPixelFormat(PixelFormatToMasks(PF_INDEX8)), PF_INDEX8);
    ChannelMasks odd{12, false, 0xF00, 0xF0, 0xF, 0};
    EXPECT_EQ(PixelFormatBits(MasksToPixelFormat(odd)), 0u);
    for (PixelFormat f : {PF_INDEX8, PF_RGB555, PF_RGB565, PF_RGB24, PF_RGB32, PF_BGR32})
        EXPECT_EQ(SdlToPixelFormat(PixelFormatToSdl(f)), f);
}

TEST_F(DisplayTest, SurfacesNeedADisplayContext)
{
    delete context;
    context = nullptr;
    CDibDD surface;
    EXPECT_EQ(surface.Create(4, 4, PF_RGB555), DD_NO_CONTEXT);
    CDibDDPalette palette;
    EXPECT_EQ(palette.Create(256), DDPAL_NO_CONTEXT);
    context = new CDibDDContext;
}

TEST_F(DisplayTest, CreatesClearedSurfacesInEveryFormat)
{
    for (PixelFormat f : {PF_INDEX8, PF_RGB555, PF_RGB565, PF_RGB24, PF_RGB32}) {
        auto surface = MakeDib<CDibDD>();
        ASSERT_EQ(surface->Create(7, 3, f, DDMEM_VIDEO), DIB_OK);
        EXPECT_EQ(surface->GetFormat(), f);
        EXPECT_EQ(surface->Memory(), SURFACE_VIDEO_MEMORY);
        EXPECT_EQ(surface->GetPixel(6, 2), 0u);
        surface->SetPixel(6, 2, 0x34);
        EXPECT_EQ(surface->GetPixel(6, 2), 0x34u);
    }
    auto surface = MakeDib<CDibDD>();
    EXPECT_EQ(surface->Create(0, 0, PF_RGB555), DIB_FAILED);
    EXPECT_EQ(surface->Create(70000, 1, PF_RGB555), DIB_FAILED);
    EXPECT_FALSE(surface->IsCreated());
}

TEST_F(DisplayTest, PalettesAndRegionsMustBeTheDisplayKind)
{
    auto surface = MakeDib<CDibDD>();
    ASSERT_EQ(surface->Create(4, 4, PF_INDEX8), DIB_OK);
    CDibPalette* plain = new CDibPalette;
    plain->Create(256);
    EXPECT_EQ(surface->SetPalette(plain), DD_WRONG_KIND);
    EXPECT_EQ(surface->GetPalette(), nullptr);
    EXPECT_EQ(surface->SetPalette(nullptr), DIB_FAILED);
    CDibPalette* shown = surface->NewPalette();
    EXPECT_EQ(shown->Create(100), DIB_UNSUPPORTED);
    ASSERT_EQ(shown->Create(256), DIB_OK);
    EXPECT_EQ(surface->SetPalette(shown), DIB_OK);
    EXPECT_EQ(surface->GetPalette(), shown);
    CDibRegion* plainRegion = new CDibRegion;
    EXPECT_EQ(surface->SetClipRegion(plainRegion), DD_WRONG_KIND);
    CDibRegion* region = surface->NewClipRegion();
    EXPECT_EQ(surface->SetClipRegion(region), DIB_OK);
    plain->Release();
    shown->Release();
    plainRegion->Release();
    region->Release();
}

TEST_F(DisplayTest, HardwarePathOnlyWhereTheDisplayBlitterCanDoTheJob)
{
    auto source = MakeDib<CDibDD>();
    auto target = MakeDib<CDibDD>();
    ASSERT_EQ(source->Create(8, 8, PF_RGB565), DIB_OK);
    ASSERT_EQ(target->Create(16, 16, PF_RGB565), DIB_OK);
    source->FillRect(0, 0, 8, 8, 0x1234);
    source->SetPixel(0, 0, 0x0001);
    source->SetSourceKey(0x0001);

    EXPECT_EQ(target->Draw(0, 0, 8, 8, source.Get(), 0, 0, 8, 8, BLIT_SRCKEY, 0), DIB_OK);
    EXPECT_TRUE(source->LastBlitUsedHardware());
    EXPECT_EQ(target->GetPixel(0, 0), 0u); // keyed out
    EXPECT_EQ(target->GetPixel(1, 0), 0x1234u);

    // Scaled with a key: the software kernels.
    EXPECT_EQ(target->Draw(0, 0, 16, 16, source.Get(), 0, 0, 8, 8, BLIT_SRCKEY, 0), DIB_OK);
    EXPECT_FALSE(source->LastBlitUsedHardware());
    // Mirrored or destination keys: the display blitter cannot, software it is.
    EXPECT_EQ(target->Draw(0, 0, 8, 8, source.Get(), 0, 0, 8, 8, BLIT_MIRROR_X, 0), DIB_OK);
    EXPECT_FALSE(source->LastBlitUsedHardware());
    // Partly outside: cut to the target; wholly outside: nothing, 0.
    EXPECT_EQ(target->Draw(12, 12, 8, 8, source.Get(), 0, 0, 8, 8, 0, 0), DIB_OK);
    EXPECT_EQ(target->GetPixel(15, 15), 0x1234u);
    EXPECT_EQ(target->Draw(100, 100, 8, 8, source.Get(), 0, 0, 8, 8, 0, 0), DIB_OK);

    context->noHardwareBlit = 1;
    EXPECT_EQ(target->Draw(0, 0, 8, 8, source.Get(), 0, 0, 8, 8, 0, 0), DIB_OK);
    EXPECT_FALSE(source->LastBlitUsedHardware());
}

TEST_F(DisplayTest, LostSurfacesRestoreOnTheNextOperation)
{
    auto withBacking = MakeDib<CDibDD>();
    ASSERT_EQ(withBacking->Create(4, 4, PF_RGB555, DDMEM_VIDEO), DIB_OK);
    withBacking->FillRect(0, 0, 4, 4, 0x7C00);
    ASSERT_EQ(withBacking->SaveBacking(), DIB_OK);
    EXPECT_TRUE(withBacking->HasBacking());
    withBacking->FillRect(0, 0, 4, 4, 0x001F); // drawn over, then lost
    CDibDD::MarkAllLost();
    EXPECT_TRUE(withBacking->IsLost());
    EXPECT_EQ(withBacking->GetPixel(2, 2), 0x7C00u); // the lock restored the saved picture
    EXPECT_FALSE(withBacking->IsLost());

    auto primary = MakeDib<CDibDD>();
    auto back = MakeDib<CDibDD>();
    ASSERT_EQ(primary->Create(4, 4, PF_RGB555), DIB_OK);
    ASSERT_EQ(back->Create(4, 4, PF_RGB555), DIB_OK);
    back->SetRole(SURFACE_BACK_BUFFER, primary.Get());
    primary->MarkLost();
    uint8_t* bits;
    int pitch;
    ASSERT_EQ(back->Lock(&bits, &pitch), DIB_OK); // restored through its primary
    back->Unlock();
    EXPECT_FALSE(primary->IsLost());
}

TEST_F(DisplayTest, ConvertFormatKeepsPictureFramesAndPalette)
{
    auto surface = MakeDib<CDibDD>();
    ASSERT_EQ(surface->Create(4, 2, PF_RGB24), DIB_OK);
    surface->SetPixel(1, 1, 0xFF0000);
    surface->SetFrameCount(2);
    ASSERT_EQ(surface->ConvertFormat(PF_RGB555, nullptr, 0), DIB_OK);
    EXPECT_EQ(surface->GetFormat(), PF_RGB555);
    EXPECT_EQ(surface->GetPixel(1, 1), 0x7C00u);
    EXPECT_EQ(surface->GetFrameCount(), 2);

    CDibPalette* palette = new CDibPalette;
    palette->Create(256);
    PaletteEntry red{255, 0, 0, 0};
    palette->SetEntries(&red, 9, 1);
    ASSERT_EQ(surface->ConvertFormat(PF_INDEX8, palette, 0), DIB_OK);
    EXPECT_EQ(surface->GetPixel(1, 1), 9u);
    ASSERT_NE(surface->GetPalette(), nullptr);
    EXPECT_EQ(surface->GetPalette()->Entries()[9].red, 255);
    palette->Release();
}
