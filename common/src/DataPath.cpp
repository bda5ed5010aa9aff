#include "common/DataPath.h"

#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>

namespace {

bool Exists(const std::string& path)
{
    struct stat info;
    return ::stat(path.c_str(), &info) == 0;
}

// Finds `name` in `folder` ignoring case; returns the spelling on disk.
bool FindIgnoringCase(const std::string& folder, const std::string& name, std::string& found)
{
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!dir)
        return false;
    bool ok = false;
    while (dirent* entry = ::readdir(dir)) {
        if (::strcasecmp(entry->d_name, name.c_str()) == 0) {
            found = entry->d_name;
            ok = true;
            break;
        }
    }
    ::closedir(dir);
    return ok;
}

} // namespace

std::string ToNativeSeparators(std::string_view windowsPath)
{
    std::string path(windowsPath);
    for (char& c : path)
        if (c == '\\')
            c = '/';
    return path;
}

std::string MapDataPath(std::string_view windowsPath, std::string_view baseFolder)
{
    std::string relative = ToNativeSeparators(windowsPath);
    std::string base(baseFolder);
    if (!base.empty() && base.back() != '/')
        base += '/';
    if (!relative.empty() && relative.front() == '/')
        base.clear(); // An absolute path ignores the base folder.

    std::string direct = base + relative;
    if (Exists(direct))
        return direct;

    // Walk component by component, correcting the case where needed.
    std::string resolved = base;
    size_t start = 0;
    if (!relative.empty() && relative.front() == '/') {
        resolved.assign(1, '/');
        start = 1;
    }
    while (start <= relative.size()) {
        size_t end = relative.find('/', start);
        if (end == std::string::npos)
            end = relative.size();
        std::string component = relative.substr(start, end - start);
        if (!component.empty()) {
            std::string candidate = resolved + component;
            if (!Exists(candidate)) {
                std::string onDisk;
                std::string folder = resolved.empty() ? std::string() : resolved.substr(0, resolved.size() - 1);
                if (resolved == "/")
                    folder.assign(1, '/');
                if (!FindIgnoringCase(folder, component, onDisk))
                    return direct;
                candidate = resolved + onDisk;
            }
            resolved = candidate;
            if (end < relative.size())
                resolved += '/';
        }
        start = end + 1;
    }
    return resolved;
}
