#pragma once
// A tiny generated game folder for the frame's tests: every picture of the
// screen tables as a small coloured block (two-frame items get a lit second
// frame), the cursor and the menu palette. Nothing here is art; it only has
// the sizes and formats the game expects.

#include <string>

// The folder also holds every picture a hunt loads: trees, panoramas,
// 256 × 256 grounds, the animals' and the jeep's strips (sixteen pixels wide,
// every frame a solid block of its own colour), guns, smoke, the binoculars
// and the radar marks. Pictures are 8-bit with a test palette.
//
// The pictures are written once per test program; each folder made here is
// a fresh tree of links to them, so a test may delete files from its own
// folder freely. Returns the folder's path. Items are 40 × 20 per frame
// except full-screen backgrounds, which are 640 × 480.
std::string MakeMiniGameData(const std::string& name);
void RemoveMiniGameData(const std::string& folder);
