// The hunt step: one per tick while the hunt display is current. Movement on
// foot or by jeep, the visible cells, the overlays, collisions and distances,
// the animals' behaviour, the projection, the shot and the animations of
// what is in view, in that order.

#include "game/hunt/CHuntWorld.h"
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

// The cells around the hunter that can be seen: his own, three ahead and
// three to each side (facing along a row) or the same turned.
struct CellWindow {
    int firstRow, rows, firstColumn, columns;
};

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

} // namespace

void CHuntWorld::CollideAndMeasure(CWorldObject& object)
{
    const double d = std::hypot(object.x - m_hunter.x, object.y - m_hunter.y);
    if (object.size > kBlockingSize) {
        const double bearing = BearingTo(m_hunter.x, m_hunter.y, object.x, object.y);
        // The difference is taken the short way round, so that objects just
        // across the +x direction block as well as any others.
        if (std::fabs(WrapSigned(bearing - m_hunter.angle)) < kBlockingAngle) {
            const double c = std::cos(m_hunter.angle), s = std::sin(m_hunter.angle);
            if (m_jeep->Driving() && d < kKeepOffDriving) {
                m_hunter.x -= (kKeepOffDriving - d) * c;
                m_hunter.y -= (kKeepOffDriving - d) * s;
                m_jeep->Follow(m_hunter.x, m_hunter.y, m_hunter.angle);
                m_jeep->Halt();
            } else if (!m_jeep->Driving() && d < kKeepOffOnFoot) {
                m_hunter.x -= (kKeepOffOnFoot - d) * c;
                m_hunter.y -= (kKeepOffOnFoot - d) * s;
            }
        }
    }
    object.distance = d;
}

void CHuntWorld::StepOnFoot(const HuntInput& input, const HuntToggles& toggles, double t, bool& shot)
{
    if (m_endStatus != HuntEndStatus::Running) {
        m_hunter.horizon = kEndedHorizon; // he lies on the ground
        return;
    }
    if (input.Held(HuntControl::Left))
        m_hunter.angle += kTurnOnFoot * t;
    if (input.Held(HuntControl::Right))
        m_hunter.angle -= kTurnOnFoot * t;
    m_hunter.angle = WrapAngle(m_hunter.angle);
    if (!toggles.binoculars && !toggles.aim) {
        m_hunter.horizon = kDefaultHorizon;
        const double dx = kWalkSpeed * t * std::cos(m_hunter.angle), dy = kWalkSpeed * t * std::sin(m_hunter.angle);
        if (input.Held(HuntControl::Up)) {
            m_hunter.x += dx;
            m_hunter.y += dy;
        }
        if (input.Held(HuntControl::Down)) {
            m_hunter.x -= dx;
            m_hunter.y -= dy;
        }
        return;
    }
    // With the binoculars or the gun raised the up and down keys tilt the view.
    if (input.Held(HuntControl::Up) && m_hunter.horizon + kTiltStep < kViewHeight)
        m_hunter.horizon += kTiltStep;
    if (input.Held(HuntControl::Down) && m_hunter.horizon - kTiltStep > 0)
        m_hunter.horizon -= kTiltStep;
    if (input.Pressed(HuntControl::Button0) && toggles.aim && m_jeep->Gun().IsReady()) {
        shot = true;
        m_jeep->Gun().SetMode(GunMode::Firing);
    }
}

void CHuntWorld::StepDriving(const HuntInput& input, double t)
{
    CJeep& jeep = *m_jeep;
    const bool up = input.Held(HuntControl::Up), down = input.Held(HuntControl::Down);
    jeep.Pedal(up, down);
    // The wheel turns the jeep only while a pedal is down.
    const double turn = up ? kSteering * t : down ? -kSteering * t : 0;
    if (input.Held(HuntControl::Left))
        m_hunter.angle += turn;
    if (input.Held(HuntControl::Right))
        m_hunter.angle -= turn;
    m_hunter.angle = WrapAngle(m_hunter.angle);
    m_hunter.x += std::cos(m_hunter.angle) * jeep.Speed() * t;
    m_hunter.y += std::sin(m_hunter.angle) * jeep.Speed() * t;
    jeep.Follow(m_hunter.x, m_hunter.y, m_hunter.angle);
}

void CHuntWorld::FillDrawList(bool shot)
{
    // Taken before the collisions, which stop the jeep short of what it hits.
    const bool jeepAdvancing = m_jeep->Driving() && m_jeep->Speed() > 0;
    m_drawList.RemoveAll();
    const CellWindow cells = VisibleCells(m_hunter.x, m_hunter.y, m_hunter.angle);
    for (int row = cells.firstRow; row < cells.firstRow + cells.rows; ++row)
        for (int column = cells.firstColumn; column < cells.firstColumn + cells.columns; ++column)
            for (const auto& tree : m_scenery.Cell(row, column)) {
                CollideAndMeasure(*tree);
                m_drawList.Insert(tree.get());
            }
    for (size_t i = 0; i < m_animals.size(); ++i) {
        CAnimal& animal = *m_animals[i];
        CollideAndMeasure(animal);
        m_view.SetRadar(int(i), CWorldView::RadarPosition(m_hunter.angle,
                                                          BearingTo(m_hunter.x, m_hunter.y, animal.x, animal.y),
                                                          animal.distance));
        HunterSign sign;
        sign.x = m_hunter.x;
        sign.y = m_hunter.y;
        sign.viewAngle = m_hunter.angle;
        sign.driving = m_jeep->Driving();
        sign.jeepAdvancing = jeepAdvancing;
        sign.windFrame = m_windFrame;
        if (animal.Behave(sign))
            m_drawList.Insert(&animal);
    }
    m_jeep->distance = std::hypot(m_jeep->x - m_hunter.x, m_jeep->y - m_hunter.y);
    m_jeep->Update();
    m_drawList.Insert(m_jeep.get());
    if (shot)
        m_smoke.Restart();
    for (CWorldObject* object : m_drawList.Objects())
        m_view.Project(*object, m_hunter, shot);
}

void CHuntWorld::ShootAtDrawList()
{
    Shot shot{m_aimX, m_aimY, false};
    const auto& objects = m_drawList.Objects();
    for (auto it = objects.rbegin(); it != objects.rend() && !shot.spent; ++it) {
        CWorldObject& object = **it;
        if (std::fabs(object.relAngle) >= kPi / 2)
            continue;
        const AnimalKind kind = object.HitTest(shot);
        if (kind != ANIMAL_NONE)
            m_jeep->PlayVoice(kind == m_quarryKind && !m_poached ? VOICE_GOOD_SHOT : VOICE_WRONG_ANIMAL, false);
    }
}

uint32_t CHuntWorld::Step(const HuntInput& input, const HuntToggles& toggles, double seconds)
{
    if (!m_hunting)
        return 0;
    bool shot = false;
    if (m_jeep->Driving())
        StepDriving(input, seconds);
    else
        StepOnFoot(input, toggles, seconds, shot);
    m_jeep->Binoculars().Step();
    m_jeep->Gun().Step();
    FillDrawList(shot);
    if (shot)
        ShootAtDrawList();
    // The dead in view tell of themselves as the animations move on: then
    // this tick's report is the whole report, else nothing.
    m_deathSeen = false;
    m_view.Advance(seconds);
    return m_deathSeen ? m_kills.Packed() : 0;
}
