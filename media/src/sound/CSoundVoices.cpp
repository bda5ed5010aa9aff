#include "CSoundVoices.h"

#include "media/CSoundDevice.h"

#include <algorithm>
#include <cassert>
#include <climits>
#include <cmath>
#include <cstring>

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
double GainOf(int volume)
{
    return std::pow(10.0, volume / 2000.0);
}

// A pan attenuates the far channel by |pan| hundredths of a decibel and
// leaves the near one (both, at pan 0) at full level.
double LeftShare(int pan)
{
    return pan > 0 ? GainOf(-pan) : 1.0;
}

double RightShare(int pan)
{
    return pan < 0 ? GainOf(pan) : 1.0;
}

// Placed voices: the library pans by direction, so the source is put where
// a constant-power panner would give the same ratio of the two channels:
// with channel gains (cos p, sin p) for p in [0, pi/2], tan p = right / left,
// and the direction 2p - pi/2 runs from hard left (-pi/2) through straight
// ahead to hard right.
void DirectionOf(int pan, float& x, float& z)
{
    const double direction = 2.0 * std::atan2(RightShare(pan), LeftShare(pan)) - M_PI / 2.0;
    x = static_cast<float>(std::sin(direction));
    z = static_cast<float>(-std::cos(direction));
}

// One sample of PCM data as a 16-bit value.
int16_t SampleAt(const uint8_t* data, uint16_t bits, size_t index)
{
    if (bits == 8)
        return static_cast<int16_t>((int(data[index]) - 128) * 256);
    int16_t value;
    std::memcpy(&value, data + index * 2, 2);
    return value;
}
} // namespace

std::unique_ptr<CSoundVoices> CSoundVoices::CreateStatic(const OpenAlFunctions& fn, SoundPanning panning,
                                                         const WaveFormat& format, const std::vector<uint8_t>& data,
                                                         int copies)
{
    if (!LibraryFormatOf(format) || data.empty() || data.size() > size_t(INT_MAX) / 4)
        return nullptr;
    std::unique_ptr<CSoundVoices> voices(new CSoundVoices(fn, panning, format));
    if (!voices->MakeBuffers(voices->m_buffers) || !voices->FillBuffers(voices->m_buffers, data.data(), data.size()))
        return nullptr;
    voices->m_bufferBytes = static_cast<uint32_t>(data.size());
    for (int i = 0; i < std::max(copies, 1); ++i)
        if (!voices->AddVoice())
            break;
    if (voices->m_voices.empty())
        return nullptr;
    return voices;
}

std::unique_ptr<CSoundVoices> CSoundVoices::CreateStreamed(const OpenAlFunctions& fn, SoundPanning panning,
                                                           const WaveFormat& format, int chunks)
{
    if (!LibraryFormatOf(format) || chunks < 1)
        return nullptr;
    std::unique_ptr<CSoundVoices> voices(new CSoundVoices(fn, panning, format));
    for (int i = 0; i < chunks; ++i) {
        Buffers buffers;
        if (!voices->MakeBuffers(buffers))
            return nullptr;
        voices->m_chunks.push_back(buffers);
        voices->m_idleChunks.push_back(size_t(i));
    }
    if (!voices->AddVoice())
        return nullptr;
    return voices;
}

bool CSoundVoices::MakeBuffers(Buffers& buffers)
{
    m_fn.alGetError();
    ALuint ids[2] = {};
    const ALsizei count = m_panning == SoundPanning::PerChannel ? 2 : 1;
    m_fn.alGenBuffers(count, ids);
    if (m_fn.alGetError() != AL_NO_ERROR)
        return false;
    buffers.left = ids[0];
    buffers.right = ids[1];
    return true;
}

void CSoundVoices::DeleteBuffers(Buffers& buffers)
{
    if (buffers.left)
        m_fn.alDeleteBuffers(1, &buffers.left);
    if (buffers.right)
        m_fn.alDeleteBuffers(1, &buffers.right);
    buffers = Buffers{};
}

