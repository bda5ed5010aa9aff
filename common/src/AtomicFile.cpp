#include "common/AtomicFile.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

bool WriteFileAtomically(const std::string& path, const void* data, size_t size)
{
    std::string temporary = path + ".tmpXXXXXX";
    int fd = ::mkstemp(temporary.data());
    if (fd < 0)
        return false;
    const char* bytes = static_cast<const char*>(data);
    size_t written = 0;
    while (written < size) {
        ssize_t n = ::write(fd, bytes + written, size - written);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        written += static_cast<size_t>(n);
    }
    bool ok = written == size && ::fsync(fd) == 0;
    // mkstemp creates the file 0600; give it the usual permissions.
    ok = ::fchmod(fd, 0644) == 0 && ok;
    ok = ::close(fd) == 0 && ok;
    if (ok)
        ok = ::rename(temporary.c_str(), path.c_str()) == 0;
    if (!ok)
        ::unlink(temporary.c_str());
    return ok;
}

bool ReadWholeFile(const std::string& path, std::string& bytes, size_t maxBytes)
{
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return false;
    bytes.clear();
    char chunk[65536];
    bool ok = true;
    while (size_t n = std::fread(chunk, 1, sizeof chunk, file)) {
        if (bytes.size() + n > maxBytes) {
            ok = false;
            break;
        }
        bytes.append(chunk, n);
    }
    ok = ok && !std::ferror(file);
    std::fclose(file);
    return ok;
}
