// One full hunt frame at 640 × 480 (the hunt step, the ground, the panorama,
// forty-odd scaled sprites, the radar and the overlays) in each display
// depth, beside a memcpy of a high-colour back buffer. Runs on the generated
// game data: `hunt_bench [DATA_FOLDER]`.

#include "bench/BenchTimer.h"
#include "display/CDibDD.h"
#include "display/CDibDDContext.h"
#include "game/hunt/CHuntWorld.h"
#include "game/hunt/HuntMath.h"
#include "imaging/CDibContext.h"
#include "imaging/CDibPalette.h"
#include "imaging/TrleRunCache.h"
#include "media/CSoundDevice.h"
#include "sprites/LoadPicture.h"

#include <SDL.h>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>
#include <vector>

namespace {

// The herd in a fan ahead of the hunter, so that every animal is drawn, and
// a grove beside it: a busy view.
void GatherTheHerd(CHuntWorld& hunt)
{
    const HunterPose& hunter = hunt.Hunter();
    for (int i = 0; i < ANIMAL_COUNT; ++i) {
        CAnimal& animal = hunt.Animal(i);
        const double angle = hunter.angle + (i % 8 - 3.5) * 0.15;
        const double distance = 600 + 90.0 * i;
        animal.x = hunter.x + distance * std::cos(angle);
        animal.y = hunter.y + distance * std::sin(angle);
    }
    for (int i = 0; i < 6; ++i) {
        auto tree = std::make_unique<CTree>();
        const int kind = i % TREE_KINDS;
        tree->sprites = hunt.TreePicture(kind);
        tree->frameWidth = (*tree->sprites)->GetWidth();
        tree->frameHeight = (*tree->sprites)->GetHeight();
        tree->size = CHuntWorld::kTreeSize;
        const double angle = hunter.angle + (i - 2.5) * 0.2, distance = 900 + 300.0 * i;
        tree->x = hunter.x + distance * std::cos(angle);
        tree->y = hunter.y + distance * std::sin(angle);
        hunt.Scenery().Add(std::move(tree));
    }
}

int VisibleSprites(const CHuntWorld& hunt)
{
    int count = 0;
    for (const CWorldObject* object : hunt.DrawList().Objects()) {
        const ScreenRect& r = object->screen;
        if (std::fabs(object->relAngle) < kPi / 2 && r.width > 0 && r.height > 0 && r.left < 640 &&
            r.left + r.width > 0 && r.top < 480 && r.top + r.height > 0)
            ++count;
    }
    return count;
}

} // namespace

int main(int argc, char** argv)
{
    const char* data = argc > 1 ? argv[1] : VELDRA_GENERATED_DATA_DIR;
    if (::chdir(data) != 0) {
        std::fprintf(stderr, "hunt_bench: no game data in %s\n", data);
        return 1;
    }
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    auto* context = new CDibDDContext;
    if (!context->IsInitialised()) {
        std::fprintf(stderr, "hunt_bench: no display\n");
        return 1;
    }
    double worst = 0;
    for (PixelFormat format : {PF_RGB555, PF_INDEX8}) {
        auto* back = new CDibDD;
        back->Create(640, 480, format);
        if (format == PF_INDEX8) {
            CDibDD palettePicture;
            if (LoadPicture(palettePicture, PictureSource::File("menu\\pal20.bmp")) == DIB_OK && palettePicture.GetPalette())
                back->SetPalette(palettePicture.GetPalette());
        }
        CSoundDevice silence;
        FixedClock clock;
        CHuntWorld hunt;
        hunt.Init({back, &silence, &clock, HuntAids{}});
        std::string problem;
        if (!hunt.LoadHunt(ANIMAL_ZEBRA - 1, 4, 2, problem)) {
            std::fprintf(stderr, "hunt_bench: %s is missing\n", problem.c_str());
            return 1;
        }
        // Out in the trees, away from the corridors, with the herd in view.
        hunt.Hunter().x = 5500;
        hunt.Hunter().y = 5500;
        hunt.Hunter().angle = 0.4;
        hunt.Jeep().x = 5400;
        hunt.Jeep().y = 5500;
        GatherTheHerd(hunt);
        // The rifle raised and a puff of smoke in the air.
        hunt.OnToggle(ItemAction::Aim, true);
        HuntToggles toggles;
        toggles.aim = true;
        for (int i = 0; i < 30; ++i)
            hunt.Step({}, toggles, 0);
        auto frame = [&] {
            hunt.Jeep().Gun().SetMode(GunMode::Ready);
            hunt.Step({}, toggles, 0);
            hunt.View().Render(hunt.Hunter(), true);
        };
        frame();
        const int sprites = VisibleSprites(hunt);

        // The goal is set against a high-colour back buffer's copy, whatever
        // the depth drawn.
        const size_t bytes = size_t(640) * 480 * PixelFormatBytes(PF_RGB555);
        std::vector<uint8_t> from(bytes, 1), to(bytes);
        const double copy = TimeBest([&] { std::memcpy(to.data(), from.data(), bytes); }, 200);
        const double whole = TimeBest(frame, 200);
        const double ground = TimeBest([&] { hunt.View().DrawGround(hunt.Hunter()); }, 200);
        const double panorama = TimeBest([&] { hunt.View().DrawBackground(hunt.Hunter()); }, 200);
        const double step = TimeBest([&] { hunt.Step({}, toggles, 0); }, 200);
        std::printf("%-6s %5.0f frames/s  frame %7.1f us (step %5.1f, ground %5.1f, panorama %5.1f, %d sprites, caches %.1f MiB)  "
                    "16-bit memcpy %5.1f us  ratio %.1f\n",
                    format == PF_INDEX8 ? "INDEX8" : "RGB555", 1 / whole, whole * 1e6, step * 1e6, ground * 1e6, panorama * 1e6,
                    sprites, double(TrleRunCache::TotalMemoryBytes()) / (1 << 20), copy * 1e6, whole / copy);
        worst = std::max(worst, whole / copy);
        hunt.LoadHunt(-1, -1, 0, problem);
        delete back;
    }
    std::printf("worse depth's frame vs a high-colour memcpy: %.1f (goal: at most 15)\n", worst);
    delete context;
    SDL_Quit();
    return 0;
}
