#include "game/GameConfig.h"

#include "common/PrivateProfile.h"

GameConfig ReadGameConfig(const std::string& folder)
{
    std::string path = folder;
    if (!path.empty() && path.back() != '/')
        path += '/';
    path += "config.dat";
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
    return config;
}
