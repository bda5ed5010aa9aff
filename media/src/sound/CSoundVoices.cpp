#include "CSoundVoices.h"

#include "media/CSoundDevice.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace {
ALenum LibraryFormatOf(const WaveFormat& format)
{
    if (!format.IsPcm() || format.samplesPerSec == 0)
        return 0;
    if (format.channels == 1)
        return format.bitsPerSample == 8 ? AL_FORMAT_MONO8 : format.bitsPerSample == 16 ? AL_FORMAT_MONO16 : 0;
    if (format.channels == 2)
        return format.bitsPerSample == 8 ? AL_FORMAT_STEREO8 : format.bitsPerSample == 16 ? AL_FORMAT_STEREO16 : 0;
    return 0;
}

// Hundredths of a decibel to a linear gain: 10^(volume / 2000).
float GainOf(int volume)
{
    return static_cast<float>(std::pow(10.0, volume / 2000.0));
}

// A pan attenuates the far channel by |pan| hundredths of a decibel. The
// library pans by direction, so the source is put where a constant-power
// panner would give the same ratio of the two channels: with channel gains
// (cos p, sin p) for p in [0, pi/2], tan p = right / left, and the direction
// 2p - pi/2 runs from hard left (-pi/2) through straight ahead to hard right.
void DirectionOf(int pan, float& x, float& z)
{
    const double far = std::pow(10.0, -std::abs(pan) / 2000.0);
    const double left = pan > 0 ? far : 1.0;
    const double right = pan < 0 ? far : 1.0;
    const double direction = 2.0 * std::atan2(right, left) - M_PI / 2.0;
    x = static_cast<float>(std::sin(direction));
    z = static_cast<float>(-std::cos(direction));
}
} // namespace

std::unique_ptr<CSoundVoices> CSoundVoices::CreateStatic(const OpenAlFunctions& fn, const WaveFormat& format,
                                                         const std::vector<uint8_t>& data, int copies)
{
    const ALenum alFormat = LibraryFormatOf(format);
    if (!alFormat || data.empty() || data.size() > size_t(INT_MAX))
        return nullptr;
    std::unique_ptr<CSoundVoices> voices(new CSoundVoices(fn, format));
    voices->m_alFormat = alFormat;
    fn.alGetError();
    fn.alGenBuffers(1, &voices->m_buffer);
    if (fn.alGetError() != AL_NO_ERROR) {
        voices->m_buffer = 0;
        return nullptr;
    }
    fn.alBufferData(voices->m_buffer, alFormat, data.data(), static_cast<ALsizei>(data.size()),
                    static_cast<ALsizei>(format.samplesPerSec));
    if (fn.alGetError() != AL_NO_ERROR)
        return nullptr;
    voices->m_bufferBytes = static_cast<uint32_t>(data.size());
    for (int i = 0; i < std::max(copies, 1); ++i)
        if (!voices->AddSource())
            break;
    if (voices->m_voices.empty())
        return nullptr;
    return voices;
}

std::unique_ptr<CSoundVoices> CSoundVoices::CreateStreamed(const OpenAlFunctions& fn, const WaveFormat& format,
                                                           int chunks)
{
    const ALenum alFormat = LibraryFormatOf(format);
    if (!alFormat || chunks < 1)
        return nullptr;
    std::unique_ptr<CSoundVoices> voices(new CSoundVoices(fn, format));
    voices->m_alFormat = alFormat;
    fn.alGetError();
    std::vector<ALuint> chunkIds(static_cast<size_t>(chunks));
    fn.alGenBuffers(chunks, chunkIds.data());
    if (fn.alGetError() != AL_NO_ERROR)
        return nullptr;
    voices->m_chunks = chunkIds;
    voices->m_idleChunks = chunkIds;
    if (!voices->AddSource())
        return nullptr;
    return voices;
}

bool CSoundVoices::AddSource()
{
    Voice voice;
    m_fn.alGetError();
    m_fn.alGenSources(1, &voice.source);
    if (m_fn.alGetError() != AL_NO_ERROR)
        return false;
    // Pan is the only placement: the source sits one unit away in the pan's
    // direction, moving with the listener, and distance never attenuates.
    m_fn.alSourcei(voice.source, AL_SOURCE_RELATIVE, AL_TRUE);
    m_fn.alSourcef(voice.source, AL_ROLLOFF_FACTOR, 0.0f);
    m_fn.alSource3f(voice.source, AL_POSITION, 0.0f, 0.0f, -1.0f);
    if (m_buffer)
        m_fn.alSourcei(voice.source, AL_BUFFER, static_cast<ALint>(m_buffer));
    voice.frequency = static_cast<int>(m_format.samplesPerSec);
    m_voices.push_back(voice);
    return true;
}

CSoundVoices::~CSoundVoices()
{
    // Sources first: a buffer still attached to one cannot be deleted.
    for (Voice& voice : m_voices) {
        m_fn.alSourceStop(voice.source);
        m_fn.alSourcei(voice.source, AL_BUFFER, 0);
        m_fn.alDeleteSources(1, &voice.source);
    }
    if (m_buffer)
        m_fn.alDeleteBuffers(1, &m_buffer);
    if (!m_chunks.empty())
        m_fn.alDeleteBuffers(static_cast<ALsizei>(m_chunks.size()), m_chunks.data());
}

