#include "common/CAtomicOutputFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <limits>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr char kTemporarySuffix[] = ".tmpXXXXXX";
constexpr size_t kRandomPartLength = 6;

// mkstemp fills the X's with letters and digits only.
bool IsTemporaryNameOf(const char* entry, const std::string& base)
{
    const size_t tagLength = std::strlen(kTemporarySuffix) - kRandomPartLength;
    if (std::strlen(entry) != base.size() + tagLength + kRandomPartLength)
        return false;
    if (base.compare(0, base.size(), entry, base.size()) != 0 ||
        std::strncmp(entry + base.size(), kTemporarySuffix, tagLength) != 0)
        return false;
    for (const char* c = entry + base.size() + tagLength; *c; ++c)
        if (!((*c >= 'a' && *c <= 'z') || (*c >= 'A' && *c <= 'Z') || (*c >= '0' && *c <= '9')))
            return false;
    return true;
}

// Removes a temporary file that no live writer holds: every writer locks its
// file from the moment it exists until it is renamed or removed, so a file
// whose lock can be taken was left by a writer that was killed part way.
void RemoveIfAbandoned(int folder, const char* entry)
{
    const int fd = ::openat(folder, entry, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return;
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == ::geteuid() &&
        ::flock(fd, LOCK_EX | LOCK_NB) == 0) {
        // Still the same file under that name (not one renamed into place
        // since it was opened)?
        struct stat named {};
        if (::fstatat(folder, entry, &named, AT_SYMLINK_NOFOLLOW) == 0 && named.st_ino == info.st_ino &&
            named.st_dev == info.st_dev)
            ::unlinkat(folder, entry, 0);
    }
    ::close(fd);
}

} // namespace

void CAtomicOutputFile::RemoveAbandonedTemporaries(const std::string& path)
{
    const size_t slash = path.rfind('/');
    const std::string folderName = slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
    const std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
    DIR* folder = ::opendir(folderName.c_str());
    if (!folder)
        return;
    while (const dirent* entry = ::readdir(folder))
        if (IsTemporaryNameOf(entry->d_name, base))
            RemoveIfAbandoned(::dirfd(folder), entry->d_name);
    ::closedir(folder);
}

CAtomicOutputFile::~CAtomicOutputFile()
{
    Discard();
}

void CAtomicOutputFile::Discard()
{
    if (m_fd < 0)
        return;
    ::unlink(m_temporary.c_str());
    ::close(m_fd);
    m_fd = -1;
}

bool CAtomicOutputFile::Create(const std::string& path)
{
    Discard();
    m_path = path;
    RemoveAbandonedTemporaries(path);
    // The lock is held until the file is renamed or removed (closing the
    // descriptor drops it, as does the process dying): the mark that tells a
    // file being written from one abandoned by a killed writer. Between
    // mkstemp and flock another writer's sweep may take the fresh file for
    // abandoned and remove it; then the name no longer leads to it, and a new
    // one is made.
    for (int attempt = 0; attempt < 4 && m_fd < 0; ++attempt) {
        m_temporary = path + kTemporarySuffix;
        m_fd = ::mkostemp(m_temporary.data(), O_CLOEXEC);
        if (m_fd < 0)
            break;
        struct stat opened {}, named {};
        const bool locked = ::flock(m_fd, LOCK_EX) == 0;
        const bool stillNamed = ::fstat(m_fd, &opened) == 0 && ::stat(m_temporary.c_str(), &named) == 0 &&
                                opened.st_ino == named.st_ino && opened.st_dev == named.st_dev;
        if (!locked || !stillNamed) {
            if (stillNamed)
                ::unlink(m_temporary.c_str());
            ::close(m_fd);
            m_fd = -1;
            if (!locked)
                break;
        }
    }
    m_size = 0;
    m_failed = m_fd < 0;
    return !m_failed;
}

bool CAtomicOutputFile::WriteAt(uint64_t offset, const void* data, size_t size)
{
    if (m_failed || m_fd < 0)
        return false;
    // pwrite takes a signed offset; a range past it cannot be written.
    constexpr uint64_t kMaxOffset = static_cast<uint64_t>(std::numeric_limits<off_t>::max());
    if (offset > kMaxOffset || size > kMaxOffset - offset) {
        m_failed = true;
        return false;
    }
    const char* bytes = static_cast<const char*>(data);
    size_t done = 0;
    while (done < size) {
        ssize_t n = ::pwrite(m_fd, bytes + done, size - done, static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            m_failed = true;
            return false;
        }
        done += static_cast<size_t>(n);
    }
    if (offset + size > m_size)
        m_size = offset + size;
    return true;
}

bool CAtomicOutputFile::Write(const void* data, size_t size)
{
    return WriteAt(m_size, data, size);
}

bool CAtomicOutputFile::Commit()
{
    if (m_failed || m_fd < 0) {
        Discard();
        return false;
    }
    bool ok = ::fsync(m_fd) == 0;
    // mkstemp creates the file 0600; give it the usual permissions.
    ok = ::fchmod(m_fd, 0644) == 0 && ok;
    // Renamed while the descriptor (and so the lock) is still held: a
    // writer starting meanwhile must not take this file for an abandoned one.
    if (ok)
        ok = ::rename(m_temporary.c_str(), m_path.c_str()) == 0;
    if (!ok)
        ::unlink(m_temporary.c_str());
    ok = ::close(m_fd) == 0 && ok;
    m_fd = -1;
    return ok;
}

CAtomicOutputFile::CommitResult CAtomicOutputFile::CommitWithoutReplacing()
{
    if (m_failed || m_fd < 0) {
        Discard();
        return CommitResult::Failed;
    }
    CommitResult result = ::fsync(m_fd) == 0 && ::fchmod(m_fd, 0644) == 0 ? CommitResult::Done : CommitResult::Failed;
    // Renamed only where no file is, atomically; on file systems without
    // that kind of rename, a hard link is made only where no file is, and
    // the temporary name goes.
    bool renamed = false;
    if (result == CommitResult::Done) {
        renamed = ::renameat2(AT_FDCWD, m_temporary.c_str(), AT_FDCWD, m_path.c_str(), RENAME_NOREPLACE) == 0;
        const bool placed = renamed || (errno == EINVAL && ::link(m_temporary.c_str(), m_path.c_str()) == 0);
        if (!placed)
            result = errno == EEXIST ? CommitResult::TargetExists : CommitResult::Failed;
    }
    if (!renamed)
        ::unlink(m_temporary.c_str());
    if (::close(m_fd) != 0 && result == CommitResult::Done)
        result = CommitResult::Failed; // the copy is there, but not known good
    m_fd = -1;
    return result;
}
