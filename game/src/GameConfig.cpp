#include "game/GameConfig.h"

#include "common/DefaultControls.h"
#include "common/PrivateProfile.h"
#include "gamedata/DataFiles.h"

GameConfig ReadGameConfig(const std::string& folder)
{
    std::string path = folder;
    if (!path.empty() && path.back() != '/')
        path += '/';
    path += kConfigFile;
    auto read = [&](const char* key) { return GetPrivateProfileInt("configuration", key, 0, path); };
    GameConfig config;
    config.highColour = read("highcolour");
    config.keyLeft = read("keyleft");
    config.keyRight = read("keyright");
    config.keyUp = read("keyup");
    config.keyDown = read("keydown");
    config.keyButton0 = read("keybut0");
    config.keyButton1 = read("keybut1");
    config.keyButton2 = read("keybut2");
    config.keyButton3 = read("keybut3");
    // Nothing bound to walk with: the controls the setup tool shows until
    // the player binds his own, rather than a game that cannot be played.
    if (config.keyUp == 0 && config.keyDown == 0) {
        config.keyUp = default_keys::UP;
        config.keyDown = default_keys::DOWN;
        config.keyLeft = default_keys::LEFT;
        config.keyRight = default_keys::RIGHT;
        config.keyButton0 = default_keys::FIRE;
        config.keyButton1 = default_keys::GUN;
        config.keyButton2 = default_keys::BINOCULARS;
        config.keyButton3 = default_keys::JEEP;
    }
    return config;
}
