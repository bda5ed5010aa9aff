// setup: the game's configuration tool. It works on the game's folder, the
// current one unless a folder is named on the command line.

#include "setup/CModalDialogHost.h"
#include "setup/CSetupApp.h"

#include <QApplication>
#include <QFileInfo>
#include <QStringList>

#include <cstdio>

namespace {

const char* kUsage = "Usage: setup [DIR]\n"
                     "Sets the display depth and the eight control keys of the game in \"config.dat\",\n"
                     "and resets the trophies in \"trophy.bin\". DIR is the game's folder (default: the\n"
                     "current folder).\n";

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("setup"));

    // Qt has already taken its own options out of the arguments.
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() > 2 || (arguments.size() == 2 && arguments[1].startsWith(QLatin1Char('-')))) {
        const bool help = arguments.size() == 2 && (arguments[1] == "--help" || arguments[1] == "-h");
        std::fputs(kUsage, help ? stdout : stderr);
        return help ? 0 : 2;
    }
    std::string folder;
    if (arguments.size() == 2) {
        if (!QFileInfo(arguments[1]).isDir()) {
            std::fprintf(stderr, "setup: not a folder: %s\n", qPrintable(arguments[1]));
            return 2;
        }
        folder = arguments[1].toStdString();
    }

    CModalDialogHost host;
    CSetupApp setup{CGameFolder(folder), host};
    return setup.Run();
}
