#pragma once
// CSoundDevice: the game's one sound output. Sounds are entries handed out by
// the device; loading opens an audio file, playing starts the next of the
// sound's copies so one effect can sound several times at once.
//
// This base device is silent: every operation does nothing, the loads return
// SOUND_NOT_SUPPORTED and the queries 0. It is the device a game gets when
// no audio library or device exists, and what the working device derives
// from. Entries
// are still handed out and freed, so a caller's bookkeeping works the same
// with or without sound.

#include "media/WaveFormat.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CMemoryBlock;
struct RawPcmDesc;
struct ResourceTable;

// One sound. Devices derive their own entries from it; callers only hold the
// pointer, which stays valid until DeleteSound or the device's destruction.
struct SoundEntry {
    virtual ~SoundEntry() = default;
};

// Passed as pan, volume or frequency to Play: leave that property as it is.
// (Not -1: -1 is a valid volume and pan.)
constexpr int SOUND_NO_CHANGE = 999999;

// Ranges of the properties. Volume is in hundredths of a decibel below full
// level; pan attenuates the far channel by as much; frequency is the playback
// rate in samples per second, SOUND_FREQUENCY_ORIGINAL being the sound's own.
// A working device refuses values outside them and keeps the old one.
constexpr int SOUND_VOLUME_MIN = -10000;
constexpr int SOUND_VOLUME_MAX = 0;
constexpr int SOUND_PAN_LEFT = -10000;
constexpr int SOUND_PAN_CENTER = 0;
constexpr int SOUND_PAN_RIGHT = 10000;
constexpr int SOUND_FREQUENCY_ORIGINAL = 0;
constexpr int SOUND_FREQUENCY_MIN = 100;
constexpr int SOUND_FREQUENCY_MAX = 200000;

// Results of the load operations.
enum SoundLoadResult : int {
    SOUND_OK = 0,
    SOUND_NO_ENTRY = 1,      // no sound entry, or no block
    SOUND_OPEN_FAILED = 2,   // the audio file did not open
    SOUND_NO_RESOURCE = 4,   // LoadResource: no such resource
    SOUND_NOT_SUPPORTED = 5, // the silent base device
};

// Load flags.
constexpr uint32_t SOUND_LOAD_SOFTWARE = 0x001;
constexpr uint32_t SOUND_LOAD_GLOBAL_FOCUS = 0x002;
constexpr uint32_t SOUND_LOAD_STICKY_FOCUS = 0x004;
constexpr uint32_t SOUND_LOAD_FORMAT_MASK = 0x300;
constexpr uint32_t SOUND_LOAD_FORMAT_FILE = 0x000;    // the file's own rate, channels and bits
constexpr uint32_t SOUND_LOAD_FORMAT_PRIMARY = 0x100; // the device's primary format
constexpr uint32_t SOUND_LOAD_FORMAT_CAPS = 0x200;    // the device's rate, the rest by capability
constexpr uint32_t SOUND_LOAD_OWN_BLOCK = 0x400;      // LoadBlock: the block belongs to the sound

// How Load and LoadBlock take a sound beyond its name and its copies.
struct SoundLoadOptions {
    // Played from the file a chunk at a time (one copy) instead of
    // converted whole when loaded.
    bool streamed = false;
    uint32_t flags = 0; // SOUND_LOAD_*
    // The layout of a headerless PCM file; null for files with a header.
    const RawPcmDesc* raw = nullptr;
};

class CSoundDevice {
public:
    CSoundDevice() = default;
    CSoundDevice(const CSoundDevice&) = delete;
    CSoundDevice& operator=(const CSoundDevice&) = delete;
    virtual ~CSoundDevice();

    // Stores the window; copies `format` as the primary format when given.
    virtual void SetWindowAndFormat(void* window, const WaveFormat* format);
    virtual uint32_t GetCapsMask();
    // A new empty entry, appended to the device's list.
    virtual SoundEntry* NewSound();
    // Unloads the sound and frees the entry (null is ignored).
    virtual void DeleteSound(SoundEntry* sound);
    // `copies` is how many times the sound may sound at once.
    virtual int LoadBlock(SoundEntry* sound, CMemoryBlock* block, int copies, const SoundLoadOptions& options = {});
    virtual int Load(SoundEntry* sound, const std::string& name, int copies, const SoundLoadOptions& options = {});
    virtual int LoadResource(SoundEntry* sound, const ResourceTable* module, const char* name, int copies);
    virtual void Unload(SoundEntry* sound);
    virtual bool IsLoaded(SoundEntry* sound) const;
    virtual void SetActive(bool active);
    virtual bool IsActive() const;
    // position -1 keeps the play cursor; SOUND_NO_CHANGE keeps pan, volume or
    // frequency.
    virtual void Play(SoundEntry* sound, int position, int pan, int volume, int frequency, bool loop);
    virtual void Stop(SoundEntry* sound);
    virtual void StopAll();
    // Volume in hundredths of a decibel (0 = full, negative = quieter).
    virtual int GetVolume(SoundEntry* sound);
    virtual void SetVolume(SoundEntry* sound, int volume);
    virtual int GetPan(SoundEntry* sound);
    virtual void SetPan(SoundEntry* sound, int pan);
    // Playback rate in samples per second.
    virtual int GetFrequency(SoundEntry* sound);
    virtual void SetFrequency(SoundEntry* sound, int frequency);
    virtual uint32_t GetPosition(SoundEntry* sound);
    virtual void SetPosition(SoundEntry* sound, uint32_t position);
    virtual bool IsPlaying(SoundEntry* sound);
    virtual int GetSampleRate(SoundEntry* sound);
    virtual int GetBitsPerSample(SoundEntry* sound);
    virtual int GetChannels(SoundEntry* sound);
    virtual uint64_t GetFrameCount(SoundEntry* sound);
    virtual int GetFrameSize(SoundEntry* sound);
    uint64_t GetByteLength(SoundEntry* sound) { return GetFrameCount(sound) * uint64_t(GetFrameSize(sound)); }
    virtual void SelectDevice(int index);
    virtual int GetSelectedDevice() const;
    virtual int GetDeviceCount() const;
    virtual std::string GetDeviceName(int index) const;

    // The master volume over every sound, as a gain from 0 (silent) to 1
    // (each sound at its own volume); outside values are clamped. It holds
    // while the device is inactive and across a change of output.
    void SetMasterGain(float gain);
    float MasterGain() const { return m_masterGain; }

    // Streamed sounds are refilled from the frame's timer; static ones need
    // nothing. The base has nothing to refill.
    virtual void Service() {}

protected:
    // The entry kind of a device; the base's entries hold nothing.
    virtual std::unique_ptr<SoundEntry> MakeEntry();
    // The entries in creation order.
    const std::vector<std::unique_ptr<SoundEntry>>& Sounds() const { return m_sounds; }
    // A working device puts the master gain on its output.
    virtual void ApplyMasterGain(float) {}

private:
    std::vector<std::unique_ptr<SoundEntry>> m_sounds;
    float m_masterGain = 1.0f;
};
