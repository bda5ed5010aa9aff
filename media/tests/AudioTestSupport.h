#pragma once
// Small helpers for the audio tests: generated samples, hand-built file
// bytes (made independently of the writers under test), a temporary folder.

#include "common/CMemoryBlock.h"
#include "media/CAudioFile.h"
#include "media/CStream.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace audiotest {

using Bytes = std::vector<uint8_t>;

// How the tests open a file to read it as a stream, without loading it whole.
constexpr uint32_t kStreamed = AUDIO_OPEN_STREAM | AUDIO_OPEN_READ_ONLY;

// A new memory block holding `bytes`; the caller owns it.
inline CMemoryBlock* BlockOf(const Bytes& bytes)
{
    CMemoryBlock* block = CMemoryBlock::Allocate(bytes.size());
    std::memcpy(block->Lock(), bytes.data(), bytes.size());
    block->Unlock();
    return block;
}

// A sine of `frequency` Hz, 16-bit little-endian, the same in every channel
// except that channel c is scaled by 1 / (c + 1) so channels can be told apart.
inline Bytes Sine16(uint32_t rate, uint16_t channels, size_t frames, double frequency = 440.0, double level = 12000.0)
{
    Bytes out(frames * channels * 2);
    for (size_t i = 0; i < frames; ++i)
        for (uint16_t c = 0; c < channels; ++c) {
            auto v = static_cast<int16_t>(std::lround(level / (c + 1) * std::sin(2 * M_PI * frequency * double(i) / rate)));
            out[(i * channels + c) * 2] = static_cast<uint8_t>(v & 0xFF);
            out[(i * channels + c) * 2 + 1] = static_cast<uint8_t>((v >> 8) & 0xFF);
        }
    return out;
}

// The same wave as unsigned 8-bit samples.
inline Bytes Sine8(uint32_t rate, uint16_t channels, size_t frames, double frequency = 440.0)
{
    Bytes out(frames * channels);
    for (size_t i = 0; i < frames; ++i)
        for (uint16_t c = 0; c < channels; ++c)
            out[i * channels + c] =
                static_cast<uint8_t>(128 + std::lround(100.0 / (c + 1) * std::sin(2 * M_PI * frequency * double(i) / rate)));
    return out;
}

inline void PutLE16(Bytes& b, uint16_t v)
{
    b.push_back(uint8_t(v));
    b.push_back(uint8_t(v >> 8));
}
inline void PutLE32(Bytes& b, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b.push_back(uint8_t(v >> (8 * i)));
}
inline void PutBE16(Bytes& b, uint16_t v)
{
    b.push_back(uint8_t(v >> 8));
    b.push_back(uint8_t(v));
}
inline void PutBE32(Bytes& b, uint32_t v)
{
    for (int i = 3; i >= 0; --i)
        b.push_back(uint8_t(v >> (8 * i)));
}
inline void PutTag(Bytes& b, const char* tag)
{
    for (int i = 0; i < 4; ++i)
        b.push_back(static_cast<uint8_t>(tag[i]));
}

// A chunk: id, little-endian size, body, pad byte when odd.
inline void PutChunk(Bytes& b, const char* id, const Bytes& body, uint32_t claimedSize = UINT32_MAX)
{
    PutTag(b, id);
    PutLE32(b, claimedSize == UINT32_MAX ? uint32_t(body.size()) : claimedSize);
    b.insert(b.end(), body.begin(), body.end());
    if (body.size() & 1)
        b.push_back(0);
}

inline Bytes PcmFmtBody(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits, bool withExtraSize = true)
{
    Bytes fmt;
    uint16_t align = static_cast<uint16_t>(bits / 8 * channels);
    PutLE16(fmt, tag);
    PutLE16(fmt, channels);
    PutLE32(fmt, rate);
    PutLE32(fmt, align * rate);
    PutLE16(fmt, align);
    PutLE16(fmt, bits);
    if (withExtraSize)
        PutLE16(fmt, 0);
    return fmt;
}

// RIFF/WAVE around the given chunks (already encoded).
inline Bytes Riff(const Bytes& chunks, const char* form = "WAVE")
{
    Bytes b;
    PutTag(b, "RIFF");
    PutLE32(b, uint32_t(chunks.size() + 4));
    PutTag(b, form);
    b.insert(b.end(), chunks.begin(), chunks.end());
    return b;
}

inline Bytes SimpleWav(uint16_t channels, uint32_t rate, uint16_t bits, const Bytes& data, uint16_t tag = 1)
{
    Bytes chunks;
    PutChunk(chunks, "fmt ", PcmFmtBody(tag, channels, rate, bits));
    PutChunk(chunks, "data", data);
    return Riff(chunks);
}

inline Bytes ReadAll(CStream* stream, size_t step = 4096)
{
    Bytes out;
    Bytes block(step);
    while (size_t got = stream->Read(block.data(), block.size()))
        out.insert(out.end(), block.begin(), block.begin() + static_cast<std::ptrdiff_t>(got));
    return out;
}

// The sample data of an open file, from memory or from its stream.
inline Bytes SampleData(CAudioFile& file)
{
    if (file.GetState() == AUDIO_STATE_MEMORY) {
        CMemoryBlock* block = file.GetMemoryData();
        const uint8_t* bytes = block->Size() ? block->Lock() : nullptr;
        Bytes out(bytes, bytes + block->Size());
        if (bytes)
            block->Unlock();
        return out;
    }
    file.GetDataStream()->Seek(0, STREAM_SEEK_SET);
    return ReadAll(file.GetDataStream());
}

inline Bytes ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteFile(const std::string& path, const Bytes& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// A fresh folder, removed with everything in it.
class TempFolder {
public:
    TempFolder()
    {
        static int counter = 0;
        m_path = std::filesystem::temp_directory_path() /
                 ("veldra-audio-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
        std::filesystem::create_directories(m_path);
    }
    ~TempFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    std::string File(const std::string& name) const { return (m_path / name).string(); }
    std::string Path() const { return m_path.string(); }
    size_t Count() const
    {
        return static_cast<size_t>(std::distance(std::filesystem::directory_iterator(m_path),
                                                 std::filesystem::directory_iterator()));
    }

private:
    std::filesystem::path m_path;
};

} // namespace audiotest
