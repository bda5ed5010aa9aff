#include "COpenAlOutput.h"

#include "COpenAlLibrary.h"

#include <algorithm>
#include <cassert>
#include <climits>
#include <cstring>

namespace {

// The rates a sound card output is asked to mix at; others are left to the
// library's own choice.
constexpr uint32_t kLowestMixRate = 8000;
constexpr uint32_t kHighestMixRate = 192000;
// How many pieces of mix an output asks the library for each second: the
// library ramps every change of gain over one piece, so a piece is also how
// long a stopped sound takes to fade out. A sound card gets pieces of
// SOUND_FADE_SECONDS (small enough for a short fade, large enough not to
// starve a busy machine's output); the loopback mixer, which never starves,
// half of that.
constexpr ALCint kDevicePiecesPerSecond = static_cast<ALCint>(1.0 / SOUND_FADE_SECONDS + 0.5);
constexpr uint32_t kLoopbackPiecesPerSecond = 2 * kDevicePiecesPerSecond;

ALCdevice* AsDevice(void* device)
{
    return static_cast<ALCdevice*>(device);
}

ALCcontext* AsContext(void* context)
{
    return static_cast<ALCcontext*>(context);
}

} // namespace

COpenAlOutput::COpenAlOutput(std::shared_ptr<COpenAlLibrary> library, const WaveFormat* loopback)
    : m_library(std::move(library))
{
    if (loopback) {
        m_loopback = true;
        m_loopbackFormat = *loopback;
    }
    EnumerateDevices();
}

COpenAlOutput::~COpenAlOutput()
{
    Close();
}

const OpenAlFunctions& COpenAlOutput::Functions() const
{
    assert(m_library);
    return m_library->fn;
}

void COpenAlOutput::EnumerateDevices()
{
    if (!m_library)
        return;
    const OpenAlFunctions& fn = m_library->fn;
    const ALCchar* list = nullptr;
    if (fn.alcIsExtensionPresent(nullptr, "ALC_ENUMERATE_ALL_EXT"))
        list = fn.alcGetString(nullptr, ALC_ALL_DEVICES_SPECIFIER);
    else if (fn.alcIsExtensionPresent(nullptr, "ALC_ENUMERATION_EXT"))
        list = fn.alcGetString(nullptr, ALC_DEVICE_SPECIFIER);
    // Names one after the other, each ending in a zero, the list in two.
    while (list && *list) {
        m_deviceNames.emplace_back(list);
        list += m_deviceNames.back().size() + 1;
    }
}

bool COpenAlOutput::MakeCurrent()
{
    if (!m_context)
        return false;
    const OpenAlFunctions& fn = m_library->fn;
    if (fn.alcGetCurrentContext() != AsContext(m_context))
        fn.alcMakeContextCurrent(AsContext(m_context));
    return true;
}

