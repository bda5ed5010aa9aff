#include "gamedata/GameFolders.h"

#include "common/DataPath.h"
#include "gamedata/DataFiles.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

std::string InFolder(const std::string& folder, const char* name)
{
    if (folder.empty())
        return name;
    return folder.back() == '/' ? folder + name : folder + "/" + name;
}

const char* OrCurrent(const std::string& folder)
{
    return folder.empty() ? "." : folder.c_str();
}

bool IsFolder(const std::string& path)
{
    struct stat info;
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// The part of `path` before its last slash ("" when there is none; "/" for
// a name in the root).
std::string Parent(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return {};
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The part of `path` after its last slash.
std::string LastName(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string HomeFolder()
{
    if (const char* home = std::getenv("HOME"); home && home[0] == '/')
        return home;
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found && found->pw_dir &&
        found->pw_dir[0] == '/')
        return found->pw_dir;
    return {};
}

// Creates `path` and every missing folder above it, each private to the
// user. Returns 0 or the errno of the step that failed.
int MakeFolders(const std::string& path)
{
    if (IsFolder(path))
        return 0;
    const std::string parent = Parent(path);
    if (!parent.empty() && parent != path)
        if (const int error = MakeFolders(parent))
            return error;
    if (::mkdir(path.c_str(), 0700) == 0 || (errno == EEXIST && IsFolder(path)))
        return 0;
    return errno == EEXIST ? ENOTDIR : errno;
}

} // namespace

std::string PlayerFiles::ConfigPath() const
{
    return place == PlayerFilesPlace::Nowhere ? std::string() : InFolder(folder, kConfigFile);
}

std::string PlayerFiles::TrophyPath() const
{
    return place == PlayerFilesPlace::Nowhere ? std::string() : InFolder(folder, kTrophyFile);
}

bool UserMayWrite(const std::string& folder)
{
    const char* path = OrCurrent(folder);
    if (::access(path, W_OK | X_OK) != 0)
        return false;
    if (::geteuid() != 0)
        return true;
    struct stat info;
    return ::stat(path, &info) == 0 && (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0;
}

std::string PerUserGameFolder()
{
    if (const char* data = std::getenv("XDG_DATA_HOME"); data && data[0] == '/')
        return InFolder(data, kGameFolderName);
    const std::string home = HomeFolder();
    if (home.empty())
        return {};
    return InFolder(InFolder(home, ".local/share"), kGameFolderName);
}

PlayerFiles LocatePlayerFiles(const std::string& gameFolder)
{
    PlayerFiles files;
    files.folder = gameFolder;
    // A folder that is not there is no installed game: its writes fail and
    // say so, rather than going somewhere else unasked.
    if (!IsFolder(OrCurrent(gameFolder)))
        return files;
    const bool installed = IsInstalledDataFolder(gameFolder);
    if (!installed && UserMayWrite(gameFolder))
        return files;
    std::string perUser = PerUserGameFolder();
    if (perUser.empty()) {
        if (installed) {
            files.place = PlayerFilesPlace::Nowhere;
            files.folder.clear();
        }
        return files;
    }
    files.place = PlayerFilesPlace::PerUser;
    files.folder = std::move(perUser);
    return files;
}

std::string PreparePlayerFolder(const PlayerFiles& files)
{
    if (files.place == PlayerFilesPlace::Nowhere)
        return "no folder of your own can be named for the game's files (HOME is not set)";
    if (files.place != PlayerFilesPlace::PerUser)
        return {};
    if (const int error = MakeFolders(files.folder))
        return "cannot make the folder " + files.folder + ": " + std::strerror(error);
    if (!UserMayWrite(files.folder))
        return "cannot write in the folder " + files.folder + ": " + std::strerror(EACCES);
    return {};
}

bool HoldsGameData(const std::string& folder)
{
    struct stat info;
    return ::stat(MapDataPath(kCursorPicture, folder).c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool IsInstalledDataFolder(const std::string& folder)
{
    char* resolved = ::realpath(OrCurrent(folder), nullptr);
    if (!resolved)
        return false;
    const std::string path = resolved;
    std::free(resolved);
    const std::string share = Parent(path);
    if (LastName(path) != kGameFolderName || LastName(share) != "share")
        return false;
    const std::string prefix = Parent(share) == "/" ? std::string() : Parent(share);
    struct stat info;
    for (const char* programs : {"/bin/", "/games/"})
        if (::stat((prefix + programs + "Veldra").c_str(), &info) == 0 && S_ISREG(info.st_mode))
            return true;
    // The running program's own data folder counts even without the game
    // beside it (the setup tool installed on its own).
    const std::string own = InstalledDataFolder(RunningProgramPath());
    if (own.empty())
        return false;
    char* ownResolved = ::realpath(own.c_str(), nullptr);
    const bool same = ownResolved && path == ownResolved;
    std::free(ownResolved);
    return same;
}

std::string InstalledDataFolder(const std::string& executable)
{
    if (executable.empty() || executable[0] != '/')
        return {};
    const std::string bin = Parent(executable);
    const std::string prefix = bin == "/" ? std::string() : Parent(bin);
    return (prefix == "/" ? std::string() : prefix) + "/share/" + kGameFolderName;
}

std::string RunningProgramPath()
{
    std::vector<char> buffer(4096);
    const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (length <= 0 || size_t(length) >= buffer.size())
        return {};
    return std::string(buffer.data(), size_t(length));
}

std::string DefaultGameFolder(const std::string& executable)
{
    if (HoldsGameData({}))
        return {};
    std::string installed = InstalledDataFolder(executable);
    if (!installed.empty() && HoldsGameData(installed))
        return installed;
    return {};
}