bool CSoundVoices::FillBuffers(const Buffers& buffers, const uint8_t* data, size_t size)
{
    const auto rate = static_cast<ALsizei>(m_format.samplesPerSec);
    m_fn.alGetError();
    if (m_panning == SoundPanning::Placed) {
        m_fn.alBufferData(buffers.left, LibraryFormatOf(m_format), data, static_cast<ALsizei>(size), rate);
        return m_fn.alGetError() == AL_NO_ERROR;
    }
    // Each buffer is stereo with the sound on its own side and silence on
    // the other, so each source feeds exactly one output channel. A mono
    // sound goes to both sides alike.
    const uint16_t channels = m_format.channels;
    const size_t frames = size / std::max<uint16_t>(m_format.blockAlign, 1);
    std::vector<int16_t> left(frames * 2, 0), right(frames * 2, 0);
    for (size_t f = 0; f < frames; ++f) {
        left[f * 2] = SampleAt(data, m_format.bitsPerSample, f * channels);
        right[f * 2 + 1] = SampleAt(data, m_format.bitsPerSample, f * channels + (channels - 1));
    }
    const auto bytes = static_cast<ALsizei>(left.size() * sizeof(int16_t));
    m_fn.alBufferData(buffers.left, AL_FORMAT_STEREO16, left.data(), bytes, rate);
    m_fn.alBufferData(buffers.right, AL_FORMAT_STEREO16, right.data(), bytes, rate);
    return m_fn.alGetError() == AL_NO_ERROR;
}

bool CSoundVoices::TakeSources(Sources& sources)
{
    if (!m_spare.empty()) {
        sources = m_spare.back();
        m_spare.pop_back();
        return true;
    }
    ALuint ids[2] = {};
    const bool perChannel = m_panning == SoundPanning::PerChannel;
    m_fn.alGetError();
    m_fn.alGenSources(perChannel ? 2 : 1, ids);
    if (m_fn.alGetError() != AL_NO_ERROR)
        return false;
    sources.left = ids[0];
    sources.right = ids[1];
    // The sources move with the listener and distance never attenuates;
    // per channel, they also skip every placement and go straight to the
    // output channel their buffer's side names.
    SetOnSources(sources, AL_SOURCE_RELATIVE, AL_TRUE);
    SetOnSources(sources, AL_ROLLOFF_FACTOR, 0.0f);
    if (perChannel)
        SetOnSources(sources, AL_DIRECT_CHANNELS_SOFT, AL_TRUE);
    else
        m_fn.alSource3f(sources.left, AL_POSITION, 0.0f, 0.0f, -1.0f);
    if (m_buffers.left) {
        m_fn.alSourcei(sources.left, AL_BUFFER, static_cast<ALint>(m_buffers.left));
        if (sources.right)
            m_fn.alSourcei(sources.right, AL_BUFFER, static_cast<ALint>(m_buffers.right));
    }
    return true;
}

void CSoundVoices::DeleteSources(Sources& sources)
{
    // Sources first: a buffer still attached to one cannot be deleted.
    for (ALuint* source : {&sources.left, &sources.right}) {
        if (!*source)
            continue;
        m_fn.alSourceStop(*source);
        m_fn.alSourcei(*source, AL_BUFFER, 0);
        m_fn.alDeleteSources(1, source);
        *source = 0;
    }
}

bool CSoundVoices::AddVoice()
{
    Voice voice;
    if (!TakeSources(voice.sources))
        return false;
    voice.frequency = static_cast<int>(m_format.samplesPerSec);
    m_voices.push_back(voice);
    ApplyProperties(m_voices.back());
    return true;
}

CSoundVoices::~CSoundVoices()
{
    for (Voice& voice : m_voices)
        DeleteSources(voice.sources);
    for (Fading& fading : m_fading)
        DeleteSources(fading.sources);
    for (Sources& sources : m_spare)
        DeleteSources(sources);
    DeleteBuffers(m_buffers);
    for (Buffers& chunk : m_chunks)
        DeleteBuffers(chunk);
}

void CSoundVoices::SetOnSources(const Sources& sources, ALenum property, float value) const
{
    m_fn.alSourcef(sources.left, property, value);
    if (sources.right)
        m_fn.alSourcef(sources.right, property, value);
}

void CSoundVoices::SetOnSources(const Sources& sources, ALenum property, ALint value) const
{
    m_fn.alSourcei(sources.left, property, value);
    if (sources.right)
        m_fn.alSourcei(sources.right, property, value);
}

void CSoundVoices::ApplyProperties(const Voice& voice)
{
    const double gain = voice.silenced ? 0.0 : GainOf(voice.volume);
    if (m_panning == SoundPanning::PerChannel) {
        m_fn.alSourcef(voice.sources.left, AL_GAIN, static_cast<float>(gain * LeftShare(voice.pan)));
        m_fn.alSourcef(voice.sources.right, AL_GAIN, static_cast<float>(gain * RightShare(voice.pan)));
    } else {
        float x = 0;
        float z = -1;
        DirectionOf(voice.pan, x, z);
        m_fn.alSource3f(voice.sources.left, AL_POSITION, x, 0.0f, z);
        m_fn.alSourcef(voice.sources.left, AL_GAIN, static_cast<float>(gain));
    }
    // The buffer plays at its own rate with pitch 1.
    SetOnSources(voice.sources, AL_PITCH,
                 static_cast<float>(double(voice.frequency) / double(m_format.samplesPerSec)));
}

