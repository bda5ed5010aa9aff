#pragma once
// The seven animal kinds as the game loads them: the eight directional strip
// names (front, front-left, left, back-left, back, back-right, right,
// front-right), the height of one frame, the size the game gives the frame
// in world units, and the frame ranges the game plays for each state.

#include <array>

enum class AnimalId { Elephant, Giraffe, Hippo, Lion, Lioness, Rhino, Zebra };

// What each of the seven frame ranges shows, in the range order the game uses.
enum class AnimalAction {
    Attack,  // range 0: charging or mauling the hunter (loops)
    Dying,   // range 1: collapses; the last frame is the carcass (played once)
    Graze,   // range 2: idle, head down (loops)
    Alert,   // range 3: idle, head up, looking about (loops)
    Run,     // range 4: full speed (loops)
    Rest,    // range 5: idle, a third pose (loops)
    Walk,    // range 6: a quarter of full speed (loops)
};
constexpr int kAnimalActionCount = 7;

struct FrameRange {
    int first;
    int last;
    int Count() const { return last - first + 1; }
};

struct AnimalKind {
    AnimalId id;
    const char* label;
    std::array<const char*, 8> strips;
    int frameHeight; // pixels
    double size;     // world units the frame height stands for
    std::array<FrameRange, kAnimalActionCount> ranges;

    int FrameCount() const { return ranges[kAnimalActionCount - 1].last + 1; }
    double PixelsPerUnit() const { return frameHeight / size; }
};

extern const std::array<AnimalKind, 7> kAnimalKinds;
