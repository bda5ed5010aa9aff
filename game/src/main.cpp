// Veldra: a first-person hunt on the savannah.

#include "game/CGameApp.h"

#include <cstdio>

int main(int argc, char** argv)
{
    GameOptions options;
    std::string error, out;
    switch (ParseGameOptions(argc, argv, options, error, out)) {
    case 1:
        std::fputs(out.c_str(), stdout);
        return 0;
    case 2:
        std::fprintf(stderr, "Veldra: %s\n", error.c_str());
        return 2;
    default:
        break;
    }
    CGameApp app;
    return app.Run(options);
}
