#include "media/CDirectSoundDevice.h"

#include "COpenAlLibrary.h"
#include "COpenAlOutput.h"
#include "DirectSoundEntry.h"
#include "common/CMemoryBlock.h"
#include "common/DataPath.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <new>

namespace {
// A streamed sound holds one second of sound in this many chunks; a chunk
// that has played through is refilled by the next Service().
constexpr int STREAM_CHUNKS = 4;

// The library mixes any of 8- and 16-bit, mono and stereo, for the output
// and for every sound (the primary and secondary flags of the mask), in
// software without emulation; bit 29 is always set.
constexpr uint32_t CAPS_PRIMARY_ALL = 0x0F;
constexpr uint32_t CAPS_SECONDARY_ALL = 0xF0;
constexpr uint32_t CAPS_ALWAYS = 0x20000000;
constexpr uint32_t CAPS_SECONDARY_MONO = 0x10;
constexpr uint32_t CAPS_SECONDARY_STEREO = 0x20;
constexpr uint32_t CAPS_SECONDARY_8BIT = 0x40;
constexpr uint32_t CAPS_SECONDARY_16BIT = 0x80;

// Sounds keep their file open and read it through a stream; a file is
// never opened for writing, so a game folder nobody may write still sounds.
constexpr uint32_t SOUND_OPEN_FILE = AUDIO_OPEN_STREAM | AUDIO_OPEN_READ_ONLY;
constexpr uint32_t SOUND_OPEN_BLOCK = AUDIO_OPEN_STREAM | AUDIO_OPEN_BLOCK;
// Load flags that pass into the audio file's open mode as they are: the
// access bits and the file type in the high half.
constexpr uint32_t SOUND_LOAD_OPEN_BITS = AUDIO_OPEN_STREAM | AUDIO_OPEN_READ_ONLY | 0xFFFF0000u;

constexpr const char* LIBRARY_ENVIRONMENT = "VELDRA_OPENAL_LIBRARY";

// While a lost device cannot be reopened, Service() tries again after this
// many calls rather than on every one.
constexpr unsigned LOST_DEVICE_RETRY_CALLS = 32;

// The converter's whole output, in whole frames; empty when it yields
// nothing or more than one library buffer can take.
std::vector<uint8_t> ReadWhole(CStream& converter, uint16_t blockAlign)
{
    std::vector<uint8_t> data;
    converter.Seek(0, STREAM_SEEK_SET);
    const int64_t total = converter.GetSize();
    if (total <= 0 || total > INT_MAX)
        return data;
    try {
        data.resize(static_cast<size_t>(total));
    } catch (const std::bad_alloc&) {
        return {};
    }
    size_t filled = 0;
    while (filled < data.size()) {
        const size_t got = converter.Read(data.data() + filled, data.size() - filled);
        if (got == 0)
            break;
        filled += got;
    }
    // A converter that yields less than it announced leaves no stale tail.
    filled -= filled % std::max<uint16_t>(blockAlign, 1);
    data.resize(filled);
    return data;
}

// Pan, volume and frequency are set on every copy of a sound and read from
// the first; a sound the device cannot play answers 0.
void SetOnEveryVoice(DirectSoundEntry* entry, void (CSoundVoices::*set)(size_t, int), int value)
{
    if (entry)
        for (size_t i = 0; i < entry->voices->Count(); ++i)
            (entry->voices.get()->*set)(i, value);
}

int FirstVoice(DirectSoundEntry* entry, int CSoundVoices::Voice::*property)
{
    return entry ? entry->voices->At(0).*property : 0;
}
} // namespace

std::string CDirectSoundDevice::DefaultLibraryName()
{
    const char* name = std::getenv(LIBRARY_ENVIRONMENT);
    return name && *name ? name : OPENAL_LIBRARY_NAME;
}

CDirectSoundDevice::CDirectSoundDevice(const std::string& libraryName)
    : CDirectSoundDevice(COpenAlLibrary::Load(libraryName), nullptr)
{
}

