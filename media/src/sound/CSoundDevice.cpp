#include "media/CSoundDevice.h"

#include "common/CMemoryBlock.h"

#include <algorithm>

CSoundDevice::~CSoundDevice() = default;

void CSoundDevice::SetWindowAndFormat(void*, const WaveFormat*) {}

uint32_t CSoundDevice::GetCapsMask()
{
    return 0;
}

std::unique_ptr<SoundEntry> CSoundDevice::MakeEntry()
{
    return std::make_unique<SoundEntry>();
}

SoundEntry* CSoundDevice::NewSound()
{
    m_sounds.push_back(MakeEntry());
    return m_sounds.back().get();
}

void CSoundDevice::DeleteSound(SoundEntry* sound)
{
    if (!sound)
        return;
    Unload(sound);
    auto found = std::find_if(m_sounds.begin(), m_sounds.end(), [sound](const auto& entry) { return entry.get() == sound; });
    if (found != m_sounds.end())
        m_sounds.erase(found);
}

int CSoundDevice::LoadBlock(SoundEntry*, CMemoryBlock* block, int, const SoundLoadOptions& options)
{
    // The block was handed over: it goes even though nothing plays it.
    if (options.flags & SOUND_LOAD_OWN_BLOCK)
        delete block;
    return SOUND_NOT_SUPPORTED;
}

int CSoundDevice::Load(SoundEntry*, const std::string&, int, const SoundLoadOptions&)
{
    return SOUND_NOT_SUPPORTED;
}

int CSoundDevice::LoadResource(SoundEntry*, const ResourceTable*, const char*, int)
{
    return SOUND_NOT_SUPPORTED;
}

void CSoundDevice::Unload(SoundEntry*) {}
bool CSoundDevice::IsLoaded(SoundEntry*) const { return false; }
void CSoundDevice::SetActive(bool) {}
bool CSoundDevice::IsActive() const { return false; }
void CSoundDevice::Play(SoundEntry*, int, int, int, int, bool) {}
void CSoundDevice::Stop(SoundEntry*) {}

void CSoundDevice::StopAll()
{
    for (const auto& sound : m_sounds)
        Stop(sound.get());
}

int CSoundDevice::GetVolume(SoundEntry*) { return 0; }
void CSoundDevice::SetVolume(SoundEntry*, int) {}
int CSoundDevice::GetPan(SoundEntry*) { return 0; }
void CSoundDevice::SetPan(SoundEntry*, int) {}
int CSoundDevice::GetFrequency(SoundEntry*) { return 0; }
void CSoundDevice::SetFrequency(SoundEntry*, int) {}
uint32_t CSoundDevice::GetPosition(SoundEntry*) { return 0; }
void CSoundDevice::SetPosition(SoundEntry*, uint32_t) {}
bool CSoundDevice::IsPlaying(SoundEntry*) { return false; }
int CSoundDevice::GetSampleRate(SoundEntry*) { return 0; }
int CSoundDevice::GetBitsPerSample(SoundEntry*) { return 0; }
int CSoundDevice::GetChannels(SoundEntry*) { return 0; }
uint64_t CSoundDevice::GetFrameCount(SoundEntry*) { return 0; }
int CSoundDevice::GetFrameSize(SoundEntry*) { return 0; }
void CSoundDevice::SetMasterGain(float gain)
{
    m_masterGain = gain > 1.0f ? 1.0f : gain > 0.0f ? gain : 0.0f; // NaN as 0
    ApplyMasterGain(m_masterGain);
}

void CSoundDevice::SelectDevice(int) {}
int CSoundDevice::GetSelectedDevice() const { return -1; }
int CSoundDevice::GetDeviceCount() const { return 0; }
std::string CSoundDevice::GetDeviceName(int) const { return {}; }
