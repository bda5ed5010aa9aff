// The rendered art: the sprite renderer's conventions, and the animals, jeep
// and trees as the game loads them.

#include "gamedata/DataFiles.h"
#include "gamedata/HuntTables.h"
#include "generators/Generators.h"
#include "models/AnimalPose.h"
#include "render3d/Render3dRenderer.h"
#include "render3d/Render3dStrip.h"
#include "sink/CAssetSink.h"

#include "imaging/PixelFormat.h"
#include "sprites/CDibPacked.h"
#include "sprites/CDibTrle.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

// ---------------------------------------------------------------------------
// Reading the written files back.

// An 8-bit picture's indices, top row first (0 is transparent).
struct Indices {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;

    uint8_t At(int x, int y) const { return pixels[size_t(y) * width + x]; }
    bool Opaque(int x, int y) const { return At(x, y) != 0; }
};

// Loads `path` the way the game does (a "TRLE" sprite) and decodes it for
// inspection. Failures are reported through gtest and leave `out` empty.
void LoadSprite(const std::string& path, Indices& out)
{
    CDibTrle sprite;
    ASSERT_EQ(sprite.Load(PictureSource::File(path)), DIB_OK) << path;
    ASSERT_EQ(sprite.GetFormat(), PF_INDEX8) << path;
    CDibPacked packed;
    ASSERT_EQ(packed.Load(PictureSource::File(path), LOAD_DECOMPRESS), DIB_OK) << path;
    ASSERT_EQ(packed.GetWidth(), sprite.GetWidth());
    ASSERT_EQ(packed.GetHeight(), sprite.GetHeight());
    uint8_t* bits = nullptr;
    int pitch = 0;
    ASSERT_EQ(packed.Lock(&bits, &pitch), DIB_OK);
    out.width = packed.GetWidth();
    out.height = packed.GetHeight();
    out.pixels.resize(size_t(out.width) * out.height);
    for (int y = 0; y < out.height; ++y) // stored bottom-up
        std::copy_n(bits + size_t(out.height - 1 - y) * pitch, out.width, out.pixels.begin() + long(y) * out.width);
    packed.Unlock();
}

// Rows `top`..`top + rows - 1` of a strip with at least one opaque pixel.
int OpaqueRows(const Indices& strip, int top, int rows)
{
    int count = 0;
    for (int y = top; y < top + rows; ++y)
        for (int x = 0; x < strip.width; ++x)
            if (strip.Opaque(x, y)) {
                ++count;
                break;
            }
    return count;
}

std::vector<uint8_t> FrameBytes(const Indices& strip, int frame, int frameHeight)
{
    const auto first = strip.pixels.begin() + long(frame) * frameHeight * strip.width;
    return {first, first + long(frameHeight) * strip.width};
}

// Every frame of a strip stands on its bottom row, keeps its top row and its
// corners clear, and shows something.
void ExpectFramesStandOnTheirBottomRow(const Indices& strip, int frameHeight, const std::string& name)
{
    ASSERT_GT(frameHeight, 0);
    ASSERT_EQ(strip.height % frameHeight, 0) << name;
    for (int f = 0; f < strip.height / frameHeight; ++f) {
        const int top = f * frameHeight, bottom = top + frameHeight - 1;
        bool feet = false, clearTop = true;
        for (int x = 0; x < strip.width; ++x) {
            feet = feet || strip.Opaque(x, bottom);
            clearTop = clearTop && !strip.Opaque(x, top);
        }
        EXPECT_TRUE(feet) << name << " frame " << f << ": nothing on the bottom row";
        EXPECT_TRUE(clearTop) << name << " frame " << f << ": the picture touches the frame's top";
        EXPECT_FALSE(strip.Opaque(0, bottom) || strip.Opaque(strip.width - 1, bottom)) << name << " frame " << f;
        EXPECT_GT(OpaqueRows(strip, top, frameHeight), frameHeight / 8) << name << " frame " << f;
    }
}

std::vector<uint8_t> FileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Every tree picture of the three scenarios, each once.
std::vector<std::string> TreeFiles()
{
    std::vector<std::string> names;
    for (const std::string& name : GameDataFiles())
        if (name.rfind("env\\tree", 0) == 0)
            names.push_back(name);
    return names;
}

double PixelsPerUnit(const AnimalKindDesc& kind)
{
    return kind.frameHeight / kind.size;
}

// The animals, the jeep and the trees, as the build generated them.
class Art3dData : public ::testing::Test {
protected:
    static std::string PathOf(const std::string& name) { return CAssetSink(VELDRA_GENERATED_DATA_DIR, "").PathOf(name); }
};


// The opaque height of a kind's first idle frame seen from the side, in world units.
double StandingHeight(const std::string& path, const AnimalKindDesc& kind)
{
    Indices strip;
    LoadSprite(path, strip);
    if (strip.pixels.empty())
        return 0;
    const int frame = kind.ranges[int(AnimalAction::Graze)].first;
    return OpaqueRows(strip, frame * kind.frameHeight, kind.frameHeight) / PixelsPerUnit(kind);
}

} // namespace

