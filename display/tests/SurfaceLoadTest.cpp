#include "DisplayTestSupport.h"
#include "display/CDibDD.h"
#include "imaging/CDibPalette.h"
#include "imaging/DibRef.h"
#include "sprites/CDibPacked.h"
#include "sprites/LoadPicture.h"
#include "sprites/SpriteFiles.h"

#include <filesystem>
#include <unistd.h>

namespace {
std::string WriteIndexedPicture()
{
    CDibPacked picture;
    EXPECT_EQ(picture.Create(4, 2, PF_INDEX8), DIB_OK);
    CDibPalette* palette = new CDibPalette;
    palette->Create(256);
    PaletteEntry red{255, 0, 0, 0};
    palette->SetEntries(&red, 7, 1);
    EXPECT_EQ(picture.SetPalette(palette), DIB_OK);
    palette->Release();
    picture.SetPixel(3, 1, 7);
    picture.SetFrameCount(2);
    std::string path = (std::filesystem::temp_directory_path() / ("surface-" + std::to_string(::getpid()) + ".bmp"));
    EXPECT_TRUE(WriteSpriteFile(path, picture.GetInfoHeader(), picture.GetPictureSize()));
    return path;
}
} // namespace

TEST_F(DisplayTest, LoadsAPictureIntoTheReferenceFormat)
{
    const std::string path = WriteIndexedPicture();
    auto back = MakeDib<CDibDD>();
    ASSERT_EQ(back->Create(640, 480, PF_RGB555), DIB_OK);
    auto surface = MakeDib<CDibDD>();
    ASSERT_EQ(LoadPicture(*surface, PictureSource::File(path), LOAD_MATCH_REFERENCE, back.Get()), DIB_OK);
    EXPECT_EQ(surface->GetFormat(), PF_RGB555);
    EXPECT_EQ(surface->GetPixel(3, 1), 0x7C00u);
    EXPECT_EQ(surface->GetPixel(0, 0), 0u);

    auto plain = MakeDib<CDibDD>();
    ASSERT_EQ(LoadPicture(*plain, PictureSource::File(path)), DIB_OK);
    EXPECT_EQ(plain->GetFormat(), PF_INDEX8);
    EXPECT_EQ(plain->GetPixel(3, 1), 7u);
    ASSERT_NE(plain->GetPalette(), nullptr);
    EXPECT_EQ(plain->GetPalette()->Entries()[7].red, 255);
    EXPECT_NE(LoadPicture(*plain, PictureSource::File("no/such/file.bmp")), DIB_OK);
    std::filesystem::remove(path);
}
