#pragma once
// CDirectSoundDevice: the working sound device. It plays through the OpenAL
// Soft library, which it loads itself at run time; when the library, its
// functions or an output device are missing it stays silent and every call
// still returns normally (Load opens the file all the same and returns
// SOUND_OK).
//
// Activation needs a window (any non-null handle: the output is not tied to
// it, but a device without one stays inactive, as the game expects).
//
// A loaded sound keeps its audio file open. While the device is active each
// sound also has library objects: a static sound is converted once into one
// buffer played by one source per copy; a streamed sound has one source fed
// one second of sound at a time in quarter-second chunks, refilled by
// Service(). Deactivating releases those objects and keeps the files;
// activating builds them again, so sounds survive focus changes and a device
// that was lost and reopened.
//
// Pan and volume are gains on each output channel (pan 0 plays at full level
// on both), never a place in space, and the library's head-related filtering
// is kept off. A sound that is stopped, or started again while it plays,
// fades out over 5 to 10 ms instead of being cut off with a click.
//
// Loopback rendering. A device made by CreateLoopback mixes into memory
// instead of a sound card, and only when asked: RenderSamples(out, n) runs
// the mixer for exactly n sample frames. Everything else behaves as usual.
// With a fixed frame time the samples depend only on the calls made between
// renders, so a replayed run gives the same samples every time. The game's
// frame uses it like this (CSoundRecorder does the sums and keeps the data):
//
//   auto device = CDirectSoundDevice::CreateLoopback(MakePcmFormat(22050, 16, 2));
//   device->SetWindowAndFormat(window, &primary);              // as usual
//   device->SetActive(true);                                   // as usual
//   CSoundRecorder recorder(*device);
//   each pass, after the pass's Play/Stop calls:
//       recorder.Advance(fixedFrameTime);   // renders round(t x rate) frames in all
//   from the frame's timer: device->Service();
//   at exit: recorder.Save("hunt.wav");      // whole or not at all
//
// Without the loopback extension (or without the library) RenderSamples
// writes silence and returns false, so the recording keeps its length.

#include "media/CSoundDevice.h"

#include <memory>
#include <string>
#include <vector>

class CAudioFile;
class COpenAlLibrary;
class COpenAlOutput;
struct DirectSoundEntry;

class CDirectSoundDevice : public CSoundDevice {
public:
    // Plays to a sound card. `libraryName` is the file the run-time loader
    // opens ("libopenal.so.1"; tests name a missing one to get silence).
    explicit CDirectSoundDevice(const std::string& libraryName = DefaultLibraryName());
    // Mixes into memory in `output` (PCM, 8 or 16 bits, 1 or 2 channels).
    static std::unique_ptr<CDirectSoundDevice> CreateLoopback(const WaveFormat& output,
                                                              const std::string& libraryName = DefaultLibraryName());
    // Over a library the caller loaded (null: silent); `loopback` null plays
    // to a sound card.
    CDirectSoundDevice(std::shared_ptr<COpenAlLibrary> library, const WaveFormat* loopback);
    ~CDirectSoundDevice() override;

    // "libopenal.so.1", or the name in the environment variable
    // VELDRA_OPENAL_LIBRARY when set: a test points it at a missing file to
    // run the whole program silently (an empty library path is not enough,
    // the system's folders are still searched).
    static std::string DefaultLibraryName();

    void SetWindowAndFormat(void* window, const WaveFormat* format) override;
    uint32_t GetCapsMask() override;
    int LoadBlock(SoundEntry* sound, CMemoryBlock* block, int copies, const SoundLoadOptions& options = {}) override;
    int Load(SoundEntry* sound, const std::string& name, int copies, const SoundLoadOptions& options = {}) override;
    int LoadResource(SoundEntry* sound, const ResourceTable* module, const char* name, int copies) override;
    void Unload(SoundEntry* sound) override;
    bool IsLoaded(SoundEntry* sound) const override;
    void SetActive(bool active) override;
    bool IsActive() const override { return m_active; }
    void Play(SoundEntry* sound, int position, int pan, int volume, int frequency, bool loop) override;
    void Stop(SoundEntry* sound) override;
    int GetVolume(SoundEntry* sound) override;
    void SetVolume(SoundEntry* sound, int volume) override;
    int GetPan(SoundEntry* sound) override;
    void SetPan(SoundEntry* sound, int pan) override;
    int GetFrequency(SoundEntry* sound) override;
    void SetFrequency(SoundEntry* sound, int frequency) override;
    uint32_t GetPosition(SoundEntry* sound) override;
    void SetPosition(SoundEntry* sound, uint32_t position) override;
    bool IsPlaying(SoundEntry* sound) override;
    int GetSampleRate(SoundEntry* sound) override;
    int GetBitsPerSample(SoundEntry* sound) override;
    int GetChannels(SoundEntry* sound) override;
    uint64_t GetFrameCount(SoundEntry* sound) override;
    int GetFrameSize(SoundEntry* sound) override;
    void SelectDevice(int index) override;
    int GetSelectedDevice() const override;
    int GetDeviceCount() const override;
    std::string GetDeviceName(int index) const override;
    // Refills streamed sounds that have played through a chunk, restarts a
    // stream that ran dry, and reopens a device that was disconnected. Call
    // it from a timer several times a second; it costs little when nothing
    // is streamed.
    void Service() override;

    // True when the library loaded (the device is not silent for want of it).
    bool HasLibrary() const;
    bool IsLoopback() const;
    // True when an output is open (active, and not lost).
    bool IsOutputOpen() const;
    // The format RenderSamples writes (a loopback device only).
    const WaveFormat& GetLoopbackFormat() const;
    // Mixes the next `frames` sample frames into `out`, which must hold
    // frames x the loopback format's block align bytes. Writes silence and
    // returns false when nothing is mixed (not a loopback device, no
    // library or extension, inactive).
    bool RenderSamples(void* out, uint32_t frames);

protected:
    std::unique_ptr<SoundEntry> MakeEntry() override;
    void ApplyMasterGain(float gain) override;

private:
    DirectSoundEntry* EntryOf(SoundEntry* sound) const;
    // The entry when the device can play it (output open, sound buffered);
    // makes the device's context current on the way.
    DirectSoundEntry* Playable(SoundEntry* sound);
    int FinishLoad(DirectSoundEntry& entry, std::unique_ptr<CAudioFile> file, bool streamed, int copies,
                   uint32_t flags);
    void MakeConverter(DirectSoundEntry& entry);
    void BuildVoices(DirectSoundEntry& entry);
    void ReleaseVoices(DirectSoundEntry& entry);
    void ReleaseAllVoices();
    bool RecoverLostDevice();
    void PlayVoice(DirectSoundEntry& entry, int position, int pan, int volume, int frequency, bool loop);
    // Streamed sounds: the chunk queue refilled from the converter, from
    // the converter's position (restart) or as chunks have played through;
    // the chunks queued.
    int Refill(DirectSoundEntry& entry, bool restart);
    size_t FillChunk(DirectSoundEntry& entry, std::vector<uint8_t>& chunk);
    void SeekStream(DirectSoundEntry& entry, uint32_t position);
    WaveFormat ChoosePlaybackFormat(const WaveFormat& file, uint32_t flags);

    std::unique_ptr<COpenAlOutput> m_output;
    WaveFormat m_primary;
    bool m_active = false;
    void* m_window = nullptr;
    // Service calls since a lost device last failed to reopen.
    unsigned m_retryCountdown = 0;
};
