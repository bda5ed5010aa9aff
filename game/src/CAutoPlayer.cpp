#include "game/CAutoPlayer.h"

#include "common/DebugTrace.h"
#include "game/CHudScreen.h"
#include "game/CScreen.h"
#include "game/hunt/CHuntWorld.h"
#include "game/hunt/HuntMath.h"

#include <algorithm>
#include <cmath>

namespace {

// Distances the bot keeps, in world units.
constexpr double kDriveBeyond = 1400;  // farther targets are reached by jeep
constexpr double kStopDriving = 1200;  // where the jeep is stopped (animals bolt from a jeep within 750)
constexpr double kShootWithin = 650;   // on foot: close enough to shoot, outside their 500 of alarm
constexpr double kGetOutBeyond = 600;  // nearer than this an animal would notice a hunter getting out
constexpr double kStayByTheJeep = 1250; // the hunter dies beyond 1500 from the jeep
constexpr double kSteerRoundBeyond = 3000; // farther targets off to the side are steered round to
constexpr double kTurnTolerance = 0.05;
constexpr double kBackAwayWithin = 300; // an animal this near ahead of a backing jeep keeps it backing
constexpr int kTopBackingSpeed = 240;   // the bot backs no faster than this
constexpr double kEndLingerSeconds = 3;

bool IsEndPicture(ScreenId id)
{
    switch (id) {
    case ScreenId::MainMenu: case ScreenId::Quarry: case ScreenId::Hunt: case ScreenId::Options:
    case ScreenId::Weapon: case ScreenId::Scenario: case ScreenId::Trophies: case ScreenId::Credits:
    case ScreenId::None:
        return false;
    default:
        return true;
    }
}

} // namespace

bool ParseAutoplayMode(const std::string& word, AutoplayMode& mode)
{
    static const std::pair<const char*, AutoplayMode> kModes[] = {
        {"hunt", AutoplayMode::Hunt}, {"poach", AutoplayMode::Poach},
        {"stray", AutoplayMode::Stray}, {"wander", AutoplayMode::Wander}};
    for (const auto& [name, value] : kModes)
        if (word == name) {
            mode = value;
            return true;
        }
    return false;
}

CAutoPlayer::CAutoPlayer(AutoplayMode mode, const CHuntWorld& hunt) : m_mode(mode), m_hunt(hunt) {}

void CAutoPlayer::Click(int x, int y)
{
    m_events.push_back({ScriptEvent::Mouse, 0, x, y});
    m_events.push_back({ScriptEvent::Button, 0, 1, 0});
    m_events.push_back({ScriptEvent::Button, 0, 0, 0});
}

std::vector<ScriptEvent> CAutoPlayer::Plan(const CMainFrame& frame)
{
    const GameConfig& config = frame.Config();
    m_keys = {uint8_t(config.Key(GameControl::Left)), uint8_t(config.Key(GameControl::Right)),
              uint8_t(config.Key(GameControl::Up)),   uint8_t(config.Key(GameControl::Down)),
              uint8_t(config.Key(GameControl::Fire)), uint8_t(config.Key(GameControl::Weapon)),
              uint8_t(config.Key(GameControl::Binoculars)), uint8_t(config.Key(GameControl::Jeep))};
    m_events.clear();
    m_want.clear();
    m_taps.clear();
    const ScreenId screen = frame.CurrentScreenId();
    if (IsEndPicture(screen)) {
        m_endSeconds += CSimulationClock::kTickSeconds;
        m_quit = m_endSeconds >= kEndLingerSeconds;
    } else if (m_cooldown > 0) {
        --m_cooldown;
        m_want = m_held; // keep holding what was held
    } else if (screen == ScreenId::Hunt) {
        PlanHunt(frame);
    } else {
        PlanMenus(frame);
    }
    for (uint8_t key : m_held)
        if (!m_want.count(key))
            m_events.push_back({ScriptEvent::Key, 0, key, 0});
    for (uint8_t key : m_want)
        if (!m_held.count(key))
            m_events.push_back({ScriptEvent::Key, 0, key, 1});
    m_held = m_want;
    for (uint8_t key : m_taps) {
        m_events.push_back({ScriptEvent::Key, 0, key, 1});
        m_events.push_back({ScriptEvent::Key, 0, key, 0});
    }
    return m_events;
}

