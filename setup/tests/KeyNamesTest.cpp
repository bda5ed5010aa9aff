// The key names the tool shows, and the default bindings.

#include "TestSupport.h"
#include "common/KeyCodes.h"
#include "setup/ControlBindings.h"
#include "setup/SetupKeyNames.h"

#include <QTest>

#include <cstring>

class KeyNamesTest : public QObject {
    Q_OBJECT
private slots:
    void namesAreTheToolsOwnTexts()
    {
        QCOMPARE(SetupKeyName(1), "Escape");
        QCOMPARE(SetupKeyName(11), "0");
        QCOMPARE(SetupKeyName(43), "\\");
        QCOMPARE(SetupKeyName(55), "NUMPAD *");
        QCOMPARE(SetupKeyName(57), "Spacebar");
        QCOMPARE(SetupKeyName(83), "NUMPAD .");
        QCOMPARE(SetupKeyName(102), "F15");
        QCOMPARE(SetupKeyName(156), "NUMPAD Enter");
        QCOMPARE(SetupKeyName(183), "SysRq");
        QCOMPARE(SetupKeyName(209), "PgDown");
        QCOMPARE(SetupKeyName(221), "AppMenu");
    }

    void unnamedAndOutOfRangeCodesAreEmpty()
    {
        // Gaps inside the table, its end, and integers a hand-edited file may hold.
        for (int code : {0, 84, 85, 86, 89, 99, 103, 155, 182, 202, 218, 222, 255, 256, -1, -200, 1 << 30})
            QCOMPARE(SetupKeyName(code), "");
        int named = 0;
        for (int code = 0; code < 256; ++code)
            named += SetupKeyName(code)[0] != '\0';
        QCOMPARE(named, 106);
    }

    void everyNamedKeyCanBeCaptured()
    {
        // A name the tool shows is a key the shared table can produce from a
        // key event, except F13 to F15, which few keyboards have.
        for (int code = 1; code < 256; ++code) {
            if (SetupKeyName(code)[0] == '\0' || (code >= 100 && code <= 102))
                continue;
            bool found = false;
            for (int evdev = 1; evdev < 256 && !found; ++evdev)
                found = DikFromEvdev(evdev) == code;
            QVERIFY2(found, qPrintable(QString("no key event gives code %1").arg(code)));
        }
    }

    void defaultsAreTheArrowsAndFourButtons()
    {
        const ControlBindings defaults = DefaultBindings();
        const char* const names[] = {"UP", "DOWN", "LEFT", "RIGHT", "Spacebar", "Enter", "R Shift", "R Control"};
        for (size_t i = 0; i < kGameControlCount; ++i)
            QCOMPARE(SetupKeyName(defaults.keys[i]), names[i]);
        QCOMPARE(defaults.keys, (ControlKeys{200, 208, 203, 205, 57, 28, 54, 157}));
        QCOMPARE(defaults.button5, 0);
        QCOMPARE(GameControlOf(GameControl::Up).configKey, "keyup");
        QCOMPARE(GameControlOf(GameControl::Jeep).configKey, "keybut3");
    }
};

QT_TEST_CLASS(KeyNamesTest);
#include "KeyNamesTest.moc"
