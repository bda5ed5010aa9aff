#include "models/AnimalPose.h"

#include "render3d/Render3dMath.h"

#include <cmath>

namespace {

enum Leg { FL, FR, HL, HR };

double Wave(double phase, double shift = 0) { return std::sin(2 * kPi * (phase + shift)); }
double Fraction(double v) { return v - std::floor(v); }

// A gait: each leg spends `duty` of the cycle on the ground moving back from
// +amp to -amp, then swings forward, folding by up to `lift` on the way.
struct Gait {
    double duty;
    double amp;
    double lift;
    std::array<double, 4> offset;
};

// Lateral walk (hind left, fore left, hind right, fore right), a trot in
// diagonal pairs and a rotary gallop.
constexpr std::array<double, 4> kWalk{0.75, 0.25, 0.0, 0.5};
constexpr std::array<double, 4> kTrot{0.5, 0.0, 0.0, 0.5};
constexpr std::array<double, 4> kGallop{0.55, 0.65, 0.0, 0.9};

void ApplyGait(AnimalPose& p, double phase, const Gait& g)
{
    for (int leg = 0; leg < 4; ++leg) {
        const double q = Fraction(phase + g.offset[size_t(leg)]);
        if (q < g.duty) {
            p.swing[size_t(leg)] = g.amp * (1 - 2 * q / g.duty);
            p.bend[size_t(leg)] = 0.05 * g.lift;
        } else {
            const double u = (q - g.duty) / (1 - g.duty);
            p.swing[size_t(leg)] = -g.amp + 2 * g.amp * (0.5 - 0.5 * std::cos(kPi * u));
            p.bend[size_t(leg)] = g.lift * std::sin(kPi * u);
        }
    }
}

bool Heavy(AnimalId id) { return id == AnimalId::Elephant || id == AnimalId::Hippo; }
bool Cat(AnimalId id) { return id == AnimalId::Lion || id == AnimalId::Lioness; }

AnimalPose Walk(AnimalId id, double phase)
{
    AnimalPose p;
    const bool heavy = Heavy(id) || id == AnimalId::Rhino;
    ApplyGait(p, phase, {0.62, heavy ? 0.24 : 0.3, heavy ? 0.5 : 0.75, kWalk});
    p.neckPitch = 0.04 * Wave(2 * phase);
    p.tailYaw = 0.25 * Wave(phase);
    p.ears = 0.2 * Wave(phase, 0.25);
    if (id == AnimalId::Elephant) {
        p.trunkCurl = 0.15 + 0.1 * Wave(phase);
        p.ears = 0.1 + 0.1 * Wave(phase);
    }
    if (id == AnimalId::Giraffe)
        p.neckPitch = 0.06 * Wave(phase);
    return p;
}

AnimalPose Run(AnimalId id, double phase)
{
    AnimalPose p;
    if (Heavy(id)) {
        ApplyGait(p, phase, {0.5, 0.34, 0.8, kTrot});
        p.pitch = 0.02 * Wave(2 * phase);
    } else {
        ApplyGait(p, phase, {0.38, Cat(id) ? 0.62 : 0.52, 1.2, kGallop});
        p.pitch = 0.07 * Wave(phase, 0.1);
    }
    p.neckPitch = (id == AnimalId::Giraffe ? -0.2 : -0.05) + 0.08 * Wave(phase, 0.3);
    p.tailLift = Cat(id) ? 0.5 : 0.8;
    p.tailYaw = 0.1 * Wave(phase);
    p.ears = 0.8;
    if (id == AnimalId::Elephant) {
        p.trunkLift = 0.25;
        p.trunkCurl = 0.2;
        p.ears = 0.6 + 0.2 * Wave(phase);
    }
    return p;
}

AnimalPose Graze(AnimalId id, double phase)
{
    AnimalPose p;
    const double chew = 0.5 + 0.5 * Wave(3 * phase);
    p.tailYaw = 0.3 * Wave(phase);
    switch (id) {
    case AnimalId::Elephant:
        // Pulls grass: the trunk reaches down and curls up to the mouth.
        p.trunkCurl = 0.55 + 0.45 * Wave(phase);
        p.trunkLift = 0.05 + 0.05 * Wave(phase);
        p.headPitch = -0.05;
        p.ears = 0.15 + 0.15 * Wave(phase, 0.3);
        break;
    case AnimalId::Giraffe:
        // Browses: neck forward, nose up, chewing.
        p.neckPitch = 0.1 + 0.05 * Wave(phase);
        p.headPitch = 0.55;
        p.jaw = 0.1 * chew;
        break;
    case AnimalId::Hippo:
        p.neckPitch = -0.25;
        p.headPitch = -0.55 + 0.06 * Wave(phase);
        p.jaw = 0.06 * chew;
        break;
    case AnimalId::Lion:
    case AnimalId::Lioness:
        // Sniffs the ground, tail flicking.
        p.neckPitch = -0.75 + 0.08 * Wave(phase);
        p.headPitch = -0.35;
        p.tailLift = 0.2;
        p.tailYaw = 0.45 * Wave(phase);
        break;
    case AnimalId::Rhino:
        p.neckPitch = -0.35;
        p.headPitch = -0.4 + 0.06 * Wave(phase);
        p.jaw = 0.08 * chew;
        break;
    case AnimalId::Zebra:
        p.neckPitch = -1.45 + 0.05 * Wave(phase);
        p.headPitch = -0.2;
        p.jaw = 0.12 * chew;
        p.swing[FL] = 0.12; // one foreleg forward, as grazers stand
        break;
    }
    p.ears += 0.25 * std::max(0.0, Wave(phase, 0.6));
    return p;
}

AnimalPose Alert(AnimalId id, double phase)
{
    AnimalPose p;
    p.neckPitch = id == AnimalId::Giraffe ? 0.08 : 0.18;
    p.neckYaw = 0.5 * Wave(phase);
    p.headPitch = 0.1;
    p.tailYaw = 0.2 * Wave(phase, 0.2);
    p.ears = -0.2;
    if (id == AnimalId::Elephant) {
        p.neckYaw = 0.25 * Wave(phase);
        p.trunkLift = 0.12 + 0.1 * Wave(phase, 0.25);
        p.trunkCurl = 0.3;
        p.ears = 0.45 + 0.25 * Wave(2 * phase);
    }
    if (Cat(id)) {
        p.neckPitch = 0.25;
        p.tailLift = 0.15;
        p.tailYaw = 0.5 * Wave(phase);
    }
    return p;
}

AnimalPose Rest(AnimalId id, double phase)
{
    AnimalPose p;
    // Weight on three legs, one hind leg cocked; head low and still.
    p.bend[HR] = 0.45;
    p.swing[HR] = 0.08;
    p.neckPitch = id == AnimalId::Giraffe ? -0.05 : -0.25;
    p.headPitch = -0.1;
    p.tailYaw = 0.35 * Wave(phase);
    p.ears = 0.3 * std::max(0.0, Wave(2 * phase));
    if (id == AnimalId::Elephant) {
        p.ears = 0.35 + 0.35 * Wave(phase); // fanning itself
        p.trunkCurl = 0.25;
        p.trunkLift = 0.05;
    }
    if (Cat(id) || id == AnimalId::Hippo)
        p.jaw = 0.75 * std::pow(std::max(0.0, Wave(phase, -0.25)), 2); // a yawn
    return p;
}

struct Rearing {
    double lift;     // torso pitch at the middle of the cycle
    double rock;     // how far it rocks about that
    double hindLean; // how far the hind legs lean back from the vertical
    double hindBend;
    double reach;    // forelegs: mean forward swing
    double fold;     // forelegs: mean fold at the knee
};

// Up on the hind legs, striking out with each foreleg in turn (`w` and `w2`
// are the cycle's sine and cosine).
void RearAndStrike(AnimalPose& p, double w, double w2, const Rearing& r)
{
    p.pitch = r.lift + r.rock * w;
    p.swing[HL] = p.swing[HR] = p.pitch - r.hindLean;
    p.bend[HL] = p.bend[HR] = r.hindBend;
    p.swing[FL] = r.reach + 0.5 * w2;
    p.swing[FR] = r.reach - 0.5 * w2;
    p.bend[FL] = r.fold - 0.4 * w2;
    p.bend[FR] = r.fold + 0.4 * w2;
}

AnimalPose Attack(AnimalId id, double phase)
{
    AnimalPose p;
    const double w = Wave(phase), w2 = Wave(phase, 0.25);
    switch (id) {
    case AnimalId::Elephant:
        // Ears spread, trunk up, stamping.
        p.pitch = 0.05 + 0.04 * w;
        p.swing[HL] = p.swing[HR] = p.pitch;
        p.swing[FL] = 0.3 * std::max(0.0, w);
        p.bend[FL] = 0.6 * std::max(0.0, w);
        p.trunkLift = 0.45 + 0.1 * w2;
        p.trunkCurl = 0.4;
        p.headPitch = 0.2;
        p.ears = 1.0;
        p.tailLift = 0.6;
        break;
    case AnimalId::Giraffe:
        // Kicks out with a foreleg and swings the neck.
        p.pitch = 0.05 * w;
        p.swing[FL] = 0.7 * std::max(0.0, w);
        p.bend[FL] = 0.9 * std::max(0.0, w2);
        p.neckPitch = -0.35 + 0.3 * w2;
        p.neckYaw = 0.25 * w;
        p.tailLift = 0.5;
        p.ears = 0.6;
        break;
    case AnimalId::Hippo:
        // Gapes and lunges.
        p.pitch = 0.04 + 0.04 * w;
        p.jaw = 0.95 + 0.12 * w2;
        p.headPitch = 0.25 + 0.08 * w;
        p.neckPitch = -0.05;
        p.swing[FL] = 0.2 * w;
        p.swing[FR] = -0.2 * w;
        break;
    case AnimalId::Lion:
    case AnimalId::Lioness:
        // Rears and rakes with the forepaws, roaring.
        RearAndStrike(p, w, w2, {0.35, 0.22, 0.35, 0.6, 0.7, 0.6});
        p.neckPitch = -0.25;
        p.headPitch = 0.15;
        p.jaw = 0.7;
        p.tailLift = 0.6;
        p.tailYaw = 0.3 * w;
        p.ears = 0.8;
        break;
    case AnimalId::Rhino:
        // Head down, tossing the horn, pawing the ground.
        p.neckPitch = -0.25 - 0.15 * w;
        p.headPitch = -0.1 + 0.35 * w2;
        p.swing[FL] = 0.3 * w;
        p.bend[FL] = 0.6 * std::max(0.0, w);
        p.tailLift = 0.9;
        p.ears = 0.6;
        break;
    case AnimalId::Zebra:
        // Rears and strikes out with the forelegs.
        RearAndStrike(p, w, w2, {0.42, 0.12, 0.2, 0.35, 0.5, 1.0});
        p.neckPitch = -0.15;
        p.headPitch = 0.25;
        p.jaw = 0.45;
        p.tailLift = 0.6;
        p.ears = 1;
        break;
    }
    return p;
}

AnimalPose Dying(AnimalId id, double t)
{
    AnimalPose p;
    const double kneel = SmoothStep(0.0, 0.35, t);
    const double fall = SmoothStep(0.25, 0.85, t);
    const double settle = SmoothStep(0.7, 1.0, t);
    p.pitch = -0.2 * kneel * (1 - fall);
    p.roll = 1.42 * fall;
    const double frontBend = 1.3 * kneel * (1 - 0.75 * settle);
    const double hindBend = 1.1 * SmoothStep(0.15, 0.5, t) * (1 - 0.75 * settle);
    p.bend = {frontBend, frontBend, hindBend, hindBend};
    p.swing = {-0.3 * kneel + 0.5 * settle, -0.2 * kneel + 0.35 * settle, 0.3 * settle, -0.1 * settle};
    p.splay = 0.2 * settle;
    p.neckPitch = -0.55 * SmoothStep(0.3, 1.0, t);
    p.headPitch = -0.2 * settle;
    p.jaw = 0.2 * settle;
    p.tailLift = -0.4 * settle;
    p.ears = 0.3 * settle;
    if (id == AnimalId::Giraffe)
        p.neckPitch = -0.9 * SmoothStep(0.3, 1.0, t);
    if (id == AnimalId::Hippo) {
        // Too round to topple: it sinks onto its belly, legs splayed, and
        // slumps a little to one side.
        p.roll = 0.8 * fall;
        p.bend = {1.4 * kneel, 1.4 * kneel, 1.2 * kneel, 1.2 * kneel};
        p.swing = {-0.5 * kneel, -0.5 * kneel, 0.5 * kneel, 0.5 * kneel};
        p.splay = 0.9 * fall;
        p.neckPitch = -0.3 * fall;
        p.headPitch = -0.3 * fall;
    }
    if (id == AnimalId::Elephant) {
        p.trunkCurl = 0.3 * (1 - settle);
        p.trunkLift = 0.4 * settle; // stretched out along the ground
        p.ears = 0.2;
    }
    return p;
}

} // namespace

AnimalPose PoseFor(AnimalId id, AnimalAction action, int frame, int count)
{
    const double phase = count > 0 ? double(frame) / count : 0;
    switch (action) {
    case AnimalAction::Attack:
        return Attack(id, phase);
    case AnimalAction::Dying:
        return Dying(id, count > 1 ? double(frame) / (count - 1) : 1.0);
    case AnimalAction::Graze:
        return Graze(id, phase);
    case AnimalAction::Alert:
        return Alert(id, phase);
    case AnimalAction::Run:
        return Run(id, phase);
    case AnimalAction::Rest:
        return Rest(id, phase);
    case AnimalAction::Walk:
        return Walk(id, phase);
    }
    return {};
}