void CAutoPlayer::PlanMenus(const CMainFrame& frame)
{
    // Into a hunt with whatever the menus have chosen: start, next, next, hunt.
    int item = -1;
    switch (frame.CurrentScreenId()) {
    case ScreenId::MainMenu: item = MainMenuItem::Start; break;
    case ScreenId::Quarry: item = QuarryItem::Next; break;
    case ScreenId::Weapon: item = WeaponItem::Next; break;
    case ScreenId::Scenario: item = ScenarioItem::Next; break;
    case ScreenId::Options: item = OptionsItem::Resume; break;
    default: item = -1; break;
    }
    const CScreen* screen = frame.Screen(frame.CurrentScreenId());
    if (item < 0 || !screen || item >= screen->ItemCount())
        return;
    const CScreenItem& it = screen->Item(item);
    Click((it.left + it.right) / 2, (it.top + it.bottom) / 2);
    m_cooldown = 3;
}

void CAutoPlayer::PlanHunt(const CMainFrame& frame)
{
    if (!m_hunt.Hunting() || m_hunt.EndStatus() != HuntEndStatus::Running)
        return; // the end is coming: hands off
    switch (m_mode) {
    case AutoplayMode::Hunt: Hunt(frame, false); break;
    case AutoplayMode::Poach: Hunt(frame, true); break;
    case AutoplayMode::Stray: Stray(frame); break;
    case AutoplayMode::Wander: Wander(frame); break;
    }
}

bool CAutoPlayer::LowerEverything(const CMainFrame& frame)
{
    const CHudScreen* hud = frame.Hud();
    if (hud->Aiming())
        Tap(m_keys.gun);
    else if (hud->Binoculars())
        Tap(m_keys.binoculars);
    else
        return false;
    m_cooldown = 1;
    return true;
}

void CAutoPlayer::Face(double bearing, double tolerance)
{
    const double rel = WrapSigned(m_hunt.Hunter().angle - bearing);
    if (rel > tolerance)
        Hold(m_keys.right);
    else if (rel < -tolerance)
        Hold(m_keys.left);
}

bool CAutoPlayer::StopTheJeep()
{
    // Brake, and let the last bit roll out (a push of 60 would overshoot).
    const int speed = m_hunt.Jeep().Speed();
    if (speed > 60)
        Hold(m_keys.down);
    else if (speed < -60)
        Hold(m_keys.up);
    return speed == 0;
}

bool CAutoPlayer::SomethingInTheWay(bool driving, double& avoidSide, bool& brake, double* animalAhead) const
{
    const HunterPose& hunter = m_hunt.Hunter();
    const CWorldObject* jeep = &m_hunt.Jeep();
    brake = false;
    if (animalAhead)
        *animalAhead = 1e9;
    bool blocked = false;
    double nearest = 1e9;
    for (const CWorldObject* object : m_hunt.DrawList().Objects()) {
        if (object == jeep)
            continue;
        const double off = WrapSigned(BearingTo(hunter.x, hunter.y, object->x, object->y) - hunter.angle);
        const auto* animal = dynamic_cast<const CAnimal*>(object);
        const bool alive = animal && animal->State() != ANIMAL_DYING;
        // An animal off to the side of a moving jeep may run across its way
        // (at 200 units a second, as fast as the jeep backs): brake for it
        // too.
        if (driving && alive && std::fabs(off) < 1.2 && object->distance < 450 && m_hunt.Jeep().Speed() > 0) {
            brake = true;
            if (animalAhead)
                *animalAhead = std::min(*animalAhead, object->distance);
        }
        const double reach = driving ? (animal ? 600 : 380) : (animal ? 260 : 110);
        if (std::fabs(off) > 0.65 || object->distance > reach || object->distance >= nearest)
            continue;
        nearest = object->distance;
        blocked = true;
        avoidSide = off > 0 ? -1 : 1; // turn away from it
        if (driving && alive && object->distance < 450) {
            brake = true;
            if (animalAhead)
                *animalAhead = std::min(*animalAhead, object->distance);
        }
    }
    return blocked;
}

