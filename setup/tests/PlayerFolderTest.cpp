// An installed (read-only) game folder: the tool reads and writes the
// player's own "config.dat" and "trophy.bin" in $XDG_DATA_HOME/veldra, as
// the game does, and leaves the game folder alone; a per-user folder that
// cannot be made is reported and nothing is written.

#include "TestSupport.h"
#include "setup/CDisplayDialog.h"
#include "setup/CGameFolder.h"
#include "setup/CMainDialog.h"
#include "setup/CSetupApp.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

class PlayerFolderTest : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    QByteArray m_oldData;
    bool m_hadData = false;
    CScriptedHost m_host;

    QString Game() const { return QDir(m_dir.path()).filePath("share/veldra"); }
    QString PerUser() const { return QDir(m_dir.path()).filePath("xdg/veldra"); }
    void SetDataHome(const QString& folder) { qputenv("XDG_DATA_HOME", folder.toUtf8()); }

private slots:
    void init()
    {
        QVERIFY(m_dir.isValid());
        m_hadData = qEnvironmentVariableIsSet("XDG_DATA_HOME");
        m_oldData = qgetenv("XDG_DATA_HOME");
        m_host.scripts.clear();
        m_host.errors.clear();
        QVERIFY(QDir().mkpath(Game()));
        ::chmod(QFile::encodeName(Game()).constData(), 0555);
        SetDataHome(QDir(m_dir.path()).filePath("xdg"));
    }
    void cleanup()
    {
        if (m_hadData)
            qputenv("XDG_DATA_HOME", m_oldData);
        else
            qunsetenv("XDG_DATA_HOME");
        ::chmod(QFile::encodeName(Game()).constData(), 0755);
        QDir(m_dir.path()).removeRecursively();
        QDir().mkpath(m_dir.path());
    }

    void theFilesLiveInThePlayersOwnFolder()
    {
        const CGameFolder folder(Game().toStdString());
        QCOMPARE(folder.ConfigPath(), QDir(PerUser()).filePath("config.dat").toStdString());
        QCOMPARE(folder.TrophyPath(), QDir(PerUser()).filePath("trophy.bin").toStdString());

        // The first run makes the folder and the file there, and what the
        // dialogs save goes there too.
        m_host.scripts.push_back([](QDialog& main) {
            Click(main, "Configurazione del display");
            Click(main, "OK");
        });
        m_host.scripts.push_back([](QDialog& display) {
            Click(display, "Colori a 8-bit");
            Click(display, "OK");
        });
        CSetupApp app(folder, m_host);
        QCOMPARE(app.Run(), 0);
        QVERIFY(m_host.errors.isEmpty());
        QCOMPARE(ReadBytes(folder.ConfigPath()), std::string("[configuration]\r\nhighcolour=0\r\n"));
        QVERIFY(!CGameFolder(Game().toStdString()).Config().Read().highColour);

        // The trophy reset removes the player's record.
        WriteBytes(folder.TrophyPath(), std::string("\x01\0\0\0\x07\0\0\0", 8));
        QCOMPARE(folder.ResetTrophies(), CGameFolder::TrophyReset::Removed);
        QVERIFY(!QFile::exists(QString::fromStdString(folder.TrophyPath())));

        QVERIFY(QDir(Game()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).isEmpty());
    }

    void aPerUserFolderThatCannotBeMadeIsReported()
    {
        // A file where the data folder would be: no one can make a folder
        // below it, not even the superuser.
        const QString blocker = QDir(m_dir.path()).filePath("blocker");
        WriteBytes(blocker.toStdString(), "x");
        SetDataHome(blocker + "/data");
        const CGameFolder folder(Game().toStdString());
        QCOMPARE(folder.EnsureConfigFile(), CConfigFile::Creation::Failed);

        m_host.scripts.push_back([](QDialog& main) { Click(main, "Lascia"); });
        CSetupApp app(folder, m_host);
        QCOMPARE(app.Run(), 0);
        QCOMPARE(m_host.errors.size(), 1);
        QVERIFY(m_host.errors[0].contains("config.dat"));
        QCOMPARE(ReadBytes(blocker.toStdString()), std::string("x"));
        QVERIFY(QDir(Game()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).isEmpty());
    }
};

QT_TEST_CLASS(PlayerFolderTest);
#include "PlayerFolderTest.moc"
