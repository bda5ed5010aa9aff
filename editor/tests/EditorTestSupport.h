#pragma once
// Fixtures of the editor tests, all generated: packed pictures of every
// depth, a temporary folder, a recording progress dialog, snapshots of a
// document's frames, and AVI files written by hand (independent of the
// writer under test) for the reader's unusual and hostile cases.

#include "common/ByteOrder.h"
#include "editor/CKVFEditorDoc.h"
#include "editor/CStoredFrame.h"
#include "editor/IEditorProgress.h"
#include "imaging/CDibPalette.h"
#include "imaging/CDibSection.h"
#include "sprites/CDibPacked.h"
#include "sprites/PictureFormat.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace edtest {

using Bytes = std::vector<uint8_t>;

// A step of making a fixture that cannot fail unless the libraries are
// broken: stops the test program with the step's name rather than testing
// on a picture that was never made. (These helpers serve GoogleTest and
// QTest programs alike, so they cannot use either's checks.)
inline void Require(bool done, const char* step)
{
    if (!done) {
        std::fprintf(stderr, "test fixture failed: %s\n", step);
        std::abort();
    }
}

// Every format a picture header can describe.
inline const std::vector<PixelFormat>& AllFormats()
{
    static const std::vector<PixelFormat> formats = {PF_INDEX1, PF_INDEX2, PF_INDEX4, PF_INDEX8, PF_RGB555,
                                                     PF_BGR555, PF_RGB565, PF_BGR565, PF_RGB24,  PF_RGB32};
    return formats;
}

inline uint32_t Noise(uint32_t& state)
{
    state = state * 1664525u + 1013904223u;
    return state >> 8;
}

// A section of the format with seeded pixels and, for indexed formats, a
// seeded palette of 2^bits colours.
inline void FillSection(CDibSection& section, PixelFormat format, int width, int height, uint32_t seed)
{
    Require(section.Create(width, height, format) == DIB_OK, "a noise picture");
    uint32_t state = seed * 2654435761u + 7;
    if (PixelFormatIsIndexed(format)) {
        const int count = 1 << PixelFormatBits(format);
        std::vector<PaletteEntry> entries(static_cast<size_t>(count));
        for (auto& entry : entries)
            entry = PaletteEntry{uint8_t(Noise(state)), uint8_t(Noise(state)), uint8_t(Noise(state)), 0};
        CDibPalette* palette = section.NewPalette();
        Require(palette->Create(count) == DIB_OK && palette->SetEntries(entries.data(), 0, count) == DIB_OK &&
                    section.SetPalette(palette) == DIB_OK,
                "a noise picture's palette");
        palette->Release();
    }
    const size_t rowBytes = (size_t(width) * PixelFormatBits(format) + 7) / 8;
    for (int y = 0; y < height; ++y)
        for (size_t x = 0; x < rowBytes; ++x)
            section.Bits()[size_t(y) * size_t(section.Pitch()) + x] = uint8_t(Noise(state));
}

// The packed picture (info header first) of a section.
inline Bytes PackedBytes(CDib& image)
{
    CDibPacked packed;
    if (packed.CopyFrom(&image) != DIB_OK)
        return {};
    const uint8_t* info = packed.GetInfoHeader();
    return Bytes(info, info + packed.GetPictureSize());
}

inline Bytes MakePicture(PixelFormat format, int width, int height, uint32_t seed)
{
    CDibSection section;
    FillSection(section, format, width, height, seed);
    return PackedBytes(section);
}

// A picture of one colour (24-bit), for tests that follow frames by colour.
inline Bytes SolidPicture(int width, int height, uint8_t red, uint8_t green, uint8_t blue)
{
    CDibSection section;
    Require(section.Create(width, height, PF_RGB24) == DIB_OK, "a solid picture");
    section.FillRect(0, 0, width, height, uint32_t(red) << 16 | uint32_t(green) << 8 | blue);
    return PackedBytes(section);
}

// The frame's picture decoded, in plain form.
inline Bytes Decoded(CDibPacked* frame)
{
    if (!frame)
        return {};
    CDibPacked copy;
    if (copy.CopyFrom(frame) != DIB_OK || (copy.IsCompressed() && copy.Decompress() != DIB_OK))
        return {};
    const uint8_t* info = copy.GetInfoHeader();
    return Bytes(info, info + copy.GetPictureSize());
}

// The frame's picture as stored, byte for byte (possibly encoded).
inline Bytes Stored(const CDibPacked* frame)
{
    const uint8_t* info = frame ? frame->GetInfoHeader() : nullptr;
    return info ? Bytes(info, info + frame->GetPictureSize()) : Bytes();
}

