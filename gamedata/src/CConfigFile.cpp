#include "gamedata/CConfigFile.h"

#include "common/AtomicFile.h"
#include "common/PrivateProfile.h"

#include <string_view>
#include <sys/stat.h>
#include <vector>

namespace {

constexpr const char* kSection = "configuration";
constexpr const char* kHighColourKey = "highcolour";
constexpr const char* kVolumeKey = "volume";
constexpr const char* kMuteKey = "mute";
constexpr const char* kAudioDeviceKey = "audiodevice";
constexpr const char* kFullScreenKey = "fullscreen";
constexpr const char* kWindowWidthKey = "windowwidth";
constexpr const char* kWindowHeightKey = "windowheight";
constexpr const char* kSmoothKey = "smoothscaling";
constexpr const char* kQuarryRadarKey = "quarryradar";
constexpr const char* kAimReticleKey = "aimreticle";
// Window sizes outside these are not believed (a damaged or hand-made value).
constexpr int kSmallestWindow = 320, kLargestWindow = 16384;
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
    const int volume = GetPrivateProfileInt(kSection, kVolumeKey, kVolumeSteps, m_path);
    config.volume = volume < 0 ? 0 : volume > kVolumeSteps ? kVolumeSteps : volume;
    config.muted = GetPrivateProfileInt(kSection, kMuteKey, 0, m_path) != 0;
    config.audioDevice = GetPrivateProfileString(kSection, kAudioDeviceKey, "", m_path);
    const int fullScreen = GetPrivateProfileInt(kSection, kFullScreenKey, -1, m_path);
    config.window.fullScreen = fullScreen < 0 ? -1 : fullScreen != 0;
    const int width = GetPrivateProfileInt(kSection, kWindowWidthKey, 0, m_path);
    const int height = GetPrivateProfileInt(kSection, kWindowHeightKey, 0, m_path);
    if (width >= kSmallestWindow && width <= kLargestWindow && height >= kSmallestWindow && height <= kLargestWindow) {
        config.window.width = width;
        config.window.height = height;
    }
    config.window.smoothScaling = GetPrivateProfileInt(kSection, kSmoothKey, 0, m_path) != 0;
    config.aids.quarryOnRadar = GetPrivateProfileInt(kSection, kQuarryRadarKey, 0, m_path) != 0;
    config.aids.aimReticle = GetPrivateProfileInt(kSection, kAimReticleKey, 0, m_path) != 0;
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

bool CConfigFile::WriteSound(int volume, bool muted) const
{
    const int step = volume < 0 ? 0 : volume > kVolumeSteps ? kVolumeSteps : volume;
    return WritePrivateProfileStrings(kSection, {{kVolumeKey, std::to_string(step)}, {kMuteKey, muted ? "1" : "0"}},
                                      m_path);
}

bool CConfigFile::WriteAudioDevice(const std::string& name) const
{
    return WritePrivateProfileString(kSection, kAudioDeviceKey, name, m_path);
}

bool CConfigFile::WriteAids(const HuntAids& aids) const
{
    return WritePrivateProfileStrings(kSection,
                                      {{kQuarryRadarKey, aids.quarryOnRadar ? "1" : "0"},
                                       {kAimReticleKey, aids.aimReticle ? "1" : "0"}},
                                      m_path);
}

bool CConfigFile::WriteWindow(const WindowState& window) const
{
    std::vector<ProfileValue> values;
    if (window.fullScreen >= 0)
        values.push_back({kFullScreenKey, window.fullScreen ? "1" : "0"});
    if (window.width > 0 && window.height > 0) {
        values.push_back({kWindowWidthKey, std::to_string(window.width)});
        values.push_back({kWindowHeightKey, std::to_string(window.height)});
    }
    values.push_back({kSmoothKey, window.smoothScaling ? "1" : "0"});
    return WritePrivateProfileStrings(kSection, values, m_path);
}
