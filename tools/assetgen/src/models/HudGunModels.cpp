#include "models/HudGunModels.h"

#include "paint/Paint.h"

#include <cmath>

namespace {

const uint32_t kBlued = Rgb(86, 90, 102);
const uint32_t kDarkMetal = Rgb(60, 62, 70);
const uint32_t kSteel = Rgb(150, 152, 160);
const uint32_t kWood = Rgb(138, 84, 42);
const uint32_t kDarkWood = Rgb(100, 58, 30);
const uint32_t kBrass = Rgb(196, 156, 70);
const uint32_t kPolymer = Rgb(48, 48, 50);
const uint32_t kGlove = Rgb(92, 70, 48);

// A block tapering from one cross-section at z0 to another at z1.
void AddTapered(Mesh& mesh, double z0, double x0, double top0, double bottom0, double z1, double x1, double top1,
                double bottom1, uint32_t colour)
{
    const Vec3 c[8] = {{-x0, top0, z0}, {x0, top0, z0}, {x0, bottom0, z0}, {-x0, bottom0, z0},
                       {-x1, top1, z1}, {x1, top1, z1}, {x1, bottom1, z1}, {-x1, bottom1, z1}};
    mesh.AddBlock(c, colour);
}

// A block leaning forward: its top face at y0 spans z0..z1, its bottom face
// at y1 spans z0 + lean .. z1 + lean.
void AddLeaning(Mesh& mesh, double halfX, double y0, double y1, double z0, double z1, double lean, uint32_t colour)
{
    const Vec3 c[8] = {{-halfX, y0, z0},        {halfX, y0, z0},        {halfX, y1, z0 + lean},
                       {-halfX, y1, z0 + lean}, {-halfX, y0, z1},       {halfX, y0, z1},
                       {halfX, y1, z1 + lean},  {-halfX, y1, z1 + lean}};
    mesh.AddBlock(c, colour);
}

void AddGripHand(Mesh& mesh, double y0, double y1, double z0, double z1, double lean)
{
    AddLeaning(mesh, 2.6, y0, y1, z0 - 1.2, z1 + 1.2, lean, kGlove);
}

Mesh AssaultRifle(const GunPose& pose)
{
    Mesh m;
    m.AddBox({-1.8, 1.6, -2}, {1.8, 6.2, 24}, kBlued);              // receiver
    m.AddCylinder({0, 1.9, -2}, {0, 1.9, 22}, 1.7, 1.7, 10, kBlued); // rounded dust cover
    m.AddBox({-1.0, 0.2, 21}, {1.0, 1.9, 25}, kDarkMetal);          // rear sight block
    m.AddCylinder({0, 3.2, 24}, {0, 3.2, 62}, 1.05, 1.0, 10, kDarkMetal); // barrel
    m.AddCylinder({0, 1.3, 25}, {0, 1.3, 45}, 0.9, 0.9, 8, kBlued);       // gas tube
    AddTapered(m, 26, 2.3, 2.0, 6.0, 43, 2.0, 2.2, 5.4, kWood);           // lower handguard
    AddTapered(m, 28, 1.5, 0.4, 2.1, 42, 1.4, 0.5, 2.1, kWood);           // upper handguard
    m.AddBox({-1.0, 1.2, 55}, {1.0, 4.3, 59}, kDarkMetal);          // front sight base
    m.AddBox({-0.22, 0.0, 56.6}, {0.22, 1.4, 57.6}, kDarkMetal);    // front sight post
    m.AddCylinder({0, 3.2, 62}, {0, 3.2, 66}, 1.35, 1.3, 10, kDarkMetal); // muzzle brake
    // Curved magazine in four slabs, leaning forward as it goes down.
    for (int i = 0; i < 4; ++i)
        AddLeaning(m, 1.2, 6.2 + i * 4.2, 10.4 + i * 4.2, 9 + i * 1.9, 16.5 + i * 1.9, 2.0, Rgb(120, 62, 30));
    AddLeaning(m, 1.4, 6.2, 15, -1.5, 2.5, -3.5, kDarkWood); // pistol grip
    if (pose.stock)
        AddTapered(m, -2, 1.9, 2.2, 7.5, -40, 1.8, 3.5, 14, kWood); // stock
    if (pose.hands) {
        AddTapered(m, 29, 3.0, 3.4, 8.0, 39, 2.9, 3.3, 7.6, kGlove);
        AddGripHand(m, 7, 13, -1.5, 2.5, -3);
    }
    return m;
}

Mesh Crossbow(const GunPose& pose)
{
    Mesh m;
    AddTapered(m, -12, 2.0, 1.0, 6.5, 40, 1.6, 1.0, 4.0, kWood);            // stock
    m.AddBox({-0.9, 0.2, -2}, {0.9, 1.0, 44}, kDarkMetal);                  // rail
    m.AddBox({-2.8, 0.0, 40}, {2.8, 4.0, 47}, kPolymer);                    // riser
    m.AddCylinder({0, 2.4, 47}, {0, 9.5, 48.5}, 0.6, 0.6, 6, kDarkMetal);   // stirrup legs
    m.AddBox({-3.5, 9.0, 47}, {3.5, 10.2, 49}, kDarkMetal);
    AddLeaning(m, 1.3, 6.5, 14, 4, 8, -3, kDarkWood);                       // grip
    m.AddBox({-1.4, -0.6, 2}, {1.4, 0.2, 7}, kDarkMetal);                    // latch
    // Limbs bending back from the riser to their tips.
    const double relaxed = pose.string;
    Vec3 previous{0, 2.0, 44};
    Vec3 tips[2];
    for (int side = -1; side <= 1; side += 2) {
        previous = {side * 2.5, 2.0, 44};
        for (int i = 1; i <= 6; ++i) {
            const double s = i / 6.0;
            const double bend = 9.0 * s * s * (1.0 - 0.25 * relaxed);
            const Vec3 point{side * (2.5 + 31.0 * s), 2.0, 44 - bend};
            m.AddCylinder(previous, point, 1.3 - 0.5 * s + 0.5 * (1 - s) * 0, 1.2 - 0.55 * s, 6, kPolymer);
            previous = point;
        }
        tips[side < 0 ? 0 : 1] = previous;
    }
    // The string from the tips to the latch (cocked) or straight across (released).
    const double stringZ = 6.0 + relaxed * (tips[0].z - 6.0);
    const Vec3 nock{0, 0.6, stringZ};
    m.AddCylinder(tips[0], nock, 0.22, 0.22, 4, Rgb(210, 200, 170));
    m.AddCylinder(nock, tips[1], 0.22, 0.22, 4, Rgb(210, 200, 170));
    if (pose.bolt) {
        m.AddCylinder({0, -0.3, 6}, {0, -0.3, 52}, 0.45, 0.45, 6, Rgb(150, 120, 70));
        m.AddCylinder({0, -0.3, 52}, {0, -0.3, 55}, 0.5, 0.05, 6, kSteel); // point
        for (int vane = 0; vane < 2; ++vane)
            m.AddBox({vane ? -0.06 : -1.2, vane ? -1.4 : -0.36, 7}, {vane ? 0.06 : 1.2, vane ? 0.8 : -0.24, 11},
                     Rgb(200, 40, 30));
    }
    if (pose.hands) {
        AddTapered(m, 24, 2.7, 2.0, 7.5, 34, 2.6, 2.0, 7.0, kGlove);
        AddGripHand(m, 8, 13, 4, 8, -2.5);
    }
    return m;
}

Mesh Handgun(const GunPose& pose)
{
    Mesh m;
    const double s = pose.slideBack;
    m.AddBox({-1.3, 0.3, 0 - s}, {1.3, 3.2, 19 - s}, kBlued);              // slide
    m.AddBox({-0.9, 0.0, 0.6 - s}, {0.9, 0.4, 1.6 - s}, kDarkMetal);        // rear sight
    m.AddBox({-0.2, 0.0, 17.4 - s}, {0.2, 0.4, 18.2 - s}, kDarkMetal);      // front sight
    m.AddCylinder({0, 2.0, 18}, {0, 2.0, 19.3}, 0.65, 0.65, 8, kDarkMetal);  // barrel end
    m.AddBox({-1.2, 3.2, 3}, {1.2, 4.6, 18}, kPolymer);                     // frame
    AddLeaning(m, 1.4, 4.6, 14, 0.5, 6.0, -3.2, kPolymer);                  // grip
    m.AddBox({-0.4, 4.6, 6}, {0.4, 6.6, 11}, kPolymer);                      // trigger guard
    if (pose.hands) {
        AddGripHand(m, 5.0, 13.5, 0.0, 6.5, -3.2);
        AddLeaning(m, 3.2, 6.5, 13.0, 1.5, 7.0, -3.2, ShadeColour(kGlove, 0.85)); // support hand
    }
    return m;
}

Mesh MuzzleLoader(const GunPose& pose)
{
    Mesh m;
    m.AddCylinder({0, 1.8, 0}, {0, 1.8, 96}, 1.6, 1.35, 8, kDarkMetal);     // octagonal barrel
    AddTapered(m, -4, 2.4, 2.2, 6.0, 88, 1.6, 2.4, 4.4, kWood);             // full-length stock
    m.AddCylinder({0, 4.6, 20}, {0, 4.6, 92}, 0.45, 0.45, 6, kDarkWood);    // ramrod
    m.AddCylinder({0, 3.2, 86}, {0, 3.2, 89}, 1.9, 1.8, 8, kBrass);          // nose cap
    for (int band = 0; band < 2; ++band)
        m.AddCylinder({0, 3.0, 40.0 + band * 24}, {0, 3.0, 41.5 + band * 24}, 2.5, 2.5, 8, kBrass);
    m.AddBox({2.2, 2.0, -2}, {2.8, 5.2, 12}, kSteel);                        // lock plate
    m.AddBox({2.3, 0.2, 0}, {2.9, 2.4, 2}, kDarkMetal);                      // hammer
    m.AddBox({-0.18, 0.0, 93}, {0.18, 0.3, 94.5}, kBrass);                   // blade sight
    m.AddBox({-1.0, -0.1, 2}, {1.0, 0.3, 4}, kDarkMetal);                    // rear sight
    if (pose.stock)
        AddTapered(m, -4, 2.2, 2.6, 7.0, -44, 2.2, 4.0, 15, kWood);              // butt
    if (pose.hands) {
        AddTapered(m, 30, 3.2, 2.8, 7.6, 40, 3.0, 2.8, 7.2, kGlove);
        AddGripHand(m, 6, 12, -4, 0, -3);
    }
    return m;
}

Mesh Rifle(const GunPose& pose)
{
    Mesh m;
    m.AddCylinder({0, 2.2, -3}, {0, 2.2, 20}, 1.6, 1.6, 10, kBlued);        // receiver
    m.AddCylinder({0, 2.2, 20}, {0, 2.2, 78}, 1.1, 0.85, 10, kBlued);       // barrel
    AddTapered(m, -3, 2.3, 2.4, 6.8, 56, 1.7, 2.4, 4.6, kWood);             // stock fore part
    if (pose.stock)
        AddTapered(m, -3, 2.2, 2.6, 7.5, -42, 2.2, 4.5, 15, kWood);             // butt
    m.AddCylinder({1.6, 2.0, 2}, {3.4, 3.2, 1}, 0.4, 0.4, 6, kSteel);       // bolt handle
    m.AddCylinder({3.4, 3.2, 1}, {3.8, 3.3, 1}, 0.8, 0.8, 8, kSteel);       // bolt knob
    m.AddBox({-0.8, 0.0, 24}, {0.8, 1.2, 26}, kDarkMetal);                   // rear sight
    m.AddBox({-0.8, 0.6, 74}, {0.8, 1.4, 77}, kDarkMetal);                   // front sight ramp
    m.AddBox({-0.18, 0.0, 75.4}, {0.18, 0.8, 76.2}, kBrass);                 // front bead post
    m.AddBox({-0.5, 6.8, 6}, {0.5, 8.8, 12}, kBlued);                        // trigger guard
    if (pose.hands) {
        AddTapered(m, 30, 3.0, 2.6, 7.6, 40, 2.8, 2.6, 7.0, kGlove);
        AddGripHand(m, 6, 12, -5, -1, -3);
    }
    return m;
}

Mesh Shotgun(const GunPose& pose)
{
    Mesh m;
    for (int side = -1; side <= 1; side += 2)
        m.AddCylinder({side * 1.05, 2.2, 18}, {side * 1.0, 2.1, 80}, 1.05, 0.95, 10, kBlued); // barrels
    m.AddBox({-0.5, 0.8, 18}, {0.5, 1.3, 80}, kDarkMetal);                   // rib
    m.AddBox({-0.3, 0.0, 78.5}, {0.3, 0.8, 79.3}, kBrass);                   // bead
    m.AddBox({-2.3, 0.8, 6}, {2.3, 5.4, 19}, kSteel);                         // receiver
    AddTapered(m, 22, 2.5, 2.3, 5.2, 48, 2.1, 2.3, 4.6, kWood);              // fore-end
    if (pose.stock)
        AddTapered(m, 6, 2.1, 1.6, 6.0, -42, 2.2, 4.0, 15, kWood);               // stock
    m.AddBox({-0.5, 5.4, 8}, {0.5, 7.6, 14}, kDarkMetal);                    // trigger guard
    if (pose.hands) {
        AddTapered(m, 27, 3.2, 2.6, 7.2, 38, 3.0, 2.6, 6.8, kGlove);
        AddGripHand(m, 5.5, 11, 1, 5, -3);
    }
    return m;
}

} // namespace

