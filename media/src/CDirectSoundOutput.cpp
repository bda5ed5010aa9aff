// The sound device's output: the library's device list and the choice
// among it, opening and closing the output (a real device, or the loopback
// one that renders into memory), activation, a lost device noticed and
// reopened, and the servicing call that keeps streamed sounds fed.

#include "media/CDirectSoundDevice.h"

#include "COpenAlLibrary.h"
#include "DirectSoundEntry.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace {
// While a lost device cannot be reopened, Service() tries again after this
// many calls rather than on every one.
constexpr unsigned LOST_DEVICE_RETRY_CALLS = 32;

ALCdevice* AsDevice(void* device)
{
    return static_cast<ALCdevice*>(device);
}

ALCcontext* AsContext(void* context)
{
    return static_cast<ALCcontext*>(context);
}
} // namespace

bool CDirectSoundDevice::MakeCurrent()
{
    if (!m_context)
        return false;
    // Calls go to the current context, and another device may have made
    // its own current since.
    const OpenAlFunctions& fn = m_library->fn;
    if (fn.alcGetCurrentContext() != AsContext(m_context))
        fn.alcMakeContextCurrent(AsContext(m_context));
    return true;
}

void CDirectSoundDevice::EnumerateDevices()
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

bool CDirectSoundDevice::OpenOutput()
{
    if (!m_library)
        return false;
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
        if (m_primary.samplesPerSec >= 8000 && m_primary.samplesPerSec <= 192000)
            attributes = {ALC_FREQUENCY, static_cast<ALCint>(m_primary.samplesPerSec)};
    }
    attributes.push_back(0);
    ALCcontext* context = fn.alcCreateContext(device, attributes.data());
    if (!context) {
        fn.alcCloseDevice(device);
        return false;
    }
    m_device = device;
    m_context = context;
    fn.alcMakeContextCurrent(context);
    return true;
}

void CDirectSoundDevice::CloseOutput()
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

void CDirectSoundDevice::SetActive(bool active)
{
    if (active) {
        if (m_active) {
            // Active but without an output: the device was lost; try again.
            if (!m_context)
                RecoverLostDevice();
            return;
        }
        if (!m_window || !OpenOutput())
            return;
        m_active = true;
        for (const auto& sound : Sounds())
            BuildVoices(*static_cast<DirectSoundEntry*>(sound.get()));
        return;
    }
    if (!m_active)
        return;
    StopAll();
    MakeCurrent();
    for (const auto& sound : Sounds())
        ReleaseVoices(*static_cast<DirectSoundEntry*>(sound.get()));
    CloseOutput();
    m_active = false;
}

bool CDirectSoundDevice::IsDisconnected()
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

bool CDirectSoundDevice::RecoverLostDevice()
{
    // What the lost output held plays nothing any more; the sounds are
    // built again from their files on the reopened one, as at activation.
    MakeCurrent();
    for (const auto& sound : Sounds())
        ReleaseVoices(*static_cast<DirectSoundEntry*>(sound.get()));
    CloseOutput();
    if (!OpenOutput()) {
        m_retryCountdown = LOST_DEVICE_RETRY_CALLS;
        return false;
    }
    for (const auto& sound : Sounds())
        BuildVoices(*static_cast<DirectSoundEntry*>(sound.get()));
    return true;
}

void CDirectSoundDevice::SelectDevice(int index)
{
    // Negative means the default device; the choice counts from the next
    // activation.
    if (index < GetDeviceCount())
        m_selected = index;
}

std::string CDirectSoundDevice::GetDeviceName(int index) const
{
    if (index < 0 || index >= GetDeviceCount())
        return {};
    return m_deviceNames[static_cast<size_t>(index)];
}

void CDirectSoundDevice::Service()
{
    if (!m_active)
        return;
    if (!m_context) {
        if (m_retryCountdown > 0)
            --m_retryCountdown;
        else
            RecoverLostDevice();
        return;
    }
    if (IsDisconnected()) {
        RecoverLostDevice();
        return;
    }
    MakeCurrent();
    for (const auto& sound : Sounds())
        Refill(*static_cast<DirectSoundEntry*>(sound.get()), false);
}

bool CDirectSoundDevice::RenderSamples(void* out, uint32_t frames)
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
    constexpr uint32_t MOST_PER_CALL = 1u << 20;
    while (frames > 0) {
        const uint32_t now = std::min(frames, MOST_PER_CALL);
        fn.alcRenderSamplesSOFT(AsDevice(m_device), target, static_cast<ALCsizei>(now));
        target += size_t(now) * m_loopbackFormat.blockAlign;
        frames -= now;
    }
    return true;
}