size_t CSoundVoices::TakeNext()
{
    const size_t index = m_next;
    m_next = (m_next + 1) % m_voices.size();
    return index;
}

ALint CSoundVoices::StateOf(const Sources& sources) const
{
    ALint state = AL_INITIAL;
    m_fn.alGetSourcei(sources.left, AL_SOURCE_STATE, &state);
    return state;
}

ALint CSoundVoices::FrameOf(const Sources& sources) const
{
    ALint frame = 0;
    m_fn.alGetSourcei(sources.left, AL_SAMPLE_OFFSET, &frame);
    return std::max(frame, 0);
}

bool CSoundVoices::IsPlaying(size_t index) const
{
    const Voice& voice = m_voices[index];
    return !voice.silenced && StateOf(voice.sources) == AL_PLAYING;
}

bool CSoundVoices::IsAnyPlaying() const
{
    for (size_t i = 0; i < m_voices.size(); ++i)
        if (IsPlaying(i))
            return true;
    return false;
}

void CSoundVoices::Stop(size_t index)
{
    Voice& voice = m_voices[index];
    if (StateOf(voice.sources) != AL_PLAYING)
        return;
    assert(m_buffers.left && "a stream is silenced, its sources are not swapped");
    const uint32_t cursor = GetPosition(index);
    Sources fresh;
    if (!TakeSources(fresh)) {
        // No sources for the swap: cut the sound off where it is.
        ALuint ids[2] = {voice.sources.left, voice.sources.right};
        m_fn.alSourcePausev(voice.sources.right ? 2 : 1, ids);
        voice.cursor = cursor;
        return;
    }
    // The old sources fade to silence over the library's next piece of mix
    // and are let go once they have surely played through it.
    Fading fading;
    fading.sources = voice.sources;
    fading.from = FrameOf(voice.sources);
    const double pitch = std::max(1.0, double(voice.frequency) / double(m_format.samplesPerSec));
    fading.frames = static_cast<ALint>(std::ceil(3 * SOUND_FADE_SECONDS * m_format.samplesPerSec * pitch));
    // A loop shorter than that is measured within one turn of it.
    const auto length = static_cast<ALint>(m_bufferBytes / std::max<uint16_t>(m_format.blockAlign, 1));
    fading.frames = std::min(fading.frames, length * 3 / 4);
    SetOnSources(fading.sources, AL_GAIN, 0.0f);
    m_fading.push_back(fading);
    voice.sources = fresh;
    ApplyProperties(voice);
    SetPosition(index, cursor);
}

void CSoundVoices::StopAll()
{
    for (size_t i = 0; i < m_voices.size(); ++i)
        Stop(i);
}

void CSoundVoices::Reap()
{
    const ALint length = static_cast<ALint>(m_bufferBytes / std::max<uint16_t>(m_format.blockAlign, 1));
    for (size_t i = 0; i < m_fading.size();) {
        Fading& fading = m_fading[i];
        bool done = StateOf(fading.sources) != AL_PLAYING;
        if (!done) {
            // A looping sound may have wrapped past its end since.
            ALint played = FrameOf(fading.sources) - fading.from;
            if (played < 0)
                played += length;
            done = played >= fading.frames;
        }
        if (!done) {
            ++i;
            continue;
        }
        ALuint ids[2] = {fading.sources.left, fading.sources.right};
        m_fn.alSourceStopv(fading.sources.right ? 2 : 1, ids);
        SetOnSources(fading.sources, AL_LOOPING, AL_FALSE);
        m_spare.push_back(fading.sources);
        m_fading.erase(m_fading.begin() + std::ptrdiff_t(i));
    }
}

void CSoundVoices::Start(size_t index, bool loop)
{
    Voice& voice = m_voices[index];
    // A queue must not loop: the refill decides what follows its end.
    SetOnSources(voice.sources, AL_LOOPING, loop && m_buffers.left ? AL_TRUE : AL_FALSE);
    if (StateOf(voice.sources) == AL_PLAYING)
        return;
    // Both sides start in the same piece of mix.
    ALuint ids[2] = {voice.sources.left, voice.sources.right};
    m_fn.alSourcePlayv(voice.sources.right ? 2 : 1, ids);
    // A position set while the voice was still is used up by the start.
    voice.cursor = 0;
}

void CSoundVoices::SetPan(size_t index, int pan)
{
    if (pan < SOUND_PAN_LEFT || pan > SOUND_PAN_RIGHT)
        return;
    m_voices[index].pan = pan;
    ApplyProperties(m_voices[index]);
}