Mesh BuildGunMesh(int weapon, const GunPose& pose)
{
    switch (weapon) {
    case WEAPON_ASSAULT_RIFLE: return AssaultRifle(pose);
    case WEAPON_CROSSBOW: return Crossbow(pose);
    case WEAPON_HANDGUN: return Handgun(pose);
    case WEAPON_MUZZLE_LOADER: return MuzzleLoader(pose);
    case WEAPON_RIFLE: return Rifle(pose);
    case WEAPON_SHOTGUN: return Shotgun(pose);
    default: return {};
    }
}

Vec3 GunMuzzle(int weapon)
{
    switch (weapon) {
    case WEAPON_ASSAULT_RIFLE: return {0, 3.2, 66};
    case WEAPON_CROSSBOW: return {0, -0.3, 55};
    case WEAPON_HANDGUN: return {0, 2.0, 19.3};
    case WEAPON_MUZZLE_LOADER: return {0, 1.8, 96};
    case WEAPON_RIFLE: return {0, 2.2, 78};
    case WEAPON_SHOTGUN: return {0, 2.1, 80};
    default: return {};
    }
}

double GunSightLength(int weapon)
{
    switch (weapon) {
    case WEAPON_ASSAULT_RIFLE: return 57;
    case WEAPON_CROSSBOW: return 55;
    case WEAPON_HANDGUN: return 18;
    case WEAPON_MUZZLE_LOADER: return 94;
    case WEAPON_RIFLE: return 76;
    case WEAPON_SHOTGUN: return 79;
    default: return 1;
    }
}
