#include "common/VersionText.h"

#include <cstring>

// The build sets the version from the project's own (CMakeLists.txt).
#ifndef VELDRA_VERSION
#error "VELDRA_VERSION must be defined by the build"
#endif

const char* SuiteVersion()
{
    return VELDRA_VERSION;
}

std::string VersionText(const std::string& program)
{
    const std::string suite = "Veldra";
    const std::string first = program == suite ? suite : program + " (" + suite + ")";
    return first + " " + SuiteVersion() +
           "\n"
           "Copyright 2026 the Veldra developers.\n"
           "Licence GPL-3.0-or-later: GNU General Public License, version 3 or any later version\n"
           "<https://www.gnu.org/licenses/gpl-3.0.html>.\n"
           "This is free software: you are free to change and redistribute it.\n"
           "There is NO WARRANTY, to the extent permitted by law.\n";
}

bool AsksForVersion(const char* argument)
{
    return argument && std::strcmp(argument, "--version") == 0;
}
