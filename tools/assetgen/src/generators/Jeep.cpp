#include "gamedata/HuntTables.h"
#include "generators/Generators.h"
#include "models/JeepModel.h"
#include "render3d/Render3dStrip.h"
#include "sink/CAssetSink.h"

#include <array>
#include <cmath>
#include <vector>

namespace {

constexpr int kFrames = JEEP_FRAMES;
constexpr int kFrameHeight = JEEP_FRAME_HEIGHT;
// Over the ten frames the wheels roll one hub-hole spacing (60 degrees), so
// the loop closes and the holes and tread visibly move forwards.
constexpr double kTurnPerFrame = (kPi / 3) / kFrames;

} // namespace

// The jeep seen from eight directions, its wheels turning over ten frames.
void GenerateJeep(CAssetSink& sink)
{
    // Rendered whatever --only asks for: the strips' colours go into the
    // scenario palettes.
    std::array<std::vector<RenderedSprite>, DIRECTIONS> frames;
    for (int f = 0; f < kFrames; ++f) {
        const double bounce = 0.5 * std::sin(2 * kPi * 2 * f / kFrames);
        const Render3dScene scene = BuildJeep(f * kTurnPerFrame, bounce);
        // In the strips' direction order, a turn of 45 degrees each.
        for (int d = 0; d < DIRECTIONS; ++d) {
            Render3dView view;
            view.azimuth = d * kPi / 4;
            view.elevation = 0.1; // a little flatter than the animals: the jeep's frame is tight
            view.pixelsPerUnit = kFrameHeight / JEEP_SIZE;
            frames[size_t(d)].push_back(RenderScene(scene, view));
        }
    }
    for (int d = 0; d < DIRECTIONS; ++d) {
        const AssembledStrip strip = AssembleStrip(frames[size_t(d)], kFrameHeight);
        sink.WritePicture(kJeepStrips[d], strip.image, GROUP_HUNT, PictureStorage::Trle8,
                          strip.image.height / kFrameHeight, PaletteUse::Own);
    }
}
