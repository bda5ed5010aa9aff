#pragma once
// A program's window icon on an SDL window (the largest size: SDL gives the
// window one picture and the desktop scales it).

#include "windowicon/WindowIcon.h"

#include <SDL.h>

// False when SDL could not take the picture; the window keeps the desktop's
// default icon then, nothing else changes.
inline bool SetSdlWindowIcon(SDL_Window* window, WindowIconOf program)
{
    const WindowIconImage icon = LargestWindowIcon(program);
    // SDL only reads the pixels: they stay in the program's constant data.
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<unsigned char*>(icon.rgba), icon.size,
                                                              icon.size, 32, icon.size * 4, SDL_PIXELFORMAT_RGBA32);
    if (!surface)
        return false;
    SDL_SetWindowIcon(window, surface);
    SDL_FreeSurface(surface);
    return true;
}
