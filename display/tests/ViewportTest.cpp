#include "DisplayTestSupport.h"
#include "display/CDibDD.h"
#include "display/CDibDDViewport.h"
#include "display/CDibViewport.h"
#include "display/CDibWindow.h"
#include "display/DisplayResult.h"
#include "display/ScreenPresenter.h"
#include "imaging/CDibPalette.h"
#include "imaging/CDibSection.h"

#include <string>

TEST_F(DisplayTest, ViewportsInBothDepthsPresentTheBackBuffer)
{
    for (PixelFormat format : {PF_RGB555, PF_INDEX8}) {
        CDibDDViewport viewport;
        ASSERT_EQ(viewport.Create(640, 480, format, window, VIEWPORT_PALETTE | VIEWPORT_FLIP_CHAIN), DIB_OK);
        EXPECT_FALSE(viewport.IsFullScreen());
        EXPECT_FALSE(viewport.HasFlipChain()); // flipping chains need full screen
        ASSERT_NE(viewport.Back(), nullptr);
        EXPECT_EQ(viewport.Back()->GetFormat(), format);
        EXPECT_EQ(viewport.Back()->GetWidth(), 640);
        if (format == PF_INDEX8) {
            CDibPalette* palette = viewport.Back()->NewPalette();
            ASSERT_EQ(palette->Create(256), DIB_OK);
            PaletteEntry green{0, 255, 0, 0};
            palette->SetEntries(&green, 3, 1);
            EXPECT_EQ(viewport.Back()->SetPalette(palette), DIB_OK);
            EXPECT_EQ(viewport.Front()->SetPalette(palette), DIB_OK);
            palette->Release();
            viewport.Back()->FillRect(0, 0, 10, 10, 3);
        } else {
            viewport.Back()->FillRect(0, 0, 10, 10, 0x7FFF);
        }
        EXPECT_EQ(viewport.Present(0, 0, 0), DIB_OK);
        ASSERT_TRUE(viewport.Presenter().IsOpen());
        const uint32_t shown = viewport.Presenter().LastFrame()[5 * 640 + 5] & 0xFFFFFF;
        EXPECT_EQ(shown, format == PF_INDEX8 ? 0x00FF00u : 0xFFFFFFu);
        EXPECT_EQ(viewport.Presenter().LastFrame()[100 * 640 + 100] & 0xFFFFFF, 0u);
    }
}

TEST_F(DisplayTest, PresentModeOneHalvesASixteenBitFrame)
{
    CDibDDViewport viewport;
    ASSERT_EQ(viewport.Create(640, 480, PF_RGB555, window, VIEWPORT_PALETTE), DIB_OK);
    viewport.Back()->FillRect(0, 0, 640, 480, 0x7FFF);
    EXPECT_EQ(viewport.Present(1, 0, 128), DIB_OK);
    EXPECT_EQ(viewport.Back()->GetPixel(320, 240), (15u << 10) | (15u << 5) | 15u);
}

TEST_F(DisplayTest, FlipAfterALostScreenSkipsOneFrame)
{
    CDibDDViewport viewport;
    ASSERT_EQ(viewport.Create(640, 480, PF_RGB555, window, VIEWPORT_PALETTE), DIB_OK);
    static_cast<CDibDD*>(viewport.Front())->MarkLost();
    EXPECT_EQ(viewport.Flip(), DDVIEW_NOT_SHOWN);
    EXPECT_EQ(viewport.Flip(), DIB_OK);
}

TEST_F(DisplayTest, ViewportRefusesWithoutWindowOrContext)
{
    CDibDDViewport viewport;
    EXPECT_EQ(viewport.Create(640, 480, PF_RGB555, nullptr, 0), DIB_UNSUPPORTED);
    delete context;
    context = nullptr;
    EXPECT_EQ(viewport.Create(640, 480, PF_RGB555, window, 0), DDVIEW_NO_CONTEXT);
    context = new CDibDDContext;
    CDibViewport plain;
    EXPECT_EQ(plain.Create(640, 480, PF_RGB555, nullptr, 0), DIB_FAILED);
}

