#include "models/AnimalBody.h"

namespace {

Render3dSurface Patterned(SurfacePattern pattern, const Vec3& colour, const Vec3& colour2, double period,
                          uint32_t seed, double mottle = 0)
{
    Render3dSurface s;
    s.pattern = pattern;
    s.colour = colour;
    s.colour2 = colour2;
    s.period = period;
    s.seed = seed;
    s.mottle = mottle;
    return s;
}

Render3dSurface WithBelly(Render3dSurface s, const Vec3& belly, double from)
{
    s.belly = belly;
    s.bellyFrom = from;
    return s;
}

const Render3dSurface kEye = PlainSurface(Colour(20, 16, 14), 0, 0.7);

// Thick-skinned kinds wear one hide everywhere; the builders then change
// only what differs.
void OneHide(AnimalBody& b, const Render3dSurface& hide)
{
    b.skin = b.skin2 = b.upperLeg = b.lowerLeg = hide;
    b.neckSkin = b.head = b.muzzle = b.tailSkin = b.mane = hide;
    b.eye = kEye;
    // A leg runs along its own z axis: a belly fade would whiten its foot.
    b.upperLeg.bellyFrom = b.lowerLeg.bellyFrom = 2;
}

AnimalBody Elephant()
{
    AnimalBody b;
    b.id = AnimalId::Elephant;
    const Vec3 grey = Colour(132, 126, 120);
    OneHide(b, Patterned(SurfacePattern::Plain, grey, grey, 7, 11, 0.2));
    b.torso = {{{0, 0, 0}, {40, 23, 27}}, {{20, 0, 3}, {25, 23, 28}}, {{-22, 0, 0}, {24, 22, 26}},
               {{10, 0, 10}, {20, 16, 18}}};
    b.front = {{22, 13, -14}, 30, 28, 0, 0, -1, {12, 11, 16}, 8, 10.5, 10, 9.5, FootShape::Pad, 10.5};
    b.hind = {{-24, 13, -12}, 29, 27, -0.05, 0.08, 1, {13, 12, 18}, 8, 10.5, 9.5, 9.2, FootShape::Pad, 10};
    b.neck = {{38, 0, 5}, -0.1, 12, 19, 18, 1, 0};
    b.headPitch = -0.25;
    b.tail = {{-45, 0, 8}, 1.3, 30, 1.6, 3};
    b.foot = PlainSurface(Colour(140, 132, 122), 0.15);
    b.tuft = PlainSurface(Colour(40, 36, 32));
    b.mane = PlainSurface(Colour(150, 122, 116), 0.15); // the inside of the ears
    b.horn = PlainSurface(Colour(236, 226, 200), 0.05, 0.3);
    b.mouth = PlainSurface(Colour(170, 100, 100));
    return b;
}

AnimalBody Giraffe()
{
    AnimalBody b;
    b.id = AnimalId::Giraffe;
    const Vec3 patch = Colour(176, 104, 46), cream = Colour(238, 224, 190);
    b.skin = WithBelly(Patterned(SurfacePattern::Spots, patch, cream, 7, 21), cream, -0.55);
    b.skin2 = b.skin;
    b.torso = {{{6, 0, 0}, {25, 13, 17}, 0.22}, {{-16, 0, -4}, {19, 12, 14}, 0.1}};
    b.front = {{13, 6.5, -8}, 31, 33, 0, 0, -1, {6, 5, 12}, 6, 3.8, 3.2, 2.4, FootShape::Hoof, 2.6};
    b.hind = {{-22, 6.5, -7}, 30, 31, -0.12, 0.14, 1, {8, 5.5, 13}, 6, 4.2, 3.2, 2.4, FootShape::Hoof, 2.6};
    b.upperLeg = Patterned(SurfacePattern::Spots, patch, cream, 5, 22);
    b.lowerLeg = PlainSurface(Colour(226, 208, 170), 0.15);
    b.foot = PlainSurface(Colour(52, 40, 32));
    b.neck = {{24, 0, 9}, 1.0, 51, 8, 4.2, 5, 0.12};
    b.neckSkin = Patterned(SurfacePattern::Spots, patch, cream, 6, 23);
    b.headPitch = -0.55;
    b.head = Patterned(SurfacePattern::Spots, Colour(190, 124, 64), cream, 3.5, 24);
    b.muzzle = PlainSurface(Colour(196, 160, 118), 0.1);
    b.tail = {{-34, 0, 2}, 1.35, 26, 1.1, 2.6};
    b.tailSkin = PlainSurface(Colour(214, 190, 150));
    b.tuft = PlainSurface(Colour(44, 30, 22), 0.2);
    b.mane = Patterned(SurfacePattern::Fur, Colour(130, 76, 36), Colour(96, 56, 28), 2, 25);
    b.eye = kEye;
    b.horn = PlainSurface(Colour(120, 84, 50));
    b.mouth = PlainSurface(Colour(150, 90, 90));
    return b;
}

AnimalBody Hippo()
{
    AnimalBody b;
    b.id = AnimalId::Hippo;
    const Vec3 hide = Colour(140, 122, 124), pink = Colour(206, 152, 140);
    OneHide(b, WithBelly(Patterned(SurfacePattern::Plain, hide, hide, 9, 31, 0.14), pink, -0.35));
    b.torso = {{{0, 0, 0}, {44, 23, 20}}, {{20, 0, 1}, {25, 22, 20}}, {{-25, 0, 0}, {22, 21, 20}}};
    b.front = {{27, 13, -12}, 9, 8, 0, 0, -1, {9, 8, 10}, 4, 7.5, 7, 6.5, FootShape::Pad, 7};
    b.hind = {{-29, 13, -11}, 9, 8, 0, 0, 1, {10, 9, 11}, 4, 7.5, 7, 6.5, FootShape::Pad, 7};
    b.foot = PlainSurface(Colour(96, 82, 86), 0.1);
    b.neck = {{40, 0, 3}, 0.05, 8, 17, 16, 1, 0};
    b.headPitch = -0.12;
    b.headScale = 1.15;
    b.muzzle = WithBelly(Patterned(SurfacePattern::Plain, Colour(156, 132, 132), hide, 5, 32, 0.12), pink, -0.6);
    b.tail = {{-46, 0, 4}, 1.2, 10, 1.8, 0};
    b.tuft = b.skin;
    b.horn = PlainSurface(Colour(240, 232, 210), 0, 0.3);
    b.mouth = PlainSurface(Colour(214, 112, 112), 0.1);
    return b;
}

AnimalBody Cat(AnimalId id)
{
    // Lion and lioness share the build; the lion is larger and maned.
    const bool male = id == AnimalId::Lion;
    const double k = male ? 1.0 : 0.88;
    AnimalBody b;
    b.id = id;
    const Vec3 coat = male ? Colour(198, 150, 86) : Colour(204, 162, 102);
    b.skin = WithBelly(Patterned(SurfacePattern::Fur, coat, coat * 0.88, 4, 41, 0.06), Colour(232, 210, 164),
                       -0.45);
    b.skin2 = b.skin;
    b.torso = {{{9 * k, 0, 1 * k}, {17 * k, 9.5 * k, 11.5 * k}, 0.05}, {{-12 * k, 0, 0}, {17 * k, 9 * k, 10 * k}}};
    b.front = {{15 * k, 5.2 * k, -5 * k}, 12 * k, 12 * k, 0, 0, -1, {4.5 * k, 4 * k, 8 * k}, 4 * k, 3.6 * k,
               3 * k, 2.6 * k, FootShape::Paw, 3 * k};
    b.hind = {{-18 * k, 5.2 * k, -3 * k}, 13 * k, 13 * k, -0.2, 0.35, 1, {6.5 * k, 4.5 * k, 9 * k}, 4.5 * k,
              3.6 * k, 2.6 * k, 2.2 * k, FootShape::Paw, 2.8 * k};
    b.upperLeg = b.skin;
    b.upperLeg.bellyFrom = 2; // see OneHide
    b.lowerLeg = Patterned(SurfacePattern::Fur, coat * 1.04, coat * 0.9, 3, 42);
    b.foot = b.lowerLeg;
    b.neck = {{20 * k, 0, 4 * k}, 0.45, 8 * k, 7 * k, 6 * k, 1, 0};
    b.neckSkin = b.skin;
    b.headPitch = -0.25;
    b.headScale = k;
    b.head = Patterned(SurfacePattern::Fur, coat, coat * 0.9, 2, 43);
    b.muzzle = PlainSurface(Colour(236, 218, 180), 0.05);
    b.tail = {{-28 * k, 0, 4 * k}, 1.0, 30 * k, 1.2 * k, 3.2 * k};
    b.tailSkin = b.skin;
    b.tuft = PlainSurface(Colour(62, 40, 22), 0.2);
    b.mane = Patterned(SurfacePattern::Fur, Colour(126, 78, 36), Colour(70, 40, 18), 2.5, 44, 0.1);
    b.mane.holes = 0.16;
    b.eye = PlainSurface(Colour(60, 40, 10), 0, 0.6);
    b.horn = PlainSurface(Colour(80, 52, 46)); // the nose
    b.mouth = PlainSurface(Colour(150, 50, 50));
    return b;
}

AnimalBody Rhino()
{
    AnimalBody b;
    b.id = AnimalId::Rhino;
    const Vec3 hide = Colour(136, 130, 120);
    OneHide(b, Patterned(SurfacePattern::Plain, hide, hide, 6, 51, 0.2));
    b.torso = {{{0, 0, 0}, {38, 20, 21}}, {{18, 0, 3}, {20, 19, 21}}, {{-22, 0, 0}, {20, 19, 20}},
               {{20, 0, 10}, {12, 12, 14}}};
    b.front = {{22, 11, -11}, 13, 12, 0, 0, -1, {9, 8, 11}, 5, 7, 6, 5.5, FootShape::Pad, 6};
    b.hind = {{-24, 11, -10}, 13, 12, -0.1, 0.15, 1, {10, 8.5, 12}, 5, 7, 6, 5.5, FootShape::Pad, 6};
    b.foot = PlainSurface(Colour(110, 104, 96), 0.1);
    b.neck = {{34, 0, 3}, -0.25, 10, 14, 12, 1, 0};
    b.headPitch = -0.45;
    b.headScale = 1.15;
    b.tail = {{-41, 0, 6}, 1.3, 13, 1.3, 1.6};
    b.tuft = PlainSurface(Colour(50, 46, 42));
    b.horn = PlainSurface(Colour(158, 144, 118), 0.12, 0.1);
    b.mouth = PlainSurface(Colour(150, 100, 100));
    return b;
}

AnimalBody Zebra()
{
    AnimalBody b;
    b.id = AnimalId::Zebra;
    const Vec3 white = Colour(238, 236, 228), black = Colour(24, 22, 24);
    b.skin = WithBelly(Patterned(SurfacePattern::Stripes, white, black, 6.5, 61), white, -0.7);
    b.skin2 = b.skin;
    b.torso = {{{9, 0, 0}, {17, 10, 11}, 0.05}, {{-12, 0, 1}, {15, 10, 11}, -0.75}, {{0, 0, -1}, {22, 10, 10.5}}};
    b.front = {{13, 5.5, -4}, 13, 12.5, 0, 0, -1, {5, 4.5, 8}, 4, 3, 2.3, 1.7, FootShape::Hoof, 2};
    b.hind = {{-15, 5.5, -2}, 13, 13, -0.22, 0.3, 1, {6.5, 5, 9}, 4.5, 3.2, 2.3, 1.7, FootShape::Hoof, 2};
    b.upperLeg = Patterned(SurfacePattern::Stripes, white, black, 3.6, 62);
    b.lowerLeg = Patterned(SurfacePattern::Stripes, white, black, 2.6, 63);
    b.foot = PlainSurface(Colour(40, 38, 36));
    b.neck = {{21, 0, 5}, 0.85, 20, 6, 4.2, 3, 0.1};
    b.neckSkin = Patterned(SurfacePattern::Stripes, white, black, 4.6, 64);
    b.headPitch = -0.95;
    b.head = Patterned(SurfacePattern::Stripes, white, black, 3.2, 65);
    b.muzzle = PlainSurface(Colour(44, 40, 40), 0.05);
    b.tail = {{-26, 0, 5}, 1.25, 16, 1.2, 3};
    b.tailSkin = Patterned(SurfacePattern::Stripes, white, black, 3, 66);
    b.tuft = PlainSurface(Colour(30, 28, 28), 0.1);
    b.mane = Patterned(SurfacePattern::Stripes, white, black, 3.4, 67);
    b.eye = kEye;
    b.horn = b.foot;
    b.mouth = PlainSurface(Colour(150, 90, 90));
    return b;
}

// The hide of torso, legs, neck, head and tail is shaded as one body, so the
// seams between its solids do not show as creases.
AnimalBody Smoothed(AnimalBody b, double radius)
{
    for (Render3dSurface* s : {&b.skin, &b.skin2, &b.upperLeg, &b.lowerLeg, &b.neckSkin, &b.head, &b.muzzle,
                               &b.tailSkin}) {
        s->blendGroup = 1;
        s->blendRadius = radius;
    }
    return b;
}

} // namespace

const AnimalBody& AnimalBodyOf(AnimalId id)
{
    static const AnimalBody bodies[] = {Smoothed(Elephant(), 9),         Smoothed(Giraffe(), 4),
                                        Smoothed(Hippo(), 7),            Smoothed(Cat(AnimalId::Lion), 3),
                                        Smoothed(Cat(AnimalId::Lioness), 3), Smoothed(Rhino(), 6),
                                        Smoothed(Zebra(), 3)};
    return bodies[int(id)];
}
