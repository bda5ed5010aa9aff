#include "CMpegDecoder.h"
#include "LibrarySymbol.h"

#include <algorithm>
#include <cstring>
#include <dlfcn.h>
#include <string>
#include <sys/types.h>

// The decoding library's interface, declared here rather than taken from its
// header: it is only ever reached through the run-time loader. On the
// platforms we build for its file offsets are `off_t` (64-bit).
namespace {
struct mpg123_handle;

struct FrameInfo {
    int version;
    int layer;
    long rate;
    int mode;
    int modeExt;
    int frameSize;
    int flags;
    int emphasis;
    int bitrate;
    int abrRate;
    int vbr;
};

constexpr int kOk = 0;
constexpr int kDone = -12;
constexpr int kNewFormat = -11;
constexpr int kAddFlags = 2;
constexpr long kFlagQuiet = 0x20;
constexpr long kFlagGapless = 0x40;
constexpr int kMono = 1;
constexpr int kStereo = 2;
constexpr int kEncodingSigned16 = 0xD0;

using ReadCallback = ssize_t (*)(void*, void*, size_t);
using SeekCallback = off_t (*)(void*, off_t, int);
using CleanupCallback = void (*)(void*);

struct Library {
    void* module = nullptr;
    int openCount = 0;
    std::string name = "libmpg123.so.0";
    bool initialised = false;

    int (*init)() = nullptr;
    mpg123_handle* (*create)(const char*, int*) = nullptr;
    void (*destroy)(mpg123_handle*) = nullptr;
    int (*param)(mpg123_handle*, int, long, double) = nullptr;
    int (*formatNone)(mpg123_handle*) = nullptr;
    int (*format)(mpg123_handle*, long, int, int) = nullptr;
    void (*rates)(const long**, size_t*) = nullptr;
    int (*replaceReader)(mpg123_handle*, ReadCallback, SeekCallback, CleanupCallback) = nullptr;
    int (*openHandle)(mpg123_handle*, void*) = nullptr;
    int (*scan)(mpg123_handle*) = nullptr;
    off_t (*length)(mpg123_handle*) = nullptr;
    int (*getFormat)(mpg123_handle*, long*, int*, int*) = nullptr;
    int (*read)(mpg123_handle*, void*, size_t, size_t*) = nullptr;
    off_t (*seek)(mpg123_handle*, off_t, int) = nullptr;
    int (*close)(mpg123_handle*) = nullptr;
    int (*info)(mpg123_handle*, FrameInfo*) = nullptr;
};

Library& TheLibrary()
{
    static Library library;
    return library;
}

bool Acquire()
{
    Library& lib = TheLibrary();
    if (!lib.module) {
        void* module = ::dlopen(lib.name.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!module)
            return false;
        bool complete = LookUpSymbol(module, "mpg123_init", lib.init) && LookUpSymbol(module, "mpg123_new", lib.create) &&
                        LookUpSymbol(module, "mpg123_delete", lib.destroy) &&
                        LookUpSymbol(module, "mpg123_param2", lib.param) &&
                        LookUpSymbol(module, "mpg123_format_none", lib.formatNone) &&
                        LookUpSymbol(module, "mpg123_format", lib.format) && LookUpSymbol(module, "mpg123_rates", lib.rates) &&
                        LookUpSymbol(module, "mpg123_replace_reader_handle", lib.replaceReader) &&
                        LookUpSymbol(module, "mpg123_open_handle", lib.openHandle) &&
                        LookUpSymbol(module, "mpg123_scan", lib.scan) && LookUpSymbol(module, "mpg123_length", lib.length) &&
                        LookUpSymbol(module, "mpg123_getformat", lib.getFormat) &&
                        LookUpSymbol(module, "mpg123_read", lib.read) && LookUpSymbol(module, "mpg123_seek", lib.seek) &&
                        LookUpSymbol(module, "mpg123_close", lib.close) && LookUpSymbol(module, "mpg123_info2", lib.info);
        if (!complete || lib.init() != kOk) {
            ::dlclose(module);
            lib = Library{nullptr, 0, lib.name};
            return false;
        }
        lib.module = module;
    }
    ++lib.openCount;
    return true;
}

void Release()
{
    Library& lib = TheLibrary();
    if (--lib.openCount >= 1 || !lib.module)
        return;
    ::dlclose(lib.module);
    lib = Library{nullptr, 0, lib.name};
}

ssize_t ReadSource(void* handle, void* buffer, size_t count)
{
    auto* source = static_cast<CMpegDecoder::Source*>(handle);
    size_t n = std::min(count, source->size - source->position);
    std::memcpy(buffer, source->data + source->position, n);
    source->position += n;
    return static_cast<ssize_t>(n);
}

off_t SeekSource(void* handle, off_t offset, int whence)
{
    auto* source = static_cast<CMpegDecoder::Source*>(handle);
    off_t base = whence == SEEK_CUR ? off_t(source->position) : whence == SEEK_END ? off_t(source->size) : 0;
    off_t target = base + offset;
    if (target < 0 || target > off_t(source->size))
        return -1;
    source->position = size_t(target);
    return target;
}
} // namespace

