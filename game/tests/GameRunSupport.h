#pragma once
// What the whole-game tests share: a game folder of their own on the
// generated data, a run of the game in it, and hashes of dumped frames
// checked against recorded ones.

#include "game/CGameApp.h"

#include <cstdint>
#include <map>
#include <string>

// A fresh folder under the test output folder with links to the generated
// data's subfolders (sounds copied instead when asked, so that they can be
// made read-only) and, when given, a "config.dat" of that text.
std::string MakeGameFolder(const std::string& name, const std::string& config = {}, bool copySounds = false);
// The generated data has what the whole-game tests play on.
bool HaveGeneratedData();
// "[configuration]" with the depth and the keys of the scripted tests.
std::string ScriptConfig(bool highColour);

// Runs the game with `options` (from the test's own folder, which it comes
// back to); the exit status.
int RunGameIn(const GameOptions& options);

// FNV-1a over the RGB pixels of a PNG file; 0 when it cannot be read.
uint64_t HashPng(const std::string& path);
std::string Hex(uint64_t value);
// "key hash" lines of a golden file.
std::map<std::string, std::string> ReadGoldens(const std::string& path);
