#pragma once
// What the objects of a hunt share: the back buffer they draw into, the sound
// device and the voices, the animals' stopwatches, the jeep, this pass's
// frame time, the kill report and the hunt's quarry and wind.

#include "gamedata/HuntTables.h"

#include <array>
#include <cstdint>

class CDib;
class CJeep;
class CSoundDevice;
class CStopwatchPool;
struct SoundEntry;

// Where the hunter stands and looks. The horizon row moves when the view
// tilts (binoculars, aiming) and drops to 10 once the hunt has ended badly.
struct HunterPose {
    double x = 10500, y = 10500;
    double eyeHeight = 48;
    int horizon = 240;
    double angle = 0;
};

constexpr double EYE_HEIGHT_ON_FOOT = 48;
constexpr double EYE_HEIGHT_DRIVING = 80;

struct HuntContext {
    CDib* back = nullptr;
    CSoundDevice* sound = nullptr; // never null while a hunt runs: without sound, a silent device
    CStopwatchPool* animalWatches = nullptr;
    CJeep* jeep = nullptr;
    std::array<SoundEntry*, ANIMAL_VOICE_COUNT> animalVoices{};
    double frameTime = 0;
    // Low 16 bits: animals that started dying; high 16 bits: the kinds
    // (KindBit) whose dying animation has played to its end in view.
    uint32_t killReport = 0;
    // The animals of each kind (by AnimalKind) that started dying.
    std::array<int, ANIMAL_KIND_COUNT + 1> fallen{};
    int quarryKind = ANIMAL_NONE;
    int windFrame = 0;
    int aimX = 0, aimY = 0;
};

// The bit a kind sets in the high half of the kill report. One bit a kind,
// so that two dead animals of other kinds can never add up to the quarry's
// kind.
constexpr uint32_t KindBit(AnimalKind kind)
{
    return kind >= ANIMAL_ELEPHANT && kind <= ANIMAL_ZEBRA ? 1u << (int(kind) - 1) : 0u;
}

// Plays a voice from its start unless it is playing already; pan, volume and
// frequency stay as they are. Null voices are silent.
void PlayUnlessPlaying(CSoundDevice& sound, SoundEntry* voice, bool loop);
