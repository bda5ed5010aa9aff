#include "gamedata/CConfigFile.h"

#include "common/AtomicFile.h"
#include "common/PrivateProfile.h"

#include <string_view>
#include <sys/stat.h>
#include <vector>

namespace {

constexpr const char* kSection = "configuration";
constexpr const char* kHighColourKey = "highcolour";
constexpr std::string_view kFirstRunContent = "[configuration]";

} // namespace

GameConfig CConfigFile::Read() const
{
    GameConfig config;
    config.highColour = GetPrivateProfileInt(kSection, kHighColourKey, 0, m_path) != 0;
    for (const GameControlEntry& entry : kGameControls)
        config.keys[size_t(entry.control)] = GetPrivateProfileInt(kSection, entry.configKey, 0, m_path);
    if (config.Key(GameControl::Up) == 0 && config.Key(GameControl::Down) == 0)
        config.keys = DefaultControlKeys();
    return config;
}

bool CConfigFile::Exists() const
{
    struct stat info;
    return !m_path.empty() && ::lstat(m_path.c_str(), &info) == 0;
}

CConfigFile::Creation CConfigFile::CreateIfAbsent() const
{
    if (m_path.empty())
        return Creation::Failed;
    if (Exists())
        return Creation::Present;
    return WriteFileAtomically(m_path, kFirstRunContent.data(), kFirstRunContent.size()) ? Creation::Created
                                                                                          : Creation::Failed;
}

bool CConfigFile::WriteHighColour(bool highColour) const
{
    return WritePrivateProfileString(kSection, kHighColourKey, highColour ? "1" : "0", m_path);
}

bool CConfigFile::WriteControlKeys(const ControlKeys& keys) const
{
    std::vector<ProfileValue> values;
    for (const GameControlEntry& entry : kGameControls)
        values.push_back({entry.configKey, std::to_string(keys[size_t(entry.control)])});
    return WritePrivateProfileStrings(kSection, values, m_path);
}
