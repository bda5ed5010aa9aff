// Cost of presenting one 640 × 480 frame in each depth: the expansion into
// the texture's 32-bit format, and expansion plus upload through the
// renderer, beside a plain memcpy of the frame's bytes.

#include "bench/BenchTimer.h"
#include "display/CDibDD.h"
#include "display/CDibDDContext.h"
#include "display/ScreenPresenter.h"
#include "imaging/CDibPalette.h"

#include <SDL.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

int main()
{
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    auto* context = new CDibDDContext;
    SDL_Window* window = SDL_CreateWindow("bench", 0, 0, 640, 480, SDL_WINDOW_HIDDEN);
    if (!context->IsInitialised() || !window) {
        std::fprintf(stderr, "present_bench: no display\n");
        return 1;
    }
    CScreenPresenter presenter;
    PresenterOptions options;
    options.vsync = false;
    presenter.Open(window, 640, 480, options);
    std::vector<uint32_t> expanded(640 * 480);

    for (PixelFormat format : {PF_INDEX8, PF_RGB555}) {
        auto* frame = new CDibDD;
        frame->Create(640, 480, format);
        if (format == PF_INDEX8) {
            CDibPalette* palette = frame->NewPalette();
            palette->Create(256);
            frame->SetPalette(palette);
            palette->Release();
        }
        for (int y = 0; y < 480; ++y)
            frame->FillRect(0, y, 640, 1, uint32_t(y * 37));
        const size_t bytes = size_t(640) * 480 * PixelFormatBytes(format);
        std::vector<uint8_t> from(bytes, 1), to(bytes);

        const double copy = TimeBest([&] { std::memcpy(to.data(), from.data(), bytes); }, 50);
        const double expand = TimeBest([&] { presenter.Expand(frame, expanded.data(), 640); }, 50);
        const double present = TimeBest([&] { presenter.Present(frame); }, 20);
        std::printf("%-6s expand %7.3f ms   expand+upload+present %7.3f ms   memcpy of the frame %7.3f ms   "
                    "ratio expand/memcpy %.1f\n",
                    format == PF_INDEX8 ? "INDEX8" : "RGB555", expand * 1e3, present * 1e3, copy * 1e3,
                    expand / copy);
    }
    presenter.Close();
    delete context;
    SDL_DestroyWindow(window);
    SDL_Quit();
    return 0;
}
