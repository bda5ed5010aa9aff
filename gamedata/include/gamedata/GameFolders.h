#pragma once
// Where the programs find the game's data and keep the player's own files.
//
// The data (pictures, sounds, the video) is read from the game folder: the
// one named on the command line, else the current folder when it holds the
// data, else the installed data folder beside the program
// (<prefix>/share/veldra for <prefix>/bin/Veldra).
//
// The player's files, "config.dat" and "trophy.bin", stay in the game folder
// while the user may write there: a game in a folder of one's own works as it
// always has. An installed game folder is not the player's to write, whoever
// he is (the superuser included, who may write anywhere: what he left in
// /usr/share/veldra would outlive the package), so the files then live in
// the per-user data folder, $XDG_DATA_HOME/veldra (by default
// ~/.local/share/veldra). The game and the setup tool both ask
// LocatePlayerFiles, so they always read and write the same two files.

#include <string>

// The folder name below <prefix>/share and below the per-user data folder.
constexpr const char* kGameFolderName = "veldra";

enum class PlayerFilesPlace {
    GameFolder, // beside the data, as in a folder of one's own
    PerUser,    // $XDG_DATA_HOME/veldra: the game folder is installed or read-only
    Nowhere,    // an installed game folder and no per-user folder can be named:
                // the two files have no path, nothing is read or written
};

struct PlayerFiles {
    PlayerFilesPlace place = PlayerFilesPlace::GameFolder;
    // The folder of the two files; "" is the current folder (and the only
    // value for Nowhere).
    std::string folder;

    // The two files' paths; "" for Nowhere (no file has that name).
    std::string ConfigPath() const;
    std::string TrophyPath() const;
};

// Decides where "config.dat" and "trophy.bin" live for the game folder
// `gameFolder` ("" = the current folder): the per-user folder when the game
// folder exists and is an installed data folder or one the user may not
// write in, else the game folder. Only the folders and the environment
// count, never whether the two files exist yet, so every program decides the
// same for the same folder. When no per-user folder can be named at all (no
// XDG_DATA_HOME, HOME or password entry), a read-only game folder is kept
// (its writes fail and say so) and an installed one gives Nowhere.
PlayerFiles LocatePlayerFiles(const std::string& gameFolder);

// The per-user folder: $XDG_DATA_HOME/veldra when XDG_DATA_HOME is an
// absolute path, else $HOME/.local/share/veldra (HOME from the environment,
// or the password entry). "" when neither names a folder.
std::string PerUserGameFolder();

// Makes the per-user folder (and its parents, private to the user) when it
// is missing, and checks that it can be written. Returns "" when the files
// can be written there (always for the game folder, whose writes report
// their own failures), else a sentence saying why not (always for Nowhere).
std::string PreparePlayerFolder(const PlayerFiles& files);

// Whether the user may create files in `folder` ("" = the current folder).
// The superuser passes every permission check, so for him a folder counts as
// writable only when its mode allows someone to write: an installed folder
// marked read-only stays untouched even by a game run as root.
bool UserMayWrite(const std::string& folder);

// Whether `folder` ("" = the current folder) holds the game's data (its
// mouse pointer, the first picture the game loads).
bool HoldsGameData(const std::string& folder);

// Whether `folder` ("" = the current folder) is the data folder of an
// installed game: it is <prefix>/share/veldra (followed through symbolic
// links) and the game is installed beside it as <prefix>/bin/Veldra or
// <prefix>/games/Veldra, or it is the installed data folder of the running
// program.
bool IsInstalledDataFolder(const std::string& folder);

// The installed data folder of a program at `executable`:
// <prefix>/share/veldra for <prefix>/bin/<program>; "" unless `executable`
// is an absolute path.
std::string InstalledDataFolder(const std::string& executable);

// The running program's path ("" when the system does not say).
std::string RunningProgramPath();

// The game folder when none is named: "" (the current folder) when it holds
// the data or when nothing else does, else the installed data folder beside
// `executable` when that holds the data.
std::string DefaultGameFolder(const std::string& executable);
