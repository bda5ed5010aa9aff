#include "KvfPictureIO.h"

#include "imaging/CDibPalette.h"
#include "sprites/PictureFormat.h"
#include "sprites/SpriteFiles.h"

#include <cstdio>
#include <sys/stat.h>
#include <vector>

namespace {

struct FormatName {
    const char* name;
    PixelFormat format;
};

const FormatName kFormatNames[] = {
    {"INDEX1", PF_INDEX1}, {"INDEX2", PF_INDEX2}, {"INDEX4", PF_INDEX4}, {"INDEX8", PF_INDEX8},
    {"RGB555", PF_RGB555}, {"BGR555", PF_BGR555}, {"RGB565", PF_RGB565}, {"BGR565", PF_BGR565},
    {"RGB24", PF_RGB24},   {"BGR24", PF_BGR24},   {"RGB32", PF_RGB32},   {"BGR32", PF_BGR32},
};

bool IsRegularFile(const std::string& path)
{
    struct stat info;
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

} // namespace

int KvfFail(const std::string& message, int exitCode)
{
    std::fprintf(stderr, "kvftool: %s\n", message.c_str());
    return exitCode;
}

bool LoadSpriteFile(const std::string& path, CDibPacked& image, std::string& error)
{
    if (!IsRegularFile(path)) {
        error = "cannot open " + path;
        return false;
    }
    CMemoryBlock* block = CMemoryBlock::OpenFile(path, FileAccess::ReadOnly);
    if (!block) {
        error = "cannot open " + path;
        return false;
    }
    if (image.Attach(block) != DIB_OK) {
        error = path + " is not a sprite picture (or is damaged)";
        return false;
    }
    return true;
}

bool LoadDecodedSpriteFile(const std::string& path, CDibPacked& image, std::string& error)
{
    if (!LoadSpriteFile(path, image, error))
        return false;
    if (!image.IsCompressed())
        return true;
    const std::string tag = CompressionName(InfoCompression(image.GetInfoHeader()));
    switch (image.Decompress()) {
    case DIB_OK:
        return true;
    case DIB_UNKNOWN_CODEC:
        error = path + ": codec " + tag + " is not available in this build";
        return false;
    default:
        error = path + ": the " + tag + " data is damaged";
        return false;
    }
}

bool SaveSpriteFile(const std::string& path, CDibPacked& image, std::string& error)
{
    image.SyncPalette(); // colours set since loading go into the colour table
    const uint8_t* info = image.GetInfoHeader();
    if (!info || !WriteSpriteFile(path, info, image.GetPictureSize())) {
        error = "cannot write " + path;
        return false;
    }
    return true;
}

CDibPalette* LoadPaletteFromPicture(const std::string& path, std::string& error)
{
    CDibPacked picture;
    if (!LoadSpriteFile(path, picture, error))
        return nullptr;
    CDibPalette* own = picture.GetPalette();
    if (!own) {
        error = path + " has no palette (it is not a 1- to 8-bit picture)";
        return nullptr;
    }
    // Only the colours the file really lists may be chosen.
    const int listed = int((PictureHeaderSize(picture.GetInfoHeader()) - INFO_HEADER_SIZE) / 4);
    std::vector<PaletteEntry> entries(256, PaletteEntry{0, 0, 0, PALETTE_FLAG_RESERVED});
    own->GetEntries(entries.data(), 0, listed < own->GetCount() ? listed : own->GetCount());
    auto* palette = new CDibPalette;
    palette->Create(256);
    palette->SetEntries(entries.data(), 0, 256);
    return palette;
}

bool ParsePixelFormatName(std::string_view name, PixelFormat& format)
{
    for (const FormatName& entry : kFormatNames)
        if (name == entry.name) {
            format = entry.format;
            return true;
        }
    return false;
}

std::string PixelFormatName(PixelFormat format)
{
    for (const FormatName& entry : kFormatNames)
        if (format == entry.format)
            return entry.name;
    return "unknown";
}

std::string CompressionName(uint32_t compression)
{
    if (compression == BI_RGB)
        return "none";
    if (compression == BI_BITFIELDS)
        return "bitfields";
    std::string tag;
    for (int i = 0; i < 4; ++i) {
        const char c = char((compression >> (8 * i)) & 0xFF);
        tag += (c >= 0x20 && c < 0x7F) ? c : '?';
    }
    return tag;
}

bool ParseTag(std::string_view name, uint32_t& tag)
{
    if (name.size() != 4)
        return false;
    tag = 0;
    for (int i = 0; i < 4; ++i)
        tag |= uint32_t(uint8_t(name[size_t(i)])) << (8 * i);
    return true;
}

uint32_t EncodeRequestFor(uint32_t stored)
{
    return (stored == TAG_PKC1 || stored == TAG_PKC2) ? TAG_PKCC : stored;
}
