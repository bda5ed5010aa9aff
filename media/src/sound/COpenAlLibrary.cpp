#include "COpenAlLibrary.h"
#include "LibrarySymbol.h"

#include <cstdlib>
#include <dlfcn.h>

namespace {
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
    SetErrorHandler set = nullptr;
    if (LookUpSymbol(alsa, "snd_lib_error_set_handler", set))
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
        LookUpSymbol(module, "alcOpenDevice", fn.alcOpenDevice) && LookUpSymbol(module, "alcCloseDevice", fn.alcCloseDevice) &&
        LookUpSymbol(module, "alcCreateContext", fn.alcCreateContext) &&
        LookUpSymbol(module, "alcDestroyContext", fn.alcDestroyContext) &&
        LookUpSymbol(module, "alcMakeContextCurrent", fn.alcMakeContextCurrent) &&
        LookUpSymbol(module, "alcGetCurrentContext", fn.alcGetCurrentContext) &&
        LookUpSymbol(module, "alcGetString", fn.alcGetString) && LookUpSymbol(module, "alcGetIntegerv", fn.alcGetIntegerv) &&
        LookUpSymbol(module, "alcIsExtensionPresent", fn.alcIsExtensionPresent) &&
        LookUpSymbol(module, "alcGetProcAddress", fn.alcGetProcAddress) && LookUpSymbol(module, "alcGetError", fn.alcGetError) &&
        LookUpSymbol(module, "alGetError", fn.alGetError) && LookUpSymbol(module, "alListenerf", fn.alListenerf) &&
        LookUpSymbol(module, "alIsExtensionPresent", fn.alIsExtensionPresent) && LookUpSymbol(module, "alGenBuffers", fn.alGenBuffers) &&
        LookUpSymbol(module, "alDeleteBuffers", fn.alDeleteBuffers) && LookUpSymbol(module, "alBufferData", fn.alBufferData) &&
        LookUpSymbol(module, "alGenSources", fn.alGenSources) && LookUpSymbol(module, "alDeleteSources", fn.alDeleteSources) &&
        LookUpSymbol(module, "alSourcei", fn.alSourcei) && LookUpSymbol(module, "alSourcef", fn.alSourcef) &&
        LookUpSymbol(module, "alSource3f", fn.alSource3f) && LookUpSymbol(module, "alGetSourcei", fn.alGetSourcei) &&
        LookUpSymbol(module, "alSourcePlay", fn.alSourcePlay) && LookUpSymbol(module, "alSourceStop", fn.alSourceStop) &&
        LookUpSymbol(module, "alSourcePause", fn.alSourcePause) && LookUpSymbol(module, "alSourcePlayv", fn.alSourcePlayv) &&
        LookUpSymbol(module, "alSourceStopv", fn.alSourceStopv) && LookUpSymbol(module, "alSourcePausev", fn.alSourcePausev) && LookUpSymbol(module, "alSourceRewind", fn.alSourceRewind) &&
        LookUpSymbol(module, "alSourceQueueBuffers", fn.alSourceQueueBuffers) &&
        LookUpSymbol(module, "alSourceUnqueueBuffers", fn.alSourceUnqueueBuffers);
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
