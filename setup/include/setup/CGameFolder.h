#pragma once
// The two files the setup tool touches for the game's folder: "config.dat",
// read and written only through the private-profile layer in the section
// "configuration", and "trophy.bin", which it removes to reset the trophies.
// They are where the game keeps them (gamedata/GameFolders.h): in the game
// folder, or in the player's own data folder when the game folder is
// read-only.
// Every write replaces its file whole; a failed write leaves the file as it
// was and is reported, so the dialogs can tell the user instead of losing
// the change silently.

#include "gamedata/GameFolders.h"
#include "setup/ControlBindings.h"

#include <string>

class CGameFolder {
public:
    // `folder` is the game's folder; "" is the current folder.
    explicit CGameFolder(const std::string& folder = {});

    const std::string& ConfigPath() const { return m_configPath; }
    const std::string& TrophyPath() const { return m_trophyPath; }

    enum class ConfigState { Present, Created, Failed };
    // Creates "config.dat" holding exactly "[configuration]" (no line end)
    // when no file of that name exists; an existing one is never touched.
    // The player's own data folder is made first when the files live there.
    ConfigState EnsureConfigFile() const;

    // "highcolour" as the display dialog shows it: an absent value reads as
    // 2, and 2 means high colour, 1. Any other value is returned as stored
    // (non-zero selects high colour, 0 selects 8-bit).
    int ReadDisplayChoice() const;
    bool WriteDisplayChoice(int value) const;

    // The eight stored keys (absent ones read as 0); the fifth button is 0.
    ControlBindings ReadBindings() const;
    // Writes "keyup" ... "keybut3" in that order, each as decimal text. Stops
    // at the first write that fails and returns false; every write replaces
    // the file whole, so the file stays valid and earlier keys keep their
    // new values.
    bool WriteBindings(const ControlBindings& bindings) const;

    enum class TrophyReset { Removed, NothingToRemove, Failed };
    TrophyReset ResetTrophies() const;

private:
    // Whether a profile write may go ahead: the profile layer rewrites the
    // file from what it could read, so an existing file it cannot read must
    // not be written, or its contents would be lost.
    bool CanRewriteConfig() const;
    bool WriteValue(const char* key, int value) const;

    PlayerFiles m_files;
    std::string m_configPath;
    std::string m_trophyPath;
};
