#include "game/hunt/CAnimal.h"

#include "game/CGameRandom.h"
#include "game/hunt/CJeep.h"
#include "game/hunt/CStopwatchPool.h"
#include "game/hunt/HuntMath.h"
#include "game/hunt/HuntVoices.h"
#include "game/hunt/IHuntEvents.h"
#include "gamedata/HuntTables.h"
#include "media/CSoundDevice.h"

#include <cassert>
#include <cmath>

namespace {
constexpr double kRange = 3000;        // farther animals idle and are not drawn
constexpr double kAlarmRange = 500;    // a hunter on foot this near is noticed
constexpr double kMaulRange = 50;      // and this near is attacked
constexpr double kJeepNoiseNear = 200, kJeepNoiseFar = 750;
constexpr double kRunOverRange = 130;
constexpr double kRunOverAngle = 0.5;
// The animation range each state plays (none before the first state is
// set); a startled animal runs.
constexpr int kRangeOfState[9] = {
    -1,
    int(AnimalAction::Attack), // ANIMAL_ATTACKING
    int(AnimalAction::Dying),  // ANIMAL_DYING
    int(AnimalAction::Graze),  // ANIMAL_IDLE
    int(AnimalAction::Alert),  // ANIMAL_IDLE_OTHER
    int(AnimalAction::Run),    // ANIMAL_RUNNING
    int(AnimalAction::Rest),   // ANIMAL_UNUSED
    int(AnimalAction::Walk),   // ANIMAL_WALKING
    int(AnimalAction::Run),    // ANIMAL_STARTLED
};
} // namespace

CAnimal::CAnimal(IHuntEvents& events, CStopwatchPool& watches) : m_events(events), m_watches(watches)
{
    m_callInterval = uint32_t(GameRandom().Next() % 30000 + 20000);
}

CAnimal::~CAnimal() = default;

void CAnimal::Spawn(AnimalKind kind, CDib* const* strips, int hitsNeeded)
{
    const AnimalKindDesc& desc = AnimalKindOf(kind);
    m_kind = kind;
    frameWidth = 0;
    frameHeight = desc.frameHeight;
    sprites = strips;
    size = desc.size;
    m_speed = desc.speed;
    m_ranges = desc.ranges;
    x = GameRandom().Next() % int(kHuntAreaSide);
    y = GameRandom().Next() % int(kHuntAreaSide);
    distance = 0;
    m_direction = 0;
    m_heading = WrapAngle(kPi / 2 - (GameRandom().Next() % 8) * kPi / 4);
    m_state = ANIMAL_CREATED;
    frameIndex = 0;
    m_hitsTaken = 0;
    m_hitsNeeded = hitsNeeded;
    SetState(AnimalState(ANIMAL_IDLE + GameRandom().Next() % 2));
}

void CAnimal::SetVoices(CSoundDevice* sound, const AnimalVoices& voices)
{
    m_sound = sound;
    m_voices = sound ? voices : AnimalVoices{};
}

void CAnimal::Sound(SoundEntry* voice) const
{
    if (m_sound)
        PlayUnlessPlaying(*m_sound, voice, false);
}

void CAnimal::ReleaseStopwatch()
{
    if (m_stopwatch >= 0)
        m_watches.Release(m_stopwatch);
    m_stopwatch = -1;
}

const AnimationRange& CAnimal::RangeOf(AnimalState state) const
{
    assert(m_ranges && state >= ANIMAL_ATTACKING && state <= ANIMAL_STARTLED);
    return m_ranges[kRangeOfState[state]];
}

bool CAnimal::LiesDead() const
{
    return m_state == ANIMAL_DYING && m_ranges && frameIndex >= RangeOf(ANIMAL_DYING).last;
}

void CAnimal::SetState(AnimalState state)
{
    if (state == m_state || m_state == ANIMAL_DYING)
        return;
    m_state = state;
    if (state == ANIMAL_CREATED || !m_ranges)
        return;
    frameIndex = RangeOf(state).first;
    if (state == ANIMAL_DYING)
        m_events.OnFalling(*this);
}

void CAnimal::Move(int unitsPerSecond, double seconds)
{
    // Turn back at the edge of the area, before moving.
    if (x < 0 || x > kHuntAreaSide || y < 0 || y > kHuntAreaSide)
        m_heading = WrapAngle(m_heading + kPi);
    y += std::sin(m_heading) * unitsPerSecond * seconds;
    x += std::cos(m_heading) * unitsPerSecond * seconds;
}

