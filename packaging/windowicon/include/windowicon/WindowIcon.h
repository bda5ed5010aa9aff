#pragma once
// The icons the programs' own windows show (in the title bar, the task bar
// and the window switcher), built into the programs so that a window has its
// icon wherever the program runs from: the build tree, any installation
// prefix, a package. They are the desktop icons' drawings, made by the asset
// generator (assetgen --window-icons) when the suite is built.

#include <vector>

enum class WindowIconOf { Game, Editor, Setup };

struct WindowIconImage {
    const char* name;           // the desktop icon's name: "veldra", "kvfedit", "veldra-setup"
    int size;                   // pixels on each side
    const unsigned char* rgba;  // size × size straight RGBA pixels, top row first
};

// The images of one program's icon, smallest first; never empty.
std::vector<WindowIconImage> WindowIconImages(WindowIconOf program);

// The largest of them.
WindowIconImage LargestWindowIcon(WindowIconOf program);