size_t CSoundVoices::TakeNext()
{
    const size_t index = m_next;
    m_next = (m_next + 1) % m_voices.size();
    return index;
}

ALint CSoundVoices::StateOf(size_t index) const
{
    ALint state = AL_INITIAL;
    m_fn.alGetSourcei(m_voices[index].source, AL_SOURCE_STATE, &state);
    return state;
}

bool CSoundVoices::IsPlaying(size_t index) const
{
    return StateOf(index) == AL_PLAYING;
}

bool CSoundVoices::IsAnyPlaying() const
{
    for (size_t i = 0; i < m_voices.size(); ++i)
        if (IsPlaying(i))
            return true;
    return false;
}

void CSoundVoices::Pause(size_t index)
{
    if (IsPlaying(index))
        m_fn.alSourcePause(m_voices[index].source);
}

void CSoundVoices::PauseAll()
{
    for (size_t i = 0; i < m_voices.size(); ++i)
        Pause(i);
}

void CSoundVoices::Start(size_t index, bool loop)
{
    Voice& voice = m_voices[index];
    // A queue must not loop: the refill decides what follows its end.
    m_fn.alSourcei(voice.source, AL_LOOPING, loop && m_buffer ? AL_TRUE : AL_FALSE);
    m_fn.alSourcePlay(voice.source);
    // A position set while the source was still is used up by the start.
    voice.cursor = 0;
}

void CSoundVoices::SetPan(size_t index, int pan)
{
    if (pan < SOUND_PAN_LEFT || pan > SOUND_PAN_RIGHT)
        return;
    float x = 0;
    float z = -1;
    DirectionOf(pan, x, z);
    m_fn.alSource3f(m_voices[index].source, AL_POSITION, x, 0.0f, z);
    m_voices[index].pan = pan;
}

void CSoundVoices::SetVolume(size_t index, int volume)
{
    if (volume < SOUND_VOLUME_MIN || volume > SOUND_VOLUME_MAX)
        return;
    m_fn.alSourcef(m_voices[index].source, AL_GAIN, GainOf(volume));
    m_voices[index].volume = volume;
}

void CSoundVoices::SetFrequency(size_t index, int frequency)
{
    if (frequency == SOUND_FREQUENCY_ORIGINAL)
        frequency = static_cast<int>(m_format.samplesPerSec);
    else if (frequency < SOUND_FREQUENCY_MIN || frequency > SOUND_FREQUENCY_MAX)
        return;
    // The buffer plays at its own rate with pitch 1.
    m_fn.alSourcef(m_voices[index].source, AL_PITCH,
                   static_cast<float>(double(frequency) / double(m_format.samplesPerSec)));
    m_voices[index].frequency = frequency;
}

uint32_t CSoundVoices::GetPosition(size_t index) const
{
    const ALint state = StateOf(index);
    if (state != AL_PLAYING && state != AL_PAUSED)
        return m_voices[index].cursor;
    ALint offset = 0;
    m_fn.alGetSourcei(m_voices[index].source, AL_BYTE_OFFSET, &offset);
    return offset > 0 ? static_cast<uint32_t>(offset) : 0;
}

void CSoundVoices::SetPosition(size_t index, uint32_t position)
{
    if (position >= m_bufferBytes)
        return;
    const uint32_t align = m_format.blockAlign ? m_format.blockAlign : 1;
    position -= position % align;
    Voice& voice = m_voices[index];
    m_fn.alSourcei(voice.source, AL_BYTE_OFFSET, static_cast<ALint>(position));
    const ALint state = StateOf(index);
    if (state != AL_PLAYING && state != AL_PAUSED)
        voice.cursor = position;
}

void CSoundVoices::ResetQueue()
{
    const ALuint source = m_voices.front().source;
    m_fn.alSourceStop(source);
    m_fn.alSourceRewind(source);
    m_fn.alSourcei(source, AL_BUFFER, 0);
    m_idleChunks = m_chunks;
}

void CSoundVoices::Rewind()
{
    m_fn.alSourceRewind(m_voices.front().source);
}

std::vector<ALuint> CSoundVoices::TakeFreeChunks()
{
    std::vector<ALuint> free;
    free.swap(m_idleChunks);
    const ALuint source = m_voices.front().source;
    ALint processed = 0;
    m_fn.alGetSourcei(source, AL_BUFFERS_PROCESSED, &processed);
    if (processed > 0 && processed <= static_cast<ALint>(m_chunks.size())) {
        std::vector<ALuint> done(static_cast<size_t>(processed));
        m_fn.alSourceUnqueueBuffers(source, processed, done.data());
        free.insert(free.end(), done.begin(), done.end());
    }
    return free;
}

bool CSoundVoices::Queue(ALuint chunk, const uint8_t* data, size_t size)
{
    const ALuint source = m_voices.front().source;
    m_fn.alGetError();
    m_fn.alBufferData(chunk, m_alFormat, data, static_cast<ALsizei>(size), static_cast<ALsizei>(m_format.samplesPerSec));
    if (m_fn.alGetError() == AL_NO_ERROR) {
        m_fn.alSourceQueueBuffers(source, 1, &chunk);
        if (m_fn.alGetError() == AL_NO_ERROR)
            return true;
    }
    ReturnChunk(chunk);
    return false;
}

bool CSoundVoices::IsStopped() const
{
    const ALint state = StateOf(0);
    return state == AL_STOPPED || state == AL_INITIAL;
}