void CMpegDecoder::SetLibraryName(const char* name)
{
    TheLibrary().name = name ? name : "libmpg123.so.0";
}

bool CMpegDecoder::IsLibraryLoaded()
{
    return TheLibrary().module != nullptr;
}

bool CMpegDecoder::Open(const uint8_t* data, size_t size)
{
    Close();
    if (!data || size == 0 || !Acquire())
        return false;
    Library& lib = TheLibrary();
    int error = 0;
    auto* handle = lib.create(nullptr, &error);
    if (!handle) {
        Release();
        return false;
    }
    m_handle = handle;
    m_source = Source{data, size, 0};
    lib.param(handle, kAddFlags, kFlagQuiet | kFlagGapless, 0.0);
    // Always 16-bit samples, at whatever rate and channel count the file has.
    lib.formatNone(handle);
    const long* rates = nullptr;
    size_t rateCount = 0;
    lib.rates(&rates, &rateCount);
    for (size_t i = 0; i < rateCount; ++i)
        lib.format(handle, rates[i], kMono | kStereo, kEncodingSigned16);

    long rate = 0;
    int channels = 0;
    int encoding = 0;
    bool ok = lib.replaceReader(handle, ReadSource, SeekSource, nullptr) == kOk &&
              lib.openHandle(handle, &m_source) == kOk && lib.scan(handle) == kOk &&
              lib.getFormat(handle, &rate, &channels, &encoding) == kOk && rate > 0 && channels >= 1 &&
              channels <= 2 && encoding == kEncodingSigned16;
    off_t frames = ok ? lib.length(handle) : 0;
    if (!ok || frames <= 0 || frames > INT32_MAX) {
        Close();
        return false;
    }
    FrameInfo frame{};
    lib.info(handle, &frame);
    m_info = MpegAudioInfo{};
    m_info.version = static_cast<uint32_t>(frame.version + 1);
    m_info.layer = static_cast<uint32_t>(frame.layer);
    m_info.bitrate = static_cast<uint32_t>(frame.bitrate);
    m_info.sampleRate = static_cast<uint32_t>(rate);
    m_info.channels = static_cast<uint32_t>(channels);
    m_info.mode = static_cast<uint32_t>(frame.mode);
    m_info.frameBytes = static_cast<uint32_t>(channels * 2);
    m_info.sampleFrames = static_cast<uint32_t>(frames);
    m_info.flags = static_cast<uint32_t>(frame.flags);
    m_size = static_cast<int64_t>(frames) * channels * 2;
    m_position = 0;
    m_decoderDone = false;
    lib.seek(handle, 0, SEEK_SET);
    return true;
}

void CMpegDecoder::Close()
{
    if (!m_handle)
        return;
    Library& lib = TheLibrary();
    auto* handle = static_cast<mpg123_handle*>(m_handle);
    lib.close(handle);
    lib.destroy(handle);
    m_handle = nullptr;
    m_size = 0;
    m_position = 0;
    Release();
}

size_t CMpegDecoder::Read(void* buffer, size_t length)
{
    if (!m_handle || m_position >= m_size)
        return 0;
    length = static_cast<size_t>(std::min<int64_t>(static_cast<int64_t>(length), m_size - m_position));
    auto* out = static_cast<uint8_t*>(buffer);
    size_t total = 0;
    auto* handle = static_cast<mpg123_handle*>(m_handle);
    while (total < length && !m_decoderDone) {
        size_t done = 0;
        int status = TheLibrary().read(handle, out + total, length - total, &done);
        total += done;
        if (status == kDone || (status != kOk && status != kNewFormat) || (status == kOk && done == 0))
            m_decoderDone = true;
    }
    // The size promised at open is what the callers sized their buffers by:
    // a stream that decodes short of it ends in silence.
    if (total < length) {
        std::memset(out + total, 0, length - total);
        total = length;
    }
    m_position += static_cast<int64_t>(total);
    return total;
}

int64_t CMpegDecoder::Seek(int64_t offset, int origin)
{
    if (!m_handle)
        return 0;
    if (origin == 1 && offset == 0)
        return m_position;
    int64_t base = origin == 1 ? m_position : origin == 2 ? m_size : 0;
    int64_t target;
    if (__builtin_add_overflow(base, offset, &target))
        target = offset < 0 ? 0 : m_size;
    target = std::clamp<int64_t>(target, 0, m_size);
    const int64_t frameBytes = m_info.frameBytes;
    target -= target % frameBytes;
    off_t frame = TheLibrary().seek(static_cast<mpg123_handle*>(m_handle), off_t(target / frameBytes), SEEK_SET);
    if (frame < 0)
        return m_position;
    m_decoderDone = false;
    m_position = std::min<int64_t>(static_cast<int64_t>(frame) * frameBytes, m_size);
    return m_position;
}

void CMpegDecoder::GetInfo(MpegAudioInfo& info) const
{
    info = m_info;
}
