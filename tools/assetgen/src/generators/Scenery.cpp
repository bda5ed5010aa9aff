#include "gamedata/HuntTables.h"
#include "generators/Generators.h"
#include "paint/SceneryPainter.h"
#include "sink/CAssetSink.h"

namespace {

struct SceneryFiles {
    Scenario scenario;
    uint32_t group;
    ScenarioIndex files; // whose panorama and ground these are
};

constexpr SceneryFiles kScenery[] = {
    {Scenario::Desert, GROUP_DESERT, SCENARIO_DESERT},
    {Scenario::Plains, GROUP_PLAINS, SCENARIO_PLAINS},
    {Scenario::Grass, GROUP_GRASS, SCENARIO_GRASSLAND},
};

} // namespace

// Each hunting ground's panorama and ground texture. Both are plain 8-bit
// pictures without transparency: the panorama is drawn against the back
// buffer and the ground keeps its own 8-bit format for the renderer.
void GenerateScenery(CAssetSink& sink)
{
    for (const SceneryFiles& files : kScenery) {
        const ScenarioDesc& names = kScenarios[files.files];
        sink.WritePicture(names.background,
                          PaintPanorama(files.scenario, kPanoramaWidth, kPanoramaHeight, 2 * kPanoramaHeight),
                          files.group, PictureStorage::Plain8);
        sink.WritePicture(names.ground, PaintGround(files.scenario), files.group, PictureStorage::Plain8, 1,
                          PaletteUse::Ground);
    }
}