bool COpenAlOutput::Open(const WaveFormat& primary)
{
    if (!m_library || m_context)
        return m_context != nullptr;
    const OpenAlFunctions& fn = m_library->fn;
    ALCdevice* device = nullptr;
    std::vector<ALCint> attributes;
    if (m_loopback) {
        const WaveFormat& out = m_loopbackFormat;
        const ALCint channels = out.channels == 1 ? ALC_MONO_SOFT : out.channels == 2 ? ALC_STEREO_SOFT : 0;
        const ALCint type = out.bitsPerSample == 8 ? ALC_UNSIGNED_BYTE_SOFT
                            : out.bitsPerSample == 16 ? ALC_SHORT_SOFT
                                                      : 0;
        if (!fn.HasLoopback() || !out.IsPcm() || !channels || !type || out.samplesPerSec == 0 ||
            out.samplesPerSec > INT_MAX)
            return false;
        const auto rate = static_cast<ALCint>(out.samplesPerSec);
        device = fn.alcLoopbackOpenDeviceSOFT(nullptr);
        if (!device)
            return false;
        if (!fn.alcIsRenderFormatSupportedSOFT(device, rate, channels, type)) {
            fn.alcCloseDevice(device);
            return false;
        }
        attributes = {ALC_FREQUENCY, rate, ALC_FORMAT_CHANNELS_SOFT, channels, ALC_FORMAT_TYPE_SOFT, type};
    } else {
        const bool named = m_selected >= 0 && m_selected < GetDeviceCount();
        device = fn.alcOpenDevice(named ? m_deviceNames[static_cast<size_t>(m_selected)].c_str() : nullptr);
        if (!device)
            return false;
        // The mix runs at the primary format's rate, as a primary buffer set
        // to that format would.
        if (primary.samplesPerSec >= kLowestMixRate && primary.samplesPerSec <= kHighestMixRate)
            attributes = {ALC_FREQUENCY, static_cast<ALCint>(primary.samplesPerSec)};
        attributes.insert(attributes.end(), {ALC_REFRESH, kDevicePiecesPerSecond});
    }
    // The library would switch head-related filtering on by itself for
    // headphones, which colours every sound (several decibels down in the
    // upper octaves); the game's sounds are made to be heard as they are.
    if (fn.alcIsExtensionPresent(device, "ALC_SOFT_HRTF"))
        attributes.insert(attributes.end(), {ALC_HRTF_SOFT, ALC_FALSE});
    attributes.push_back(0);
    ALCcontext* context = fn.alcCreateContext(device, attributes.data());
    if (!context) {
        fn.alcCloseDevice(device);
        return false;
    }
    m_device = device;
    m_context = context;
    fn.alcMakeContextCurrent(context);
    fn.alListenerf(AL_GAIN, m_gain);
    return true;
}

void COpenAlOutput::SetGain(float gain)
{
    m_gain = gain;
    if (MakeCurrent())
        m_library->fn.alListenerf(AL_GAIN, m_gain);
}

void COpenAlOutput::Close()
{
    if (!m_context)
        return;
    const OpenAlFunctions& fn = m_library->fn;
    if (fn.alcGetCurrentContext() == AsContext(m_context))
        fn.alcMakeContextCurrent(nullptr);
    fn.alcDestroyContext(AsContext(m_context));
    fn.alcCloseDevice(AsDevice(m_device));
    m_context = nullptr;
    m_device = nullptr;
}

SoundPanning COpenAlOutput::Panning() const
{
    if (!m_context || (m_loopback && m_loopbackFormat.channels < 2))
        return SoundPanning::Placed;
    return m_library->fn.alIsExtensionPresent("AL_SOFT_direct_channels") ? SoundPanning::PerChannel
                                                                         : SoundPanning::Placed;
}

bool COpenAlOutput::IsDisconnected()
{
    if (!m_device)
        return false;
    const OpenAlFunctions& fn = m_library->fn;
    if (!fn.alcIsExtensionPresent(AsDevice(m_device), "ALC_EXT_disconnect"))
        return false;
    ALCint connected = ALC_TRUE;
    fn.alcGetIntegerv(AsDevice(m_device), ALC_CONNECTED, 1, &connected);
    return connected == ALC_FALSE;
}

void COpenAlOutput::SelectDevice(int index)
{
    if (index < GetDeviceCount())
        m_selected = index;
}

std::string COpenAlOutput::GetDeviceName(int index) const
{
    if (index < 0 || index >= GetDeviceCount())
        return {};
    return m_deviceNames[static_cast<size_t>(index)];
}

bool COpenAlOutput::RenderSamples(void* out, uint32_t frames)
{
    const size_t bytes = size_t(frames) * m_loopbackFormat.blockAlign;
    if (!m_loopback || !m_context) {
        // Silence in the output's own convention: unsigned 8-bit centres on 0x80.
        if (bytes)
            std::memset(out, m_loopbackFormat.bitsPerSample == 8 ? 0x80 : 0, bytes);
        return false;
    }
    const OpenAlFunctions& fn = m_library->fn;
    auto* target = static_cast<uint8_t*>(out);
    const uint32_t piece = std::max<uint32_t>(1, m_loopbackFormat.samplesPerSec / kLoopbackPiecesPerSecond);
    while (frames > 0) {
        const uint32_t now = std::min(frames, piece);
        fn.alcRenderSamplesSOFT(AsDevice(m_device), target, static_cast<ALCsizei>(now));
        target += size_t(now) * m_loopbackFormat.blockAlign;
        frames -= now;
    }
    return true;
}
