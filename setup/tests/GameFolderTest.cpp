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
        QCOMPARE(folder.EnsureConfigFile(), CConfigFile::Creation::Present);
        QCOMPARE(ReadBytes(folder.ConfigPath()), std::string("junk"));
    }

    void theDialogsShowWhatTheGameReads()
    {
        // The game's own reading (CConfigFile): an absent depth is 8-bit, any
        // other value than 0 high colour; keys as stored unless nothing walks.
        const CGameFolder folder = Folder();
        QVERIFY(!folder.Config().Read().highColour);
        QCOMPARE(folder.Config().Read().keys, DefaultControlKeys());
        WriteBytes(folder.ConfigPath(), "[CONFIGURATION]\nhighcolour=2\nkeyup=1\nKeyLeft=84\nkeybut1=100000\nkeybut2=x\n");
        const GameConfig read = folder.Config().Read();
        QVERIFY(read.highColour);
        QCOMPARE(read.Key(GameControl::Left), 84);
        QCOMPARE(read.Key(GameControl::Weapon), 100000);
        QCOMPARE(read.Key(GameControl::Binoculars), 0);
        QCOMPARE(read.Key(GameControl::Up), 1);
    }

    void anUnreadableConfigurationIsNeverRewritten()
    {
        // Rewriting it from what could be read would lose it: refused.
        const CGameFolder folder = Folder();
        QVERIFY(QDir(m_dir.path()).mkdir("config.dat"));
        QCOMPARE(folder.EnsureConfigFile(), CConfigFile::Creation::Present);
        QVERIFY(!folder.Config().WriteHighColour(false));
        QVERIFY(!folder.Config().WriteControlKeys(DefaultControlKeys()));
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
        QVERIFY(folder.Config().WriteHighColour(false));
        QVERIFY(!QFile::exists(QString::fromStdString(Path("config.dat.tmpAbC123"))));
        QVERIFY(QFile::exists(QString::fromStdString(Path("trophy.bin.tmpAbC123"))));
        QVERIFY(!folder.Config().Read().highColour);
    }
};

QT_TEST_CLASS(GameFolderTest);
#include "GameFolderTest.moc"
