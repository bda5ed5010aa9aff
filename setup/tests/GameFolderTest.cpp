// "config.dat" and "trophy.bin" as the tool reads and writes them.

#include "TestSupport.h"
#include "common/PrivateProfile.h"
#include "setup/CGameFolder.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

class GameFolderTest : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    std::string Path(const char* name) const { return QDir(m_dir.path()).filePath(name).toStdString(); }
    CGameFolder Folder() const { return CGameFolder(m_dir.path().toStdString()); }

private slots:
    void init() { QVERIFY(m_dir.isValid()); }
    void cleanup()
    {
        QDir(m_dir.path()).removeRecursively();
        QDir().mkpath(m_dir.path());
    }

    void pathsFollowTheFolder()
    {
        QCOMPARE(CGameFolder().ConfigPath(), std::string("config.dat"));
        QCOMPARE(CGameFolder("game").TrophyPath(), std::string("game/trophy.bin"));
        QCOMPARE(CGameFolder("game/").ConfigPath(), std::string("game/config.dat"));
    }

    void firstRunWritesOnlyTheSectionLine()
    {
        const CGameFolder folder = Folder();
        QCOMPARE(folder.EnsureConfigFile(), CGameFolder::ConfigState::Created);
        QCOMPARE(ReadBytes(folder.ConfigPath()), std::string("[configuration]"));
        // A later run leaves the file, whatever it holds, alone.
        WriteBytes(folder.ConfigPath(), "junk");
        QCOMPARE(folder.EnsureConfigFile(), CGameFolder::ConfigState::Present);
        QCOMPARE(ReadBytes(folder.ConfigPath()), std::string("junk"));
    }

    void displayChoiceRoundTrips()
    {
        const CGameFolder folder = Folder();
        QCOMPARE(folder.ReadDisplayChoice(), 1); // no file: high colour
        folder.EnsureConfigFile();
        QCOMPARE(folder.ReadDisplayChoice(), 1); // no key: high colour
        QVERIFY(folder.WriteDisplayChoice(0));
        QCOMPARE(folder.ReadDisplayChoice(), 0);
        QCOMPARE(GetPrivateProfileString("configuration", "highcolour", "", folder.ConfigPath()),
                 std::string("0"));
        QVERIFY(folder.WriteDisplayChoice(1));
        QCOMPARE(folder.ReadDisplayChoice(), 1);
        WriteBytes(folder.ConfigPath(), "[configuration]\nhighcolour=2\n");
        QCOMPARE(folder.ReadDisplayChoice(), 1);
        WriteBytes(folder.ConfigPath(), "[configuration]\nhighcolour=-7\n");
        QCOMPARE(folder.ReadDisplayChoice(), -7);
    }

    void bindingsAreWrittenInOrderAndOtherLinesKept()
    {
        const CGameFolder folder = Folder();
        WriteBytes(folder.ConfigPath(), "; kept\n[configuration]\nhighcolour=1\n[other]\nkeyup=9\n");
        ControlBindings bindings;
        bindings.codes = {16, 17, 18, 19, 20, 21, 22, 23, 99};
        QVERIFY(folder.WriteBindings(bindings));
        QCOMPARE(ReadBytes(folder.ConfigPath()),
                 std::string("; kept\r\n[configuration]\r\nhighcolour=1\r\nkeyup=16\r\nkeydown=17\r\nkeyleft=18\r\n"
                             "keyright=19\r\nkeybut0=20\r\nkeybut1=21\r\nkeybut2=22\r\nkeybut3=23\r\n[other]\r\n"
                             "keyup=9\r\n"));
        ControlBindings back = folder.ReadBindings();
        bindings[Control::Button5] = 0; // never stored
        QCOMPARE(back, bindings);
    }

    void absentOrOddKeysReadAsStored()
    {
        const CGameFolder folder = Folder();
        QCOMPARE(folder.ReadBindings(), ControlBindings());
        WriteBytes(folder.ConfigPath(), "[CONFIGURATION]\nKeyLeft=84\nkeybut1=100000\nkeybut2=x\n");
        const ControlBindings read = folder.ReadBindings();
        QCOMPARE(read[Control::Left], 84);
        QCOMPARE(read[Control::Weapon], 100000);
        QCOMPARE(read[Control::Binoculars], 0);
        QCOMPARE(read[Control::Up], 0);
    }

    void refusedWritesLoseNothing()
    {
        const CGameFolder folder = Folder();
        const std::string before = "[configuration]\nhighcolour=0\nkeyup=16\n";
        WriteBytes(folder.ConfigPath(), before);
        {
            CWriteRefusal refusal(m_dir.path());
            QVERIFY(!folder.WriteDisplayChoice(1));
            QVERIFY(!folder.WriteBindings(DefaultBindings()));
        }
        QCOMPARE(ReadBytes(folder.ConfigPath()), before);
        QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files), QStringList{"config.dat"}); // no temporaries left
    }

    void firstRunInAnUnwritableFolderFails()
    {
        const CGameFolder folder = Folder();
        CWriteRefusal refusal(m_dir.path());
        QCOMPARE(folder.EnsureConfigFile(), CGameFolder::ConfigState::Failed);
    }

    void anUnreadableConfigurationIsNeverRewritten()
    {
        // The profile layer would start such a file afresh; the tool refuses.
        const CGameFolder folder = Folder();
        QVERIFY(QDir(m_dir.path()).mkdir("config.dat"));
        QCOMPARE(folder.EnsureConfigFile(), CGameFolder::ConfigState::Present);
        QVERIFY(!folder.WriteDisplayChoice(0));
        QVERIFY(!folder.WriteBindings(DefaultBindings()));
        QVERIFY(QFileInfo(QString::fromStdString(folder.ConfigPath())).isDir());
    }

    void trophyResetRemovesTheRecord()
    {
        const CGameFolder folder = Folder();
        QCOMPARE(folder.ResetTrophies(), CGameFolder::TrophyReset::NothingToRemove);
        WriteBytes(folder.TrophyPath(), std::string("\x01\0\0\0\x07\0\0\0", 8));
        QCOMPARE(folder.ResetTrophies(), CGameFolder::TrophyReset::Removed);
        QVERIFY(!QFileInfo::exists(QString::fromStdString(folder.TrophyPath())));
        // Something that cannot be removed is reported, not ignored.
        QVERIFY(QDir(m_dir.path()).mkpath("trophy.bin/inside"));
        QCOMPARE(folder.ResetTrophies(), CGameFolder::TrophyReset::Failed);
    }
};

SETUP_TEST_CLASS(GameFolderTest);
#include "GameFolderTest.moc"
