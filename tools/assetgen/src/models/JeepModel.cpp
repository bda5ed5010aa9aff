#include "models/JeepModel.h"

namespace {

constexpr double kWheelRadius = 12;
constexpr double kWheelHalfWidth = 4.5;
constexpr double kAxleFront = 40, kAxleRear = -38, kTrack = 27;

const Vec3 kKhaki = Colour(198, 178, 124);
const Vec3 kDark = Colour(46, 46, 44);

Render3dSurface Paint(double mottle = 0.04)
{
    Render3dSurface s = PlainSurface(kKhaki, mottle, 0.25);
    s.period = 8;
    s.seed = 71;
    return s;
}

// Cylinders along the world axes: their own axis is local z.
const Mat3 kAlongX = RotateY(-kPi / 2);
const Mat3 kAlongY = RotateX(-kPi / 2);

void AddWheel(Render3dScene& scene, const Vec3& at, double turn, double side)
{
    Render3dSurface tyre;
    tyre.pattern = SurfacePattern::Tyre;
    tyre.colour = Colour(44, 42, 40);
    tyre.colour2 = Colour(176, 160, 116);
    // The wheel's local frame keeps the hub pattern upright on both sides:
    // the right-hand wheels are seen from the other face.
    tyre.phase = side > 0 ? turn : -turn;
    scene.Add(Cylinder(at, kWheelRadius, kWheelHalfWidth, side > 0 ? kAlongY : RotateX(kPi / 2), tyre));
}

} // namespace

Render3dScene BuildJeep(double wheelTurn, double bounce)
{
    Render3dScene scene;
    for (double side : {-1.0, 1.0}) {
        AddWheel(scene, {kAxleFront, side * kTrack, kWheelRadius}, wheelTurn, side);
        AddWheel(scene, {kAxleRear, side * kTrack, kWheelRadius}, wheelTurn, side);
    }
    const Vec3 up{0, 0, bounce};
    const Render3dSurface paint = Paint();
    const Render3dSurface dark = PlainSurface(kDark, 0.05, 0.15);
    const Render3dSurface seat = PlainSurface(Colour(92, 62, 40), 0.1, 0.1);
    const Render3dSurface floor = PlainSurface(Colour(96, 88, 66), 0.1);
    Render3dSurface glass = PlainSurface(Colour(120, 150, 170), 0, 0.9);
    Render3dSurface lamp = PlainSurface(Colour(250, 244, 210), 0, 1.0);
    Render3dSurface grille = PlainSurface(Colour(60, 58, 52));
    grille.pattern = SurfacePattern::Stripes;
    grille.colour = Colour(70, 68, 60);
    grille.colour2 = Colour(24, 24, 22);
    grille.period = 4;

    auto box = [&](const Vec3& c, const Vec3& half, const Render3dSurface& s, const Mat3& axes = Mat3()) {
        scene.Add(Box(c + up, half, axes, s));
    };
    // Chassis and the open tub.
    box({0, 0, 20}, {60, 24, 7}, paint);
    box({-22, 0, 27.5}, {37, 24, 1}, floor);
    for (double side : {-1.0, 1.0}) {
        box({-22, side * 23, 33}, {37, 2, 7}, paint);
        // A dark trim line along the flank.
        box({-24, side * 25.1, 31}, {34, 0.4, 0.7}, dark);
        // Mudguards over the wheels.
        box({kAxleFront, side * kTrack, 27.5}, {15, 6.5, 1.8}, paint);
        box({kAxleRear, side * kTrack, 27.5}, {15, 6.5, 1.8}, paint);
        // Seats.
        box({-2, side * 11, 31}, {7, 8, 3.5}, seat);
        box({-9, side * 11, 39}, {1.8, 8, 8}, seat, RotateY(-0.15));
        box({-40, side * 11, 31}, {7, 8, 3.5}, seat);
        box({-47, side * 11, 39}, {1.8, 8, 8}, seat, RotateY(-0.15));
        // Lamps in the front and a bumper below.
        scene.Add(Cylinder(Vec3(61.5, side * 16, 31) + up, 4, 1.5, kAlongX, lamp));
        scene.Add(Cylinder(Vec3(60, side * 16, 31) + up, 5, 1.2, kAlongX, dark));
    }
    box({-58, 0, 33}, {2, 25, 7}, paint);
    // Bonnet, grille and bumper.
    box({36, 0, 30}, {24, 23, 4}, paint);
    box({60.5, 0, 25}, {13, 1.2, 6.5}, grille, RotateZ(kPi / 2));
    box({64, 0, 15}, {2.5, 30, 3}, dark);
    box({-61, 0, 15}, {2, 28, 3}, dark);
    // Windscreen, leaning back, in a dark frame.
    const Mat3 lean = RotateY(-0.28);
    box({12, 0, 45}, {1.5, 22, 10}, glass, lean);
    box({12, 0, 45}, {1.0, 24, 11}, dark, lean);
    // Roll bar over the rear seats, and the spare wheel on the tail.
    const Render3dSurface bar = PlainSurface(Colour(34, 34, 32), 0, 0.4);
    for (double side : {-1.0, 1.0}) {
        scene.Add(Capsule(Vec3(-18, side * 22, 38) + up, Vec3(-20, side * 22, 57) + up, 1.5, bar));
        scene.Add(Capsule(Vec3(-55, side * 22, 38) + up, Vec3(-53, side * 22, 57) + up, 1.5, bar));
        scene.Add(Capsule(Vec3(-20, side * 22, 64) + up, Vec3(-53, side * 22, 57) + up, 1.5, bar));
    }
    scene.Add(Capsule(Vec3(-20, -22, 64) + up, Vec3(-20, 22, 57) + up, 1.5, bar));
    scene.Add(Capsule(Vec3(-53, -22, 64) + up, Vec3(-53, 22, 57) + up, 1.5, bar));
    Render3dSurface spare;
    spare.pattern = SurfacePattern::Tyre;
    spare.colour = Colour(44, 42, 40);
    spare.colour2 = kKhaki;
    scene.Add(Cylinder(Vec3(-64, 0, 37) + up, 11, 3.5, RotateY(kPi / 2), spare));
    return scene;
}
