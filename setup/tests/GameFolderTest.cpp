// "config.dat" and "trophy.bin" as the tool reads and writes them.

#include "TestSupport.h"
#include "setup/CGameFolder.h"

#include <QDir>
#include <QFile>
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

    void anExistingFileIsNeverRecreated()
    {
        const CGameFolder folder = Folder();
        WriteBytes(folder.ConfigPath(), "junk");
        QCOMPARE(folder.EnsureConfigFile(), CGameFolder::ConfigState::Present);
        QCOMPARE(ReadBytes(folder.ConfigPath()), std::string("junk"));
    }

    void displayValuesOtherThanTwoShowAsStored()
    {
        const CGameFolder folder = Folder();
        QCOMPARE(folder.ReadDisplayChoice(), 1); // no file: high colour
        WriteBytes(folder.ConfigPath(), "[configuration]\nhighcolour=2\n");
        QCOMPARE(folder.ReadDisplayChoice(), 1);
        WriteBytes(folder.ConfigPath(), "[configuration]\nhighcolour=-7\n");
        QCOMPARE(folder.ReadDisplayChoice(), -7);
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

    void aWriteClearsWhatAKilledWriteLeft()
    {
        // A writer killed before its rename leaves its temporary file,
        // unlocked; the tool's next write of the file removes it.
        const CGameFolder folder = Folder();
        WriteBytes(folder.ConfigPath(), "[configuration]\nhighcolour=1\n");
        WriteBytes(Path("config.dat.tmpAbC123"), "[configur");
        WriteBytes(Path("trophy.bin.tmpAbC123"), "another file's");
        QVERIFY(folder.WriteDisplayChoice(0));
        QVERIFY(!QFile::exists(QString::fromStdString(Path("config.dat.tmpAbC123"))));
        QVERIFY(QFile::exists(QString::fromStdString(Path("trophy.bin.tmpAbC123"))));
        QCOMPARE(folder.ReadDisplayChoice(), 0);
    }
};

QT_TEST_CLASS(GameFolderTest);
#include "GameFolderTest.moc"
