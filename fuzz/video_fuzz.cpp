// Feeds arbitrary bytes to the video player as an AVI file in memory: open
// (with a soundtrack decoded for a silent sound device), play, and tick
// through the frames into an 8-bit and a 16-bit back buffer.

#include "imaging/CDibPalette.h"
#include "imaging/CDibSection.h"
#include "media/CSoundDevice.h"
#include "media/IVideoViewport.h"
#include "media/VideoPlayer.h"

#include <cstdlib>

namespace {

class Viewport final : public IVideoViewport {
public:
    explicit Viewport(PixelFormat format)
    {
        if (m_surface.Create(40, 30, format) != DIB_OK)
            std::abort();
        if (format == PF_INDEX8) {
            auto* palette = new CDibPalette;
            palette->Create(256);
            PaletteEntry entries[256];
            for (int i = 0; i < 256; ++i)
                entries[i] = PaletteEntry{uint8_t(i), uint8_t(255 - i), uint8_t(i * 7), 0};
            palette->SetEntries(entries, 0, 256);
            m_surface.SetPalette(palette);
            palette->Release();
        }
    }
    CDib* DrawingSurface() override { return &m_surface; }
    void Present() override { ++presents; }
    int presents = 0;

private:
    CDibSection m_surface;
};

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    setenv("VELDRA_TRACE", "off", 1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    for (PixelFormat format : {PF_INDEX8, PF_RGB555}) {
        Viewport viewport(format);
        CSoundDevice sound;
        VideoPlayer player;
        int ends = 0;
        if (OpenVideoMemory(player, data, size, &viewport, &sound) != VIDEO_OK) {
            if (player.IsOpen())
                std::abort();
            return 0;
        }
        if (PlayVideo(player, [&] { ++ends; }) != VIDEO_OK)
            std::abort();
        // Big frames play a few ticks only, so each run stays short.
        const int ticks = int64_t(player.Width()) * player.Height() > 65536 ? 2 : 12;
        for (int tick = 0; tick < ticks && IsVideoPlaying(player); ++tick)
            TickVideo(player, 0.25);
        if (ends > 1 || (ends == 1 && IsVideoPlaying(player)))
            std::abort();
        if (player.FrameNumber() < 0 || viewport.presents > player.FrameNumber() + 1)
            std::abort();
    }
    return 0;
}
