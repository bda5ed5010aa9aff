#include "generators/Generators.h"

const GeneratorEntry kGenerators[] = {
    {"animals", GenerateAnimals}, {"jeep", GenerateJeep},   {"trees", GenerateTrees},
    {"scenery", GenerateScenery}, {"menus", GenerateMenus}, {"hud", GenerateHud},
    {"sounds", GenerateSounds},   {"video", GenerateVideo}, {"help page", GenerateHelpPage},
    {"palettes", GeneratePalettes},
};
const int kGeneratorCount = int(sizeof kGenerators / sizeof kGenerators[0]);
