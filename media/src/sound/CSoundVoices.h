#pragma once
// The library objects behind one loaded sound while the device is active.
// A static sound has one voice per copy, all playing the same buffers (the
// copies share their memory, as duplicated sound buffers do); a streamed
// sound has one voice fed from a queue of chunk buffers that are refilled as
// they play through.
//
// How a voice reaches the output's channels (SoundPanning):
// - PerChannel, on any output of two channels or more: a voice is a pair of
//   sources played in step, one carrying the sound's left channel to the
//   output's left, the other its right channel to the right, each straight
//   onto its output channel without any placement in space (and so without
//   the library's head-related filtering or its pan law, which would take a
//   centred sound down to 0.6 of its level on each side). The gain of each
//   source is the volume times that channel's share of the pan: pan 0 plays
//   at full level on both channels, as a sound card's buffer does.
// - Placed, on a mono output (or a library without direct channels): one
//   source per voice, placed in the pan's direction.
//
// Stopping and restarting fade: a voice that sounds is never cut off. Its
// sources are turned down to silence, which the library ramps over the next
// piece of mix it makes (5 to 10 ms, SOUND_FADE_SECONDS at most), and let go once they have played past that ramp; the
// voice goes on with fresh sources at once, so a restart sounds over the old
// sound's fade and the stop position is kept for a later start without one.
//
// Each voice keeps the pan, volume and frequency it was last given in the
// device's units (hundredths of a decibel, samples per second), because the
// library only holds the converted values and the device must answer with
// what the caller set.
//
// Every call expects the device's context to be current.

#include "COpenAlLibrary.h"
#include "media/WaveFormat.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

// The longest piece of mix an output makes at a time (a sound card's: the
// loopback mixer makes pieces of half that), and so the longest a stopped
// sound takes to fade out.
constexpr double SOUND_FADE_SECONDS = 0.010;

enum class SoundPanning { PerChannel, Placed };

class CSoundVoices {
public:
    // Library names for the two sides of a voice: its sources, or the
    // buffers they play; `right` is 0 when placed.
    struct Sides {
        ALuint left = 0;
        ALuint right = 0;
    };
    using Sources = Sides;
    struct Voice {
        Sources sources;
        int pan = 0;
        int volume = 0;
        int frequency = 0;
        // Where a voice that is not under way starts next (the library
        // only reports a position while a source is playing).
        uint32_t cursor = 0;
        // Streamed: stopped, and fading to silence while what was queued
        // runs out.
        bool silenced = false;
    };

    // Null when the format has no library equivalent (not 8- or 16-bit PCM
    // in one or two channels), the data are empty or too large, or the
    // library refuses the buffer or the first voice. Copies the library
    // cannot make are left out, as duplicates that fail are.
    static std::unique_ptr<CSoundVoices> CreateStatic(const OpenAlFunctions& fn, SoundPanning panning,
                                                     const WaveFormat& format, const std::vector<uint8_t>& data,
                                                     int copies);
    // One voice and `chunks` empty chunks.
    static std::unique_ptr<CSoundVoices> CreateStreamed(const OpenAlFunctions& fn, SoundPanning panning,
                                                       const WaveFormat& format, int chunks);
    ~CSoundVoices();
    CSoundVoices(const CSoundVoices&) = delete;
    CSoundVoices& operator=(const CSoundVoices&) = delete;

    size_t Count() const { return m_voices.size(); }
    Voice& At(size_t index) { return m_voices[index]; }
    // The voice the next play uses; the turn passes to the following one.
    size_t TakeNext();

    bool IsPlaying(size_t index) const;
    bool IsAnyPlaying() const;
    // Static sounds: a voice that sounds fades out and the voice stands
    // still at the position it had, so a later start without one continues.
    void Stop(size_t index);
    void StopAll();
    // Starts the voice from its position; a voice already under way only
    // takes the loop flag.
    void Start(size_t index, bool loop);
    // Lets go of faded sources that have played past their fade. Cheap when
    // nothing fades; called before every use.
    void Reap();

    // Values outside the device's ranges are refused and leave the voice as
    // it was. Frequency SOUND_FREQUENCY_ORIGINAL means the sound's own rate.
    void SetPan(size_t index, int pan);
    void SetVolume(size_t index, int volume);
    void SetFrequency(size_t index, int frequency);
    // Byte positions in the playback format; positions past the end are
    // refused, others rounded down to whole sample frames.
    uint32_t GetPosition(size_t index) const;
    void SetPosition(size_t index, uint32_t position);

    // Streamed sounds. The library counts every chunk on a stopped source
    // as played, so a source is rewound to its initial state before new
    // chunks go on it; a rewound source counts none as played.
    // Stops the voice at once and takes every chunk off it.
    void ResetQueue();
    // Fades the voice out; what is queued runs out unheard.
    void Silence();
    // Chunks ready to be filled (indices): those never queued and those the
    // voice has played through (taken off its queue here).
    std::vector<size_t> TakeFreeChunks();
    void Rewind();
    // Puts a filled chunk on the queue; false (and the chunk kept aside for
    // later) when the library refuses it.
    bool Queue(size_t chunk, const uint8_t* data, size_t size);
    // Keeps a chunk that was not filled for a later refill.
    void ReturnChunk(size_t chunk) { m_idleChunks.push_back(chunk); }
    // The voice has played all it was given (or never started).
    bool IsStopped() const;

private:
    // The buffers of one chunk (or of the static sound): per channel, or
    // one in the playback format when placed.
    using Buffers = Sides;
    // Sources turned down to silence and still running through their fade.
    struct Fading {
        Sources sources;
        // Sample frame where the fade began, and how far the sources must
        // get past it before they are surely silent.
        ALint from = 0;
        ALint frames = 0;
    };

    CSoundVoices(const OpenAlFunctions& fn, SoundPanning panning, const WaveFormat& format)
        : m_fn(fn), m_panning(panning), m_format(format)
    {
    }
    bool MakeBuffers(Buffers& buffers);
    bool FillBuffers(const Buffers& buffers, const uint8_t* data, size_t size);
    void DeleteBuffers(Buffers& buffers);
    bool AddVoice();
    // Fresh sources set up for this sound (a spare pair when there is one);
    // false when the library has none to give.
    bool TakeSources(Sources& sources);
    void DeleteSources(Sources& sources);
    void ApplyProperties(const Voice& voice);
    void SetOnSources(const Sources& sources, ALenum property, float value) const;
    void SetOnSources(const Sources& sources, ALenum property, ALint value) const;
    ALint StateOf(const Sources& sources) const;
    ALint FrameOf(const Sources& sources) const;

    const OpenAlFunctions& m_fn;
    SoundPanning m_panning;
    WaveFormat m_format;
    std::vector<Voice> m_voices;
    size_t m_next = 0;
    // The static sound's buffers and its length in playback bytes.
    Buffers m_buffers;
    uint32_t m_bufferBytes = 0;
    // The streamed sound's chunks, and those not on the queue.
    std::vector<Buffers> m_chunks;
    std::vector<size_t> m_idleChunks;
    std::vector<Fading> m_fading;
    std::vector<Sources> m_spare;
};
