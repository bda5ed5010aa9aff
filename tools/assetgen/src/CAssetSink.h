#pragma once
// CAssetSink: where every generator puts what it makes. It writes the files
// of the data folder (sprite pictures, sounds, the video, the help page),
// skips names that --only does not match, keeps an RGB copy of every picture
// for the 8-bit palettes and the contact sheet, and reports progress.

#include "RgbaImage.h"

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
};

class CAssetSink {
public:
    // `only` is a glob over the data names ("menu\\*.bmp"); empty = all.
    CAssetSink(std::string outFolder, std::string only);

    // A picture as a strip of `frames` equal frames (`image.height` is the
    // whole strip), reduced to its own 255 colours plus the transparent or key
    // index 0.
    bool WritePicture(const std::string& name, const RgbaImage& image, uint32_t groups,
                      PictureStorage storage = PictureStorage::Trle8, int frames = 1);
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
    int Failures() const { return m_failures; }

private:
    bool Prepare(const std::string& name);

    std::string m_out;
    std::string m_only;
    std::vector<RecordedPicture> m_pictures;
    int m_failures = 0;
};