void CAutoPlayer::DriveTowards(double bearing, bool stopShort, double distance)
{
    const CJeep& jeep = m_hunt.Jeep();
    const HunterPose& hunter = m_hunt.Hunter();
    if (stopShort && distance < kStopDriving)
        return void(StopTheJeep());
    double side = 0, animalAhead = 0;
    bool brake = false;
    const bool blocked = SomethingInTheWay(true, side, brake, &animalAhead);
    // An animal close ahead: stand on the brake, whatever else is going on
    // (running one over is poaching).
    if (m_reverse > 0) {
        // Backing away with the wheel turned: in reverse, right turns left.
        --m_reverse;
        if (jeep.Speed() > -kTopBackingSpeed)
            Hold(m_keys.down);
        else
            return; // both pedals up, so it slows; the wheel needs a pedal
        Hold(m_detourSide > 0 ? m_keys.right : m_keys.left);
        return;
    }
    if (brake) {
        m_detour = 0;
        // Already backing away from an animal still close ahead: keep going
        // (one that runs into the front of a backing jeep is not run over).
        // Farther off, backing on would only take the jeep out of the area.
        const bool keepBacking = jeep.Speed() < 0 && animalAhead < kBackAwayWithin;
        if (keepBacking || StopTheJeep() || std::abs(jeep.Speed()) <= 60) {
            m_reverse = 20;
            m_detourSide = side;
        }
        return;
    }
    if (blocked && m_detour == 0) {
        m_detour = 25;
        m_detourSide = side;
    }
    if (m_detour > 0) {
        --m_detour;
        Hold(m_keys.up);
        Hold(m_detourSide > 0 ? m_keys.left : m_keys.right);
        return;
    }
    // Stuck against something the pedal cannot push through.
    m_stuckPasses = jeep.Speed() == 0 ? m_stuckPasses + 1 : 0;
    if (m_stuckPasses > 6) {
        m_stuckPasses = 0;
        m_detour = 40;
        m_detourSide = 1;
        return;
    }
    Hold(m_keys.up);
    const double rel = WrapSigned(hunter.angle - bearing);
    // The wheel turns only with a pedal down; forward, left turns left.
    if (rel > kTurnTolerance)
        Hold(m_keys.right);
    else if (rel < -kTurnTolerance)
        Hold(m_keys.left);
}

bool CAutoPlayer::Board()
{
    // Getting in takes the hunter to the jeep at once, wherever he is, and
    // on board nothing can maul him; a standing jeep runs nothing over.
    if (m_hunt.Jeep().Speed() != 0)
        return false;
    Tap(m_keys.jeep);
    m_cooldown = 1;
    return true;
}

bool CAutoPlayer::InFront(const CWorldObject& object) const
{
    // Only what the hunter sees moves: an animal behind him stands still.
    return std::fabs(object.relAngle) < kPi / 2 + 0.3;
}

bool CAutoPlayer::AnimalNear(const CAnimal* except, double within) const
{
    for (int i = 0; i < ANIMAL_COUNT; ++i) {
        const CAnimal& animal = m_hunt.Animal(i);
        if (&animal != except && animal.State() != ANIMAL_DYING && animal.distance < within && InFront(animal))
            return true;
    }
    return false;
}

bool CAutoPlayer::ComingAtTheHunter(const CAnimal& animal) const
{
    const HunterPose& hunter = m_hunt.Hunter();
    const double toHunter = BearingTo(animal.x, animal.y, hunter.x, hunter.y);
    const bool moving = animal.State() == ANIMAL_RUNNING || animal.State() == ANIMAL_STARTLED ||
                        animal.State() == ANIMAL_WALKING;
    return moving && std::fabs(WrapSigned(animal.Heading() - toHunter)) < 0.6;
}

