#pragma once
// The fixed data of a hunt: the three scenarios, the six weapons, the seven
// animal kinds with their strips and animations, the jeep's strips and the
// voices. Names are the data files' Windows-style names. The game hunts with
// these tables and the asset generator makes every file they name, at the
// sizes and frame counts given here.

#include "gamedata/GameIds.h"

#include <string_view>

constexpr int TREE_KINDS = 6;
constexpr int DIRECTIONS = 8;
constexpr int ANIMAL_COUNT = 24;
constexpr int ANIMAL_VOICE_COUNT = 12;
constexpr int JEEP_VOICE_COUNT = 9;

struct ScenarioDesc {
    const char* name; // as the command line takes it
    const char* background;
    const char* ground;
    const char* trees[TREE_KINDS];
    const char* palette; // the 8-bit palette picture
};

// By ScenarioIndex: SCENARIO_NONE is "no hunt" (only its palette, the
// menus', is used).
extern const ScenarioDesc kScenarios[SCENARIO_COUNT + 1];

struct WeaponDesc {
    const char* name;
    const char* gunPicture;
    int frames;
    int gunX, restingY;
    int magazine;
    int hitsNeeded;
    const char* shotSound;
    const char* smokePicture; // null: the weapon makes no smoke
    int aimX, aimY;           // where the shot goes, on the screen
};

// By WeaponIndex.
extern const WeaponDesc kWeapons[WEAPON_COUNT];

struct AnimationRange {
    int first, last;
    constexpr int Count() const { return last - first + 1; }
};

// What each of an animal's seven frame ranges shows, in the table's order.
enum class AnimalAction : int {
    Attack, // charging or mauling the hunter (loops)
    Dying,  // collapses; the last frame is the carcass (played once)
    Graze,  // idle, head down (loops)
    Alert,  // idle, head up, looking about (loops)
    Run,    // full speed (loops)
    Rest,   // idle, a third pose (loops)
    Walk,   // a quarter of full speed (loops)
};
constexpr int ANIMAL_ACTION_COUNT = 7;

struct AnimalKindDesc {
    const char* name;
    int count;
    // The kills of this kind that bag it as the quarry: one elephant, lion
    // or rhino (of the herd's two), two giraffes, hippos or lionesses (of
    // four), four zebras (of six).
    int killsToBag;
    const char* strips[DIRECTIONS]; // front, front-left, left, back-left, back, back-right, right, front-right
    int frameHeight;                // pixels of one frame
    double size;                    // world units the frame height stands for
    int speed;
    AnimationRange ranges[ANIMAL_ACTION_COUNT]; // by AnimalAction

    // Frames in each strip: the walk, the last range, ends the strip.
    constexpr int StripFrames() const { return ranges[int(AnimalAction::Walk)].last + 1; }
};

// By kind − 1.
extern const AnimalKindDesc kAnimalKinds[ANIMAL_KIND_COUNT];
inline const AnimalKindDesc& AnimalKindOf(AnimalKind kind)
{
    return kAnimalKinds[int(kind) - 1];
}

// The jeep's strips, in the animals' direction order, each JEEP_FRAMES
// frames of JEEP_FRAME_HEIGHT pixels standing for JEEP_SIZE world units.
extern const char* const kJeepStrips[DIRECTIONS];
constexpr int JEEP_FRAMES = 10;
constexpr int JEEP_FRAME_HEIGHT = 78;
constexpr double JEEP_SIZE = 80;
extern const char* const kJeepVoices[JEEP_VOICE_COUNT];
// Every voice is recorded at this rate, and the game mixes at it.
constexpr int kSoundSampleRate = 22050;
// Null entries are voices nobody hears.
extern const char* const kAnimalVoices[ANIMAL_VOICE_COUNT];

// Jeep voices by role.
enum JeepVoice : int {
    VOICE_GOOD_SHOT = 0,
    VOICE_WRONG_ANIMAL = 1,
    VOICE_OUT_OF_AREA = 2,
    VOICE_SPARE_1 = 3, // the spare warnings are loaded but never played
    VOICE_SPARE_2 = 4,
    VOICE_TOO_FAR = 5,
    VOICE_SPARE_3 = 6,
    VOICE_STARTING = 7,
    VOICE_ENGINE = 8,
};

// Animal voices by role. Every animal, whatever its kind, calls, attacks
// and is run over with the first three; the call is silent and the lion's
// three are loaded but never heard.
enum AnimalVoice : int {
    ANIMAL_VOICE_CALL = 0,
    ANIMAL_VOICE_ATTACK = 1,
    ANIMAL_VOICE_RUN_OVER = 2,
    ANIMAL_VOICE_LION_ROAR = 9,
    ANIMAL_VOICE_LION_GRUNTS = 10,
    ANIMAL_VOICE_LION_SNARL = 11,
};

// Index of a name in a table, -1 when it is not there (exact, lower case).
int QuarryIndexByName(std::string_view name);
int WeaponIndexByName(std::string_view name);
// 1..3, or -1.
int ScenarioByName(std::string_view name);