TEST_F(DisplayTest, ResizeFollowsTheWindowOnlyWhenResizable)
{
    CDibDDViewport fixed;
    ASSERT_EQ(fixed.Create(64, 48, PF_RGB565, window, 0), DIB_OK);
    fixed.Resize(32, 32);
    EXPECT_EQ(fixed.Back()->GetWidth(), 64);
    CDibDDViewport resizable;
    ASSERT_EQ(resizable.Create(64, 48, PF_RGB565, window, VIEWPORT_RESIZABLE), DIB_OK);
    resizable.Resize(32, 30);
    EXPECT_EQ(resizable.Back()->GetWidth(), 32);
    EXPECT_EQ(resizable.Back()->GetHeight(), 30);
}

TEST_F(DisplayTest, PlainViewportConvertsIntoTheWindowSurface)
{
    CDibViewport viewport;
    ASSERT_EQ(viewport.Create(640, 480, PF_RGB555, window, VIEWPORT_PALETTE), DIB_OK);
    ASSERT_NE(viewport.Front(), nullptr);
    EXPECT_EQ(viewport.Front()->GetKind(), DIB_KIND_WINDOW);
    EXPECT_EQ(viewport.Front()->GetWidth(), 640);
    viewport.Back()->FillRect(0, 0, 640, 480, 0x7C00);
    EXPECT_EQ(viewport.Present(0, 0, 0), DIB_OK);
    // The window surface now holds red, in its own format.
    CDibSection copy;
    ASSERT_EQ(copy.Create(2, 2, PF_RGB32), DIB_OK);
    ASSERT_EQ(viewport.Front()->Blit(&copy, 0, 0, 2, 2, 10, 10, 2, 2, 0, 0), DIB_OK);
    EXPECT_EQ(copy.GetPixel(1, 1) & 0xF8F8F8, 0xF80000u);
}

TEST(StretchConvert, IndexedSourceIntoDirectTargetStretched)
{
    CDibSection source, target;
    ASSERT_EQ(source.Create(2, 1, PF_INDEX8), DIB_OK);
    CDibPalette* palette = new CDibPalette;
    palette->Create(256);
    PaletteEntry blue{0, 0, 255, 0};
    palette->SetEntries(&blue, 1, 1);
    EXPECT_EQ(source.SetPalette(palette), DIB_OK);
    palette->Release();
    source.SetPixel(1, 0, 1);
    ASSERT_EQ(target.Create(4, 2, PF_RGB565), DIB_OK);
    ASSERT_EQ(StretchConvert(&source, 0, 0, 2, 1, &target, 0, 0, 4, 2), DIB_OK);
    EXPECT_EQ(target.GetPixel(1, 1), 0u);
    EXPECT_EQ(target.GetPixel(2, 1), 0x1Fu);
    EXPECT_EQ(target.GetPixel(3, 0), 0x1Fu);
    EXPECT_EQ(StretchConvert(nullptr, 0, 0, 1, 1, &target, 0, 0, 1, 1), DIB_FAILED);
}

