// Where the data is found and where the player's files go: beside the data
// while the game folder is writable, in the per-user data folder once it is
// read-only (even for the superuser), and a clear refusal when that folder
// cannot be made.

#include "gamedata/GameFolders.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// Sets an environment variable for the life of the object (or removes it
// when the value is empty), restoring the old value afterwards.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value) : m_name(name)
    {
        if (const char* old = std::getenv(name))
            m_old = old;
        if (value.empty())
            ::unsetenv(name);
        else
            ::setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv()
    {
        if (m_old)
            ::setenv(m_name, m_old->c_str(), 1);
        else
            ::unsetenv(m_name);
    }

private:
    const char* m_name;
    std::optional<std::string> m_old;
};

class GameFolders : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_root = fs::temp_directory_path() /
                 ("veldra_folders_" + std::to_string(::getpid()) + "_" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        Clean();
        fs::create_directories(m_root);
    }
    void TearDown() override { Clean(); }

    void Clean()
    {
        std::error_code ignored;
        if (fs::exists(m_root, ignored))
            for (const auto& entry : fs::recursive_directory_iterator(m_root, ignored))
                if (entry.is_directory(ignored))
                    fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(m_root, ignored);
    }

    // A game folder holding the pointer picture, as the installed data does.
    fs::path MakeData(const fs::path& folder, const char* pointerName = "menu/cursor.bmp")
    {
        fs::create_directories((folder / pointerName).parent_path());
        std::ofstream(folder / pointerName) << "BM";
        return folder;
    }

    static void MakeReadOnly(const fs::path& folder)
    {
        fs::permissions(folder, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                        fs::perm_options::remove);
    }

    fs::path m_root;
};

TEST_F(GameFolders, AWritableGameFolderKeepsThePlayersFiles)
{
    const fs::path game = MakeData(m_root / "game");
    const ScopedEnv data("XDG_DATA_HOME", (m_root / "xdg").string());
    const PlayerFiles files = LocatePlayerFiles(game.string());
    EXPECT_EQ(files.place, PlayerFilesPlace::GameFolder);
    EXPECT_EQ(files.ConfigPath(), (game / "config.dat").string());
    EXPECT_EQ(files.TrophyPath(), (game / "trophy.bin").string());
    EXPECT_EQ(PreparePlayerFolder(files), "");
    EXPECT_FALSE(fs::exists(m_root / "xdg")); // nothing made elsewhere
    // The current folder is named by "", and its files by their bare names.
    EXPECT_EQ(PlayerFiles{}.ConfigPath(), "config.dat");
    EXPECT_EQ(PlayerFiles{}.TrophyPath(), "trophy.bin");
}

TEST_F(GameFolders, AReadOnlyGameFolderSendsThemToThePerUserFolder)
{
    const fs::path game = MakeData(m_root / "share" / "veldra");
    MakeReadOnly(game);
    const ScopedEnv data("XDG_DATA_HOME", (m_root / "xdg").string());
    const PlayerFiles files = LocatePlayerFiles(game.string());
    EXPECT_FALSE(UserMayWrite(game.string()));
    ASSERT_EQ(files.place, PlayerFilesPlace::PerUser);
    EXPECT_EQ(files.ConfigPath(), (m_root / "xdg" / "veldra" / "config.dat").string());
    EXPECT_EQ(files.TrophyPath(), (m_root / "xdg" / "veldra" / "trophy.bin").string());

    // The folder is made on demand, private to the user, and again is fine.
    EXPECT_FALSE(fs::exists(files.folder));
    EXPECT_EQ(PreparePlayerFolder(files), "");
    ASSERT_TRUE(fs::is_directory(files.folder));
    EXPECT_EQ(fs::status(files.folder).permissions() & fs::perms::all, fs::perms::owner_all);
    EXPECT_EQ(PreparePlayerFolder(files), "");
    EXPECT_TRUE(fs::is_empty(files.folder));
}