CDirectSoundDevice::CDirectSoundDevice(std::shared_ptr<COpenAlLibrary> library, const WaveFormat* loopback)
    : m_output(std::make_unique<COpenAlOutput>(std::move(library), loopback)),
      m_primary(MakePcmFormat(22050, 8, 1))
{
}

std::unique_ptr<CDirectSoundDevice> CDirectSoundDevice::CreateLoopback(const WaveFormat& output,
                                                                       const std::string& libraryName)
{
    return std::make_unique<CDirectSoundDevice>(COpenAlLibrary::Load(libraryName), &output);
}

CDirectSoundDevice::~CDirectSoundDevice()
{
    SetActive(false);
    // The entries go while the library their objects came from is loaded.
    while (!Sounds().empty())
        DeleteSound(Sounds().back().get());
    m_output->Close();
}

std::unique_ptr<SoundEntry> CDirectSoundDevice::MakeEntry()
{
    return std::make_unique<DirectSoundEntry>();
}

DirectSoundEntry* CDirectSoundDevice::EntryOf(SoundEntry* sound) const
{
    // Only entries of this device are looked into: a freed or foreign
    // pointer is compared, never followed.
    if (!sound)
        return nullptr;
    for (const auto& entry : Sounds())
        if (entry.get() == sound)
            return static_cast<DirectSoundEntry*>(sound);
    return nullptr;
}

DirectSoundEntry* CDirectSoundDevice::Playable(SoundEntry* sound)
{
    DirectSoundEntry* entry = EntryOf(sound);
    if (!entry || !entry->voices || !m_output->MakeCurrent())
        return nullptr;
    entry->voices->Reap();
    return entry;
}

void CDirectSoundDevice::SetWindowAndFormat(void* window, const WaveFormat* format)
{
    m_window = window;
    if (format)
        m_primary = *format;
}

uint32_t CDirectSoundDevice::GetCapsMask()
{
    if (!m_output->HasLibrary())
        return 0;
    // Inactive, the output is opened only to see that it can be.
    if (!m_output->IsOpen()) {
        if (!m_output->Open(m_primary))
            return 0;
        m_output->Close();
    }
    return CAPS_ALWAYS | CAPS_PRIMARY_ALL | CAPS_SECONDARY_ALL;
}

WaveFormat CDirectSoundDevice::ChoosePlaybackFormat(const WaveFormat& file, uint32_t flags)
{
    switch (flags & SOUND_LOAD_FORMAT_MASK) {
    case SOUND_LOAD_FORMAT_PRIMARY:
        return MakePcmFormat(m_primary.samplesPerSec, m_primary.bitsPerSample, m_primary.channels);
    case SOUND_LOAD_FORMAT_CAPS: {
        const uint32_t mask = GetCapsMask();
        uint16_t channels;
        if (file.channels == 2)
            channels = (mask & CAPS_SECONDARY_STEREO) ? 2 : 1;
        else
            channels = (mask & CAPS_SECONDARY_MONO) ? 1 : 2;
        uint16_t bits;
        if (file.IsPcm() && file.bitsPerSample == 8)
            bits = (mask & CAPS_SECONDARY_8BIT) ? 8 : 16;
        else
            bits = (mask & CAPS_SECONDARY_16BIT) ? 16 : 8;
        return MakePcmFormat(m_primary.samplesPerSec, bits, channels);
    }
    default:
        return MakePcmFormat(file.samplesPerSec, file.IsPcm() ? file.bitsPerSample : 16, file.channels);
    }
}

int CDirectSoundDevice::Load(SoundEntry* sound, const std::string& name, int copies, const SoundLoadOptions& options)
{
    const uint32_t flags = options.flags;
    DirectSoundEntry* entry = EntryOf(sound);
    if (!entry)
        return SOUND_NO_ENTRY;
    Unload(sound);
    auto file = std::make_unique<CAudioFile>(1);
    uint32_t mode = SOUND_OPEN_FILE | (flags & SOUND_LOAD_OPEN_BITS);
    if (flags & SOUND_LOAD_OWN_BLOCK)
        mode |= AUDIO_OPEN_DELETE_ON_CLOSE;
    // The game names its sounds as its pictures, "sounds\\engine.wav":
    // mapped onto this file system the same way.
    if (file->Open(MapDataPath(name), mode, options.raw) != AUDIO_OK)
        return SOUND_OPEN_FAILED;
    return FinishLoad(*entry, std::move(file), options.streamed, copies, flags);
}

