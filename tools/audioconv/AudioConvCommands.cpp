#include "AudioConvCommands.h"

#include "media/CAudioFile.h"
#include "media/CFormatConverter.h"
#include "media/CSampleCodeStream.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <strings.h>

namespace {
int Fail(const char* format, const std::string& a, const std::string& b = {})
{
    std::fputs("audioconv: ", stderr);
    std::fprintf(stderr, format, a.c_str(), b.c_str());
    std::fputc('\n', stderr);
    return 1;
}

std::optional<uint32_t> ParseNumber(const std::string& text, uint32_t low, uint32_t high)
{
    if (text.empty() || text.size() > 10)
        return std::nullopt;
    char* end = nullptr;
    unsigned long long value = std::strtoull(text.c_str(), &end, 10);
    if (*end || value < low || value > high)
        return std::nullopt;
    return static_cast<uint32_t>(value);
}

// Options shared by the commands, parsed from "--name value" pairs; what is
// left are the positional arguments.
struct Options {
    std::optional<uint32_t> rate;
    std::optional<uint32_t> bits;
    std::optional<uint32_t> channels;
    std::optional<uint32_t> code;
    std::string type;
    std::string encoding = "linear";
    std::optional<RawPcmDesc> rawIn;
    double hz = 440.0;
    double seconds = 1.0;
    std::vector<std::string> positional;
};

bool ParseRawDesc(const std::string& text, RawPcmDesc& desc)
{
    unsigned rate = 0, code = 0, channels = 0;
    char tail = 0;
    if (std::sscanf(text.c_str(), "%u,%u,%u%c", &rate, &code, &channels, &tail) != 3)
        return false;
    desc = RawPcmDesc{sizeof(RawPcmDesc), rate, code, channels};
    return rate > 0 && IsValidSampleCode(int(code)) && channels >= 1 && channels <= 8;
}

// Returns an empty string on success, else the problem.
std::string ParseOptions(const std::vector<std::string>& args, Options& options)
{
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.rfind("--", 0) != 0) {
            options.positional.push_back(arg);
            continue;
        }
        if (i + 1 >= args.size())
            return "option " + arg + " needs a value";
        const std::string& value = args[++i];
        bool ok = true;
        if (arg == "--rate")
            ok = bool(options.rate = ParseNumber(value, 1000, 192000));
        else if (arg == "--bits")
            ok = (options.bits = ParseNumber(value, 8, 16)) && (*options.bits == 8 || *options.bits == 16);
        else if (arg == "--channels")
            ok = bool(options.channels = ParseNumber(value, 1, 2));
        else if (arg == "--code")
            ok = bool(options.code = ParseNumber(value, 1, 6));
        else if (arg == "--type")
            ok = (options.type = value) == "wav" || value == "aiff" || value == "au" || value == "raw";
        else if (arg == "--encoding")
            ok = (options.encoding = value) == "linear" || value == "mulaw" || value == "alaw";
        else if (arg == "--raw-in")
            ok = ParseRawDesc(value, options.rawIn.emplace());
        else if (arg == "--hz")
            ok = (options.hz = std::atof(value.c_str())) > 0 && options.hz < 96000;
        else if (arg == "--seconds")
            ok = (options.seconds = std::atof(value.c_str())) > 0 && options.seconds <= 600;
        else
            return "unknown option " + arg;
        if (!ok)
            return "bad value '" + value + "' for " + arg;
    }
    return {};
}

std::string ExtensionOf(const std::string& path)
{
    size_t slash = path.find_last_of('/');
    size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return {};
    return path.substr(dot + 1);
}

int SaveTypeFor(const Options& options, const std::string& path)
{
    std::string type = options.type;
    if (type.empty()) {
        std::string ext = ExtensionOf(path);
        if (::strcasecmp(ext.c_str(), "raw") == 0 || ::strcasecmp(ext.c_str(), "pcm") == 0)
            type = "raw";
    }
    if (type == "wav")
        return AUDIO_SAVE_WAV;
    if (type == "aiff")
        return AUDIO_SAVE_AIFF;
    if (type == "au")
        return AUDIO_SAVE_AU;
    if (type == "raw")
        return AUDIO_SAVE_RAW;
    return AUDIO_SAVE_BY_EXTENSION;
}

int OpenInput(CAudioFile& file, const std::string& path, const Options& options)
{
    uint32_t mode = AUDIO_OPEN_STREAM | AUDIO_OPEN_READ_ONLY;
    if (options.rawIn)
        mode |= AudioModeType(AUDIO_TYPE_RAW);
    return file.Open(path, mode, options.rawIn ? &*options.rawIn : nullptr);
}