// A plain picture's bytes in a section of its own format.
inline void SectionOfPicture(const Bytes& bytes, CDibSection& section)
{
    CDibPacked plain;
    CMemoryBlock* block = CMemoryBlock::Allocate(bytes.size());
    if (!block)
        return;
    std::copy(bytes.begin(), bytes.end(), block->Lock());
    block->Unlock();
    // Both test frameworks use this; a refusal leaves the section empty,
    // which the caller's comparison reports.
    if (plain.Attach(block) != DIB_OK || section.CopyFrom(&plain) != DIB_OK)
        section.Destroy();
}

// The frame's picture in a section of its own format.
inline void DecodedSection(CDibPacked* frame, CDibSection& section)
{
    SectionOfPicture(Decoded(frame), section);
}

// Pixel (x, y) from the top of a frame, as a 24-bit colour 0xRRGGBB.
inline uint32_t ColourAt(CDibPacked* frame, int x, int y)
{
    CDibSection rgb;
    DecodedSection(frame, rgb);
    Require(rgb.ConvertFormat(PF_RGB24, nullptr, 0) == DIB_OK, "a frame widened to 24 bits");
    return rgb.GetPixel(x, y);
}

// The same for a document's stored frames, whose plain picture is what
// they hold, whatever they pack it with.
inline Bytes Decoded(const CStoredFrame* frame)
{
    return frame ? frame->Picture() : Bytes();
}

inline Bytes Stored(const CStoredFrame* frame)
{
    return Decoded(frame);
}

inline void DecodedSection(const CStoredFrame* frame, CDibSection& section)
{
    SectionOfPicture(Decoded(frame), section);
}

inline uint32_t ColourAt(const CStoredFrame* frame, int x, int y)
{
    CDibSection rgb;
    DecodedSection(frame, rgb);
    Require(rgb.ConvertFormat(PF_RGB24, nullptr, 0) == DIB_OK, "a frame widened to 24 bits");
    return rgb.GetPixel(x, y);
}

struct DocumentState {
    std::vector<Bytes> frames; // as stored
    int current = 0;
    bool operator==(const DocumentState&) const = default;
};

inline DocumentState Snapshot(const CKVFEditorDoc& doc)
{
    DocumentState state;
    for (int i = 0; i < doc.GetFrameCount(); ++i)
        state.frames.push_back(Stored(doc.GetFrame(i)));
    state.current = doc.GetCurrentFrame();
    return state;
}

// The frames decoded, for comparing documents whose frames are stored
// differently (encoded after an edit, plain after loading).
inline std::vector<Bytes> DecodedFrames(const CKVFEditorDoc& doc)
{
    std::vector<Bytes> frames;
    for (int i = 0; i < doc.GetFrameCount(); ++i)
        frames.push_back(Decoded(doc.GetFrame(i)));
    return frames;
}

class TempDir {
public:
    TempDir()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "kvfeditXXXXXX").string();
        m_path = ::mkdtemp(pattern.data()) ? pattern : std::string();
    }
    ~TempDir()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    std::string File(const std::string& name) const { return m_path + "/" + name; }
    const std::string& Path() const { return m_path; }
    size_t EntryCount() const
    {
        return size_t(std::distance(std::filesystem::directory_iterator(m_path), {}));
    }

private:
    std::string m_path;
};

inline Bytes ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

