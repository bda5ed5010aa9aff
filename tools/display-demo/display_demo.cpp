// display-demo: draws a moving sprite over a gradient through the game's
// display path (back buffer, viewport, presenter) in 8 or 16 bits, and can
// write the presented frame to a PNG file.
//
//   display-demo [--depth 8|16] [--frames N] [--png FILE] [--fullscreen] [--scale N] [--no-vsync]

#include "display/CDibDD.h"
#include "display/CDibDDContext.h"
#include "display/CDibDDViewport.h"
#include "display/ScreenPresenter.h"
#include "imaging/CDibPalette.h"
#include "imaging/CDibSection.h"
#include "imaging/PngWriter.h"

#include <SDL.h>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace {

struct Options {
    int depth = 16;
    int frames = 0; // 0: until the window is closed
    int scale = 1;
    bool fullScreen = false;
    bool vsync = true;
    std::string png;
};

bool Parse(int argc, char** argv, Options& o)
{
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        auto next = [&]() -> const char* { return i + 1 < argc ? argv[++i] : nullptr; };
        if (a == "--depth" && i + 1 < argc)
            o.depth = std::atoi(next());
        else if (a == "--frames" && i + 1 < argc)
            o.frames = std::atoi(next());
        else if (a == "--scale" && i + 1 < argc)
            o.scale = std::atoi(next());
        else if (a == "--png" && i + 1 < argc)
            o.png = next();
        else if (a == "--fullscreen")
            o.fullScreen = true;
        else if (a == "--no-vsync")
            o.vsync = false;
        else {
            std::fprintf(stderr, "usage: display-demo [--depth 8|16] [--frames N] [--png FILE] [--fullscreen] "
                                 "[--scale N] [--no-vsync]\n");
            return false;
        }
    }
    return o.depth == 8 || o.depth == 16;
}

// A round "sprite" with a transparent border, in the back buffer's format.
void DrawSprite(CDib* sprite, bool indexed)
{
    const int size = sprite->GetWidth();
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const double dx = x - size / 2.0 + 0.5, dy = y - size / 2.0 + 0.5;
            const double r = std::sqrt(dx * dx + dy * dy) / (size / 2.0);
            if (r > 1.0) {
                sprite->SetPixel(x, y, 0);
                continue;
            }
            const int shade = int(31 * (1.0 - 0.6 * r));
            sprite->SetPixel(x, y, indexed ? uint32_t(224 + shade) : uint32_t(shade << 10 | (shade / 2) << 5 | 2));
        }
}

} // namespace

int main(int argc, char** argv)
{
    Options options;
    if (!Parse(argc, argv, options))
        return 2;
    auto* context = new CDibDDContext;
    if (!context->IsInitialised()) {
        std::fprintf(stderr, "display-demo: no display: %s\n", SDL_GetError());
        return 1;
    }
    SDL_Window* window = OpenScreenWindow("Veldra display demo", 640, 480, options.fullScreen);
    if (!window) {
        std::fprintf(stderr, "display-demo: no window: %s\n", SDL_GetError());
        return 1;
    }
    const bool indexed = options.depth == 8;
    const PixelFormat format = indexed ? PF_INDEX8 : PF_RGB555;
    auto* viewport = new CDibDDViewport;
    PresenterOptions presenterOptions;
    presenterOptions.vsync = options.vsync;
    viewport->SetPresenterOptions(presenterOptions);
    uint32_t flags = VIEWPORT_PALETTE | (options.fullScreen ? VIEWPORT_FULLSCREEN | VIEWPORT_FLIP_CHAIN : 0);
    if (viewport->Create(640, 480, format, window, flags) != DIB_OK || !viewport->Back()->IsCreated()) {
        std::fprintf(stderr, "display-demo: cannot create the screen\n");
        return 1;
    }
    viewport->Presenter().SetWindowScale(options.scale);
    CDib* back = viewport->Back();

    // The palette of the 8-bit mode: a blue-green ramp for the sky and a red
    // ramp for the sprite.
    if (indexed) {
        CDibPalette* palette = back->NewPalette();
        palette->Create(256);
        PaletteEntry entries[256];
        for (int i = 0; i < 224; ++i)
            entries[i] = {uint8_t(i / 4), uint8_t(60 + i / 2), uint8_t(90 + i * 165 / 224), 0};
        for (int i = 224; i < 256; ++i)
            entries[i] = {uint8_t(120 + (i - 224) * 4), uint8_t(40 + (i - 224)), 20, 0};
        palette->SetEntries(entries, 0, 256);
        back->SetPalette(palette);
        viewport->Front()->SetPalette(palette);
        palette->Release();
    }
    // The demo owns its sprite: the context keeps no list of images to free.
    const auto sprite = std::make_unique<CDibSection>();
    if (sprite->Create(96, 96, format) != DIB_OK) {
        std::fprintf(stderr, "display-demo: no memory for the sprite\n");
        return 1;
    }
    if (indexed) {
        CDibPalette* palette = new CDibPalette;
        palette->CopyFrom(back->GetPalette());
        sprite->SetPalette(palette);
        palette->Release();
    }
    DrawSprite(sprite.get(), indexed);

    bool running = true;
    for (int frame = 0; running && (options.frames == 0 || frame < options.frames); ++frame) {
        SDL_Event event;
        while (SDL_PollEvent(&event)) {
            if (event.type == SDL_QUIT || (event.type == SDL_KEYDOWN && event.key.keysym.sym == SDLK_ESCAPE))
                running = false;
            else if (event.type == SDL_KEYDOWN && event.key.keysym.sym == SDLK_RETURN &&
                     (event.key.keysym.mod & KMOD_ALT))
                viewport->Presenter().ToggleFullScreen();
        }
        for (int y = 0; y < 480; ++y) {
            const uint32_t colour = indexed ? uint32_t(y * 223 / 479)
                                            : uint32_t((y / 32) << 10 | (8 + y / 24) << 5 | (12 + y / 26));
            back->FillRect(0, y, 640, 1, colour);
        }
        const int x = 272 + int(200 * std::sin(frame * 0.05)), y = 192 + int(120 * std::cos(frame * 0.07));
        sprite->SetSourceKey(0);
        back->Draw(x, y, 96, 96, sprite.get(), 0, 0, 96, 96, BLIT_SRCKEY, 0);
        if (viewport->Present(0, 0, 0) != DIB_OK) {
            std::fprintf(stderr, "display-demo: the window could not be shown\n");
            return 1;
        }
    }
    int code = 0;
    if (!options.png.empty()) {
        const auto& shown = viewport->Presenter().LastFrame();
        if (!WriteRgbPng(shown.data(), 640, 480, options.png)) {
            std::fprintf(stderr, "display-demo: cannot write %s\n", options.png.c_str());
            code = 1;
        }
    }
    delete viewport;
    delete context;
    SDL_DestroyWindow(window);
    SDL_Quit();
    return code;
}
