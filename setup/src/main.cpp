// setup: the game's configuration tool. It works on the game's folder: the
// one named on the command line, else the current folder when it holds the
// game's data, else the data installed with the game.

#include "common/VersionText.h"
#include "gamedata/GameFolders.h"
#include "setup/CModalDialogHost.h"
#include "setup/CSetupApp.h"
#include "windowicon/QtWindowIcon.h"

#include <QApplication>
#include <QFileInfo>
#include <QStringList>

#include <cstdio>
#include <cstring>
#include <sys/stat.h>

namespace {

// %1 is the program's name: "setup" in the build, "veldra-setup" installed.
const char* kUsage = "Usage: %1 [DIR]\n"
                     "       %1 --show [DIR]\n"
                     "Sets the display depth and the eight control keys of the game in \"config.dat\",\n"
                     "and resets the trophies in \"trophy.bin\". DIR is the game's folder (default: the\n"
                     "current folder when it holds the game's data, else the data installed with the\n"
                     "game). The two files are kept in the game's folder or, when that folder is\n"
                     "read-only, in $XDG_DATA_HOME/veldra (by default ~/.local/share/veldra), as the\n"
                     "game keeps them. --show prints where they are and the settings \"config.dat\"\n"
                     "holds, as this tool reads them, without opening a window.\n"
                     "--version prints the version and the licence.\n";

// "setup" in the build, "veldra-setup" installed.
std::string ProgramName(const char* argv0)
{
    const char* slash = std::strrchr(argv0, '/');
    return slash ? slash + 1 : argv0;
}

std::string Usage(const char* argv0)
{
    const std::string name = ProgramName(argv0);
    std::string text = kUsage;
    for (size_t at; (at = text.find("%1")) != std::string::npos;)
        text.replace(at, 2, name);
    return text;
}

// The game's folder when none is named.
std::string DefaultFolder()
{
    return DefaultGameFolder(RunningProgramPath());
}

// `setup --show [DIR]`: the files' places and the values the dialogs would
// show, for scripts and for players who wonder where their settings went.
int ShowFiles(int argc, char** argv)
{
    if (argc > 3) {
        std::fputs(Usage(argv[0]).c_str(), stderr);
        return 2;
    }
    std::string folder = DefaultFolder();
    if (argc == 3) {
        struct stat info;
        if (::stat(argv[2], &info) != 0 || !S_ISDIR(info.st_mode)) {
            std::fprintf(stderr, "setup: not a folder: %s\n", argv[2]);
            return 2;
        }
        folder = argv[2];
    }
    const CGameFolder files(folder);
    std::printf("config.dat: %s\ntrophy.bin: %s\nhighcolour=%d\n", files.ConfigPath().c_str(),
                files.TrophyPath().c_str(), files.ReadDisplayChoice());
    const ControlBindings bindings = files.ReadBindings();
    for (size_t i = 0; i < kStoredControls; ++i)
        std::printf("%s=%d\n", ProfileKeyOf(Control(i)), bindings.codes[i]);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    // Nothing to show on the screen: no display needed.
    if (argc >= 2 && std::strcmp(argv[1], "--show") == 0)
        return ShowFiles(argc, argv);
    if (argc == 2 && AsksForVersion(argv[1])) {
        std::fputs(VersionText(ProgramName(argv[0])).c_str(), stdout);
        return 0;
    }
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs(Usage(argv[0]).c_str(), stdout);
        return 0;
    }
    QApplication application(argc, argv);
    // The window's class and application id, which the desktop matches with
    // veldra-setup.desktop, and the icon of its windows.
    QApplication::setApplicationName(QStringLiteral("veldra-setup"));
    QApplication::setDesktopFileName(QStringLiteral("veldra-setup"));
    QApplication::setWindowIcon(MakeWindowIcon(WindowIconOf::Setup));

    // Qt has already taken its own options out of the arguments.
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() > 2 || (arguments.size() == 2 && arguments[1].startsWith(QLatin1Char('-')))) {
        const bool help = arguments.size() == 2 && (arguments[1] == "--help" || arguments[1] == "-h");
        std::fputs(Usage(argv[0]).c_str(), help ? stdout : stderr);
        return help ? 0 : 2;
    }
    std::string folder = DefaultFolder();
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
