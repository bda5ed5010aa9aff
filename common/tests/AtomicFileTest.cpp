#include "common/AtomicFile.h"
#include "common/CAtomicOutputFile.h"

#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <fstream>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {
// A folder of its own per test, so "nothing else is left beside the target"
// can be checked by counting its entries.
class AtomicFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = fs::temp_directory_path() /
              ("atomic-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir);
        path = (dir / "trophy.bin").string();
    }
    void TearDown() override { fs::remove_all(dir); }

    std::string Contents() const
    {
        std::string bytes;
        EXPECT_TRUE(ReadWholeFile(path, bytes));
        return bytes;
    }
    long Entries() const { return std::distance(fs::directory_iterator(dir), fs::directory_iterator()); }

    fs::path dir;
    std::string path;
};

// Limits the size of any file this process writes, the way a full disk
// would stop a write part way (root ignores folder permissions, so a
// read-only folder would not do). The signal the limit raises is ignored so
// the write returns an error instead.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &m_old);
        rlimit limited = m_old;
        limited.rlim_cur = bytes;
        m_active = ::setrlimit(RLIMIT_FSIZE, &limited) == 0;
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    bool Active() const { return m_active; }

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
    bool m_active = false;
};
} // namespace

TEST_F(AtomicFileTest, ReplacesWholeFileAndLeavesNoTemporary)
{
    ASSERT_TRUE(WriteFileAtomically(path, "old", 3));
    ASSERT_TRUE(WriteFileAtomically(path, "newer", 5));
    EXPECT_EQ(Contents(), "newer");
    EXPECT_EQ(Entries(), 1);
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read | fs::perms::others_read);
    std::string bytes;
    EXPECT_FALSE(ReadWholeFile(path, bytes, 2)); // larger than allowed
    ASSERT_TRUE(WriteFileAtomically(path, nullptr, 0));
    EXPECT_EQ(Contents(), "");
}

TEST_F(AtomicFileTest, FailedWriteKeepsOldFile)
{
    ASSERT_TRUE(WriteFileAtomically(path, "old", 3));
    const std::string larger(64 * 1024, 'n');
    bool written;
    {
        FileSizeLimit limit(1024);
        ASSERT_TRUE(limit.Active());
        written = WriteFileAtomically(path, larger.data(), larger.size());
    }
    EXPECT_FALSE(written);
    EXPECT_EQ(Contents(), "old");
    EXPECT_EQ(Entries(), 1) << "the temporary file was left behind";

    EXPECT_FALSE(WriteFileAtomically((dir / "no-such-folder" / "x.bin").string(), "a", 1));
    EXPECT_EQ(Entries(), 1);
}

TEST_F(AtomicFileTest, StreamedFileAppearsOnlyOnCommit)
{
    ASSERT_TRUE(WriteFileAtomically(path, "old", 3));
    CAtomicOutputFile file;
    ASSERT_TRUE(file.Create(path));
    EXPECT_TRUE(file.Write("....tail", 8));
    EXPECT_TRUE(file.WriteAt(0, "head", 4)); // a header patched once the length is known
    EXPECT_TRUE(file.WriteAt(8, "!", 1));
    EXPECT_EQ(file.Size(), 9u);
    EXPECT_EQ(Contents(), "old");
    ASSERT_TRUE(file.Commit());
    EXPECT_EQ(Contents(), "headtail!");
    EXPECT_EQ(Entries(), 1);
    EXPECT_FALSE(file.Write("x", 1)); // a committed file is done
}

TEST_F(AtomicFileTest, DroppedOrFailedStreamKeepsOldFile)
{
    ASSERT_TRUE(WriteFileAtomically(path, "old", 3));
    {
        CAtomicOutputFile dropped;
        ASSERT_TRUE(dropped.Create(path));
        ASSERT_TRUE(dropped.Write("new", 3));
        EXPECT_EQ(Entries(), 2);
    }
    EXPECT_EQ(Contents(), "old");
    EXPECT_EQ(Entries(), 1);

    // After one failed write every later call fails, and so does the commit.
    CAtomicOutputFile failed;
    ASSERT_TRUE(failed.Create(path));
    EXPECT_FALSE(failed.WriteAt(~uint64_t(0) - 1, "ab", 2));
    EXPECT_FALSE(failed.Write("new", 3));
    EXPECT_FALSE(failed.Commit());
    EXPECT_EQ(Contents(), "old");
    EXPECT_EQ(Entries(), 1);

    CAtomicOutputFile nowhere;
    EXPECT_FALSE(nowhere.Create((dir / "no-such-folder" / "x.bin").string()));
    EXPECT_FALSE(nowhere.Write("a", 1));
    EXPECT_FALSE(nowhere.Commit());
}

TEST_F(AtomicFileTest, LeftoversOfAKilledWriterGoAtTheNextWrite)
{
    ASSERT_TRUE(WriteFileAtomically(path, "old", 3));
    // A writer killed between its first write and its rename.
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        CAtomicOutputFile file;
        if (file.Create(path) && file.Write("half", 4))
            ::kill(::getpid(), SIGKILL);
        ::_exit(1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
    ASSERT_EQ(Entries(), 2) << "the killed writer left no temporary file to clean up";

    // Names that only look alike stay: another target's, a shorter random
    // part, characters mkstemp never makes.
    for (const char* name : {"other.bin.tmpAbC123", "trophy.bin.tmpAbC12", "trophy.bin.tmpAbC12!"})
        std::ofstream(dir / name) << "x";
    ASSERT_TRUE(WriteFileAtomically(path, "new", 3));
    EXPECT_EQ(Contents(), "new");
    EXPECT_EQ(Entries(), 4) << "the leftover stayed, or a look-alike went";
}

TEST_F(AtomicFileTest, AWriteInProgressIsNotTakenForALeftover)
{
    ASSERT_TRUE(WriteFileAtomically(path, "old", 3));
    CAtomicOutputFile slow;
    ASSERT_TRUE(slow.Create(path));
    ASSERT_TRUE(slow.Write("slow", 4));
    // Another writer of the same file meanwhile (its lock is taken through a
    // descriptor of its own, as another process's would be).
    ASSERT_TRUE(WriteFileAtomically(path, "quick", 5));
    EXPECT_EQ(Entries(), 2);
    ASSERT_TRUE(slow.Commit());
    EXPECT_EQ(Contents(), "slow");
    EXPECT_EQ(Entries(), 1);
}
