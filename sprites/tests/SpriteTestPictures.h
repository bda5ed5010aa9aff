#pragma once
// Small packed pictures built by hand for the sprite tests, independent of
// the code under test: info header, colour table or masks, bottom-up rows.

#include "common/ByteOrder.h"
#include "common/CMemoryBlock.h"
#include "sprites/CDibPacked.h"

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace testpic {

struct Picture {
    std::vector<uint8_t> bytes; // info header first
    int width = 0, height = 0;
    uint32_t bitCount = 0;
    size_t headerSize = 0;
    size_t stride = 0;

    uint8_t* RowFromTop(int y) { return bytes.data() + headerSize + size_t(height - 1 - y) * stride; }
    // Whole pixels of 8 bits and more, little-endian.
    void Set(int x, int y, uint32_t value)
    {
        uint8_t* p = RowFromTop(y) + size_t(x) * (bitCount / 8);
        for (uint32_t i = 0; i < bitCount / 8; ++i)
            p[i] = uint8_t(value >> (8 * i));
    }
    uint32_t Get(int x, int y)
    {
        const uint8_t* p = RowFromTop(y) + size_t(x) * (bitCount / 8);
        uint32_t value = 0;
        for (uint32_t i = 0; i < bitCount / 8; ++i)
            value |= uint32_t(p[i]) << (8 * i);
        return value;
    }
    void SetColour(int index, uint8_t r, uint8_t g, uint8_t b)
    {
        uint8_t* quad = bytes.data() + 40 + 4 * index;
        quad[0] = b;
        quad[1] = g;
        quad[2] = r;
        quad[3] = 0;
    }
};

inline size_t Stride(int width, uint32_t bitCount)
{
    return ((size_t(width) * bitCount + 7) / 8 + 3) & ~size_t(3);
}

// An uncompressed picture. Indexed pictures get `colours` table entries
// (0: the full 2^bits, written as colours used 0); `masks` (red, green,
// blue) make it BI_BITFIELDS.
inline Picture Make(int width, int height, uint32_t bitCount, const uint32_t* masks = nullptr, int colours = 0)
{
    Picture pic;
    pic.width = width;
    pic.height = height;
    pic.bitCount = bitCount;
    size_t table = 0;
    if (bitCount <= 8)
        table = 4 * size_t(colours ? colours : 1 << bitCount);
    else if (masks)
        table = 12;
    pic.headerSize = 40 + table;
    pic.stride = Stride(width, bitCount);
    pic.bytes.assign(pic.headerSize + pic.stride * size_t(height), 0);
    uint8_t* info = pic.bytes.data();
    WriteLE32(info, 40);
    WriteLE32(info + 4, uint32_t(width));
    WriteLE32(info + 8, uint32_t(height));
    WriteLE16(info + 12, 1);
    WriteLE16(info + 14, uint16_t(bitCount));
    WriteLE32(info + 16, masks ? 3u : 0u);
    WriteLE32(info + 32, uint32_t(bitCount <= 8 ? colours : 0));
    if (masks)
        for (int i = 0; i < 3; ++i)
            WriteLE32(info + 40 + 4 * i, masks[i]);
    return pic;
}

// Deterministic filler: a value per pixel from a small linear generator.
inline uint32_t Noise(uint32_t& state)
{
    state = state * 1664525u + 1013904223u;
    return state >> 8;
}

// The picture behind a 14-byte file header, as a sprite file holds it.
inline std::vector<uint8_t> AsFile(const std::vector<uint8_t>& picture)
{
    std::vector<uint8_t> file(14 + picture.size());
    file[0] = 'B';
    file[1] = 'M';
    WriteLE32(file.data() + 2, uint32_t(file.size()));
    // Bits offset: where the pixels of the uncompressed picture start.
    const uint32_t bits = ReadLE16(picture.data() + 14), used = ReadLE32(picture.data() + 32);
    uint32_t header = 40;
    if (bits <= 8)
        header += 4 * (used ? used : 1u << bits);
    else if (ReadLE32(picture.data() + 16) == 3)
        header += 12;
    WriteLE32(file.data() + 10, 14 + header);
    std::memcpy(file.data() + 14, picture.data(), picture.size());
    return file;
}

// A global block holding exactly `bytes`, so reads past them trip the sanitizers.
inline CMemoryBlock* BlockOf(const std::vector<uint8_t>& bytes)
{
    CMemoryBlock* block = CMemoryBlock::Allocate(bytes.size());
    if (!bytes.empty()) {
        std::memcpy(block->Lock(), bytes.data(), bytes.size());
        block->Unlock();
    }
    return block;
}

inline std::vector<uint8_t> Copy(const uint8_t* bytes, size_t size)
{
    return std::vector<uint8_t>(bytes, bytes + size);
}

// A temporary folder removed with the object.
class TempFolder {
public:
    explicit TempFolder(const std::string& tag)
    {
        static int serial = 0;
        m_path = std::filesystem::temp_directory_path() /
                 (tag + "-" + std::to_string(::getpid()) + "-" + std::to_string(serial++));
        std::filesystem::create_directories(m_path);
    }
    ~TempFolder() { std::filesystem::remove_all(m_path); }
    std::string File(const std::string& name) const { return (m_path / name).string(); }
    const std::filesystem::path& Path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

inline void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

inline std::vector<uint8_t> ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Attaches a new memory block holding `bytes` to `image`.
inline DibResult AttachBytes(CDibPacked& image, const std::vector<uint8_t>& bytes)
{
    return image.Attach(BlockOf(bytes));
}

} // namespace testpic