TEST_F(Art3dData, EveryPictureIsWritten)
{
    std::vector<std::string> names = TreeFiles();
    for (const AnimalKindDesc& kind : kAnimalKinds)
        names.insert(names.end(), std::begin(kind.strips), std::end(kind.strips));
    names.insert(names.end(), std::begin(kJeepStrips), std::end(kJeepStrips));
    EXPECT_EQ(names.size(), size_t(ANIMAL_KIND_COUNT * DIRECTIONS + DIRECTIONS) + TreeFiles().size());
    for (const std::string& name : names)
        EXPECT_FALSE(FileBytes(PathOf(name)).empty()) << name;
}

TEST_F(Art3dData, AnimalStripsHoldEveryFrameOfTheAnimationTable)
{
    for (const AnimalKindDesc& kind : kAnimalKinds)
        for (const char* name : kind.strips) {
            Indices strip;
            LoadSprite(PathOf(name), strip);
            ASSERT_FALSE(strip.pixels.empty()) << name;
            EXPECT_EQ(strip.height, kind.StripFrames() * kind.frameHeight) << name;
            for (const AnimationRange& range : kind.ranges)
                EXPECT_LT(range.last, kind.StripFrames()) << name;
            ExpectFramesStandOnTheirBottomRow(strip, kind.frameHeight, name);
        }
}

TEST_F(Art3dData, AnimalsMoveWithinTheirActions)
{
    for (int id = 0; id < ANIMAL_KIND_COUNT; ++id) {
        const AnimalKindDesc& kind = kAnimalKinds[id];
        const std::string name = kind.strips[2]; // seen from the side
        Indices strip;
        LoadSprite(PathOf(name), strip);
        ASSERT_FALSE(strip.pixels.empty()) << name;
        for (AnimalAction action : {AnimalAction::Attack, AnimalAction::Run, AnimalAction::Walk}) {
            const AnimationRange& r = kind.ranges[int(action)];
            EXPECT_NE(FrameBytes(strip, r.first, kind.frameHeight),
                      FrameBytes(strip, r.first + r.Count() / 2, kind.frameHeight))
                << name << " action " << int(action) << " stands still";
        }
        // The dying animal ends lying on the ground, lower than when standing;
        // much lower, unless it is a hippo, about as broad as it is tall.
        const AnimationRange& dying = kind.ranges[int(AnimalAction::Dying)];
        const int standing = OpaqueRows(strip, dying.first * kind.frameHeight, kind.frameHeight);
        const int lying = OpaqueRows(strip, dying.last * kind.frameHeight, kind.frameHeight);
        EXPECT_LT(lying * 10, standing * (AnimalId(id) == AnimalId::Hippo ? 10 : 8)) << name;
    }
}

TEST_F(Art3dData, AnimalSizesKeepTheirProportions)
{
    auto height = [&](AnimalId id) {
        const AnimalKindDesc& kind = kAnimalKinds[int(id)];
        return StandingHeight(PathOf(kind.strips[2]), kind);
    };
    const double elephant = height(AnimalId::Elephant), giraffe = height(AnimalId::Giraffe);
    const double zebra = height(AnimalId::Zebra), hippo = height(AnimalId::Hippo);
    const double lion = height(AnimalId::Lion), lioness = height(AnimalId::Lioness);
    EXPECT_GT(elephant, 1.5 * zebra);
    EXPECT_GT(giraffe, elephant);
    EXPECT_GT(elephant, 1.5 * hippo);
    EXPECT_GT(lion, lioness);
    EXPECT_GT(zebra, lioness);
}

TEST_F(Art3dData, JeepStripsHaveTenFramesWithTurningWheels)
{
    int frontWidth = 0, sideWidth = 0;
    for (const char* name : kJeepStrips) {
        Indices strip;
        LoadSprite(PathOf(name), strip);
        ASSERT_FALSE(strip.pixels.empty()) << name;
        EXPECT_EQ(strip.height, JEEP_FRAMES * JEEP_FRAME_HEIGHT) << name;
        ExpectFramesStandOnTheirBottomRow(strip, JEEP_FRAME_HEIGHT, name);
        if (name == kJeepStrips[0]) // from the front
            frontWidth = strip.width;
        if (name == kJeepStrips[2]) { // from the left
            sideWidth = strip.width;
            for (int f = 1; f < JEEP_FRAMES; ++f)
                EXPECT_NE(FrameBytes(strip, 0, JEEP_FRAME_HEIGHT), FrameBytes(strip, f, JEEP_FRAME_HEIGHT))
                    << "frame " << f;
        }
    }
    EXPECT_GT(sideWidth * 10, frontWidth * 16); // much longer than wide
}

TEST_F(Art3dData, TreesAreOneFrameStandingOnTheirTrunk)
{
    for (const std::string& name : TreeFiles()) {
        Indices tree;
        LoadSprite(PathOf(name), tree);
        ASSERT_FALSE(tree.pixels.empty()) << name;
        EXPECT_EQ(tree.height, 256) << name;
        ExpectFramesStandOnTheirBottomRow(tree, tree.height, name);
        // The game centres a tree on its position: the trunk meets the ground there.
        bool trunk = false;
        for (int x = tree.width / 2 - 4; x <= tree.width / 2 + 4; ++x)
            trunk = trunk || tree.Opaque(x, tree.height - 1);
        EXPECT_TRUE(trunk) << name;
    }
}
