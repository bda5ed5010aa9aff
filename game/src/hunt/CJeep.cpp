#include "game/hunt/CJeep.h"

#include "common/DebugTrace.h"
#include "game/hunt/HuntMath.h"
#include "media/CSoundDevice.h"

#include <cmath>
#include <cstdlib>

namespace {
constexpr double kArea = 20000;
constexpr double kLostMargin = 1000;
constexpr double kWarnDistance = 1000, kKillDistance = 1500;
constexpr uint32_t kWarningInterval = 20000;
constexpr int kEngineBaseRate = 22050, kEngineRatePerStep = 265;
constexpr int kStarterPasses = 10;
constexpr int kDrivingFrames = 10;
} // namespace

int DirectionIndex(double bearing, double heading)
{
    const double rel = WrapAngle(bearing + kPi - heading);
    for (int k = 1; k < DIRECTIONS; ++k)
        if (rel > k * kPi / 4 - kPi / 8 && rel <= k * kPi / 4 + kPi / 8)
            return k;
    return 0;
}

CJeep::CJeep(HuntContext& context, const IClock& clock) : m_context(context), m_watches(clock)
{
    frameHeight = kFrameHeight;
    size = kSize;
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
    direction = 0;
    heading = 0;
    m_driving = false;
    m_currentVoice = -1;
    speed = 0;
    endStatus = HuntEndStatus::Running;
    maulingCounter = 0;
    // Each hunt starts the warnings afresh: the first sounds as soon as it
    // applies, the next 20 s later, whenever the hunt began.
    m_warnedAway = m_warnedOutside = false;
}

void CJeep::LoadVoices()
{
    CSoundDevice& sound = *m_context.sound;
    for (int i = 0; i < JEEP_VOICE_COUNT; ++i) {
        m_voices[size_t(i)] = sound.NewSound();
        sound.Load(m_voices[size_t(i)], kJeepVoices[i], false, i == VOICE_ENGINE ? 1 : 2, 0, nullptr, 0);
    }
}

void CJeep::DeleteVoices()
{
    for (SoundEntry*& voice : m_voices) {
        if (voice)
            m_context.sound->DeleteSound(voice);
        voice = nullptr;
    }
    m_currentVoice = -1;
}

void CJeep::Silence()
{
    for (SoundEntry* voice : m_voices)
        if (voice)
            m_context.sound->Stop(voice);
    m_currentVoice = -1;
}

void CJeep::SetDriving(bool on)
{
    if (on == m_driving)
        return;
    m_driving = on;
    if (on) {
        speed = 0;
        m_currentVoice = VOICE_STARTING;
        return;
    }
    if (m_currentVoice > 0 && m_voices[size_t(m_currentVoice)] &&
        m_context.sound->IsPlaying(m_voices[size_t(m_currentVoice)]))
        m_context.sound->Stop(m_voices[size_t(m_currentVoice)]);
    m_currentVoice = -1;
}

void CJeep::PlayVoice(int index, bool loop)
{
    if (index >= 0 && index < JEEP_VOICE_COUNT)
        PlayUnlessPlaying(*m_context.sound, m_voices[size_t(index)], loop);
}

void CJeep::Update()
{
    if (distance > kWarnDistance && (!m_warnedAway || m_watches.Elapsed(m_distanceWatch) > kWarningInterval)) {
        m_watches.Restart(m_distanceWatch);
        m_warnedAway = true;
        PlayVoice(VOICE_TOO_FAR, false);
    }
    if (distance > kKillDistance) {
        // Something large found the hunter who wandered off alone.
        PlayUnlessPlaying(*m_context.sound, m_context.animalVoices[ANIMAL_VOICE_ATTACK], true);
        if (endStatus != HuntEndStatus::Killed)
            DebugTrace("CJeep : the hunter strayed %.0f units from the jeep and was killed", distance);
        endStatus = HuntEndStatus::Killed;
    }
}

void CJeep::SetBearing(double bearing)
{
    if (!m_driving)
        direction = DirectionIndex(bearing, heading);
}

uint32_t CJeep::Step()
{
    if (!m_driving) {
        frameIndex = 0;
        return 0;
    }
    const bool outside = x < 0 || x > kArea || y < 0 || y > kArea;
    if (outside && (!m_warnedOutside || m_watches.Elapsed(m_areaWatch) > kWarningInterval)) {
        m_watches.Restart(m_areaWatch);
        m_warnedOutside = true;
        PlayVoice(VOICE_OUT_OF_AREA, false);
    }
    if (x < -kLostMargin || x > kArea + kLostMargin || y < -kLostMargin || y > kArea + kLostMargin)
        endStatus = HuntEndStatus::Lost;

    ++m_engineCounter;
    CSoundDevice& sound = *m_context.sound;
    if (m_currentVoice == VOICE_STARTING) {
        PlayVoice(VOICE_STARTING, false);
    } else if (m_currentVoice == VOICE_ENGINE) {
        SoundEntry* engine = m_voices[VOICE_ENGINE];
        PlayVoice(VOICE_ENGINE, true);
        if (engine && sound.IsPlaying(engine))
            sound.SetFrequency(engine, kEngineBaseRate + kEngineRatePerStep * std::abs(speed / 10));
    }
    if (m_engineCounter == kStarterPasses) {
        m_currentVoice = VOICE_ENGINE;
        m_engineCounter = 0;
    }
    frameIndex = (frameIndex + 1) % kDrivingFrames;
    return 0;
}