// A full-screen window is made covering its display (a window manager need
// not enlarge it); leaving full screen gives the window of the scale asked
// for, and coming back covers the display again.
TEST_F(DisplayTest, FullScreenWindowsCoverTheDisplayAndComeBackAtTheirScale)
{
    SDL_Rect bounds;
    ASSERT_EQ(SDL_GetDisplayBounds(0, &bounds), 0);
    SDL_Window* full = OpenScreenWindow("full", 640, 480, true);
    ASSERT_NE(full, nullptr);
    int w = 0, h = 0;
    SDL_GetWindowSize(full, &w, &h);
    EXPECT_EQ(w, bounds.w);
    EXPECT_EQ(h, bounds.h);
    {
        CDibDDViewport viewport;
        ASSERT_EQ(viewport.Create(640, 480, PF_INDEX8, full, VIEWPORT_PALETTE | VIEWPORT_FULLSCREEN), DIB_OK);
        CScreenPresenter& presenter = viewport.Presenter();
        EXPECT_TRUE(presenter.IsFullScreen());
        presenter.SetWindowScale(2);
        presenter.ToggleFullScreen();
        EXPECT_FALSE(presenter.IsFullScreen());
        SDL_GetWindowSize(full, &w, &h);
        EXPECT_EQ(w, 1280);
        EXPECT_EQ(h, 960);
        presenter.ToggleFullScreen();
        EXPECT_TRUE(presenter.IsFullScreen());
        SDL_GetWindowSize(full, &w, &h);
        EXPECT_EQ(w, bounds.w);
        EXPECT_EQ(h, bounds.h);
    }
    SDL_DestroyWindow(full);

    SDL_Window* windowed = OpenScreenWindow("windowed", 640, 480, false);
    ASSERT_NE(windowed, nullptr);
    SDL_GetWindowSize(windowed, &w, &h);
    EXPECT_EQ(w, 640);
    EXPECT_EQ(h, 480);
    SDL_DestroyWindow(windowed);
}

// A driver that shows nothing is taken only when asked for by name: when SDL
// fell back on it by itself the game would play unseen, so no window opens.
TEST_F(DisplayTest, AWindowOnADriverThatShowsNothingNeedsToBeAskedFor)
{
    const std::string asked = SDL_getenv("SDL_VIDEODRIVER");
    SDL_Window* shown = OpenScreenWindow("asked", 640, 480, false);
    ASSERT_NE(shown, nullptr);
    SDL_DestroyWindow(shown);

    unsetenv("SDL_VIDEODRIVER");
    SDL_Window* unseen = OpenScreenWindow("fallen back", 640, 480, false);
    const std::string error = SDL_GetError();
    setenv("SDL_VIDEODRIVER", asked.c_str(), 1);
    EXPECT_EQ(unseen, nullptr);
    EXPECT_NE(error.find("no display"), std::string::npos) << error;
    if (unseen)
        SDL_DestroyWindow(unseen);
}

// The player may size the window: the picture keeps its aspect, enlarged by
// whole numbers while the window holds it at least once (or smoothly when
// asked), and the pointer still lands on the right back-buffer pixel.
TEST_F(DisplayTest, AResizedWindowKeepsThePicturesAspectAndThePointersPlace)
{
    SDL_Window* sized = OpenScreenWindow("sized", 640, 480, false);
    ASSERT_NE(sized, nullptr);
    EXPECT_TRUE(SDL_GetWindowFlags(sized) & SDL_WINDOW_RESIZABLE);
    CDibSection frame;
    ASSERT_EQ(frame.Create(640, 480, PF_RGB555), DIB_OK);
    for (bool smooth : {false, true}) {
        CScreenPresenter presenter;
        PresenterOptions options;
        options.allowAccelerated = false;
        options.smoothScaling = smooth;
        ASSERT_TRUE(presenter.Open(sized, 640, 480, options));
        SDL_SetWindowSize(sized, 1000, 700); // room for the picture once, with borders
        ASSERT_TRUE(presenter.Present(&frame));
        EXPECT_EQ(presenter.IntegerScaling(), !smooth);
        int x = 0, y = 0;
        presenter.WindowToBackBuffer(500, 350, &x, &y);
        EXPECT_NEAR(x, 320, 1);
        EXPECT_NEAR(y, 240, 1);
        SDL_SetWindowSize(sized, 400, 300); // smaller than the picture: a fractional fit
        ASSERT_TRUE(presenter.Present(&frame));
        EXPECT_FALSE(presenter.IntegerScaling());
        presenter.WindowToBackBuffer(399, 299, &x, &y);
        EXPECT_GE(x, 636);
        EXPECT_GE(y, 476);
        SDL_SetWindowSize(sized, 640, 480);
    }
    SDL_DestroyWindow(sized);
}
