#include "gamedata/DataFiles.h"

#include "gamedata/HuntTables.h"
#include "gamedata/ScreenTables.h"

#include <algorithm>

std::vector<std::string> GameDataFiles()
{
    std::vector<std::string> names;
    auto add = [&names](const char* name) {
        if (name)
            names.emplace_back(name);
    };
    for (int screen = 0; screen < SCREEN_COUNT; ++screen) {
        const ScreenTable table = ScreenTableFor(ScreenId(screen));
        for (int i = 0; i < table.count; ++i)
            add(table.items[i].picture);
    }
    for (const ScenarioDesc& scenario : kScenarios) {
        add(scenario.background);
        add(scenario.ground);
        for (const char* tree : scenario.trees)
            add(tree);
        add(scenario.palette);
    }
    for (const WeaponDesc& weapon : kWeapons) {
        add(weapon.gunPicture);
        add(weapon.shotSound);
        add(weapon.smokePicture);
    }
    for (const AnimalKindDesc& kind : kAnimalKinds)
        for (const char* strip : kind.strips)
            add(strip);
    for (const char* strip : kJeepStrips)
        add(strip);
    for (const char* voice : kJeepVoices)
        add(voice);
    for (const char* voice : kAnimalVoices)
        add(voice);
    for (const char* single : {kCursorPicture, kBinocularPicture, kRadarMarkPicture, kRadarDotPicture, kIntroVideo,
                               kIntroPalette, kHelpPage})
        add(single);
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
    return names;
}
