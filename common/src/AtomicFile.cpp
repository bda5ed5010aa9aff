#include "common/AtomicFile.h"

#include "common/CAtomicOutputFile.h"

#include <cstdio>

bool WriteFileAtomically(const std::string& path, const void* data, size_t size)
{
    CAtomicOutputFile file;
    return file.Create(path) && file.Write(data, size) && file.Commit();
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