int CDirectSoundDevice::LoadBlock(SoundEntry* sound, CMemoryBlock* block, int copies,
                                  const SoundLoadOptions& options)
{
    const uint32_t flags = options.flags;
    const bool handedOver = flags & SOUND_LOAD_OWN_BLOCK;
    DirectSoundEntry* entry = EntryOf(sound);
    if (!entry || !block) {
        // A block handed over is ours to free even when nothing takes it.
        if (handedOver)
            delete block;
        return SOUND_NO_ENTRY;
    }
    Unload(sound);
    auto file = std::make_unique<CAudioFile>(1);
    uint32_t mode = SOUND_OPEN_BLOCK | (flags & SOUND_LOAD_OPEN_BITS);
    if (handedOver)
        mode |= AUDIO_OPEN_OWN_BLOCK;
    if (file->Open(block, mode, options.raw) != AUDIO_OK)
        return SOUND_OPEN_FAILED;
    return FinishLoad(*entry, std::move(file), options.streamed, copies, flags);
}

int CDirectSoundDevice::LoadResource(SoundEntry* sound, const ResourceTable* module, const char* name, int copies)
{
    CMemoryBlock* block = CMemoryBlock::FindResource(module, name, "WAVE");
    if (!block)
        return SOUND_NO_RESOURCE;
    return LoadBlock(sound, block, copies, SoundLoadOptions{.flags = SOUND_LOAD_OWN_BLOCK});
}

int CDirectSoundDevice::FinishLoad(DirectSoundEntry& entry, std::unique_ptr<CAudioFile> file, bool streamed,
                                   int copies, uint32_t flags)
{
    entry.file = std::move(file);
    entry.streamed = streamed;
    entry.copies = streamed ? 1 : std::max(copies, 1);
    entry.flags = flags;
    entry.playback = ChoosePlaybackFormat(*entry.file->GetFormat(), flags);
    const size_t align = std::max<uint16_t>(entry.playback.blockAlign, 1);
    entry.chunkBytes = std::max(align, entry.playback.avgBytesPerSec / STREAM_CHUNKS / align * align);
    if (streamed)
        MakeConverter(entry);
    if (m_output->MakeCurrent())
        BuildVoices(entry);
    return SOUND_OK;
}

void CDirectSoundDevice::MakeConverter(DirectSoundEntry& entry)
{
    CStream* data = entry.file ? entry.file->GetDataStream() : nullptr;
    if (entry.converter || !data)
        return;
    entry.converter =
        std::make_unique<CFormatConverter>(*entry.file->GetFormat(), entry.playback, data, StreamOwnership::Borrowed);
}

void CDirectSoundDevice::BuildVoices(DirectSoundEntry& entry)
{
    if (!entry.file || entry.voices)
        return;
    MakeConverter(entry);
    if (!entry.converter || !entry.converter->GetHealth())
        return;
    const OpenAlFunctions& fn = m_output->Functions();
    if (entry.streamed) {
        // Nothing is queued yet: every start fills the queue afresh.
        entry.voices = CSoundVoices::CreateStreamed(fn, m_output->Panning(), entry.playback, STREAM_CHUNKS);
        return;
    }
    // Converted once; the library keeps its own copy of the samples.
    entry.voices = CSoundVoices::CreateStatic(fn, m_output->Panning(), entry.playback,
                                              ReadWhole(*entry.converter, entry.playback.blockAlign), entry.copies);
    entry.converter.reset();
}

void CDirectSoundDevice::ReleaseVoices(DirectSoundEntry& entry)
{
    entry.voices.reset();
    entry.converter.reset();
    entry.streamRunning = false;
    entry.streamDrained = false;
}

