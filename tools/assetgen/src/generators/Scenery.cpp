#include "generators/Generators.h"
#include "paint/SceneryPainter.h"
#include "sink/CAssetSink.h"

namespace {

struct SceneryFiles {
    Scenario scenario;
    uint32_t group;
    const char* panorama;
    const char* ground;
};

constexpr SceneryFiles kScenery[] = {
    {Scenario::Desert, GROUP_DESERT, "env\\back10.bmp", "env\\grass10.bmp"},
    {Scenario::Plains, GROUP_PLAINS, "env\\back20.bmp", "env\\grass20.bmp"},
    {Scenario::Grass, GROUP_GRASS, "env\\back30.bmp", "env\\grass30.bmp"},
};

} // namespace

// Each hunting ground's panorama and ground texture. Both are plain 8-bit
// pictures without transparency: the panorama is drawn against the back
// buffer and the ground keeps its own 8-bit format for the renderer.
void GenerateScenery(CAssetSink& sink)
{
    for (const SceneryFiles& files : kScenery) {
        sink.WritePicture(files.panorama,
                              PaintPanorama(files.scenario, kPanoramaWidth, kPanoramaHeight, 2 * kPanoramaHeight),
                              files.group, PictureStorage::Plain8);
        sink.WritePicture(files.ground, PaintGround(files.scenario), files.group, PictureStorage::Plain8, 1,
                          PaletteUse::Ground);
    }
}
