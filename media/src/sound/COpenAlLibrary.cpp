#include "COpenAlLibrary.h"

#include <cstdlib>
#include <dlfcn.h>

namespace {
template <typename Function>
bool LookUp(void* module, const char* name, Function& function)
{
    function = reinterpret_cast<Function>(::dlsym(module, name));
    return function != nullptr;
}

// Extension functions are reached the way the library documents, through
// its own look-up, which also answers for functions it does not export.
template <typename Function>
void LookUpExtension(const OpenAlFunctions& fn, const char* name, Function& function)
{
    function = reinterpret_cast<Function>(fn.alcGetProcAddress(nullptr, name));
}

void IgnoreSoundSystemError(const char*, int, const char*, int, const char*, ...) {}

// The audio library and the sound system under it write a dozen lines to
// stderr when a machine has no sound card; the game says so itself, once.
// The sound system's error handler is process-wide, so setting it here holds
// for the copy the audio library loads. Either may be asked to speak again:
// ALSOFT_LOGLEVEL is left as the user set it.
void QuietTheSoundSystem()
{
    ::setenv("ALSOFT_LOGLEVEL", "0", 0);
    using ErrorHandler = void (*)(const char*, int, const char*, int, const char*, ...);
    using SetErrorHandler = int (*)(ErrorHandler);
    static void* const alsa = ::dlopen("libasound.so.2", RTLD_NOW | RTLD_LOCAL);
    if (!alsa)
        return;
    if (auto set = reinterpret_cast<SetErrorHandler>(::dlsym(alsa, "snd_lib_error_set_handler")))
        set(IgnoreSoundSystemError);
}
} // namespace

std::shared_ptr<COpenAlLibrary> COpenAlLibrary::Load(const std::string& fileName)
{
    QuietTheSoundSystem();
    void* module = ::dlopen(fileName.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!module)
        return nullptr;
    std::shared_ptr<COpenAlLibrary> library(new COpenAlLibrary(module));
    OpenAlFunctions& fn = library->fn;
    const bool complete =
        LookUp(module, "alcOpenDevice", fn.alcOpenDevice) && LookUp(module, "alcCloseDevice", fn.alcCloseDevice) &&
        LookUp(module, "alcCreateContext", fn.alcCreateContext) &&
        LookUp(module, "alcDestroyContext", fn.alcDestroyContext) &&
        LookUp(module, "alcMakeContextCurrent", fn.alcMakeContextCurrent) &&
        LookUp(module, "alcGetCurrentContext", fn.alcGetCurrentContext) &&
        LookUp(module, "alcGetString", fn.alcGetString) && LookUp(module, "alcGetIntegerv", fn.alcGetIntegerv) &&
        LookUp(module, "alcIsExtensionPresent", fn.alcIsExtensionPresent) &&
        LookUp(module, "alcGetProcAddress", fn.alcGetProcAddress) && LookUp(module, "alcGetError", fn.alcGetError) &&
        LookUp(module, "alGetError", fn.alGetError) && LookUp(module, "alListenerf", fn.alListenerf) &&
        LookUp(module, "alIsExtensionPresent", fn.alIsExtensionPresent) && LookUp(module, "alGenBuffers", fn.alGenBuffers) &&
        LookUp(module, "alDeleteBuffers", fn.alDeleteBuffers) && LookUp(module, "alBufferData", fn.alBufferData) &&
        LookUp(module, "alGenSources", fn.alGenSources) && LookUp(module, "alDeleteSources", fn.alDeleteSources) &&
        LookUp(module, "alSourcei", fn.alSourcei) && LookUp(module, "alSourcef", fn.alSourcef) &&
        LookUp(module, "alSource3f", fn.alSource3f) && LookUp(module, "alGetSourcei", fn.alGetSourcei) &&
        LookUp(module, "alSourcePlay", fn.alSourcePlay) && LookUp(module, "alSourceStop", fn.alSourceStop) &&
        LookUp(module, "alSourcePause", fn.alSourcePause) && LookUp(module, "alSourcePlayv", fn.alSourcePlayv) &&
        LookUp(module, "alSourceStopv", fn.alSourceStopv) && LookUp(module, "alSourcePausev", fn.alSourcePausev) && LookUp(module, "alSourceRewind", fn.alSourceRewind) &&
        LookUp(module, "alSourceQueueBuffers", fn.alSourceQueueBuffers) &&
        LookUp(module, "alSourceUnqueueBuffers", fn.alSourceUnqueueBuffers);
    if (!complete)
        return nullptr;
    LookUpExtension(fn, "alcLoopbackOpenDeviceSOFT", fn.alcLoopbackOpenDeviceSOFT);
    LookUpExtension(fn, "alcIsRenderFormatSupportedSOFT", fn.alcIsRenderFormatSupportedSOFT);
    LookUpExtension(fn, "alcRenderSamplesSOFT", fn.alcRenderSamplesSOFT);
    return library;
}

COpenAlLibrary::~COpenAlLibrary()
{
    ::dlclose(m_module);
}
