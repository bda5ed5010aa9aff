#include "gamedata/HuntTables.h"
#include "generators/HudParts.h"
#include "models/HudGunModels.h"
#include "paint/Paint.h"
#include "paint/PaintNoise.h"
#include "sink/CAssetSink.h"

#include <cmath>
#include <string>
#include <vector>

namespace {

// How each gun is held and drawn. Where the game draws it (its resting
// top-left), how many frames its strip has and the screen point its shots go
// to are the weapon table's; the picture reaches from the resting row to the
// bottom of the view, so the muzzle lands on the aim point.
struct GunLayout {
    int weapon;
    int width;
    double eyeToRear;   // distance from the eye to the rear of the action (cm)
    double offsetX, offsetY; // the action sits a little right of and below the eye
    double flash;       // muzzle flash radius in pixels
    const WeaponDesc& Desc() const { return kWeapons[weapon]; }
};

constexpr GunLayout kGuns[] = {
    {WEAPON_ASSAULT_RIFLE, 256, 30, 5.0, 6.0, 30},
    {WEAPON_CROSSBOW, 640, 22, 0.0, 5.0, 0},
    {WEAPON_HANDGUN, 256, 22, 3.0, 5.0, 24},
    {WEAPON_MUZZLE_LOADER, 200, 16, 1.0, 5.5, 46},
    {WEAPON_RIFLE, 320, 14, 3.0, 6.0, 32},
    {WEAPON_SHOTGUN, 256, 12, 2.5, 6.0, 40},
};

struct FramePose {
    double lift;     // degrees the muzzle climbs in recoil
    double kick;     // cm the gun moves back
    double flash;    // share of the full muzzle flash
    GunPose pose;
};

std::vector<FramePose> FiringFrames(const GunLayout& gun)
{
    std::vector<FramePose> frames;
    // The shotgun's action sits far forward, so its wrist stays in view.
    const bool stock = gun.weapon == WEAPON_SHOTGUN;
    const GunPose plain{0, 0, true, false, stock};
    switch (gun.weapon) {
    case WEAPON_CROSSBOW:
        frames.push_back({0, 0, 0, plain});
        frames.push_back({1.5, 0.8, 0, {0, 1.0, false, false, false}});
        frames.push_back({0.6, 0.3, 0, {0, 1.0, false, false, false}});
        // Spanning the string back to the latch, then a new bolt.
        for (int k = 3; k <= 12; ++k)
            frames.push_back({0, 0, 0, {0, 1.0 - (k - 2) / 10.0, false, false, false}});
        frames.push_back({0, 0, 0, plain});
        break;
    case WEAPON_HANDGUN:
        frames = {{0, 0, 0, plain}, {6, 1.5, 1, {3, 0, true, false, false}}, {3.5, 0.8, 0.3, {1.5, 0, true, false, false}},
                  {1.2, 0.2, 0, plain}};
        break;
    default: {
        // Rifles: a flash and a kick that settles over the remaining frames.
        const double liftScale = gun.weapon == WEAPON_MUZZLE_LOADER ? 7 : gun.weapon == WEAPON_ASSAULT_RIFLE ? 2.5 : 5.5;
        frames.push_back({0, 0, 0, plain});
        const int count = gun.Desc().frames;
        for (int f = 1; f < count; ++f) {
            const double t = double(f - 1) / std::max(1, count - 1);
            const double settle = std::pow(1.0 - t, 1.5);
            frames.push_back({liftScale * settle, 2.5 * settle, f == 1 ? 1.0 : f == 2 ? 0.35 : 0.0, plain});
        }
        break;
    }
    }
    return frames;
}

// Moves gun space into the eye's space: the rear of the action at
// (offsetX, offsetY, eyeToRear), the barrel pointing at the sight line's far point.
struct Placement {
    double pitch, yaw;
    Vec3 offset;
};

Placement PlaceGun(const GunLayout& gun)
{
    const Vec3 rear{gun.offsetX, gun.offsetY, gun.eyeToRear};
    const Vec3 target{0, 0, gun.eyeToRear + GunSightLength(gun.weapon)};
    const Vec3 d = target - rear;
    const double length = std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
    return {std::asin(-d.y / length), std::atan2(d.x, d.z), rear};
}

void PlaceMesh(Mesh& mesh, const Placement& place, const FramePose& frame)
{
    // Recoil turns the gun about the shoulder, behind and below the action.
    mesh.Transform({0, 12, -25}, frame.lift * M_PI / 180, 0, {0, 0, -frame.kick});
    mesh.Transform({0, 0, 0}, place.pitch, place.yaw, place.offset);
}

void PaintMuzzleFlash(RgbaImage& image, double cx, double cy, double radius, uint32_t seed)
{
    if (radius < 1)
        return;
    const struct {
        double scale;
        uint32_t colour;
    } layers[] = {{1.0, Rgb(255, 150, 40)}, {0.68, Rgb(255, 214, 90)}, {0.38, Rgb(255, 250, 220)}};
    for (const auto& layer : layers) {
        Contour star;
        const int spikes = 9;
        for (int i = 0; i < spikes * 2; ++i) {
            const double angle = M_PI * i / spikes + 0.3;
            const double jitter = 0.7 + 0.5 * HashUnit(uint32_t(i), seed, 5);
            const double r = radius * layer.scale * (i % 2 ? 0.38 : jitter);
            star.push_back({cx + r * std::cos(angle), cy + r * std::sin(angle) * 0.85});
        }
        FillPolygon(image, star, layer.colour);
    }
}

RgbaImage PaintGunFrame(const GunLayout& gun, const FramePose& frame, int frameIndex)
{
    const WeaponDesc& desc = gun.Desc();
    const int height = 480 - desc.restingY;
    MeshCamera camera;
    camera.perspective = true;
    camera.focal = 320;
    camera.centreX = desc.aimX - desc.gunX;
    camera.centreY = desc.aimY - desc.restingY;
    camera.nearZ = 4;
    const Placement place = PlaceGun(gun);
    Mesh mesh = BuildGunMesh(gun.weapon, frame.pose);
    PlaceMesh(mesh, place, frame);
    RgbaImage image = RenderMesh(mesh, camera, gun.width, height);
    if (frame.flash > 0) {
        Mesh muzzle;
        muzzle.faces.push_back({{GunMuzzle(gun.weapon)}, 0});
        PlaceMesh(muzzle, place, frame);
        double mx, my;
        if (ProjectPoint(camera, muzzle.faces[0].points[0], mx, my))
            PaintMuzzleFlash(image, mx, my, gun.flash * frame.flash, uint32_t(gun.weapon * 31 + frameIndex));
    }
    return image;
}

// A puff of smoke: overlapping balls, lit from the upper left, with a
// transparent surround whose top-left pixel carries the key.
RgbaImage PaintSmoke(int width, int height, int balls, uint32_t seed)
{
    RgbaImage image(width, height);
    const double cx = width / 2.0, cy = height / 2.0;
    struct Ball {
        double x, y, r;
    };
    std::vector<Ball> list;
    for (int i = 0; i < balls; ++i) {
        const double angle = HashUnit(uint32_t(i), 1, seed) * 2 * M_PI;
        const double spread = HashUnit(uint32_t(i), 2, seed);
        const double r = std::min(width, height) * (0.14 + 0.12 * HashUnit(uint32_t(i), 3, seed));
        list.push_back({cx + std::cos(angle) * spread * (width / 2.0 - r - 1),
                        cy + std::sin(angle) * spread * (height / 2.0 - r - 1), r});
    }
    for (const Ball& b : list) {
        auto shade = [b](int x, int y) {
            const double dx = (x + 0.5 - (b.x - b.r * 0.35)) / b.r, dy = (y + 0.5 - (b.y - b.r * 0.35)) / b.r;
            const double light = std::clamp(1.0 - std::sqrt(dx * dx + dy * dy) * 0.55, 0.0, 1.0);
            return MixColour(Rgb(150, 148, 144), Rgb(236, 234, 230), light);
        };
        FillPolygon(image, EllipseContour(b.x, b.y, b.r, b.r), shade);
    }
    image.Set(0, 0, 0);
    return image;
}

} // namespace

void GenerateGunStrips(CAssetSink& sink)
{
    for (const GunLayout& gun : kGuns) {
        const std::vector<FramePose> poses = FiringFrames(gun);
        std::vector<RgbaImage> frames;
        for (size_t f = 0; f < poses.size() && int(f) < gun.Desc().frames; ++f)
            frames.push_back(PaintGunFrame(gun, poses[f], int(f)));
        sink.WritePicture(gun.Desc().gunPicture, StackFrames(frames), GROUP_HUNT, PictureStorage::Trle8, int(frames.size()),
                          PaletteUse::Context);
    }
}

void GenerateSmokePuffs(CAssetSink& sink)
{
    // Every firearm but the muzzle-loader shares the small puff; its black
    // powder makes the big one.
    sink.WritePicture(kWeapons[WEAPON_RIFLE].smokePicture, PaintSmoke(64, 56, 9, 71), GROUP_HUNT,
                      PictureStorage::Plain8);
    sink.WritePicture(kWeapons[WEAPON_MUZZLE_LOADER].smokePicture, PaintSmoke(120, 96, 16, 72), GROUP_HUNT,
                      PictureStorage::Plain8);
}