TEST_F(GameFolders, AnInstalledDataFolderIsNeverWrittenEvenWhereItMayBe)
{
    // An installation as a package leaves it, but writable: what the
    // superuser meets in /usr/share/veldra, and anyone in a prefix of his own.
    const fs::path prefix = m_root / "prefix";
    const fs::path game = MakeData(prefix / "share" / "veldra");
    fs::create_directories(prefix / "games");
    std::ofstream(prefix / "games" / "Veldra") << "program";
    const ScopedEnv data("XDG_DATA_HOME", (m_root / "xdg").string());
    ASSERT_TRUE(UserMayWrite(game.string()));
    EXPECT_TRUE(IsInstalledDataFolder(game.string()));
    const PlayerFiles files = LocatePlayerFiles(game.string());
    EXPECT_EQ(files.place, PlayerFilesPlace::PerUser);
    EXPECT_EQ(files.ConfigPath(), (m_root / "xdg" / "veldra" / "config.dat").string());

    // Named through a symbolic link, or as the current folder (the game
    // enters its data folder): the same folder.
    fs::create_directory_symlink(game, m_root / "link");
    EXPECT_EQ(LocatePlayerFiles((m_root / "link").string()).place, PlayerFilesPlace::PerUser);
    const fs::path previous = fs::current_path();
    fs::current_path(game);
    EXPECT_TRUE(IsInstalledDataFolder(""));
    EXPECT_EQ(LocatePlayerFiles("").place, PlayerFilesPlace::PerUser);
    fs::current_path(previous);

    // The game in bin/ counts as in games/.
    fs::rename(prefix / "games", prefix / "bin");
    EXPECT_TRUE(IsInstalledDataFolder(game.string()));
    // Without the game beside it, it is a folder of one's own.
    fs::remove(prefix / "bin" / "Veldra");
    fs::create_directories(prefix / "bin" / "Veldra");
    EXPECT_FALSE(IsInstalledDataFolder(game.string())) << "a folder called Veldra is no game";
    EXPECT_EQ(LocatePlayerFiles(game.string()).place, PlayerFilesPlace::GameFolder);
    // Another name than share/veldra beside an installed game is not its data.
    std::ofstream(m_root / "prefix2-Veldra") << "program";
    const fs::path other = MakeData(m_root / "prefix2" / "share" / "hunt");
    fs::create_directories(m_root / "prefix2" / "bin");
    fs::rename(m_root / "prefix2-Veldra", m_root / "prefix2" / "bin" / "Veldra");
    EXPECT_FALSE(IsInstalledDataFolder(other.string()));
    EXPECT_FALSE(IsInstalledDataFolder((m_root / "absent").string()));
}

TEST_F(GameFolders, NowhereHasNoFilesAndSaysWhy)
{
    PlayerFiles nowhere;
    nowhere.place = PlayerFilesPlace::Nowhere;
    EXPECT_EQ(nowhere.ConfigPath(), "");
    EXPECT_EQ(nowhere.TrophyPath(), "");
    EXPECT_NE(PreparePlayerFolder(nowhere), "");
}

TEST_F(GameFolders, ThePerUserFolderFollowsTheEnvironment)
{
    const ScopedEnv home("HOME", (m_root / "home").string());
    {
        const ScopedEnv data("XDG_DATA_HOME", "");
        EXPECT_EQ(PerUserGameFolder(), (m_root / "home" / ".local/share/veldra").string());
    }
    {
        // A relative XDG_DATA_HOME is not a base folder and is ignored.
        const ScopedEnv data("XDG_DATA_HOME", "relative/data");
        EXPECT_EQ(PerUserGameFolder(), (m_root / "home" / ".local/share/veldra").string());
    }
    {
        const ScopedEnv data("XDG_DATA_HOME", (m_root / "xdg/").string());
        EXPECT_EQ(PerUserGameFolder(), (m_root / "xdg" / "veldra").string());
    }
    {
        // Without HOME the password entry names the home folder.
        const ScopedEnv data("XDG_DATA_HOME", "");
        const ScopedEnv noHome("HOME", "");
        const std::string fromEntry = PerUserGameFolder();
        if (!fromEntry.empty()) {
            EXPECT_EQ(fromEntry.front(), '/');
            EXPECT_NE(fromEntry.find("/.local/share/veldra"), std::string::npos);
        }
    }
}

