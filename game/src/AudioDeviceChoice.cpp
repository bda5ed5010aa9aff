#include "game/AudioDeviceChoice.h"

#include "media/CSoundDevice.h"

#include <strings.h>

int FindAudioDevice(const CSoundDevice& device, const std::string& name)
{
    if (name.empty())
        return -1;
    const int count = device.GetDeviceCount();
    int folded = -1, foldedMatches = 0;
    for (int i = 0; i < count; ++i) {
        const std::string candidate = device.GetDeviceName(i);
        if (candidate == name)
            return i;
        if (::strcasecmp(candidate.c_str(), name.c_str()) == 0) {
            folded = i;
            ++foldedMatches;
        }
    }
    return foldedMatches == 1 ? folded : -1;
}

std::string ChooseAudioDevice(CSoundDevice& device, const std::string& name)
{
    if (name.empty())
        return {};
    const int index = FindAudioDevice(device, name);
    if (index < 0) {
        device.SelectDevice(-1);
        return "no sound output is called \"" + name + "\" (see --list-audio-devices); the default output plays";
    }
    device.SelectDevice(index);
    return {};
}

std::string AudioDeviceList(const CSoundDevice& device)
{
    std::string list;
    for (int i = 0; i < device.GetDeviceCount(); ++i)
        list += device.GetDeviceName(i) + "\n";
    return list;
}