bool CAutoPlayer::Threatened(const CAnimal* quarry, bool gunReady) const
{
    for (int i = 0; i < ANIMAL_COUNT; ++i) {
        const CAnimal& animal = m_hunt.Animal(i);
        if (animal.State() == ANIMAL_DYING)
            continue;
        if (animal.State() == ANIMAL_ATTACKING || animal.distance < 80) {
            // Mauling, or about to: whatever it is, away.
            if (animal.distance < 120)
                return true;
            continue;
        }
        const bool walking = animal.State() == ANIMAL_WALKING;
        if (!InFront(animal) || !ComingAtTheHunter(animal) || animal.distance > (walking ? 160 : 440))
            continue;
        // The quarry coming on is shot at while there is time for it.
        if (quarry && animal.Kind() == quarry->Kind() && gunReady && animal.distance > 220)
            continue;
        return true;
    }
    return false;
}

const CAnimal* CAutoPlayer::ChooseTarget(bool poach) const
{
    const AnimalKind quarry = m_hunt.QuarryKind();
    const CAnimal* best = nullptr;
    for (int i = 0; i < ANIMAL_COUNT; ++i) {
        const CAnimal& animal = m_hunt.Animal(i);
        const bool wanted = poach ? animal.Kind() != quarry : animal.Kind() == quarry;
        if (!wanted || animal.State() == ANIMAL_DYING)
            continue;
        if (!best || animal.distance < best->distance)
            best = &animal;
    }
    return best;
}

void CAutoPlayer::Aim(const CMainFrame& frame, const CAnimal& target)
{
    const int aimX = m_hunt.AimX(), aimY = m_hunt.AimY();
    const HunterPose& hunter = m_hunt.Hunter();
    const ScreenRect& rect = target.screen;
    if (std::fabs(target.relAngle) >= kPi / 2 || rect.width <= 0) {
        Face(BearingTo(hunter.x, hunter.y, target.x, target.y), kTurnTolerance);
        return;
    }
    const int margin = std::max(1, rect.width / 5);
    bool inside = true;
    if (aimX < rect.left + margin) {
        Hold(m_keys.right); // the target stands right of the sights
        inside = false;
    } else if (aimX >= rect.left + rect.width - margin) {
        Hold(m_keys.left);
        inside = false;
    }
    if (aimY < rect.top + rect.height / 4) {
        Hold(m_keys.down); // the horizon goes up, and the target with it
        inside = false;
    } else if (aimY >= rect.top + rect.height) {
        Hold(m_keys.up);
        inside = false;
    }
    if (!inside || !m_hunt.Jeep().Gun().IsReady() || !frame.Hud()->Aiming())
        return;
    // Nothing of the wrong kind nearer in the line of fire (trees let bullets through).
    const auto& objects = m_hunt.DrawList().Objects();
    for (auto it = objects.rbegin(); it != objects.rend(); ++it) {
        const auto* animal = dynamic_cast<const CAnimal*>(*it);
        if (!animal || std::fabs(animal->relAngle) >= kPi / 2 ||
            !animal->screen.Contains(aimX, aimY))
            continue;
        if (animal != &target && animal->Kind() != target.Kind())
            return;
        break;
    }
    DebugTrace("autoplay: fire at a %s %.0f units off", AnimalKindOf(target.Kind()).name, target.distance);
    Tap(m_keys.fire);
}