TEST_F(GameFolders, AMissingGameFolderIsNotTakenForAnInstalledOne)
{
    const ScopedEnv data("XDG_DATA_HOME", (m_root / "xdg").string());
    const PlayerFiles files = LocatePlayerFiles((m_root / "absent").string());
    EXPECT_EQ(files.place, PlayerFilesPlace::GameFolder);
    EXPECT_EQ(files.folder, (m_root / "absent").string());
}

TEST_F(GameFolders, AnUnwritablePerUserFolderIsRefusedWithItsReason)
{
    const fs::path game = MakeData(m_root / "game");
    MakeReadOnly(game);
    // A file where the data folder would be: no user, not even the
    // superuser, can make a folder below it.
    std::ofstream(m_root / "blocker") << "not a folder";
    const ScopedEnv data("XDG_DATA_HOME", (m_root / "blocker" / "data").string());
    const PlayerFiles files = LocatePlayerFiles(game.string());
    ASSERT_EQ(files.place, PlayerFilesPlace::PerUser);
    const std::string problem = PreparePlayerFolder(files);
    EXPECT_NE(problem.find(files.folder), std::string::npos) << problem;
    EXPECT_NE(problem.find("Not a directory"), std::string::npos) << problem;
    std::string left;
    std::getline(std::ifstream(m_root / "blocker"), left);
    EXPECT_EQ(left, "not a folder");

    // The per-user folder itself a file: refused too.
    fs::create_directories(m_root / "xdg");
    std::ofstream(m_root / "xdg" / "veldra") << "x";
    const ScopedEnv data2("XDG_DATA_HOME", (m_root / "xdg").string());
    EXPECT_NE(PreparePlayerFolder(LocatePlayerFiles(game.string())), "");
}

TEST_F(GameFolders, TheInstalledDataSitsBesideTheProgramsFolder)
{
    EXPECT_EQ(InstalledDataFolder("/usr/bin/Veldra"), "/usr/share/veldra");
    EXPECT_EQ(InstalledDataFolder("/opt/hunt/bin/setup"), "/opt/hunt/share/veldra");
    EXPECT_EQ(InstalledDataFolder("/bin/Veldra"), "/share/veldra");
    EXPECT_EQ(InstalledDataFolder("Veldra"), "");
    EXPECT_EQ(InstalledDataFolder("bin/Veldra"), "");
    EXPECT_EQ(InstalledDataFolder(""), "");
    const std::string self = RunningProgramPath();
    ASSERT_FALSE(self.empty());
    EXPECT_EQ(self.front(), '/');
    EXPECT_TRUE(fs::exists(self));
}

TEST_F(GameFolders, WithoutAFolderNamedTheCurrentOneWinsWhenItHoldsTheData)
{
    const fs::path prefix = m_root / "prefix";
    MakeData(prefix / "share" / "veldra");
    const std::string program = (prefix / "bin" / "Veldra").string();
    const fs::path elsewhere = m_root / "elsewhere";
    fs::create_directories(elsewhere);
    // The pointer's name in another case is still the data.
    const fs::path here = MakeData(m_root / "here", "MENU/Cursor.BMP");

    const fs::path previous = fs::current_path();
    fs::current_path(elsewhere);
    EXPECT_FALSE(HoldsGameData(""));
    EXPECT_EQ(DefaultGameFolder(program), (prefix / "share" / "veldra").string());
    EXPECT_EQ(DefaultGameFolder((m_root / "nothing" / "bin" / "Veldra").string()), "");
    fs::current_path(here);
    EXPECT_TRUE(HoldsGameData(""));
    EXPECT_EQ(DefaultGameFolder(program), "");
    fs::current_path(previous);
}

} // namespace
