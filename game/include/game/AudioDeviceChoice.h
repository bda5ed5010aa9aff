#pragma once
// Choosing the sound output by name (--audio-device, or "audiodevice" in
// "config.dat"), and listing the names there are to choose from.

#include <string>

class CSoundDevice;

// The index of the output called `name` on `device`: the exact name first,
// else the only one that matches it ignoring case; -1 when there is none.
int FindAudioDevice(const CSoundDevice& device, const std::string& name);

// Selects the output called `name` (nothing to do for ""). When no output
// has that name the device keeps the system's default and the returned line
// says so (it is empty on success).
std::string ChooseAudioDevice(CSoundDevice& device, const std::string& name);

// One output name a line, as --list-audio-devices prints them.
std::string AudioDeviceList(const CSoundDevice& device);
