#pragma once
// The two files the setup tool touches for the game's folder: "config.dat",
// read and written through gamedata's CConfigFile as the game reads it, and
// "trophy.bin", which it removes to reset the trophies. They are where the
// game keeps them (gamedata/GameFolders.h): in the game folder, or in the
// player's own data folder when the game folder is read-only.
// Every write replaces its file whole; a failed write leaves the file as it
// was and is reported, so the dialogs can tell the user instead of losing
// the change silently.

#include "gamedata/CConfigFile.h"
#include "gamedata/GameFolders.h"

#include <string>

class CGameFolder {
public:
    // `folder` is the game's folder; "" is the current folder.
    explicit CGameFolder(const std::string& folder = {});

    const std::string& ConfigPath() const { return m_config.Path(); }
    const std::string& TrophyPath() const { return m_trophyPath; }
    const CConfigFile& Config() const { return m_config; }

    // Creates "config.dat" as a first run's when no file of that name
    // exists; an existing one is never touched. The player's own data folder
    // is made first when the files live there.
    CConfigFile::Creation EnsureConfigFile() const;

    enum class TrophyReset { Removed, NothingToRemove, Failed };
    TrophyReset ResetTrophies() const;

private:
    PlayerFiles m_files;
    CConfigFile m_config;
    std::string m_trophyPath;
};
