#include "CAssetSink.h"

#include "common/AtomicFile.h"
#include "common/ByteOrder.h"
#include "common/DataPath.h"
#include "imaging/CColourOctreeQuantizer.h"
#include "imaging/CDibPalette.h"
#include "sprites/CDibPacked.h"
#include "sprites/PictureFormat.h"
#include "sprites/SpriteFiles.h"

#include <cstdio>
#include <filesystem>
#include <fnmatch.h>
#include <unordered_map>

namespace fs = std::filesystem;

namespace {

// Opaque art never uses pure black, the key colour: lift near-black to (8, 8, 8).
uint32_t OpaqueColour(uint32_t argb)
{
    uint32_t rgb = argb & 0xFFFFFF;
    const uint32_t r = rgb >> 16, g = (rgb >> 8) & 0xFF, b = rgb & 0xFF;
    if (r < 8 && g < 8 && b < 8)
        return 0x080808;
    return rgb;
}

int Distance(const PaletteEntry& e, uint32_t rgb)
{
    const int r = int(rgb >> 16), g = int((rgb >> 8) & 0xFF), b = int(rgb & 0xFF);
    return (e.red - r) * (e.red - r) + (e.green - g) * (e.green - g) + (e.blue - b) * (e.blue - b);
}

} // namespace

CAssetSink::CAssetSink(std::string outFolder, std::string only) : m_out(std::move(outFolder)), m_only(std::move(only))
{
}

bool CAssetSink::Wants(const std::string& name) const
{
    if (m_only.empty())
        return true;
    // Match the glob against both spellings of the name.
    return ::fnmatch(m_only.c_str(), name.c_str(), 0) == 0 ||
           ::fnmatch(ToNativeSeparators(m_only).c_str(), ToNativeSeparators(name).c_str(), 0) == 0;
}

std::string CAssetSink::PathOf(const std::string& name) const
{
    return (fs::path(m_out) / ToNativeSeparators(name)).string();
}

bool CAssetSink::Prepare(const std::string& name)
{
    std::error_code error;
    fs::create_directories(fs::path(PathOf(name)).parent_path(), error);
    return !error;
}

void CAssetSink::Progress(const std::string& what)
{
    std::fprintf(stderr, "assetgen: %s\n", what.c_str());
}

void CAssetSink::Fail(const std::string& what)
{
    std::fprintf(stderr, "assetgen: %s\n", what.c_str());
    ++m_failures;
}

bool CAssetSink::WriteBytes(const std::string& name, const void* data, size_t size)
{
    if (!Wants(name))
        return true;
    if (!Prepare(name) || !WriteFileAtomically(PathOf(name), data, size)) {
        std::fprintf(stderr, "assetgen: cannot write %s\n", PathOf(name).c_str());
        ++m_failures;
        return false;
    }
    return true;
}

bool CAssetSink::WriteWave(const std::string& name, const std::vector<int16_t>& samples)
{
    const uint32_t dataBytes = uint32_t(samples.size() * 2);
    std::vector<uint8_t> bytes(44 + dataBytes);
    std::memcpy(bytes.data(), "RIFF", 4);
    WriteLE32(&bytes[4], 36 + dataBytes);
    std::memcpy(&bytes[8], "WAVEfmt ", 8);
    WriteLE32(&bytes[16], 16);
    WriteLE16(&bytes[20], 1);      // PCM
    WriteLE16(&bytes[22], 1);      // mono
    WriteLE32(&bytes[24], 22050);  // samples per second
    WriteLE32(&bytes[28], 44100);  // bytes per second
    WriteLE16(&bytes[32], 2);      // block align
    WriteLE16(&bytes[34], 16);     // bits per sample
    std::memcpy(&bytes[36], "data", 4);
    WriteLE32(&bytes[40], dataBytes);
    for (size_t i = 0; i < samples.size(); ++i)
        WriteLE16(&bytes[44 + 2 * i], uint16_t(samples[i]));
    return WriteBytes(name, bytes.data(), bytes.size());
}

bool CAssetSink::WritePicture(const std::string& name, const RgbaImage& image, uint32_t groups, PictureStorage storage,
                              int frames)
{
    if (image.width < 1 || image.height < 1 || image.width > 65535 || image.height > 65535) {
        std::fprintf(stderr, "assetgen: %s has no size\n", name.c_str());
        ++m_failures;
        return false;
    }
    m_pictures.push_back({name, image, groups, frames > 0 ? frames : 1});
    if (!Wants(name))
        return true;

    // The picture's own 255 colours from its opaque pixels.
    std::vector<uint8_t> opaque;
    opaque.reserve(image.pixels.size() * 3);
    for (uint32_t p : image.pixels)
        if (p >> 24) {
            const uint32_t rgb = OpaqueColour(p);
            opaque.push_back(uint8_t(rgb));
            opaque.push_back(uint8_t(rgb >> 8));
            opaque.push_back(uint8_t(rgb >> 16));
        }
    PaletteEntry entries[256] = {};
    int colours = 0;
    if (!opaque.empty()) {
        CColourOctreeQuantizer quantizer(255);
        quantizer.AddPixels(opaque.data(), int(opaque.size() / 3), 1, int(opaque.size()), nullptr, nullptr, 0);
        colours = quantizer.BuildPalette(entries + 1);
    }
    entries[0] = {uint8_t(KEY_COLOUR >> 16), uint8_t(KEY_COLOUR >> 8), uint8_t(KEY_COLOUR), 0};

    CDibPacked picture;
    if (picture.Create(image.width, image.height, PF_INDEX8) != DIB_OK) {
        ++m_failures;
        return false;
    }
    CDibPalette* palette = new CDibPalette;
    palette->Create(256);
    palette->SetEntries(entries, 0, 256);
    picture.SetPalette(palette);
    palette->Release();

    // Exact nearest colour among entries 1..colours, cached per colour.
    std::unordered_map<uint32_t, uint8_t> nearest;
    uint8_t* bits;
    int pitch;
    picture.Lock(&bits, &pitch);
    for (int y = 0; y < image.height; ++y) {
        uint8_t* row = bits + size_t(image.height - 1 - y) * pitch; // bottom-up
        for (int x = 0; x < image.width; ++x) {
            const uint32_t p = image.pixels[size_t(y) * image.width + x];
            if (!(p >> 24) || colours == 0) {
                row[x] = 0;
                continue;
            }
            const uint32_t rgb = OpaqueColour(p);
            auto found = nearest.find(rgb);
            if (found == nearest.end()) {
                int best = 1, bestDistance = 1 << 30;
                for (int i = 1; i <= colours; ++i) {
                    const int d = Distance(entries[i], rgb);
                    if (d < bestDistance) {
                        bestDistance = d;
                        best = i;
                    }
                }
                found = nearest.emplace(rgb, uint8_t(best)).first;
            }
            row[x] = found->second;
        }
    }
    picture.Unlock();
    if (storage == PictureStorage::Trle8 && picture.Compress(TAG_TRLE) != DIB_OK) {
        std::fprintf(stderr, "assetgen: cannot encode %s\n", name.c_str());
        ++m_failures;
        return false;
    }
    if (!Prepare(name) || !WriteSpriteFile(PathOf(name), picture.GetInfoHeader(), picture.GetPictureSize())) {
        std::fprintf(stderr, "assetgen: cannot write %s\n", PathOf(name).c_str());
        ++m_failures;
        return false;
    }
    return true;
}
