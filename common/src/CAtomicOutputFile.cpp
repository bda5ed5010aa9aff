#include "common/CAtomicOutputFile.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

CAtomicOutputFile::~CAtomicOutputFile()
{
    Discard();
}

void CAtomicOutputFile::Discard()
{
    if (m_fd < 0)
        return;
    ::close(m_fd);
    ::unlink(m_temporary.c_str());
    m_fd = -1;
}

bool CAtomicOutputFile::Create(const std::string& path)
{
    Discard();
    m_path = path;
    m_temporary = path + ".tmpXXXXXX";
    m_fd = ::mkstemp(m_temporary.data());
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
    ok = ::close(m_fd) == 0 && ok;
    m_fd = -1;
    if (ok)
        ok = ::rename(m_temporary.c_str(), m_path.c_str()) == 0;
    if (!ok)
        ::unlink(m_temporary.c_str());
    return ok;
}
