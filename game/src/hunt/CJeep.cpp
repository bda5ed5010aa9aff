#include "game/hunt/CJeep.h"

#include "common/DebugTrace.h"
#include "game/hunt/HuntMath.h"
#include "game/hunt/HuntVoices.h"
#include "game/hunt/IHuntEvents.h"
#include "media/CSoundDevice.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {
constexpr double kLostMargin = 1000;
constexpr double kWarnDistance = 1000, kKillDistance = 1500;
constexpr uint32_t kWarningInterval = 20000;
constexpr int kEngineBaseRate = 22050, kEngineRatePerStep = 265;
constexpr int kStarterTicks = 10;
constexpr int kDrivingFrames = 10;
constexpr int kCoastDecay = 10;
constexpr int kFirstPush = 60, kLaterPush = 20;
constexpr int kSeenFromBehind = 4;
} // namespace

CJeep::CJeep(CSoundDevice& sound, const IClock& clock, IHuntEvents& events)
    : m_sound(sound), m_events(events), m_watches(clock)
{
    frameHeight = kFrameHeight;
    size = kSize;
    drawnAtAnyRange = true;
    m_distanceWatch = m_watches.Acquire();
    m_areaWatch = m_watches.Acquire();
    m_watches.Restart(m_distanceWatch);
    m_watches.Restart(m_areaWatch);
}

CJeep::~CJeep() = default;

void CJeep::Park(double parkX, double parkY)
{
    frameWidth = 0;
    frameHeight = kFrameHeight;
    frameIndex = 0;
    x = parkX;
    y = parkY;
    distance = 0;
    size = kSize;
    m_direction = 0;
    m_heading = 0;
    m_driving = false;
    m_currentVoice = -1;
    m_speed = 0;
    // Each hunt starts the warnings afresh: the first sounds as soon as it
    // applies, the next 20 s later, whenever the hunt began.
    m_warnedAway = m_warnedOutside = false;
}

void CJeep::LoadVoices()
{
    for (int i = 0; i < JEEP_VOICE_COUNT; ++i) {
        m_voices[size_t(i)] = m_sound.NewSound();
        // A voice that does not load stays silent; the hunt plays on.
        if (const int code = m_sound.Load(m_voices[size_t(i)], kJeepVoices[i], i == VOICE_ENGINE ? 1 : 2))
            DebugTrace("CJeep : \"%s\" cannot be loaded (%d)", kJeepVoices[i], code);
    }
}

void CJeep::DeleteVoices()
{
    for (SoundEntry*& voice : m_voices) {
        if (voice)
            m_sound.DeleteSound(voice);
        voice = nullptr;
    }
    m_currentVoice = -1;
}

void CJeep::Silence()
{
    for (SoundEntry* voice : m_voices)
        if (voice)
            m_sound.Stop(voice);
    m_currentVoice = -1;
}

void CJeep::GetIn(double heading)
{
    if (!m_driving) {
        m_driving = true;
        m_speed = 0;
        m_currentVoice = VOICE_STARTING;
    }
    m_direction = kSeenFromBehind;
    m_heading = heading;
}

void CJeep::GetOut()
{
    if (!m_driving)
        return;
    m_driving = false;
    if (m_currentVoice > 0 && m_voices[size_t(m_currentVoice)] && m_sound.IsPlaying(m_voices[size_t(m_currentVoice)]))
        m_sound.Stop(m_voices[size_t(m_currentVoice)]);
    m_currentVoice = -1;
}

void CJeep::Pedal(bool up, bool down)
{
    if (!up && !down) {
        if (m_speed > 0)
            m_speed -= kCoastDecay;
        else if (m_speed < 0)
            m_speed += kCoastDecay;
    }
    if (up && m_speed < kTopSpeed)
        m_acceleration = m_acceleration <= 0 ? kFirstPush : kLaterPush;
    if (down)
        m_acceleration = m_acceleration >= 0 ? -kFirstPush : -kLaterPush;
    const bool againstTheMotion = m_speed * m_acceleration < 0;
    if ((up || down) && (std::abs(m_speed) < kTopSpeed || againstTheMotion))
        m_speed = std::clamp(m_speed + m_acceleration, -kTopSpeed, kTopSpeed);
}

void CJeep::Follow(double hunterX, double hunterY, double angle)
{
    x = hunterX + kAhead * std::cos(angle);
    y = hunterY + kAhead * std::sin(angle);
    // The jeep points where it is driven, so it is parked the way it went.
    m_heading = angle;
}

void CJeep::PlayVoice(int index, bool loop)
{
    if (index >= 0 && index < JEEP_VOICE_COUNT)
        PlayUnlessPlaying(m_sound, m_voices[size_t(index)], loop);
}

void CJeep::Update()
{
    if (distance > kWarnDistance && (!m_warnedAway || m_watches.Elapsed(m_distanceWatch) > kWarningInterval)) {
        m_watches.Restart(m_distanceWatch);
        m_warnedAway = true;
        PlayVoice(VOICE_TOO_FAR, false);
    }
    if (distance > kKillDistance)
        m_events.OnStrayed();
}

void CJeep::SetBearing(double bearing)
{
    if (!m_driving)
        m_direction = DirectionIndex(bearing, m_heading);
}

void CJeep::Step(double)
{
    if (!m_driving) {
        frameIndex = 0;
        return;
    }
    const bool outside = x < 0 || x > kHuntAreaSide || y < 0 || y > kHuntAreaSide;
    if (outside && (!m_warnedOutside || m_watches.Elapsed(m_areaWatch) > kWarningInterval)) {
        m_watches.Restart(m_areaWatch);
        m_warnedOutside = true;
        PlayVoice(VOICE_OUT_OF_AREA, false);
    }
    if (x < -kLostMargin || x > kHuntAreaSide + kLostMargin || y < -kLostMargin || y > kHuntAreaSide + kLostMargin)
        m_events.OnDrivenOffTheMap();

    ++m_engineCounter;
    if (m_currentVoice == VOICE_STARTING) {
        PlayVoice(VOICE_STARTING, false);
    } else if (m_currentVoice == VOICE_ENGINE) {
        SoundEntry* engine = m_voices[VOICE_ENGINE];
        PlayVoice(VOICE_ENGINE, true);
        if (engine && m_sound.IsPlaying(engine))
            m_sound.SetFrequency(engine, kEngineBaseRate + kEngineRatePerStep * std::abs(m_speed / 10));
    }
    if (m_engineCounter == kStarterTicks) {
        m_currentVoice = VOICE_ENGINE;
        m_engineCounter = 0;
    }
    frameIndex = (frameIndex + 1) % kDrivingFrames;
}
