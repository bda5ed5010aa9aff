#include "models/AnimalHeads.h"

#include "models/AnimalModel.h"

namespace {

// Adds a primitive made in frame `f`.
struct HeadBuilder {
    Render3dScene& scene;
    Frame3 f;
    double s; // the head's scale

    void Blob(const Vec3& at, const Vec3& radii, const Render3dSurface& surface, const Mat3& axes = Mat3()) const
    {
        scene.Add(Placed(Ellipsoid(at * s, radii * s, axes, surface), f));
    }
    void Rod(const Vec3& a, const Vec3& b, double radius, const Render3dSurface& surface) const
    {
        scene.Add(Capsule(f.Point(a * s), f.Point(b * s), radius * s, surface));
    }
    // A frame turned by `r` about the point `at` of this one.
    HeadBuilder Hinged(const Vec3& at, const Mat3& r) const { return {scene, f * Frame3::At(at * s, r), s}; }
};

// A horn or tusk: a chain of capsules growing thinner, bending by `bend` per
// piece in the x-z plane of the builder's frame, starting along `angle`.
void AddHorn(const HeadBuilder& h, Vec3 at, double angle, double bend, double length, double r0, double r1,
             const Render3dSurface& surface, int pieces = 4)
{
    const double seg = length / pieces;
    for (int i = 0; i < pieces; ++i) {
        const Vec3 next = at + Vec3(std::cos(angle), 0, std::sin(angle)) * seg;
        h.Rod(at, next, Lerp(r0, r1, (i + 0.5) / pieces), surface);
        at = next;
        angle += bend;
    }
}

void HorseLikeHead(const AnimalBody& b, const HeadBuilder& h, const AnimalPose& pose, double length)
{
    h.Blob({2, 0, 1}, {5.6, 4.1, 4.6}, b.head);
    h.Blob({2 + length * 0.45, 0, -0.6}, {length * 0.5, 3.2, 3.5}, b.head);
    h.Blob({2 + length * 0.9, 0, -1.1}, {3.4, 3.1, 3.2}, b.muzzle);
    const HeadBuilder jaw = h.Hinged({3, 0, -2}, RotateY(-pose.jaw));
    jaw.Blob({length * 0.45, 0, -1.6}, {length * 0.42, 2.6, 1.7}, b.head);
    jaw.Blob({length * 0.5, 0, -0.4}, {length * 0.36, 2.1, 1.0}, b.mouth);
    for (double side : {-1.0, 1.0}) {
        h.Blob({5, side * 3.7, 1.9}, {1.05, 1.0, 1.0}, b.eye);
        const HeadBuilder ear = h.Hinged({0, side * 2.2, 4.0}, RotateX(-side * 0.35) * RotateY(-0.35 - 0.4 * pose.ears));
        ear.Blob({0, 0, 3.2}, {1.3, 2.0, 4.2}, b.head);
    }
}

void ZebraHead(const AnimalBody& b, const HeadBuilder& h, const AnimalPose& pose)
{
    HorseLikeHead(b, h, pose, 15);
}

void GiraffeHead(const AnimalBody& b, const HeadBuilder& h, const AnimalPose& pose)
{
    h.Blob({2, 0, 1}, {6, 4, 5}, b.head);
    h.Blob({10, 0, -0.5}, {8.5, 3.3, 3.6}, b.head);
    h.Blob({17.5, 0, -1}, {3.5, 3.1, 3.3}, b.muzzle);
    const HeadBuilder jaw = h.Hinged({3, 0, -2}, RotateY(-pose.jaw));
    jaw.Blob({8, 0, -1.6}, {7.5, 2.6, 1.7}, b.muzzle);
    for (double side : {-1.0, 1.0}) {
        h.Blob({5.5, side * 3.8, 2}, {1.1, 1.0, 1.0}, b.eye);
        h.Rod({1, side * 1.8, 4}, {0, side * 2.4, 10}, 0.9, b.horn);
        h.Blob({0, side * 2.4, 10.4}, {1.4, 1.4, 1.4}, b.tuft);
        const HeadBuilder ear = h.Hinged({-0.5, side * 3.4, 3}, RotateX(side * (0.2 + 0.3 * pose.ears)));
        ear.Blob({0, side * 2.8, 0}, {1.3, 3.4, 1.5}, b.head);
    }
}

void HippoHead(const AnimalBody& b, const HeadBuilder& h, const AnimalPose& pose)
{
    h.Blob({4, 0, 2}, {11, 11, 10}, b.head);
    h.Blob({19, 0, 0}, {11, 12.5, 7}, b.muzzle);
    h.Blob({18, 0, -4.2}, {9, 9.5, 1.6}, b.mouth); // the palate, seen when the mouth opens
    const HeadBuilder jaw = h.Hinged({4, 0, -4}, RotateY(-pose.jaw));
    jaw.Blob({14, 0, -3}, {13, 11, 4.5}, b.muzzle);
    jaw.Blob({14, 0, -0.2}, {11, 9.5, 2}, b.mouth);
    for (double side : {-1.0, 1.0}) {
        jaw.Rod({22, side * 5.5, -1}, {23, side * 5.5, 2.2}, 1.4, b.horn);
        h.Blob({26, side * 4.5, 4.5}, {2.6, 2.6, 2}, b.muzzle);
        h.Blob({7, side * 7, 8.5}, {3, 3, 2.6}, b.head);
        h.Blob({8.6, side * 8, 9.3}, {1.2, 1.2, 1.2}, b.eye);
        h.Blob({0, side * 7, 11}, {1.6, 1.5, 2.4}, b.head);
    }
}

void CatHead(const AnimalBody& b, const HeadBuilder& h, const AnimalPose& pose)
{
    const bool maned = b.id == AnimalId::Lion;
    h.Blob({2, 0, 1}, {6.5, 6, 6}, b.head);
    h.Blob({8, 0, -1.5}, {4.5, 4.2, 3.4}, b.muzzle);
    h.Blob({11.6, 0, 0}, {1.5, 1.9, 1.2}, b.horn);
    h.Blob({7, 0, -4}, {4, 3.4, 1.4}, b.mouth); // the palate, seen when the mouth opens
    const HeadBuilder jaw = h.Hinged({3, 0, -3}, RotateY(-pose.jaw));
    jaw.Blob({4.5, 0, -1.4}, {4.5, 3.1, 1.6}, b.muzzle);
    jaw.Blob({4.8, 0, -0.1}, {3.8, 2.5, 1.0}, b.mouth);
    for (double side : {-1.0, 1.0}) {
        h.Blob({6.6, side * 3, 2.2}, {0.95, 0.95, 0.8}, b.eye);
        h.Blob({-0.5, side * 4.4, 5.4}, {1.2, 2.0, 2.1}, b.head);
    }
    if (maned)
        h.Blob({-2, 0, -0.5}, {7, 10.5, 10.5}, b.mane);
}

void RhinoHead(const AnimalBody& b, const HeadBuilder& h, const AnimalPose& pose)
{
    h.Blob({3, 0, 1}, {10, 7, 8}, b.head);
    h.Blob({14, 0, -2}, {10, 6.5, 6}, b.head);
    h.Blob({21.5, 0, -4}, {4.5, 5.2, 4}, b.muzzle);
    const HeadBuilder jaw = h.Hinged({8, 0, -5}, RotateY(-pose.jaw));
    jaw.Blob({10, 0, -1.5}, {9, 5, 2.5}, b.head);
    AddHorn(h, {20, 0, 2}, 1.25, 0.14, 19, 3.6, 0.9, b.horn);
    AddHorn(h, {11.5, 0, 5}, 1.4, 0.1, 8, 2.6, 1.0, b.horn, 3);
    for (double side : {-1.0, 1.0}) {
        h.Blob({9, side * 6.2, 1.5}, {0.9, 0.9, 0.9}, b.eye);
        const HeadBuilder ear = h.Hinged({-3, side * 4.5, 6}, RotateX(-side * 0.3) * RotateY(-0.2 - 0.4 * pose.ears));
        ear.Blob({0, 0, 3}, {1.8, 1.6, 4}, b.head);
    }
}

void ElephantHead(const AnimalBody& b, const HeadBuilder& h, const AnimalPose& pose)
{
    Render3dSurface earSkin = b.head; // thin: kept apart from the body's smooth shading
    earSkin.blendGroup = 0;
    h.Blob({6, 0, 3}, {14, 13, 15.5}, b.head);
    h.Blob({15, 0, -2}, {9, 11, 14}, b.head);
    h.Blob({14, 0, -13}, {6, 6, 3.5}, b.mouth);
    // The trunk hangs, or rises and curls when `trunkLift` and `trunkCurl` say.
    constexpr int kPieces = 9;
    constexpr double kLength = 52;
    Vec3 at{20, 0, -5};
    double angle = -1.35 + pose.trunkLift * 2.2;
    for (int i = 0; i < kPieces; ++i) {
        const double t = double(i) / (kPieces - 1);
        const Vec3 next = at + Vec3(std::cos(angle), 0, std::sin(angle)) * (kLength / kPieces);
        h.Rod(at, next, Lerp(6.2, 2.3, t), b.head);
        at = next;
        angle += 0.05 - pose.trunkLift * 0.09 + pose.trunkCurl * 0.5 * t;
    }
    h.Blob(at, {2.6, 2.6, 2.6}, b.head);
    for (double side : {-1.0, 1.0}) {
        AddHorn(h.Hinged({0, side * 7.5, 0}, Mat3()), {16, 0, -9}, -0.7, 0.38, 26, 2.4, 1.2, b.horn, 4);
        h.Blob({17, side * 10.5, 5}, {1.3, 1.3, 1.3}, b.eye);
        const HeadBuilder ear = h.Hinged({4, side * 14, 6}, RotateZ(-side * (0.45 + 0.9 * pose.ears)));
        ear.Blob({-12, side * 1.5, -4}, {14, 1.8, 19}, earSkin);
        ear.Blob({-12, side * 0.5, -4}, {11.5, 1.2, 16}, b.mane);
    }
}

} // namespace

void AddHead(const AnimalBody& body, const Frame3& head, const AnimalPose& pose, Render3dScene& scene)
{
    const HeadBuilder h{scene, head, body.headScale};
    switch (body.id) {
    case AnimalId::Elephant:
        ElephantHead(body, h, pose);
        break;
    case AnimalId::Giraffe:
        GiraffeHead(body, h, pose);
        break;
    case AnimalId::Hippo:
        HippoHead(body, h, pose);
        break;
    case AnimalId::Lion:
    case AnimalId::Lioness:
        CatHead(body, h, pose);
        break;
    case AnimalId::Rhino:
        RhinoHead(body, h, pose);
        break;
    case AnimalId::Zebra:
        ZebraHead(body, h, pose);
        break;
    }
}
