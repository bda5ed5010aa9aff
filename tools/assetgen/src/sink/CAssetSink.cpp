#include "sink/CAssetSink.h"

#include "common/AtomicFile.h"
#include "common/ByteOrder.h"
#include "common/DataPath.h"
#include "gamedata/HuntTables.h"
#include "imaging/CDibPalette.h"
#include "sprites/CDibPacked.h"
#include "sprites/PictureFormat.h"
#include "sprites/SpriteFiles.h"

#include <cstdio>
#include <filesystem>
#include <fnmatch.h>
#include <cstring>

namespace fs = std::filesystem;


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
    WriteLE32(&bytes[24], kSoundSampleRate);  // samples per second
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
                              int frames, PaletteUse use)
{
    if (image.width < 1 || image.height < 1 || image.width > 65535 || image.height > 65535) {
        std::fprintf(stderr, "assetgen: %s has no size\n", name.c_str());
        ++m_failures;
        return false;
    }
    m_pictures.push_back({name, image, groups, frames > 0 ? frames : 1, storage, use});
    return true;
}

bool CAssetSink::WriteIndexed(const std::string& name, int width, int height, const std::vector<uint8_t>& indices,
                              const PaletteEntry* entries, PictureStorage storage)
{
    if (!Wants(name))
        return true;
    CDibPacked picture;
    if (indices.size() != size_t(width) * height || picture.Create(width, height, PF_INDEX8) != DIB_OK) {
        Fail("cannot make " + name);
        return false;
    }
    CDibPalette* palette = new CDibPalette;
    DibResult code = palette->Create(256);
    if (code == DIB_OK)
        code = palette->SetEntries(entries, 0, 256);
    if (code == DIB_OK)
        code = picture.SetPalette(palette);
    palette->Release();
    uint8_t* bits = nullptr;
    int pitch = 0;
    if (code == DIB_OK)
        code = picture.Lock(&bits, &pitch);
    if (code != DIB_OK) {
        Fail("cannot make " + name);
        return false;
    }
    for (int y = 0; y < height; ++y) // the picture is bottom-up
        std::memcpy(bits + size_t(height - 1 - y) * pitch, indices.data() + size_t(y) * width, size_t(width));
    picture.Unlock();
    if (storage == PictureStorage::Trle8 && picture.Compress(TAG_TRLE) != DIB_OK) {
        Fail("cannot encode " + name);
        return false;
    }
    if (!Prepare(name) || !WriteSpriteFile(PathOf(name), picture.GetInfoHeader(), picture.GetPictureSize())) {
        Fail("cannot write " + PathOf(name));
        return false;
    }
    return true;
}