const char* TypeName(int kind)
{
    switch (kind) {
    case AUDIO_FILE_WAV:
        return "WAV";
    case AUDIO_FILE_MPEG:
        return "MPEG audio";
    case AUDIO_FILE_AIFF:
        return "AIFF";
    case AUDIO_FILE_AU:
        return "AU";
    case AUDIO_FILE_RAW:
        return "headerless PCM";
    default:
        return "unknown";
    }
}

const char* TagName(uint16_t tag)
{
    switch (tag) {
    case WAVE_FORMAT_PCM:
        return "PCM";
    case WAVE_FORMAT_IEEE_FLOAT:
        return "IEEE float";
    case WAVE_FORMAT_ALAW:
        return "A-law";
    case WAVE_FORMAT_MULAW:
        return "mu-law";
    default:
        return "compressed";
    }
}
} // namespace

const char* DescribeAudioResult(int code)
{
    switch (code) {
    case AUDIO_OK:
        return "success";
    case AUDIO_ERR_ENCODING:
        return "unsupported sample encoding or conversion";
    case AUDIO_ERR_SAVE_TYPE:
        return "unsupported file type or sample code";
    case AUDIO_ERR_FILE_TYPE:
        return "unrecognised file type";
    case AUDIO_ERR_OPEN:
        return "cannot open or map the file";
    case AUDIO_ERR_PARSE_MEMORY:
        return "the file does not parse in memory";
    case AUDIO_ERR_NO_MEMORY:
        return "out of memory";
    case AUDIO_ERR_CREATE:
        return "cannot create the output file";
    case AUDIO_ERR_NOTHING:
        return "nothing to save";
    case AUDIO_ERR_WRITE:
        return "write failed, or no MPEG audio decoder";
    case AUDIO_ERR_AU_CONVERTER:
        return "no converter for the AU encoding";
    case AUDIO_ERR_STRUCTURE:
        return "not a valid file of its type";
    case AUDIO_ERR_TEMP_WRITE:
        return "writing the samples failed";
    case AUDIO_ERR_NOT_STREAMED:
        return "the data are not streamed";
    default:
        return "unknown error";
    }
}

int RunInfo(const std::vector<std::string>& args)
{
    Options options;
    std::string problem = ParseOptions(args, options);
    if (problem.empty() && options.positional.size() != 1)
        problem = "info takes one file";
    if (!problem.empty())
        return Fail("%s", problem);
    const std::string& path = options.positional[0];
    CAudioFile file;
    if (int result = OpenInput(file, path, options))
        return Fail("cannot open %s: %s", path, DescribeAudioResult(result));
    const WaveFormat& f = *file.GetFormat();
    std::printf("file: %s\n", path.c_str());
    std::printf("type: %s\n", TypeName(file.GetFileType()));
    std::printf("format: %s, %u Hz, %u bits, %u channel%s (tag %u, block align %u, %u bytes/s)\n",
                TagName(f.formatTag), f.samplesPerSec, f.bitsPerSample, f.channels, f.channels == 1 ? "" : "s",
                f.formatTag, f.blockAlign, f.avgBytesPerSec);
    const uint32_t frames = file.GetFrameCount();
    std::printf("frames: %u\n", frames);
    std::printf("seconds: %.3f\n", f.samplesPerSec ? double(frames) / f.samplesPerSec : 0.0);
    for (size_t i = 0; i < AUDIO_INFO_TAG_COUNT; ++i) {
        std::string_view text = file.GetInfoText(AUDIO_INFO_TAGS[i]);
        if (!text.empty())
            std::printf("%s: %.*s\n", AUDIO_INFO_TAGS[i], int(text.size()), text.data());
    }
    return 0;
}

