#include "generators/Generators.h"
#include "models/JeepModel.h"
#include "render3d/Render3dStrip.h"
#include "sink/CAssetSink.h"

#include <array>
#include <cmath>
#include <vector>

namespace {

// Direction order as the game picks the strips: front, front-left, left,
// back-left, back, back-right, right, front-right.
constexpr std::array<const char*, 8> kJeepStrips = {
    "menu\\jeep_f.bmp", "menu\\jeep_fl.bmp", "menu\\jeep_l.bmp", "menu\\jeep_bl.bmp",
    "menu\\jeep_b.bmp", "menu\\jeep_br.bmp", "menu\\jeep_r.bmp", "menu\\jeep_fr.bmp",
};
constexpr int kFrames = 10;
constexpr int kFrameHeight = 78;
constexpr double kSize = 80; // world units the frame height stands for
// Over the ten frames the wheels roll one hub-hole spacing (60 degrees), so
// the loop closes and the holes and tread visibly move forwards.
constexpr double kTurnPerFrame = (kPi / 3) / kFrames;

} // namespace

// The jeep seen from eight directions, its wheels turning over ten frames.
void GenerateJeep(CAssetSink& sink)
{
    // Rendered whatever --only asks for: the strips' colours go into the
    // scenario palettes.
    std::array<std::vector<RenderedSprite>, 8> frames;
    for (int f = 0; f < kFrames; ++f) {
        const double bounce = 0.5 * std::sin(2 * kPi * 2 * f / kFrames);
        const Render3dScene scene = BuildJeep(f * kTurnPerFrame, bounce);
        for (int d = 0; d < 8; ++d) {
            Render3dView view;
            view.azimuth = d * kPi / 4;
            view.elevation = 0.1; // a little flatter than the animals: the jeep's frame is tight
            view.pixelsPerUnit = kFrameHeight / kSize;
            frames[size_t(d)].push_back(RenderScene(scene, view));
        }
    }
    for (int d = 0; d < 8; ++d) {
        const AssembledStrip strip = AssembleStrip(frames[size_t(d)], kFrameHeight);
        sink.WritePicture(kJeepStrips[size_t(d)], strip.image, GROUP_HUNT, PictureStorage::Trle8,
                          strip.image.height / kFrameHeight, PaletteUse::Own);
    }
}
