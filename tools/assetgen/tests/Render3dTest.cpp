// The sprite renderer's conventions: solids, views, strips and poses.

#include "gamedata/HuntTables.h"
#include "models/AnimalPose.h"
#include "render3d/Render3dPrimitive.h"
#include "render3d/Render3dRenderer.h"
#include "render3d/Render3dScene.h"
#include "render3d/Render3dStrip.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

const Render3dSurface kGrey = PlainSurface({0.5, 0.5, 0.5});

// The mean column of the opaque pixels of a picture, relative to `originX`.
double OpaqueCentreX(const RenderedSprite& sprite)
{
    double sum = 0;
    int count = 0;
    for (int y = 0; y < sprite.image.height; ++y)
        for (int x = 0; x < sprite.image.width; ++x)
            if (sprite.image.Get(x, y) >> 24) {
                sum += x + 0.5 - sprite.originX;
                ++count;
            }
    return count ? sum / count : 0;
}

int OpaqueCount(const RgbaImage& image)
{
    int count = 0;
    for (uint32_t p : image.pixels)
        count += (p >> 24) != 0;
    return count;
}

// A body along +x with a knob on its left (+y) flank.
Render3dScene Marked()
{
    Render3dScene scene;
    scene.Add(Ellipsoid({0, 0, 10}, {20, 6, 6}, Mat3(), kGrey));
    scene.Add(Ellipsoid({0, 9, 10}, {3, 3, 3}, Mat3(), kGrey));
    return scene;
}

} // namespace

TEST(Render3dPrimitive, RaysMeetEachShapeWhereItsSurfaceIs)
{
    const Vec3 down{0, 0, -1};
    double tNear = 0, tFar = 0;
    struct Case {
        Render3dPrimitive solid;
        double top; // height of the surface straight above the centre
    };
    const Case cases[] = {
        {Ellipsoid({0, 0, 0}, {4, 5, 3}, Mat3(), kGrey), 3},
        {Capsule({-5, 0, 0}, {5, 0, 0}, 2, kGrey), 2},
        {Box({0, 0, 0}, {3, 3, 1.5}, RotateZ(0.7), kGrey), 1.5},
        {Cylinder({0, 0, 0}, 2.5, 4, RotateX(kPi / 2), kGrey), 2.5},
    };
    for (const Case& c : cases) {
        const Render3dPrimitive& p = c.solid;
        // A ray falling from z = 10 onto the centre.
        ASSERT_TRUE(p.IntersectLocal(p.Local({0, 0, 10}), p.axes.TransposedTimes(down), tNear, tFar));
        EXPECT_NEAR(10 - tNear, c.top, 1e-9) << int(p.shape);
        EXPECT_NEAR(10 - tFar, -c.top, 1e-9) << int(p.shape);
        const Vec3 n = p.Normal({0, 0, c.top});
        EXPECT_NEAR(n.z, 1, 1e-9) << int(p.shape);
        EXPECT_NEAR(p.centre.z + p.Extent({0, 0, 1}), c.top, 1e-9) << int(p.shape);
        // Far to the side, the ray misses.
        EXPECT_FALSE(p.IntersectLocal(p.Local({20, 20, 10}), p.axes.TransposedTimes(down), tNear, tFar));
    }
    // The capsule's round end: a ray along its axis meets the cap's apex.
    const Render3dPrimitive capsule = Capsule({-5, 0, 0}, {5, 0, 0}, 2, kGrey);
    ASSERT_TRUE(capsule.IntersectLocal(capsule.Local({20, 0, 0}), capsule.axes.TransposedTimes({-1, 0, 0}), tNear, tFar));
    EXPECT_NEAR(20 - tNear, 7, 1e-9);
    EXPECT_NEAR(20 - tFar, -7, 1e-9);
}

TEST(Render3dScene, PutOnGroundRestsTheLowestPointOnZeroInAnyPose)
{
    Render3dScene scene;
    scene.Add(Box({0, 0, -7}, {5, 2, 1}, RotateY(0.6), kGrey));
    scene.Add(Ellipsoid({3, 0, 4}, {2, 2, 8}, RotateX(1.0), kGrey));
    scene.PutOnGround();
    EXPECT_NEAR(scene.LowestZ(), 0, 1e-9);
}

TEST(Render3dRenderer, PixelsAreOpaqueOrTransparentAndFillTheSilhouette)
{
    Render3dScene scene;
    scene.Add(Ellipsoid({0, 0, 10}, {10, 10, 10}, Mat3(), kGrey));
    Render3dView view;
    view.elevation = 0;
    view.pixelsPerUnit = 2;
    const RenderedSprite sprite = RenderScene(scene, view);
    for (uint32_t p : sprite.image.pixels)
        EXPECT_TRUE((p >> 24) == 0 || (p >> 24) == 255);
    // A disc of radius 20 pixels.
    EXPECT_NEAR(OpaqueCount(sprite.image), kPi * 20 * 20, 0.03 * kPi * 20 * 20);
    EXPECT_NEAR(OpaqueCentreX(sprite), 0, 0.05);
    // The sun stands to the upper left: that side is the brighter.
    const uint32_t left = sprite.image.Get(sprite.originX - 12, sprite.originY - 24);
    const uint32_t right = sprite.image.Get(sprite.originX + 12, sprite.originY - 16);
    EXPECT_GT(left & 0xFF, right & 0xFF);

    const RenderedSprite empty = RenderScene(Render3dScene(), view);
    EXPECT_EQ(empty.image.width, 1);
    EXPECT_EQ(OpaqueCount(empty.image), 0);
}

