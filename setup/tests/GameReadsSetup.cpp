// End to end: what the setup tool writes, the game reads with its own reader
// and applies when it starts: the display depth and the eight keys. And once
// the trophies are reset, the game sees none and starts a new record.

#include "TestSupport.h"
#include "game/CMainFrame.h"
#include "game/GameConfig.h"
#include "game/TrophyFile.h"
#include "imaging/CDib.h"
#include "imaging/PixelFormat.h"
#include "setup/CSetupApp.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <SDL.h>
#include <unistd.h>

namespace {

// Starts the game's frame in `folder` as the game starts: the first move
// reads "config.dat" from the current folder and builds the viewport.
struct StartedGame {
    explicit StartedGame(const QString& folder)
    {
        char* cwd = ::getcwd(nullptr, 0);
        previous = cwd;
        std::free(cwd);
        if (::chdir(folder.toLocal8Bit().constData()) != 0 || SDL_Init(SDL_INIT_VIDEO) != 0)
            return;
        window = SDL_CreateWindow("game", 0, 0, 640, 480, SDL_WINDOW_HIDDEN);
        frame = std::make_unique<CMainFrame>();
        FrameSettings settings;
        settings.fullScreen = false;
        settings.playVideo = false;
        if (frame->Create(window, 1, settings))
            frame->OnFirstMove();
    }
    ~StartedGame()
    {
        frame.reset();
        if (window)
            SDL_DestroyWindow(window);
        SDL_Quit();
        if (::chdir(previous.c_str()) != 0)
            qWarning("cannot return to %s", previous.c_str());
    }
    std::string previous;
    SDL_Window* window = nullptr;
    std::unique_ptr<CMainFrame> frame;
};

} // namespace

class GameReadsSetup : public QObject {
    Q_OBJECT
private:
    // Runs the tool in `folder`: the display dialog set by the radio button
    // `depth`, and every control bound to a new key through key events.
    static void RunSetup(const QString& folder, const char* depth, const std::array<int, 8>& evdevKeys)
    {
        CScriptedHost host;
        host.scripts.push_back([](QDialog& main) {
            Click(main, QString::fromUtf8("Configurazione del display"));
            Click(main, QString::fromUtf8("Configurazione dei controlli"));
            Click(main, "OK");
        });
        host.scripts.push_back([depth](QDialog& display) {
            Click(display, depth);
            Click(display, "OK");
        });
        host.scripts.push_back([](QDialog& controls) {
            for (const char* button : {"Su", "Giù", "Sinistra", "Destra", "Fuoco", "Arma", "Binocolo", "Jeep"})
                Click(controls, QString::fromUtf8(button));
            Click(controls, "OK");
        });
        // Each key pressed and released (a modifier counts on its release).
        for (int key : evdevKeys)
            host.scripts.push_back([key](QDialog& capture) {
                SendKey(capture, key);
                SendKey(capture, key, false);
            });
        CSetupApp app(CGameFolder(folder.toStdString()), host);
        QCOMPARE(app.Run(), 0);
        QVERIFY(host.errors.isEmpty());
        QVERIFY(host.scripts.empty());
    }

private slots:
    void initTestCase() { qputenv("SDL_VIDEODRIVER", "dummy"); }

    void theGameStartsWithWhatSetupWrote()
    {
        QTemporaryDir dir;
        // W, S, A, D, left Ctrl, E, Q, Tab as evdev codes; the same as scan codes.
        RunSetup(dir.path(), "High Colour", {17, 31, 30, 32, 29, 18, 16, 15});
        GameConfig read = ReadGameConfig(dir.path().toStdString());
        QCOMPARE(read.highColour, 1);
        const std::array<int, 8> expected{17, 31, 30, 32, 29, 18, 16, 15};
        const std::array<int, 8> got{read.keyUp,      read.keyDown,    read.keyLeft,    read.keyRight,
                                     read.keyButton0, read.keyButton1, read.keyButton2, read.keyButton3};
        QCOMPARE(got, expected);

        StartedGame game(dir.path());
        QVERIFY(game.frame && game.frame->IsInitialised());
        QCOMPARE(game.frame->BackBuffer()->GetFormat(), PF_RGB555);
        QCOMPARE(game.frame->Config().keyButton3, 15);
        QCOMPARE(game.frame->Config().keyUp, 17);
    }

    void eightBitIsAppliedToo()
    {
        QTemporaryDir dir;
        RunSetup(dir.path(), "Colori a 8-bit", {103, 108, 105, 106, 57, 28, 54, 97});
        StartedGame game(dir.path());
        QVERIFY(game.frame && game.frame->IsInitialised());
        QCOMPARE(game.frame->BackBuffer()->GetFormat(), PF_INDEX8);
        // The arrows, space, Enter, right Shift and right Ctrl: the defaults.
        QCOMPARE(game.frame->Config().keyUp, 200);
        QCOMPARE(game.frame->Config().keyRight, 205);
        QCOMPARE(game.frame->Config().keyButton3, 157);
    }

    void afterAResetTheGameStartsANewRecord()
    {
        QTemporaryDir dir;
        const std::string trophies = QDir(dir.path()).filePath("trophy.bin").toStdString();
        QVERIFY(AppendTrophy(4, trophies));
        QVERIFY(AppendTrophy(7, trophies));
        CScriptedHost host;
        host.answer = true;
        host.scripts.push_back([](QDialog& main) { Click(main, "Reimposta i Trofei"); });
        CSetupApp app(CGameFolder(dir.path().toStdString()), host);
        app.Run();
        QVERIFY(ReadTrophies(trophies).empty());
        QVERIFY(AppendTrophy(3, trophies));
        QCOMPARE(ReadTrophies(trophies), std::vector<int32_t>{3});
        QCOMPARE(QFileInfo(QString::fromStdString(trophies)).size(), qint64(8));
    }
};

QT_TEST_CLASS(GameReadsSetup);
#include "GameReadsSetup.moc"
