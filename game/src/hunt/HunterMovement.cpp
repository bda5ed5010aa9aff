#include "game/hunt/HunterMovement.h"

#include "game/hunt/CJeep.h"
#include "game/hunt/CSceneryGrid.h"
#include "game/hunt/CWorldObject.h"
#include "game/hunt/HuntMath.h"
#include "gamedata/ScreenTables.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kWalkSpeed = 50;        // units per second
constexpr double kTurnOnFoot = kPi / 4;  // radians per second
constexpr double kSteering = kPi / 8;
constexpr int kDefaultHorizon = 240, kEndedHorizon = 10;
constexpr int kTiltStep = 10, kViewHeight = kBackBufferHeight;
constexpr double kBlockingSize = 70;
constexpr double kBlockingAngle = 0.5;
constexpr double kKeepOffDriving = 130, kKeepOffOnFoot = 50;

} // namespace

CellWindow VisibleCells(double x, double y, double angle)
{
    const int row = CSceneryGrid::CellOf(y), column = CSceneryGrid::CellOf(x);
    const int rowBehind = CSceneryGrid::CellOf(y - 3000), columnBehind = CSceneryGrid::CellOf(x - 3000);
    if (angle < kPi / 4 || angle >= 7 * kPi / 4)
        return {rowBehind, 7, column, 4}; // facing +x
    if (angle < 3 * kPi / 4)
        return {row, 4, columnBehind, 7}; // facing +y
    if (angle < 5 * kPi / 4)
        return {rowBehind, 7, columnBehind, 4}; // facing -x
    return {rowBehind, 4, columnBehind, 7}; // facing -y
}

void KeepOffAndMeasure(HunterPose& hunter, CJeep& jeep, CWorldObject& object)
{
    const double d = std::hypot(object.x - hunter.x, object.y - hunter.y);
    if (object.size > kBlockingSize) {
        const double bearing = BearingTo(hunter.x, hunter.y, object.x, object.y);
        // The difference is taken the short way round, so that objects just
        // across the +x direction block as well as any others.
        if (std::fabs(WrapSigned(bearing - hunter.angle)) < kBlockingAngle) {
            const double c = std::cos(hunter.angle), s = std::sin(hunter.angle);
            if (jeep.Driving() && d < kKeepOffDriving) {
                hunter.x -= (kKeepOffDriving - d) * c;
                hunter.y -= (kKeepOffDriving - d) * s;
                jeep.Follow(hunter.x, hunter.y, hunter.angle);
                jeep.Halt();
            } else if (!jeep.Driving() && d < kKeepOffOnFoot) {
                hunter.x -= (kKeepOffOnFoot - d) * c;
                hunter.y -= (kKeepOffOnFoot - d) * s;
            }
        }
    }
    object.distance = d;
}

bool StepOnFoot(HunterPose& hunter, CJeep& jeep, const HuntInput& input, const HuntToggles& toggles, double t,
                bool ended)
{
    if (ended) {
        hunter.horizon = kEndedHorizon; // he lies on the ground
        return false;
    }
    if (input.Held(HuntControl::Left))
        hunter.angle += kTurnOnFoot * t;
    if (input.Held(HuntControl::Right))
        hunter.angle -= kTurnOnFoot * t;
    hunter.angle = WrapAngle(hunter.angle);
    if (!toggles.binoculars && !toggles.aim) {
        hunter.horizon = kDefaultHorizon;
        const double dx = kWalkSpeed * t * std::cos(hunter.angle), dy = kWalkSpeed * t * std::sin(hunter.angle);
        if (input.Held(HuntControl::Up)) {
            hunter.x += dx;
            hunter.y += dy;
        }
        if (input.Held(HuntControl::Down)) {
            hunter.x -= dx;
            hunter.y -= dy;
        }
        return false;
    }
    // With the binoculars or the gun raised the up and down keys tilt the view.
    if (input.Held(HuntControl::Up) && hunter.horizon + kTiltStep < kViewHeight)
        hunter.horizon += kTiltStep;
    if (input.Held(HuntControl::Down) && hunter.horizon - kTiltStep > 0)
        hunter.horizon -= kTiltStep;
    if (input.Pressed(HuntControl::Button0) && toggles.aim && jeep.Gun().IsReady()) {
        jeep.Gun().SetMode(GunMode::Firing);
        return true;
    }
    return false;
}

void StepDriving(HunterPose& hunter, CJeep& jeep, const HuntInput& input, double t)
{
    const bool up = input.Held(HuntControl::Up), down = input.Held(HuntControl::Down);
    jeep.Pedal(up, down);
    // The wheel turns the jeep only while a pedal is down.
    const double turn = up ? kSteering * t : down ? -kSteering * t : 0;
    if (input.Held(HuntControl::Left))
        hunter.angle += turn;
    if (input.Held(HuntControl::Right))
        hunter.angle -= turn;
    hunter.angle = WrapAngle(hunter.angle);
    hunter.x += std::cos(hunter.angle) * jeep.Speed() * t;
    hunter.y += std::sin(hunter.angle) * jeep.Speed() * t;
    jeep.Follow(hunter.x, hunter.y, hunter.angle);
}