void CDirectSoundDevice::Unload(SoundEntry* sound)
{
    DirectSoundEntry* entry = EntryOf(sound);
    if (!entry)
        return;
    // The library objects go with the context they belong to.
    m_output->MakeCurrent();
    ReleaseVoices(*entry);
    entry->file.reset();
    entry->playback = WaveFormat{};
    entry->flags = 0;
    entry->streamed = false;
    entry->copies = 1;
    entry->loop = false;
    entry->chunkBytes = 0;
}

bool CDirectSoundDevice::IsLoaded(SoundEntry* sound) const
{
    const DirectSoundEntry* entry = EntryOf(sound);
    return entry && entry->file;
}

void CDirectSoundDevice::Play(SoundEntry* sound, int position, int pan, int volume, int frequency, bool loop)
{
    DirectSoundEntry* entry = Playable(sound);
    if (!entry)
        return;
    PlayVoice(*entry, position, pan, volume, frequency, loop);
    // A start on a lost device goes nowhere: reopen it, rebuild the sounds
    // and start once more.
    if (m_output->IsDisconnected() && RecoverLostDevice() && (entry = Playable(sound)) != nullptr)
        PlayVoice(*entry, position, pan, volume, frequency, loop);
}

void CDirectSoundDevice::PlayVoice(DirectSoundEntry& entry, int position, int pan, int volume, int frequency,
                                   bool loop)
{
    CSoundVoices& voices = *entry.voices;
    const size_t index = voices.TakeNext();
    int queued = 0;
    if (!entry.streamed) {
        // A voice under way fades out as it starts again; one that goes on
        // from where it is (position -1) just goes on.
        if (position != -1) {
            voices.Stop(index);
            voices.SetPosition(index, static_cast<uint32_t>(position));
        }
    } else {
        entry.loop = loop;
        SeekStream(entry, position < 0 ? 0 : static_cast<uint32_t>(position));
        queued = Refill(entry, true);
    }
    if (pan != SOUND_NO_CHANGE)
        voices.SetPan(index, pan);
    if (volume != SOUND_NO_CHANGE)
        voices.SetVolume(index, volume);
    if (frequency != SOUND_NO_CHANGE)
        voices.SetFrequency(index, frequency);
    if (!entry.streamed) {
        voices.Start(index, loop);
    } else if (queued > 0) {
        voices.Start(index, false);
        entry.streamRunning = true;
    }
}

void CDirectSoundDevice::SeekStream(DirectSoundEntry& entry, uint32_t position)
{
    if (!entry.converter)
        return;
    const uint32_t align = std::max<uint16_t>(entry.playback.blockAlign, 1);
    entry.converter->Seek(position - position % align, STREAM_SEEK_SET);
}

int CDirectSoundDevice::Refill(DirectSoundEntry& entry, bool restart)
{
    if (!entry.streamed || !entry.voices || !entry.converter)
        return 0;
    CSoundVoices& voices = *entry.voices;
    // Stopped while running: it ran dry between two refills, or it has
    // played all there was.
    bool stalled = false;
    if (restart) {
        voices.ResetQueue();
        entry.streamDrained = false;
    } else if (!entry.streamRunning) {
        return 0;
    } else {
        stalled = voices.IsStopped();
    }
    const std::vector<size_t> free = voices.TakeFreeChunks();
    if (stalled)
        voices.Rewind();
    std::vector<uint8_t> chunk(entry.chunkBytes);
    const size_t align = std::max<uint16_t>(entry.playback.blockAlign, 1);
    int queued = 0;
    for (size_t buffer : free) {
        size_t filled = entry.streamDrained ? 0 : FillChunk(entry, chunk);
        filled -= filled % align;
        if (filled < chunk.size())
            entry.streamDrained = true;
        if (filled > 0 && voices.Queue(buffer, chunk.data(), filled))
            ++queued;
        else
            voices.ReturnChunk(buffer);
    }
    if (stalled) {
        if (queued > 0)
            voices.Start(0, false);
        else
            entry.streamRunning = false;
    }
    return queued;
}

