#pragma once
// Every part of the data folder, one generator each. They run in this order;
// the 8-bit palettes are made last from everything shown with them.

class CAssetSink;

void GenerateAnimals(CAssetSink& sink); // animals: seven kinds, eight directional strips each
void GenerateJeep(CAssetSink& sink);    // the jeep's eight directional strips
void GenerateTrees(CAssetSink& sink);   // env: the scenarios' trees
void GenerateScenery(CAssetSink& sink); // env: panoramas and ground textures
void GenerateMenus(CAssetSink& sink);   // menu: screens, buttons, plates, trophies, end pictures, cursor
void GenerateHud(CAssetSink& sink);     // menu and env: compass, wind, radar marks, binoculars, guns, smoke
void GenerateSounds(CAssetSink& sink);  // sounds
void GenerateVideo(CAssetSink& sink);   // video\al_intro.avi
void GenerateHelpPage(CAssetSink& sink); // Veldra.html
void GeneratePalettes(CAssetSink& sink); // menu\palMain.bmp, menu\pal10.bmp .. pal30.bmp

struct GeneratorEntry {
    const char* name;
    void (*run)(CAssetSink&);
};

// In running order, the palettes last.
extern const GeneratorEntry kGenerators[];
extern const int kGeneratorCount;
