#include "COpenAlLibrary.h"

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
} // namespace

std::shared_ptr<COpenAlLibrary> COpenAlLibrary::Load(const std::string& fileName)
{
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
        LookUp(module, "alGetError", fn.alGetError) && LookUp(module, "alGenBuffers", fn.alGenBuffers) &&
        LookUp(module, "alDeleteBuffers", fn.alDeleteBuffers) && LookUp(module, "alBufferData", fn.alBufferData) &&
        LookUp(module, "alGenSources", fn.alGenSources) && LookUp(module, "alDeleteSources", fn.alDeleteSources) &&
        LookUp(module, "alSourcei", fn.alSourcei) && LookUp(module, "alSourcef", fn.alSourcef) &&
        LookUp(module, "alSource3f", fn.alSource3f) && LookUp(module, "alGetSourcei", fn.alGetSourcei) &&
        LookUp(module, "alSourcePlay", fn.alSourcePlay) && LookUp(module, "alSourceStop", fn.alSourceStop) &&
        LookUp(module, "alSourcePause", fn.alSourcePause) && LookUp(module, "alSourceRewind", fn.alSourceRewind) &&
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