void CAutoPlayer::Hunt(const CMainFrame& frame, bool poach)
{
    const HunterPose& hunter = m_hunt.Hunter();
    const CJeep& jeep = m_hunt.Jeep();
    const CAnimal* target = ChooseTarget(poach);
    const bool gunReady = frame.Hud()->Aiming() && jeep.Gun().IsReady();
    if (!jeep.Driving() && Threatened(poach ? nullptr : target, gunReady)) {
        // Something comes at the hunter: into the jeep, which takes him
        // along at once and keeps him safe.
        if (LowerEverything(frame))
            return;
        Board();
        return;
    }
    // A fallen animal reports only when its dying has played out in view:
    // keep looking at it until then.
    for (int i = 0; i < ANIMAL_COUNT; ++i) {
        const CAnimal& animal = m_hunt.Animal(i);
        if (animal.State() == ANIMAL_DYING && !animal.LiesDead() && animal.distance < 3000) {
            if (jeep.Driving())
                return void(StopTheJeep());
            Face(BearingTo(hunter.x, hunter.y, animal.x, animal.y), kTurnTolerance);
            return;
        }
    }
    if (!target)
        return;
    const double d = target->distance;
    const double bearing = BearingTo(hunter.x, hunter.y, target->x, target->y);
    const double rel = WrapSigned(hunter.angle - bearing);
    const double fromJeep = std::hypot(jeep.x - hunter.x, jeep.y - hunter.y);

    if (jeep.Driving()) {
        // A far target is steered round to: getting out to turn may not
        // work, since boarding again waits for a clear way ahead and can
        // leave the jeep facing off once more.
        if (d >= kStopDriving && (std::fabs(rel) < 0.8 || d > kSteerRoundBeyond))
            return DriveTowards(bearing, true, d);
        // Too near to get out unseen: back away from it, facing it.
        if (d < kGetOutBeyond) {
            if (jeep.Speed() > 0)
                return void(StopTheJeep());
            if (jeep.Speed() > -kTopBackingSpeed)
                Hold(m_keys.down);
            return;
        }
        // Close enough, or the target is off to the side: stop and get out
        // (turning on foot is quicker than steering round), unless another
        // animal in view is near enough to smell a hunter on foot: then on
        // towards the target, which scatters it.
        if (AnimalNear(target, kGetOutBeyond))
            return DriveTowards(bearing, false, d);
        if (StopTheJeep()) {
            Tap(m_keys.jeep);
            m_cooldown = 1;
        }
        return;
    }
    if (d > kDriveBeyond || fromJeep > kStayByTheJeep) {
        if (LowerEverything(frame))
            return;
        // Face the target first: the jeep sets off the way the hunter looks.
        if (std::fabs(rel) > 0.1)
            return Face(bearing, kTurnTolerance);
        Board();
        return;
    }
    if (d > kShootWithin) {
        if (LowerEverything(frame))
            return;
        // Round whatever stands in the way: turn until it is off to the
        // side, then walk on a little before heading for the target again.
        double side = 0;
        bool brake = false;
        if (SomethingInTheWay(false, side, brake)) {
            m_detourSide = side;
            m_detour = 24;
            Hold(side > 0 ? m_keys.left : m_keys.right);
            return;
        }
        if (m_detour > 0) {
            --m_detour;
            Hold(m_keys.up);
            return;
        }
        Face(bearing, 0.1);
        if (std::fabs(rel) < 0.3)
            Hold(m_keys.up);
        return;
    }
    const CHudScreen* hud = frame.Hud();
    if (hud->Binoculars()) {
        Tap(m_keys.binoculars);
        m_cooldown = 1;
        return;
    }
    if (!hud->Aiming()) {
        Tap(m_keys.gun);
        m_cooldown = 1;
        return;
    }
    Aim(frame, *target);
}

void CAutoPlayer::Stray(const CMainFrame& frame)
{
    const HunterPose& hunter = m_hunt.Hunter();
    const CJeep& jeep = m_hunt.Jeep();
    if (jeep.Driving()) {
        if (StopTheJeep()) {
            Tap(m_keys.jeep);
            m_cooldown = 1;
        }
        return;
    }
    if (LowerEverything(frame))
        return;
    const double away = BearingTo(jeep.x, jeep.y, hunter.x, hunter.y);
    Face(away, 0.1);
    if (std::fabs(WrapSigned(hunter.angle - away)) < 0.3)
        Hold(m_keys.up);
}

void CAutoPlayer::Wander(const CMainFrame& frame)
{
    const HunterPose& hunter = m_hunt.Hunter();
    const CJeep& jeep = m_hunt.Jeep();
    // The nearest edge of the map.
    const double edges[4] = {kHuntAreaSide - hunter.x, kHuntAreaSide - hunter.y, hunter.x, hunter.y};
    const int nearest = int(std::min_element(edges, edges + 4) - edges);
    const double heading = nearest * kPi / 2;
    if (!jeep.Driving()) {
        if (LowerEverything(frame))
            return;
        if (std::fabs(WrapSigned(hunter.angle - heading)) > 0.1)
            return Face(heading, kTurnTolerance);
        Board();
        return;
    }
    DriveTowards(heading, false, 1e9);
}
