#pragma once
// The data files the game loads beside its screen and hunt tables, and the
// whole list of what it loads: the asset generator makes exactly that list.
// Names are Windows style, as the data names mix cases; MapDataPath
// (common/DataPath.h) finds them on disk.

#include <string>
#include <vector>

// The mouse pointer, keyed by its bottom-right pixel.
constexpr const char* kCursorPicture = "menu\\cursor.bmp";
// The binoculars' mask over the magnified view.
constexpr const char* kBinocularPicture = "menu\\bino.bmp";
// The radar's marks: the hunter's arrow and an animal's dot.
constexpr const char* kRadarMarkPicture = "menu\\pt1.bmp";
constexpr const char* kRadarDotPicture = "menu\\pt2.bmp";
// The intro played at start.
constexpr const char* kIntroVideo = "video\\al_intro.avi";
// The 8-bit palette the intro is shown in (a 16 x 16 palette picture, as the
// scenarios' are): made from the intro's own frames, since the menus'
// palette has none of its sunset's colours.
constexpr const char* kIntroPalette = "video\\palIntro.bmp";
// The player's guide the help button opens (it stands beside the help
// file's name).
constexpr const char* kHelpPage = "Veldra.html";

// The files the game itself writes in its folder (the setup tool writes the
// configuration too); no generator makes them.
constexpr const char* kConfigFile = "config.dat";
constexpr const char* kTrophyFile = "trophy.bin";

// Every data file the game loads, each once, sorted: the screens' pictures,
// the hunt's pictures and sounds, the palettes and the single files above.
std::vector<std::string> GameDataFiles();
