#include "setup/CGameFolder.h"

#include "common/AtomicFile.h"
#include "common/PrivateProfile.h"
#include "gamedata/GameFolders.h"

#include <cerrno>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr const char* kSection = "configuration";
constexpr std::string_view kFirstRunContent = "[configuration]";
// What the profile layer itself agrees to read; a larger file is not a
// configuration this tool may rewrite.
constexpr size_t kMaxConfigBytes = size_t(1) << 20;

bool NameExists(const std::string& path)
{
    struct stat info;
    return ::lstat(path.c_str(), &info) == 0;
}

} // namespace

CGameFolder::CGameFolder(const std::string& folder) : m_files(LocatePlayerFiles(folder))
{
    m_configPath = m_files.ConfigPath();
    m_trophyPath = m_files.TrophyPath();
}

CGameFolder::ConfigState CGameFolder::EnsureConfigFile() const
{
    if (NameExists(m_configPath))
        return ConfigState::Present;
    if (!PreparePlayerFolder(m_files).empty())
        return ConfigState::Failed;
    return WriteFileAtomically(m_configPath, kFirstRunContent.data(), kFirstRunContent.size())
               ? ConfigState::Created
               : ConfigState::Failed;
}

int CGameFolder::ReadDisplayChoice() const
{
    const int value = GetPrivateProfileInt(kSection, "highcolour", 2, m_configPath);
    return value == 2 ? 1 : value;
}

bool CGameFolder::WriteDisplayChoice(int value) const
{
    return CanRewriteConfig() && WriteValue("highcolour", value);
}

ControlBindings CGameFolder::ReadBindings() const
{
    ControlBindings bindings;
    for (size_t i = 0; i < kStoredControls; ++i)
        bindings.codes[i] = GetPrivateProfileInt(kSection, ProfileKeyOf(Control(i)), 0, m_configPath);
    return bindings;
}

bool CGameFolder::WriteBindings(const ControlBindings& bindings) const
{
    if (!CanRewriteConfig())
        return false;
    for (size_t i = 0; i < kStoredControls; ++i)
        if (!WriteValue(ProfileKeyOf(Control(i)), bindings.codes[i]))
            return false;
    return true;
}

CGameFolder::TrophyReset CGameFolder::ResetTrophies() const
{
    if (::unlink(m_trophyPath.c_str()) == 0)
        return TrophyReset::Removed;
    return errno == ENOENT ? TrophyReset::NothingToRemove : TrophyReset::Failed;
}

bool CGameFolder::CanRewriteConfig() const
{
    std::string bytes;
    return ReadWholeFile(m_configPath, bytes, kMaxConfigBytes) || !NameExists(m_configPath);
}

bool CGameFolder::WriteValue(const char* key, int value) const
{
    return WritePrivateProfileString(kSection, key, std::to_string(value), m_configPath);
}
