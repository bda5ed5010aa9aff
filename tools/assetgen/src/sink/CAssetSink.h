#pragma once
// CAssetSink: where every generator puts what it makes. It writes the files
// of the data folder (sounds, the video, the help page) at once and skips
// names that --only does not match. Pictures are only recorded: their 8-bit
// palettes are made from every picture shown with them, so the last
// generator (GeneratePalettes) writes them all once every picture is known.

#include "paint/RgbaImage.h"

#include "imaging/PaletteEntry.h"

#include <cstdint>
#include <string>
#include <vector>

// Which 8-bit palettes a picture is shown with.
enum PaletteGroup : uint32_t {
    GROUP_MENU = 0x1,
    GROUP_DESERT = 0x2,
    GROUP_PLAINS = 0x4,
    GROUP_GRASS = 0x8,
    GROUP_HUNT = GROUP_DESERT | GROUP_PLAINS | GROUP_GRASS,
    GROUP_ALL = GROUP_MENU | GROUP_HUNT,
};

// Which colours a picture is written in.
enum class PaletteUse {
    // The palette of the context it is shown in, so 8-bit display shows it
    // exactly: the menu palette for menu pictures, a scenario's palette for
    // that scenario's scenery, and for pictures shown over the hunt in every
    // scenario the colours that all three scenario palettes share.
    Context,
    // Its own colours, which the game maps to each context's palette when it
    // draws them (sprites seen in every scenario: animals, the jeep, guns).
    Own,
    // Its own colours, which the game shades towards the haze and maps to
    // the scenario palette at every haze level (the ground textures).
    Ground,
};

enum class PictureStorage {
    // 8-bit "TRLE": transparent pixels are index 0 (sprites, menu items).
    Trle8,
    // 8-bit uncompressed: transparent pixels take the key colour, which the
    // game reads from a key pixel of the picture (surfaces loaded against the
    // back buffer: cursor, binoculars, smoke, end pictures).
    Plain8,
};

// The key colour of Plain8 pictures: pure black, which the art itself never
// uses (opaque black is written as (8, 8, 8)).
constexpr uint32_t KEY_COLOUR = 0x000000;

struct RecordedPicture {
    std::string name;
    RgbaImage image;
    uint32_t groups;
    int frames = 1; // the contact sheet shows the first frame of a strip
    PictureStorage storage = PictureStorage::Trle8;
    PaletteUse use = PaletteUse::Context;
};

class CAssetSink {
public:
    // `only` is a glob over the data names ("menu\\*.bmp"); empty = all.
    CAssetSink(std::string outFolder, std::string only);

    // Records a picture as a strip of `frames` equal frames (`image.height`
    // is the whole strip), shown in the contexts of `groups`; it is written
    // later by WriteIndexed. False for a picture without a usable size.
    bool WritePicture(const std::string& name, const RgbaImage& image, uint32_t groups,
                      PictureStorage storage = PictureStorage::Trle8, int frames = 1,
                      PaletteUse use = PaletteUse::Context);
    // Writes an 8-bit picture: `indices` top row first, 0 transparent (or the
    // key), with a palette of 256 entries.
    bool WriteIndexed(const std::string& name, int width, int height, const std::vector<uint8_t>& indices,
                      const PaletteEntry* palette, PictureStorage storage);
    // 22050 Hz, 16-bit, mono PCM as a WAV file.
    bool WriteWave(const std::string& name, const std::vector<int16_t>& samples);
    bool WriteBytes(const std::string& name, const void* data, size_t size);
    // True when --only lets `name` through (a generator can skip the work).
    bool Wants(const std::string& name) const;

    // The full path a name is written to (for writers with their own I/O).
    std::string PathOf(const std::string& name) const;
    // Progress lines on standard error.
    void Progress(const std::string& what);
    // A part that could not be made: said on standard error and counted, so
    // the generator ends with a failure status.
    void Fail(const std::string& what);
    const std::vector<RecordedPicture>& Pictures() const { return m_pictures; }
    // Where the palette check writes its figures for every picture (none when empty).
    void SetCheckReport(const std::string& path) { m_checkReport = path; }
    const std::string& CheckReport() const { return m_checkReport; }
    int Failures() const { return m_failures; }

private:
    bool Prepare(const std::string& name);

    std::string m_out;
    std::string m_only;
    std::string m_checkReport;
    std::vector<RecordedPicture> m_pictures;
    int m_failures = 0;
};
