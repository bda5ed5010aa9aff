#include "game/hunt/CAnimal.h"

#include "common/DebugTrace.h"
#include "game/CGameRandom.h"
#include "game/hunt/CJeep.h"
#include "game/hunt/CStopwatchPool.h"
#include "game/hunt/HuntMath.h"
#include "media/CSoundDevice.h"

#include <cassert>
#include <cmath>

namespace {
constexpr double kArea = 20000;
constexpr double kRange = 3000;        // farther animals idle and are not drawn
constexpr double kAlarmRange = 500;    // a hunter on foot this near is noticed
constexpr double kMaulRange = 50;      // and this near is attacked
constexpr double kJeepNoiseNear = 200, kJeepNoiseFar = 750;
constexpr double kRunOverRange = 130;
constexpr double kRunOverAngle = 0.5;
constexpr int kMaulingLimit = 20;
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

CAnimal::CAnimal(HuntContext& context) : m_context(context)
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
    speed = desc.speed;
    m_ranges = desc.ranges;
    x = GameRandom().Next() % 20000;
    y = GameRandom().Next() % 20000;
    distance = 0;
    direction = 0;
    heading = WrapAngle(kPi / 2 - (GameRandom().Next() % 8) * kPi / 4);
    m_state = ANIMAL_CREATED;
    frameIndex = 0;
    m_hitsTaken = 0;
    m_hitsNeeded = hitsNeeded;
    SetState(ANIMAL_IDLE + GameRandom().Next() % 2);
}

void CAnimal::ReleaseStopwatch()
{
    if (m_stopwatch >= 0 && m_context.animalWatches)
        m_context.animalWatches->Release(m_stopwatch);
    m_stopwatch = -1;
}

const AnimationRange& CAnimal::RangeOf(int state) const
{
    assert(m_ranges && state >= 1 && state <= 8);
    return m_ranges[kRangeOfState[state]];
}

void CAnimal::SetState(int state)
{
    if (state == m_state || m_state == ANIMAL_DYING)
        return;
    m_state = state;
    if (state < 1 || state > 8 || !m_ranges)
        return;
    frameIndex = RangeOf(state).first;
    if (state == ANIMAL_DYING) {
        m_context.killReport = (m_context.killReport & 0xFFFF0000u) | ((m_context.killReport + 1) & 0xFFFFu);
        ++m_context.fallen[size_t(m_kind)];
    }
}

void CAnimal::Move(int unitsPerSecond)
{
    // Turn back at the edge of the area, before moving.
    if (x < 0 || x > kArea || y < 0 || y > kArea)
        heading = WrapAngle(heading + kPi);
    y += std::sin(heading) * unitsPerSecond * m_context.frameTime;
    x += std::cos(heading) * unitsPerSecond * m_context.frameTime;
}

uint32_t CAnimal::Step()
{
    if (m_state < 1 || m_state > 8 || !m_ranges)
        return 0;
    const AnimationRange& range = RangeOf(m_state);
    switch (m_state) {
    case ANIMAL_DYING:
        if (frameIndex >= range.last) {
            m_context.killReport |= KindBit(m_kind) << 16;
            return m_context.killReport;
        }
        ++frameIndex;
        return 0;
    case ANIMAL_RUNNING:
    case ANIMAL_STARTLED:
        ++frameIndex;
        Move(speed);
        break;
    case ANIMAL_WALKING:
        ++frameIndex;
        Move(speed / 4);
        break;
    default:
        ++frameIndex;
        break;
    }
    if (frameIndex > range.last || frameIndex < range.first)
        frameIndex = range.first;
    return 0;
}

bool CAnimal::Behave(const HunterSign& hunter)
{
    const double hunterX = hunter.x, hunterY = hunter.y;
    if (m_state == ANIMAL_DYING)
        return true;
    const double d = distance;
    if (d >= kRange) {
        ReleaseStopwatch();
        SetState(ANIMAL_IDLE);
        return false;
    }
    CSoundDevice& sound = *m_context.sound;
    SoundEntry* const call = m_context.animalVoices[ANIMAL_VOICE_CALL];
    if (m_stopwatch < 0 && m_context.animalWatches) {
        m_stopwatch = m_context.animalWatches->Acquire();
        m_context.animalWatches->Restart(m_stopwatch);
    }
    if (m_stopwatch >= 0 && m_context.animalWatches->Elapsed(m_stopwatch) > m_callInterval) {
        m_context.animalWatches->Restart(m_stopwatch);
        if (call) {
            sound.SetVolume(call, -int(d));
            PlayUnlessPlaying(sound, call, false);
        }
    }

    if (!hunter.driving) {
        // The direction from the animal to the hunter.
        const double toHunter = std::atan2(y - hunterY, x - hunterX) + kPi;
        if (d >= kMaulRange && d < kAlarmRange) {
            if (Sector(WrapAngle(toHunter)) == m_context.windFrame) {
                heading = WrapAngle(toHunter);
                SetState(ANIMAL_RUNNING); // it smelt him: a charge
            } else {
                SetState(ANIMAL_STARTLED);
            }
        }
        if (d < kMaulRange) {
            PlayUnlessPlaying(sound, m_context.animalVoices[ANIMAL_VOICE_ATTACK], false);
            heading = WrapAngle(toHunter);
            SetState(ANIMAL_ATTACKING);
            if (CJeep* jeep = m_context.jeep; jeep && ++jeep->maulingCounter > kMaulingLimit) {
                jeep->maulingCounter = 0;
                jeep->endStatus = HuntEndStatus::Killed;
                DebugTrace("CAnimal : a %s mauled the hunter", AnimalKindOf(m_kind).name);
                return true;
            }
        }
        return true;
    }
    if (d > kJeepNoiseNear && d < kJeepNoiseFar)
        SetState(ANIMAL_RUNNING);
    // The short way round: an animal just across the +x direction from the
    // view is as much ahead as one just this side of it.
    const double bearing = BearingTo(hunterX, hunterY, x, y);
    // Only a moving jeep runs an animal over: one that walks into the bumper
    // of a standing jeep has run into it, not been run over.
    if (hunter.jeepMoving && std::fabs(WrapSigned(bearing - hunter.viewAngle)) < kRunOverAngle &&
        d < kRunOverRange) {
        m_context.quarryKind = ANIMAL_NONE; // running over any animal is poaching
        DebugTrace("CAnimal : a %s run over", AnimalKindOf(m_kind).name);
        SetState(ANIMAL_DYING);
        PlayUnlessPlaying(sound, m_context.animalVoices[ANIMAL_VOICE_RUN_OVER], false);
    }
    return true;
}

void CAnimal::MoodChange()
{
    if (m_state == ANIMAL_ATTACKING || m_state == ANIMAL_DYING || m_state == ANIMAL_RUNNING ||
        m_state == ANIMAL_STARTLED)
        return;
    static constexpr int kMoods[3] = {ANIMAL_IDLE, ANIMAL_IDLE_OTHER, ANIMAL_WALKING};
    SetState(kMoods[GameRandom().Next() % 3]);
}

void CAnimal::SetBearing(double bearing)
{
    direction = DirectionIndex(bearing, heading);
}

int CAnimal::HitTest(const ScreenRect& rect, double, bool& shot)
{
    if (!shot || !rect.Contains(m_context.aimX, m_context.aimY))
        return -1;
    shot = false; // the bullet is spent on this animal, dead or alive
    ++m_hitsTaken;
    if (m_hitsTaken >= m_hitsNeeded && m_state != ANIMAL_DYING) {
        SetState(ANIMAL_DYING);
        return m_kind;
    }
    return -1;
}
