#include "gamedata/HuntTables.h"
#include "generators/Generators.h"
#include "models/TreeModels.h"
#include "render3d/Render3dStrip.h"
#include "sink/CAssetSink.h"

#include <vector>

namespace {

struct TreeFile {
    ScenarioIndex scenario;
    int slot; // in the scenario's tree table
    TreeKind kind;
    uint32_t seed;
    uint32_t group;
};

// Each scenario's six tree kinds: the desert has only a palm and a dry thorn
// tree (its table repeats them), the plains acacias, a baobab and shrubs, the
// grass land lush acacias, a baobab in leaf, palms and dense bushes.
constexpr TreeFile kTrees[] = {
    {SCENARIO_DESERT, 0, TreeKind::DatePalm, 20, GROUP_DESERT},
    {SCENARIO_DESERT, 1, TreeKind::DryThornTree, 21, GROUP_DESERT},
    {SCENARIO_PLAINS, 0, TreeKind::UmbrellaAcacia, 10, GROUP_PLAINS},
    {SCENARIO_PLAINS, 1, TreeKind::Baobab, 11, GROUP_PLAINS},
    {SCENARIO_PLAINS, 2, TreeKind::FeverTree, 12, GROUP_PLAINS},
    {SCENARIO_PLAINS, 3, TreeKind::ThornBush, 13, GROUP_PLAINS},
    {SCENARIO_PLAINS, 4, TreeKind::YoungAcacia, 14, GROUP_PLAINS},
    {SCENARIO_PLAINS, 5, TreeKind::GreenBush, 15, GROUP_PLAINS},
    {SCENARIO_GRASSLAND, 0, TreeKind::LushAcacia, 30, GROUP_GRASS},
    {SCENARIO_GRASSLAND, 1, TreeKind::LeafyBaobab, 31, GROUP_GRASS},
    {SCENARIO_GRASSLAND, 2, TreeKind::FanPalm, 32, GROUP_GRASS},
    {SCENARIO_GRASSLAND, 3, TreeKind::RoundTree, 33, GROUP_GRASS},
    {SCENARIO_GRASSLAND, 4, TreeKind::GreenBush, 34, GROUP_GRASS},
    {SCENARIO_GRASSLAND, 5, TreeKind::PalmGroup, 35, GROUP_GRASS},
};

// The game draws every tree picture 256 world units tall, whatever its
// pixel height; one pixel per unit keeps trees as sharp as the animals.
constexpr int kTreeHeight = 256;
constexpr double kTreeSize = 256;

} // namespace

void GenerateTrees(CAssetSink& sink)
{
    for (const TreeFile& tree : kTrees) {
        const char* name = kScenarios[tree.scenario].trees[tree.slot];
        Render3dView view;
        view.azimuth = 0.6;
        view.elevation = 0.05; // trees are seen from the eye height, nearly level
        view.pixelsPerUnit = kTreeHeight / kTreeSize;
        const AssembledStrip picture =
            AssembleStrip({RenderScene(BuildTree(tree.kind, tree.seed), view)}, kTreeHeight);
        if (picture.clippedRows > 0)
            sink.Progress(std::string(name) + ": the tree is taller than its picture");
        sink.WritePicture(name, picture.image, tree.group);
    }
}
