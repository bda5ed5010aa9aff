#include "gamedata/HuntTables.h"
#include "generators/Generators.h"
#include "models/AnimalModel.h"
#include "render3d/Render3dStrip.h"
#include "sink/CAssetSink.h"

#include <algorithm>
#include <string>
#include <thread>
#include <vector>

namespace {

// The game looks at animals from an eye height of 48 units over distances of
// a few hundred: a shallow view from above.
constexpr double kElevation = 0.14;

AnimalAction ActionOfFrame(const AnimalKindDesc& kind, int frame, int& first, int& count)
{
    for (int a = 0; a < ANIMAL_ACTION_COUNT; ++a) {
        const AnimationRange& r = kind.ranges[a];
        if (frame >= r.first && frame <= r.last) {
            first = r.first;
            count = r.Count();
            return AnimalAction(a);
        }
    }
    first = frame;
    count = 1;
    return AnimalAction::Alert;
}

void GenerateKind(CAssetSink& sink, AnimalId id, const AnimalKindDesc& kind)
{
    // Every direction is rendered whatever --only asks for: the strips'
    // colours go into the scenario palettes.
    const std::vector<int> directions = {0, 1, 2, 3, 4, 5, 6, 7};
    // Frames are independent: two workers take turns, each writing only its
    // own slots, so the result does not depend on the scheduling.
    const int count = kind.StripFrames();
    std::vector<std::vector<RenderedSprite>> frames(8, std::vector<RenderedSprite>(size_t(count)));
    auto work = [&](int worker, int workers) {
        for (int f = worker; f < count; f += workers) {
            int first = 0, length = 1;
            const AnimalAction action = ActionOfFrame(kind, f, first, length);
            const Render3dScene scene = BuildAnimal(id, PoseFor(id, action, f - first, length));
            for (int d : directions) {
                Render3dView view;
                view.azimuth = d * kPi / 4;
                view.elevation = kElevation;
                view.pixelsPerUnit = kind.frameHeight / kind.size;
                frames[size_t(d)][size_t(f)] = RenderScene(scene, view);
            }
        }
    };
    std::thread helper(work, 1, 2);
    work(0, 2);
    helper.join();
    for (int d : directions) {
        const AssembledStrip strip = AssembleStrip(frames[size_t(d)], kind.frameHeight);
        if (strip.clippedRows > 0)
            sink.Progress(std::string(kind.strips[size_t(d)]) + ": the frames are too short for the " + kind.name);
        sink.WritePicture(kind.strips[size_t(d)], strip.image, GROUP_HUNT, PictureStorage::Trle8,
                          strip.image.height / kind.frameHeight, PaletteUse::Own);
    }
}

} // namespace

// Seven kinds, each seen from eight directions, every frame of every action
// rendered from the kind's posed solids.
void GenerateAnimals(CAssetSink& sink)
{
    for (int i = 0; i < ANIMAL_KIND_COUNT; ++i)
        GenerateKind(sink, AnimalId(i), kAnimalKinds[i]);
}
