// setup: the game's configuration tool. It works on the game's folder: the
// one named on the command line, else the current folder when it holds the
// game's data, else the data installed with the game.

#include "common/VersionText.h"
#include "gamedata/GameFolders.h"
#include "setup/CModalDialogHost.h"
#include "setup/CSetupApp.h"
#include "setup/SetupLanguage.h"
#include "windowicon/QtWindowIcon.h"

#include <QApplication>
#include <QFileInfo>
#include <QLocale>
#include <QTranslator>
#include <QStringList>

#include <cstdio>
#include <cstring>
#include <sys/stat.h>

namespace {

// %1 is the program's name: "setup" in the build, "veldra-setup" installed.
const char* kUsage = "Usage: %1 [--lang it|en] [DIR]\n"
                     "       %1 --show [DIR]\n"
                     "Sets the display depth, the eight control keys and the hunting aids of the game\n"
                     "in \"config.dat\", and resets the trophies in \"trophy.bin\". DIR is the game's\n"
                     "folder (default: the current folder when it holds the game's data, else the data\n"
                     "installed with the game). The two files are kept in the game's folder or, when\n"
                     "that is the installed data or a read-only folder, in $XDG_DATA_HOME/veldra (by\n"
                     "default ~/.local/share/veldra), as the game keeps them. --show prints where they are\n"
                     "and the settings \"config.dat\" holds, as this tool reads them, without opening\n"
                     "a window. The dialogs speak Italian to an Italian locale and English to any\n"
                     "other; --lang it or --lang en chooses instead. --version prints the version\n"
                     "and the licence.\n"
                     "\n"
                     "Keys:\n"
                     "In the controls dialog each control's button waits for a key: the first key\n"
                     "pressed is bound to that control, unless another control has it already.\n"
                     "\n"
                     "Files:\n"
                     "  config.dat  the game's settings: the display depth, the eight keys and the aids\n"
                     "  trophy.bin  the trophies bagged, which \"Reset the Trophies\" deletes\n"
                     "\n"
                     "Environment:\n"
                     "  LANGUAGE, LC_ALL, LC_MESSAGES, LANG  the locale, which chooses the language\n"
                     "  XDG_DATA_HOME  the folder below which the player's own files are kept\n"
                     "  HOME           the home folder, when XDG_DATA_HOME is not set\n";

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
// show (what the game will do), for scripts and for players who wonder where their settings went.
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
    const GameConfig config = files.Config().Read();
    std::printf("config.dat: %s\ntrophy.bin: %s\nhighcolour=%d\n", files.ConfigPath().c_str(),
                files.TrophyPath().c_str(), config.highColour ? 1 : 0);
    for (const GameControlEntry& entry : kGameControls)
        std::printf("%s=%d\n", entry.configKey, config.Key(entry.control));
    std::printf("quarryradar=%d\naimreticle=%d\n", config.aids.quarryOnRadar ? 1 : 0, config.aids.aimReticle ? 1 : 0);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    // Nothing to show on the screen: no display needed.
    if (argc >= 2 && std::strcmp(argv[1], "--show") == 0)
        return ShowFiles(argc, argv);
    // The help and the version need no display either: answered before Qt
    // looks for one.
    for (int i = 1; i < argc; ++i) {
        if (AsksForVersion(argv[i])) {
            std::fputs(VersionText(ProgramName(argv[0])).c_str(), stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(Usage(argv[0]).c_str(), stdout);
            return 0;
        }
    }
    QApplication application(argc, argv);
    // The window's class and application id, which the desktop matches with
    // veldra-setup.desktop, and the icon of its windows.
    QApplication::setApplicationName(QStringLiteral("veldra-setup"));
    QApplication::setDesktopFileName(QStringLiteral("veldra-setup"));
    QApplication::setWindowIcon(MakeWindowIcon(WindowIconOf::Setup));

    // Qt has already taken its own options out of the arguments.
    const QStringList arguments = QApplication::arguments();
    SetupLanguage language = LanguageOfLocale(QLocale::system());
    QString named;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& word = arguments[i];
        if (word == "--lang" && i + 1 < arguments.size() && ParseSetupLanguage(arguments[i + 1], language)) {
            ++i;
        } else if (word.startsWith(QLatin1Char('-')) || !named.isEmpty()) {
            std::fputs(Usage(argv[0]).c_str(), stderr);
            return 2;
        } else {
            named = word;
        }
    }
    std::string folder = DefaultFolder();
    if (!named.isEmpty()) {
        if (!QFileInfo(named).isDir()) {
            std::fprintf(stderr, "setup: not a folder: %s\n", qPrintable(named));
            return 2;
        }
        folder = named.toStdString();
    }
    QTranslator translator;
    if (!UseSetupLanguage(language, translator))
        std::fputs("setup: the English translation is missing; the dialogs stay in Italian\n", stderr);

    CModalDialogHost host;
    CSetupApp setup{CGameFolder(folder), host};
    return setup.Run();
}