void CSoundVoices::SetVolume(size_t index, int volume)
{
    if (volume < SOUND_VOLUME_MIN || volume > SOUND_VOLUME_MAX)
        return;
    m_voices[index].volume = volume;
    ApplyProperties(m_voices[index]);
}

void CSoundVoices::SetFrequency(size_t index, int frequency)
{
    if (frequency == SOUND_FREQUENCY_ORIGINAL)
        frequency = static_cast<int>(m_format.samplesPerSec);
    else if (frequency < SOUND_FREQUENCY_MIN || frequency > SOUND_FREQUENCY_MAX)
        return;
    m_voices[index].frequency = frequency;
    ApplyProperties(m_voices[index]);
}

uint32_t CSoundVoices::GetPosition(size_t index) const
{
    const Voice& voice = m_voices[index];
    const ALint state = StateOf(voice.sources);
    if (state != AL_PLAYING && state != AL_PAUSED)
        return voice.cursor;
    return static_cast<uint32_t>(FrameOf(voice.sources)) * m_format.blockAlign;
}

void CSoundVoices::SetPosition(size_t index, uint32_t position)
{
    if (position >= m_bufferBytes)
        return;
    const uint32_t align = m_format.blockAlign ? m_format.blockAlign : 1;
    position -= position % align;
    Voice& voice = m_voices[index];
    SetOnSources(voice.sources, AL_SAMPLE_OFFSET, static_cast<ALint>(position / align));
    const ALint state = StateOf(voice.sources);
    if (state != AL_PLAYING && state != AL_PAUSED)
        voice.cursor = position;
}

void CSoundVoices::ResetQueue()
{
    Voice& voice = m_voices.front();
    ALuint ids[2] = {voice.sources.left, voice.sources.right};
    const ALsizei count = voice.sources.right ? 2 : 1;
    m_fn.alSourceStopv(count, ids);
    for (ALsizei i = 0; i < count; ++i) {
        m_fn.alSourceRewind(ids[i]);
        m_fn.alSourcei(ids[i], AL_BUFFER, 0);
    }
    m_idleChunks.clear();
    for (size_t i = 0; i < m_chunks.size(); ++i)
        m_idleChunks.push_back(i);
    voice.silenced = false;
    ApplyProperties(voice);
}

void CSoundVoices::Silence()
{
    Voice& voice = m_voices.front();
    voice.silenced = true;
    ApplyProperties(voice);
}

void CSoundVoices::Rewind()
{
    const Sources& sources = m_voices.front().sources;
    m_fn.alSourceRewind(sources.left);
    if (sources.right)
        m_fn.alSourceRewind(sources.right);
}

std::vector<size_t> CSoundVoices::TakeFreeChunks()
{
    std::vector<size_t> free;
    free.swap(m_idleChunks);
    const Sources& sources = m_voices.front().sources;
    ALint processed = 0;
    m_fn.alGetSourcei(sources.left, AL_BUFFERS_PROCESSED, &processed);
    if (sources.right) {
        // The two sides play in step; a side a little behind holds the
        // chunk back until both are through it.
        ALint right = 0;
        m_fn.alGetSourcei(sources.right, AL_BUFFERS_PROCESSED, &right);
        processed = std::min(processed, right);
    }
    if (processed > 0 && processed <= static_cast<ALint>(m_chunks.size())) {
        std::vector<ALuint> done(static_cast<size_t>(processed));
        m_fn.alSourceUnqueueBuffers(sources.left, processed, done.data());
        if (sources.right) {
            std::vector<ALuint> rightDone(static_cast<size_t>(processed));
            m_fn.alSourceUnqueueBuffers(sources.right, processed, rightDone.data());
        }
        for (ALuint id : done)
            for (size_t i = 0; i < m_chunks.size(); ++i)
                if (m_chunks[i].left == id)
                    free.push_back(i);
    }
    return free;
}

bool CSoundVoices::Queue(size_t chunk, const uint8_t* data, size_t size)
{
    assert(chunk < m_chunks.size());
    const Sources& sources = m_voices.front().sources;
    const Buffers& buffers = m_chunks[chunk];
    if (size <= size_t(INT_MAX) / 4 && FillBuffers(buffers, data, size)) {
        m_fn.alSourceQueueBuffers(sources.left, 1, &buffers.left);
        if (m_fn.alGetError() == AL_NO_ERROR) {
            if (!sources.right)
                return true;
            m_fn.alSourceQueueBuffers(sources.right, 1, &buffers.right);
            if (m_fn.alGetError() == AL_NO_ERROR)
                return true;
        }
    }
    ReturnChunk(chunk);
    return false;
}

bool CSoundVoices::IsStopped() const
{
    const ALint state = StateOf(m_voices.front().sources);
    return state == AL_STOPPED || state == AL_INITIAL;
}