TEST(Render3dRenderer, DirectionsShowTheSidesTheGameExpects)
{
    // Strip k is seen from k eighths of a turn counter-clockwise from the
    // heading: 0 shows the face, 2 the left flank with the head to the
    // viewer's left, 4 the back, 6 the right flank with the head to the right.
    const Render3dScene scene = Marked();
    Render3dView view;
    view.pixelsPerUnit = 1;
    view.azimuth = 0;
    EXPECT_GT(OpaqueCentreX(RenderScene(scene, view)), 0.5); // its left is our right
    view.azimuth = kPi;
    EXPECT_LT(OpaqueCentreX(RenderScene(scene, view)), -0.5);
    view.azimuth = kPi / 2;
    Render3dScene head = scene;
    head.Add(Ellipsoid({24, 0, 12}, {5, 5, 5}, Mat3(), kGrey));
    EXPECT_LT(OpaqueCentreX(RenderScene(head, view)), -0.5);
    view.azimuth = 3 * kPi / 2;
    EXPECT_GT(OpaqueCentreX(RenderScene(head, view)), 0.5);
}

TEST(Render3dStrip, FramesShareAWidthCentredOnTheOriginAndStandOnTheBottomRow)
{
    Render3dView view;
    view.pixelsPerUnit = 1;
    std::vector<RenderedSprite> frames;
    for (int f = 0; f < 3; ++f) {
        Render3dScene scene;
        // A ball that drifts right and rises: the strip grounds and centres it.
        scene.Add(Ellipsoid({0, -4.0 * f, 6 + 3.0 * f}, {6, 6, 6}, Mat3(), kGrey));
        frames.push_back(RenderScene(scene, view));
    }
    const AssembledStrip strip = AssembleStrip(frames, 30);
    ASSERT_EQ(strip.image.height, 90);
    EXPECT_EQ(strip.frameWidth, strip.image.width);
    EXPECT_EQ(strip.clippedRows, 0);
    EXPECT_EQ(strip.frameWidth % 2, 0);
    for (int f = 0; f < 3; ++f) {
        int left = strip.frameWidth, right = -1, bottom = -1;
        for (int y = f * 30; y < f * 30 + 30; ++y)
            for (int x = 0; x < strip.frameWidth; ++x)
                if (strip.image.Get(x, y) >> 24) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                    bottom = std::max(bottom, y);
                }
        EXPECT_EQ(bottom, f * 30 + 29) << f;
        EXPECT_GT(left, 0) << f;                      // a clear column either side
        EXPECT_LT(right, strip.frameWidth - 1) << f;
    }
    // Frame 0's ball sits on the centre line.
    int left = strip.frameWidth, right = -1;
    for (int x = 0; x < strip.frameWidth; ++x)
        if (strip.image.Get(x, 29) >> 24) {
            left = std::min(left, x);
            right = std::max(right, x);
        }
    EXPECT_NEAR((left + right + 1) / 2.0, strip.frameWidth / 2.0, 1.0);

    // Too tall a picture is reported.
    EXPECT_GT(AssembleStrip(frames, 8).clippedRows, 0);
}

TEST(AnimalPose, LoopsCloseAndTheDeadLieOnTheirSide)
{
    for (int id = 0; id < ANIMAL_KIND_COUNT; ++id)
        for (AnimalAction action : {AnimalAction::Attack, AnimalAction::Graze, AnimalAction::Alert,
                                    AnimalAction::Run, AnimalAction::Rest, AnimalAction::Walk}) {
            const AnimalKindDesc& kind = kAnimalKinds[id];
            const int count = kind.ranges[int(action)].Count();
            // One step past the last frame is the first frame again.
            const AnimalPose first = PoseFor(AnimalId(id), action, 0, count);
            const AnimalPose wrapped = PoseFor(AnimalId(id), action, count, count);
            for (size_t leg = 0; leg < 4; ++leg) {
                EXPECT_NEAR(first.swing[leg], wrapped.swing[leg], 1e-9) << kind.name << int(action);
                EXPECT_NEAR(first.bend[leg], wrapped.bend[leg], 1e-9) << kind.name << int(action);
            }
            EXPECT_NEAR(first.pitch, wrapped.pitch, 1e-9);
            EXPECT_NEAR(first.neckYaw, wrapped.neckYaw, 1e-9);
        }
    for (int id = 0; id < ANIMAL_KIND_COUNT; ++id) {
        const int count = kAnimalKinds[id].ranges[int(AnimalAction::Dying)].Count();
        EXPECT_EQ(PoseFor(AnimalId(id), AnimalAction::Dying, 0, count).roll, 0);
        EXPECT_GT(PoseFor(AnimalId(id), AnimalAction::Dying, count - 1, count).roll, 0.7) << kAnimalKinds[id].name;
    }
}
