#include "windowicon/WindowIcon.h"

#include <cassert>
#include <cstring>

namespace {
// The generated pixels and the table naming them.
#include "WindowIconPixels.inc"

const char* NameOf(WindowIconOf program)
{
    switch (program) {
    case WindowIconOf::Game:
        return "veldra";
    case WindowIconOf::Editor:
        return "kvfedit";
    case WindowIconOf::Setup:
        return "veldra-setup";
    }
    return "veldra";
}
} // namespace

std::vector<WindowIconImage> WindowIconImages(WindowIconOf program)
{
    std::vector<WindowIconImage> images;
    for (const WindowIconImage& image : kWindowIconTable)
        if (std::strcmp(image.name, NameOf(program)) == 0)
            images.push_back(image);
    // The generator draws every program icon in every window-icon size, in
    // order of size.
    assert(!images.empty());
    return images;
}

WindowIconImage LargestWindowIcon(WindowIconOf program)
{
    return WindowIconImages(program).back();
}
