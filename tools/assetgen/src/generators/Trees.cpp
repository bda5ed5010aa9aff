#include "generators/Generators.h"
#include "models/TreeModels.h"
#include "render3d/Render3dStrip.h"
#include "sink/CAssetSink.h"

#include <vector>

namespace {

struct TreeFile {
    const char* name;
    TreeKind kind;
    uint32_t seed;
    uint32_t group;
};

// Each scenario's six tree kinds: the desert has only a palm and a dry thorn
// tree (its table repeats them), the plains acacias, a baobab and shrubs, the
// grass land lush acacias, a baobab in leaf, palms and dense bushes.
constexpr TreeFile kTrees[] = {
    {"env\\tree20.bmp", TreeKind::DatePalm, 20, GROUP_DESERT},
    {"env\\tree21.bmp", TreeKind::DryThornTree, 21, GROUP_DESERT},
    {"env\\tree10.bmp", TreeKind::UmbrellaAcacia, 10, GROUP_PLAINS},
    {"env\\tree11.bmp", TreeKind::Baobab, 11, GROUP_PLAINS},
    {"env\\tree12.bmp", TreeKind::FeverTree, 12, GROUP_PLAINS},
    {"env\\tree13.bmp", TreeKind::ThornBush, 13, GROUP_PLAINS},
    {"env\\tree14.bmp", TreeKind::YoungAcacia, 14, GROUP_PLAINS},
    {"env\\tree15.bmp", TreeKind::GreenBush, 15, GROUP_PLAINS},
    {"env\\tree30.bmp", TreeKind::LushAcacia, 30, GROUP_GRASS},
    {"env\\tree31.bmp", TreeKind::LeafyBaobab, 31, GROUP_GRASS},
    {"env\\tree32.bmp", TreeKind::FanPalm, 32, GROUP_GRASS},
    {"env\\tree33.bmp", TreeKind::RoundTree, 33, GROUP_GRASS},
    {"env\\tree34.bmp", TreeKind::GreenBush, 34, GROUP_GRASS},
    {"env\\tree35.bmp", TreeKind::PalmGroup, 35, GROUP_GRASS},
};

// The game draws every tree picture 256 world units tall, whatever its
// pixel height; one pixel per unit keeps trees as sharp as the animals.
constexpr int kTreeHeight = 256;
constexpr double kTreeSize = 256;

} // namespace

void GenerateTrees(CAssetSink& sink)
{
    for (const TreeFile& tree : kTrees) {
        Render3dView view;
        view.azimuth = 0.6;
        view.elevation = 0.05; // trees are seen from the eye height, nearly level
        view.pixelsPerUnit = kTreeHeight / kTreeSize;
        const AssembledStrip picture =
            AssembleStrip({RenderScene(BuildTree(tree.kind, tree.seed), view)}, kTreeHeight);
        if (picture.clippedRows > 0)
            sink.Progress(std::string(tree.name) + ": the tree is taller than its picture");
        sink.WritePicture(tree.name, picture.image, tree.group);
    }
}