int RunConvert(const std::vector<std::string>& args)
{
    Options options;
    std::string problem = ParseOptions(args, options);
    if (problem.empty() && options.positional.size() != 2)
        problem = "convert takes an input and an output file";
    if (!problem.empty())
        return Fail("%s", problem);
    const std::string& in = options.positional[0];
    const std::string& out = options.positional[1];
    CAudioFile file;
    if (int result = OpenInput(file, in, options))
        return Fail("cannot open %s: %s", in, DescribeAudioResult(result));
    const WaveFormat source = *file.GetFormat();
    const uint16_t sourceBits = source.IsPcm() && source.bitsPerSample == 8 ? 8 : 16;
    const WaveFormat target = MakePcmFormat(options.rate.value_or(source.samplesPerSec),
                                            static_cast<uint16_t>(options.bits.value_or(sourceBits)),
                                            static_cast<uint16_t>(options.channels.value_or(source.channels)));
    const int type = SaveTypeFor(options, out);
    AudioSaveOption save;
    save.auEncoding = options.encoding == "mulaw" ? AU_SAVE_MULAW : options.encoding == "alaw" ? AU_SAVE_ALAW
                                                                                               : AU_SAVE_LINEAR;
    save.sampleCode = int(options.code.value_or(target.bitsPerSample == 8 ? SAMPLE_CODE_U8 : SAMPLE_CODE_S16LE));
    const uint32_t mode = AudioModeType(type);

    int result;
    if (SameSampleLayout(source, target) || type == AUDIO_SAVE_WAV ||
        (type == AUDIO_SAVE_BY_EXTENSION && ::strcasecmp(ExtensionOf(out).c_str(), "wav") == 0)) {
        // WAV converts on the way out; the others write the file's own format.
        save.targetFormat = &target;
        result = file.Save(out, mode, save);
    } else {
        // Convert into memory first, then write that.
        CFormatConverter converter(source, target, file.GetDataStream(), StreamOwnership::Borrowed);
        if (!converter.GetHealth())
            return Fail("cannot convert %s: %s", in, DescribeAudioResult(AUDIO_ERR_ENCODING));
        converter.Seek(0, STREAM_SEEK_SET);
        CMemoryBlock* block = CMemoryBlock::Allocate(static_cast<size_t>(converter.GetSize()));
        uint8_t* bytes = block ? block->Lock() : nullptr;
        if (!bytes && converter.GetSize() != 0) {
            delete block;
            return Fail("cannot convert %s: %s", in, DescribeAudioResult(AUDIO_ERR_NO_MEMORY));
        }
        size_t filled = 0;
        while (filled < block->Size()) {
            size_t got = converter.Read(bytes + filled, block->Size() - filled);
            if (got == 0)
                break;
            filled += got;
        }
        if (bytes)
            block->Unlock();
        CAudioFile converted;
        if (!converted.Attach(target, block, BlockOwnership::Owned)) {
            delete block;
            return Fail("cannot convert %s: %s", in, DescribeAudioResult(AUDIO_ERR_NO_MEMORY));
        }
        result = converted.Save(out, mode, save);
    }
    if (result != AUDIO_OK)
        return Fail("cannot write %s: %s", out, DescribeAudioResult(result));
    return 0;
}

int RunTone(const std::vector<std::string>& args)
{
    Options options;
    std::string problem = ParseOptions(args, options);
    if (problem.empty() && options.positional.size() != 1)
        problem = "tone takes one output file";
    if (!problem.empty())
        return Fail("%s", problem);
    const WaveFormat format = MakePcmFormat(options.rate.value_or(22050), static_cast<uint16_t>(options.bits.value_or(16)),
                                            static_cast<uint16_t>(options.channels.value_or(1)));
    const size_t frames = static_cast<size_t>(options.seconds * format.samplesPerSec);
    CMemoryBlock* block = CMemoryBlock::Allocate(frames * format.blockAlign);
    uint8_t* bytes = block ? block->Lock() : nullptr;
    if (!bytes)
        return Fail("%s", "out of memory");
    for (size_t i = 0; i < frames; ++i) {
        const double value = 0.5 * std::sin(2 * M_PI * options.hz * double(i) / format.samplesPerSec);
        for (int c = 0; c < format.channels; ++c) {
            uint8_t* sample = bytes + i * format.blockAlign + size_t(c) * format.bitsPerSample / 8;
            if (format.bitsPerSample == 8) {
                sample[0] = static_cast<uint8_t>(128 + std::lround(127 * value));
            } else {
                auto s = static_cast<int16_t>(std::lround(32767 * value));
                sample[0] = static_cast<uint8_t>(s & 0xFF);
                sample[1] = static_cast<uint8_t>((s >> 8) & 0xFF);
            }
        }
    }
    block->Unlock();
    CAudioFile file;
    if (!file.Attach(format, block, BlockOwnership::Owned)) {
        delete block; // not taken: the block is still ours
        return Fail("cannot make %s: out of memory", options.positional[0]);
    }
    file.SetInfoText("ISFT", "audioconv");
    if (int result = file.Save(options.positional[0], AudioModeType(AUDIO_SAVE_WAV)))
        return Fail("cannot write %s: %s", options.positional[0], DescribeAudioResult(result));
    return 0;
}