inline void WriteFile(const std::string& path, const Bytes& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

class RecordingProgress : public IEditorProgress {
public:
    void Begin(const std::string& caption) override { log.push_back("begin " + caption); }
    void SetRange(int lower, int upper) override
    {
        log.push_back("range " + std::to_string(lower) + " " + std::to_string(upper));
    }
    void SetPosition(int position) override { log.push_back("position " + std::to_string(position)); }
    void SetMessage(const std::string& text) override { log.push_back("message " + text); }
    void End() override { log.push_back("end"); }
    // Cancels once `cancelAfter` positions have been shown (never when negative).
    bool IsCancelled() const override
    {
        return cancelAfter >= 0 &&
               std::count_if(log.begin(), log.end(), [](const std::string& line) {
                   return line.rfind("position ", 0) == 0;
               }) > cancelAfter;
    }

    std::vector<std::string> log;
    int cancelAfter = -1;
};

// ---- AVI files written by hand.

// A RIFF chunk: four-letter id, 32-bit size, data, a pad byte to even size.
inline void AppendChunk(Bytes& out, const char* id, const Bytes& data)
{
    const size_t at = out.size();
    out.resize(at + 8);
    std::copy(id, id + 4, out.begin() + ptrdiff_t(at));
    WriteLE32(out.data() + at + 4, uint32_t(data.size()));
    out.insert(out.end(), data.begin(), data.end());
    if (data.size() & 1)
        out.push_back(0);
}

inline Bytes List(const char* type, const Bytes& body)
{
    Bytes data(type, type + 4);
    data.insert(data.end(), body.begin(), body.end());
    return data;
}

inline void PutLE32(Bytes& out, uint32_t value)
{
    out.resize(out.size() + 4);
    WriteLE32(out.data() + out.size() - 4, value);
}

struct HandAvi {
    Bytes format;                   // strf: BITMAPINFOHEADER and what follows it
    std::vector<Bytes> chunks;      // frame data, in order
    const char* chunkId = "00db";
    const char* streamType = "vids";
    uint32_t handler = 0;
    int width = 0, height = 0;
    uint32_t announcedFrames = 0;   // avih and strh length; 0: the chunk count
    bool index = true;              // write idx1

    Bytes Build() const
    {
        const uint32_t frames = announcedFrames ? announcedFrames : uint32_t(chunks.size());
        Bytes avih;
        for (uint32_t v : {66666u, 0u, 0u, 0x10u, frames, 0u, 1u, 0u, uint32_t(width), uint32_t(height), 0u, 0u,
                           0u, 0u})
            PutLE32(avih, v);
        Bytes strh(streamType, streamType + 4);
        for (uint32_t v : {handler, 0u, 0u, 0u, 1u, 15u, 0u, frames, 0u, 0xFFFFFFFFu, 0u})
            PutLE32(strh, v);
        PutLE32(strh, 0);
        PutLE32(strh, uint32_t(width) | uint32_t(height) << 16);
        Bytes strl;
        AppendChunk(strl, "strh", strh);
        AppendChunk(strl, "strf", format);
        Bytes hdrl;
        AppendChunk(hdrl, "avih", avih);
        AppendChunk(hdrl, "LIST", List("strl", strl));
        Bytes movi;
        Bytes idx1;
        for (const Bytes& chunk : chunks) {
            idx1.insert(idx1.end(), chunkId, chunkId + 4);
            PutLE32(idx1, 0x10);
            PutLE32(idx1, uint32_t(movi.size() + 4));
            PutLE32(idx1, uint32_t(chunk.size()));
            AppendChunk(movi, chunkId, chunk);
        }
        Bytes body;
        AppendChunk(body, "LIST", List("hdrl", hdrl));
        AppendChunk(body, "LIST", List("movi", movi));
        if (index)
            AppendChunk(body, "idx1", idx1);
        Bytes file;
        AppendChunk(file, "RIFF", List("AVI ", body));
        return file;
    }
};

// A bitmap info header: 40 bytes.
inline Bytes InfoHeader(int width, int height, uint16_t bits, uint32_t compression, uint32_t imageSize = 0,
                        uint32_t coloursUsed = 0)
{
    Bytes header(40, 0);
    WriteLE32(header.data(), 40);
    WriteLE32(header.data() + 4, uint32_t(width));
    WriteLE32(header.data() + 8, uint32_t(height));
    WriteLE16(header.data() + 12, 1);
    WriteLE16(header.data() + 14, bits);
    WriteLE32(header.data() + 16, compression);
    WriteLE32(header.data() + 20, imageSize);
    WriteLE32(header.data() + 32, coloursUsed);
    return header;
}

// A one-stream video of another codec: a compressed bitmap header (with
// its colour table, if any) and one chunk per frame.
inline HandAvi CodecAvi(int width, int height, uint16_t bits, uint32_t compression, const Bytes& colours,
                        std::vector<Bytes> chunks)
{
    HandAvi avi;
    avi.width = width;
    avi.height = height;
    avi.chunkId = "00dc";
    avi.handler = compression;
    avi.format = InfoHeader(width, height, bits, compression, 0, uint32_t(colours.size() / 4));
    avi.format.insert(avi.format.end(), colours.begin(), colours.end());
    avi.chunks = std::move(chunks);
    return avi;
}

// Finds the first chunk with the id in a RIFF file (a plain byte search is
// enough for the files these tests make); -1 when there is none.
inline ptrdiff_t FindChunk(const Bytes& file, const char* id)
{
    for (size_t i = 0; i + 8 <= file.size(); ++i)
        if (std::equal(id, id + 4, file.begin() + ptrdiff_t(i)))
            return ptrdiff_t(i);
    return -1;
}

} // namespace edtest
