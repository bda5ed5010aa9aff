#include "models/AnimalModel.h"

#include "models/AnimalHeads.h"

Render3dPrimitive Placed(Render3dPrimitive primitive, const Frame3& frame)
{
    primitive.centre = frame.Point(primitive.centre);
    primitive.axes = frame.r * primitive.axes;
    return primitive;
}

namespace {

void AddLeg(Render3dScene& scene, const AnimalBody& body, const Frame3& torso, const LegBuild& leg, bool left,
            double swing, double bend, double splay)
{
    Vec3 hip = leg.hip;
    const double side = left ? 1 : -1;
    hip.y *= side;
    const Frame3 top = torso * Frame3::At(hip, RotateX(side * splay) * RotateY(swing + leg.upperRest));
    scene.Add(Placed(Ellipsoid({0, 0, -leg.muscleDrop}, leg.muscle, Mat3(), body.upperLeg), top));
    const double upperHalf = leg.upper * 0.5;
    scene.Add(Placed(Ellipsoid({0, 0, -upperHalf}, {leg.upperRadius, leg.upperRadius, upperHalf + leg.jointRadius * 0.5},
                               Mat3(), body.upperLeg),
                     top));
    const Frame3 middle = top * Frame3::At({0, 0, -leg.upper}, RotateY(leg.lowerRest + leg.bendSign * bend));
    const double j = leg.jointRadius;
    scene.Add(Placed(Ellipsoid({0, 0, 0}, {j, j, j}, Mat3(), body.lowerLeg), middle));
    scene.Add(Capsule(middle.Point({0, 0, 0}), middle.Point({0, 0, -leg.lower}), leg.lowerRadius, body.lowerLeg));
    const double f = leg.footSize;
    switch (leg.foot) {
    case FootShape::Hoof:
        scene.Add(Placed(Ellipsoid({0.25 * f, 0, -leg.lower - 0.3 * f}, {1.15 * f, 0.95 * f, 1.05 * f}, Mat3(), body.foot),
                         middle));
        break;
    case FootShape::Pad:
        scene.Add(Placed(Cylinder({0.1 * f, 0, -leg.lower}, f, 0.4 * f, Mat3(), body.foot), middle));
        break;
    case FootShape::Paw:
        scene.Add(Placed(Ellipsoid({0.55 * f, 0, -leg.lower - 0.1 * f}, {1.55 * f, 1.05 * f, 0.75 * f}, Mat3(), body.foot),
                         middle));
        break;
    }
}

// The neck from its base to the head; returns the frame at its tip.
Frame3 AddNeck(Render3dScene& scene, const AnimalBody& body, const Frame3& torso, const AnimalPose& pose)
{
    const NeckBuild& neck = body.neck;
    Frame3 f = torso * Frame3::At(neck.base, RotateZ(pose.neckYaw) * RotateY(neck.pitch + pose.neckPitch));
    const int n = std::max(1, neck.segments);
    const double seg = neck.length / n;
    const bool maned = body.id == AnimalId::Zebra || body.id == AnimalId::Giraffe;
    for (int i = 0; i < n; ++i) {
        const double r0 = Lerp(neck.baseRadius, neck.tipRadius, double(i) / n);
        const double r1 = Lerp(neck.baseRadius, neck.tipRadius, double(i + 1) / n);
        const double r = 0.5 * (r0 + r1);
        scene.Add(Placed(Ellipsoid({seg * 0.5, 0, 0}, {seg * 0.5 + r1 * 0.8, r, r * 1.12}, Mat3(), body.neckSkin), f));
        if (maned)
            scene.Add(Placed(Ellipsoid({seg * 0.5, 0, r * 1.0}, {seg * 0.62, r * 0.2, r * 0.45}, Mat3(), body.mane), f));
        f = f * Frame3::At({seg, 0, 0}, RotateY(-neck.curve / n));
    }
    if (body.id == AnimalId::Lion) {
        // The mane wraps the whole neck.
        const Frame3 base = torso * Frame3::At(neck.base, RotateZ(pose.neckYaw) * RotateY(neck.pitch + pose.neckPitch));
        scene.Add(Placed(Ellipsoid({neck.length * 0.4, 0, 0.5}, {neck.length * 0.9 + 3, 9.5, 10.5}, Mat3(), body.mane),
                         base));
    }
    return f;
}

void AddTail(Render3dScene& scene, const AnimalBody& body, const Frame3& torso, const AnimalPose& pose)
{
    const TailBuild& tail = body.tail;
    Frame3 f = torso * Frame3::At(tail.base, RotateZ(kPi + pose.tailYaw) * RotateY(-(tail.droop - pose.tailLift)));
    constexpr int kSegments = 4;
    const double seg = tail.length / kSegments;
    for (int i = 0; i < kSegments; ++i) {
        const double r = tail.radius * (1.0 - 0.25 * i / kSegments);
        scene.Add(Capsule(f.Point({0, 0, 0}), f.Point({seg, 0, 0}), r, body.tailSkin));
        f = f * Frame3::At({seg, 0, 0}, RotateY(-0.12 + 0.05 * pose.tailLift));
    }
    if (tail.tuft > 0)
        scene.Add(Placed(Ellipsoid({0, 0, 0}, {tail.tuft * 1.5, tail.tuft * 0.75, tail.tuft * 0.75}, Mat3(), body.tuft), f));
}

} // namespace

Render3dScene BuildAnimal(AnimalId id, const AnimalPose& pose)
{
    const AnimalBody& body = AnimalBodyOf(id);
    Render3dScene scene;
    const Frame3 torso = Frame3::At({0, 0, 0}, RotateY(pose.pitch) * RotateX(pose.roll));
    for (const TorsoPart& part : body.torso)
        scene.Add(Placed(Ellipsoid(part.at, part.radii, RotateY(part.pitch) * RotateZ(part.yaw),
                                   part.surface ? body.skin2 : body.skin),
                         torso));
    AddLeg(scene, body, torso, body.front, true, pose.swing[0], pose.bend[0], pose.splay);
    AddLeg(scene, body, torso, body.front, false, pose.swing[1], pose.bend[1], pose.splay);
    AddLeg(scene, body, torso, body.hind, true, pose.swing[2], pose.bend[2], pose.splay);
    AddLeg(scene, body, torso, body.hind, false, pose.swing[3], pose.bend[3], pose.splay);
    const Frame3 neckTip = AddNeck(scene, body, torso, pose);
    const Frame3 head = Frame3::At(neckTip.t, torso.r * RotateZ(pose.neckYaw) *
                                                  RotateY(body.headPitch + pose.headPitch + 0.75 * pose.neckPitch));
    AddHead(body, head, pose, scene);
    AddTail(scene, body, torso, pose);
    scene.PutOnGround();
    return scene;
}
