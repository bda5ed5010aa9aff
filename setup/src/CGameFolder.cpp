#include "setup/CGameFolder.h"

#include <cerrno>
#include <unistd.h>

CGameFolder::CGameFolder(const std::string& folder)
    : m_files(LocatePlayerFiles(folder)), m_config(m_files.ConfigPath()), m_trophyPath(m_files.TrophyPath())
{
}

CConfigFile::Creation CGameFolder::EnsureConfigFile() const
{
    if (m_config.Exists())
        return CConfigFile::Creation::Present;
    if (!PreparePlayerFolder(m_files).empty())
        return CConfigFile::Creation::Failed;
    return m_config.CreateIfAbsent();
}

CGameFolder::TrophyReset CGameFolder::ResetTrophies() const
{
    if (::unlink(m_trophyPath.c_str()) == 0)
        return TrophyReset::Removed;
    return errno == ENOENT ? TrophyReset::NothingToRemove : TrophyReset::Failed;
}