size_t CDirectSoundDevice::FillChunk(DirectSoundEntry& entry, std::vector<uint8_t>& chunk)
{
    size_t filled = 0;
    bool rewound = false;
    while (filled < chunk.size()) {
        const size_t got = entry.converter->Read(chunk.data() + filled, chunk.size() - filled);
        if (got > 0) {
            filled += got;
            rewound = false;
            continue;
        }
        // A looping sound goes on from its start; one that yields nothing
        // even there has nothing to loop.
        if (!entry.loop || rewound)
            break;
        entry.converter->Seek(0, STREAM_SEEK_SET);
        rewound = true;
    }
    return filled;
}

void CDirectSoundDevice::Stop(SoundEntry* sound)
{
    DirectSoundEntry* entry = Playable(sound);
    if (!entry)
        return;
    if (entry->streamed)
        entry->voices->Silence();
    else
        entry->voices->StopAll();
    entry->streamRunning = false;
}

bool CDirectSoundDevice::IsPlaying(SoundEntry* sound)
{
    DirectSoundEntry* entry = Playable(sound);
    if (!entry)
        return false;
    if (entry->voices->IsAnyPlaying())
        return true;
    if (!entry->streamed || !entry->streamRunning)
        return false;
    // A stream stops by itself only when it has played everything queued:
    // with its data all read it is done, otherwise it waits for a refill.
    if (entry->streamDrained) {
        entry->streamRunning = false;
        return false;
    }
    return true;
}

int CDirectSoundDevice::GetVolume(SoundEntry* sound)
{
    return FirstVoice(Playable(sound), &CSoundVoices::Voice::volume);
}

void CDirectSoundDevice::SetVolume(SoundEntry* sound, int volume)
{
    SetOnEveryVoice(Playable(sound), &CSoundVoices::SetVolume, volume);
}

int CDirectSoundDevice::GetPan(SoundEntry* sound)
{
    return FirstVoice(Playable(sound), &CSoundVoices::Voice::pan);
}

void CDirectSoundDevice::SetPan(SoundEntry* sound, int pan)
{
    SetOnEveryVoice(Playable(sound), &CSoundVoices::SetPan, pan);
}

int CDirectSoundDevice::GetFrequency(SoundEntry* sound)
{
    return FirstVoice(Playable(sound), &CSoundVoices::Voice::frequency);
}

void CDirectSoundDevice::SetFrequency(SoundEntry* sound, int frequency)
{
    SetOnEveryVoice(Playable(sound), &CSoundVoices::SetFrequency, frequency);
}

uint32_t CDirectSoundDevice::GetPosition(SoundEntry* sound)
{
    DirectSoundEntry* entry = Playable(sound);
    if (!entry)
        return 0;
    // A stream reports how far its data have been read.
    if (entry->streamed)
        return entry->converter ? static_cast<uint32_t>(entry->converter->Tell()) : 0;
    return entry->voices->GetPosition(0);
}

void CDirectSoundDevice::SetPosition(SoundEntry* sound, uint32_t position)
{
    DirectSoundEntry* entry = Playable(sound);
    if (!entry)
        return;
    if (entry->streamed) {
        SeekStream(*entry, position);
        return;
    }
    for (size_t i = 0; i < entry->voices->Count(); ++i)
        entry->voices->SetPosition(i, position);
}

int CDirectSoundDevice::GetSampleRate(SoundEntry* sound)
{
    const DirectSoundEntry* entry = EntryOf(sound);
    return entry && entry->file ? static_cast<int>(entry->playback.samplesPerSec) : 0;
}

int CDirectSoundDevice::GetBitsPerSample(SoundEntry* sound)
{
    const DirectSoundEntry* entry = EntryOf(sound);
    return entry && entry->file ? entry->playback.bitsPerSample : 0;
}

int CDirectSoundDevice::GetChannels(SoundEntry* sound)
{
    const DirectSoundEntry* entry = EntryOf(sound);
    return entry && entry->file ? entry->playback.channels : 0;
}

