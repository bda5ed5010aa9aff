#include "imaging/CDibPalette.h"
#include "imaging/CDibSection.h"
#include "imaging/PngWriter.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <png.h>
#include <unistd.h>

TEST(PngWriter, WritesIndexedImagesThroughTheirPalette)
{
    CDibSection image;
    ASSERT_EQ(image.Create(3, 2, PF_INDEX8), DIB_OK);
    CDibPalette* palette = new CDibPalette;
    palette->Create(256);
    PaletteEntry red{255, 0, 0, 0};
    palette->SetEntries(&red, 1, 1);
    EXPECT_EQ(image.SetPalette(palette), DIB_OK);
    palette->Release();
    image.SetPixel(2, 1, 1);
    std::vector<uint32_t> rgb = ImageToRgb(&image);
    ASSERT_EQ(rgb.size(), 6u);
    EXPECT_EQ(rgb[5], 0xFF0000u);
    EXPECT_EQ(rgb[0], 0u);

    std::string path = (std::filesystem::temp_directory_path() / ("png-" + std::to_string(::getpid()) + ".png")).string();
    ASSERT_TRUE(WriteImagePng(&image, path));
    png_image read{};
    read.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&read, path.c_str()));
    EXPECT_EQ(read.width, 3u);
    EXPECT_EQ(read.height, 2u);
    png_image_free(&read);
    std::filesystem::remove(path);
    CDibSection empty;
    EXPECT_FALSE(WriteImagePng(&empty, path));
}
