#pragma once
// CVideoSoundtrack: the audio track of a video, decoded whole to 16-bit PCM
// when the video opens and loaded into the game's sound device as one static
// sound, so it plays beside the frames without the player feeding it. The
// player starts it at the play position and stops it with the video.
//
// The track is outside input like the rest of the file: only a few audio
// codecs are opened, at most two channels are kept, and decoding stops at a
// fixed size. A track that does not decode is left out; the video plays
// silently then.

#include <cstddef>
#include <cstdint>
#include <memory>

class CSoundDevice;
struct SoundEntry;

class CVideoSoundtrack {
public:
    // Null when the bytes hold no usable audio track or the device will not
    // take the sound. `data` need not outlive the result.
    static std::unique_ptr<CVideoSoundtrack> Load(const uint8_t* data, size_t size, CSoundDevice& device);
    ~CVideoSoundtrack();
    CVideoSoundtrack(const CVideoSoundtrack&) = delete;
    CVideoSoundtrack& operator=(const CVideoSoundtrack&) = delete;

    // Plays from `microseconds` into the track; nothing past its end.
    void PlayFrom(int64_t microseconds);
    void Stop();

private:
    CVideoSoundtrack(CSoundDevice& device) : m_device(device) {}

    CSoundDevice& m_device;
    SoundEntry* m_sound = nullptr;
    uint32_t m_rate = 0;
    int m_channels = 0;
    uint32_t m_bytes = 0;
};

// Most PCM a soundtrack keeps (about six minutes of CD-quality stereo).
constexpr size_t VIDEO_MAX_SOUNDTRACK_BYTES = size_t(64) << 20;
