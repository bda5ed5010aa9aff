#pragma once
// The library objects behind one loaded sound while the device is active.
// A static sound has one source per copy, all playing the same buffer (the
// copies share its memory, as duplicated sound buffers do); a streamed sound
// has one source fed from a queue of chunk buffers that are refilled as they
// play through.
//
// Each source keeps the pan, volume and frequency it was last given in the
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

class CSoundVoices {
public:
    struct Voice {
        ALuint source = 0;
        int pan = 0;
        int volume = 0;
        int frequency = 0;
        // Where a source that is not under way starts next (the library
        // only reports a position while a source is playing or paused).
        uint32_t cursor = 0;
    };

    // Null when the format has no library equivalent (not 8- or 16-bit PCM
    // in one or two channels), the data are empty or too large, or the
    // library refuses the buffer or the first source. Copies the library
    // cannot make are left out, as duplicates that fail are.
    static std::unique_ptr<CSoundVoices> CreateStatic(const OpenAlFunctions& fn, const WaveFormat& format,
                                                     const std::vector<uint8_t>& data, int copies);
    // One source and `chunks` empty chunk buffers.
    static std::unique_ptr<CSoundVoices> CreateStreamed(const OpenAlFunctions& fn, const WaveFormat& format,
                                                       int chunks);
    ~CSoundVoices();
    CSoundVoices(const CSoundVoices&) = delete;
    CSoundVoices& operator=(const CSoundVoices&) = delete;

    size_t Count() const { return m_voices.size(); }
    Voice& At(size_t index) { return m_voices[index]; }
    // The voice the next play uses; the turn passes to the following one.
    size_t TakeNext();

    bool IsPlaying(size_t index) const;
    bool IsAnyPlaying() const;
    // Stopping keeps the position, so a later start without one continues.
    void Pause(size_t index);
    void PauseAll();
    void Start(size_t index, bool loop);

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
    // Stops the source and takes every chunk off it.
    void ResetQueue();
    // Chunk buffers ready to be filled: those never queued and those the
    // source has played through (taken off its queue here).
    std::vector<ALuint> TakeFreeChunks();
    void Rewind();
    // Puts a filled chunk on the queue; false (and the chunk kept aside for
    // later) when the library refuses it.
    bool Queue(ALuint chunk, const uint8_t* data, size_t size);
    // Keeps a chunk that was not filled for a later refill.
    void ReturnChunk(ALuint chunk) { m_idleChunks.push_back(chunk); }
    // The source has played all it was given (or never started).
    bool IsStopped() const;

private:
    CSoundVoices(const OpenAlFunctions& fn, const WaveFormat& format) : m_fn(fn), m_format(format) {}
    bool AddSource();
    ALint StateOf(size_t index) const;

    const OpenAlFunctions& m_fn;
    WaveFormat m_format;
    ALenum m_alFormat = 0;
    std::vector<Voice> m_voices;
    size_t m_next = 0;
    // The static sound's buffer and its length in bytes.
    ALuint m_buffer = 0;
    uint32_t m_bufferBytes = 0;
    // The streamed sound's chunk buffers, and those not on the queue.
    std::vector<ALuint> m_chunks;
    std::vector<ALuint> m_idleChunks;
};
