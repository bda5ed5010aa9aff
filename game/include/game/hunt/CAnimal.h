#pragma once
// CAnimal: one of the herd of twenty-four. A small state machine of
// animations (grazing, walking, running, attacking, dying) driven by what the
// animal senses each pass (the hunter's distance, his scent on the wind, the
// jeep's noise), by random mood changes every ten seconds, and by the hits it
// takes. Animals move only while they are drawn.

#include "game/hunt/CWorldObject.h"
#include "game/hunt/HuntContext.h"

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
    // The jeep was moving when the tick began (before anything stopped it):
    // only a moving jeep runs an animal over.
    bool jeepMoving = false;
};

class CAnimal final : public CWorldObject {
public:
    // Draws the call interval (20 to 50 s) from the game's generator.
    explicit CAnimal(HuntContext& context);
    ~CAnimal() override;

    // A new life for a hunt: kind, place and heading drawn from the game's
    // generator, idle in one of two poses.
    void Spawn(AnimalKind kind, CDib* const* strips, int hitsNeeded);
    // Reacts to the hunter; true when the animal is in range (drawn this
    // tick). Its distance must have been measured this tick.
    bool Behave(const HunterSign& hunter);
    // Every ten seconds: a calm animal may change between idling and walking.
    void MoodChange();
    // Forgets its stopwatch (the hunt is over).
    void ReleaseStopwatch();

    void SetBearing(double bearing) override;
    int HitTest(const ScreenRect& rect, double viewAngle, bool& shot) override;
    void SetState(int state) override;
    uint32_t Step() override;
    CDib* CurrentSprite() const override { return sprites ? sprites[direction] : nullptr; }

    int State() const { return m_state; }
    AnimalKind Kind() const { return m_kind; }
    int HitsTaken() const { return m_hitsTaken; }
    uint32_t CallInterval() const { return m_callInterval; }

    int direction = 0;
    double heading = 0;
    int speed = 0;

private:
    const AnimationRange& RangeOf(int state) const;
    void Move(int unitsPerSecond);

    HuntContext& m_context;
    int m_state = ANIMAL_CREATED;
    AnimalKind m_kind = ANIMAL_NONE;
    const AnimationRange* m_ranges = nullptr;
    int m_hitsTaken = 0;
    int m_hitsNeeded = 1;
    int m_stopwatch = -1;
    uint32_t m_callInterval;
};