uint64_t CDirectSoundDevice::GetFrameCount(SoundEntry* sound)
{
    const DirectSoundEntry* entry = EntryOf(sound);
    CStream* data = entry && entry->file ? entry->file->GetDataStream() : nullptr;
    const WaveFormat* format = entry && entry->file ? entry->file->GetFormat() : nullptr;
    if (!data || !format || format->avgBytesPerSec == 0)
        return 0;
    // Bytes to frames through the byte rate, which also holds for
    // compressed data.
    return uint64_t(data->GetSize()) * format->samplesPerSec / format->avgBytesPerSec;
}

int CDirectSoundDevice::GetFrameSize(SoundEntry* sound)
{
    const DirectSoundEntry* entry = EntryOf(sound);
    return entry && entry->file ? FrameCodeBytes(FrameCodeOf(entry->playback)) : 0;
}

void CDirectSoundDevice::SetActive(bool active)
{
    if (active) {
        if (m_active) {
            // Active but without an output: the device was lost; try again.
            if (!m_output->IsOpen())
                RecoverLostDevice();
            return;
        }
        if (!m_window || !m_output->Open(m_primary))
            return;
        m_active = true;
        for (const auto& sound : Sounds())
            BuildVoices(*static_cast<DirectSoundEntry*>(sound.get()));
        return;
    }
    if (!m_active)
        return;
    StopAll();
    ReleaseAllVoices();
    m_output->Close();
    m_active = false;
}

void CDirectSoundDevice::ReleaseAllVoices()
{
    // The library objects go with the context they belong to.
    m_output->MakeCurrent();
    for (const auto& sound : Sounds())
        ReleaseVoices(*static_cast<DirectSoundEntry*>(sound.get()));
}

bool CDirectSoundDevice::RecoverLostDevice()
{
    // What the lost output held plays nothing any more; the sounds are
    // built again from their files on the reopened one, as at activation.
    ReleaseAllVoices();
    m_output->Close();
    if (!m_output->Open(m_primary)) {
        m_retryCountdown = LOST_DEVICE_RETRY_CALLS;
        return false;
    }
    for (const auto& sound : Sounds())
        BuildVoices(*static_cast<DirectSoundEntry*>(sound.get()));
    return true;
}

void CDirectSoundDevice::Service()
{
    if (!m_active)
        return;
    if (!m_output->IsOpen()) {
        if (m_retryCountdown > 0)
            --m_retryCountdown;
        else
            RecoverLostDevice();
        return;
    }
    if (m_output->IsDisconnected()) {
        RecoverLostDevice();
        return;
    }
    m_output->MakeCurrent();
    for (const auto& sound : Sounds()) {
        auto& entry = *static_cast<DirectSoundEntry*>(sound.get());
        if (entry.voices)
            entry.voices->Reap();
        Refill(entry, false);
    }
}

void CDirectSoundDevice::ApplyMasterGain(float gain)
{
    m_output->SetGain(gain);
}

void CDirectSoundDevice::SelectDevice(int index)
{
    m_output->SelectDevice(index);
}

int CDirectSoundDevice::GetSelectedDevice() const
{
    return m_output->GetSelectedDevice();
}

int CDirectSoundDevice::GetDeviceCount() const
{
    return m_output->GetDeviceCount();
}

std::string CDirectSoundDevice::GetDeviceName(int index) const
{
    return m_output->GetDeviceName(index);
}

bool CDirectSoundDevice::HasLibrary() const
{
    return m_output->HasLibrary();
}

bool CDirectSoundDevice::IsLoopback() const
{
    return m_output->IsLoopback();
}

bool CDirectSoundDevice::IsOutputOpen() const
{
    return m_output->IsOpen();
}

const WaveFormat& CDirectSoundDevice::GetLoopbackFormat() const
{
    return m_output->LoopbackFormat();
}

bool CDirectSoundDevice::RenderSamples(void* out, uint32_t frames)
{
    return m_output->RenderSamples(out, frames);
}
