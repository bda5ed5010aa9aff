#pragma once
// CJeep: the hunter's vehicle. Parked, it is drawn from whichever side the
// hunter sees it; driving, it runs 100 units ahead of the hunter, seen from
// behind, with its engine's pitch rising with the speed. It also keeps the
// hunt's end status: the hunter killed (mauled, or strayed more than 1500
// units from the jeep) or lost (driven more than 1000 units off the map),
// and it carries the gun and the binoculars.

#include "common/Clock.h"
#include "game/hunt/CBinocularOverlay.h"
#include "game/hunt/CGunOverlay.h"
#include "game/hunt/CStopwatchPool.h"
#include "game/hunt/CWorldObject.h"
#include "game/hunt/HuntContext.h"

#include <array>

enum class HuntEndStatus : int {
    Running = 0,
    Killed = 1,
    Lost = 2,
};

class CJeep final : public CWorldObject {
public:
    static constexpr int kFrameHeight = JEEP_FRAME_HEIGHT;
    static constexpr double kSize = JEEP_SIZE;

    CJeep(HuntContext& context, const IClock& clock);
    ~CJeep() override;

    // Parks the jeep at (x, y) for a new hunt: facing +x, standing, running.
    void Park(double parkX, double parkY);
    void SetDriving(bool on);
    bool Driving() const { return m_driving; }
    // Plays a voice from its start unless it is playing.
    void PlayVoice(int index, bool loop);
    // Once per pass: the warnings and the end of a hunter who strayed.
    void Update();

    void SetBearing(double bearing) override;
    uint32_t Step() override;
    CDib* CurrentSprite() const override { return sprites ? sprites[direction] : nullptr; }

    // The nine voices, loaded for a hunt and deleted when it is released.
    void LoadVoices();
    void DeleteVoices();
    // Stops every voice; the engine is not started again.
    void Silence();
    SoundEntry* Voice(int index) const { return m_voices[size_t(index)]; }
    int CurrentVoice() const { return m_currentVoice; }

    CGunOverlay& Gun() { return m_gun; }
    const CGunOverlay& Gun() const { return m_gun; }
    CBinocularOverlay& Binoculars() { return m_binoculars; }

    int direction = 0;  // which of the eight strips is drawn
    double heading = 0;
    int speed = 0;      // units per second; negative in reverse
    HuntEndStatus endStatus = HuntEndStatus::Running;
    int maulingCounter = 0;

private:
    HuntContext& m_context;
    CGunOverlay m_gun;
    CBinocularOverlay m_binoculars;
    bool m_driving = false;
    std::array<SoundEntry*, JEEP_VOICE_COUNT> m_voices{};
    int m_currentVoice = -1;
    CStopwatchPool m_watches;
    int m_distanceWatch, m_areaWatch;
    // Whether this hunt has sounded each warning yet.
    bool m_warnedAway = false, m_warnedOutside = false;
    // Passes driven since the engine last took over from the starter.
    int m_engineCounter = 0;
};

// The strip that shows an object with `heading` seen along `bearing`: the
// nearest of the eight directions to bearing + π − heading; 0 is the front.
int DirectionIndex(double bearing, double heading);
