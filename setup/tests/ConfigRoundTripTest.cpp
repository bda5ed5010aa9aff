// End to end through the dialogs: what the tool writes is what the game's
// own reader (gamedata's CConfigFile, which the game calls at start) reads:
// the display depth, the eight keys and the aids.

#include "TestSupport.h"
#include "gamedata/CConfigFile.h"
#include "setup/CSetupApp.h"

#include <QTemporaryDir>
#include <QTest>

class ConfigRoundTripTest : public QObject {
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

    static GameConfig GameReads(const QString& folder)
    {
        return CConfigFile(LocatePlayerFiles(folder.toStdString()).ConfigPath()).Read();
    }

private slots:
    void theGameReadsWhatSetupWrote()
    {
        QTemporaryDir dir;
        // W, S, A, D, left Ctrl, E, Q, Tab as evdev codes; the same as scan codes.
        RunSetup(dir.path(), "High Colour", {17, 31, 30, 32, 29, 18, 16, 15});
        const GameConfig read = GameReads(dir.path());
        QVERIFY(read.highColour);
        QCOMPARE(read.keys, (ControlKeys{17, 31, 30, 32, 29, 18, 16, 15}));
    }

    void theGameReadsTheAidsSetupTicked()
    {
        QTemporaryDir dir;
        CScriptedHost host;
        host.scripts.push_back([](QDialog& main) {
            Click(main, "Aiuti alla caccia");
            Click(main, "OK");
        });
        host.scripts.push_back([](QDialog& aids) {
            Click(aids, "Radar: la preda in un colore tutto suo");
            Click(aids, "Mirino nel punto in cui va il colpo");
            Click(aids, "OK");
        });
        CSetupApp app(CGameFolder(dir.path().toStdString()), host);
        QCOMPARE(app.Run(), 0);
        QVERIFY(host.errors.isEmpty());
        QCOMPARE(GameReads(dir.path()).aids, (HuntAids{true, true}));
    }

    void eightBitAndTheDefaultKeysToo()
    {
        QTemporaryDir dir;
        // The arrows, space, Enter, right Shift and right Ctrl as evdev codes.
        RunSetup(dir.path(), "Colori a 8-bit", {103, 108, 105, 106, 57, 28, 54, 97});
        const GameConfig read = GameReads(dir.path());
        QVERIFY(!read.highColour);
        QCOMPARE(read.keys, DefaultControlKeys());
    }
};

QT_TEST_CLASS(ConfigRoundTripTest);
#include "ConfigRoundTripTest.moc"
