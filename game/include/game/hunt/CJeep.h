#pragma once
// CJeep: the hunter's vehicle. Parked, it is drawn from whichever side the
// hunter sees it; driving, it runs 100 units ahead of the hunter, seen from
// behind, its speed set by the pedals and its engine's pitch rising with the
// speed. It carries the gun and the binoculars, and warns the hunter who
// strays from it or drives it off the map; when he strays too far, or drives
// too far off, it tells the world, which ends the hunt.

#include "common/Clock.h"
#include "game/hunt/CBinocularOverlay.h"
#include "game/hunt/CGunOverlay.h"
#include "game/hunt/CStopwatchPool.h"
#include "game/hunt/CWorldObject.h"
#include "gamedata/HuntTables.h"

#include <array>

class CSoundDevice;
class IHuntEvents;
struct SoundEntry;

class CJeep final : public CWorldObject {
public:
    static constexpr int kFrameHeight = JEEP_FRAME_HEIGHT;
    static constexpr double kSize = JEEP_SIZE;
    static constexpr int kTopSpeed = 300;
    // How far ahead of the hunter it runs while he drives.
    static constexpr double kAhead = 100;

    // The sound device, the clock and the events must outlive the jeep.
    CJeep(CSoundDevice& sound, const IClock& clock, IHuntEvents& events);
    ~CJeep() override;

    // Parks the jeep at (x, y) for a new hunt: facing +x, standing, not
    // driven, its warnings afresh (the first sounds as soon as it applies).
    void Park(double parkX, double parkY);
    // The hunter gets in looking along `heading`: from a standstill, with
    // the starter's sound first; it is seen from behind.
    void GetIn(double heading);
    void GetOut();
    bool Driving() const { return m_driving; }
    // The pedals for one tick. Neither held: it coasts 10 towards a stand.
    // Either held: it pushes 60 when the pedal's direction is new, else 20,
    // up to 300 either way; down wins when both are held. A pedal against
    // the motion always acts, so the brake slows it from any speed.
    void Pedal(bool up, bool down);
    // Units per second along its heading; negative in reverse.
    int Speed() const { return m_speed; }
    // Something stands in its way: it stops dead.
    void Halt() { m_speed = 0; }
    // Runs kAhead units ahead of a hunter at (hunterX, hunterY) looking
    // along `angle`, pointing that way.
    void Follow(double hunterX, double hunterY, double angle);
    // Plays a voice from its start unless it is playing.
    void PlayVoice(int index, bool loop);
    // Once per tick, with its distance measured: the warnings, and word to
    // the world of a hunter who strayed beyond 1500 units.
    void Update();

    void SetBearing(double bearing) override;
    void Step(double seconds) override;
    CDib* CurrentSprite() const override { return sprites ? sprites[m_direction] : nullptr; }

    // The nine voices, loaded for a hunt and deleted when it is released.
    void LoadVoices();
    void DeleteVoices();
    // Stops every voice; the engine is not started again.
    void Silence();
    SoundEntry* Voice(int index) const { return m_voices[size_t(index)]; }

    CGunOverlay& Gun() { return m_gun; }
    const CGunOverlay& Gun() const { return m_gun; }
    CBinocularOverlay& Binoculars() { return m_binoculars; }
    int Direction() const { return m_direction; }
    double Heading() const { return m_heading; }

private:
    CSoundDevice& m_sound;
    IHuntEvents& m_events;
    CGunOverlay m_gun;
    CBinocularOverlay m_binoculars;
    int m_direction = 0; // which of the eight strips is drawn
    double m_heading = 0;
    bool m_driving = false;
    int m_speed = 0;
    int m_acceleration = 0;
    std::array<SoundEntry*, JEEP_VOICE_COUNT> m_voices{};
    int m_currentVoice = -1;
    CStopwatchPool m_watches;
    int m_distanceWatch, m_areaWatch;
    // Whether this hunt has sounded each warning yet.
    bool m_warnedAway = false, m_warnedOutside = false;
    // Ticks driven since the engine last took over from the starter.
    int m_engineCounter = 0;
};
