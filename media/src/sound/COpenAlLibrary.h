#pragma once
// The audio library the sound device plays through, loaded at run time: it is
// not linked, so a machine without it still runs the game, silently. This is
// the one place that opens the library and looks up its entry points; the
// device calls them through the table below and nothing else.
//
// The core functions are required: when the library or any of them is
// missing, Load returns null. The loopback functions (mixing into memory on
// demand) are optional: they stay null when the library lacks the extension.

#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alext.h>

#include <memory>
#include <string>

// The file name the loader asks for unless told otherwise.
constexpr const char* OPENAL_LIBRARY_NAME = "libopenal.so.1";

// Named after the functions they point to, so calls read as they would with
// the library linked.
struct OpenAlFunctions {
    LPALCOPENDEVICE alcOpenDevice = nullptr;
    LPALCCLOSEDEVICE alcCloseDevice = nullptr;
    LPALCCREATECONTEXT alcCreateContext = nullptr;
    LPALCDESTROYCONTEXT alcDestroyContext = nullptr;
    LPALCMAKECONTEXTCURRENT alcMakeContextCurrent = nullptr;
    LPALCGETCURRENTCONTEXT alcGetCurrentContext = nullptr;
    LPALCGETSTRING alcGetString = nullptr;
    LPALCGETINTEGERV alcGetIntegerv = nullptr;
    LPALCISEXTENSIONPRESENT alcIsExtensionPresent = nullptr;
    LPALCGETPROCADDRESS alcGetProcAddress = nullptr;
    LPALCGETERROR alcGetError = nullptr;

    LPALGETERROR alGetError = nullptr;
    LPALLISTENERF alListenerf = nullptr;
    LPALISEXTENSIONPRESENT alIsExtensionPresent = nullptr;
    LPALGENBUFFERS alGenBuffers = nullptr;
    LPALDELETEBUFFERS alDeleteBuffers = nullptr;
    LPALBUFFERDATA alBufferData = nullptr;
    LPALGENSOURCES alGenSources = nullptr;
    LPALDELETESOURCES alDeleteSources = nullptr;
    LPALSOURCEI alSourcei = nullptr;
    LPALSOURCEF alSourcef = nullptr;
    LPALSOURCE3F alSource3f = nullptr;
    LPALGETSOURCEI alGetSourcei = nullptr;
    LPALSOURCEPLAY alSourcePlay = nullptr;
    LPALSOURCEPLAYV alSourcePlayv = nullptr;
    LPALSOURCESTOP alSourceStop = nullptr;
    LPALSOURCESTOPV alSourceStopv = nullptr;
    LPALSOURCEPAUSE alSourcePause = nullptr;
    LPALSOURCEPAUSEV alSourcePausev = nullptr;
    LPALSOURCEREWIND alSourceRewind = nullptr;
    LPALSOURCEQUEUEBUFFERS alSourceQueueBuffers = nullptr;
    LPALSOURCEUNQUEUEBUFFERS alSourceUnqueueBuffers = nullptr;

    // Loopback rendering; null without the extension.
    LPALCLOOPBACKOPENDEVICESOFT alcLoopbackOpenDeviceSOFT = nullptr;
    LPALCISRENDERFORMATSUPPORTEDSOFT alcIsRenderFormatSupportedSOFT = nullptr;
    LPALCRENDERSAMPLESSOFT alcRenderSamplesSOFT = nullptr;

    bool HasLoopback() const
    {
        return alcLoopbackOpenDeviceSOFT && alcIsRenderFormatSupportedSOFT && alcRenderSamplesSOFT;
    }
};

class COpenAlLibrary {
public:
    // Null when the library cannot be loaded or lacks a core function.
    static std::shared_ptr<COpenAlLibrary> Load(const std::string& fileName = OPENAL_LIBRARY_NAME);

    ~COpenAlLibrary();
    COpenAlLibrary(const COpenAlLibrary&) = delete;
    COpenAlLibrary& operator=(const COpenAlLibrary&) = delete;

    // Public and writable so that a test can put a function of its own in
    // front of one of the library's (to make the device look disconnected).
    OpenAlFunctions fn;

private:
    explicit COpenAlLibrary(void* module) : m_module(module) {}

    void* m_module;
};
