#pragma once
// What the objects of a hunt tell the world. They keep their own state and
// report what happened to them; the world, which keeps the hunt's state (the
// kill report, the mauling count, poaching, the end status), decides what
// follows. Calls come during the world's own tick, never from elsewhere.

class CAnimal;

class IHuntEvents {
public:
    virtual ~IHuntEvents() = default;
    // An animal starts dying, shot down or run over.
    virtual void OnFalling(const CAnimal& animal) = 0;
    // A dead animal lies on its last frame in view this tick.
    virtual void OnDeathSeen(const CAnimal& animal) = 0;
    // The moving jeep ran an animal over (it falls too, and says so).
    virtual void OnRunOver(const CAnimal& animal) = 0;
    // An animal mauls the hunter on foot, for one tick.
    virtual void OnMauling(const CAnimal& animal) = 0;
    // The hunter on foot is more than 1500 units from the jeep.
    virtual void OnStrayed() = 0;
    // The jeep is more than 1000 units outside the hunting area.
    virtual void OnDrivenOffTheMap() = 0;
};