void CAnimal::Step(double seconds)
{
    if (m_state == ANIMAL_CREATED || !m_ranges)
        return;
    const AnimationRange& range = RangeOf(m_state);
    switch (m_state) {
    case ANIMAL_DYING:
        // A dead animal tells of itself on every tick it lies in view.
        if (frameIndex >= range.last)
            m_events.OnDeathSeen(*this);
        else
            ++frameIndex;
        return;
    case ANIMAL_RUNNING:
    case ANIMAL_STARTLED:
        ++frameIndex;
        Move(m_speed, seconds);
        break;
    case ANIMAL_WALKING:
        ++frameIndex;
        Move(m_speed / 4, seconds);
        break;
    default:
        ++frameIndex;
        break;
    }
    if (frameIndex > range.last || frameIndex < range.first)
        frameIndex = range.first;
}

bool CAnimal::Behave(const HunterSign& hunter)
{
    if (m_state == ANIMAL_DYING)
        return true;
    const double d = distance;
    if (d >= kRange) {
        ReleaseStopwatch();
        SetState(ANIMAL_IDLE);
        return false;
    }
    if (m_stopwatch < 0) {
        m_stopwatch = m_watches.Acquire();
        m_watches.Restart(m_stopwatch);
    }
    if (m_stopwatch >= 0 && m_watches.Elapsed(m_stopwatch) > m_callInterval) {
        m_watches.Restart(m_stopwatch);
        if (m_sound && m_voices.call) {
            m_sound->SetVolume(m_voices.call, -int(d));
            Sound(m_voices.call);
        }
    }

    if (!hunter.driving) {
        // The direction from the animal to the hunter.
        const double toHunter = std::atan2(y - hunter.y, x - hunter.x) + kPi;
        if (d >= kMaulRange && d < kAlarmRange) {
            if (Sector(WrapAngle(toHunter)) == hunter.windFrame) {
                m_heading = WrapAngle(toHunter);
                SetState(ANIMAL_RUNNING); // it smelt him: a charge
            } else {
                SetState(ANIMAL_STARTLED);
            }
        }
        if (d < kMaulRange) {
            Sound(m_voices.attack);
            m_heading = WrapAngle(toHunter);
            SetState(ANIMAL_ATTACKING);
            m_events.OnMauling(*this);
        }
        return true;
    }
    if (d > kJeepNoiseNear && d < kJeepNoiseFar)
        SetState(ANIMAL_RUNNING);
    // The short way round: an animal just across the +x direction from the
    // view is as much ahead as one just this side of it. Only a jeep driving
    // forward runs an animal over: one that runs into the front of a jeep
    // standing or backing away has run into it.
    const double bearing = BearingTo(hunter.x, hunter.y, x, y);
    if (hunter.jeepAdvancing && std::fabs(WrapSigned(bearing - hunter.viewAngle)) < kRunOverAngle &&
        d < kRunOverRange) {
        m_events.OnRunOver(*this);
        SetState(ANIMAL_DYING);
        Sound(m_voices.runOver);
    }
    return true;
}

void CAnimal::MoodChange()
{
    if (m_state == ANIMAL_ATTACKING || m_state == ANIMAL_DYING || m_state == ANIMAL_RUNNING ||
        m_state == ANIMAL_STARTLED)
        return;
    static constexpr AnimalState kMoods[3] = {ANIMAL_IDLE, ANIMAL_IDLE_OTHER, ANIMAL_WALKING};
    SetState(kMoods[GameRandom().Next() % 3]);
}

void CAnimal::SetBearing(double bearing)
{
    m_direction = DirectionIndex(bearing, m_heading);
}

AnimalKind CAnimal::HitTest(Shot& shot)
{
    if (shot.spent || !screen.Contains(shot.aimX, shot.aimY))
        return ANIMAL_NONE;
    shot.spent = true; // the bullet is spent on this animal, dead or alive
    ++m_hitsTaken;
    if (m_hitsTaken >= m_hitsNeeded && m_state != ANIMAL_DYING) {
        SetState(ANIMAL_DYING);
        return m_kind;
    }
    return ANIMAL_NONE;
}
