#pragma once
// A tiny generated game folder for the frame's tests: every picture of the
// screen tables as a small coloured block (two-frame items get a lit second
// frame), the cursor and the menu palette. Nothing here is art; it only has
// the sizes and formats the game expects.

#include <string>

// Writes the folder; returns its path. Items are 40 × 20 per frame except
// full-screen backgrounds, which are 640 × 480.
std::string MakeMiniGameData(const std::string& name);
void RemoveMiniGameData(const std::string& folder);
