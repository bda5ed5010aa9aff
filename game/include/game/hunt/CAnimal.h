#pragma once
// CAnimal: one of the herd of twenty-four. A small state machine of
// animations (grazing, walking, running, attacking, dying) driven by what the
// animal senses each tick (the hunter's distance, his scent on the wind, the
// jeep's noise), by random mood changes every ten seconds, and by the hits it
// takes. Animals move only while they are drawn. What befalls an animal
// (falling, being run over, mauling the hunter, lying dead in view) it
// reports to the world; what that means for the hunt is the world's to say.

#include "game/hunt/CWorldObject.h"

#include <cstdint>

class CSoundDevice;
class CStopwatchPool;
class IHuntEvents;
struct AnimationRange;
struct SoundEntry;

// Animal states; each plays one animation range of its kind.
enum AnimalState : int {
    ANIMAL_CREATED = 0,
    ANIMAL_ATTACKING = 1,
    ANIMAL_DYING = 2, // final: plays once, then stays on its last frame
    ANIMAL_IDLE = 3,
    ANIMAL_IDLE_OTHER = 4,
    ANIMAL_RUNNING = 5, // flight or charge, full speed
    ANIMAL_UNUSED = 6,
    ANIMAL_WALKING = 7, // a quarter of the speed
    ANIMAL_STARTLED = 8, // running on, full speed
};

// What an animal senses of the hunter in a tick.
struct HunterSign {
    double x = 0, y = 0;
    double viewAngle = 0;
    bool driving = false;
    // The jeep was moving forward when the tick began (before anything
    // stopped it): only a jeep driving at an animal runs it over, not one
    // that stands or backs away while the animal runs into its front.
    bool jeepAdvancing = false;
    // The wind's sector: a hunter on foot upwind in it is smelt.
    int windFrame = 0;
};

// The voices every animal has (none is a silent voice).
struct AnimalVoices {
    SoundEntry* call = nullptr;
    SoundEntry* attack = nullptr;
    SoundEntry* runOver = nullptr;
};

class CAnimal final : public CWorldObject {
public:
    // Draws the call interval (20 to 50 s) from the game's generator. The
    // events and the stopwatches must outlive the animal.
    CAnimal(IHuntEvents& events, CStopwatchPool& watches);
    ~CAnimal() override;

    // A new life for a hunt: kind, place and heading drawn from the game's
    // generator, idle in one of two poses.
    void Spawn(AnimalKind kind, CDib* const* strips, int hitsNeeded);
    // The voices it sounds through `sound` (null: silent).
    void SetVoices(CSoundDevice* sound, const AnimalVoices& voices);
    // Reacts to the hunter; true when the animal is in range (drawn this
    // tick). Its distance must have been measured this tick.
    bool Behave(const HunterSign& hunter);
    // Every ten seconds: a calm animal may change between idling and walking.
    void MoodChange();
    // Forgets its stopwatch (the hunt is over).
    void ReleaseStopwatch();

    void SetBearing(double bearing) override;
    AnimalKind HitTest(Shot& shot) override;
    void OnShotHeard() override { SetState(ANIMAL_RUNNING); }
    void Step(double seconds) override;
    CDib* CurrentSprite() const override { return sprites ? sprites[m_direction] : nullptr; }

    AnimalState State() const { return m_state; }
    AnimalKind Kind() const { return m_kind; }
    int HitsTaken() const { return m_hitsTaken; }
    double Heading() const { return m_heading; }
    int Direction() const { return m_direction; }
    // Whether its dying has played to the last frame.
    bool LiesDead() const;

    // Into a state and the first frame of its animation; nothing while it
    // dies (dying is final). Entering the dying state reports the fall.
    void SetState(AnimalState state);

private:
    const AnimationRange& RangeOf(AnimalState state) const;
    void Move(int unitsPerSecond, double seconds);
    void Sound(SoundEntry* voice) const;

    IHuntEvents& m_events;
    CStopwatchPool& m_watches;
    CSoundDevice* m_sound = nullptr;
    AnimalVoices m_voices;
    AnimalState m_state = ANIMAL_CREATED;
    AnimalKind m_kind = ANIMAL_NONE;
    const AnimationRange* m_ranges = nullptr;
    int m_direction = 0;
    double m_heading = 0;
    int m_speed = 0;
    int m_hitsTaken = 0;
    int m_hitsNeeded = 1;
    int m_stopwatch = -1;
    uint32_t m_callInterval;
};
