#include "windowicon/WindowIcon.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

int AlphaAt(const WindowIconImage& image, int x, int y)
{
    return image.rgba[(size_t(y) * size_t(image.size) + size_t(x)) * 4 + 3];
}

const WindowIconOf kPrograms[] = {WindowIconOf::Game, WindowIconOf::Editor, WindowIconOf::Setup};

} // namespace

TEST(WindowIcon, EveryProgramHasItsOwnIconInEverySizeSmallestFirst)
{
    const char* names[] = {"veldra", "kvfedit", "veldra-setup"};
    for (int p = 0; p < 3; ++p) {
        const std::vector<WindowIconImage> images = WindowIconImages(kPrograms[p]);
        ASSERT_GE(images.size(), 2u) << names[p];
        for (size_t i = 0; i < images.size(); ++i) {
            EXPECT_STREQ(images[i].name, names[p]);
            if (i > 0) {
                EXPECT_GT(images[i].size, images[i - 1].size) << names[p];
            }
        }
        EXPECT_GE(LargestWindowIcon(kPrograms[p]).size, 48) << names[p];
        EXPECT_EQ(LargestWindowIcon(kPrograms[p]).rgba, images.back().rgba);
    }
}

TEST(WindowIcon, IconsAreDrawingsOnATransparentGroundAndDifferFromEachOther)
{
    for (WindowIconOf program : kPrograms)
        for (const WindowIconImage& image : WindowIconImages(program)) {
            EXPECT_EQ(AlphaAt(image, 0, 0), 0) << image.name << " " << image.size;
            EXPECT_EQ(AlphaAt(image, image.size - 1, image.size - 1), 0) << image.name << " " << image.size;
            EXPECT_EQ(AlphaAt(image, image.size / 2, image.size / 2), 255) << image.name << " " << image.size;
        }
    const WindowIconImage game = LargestWindowIcon(WindowIconOf::Game);
    const WindowIconImage editor = LargestWindowIcon(WindowIconOf::Editor);
    const WindowIconImage setup = LargestWindowIcon(WindowIconOf::Setup);
    ASSERT_EQ(game.size, editor.size);
    ASSERT_EQ(game.size, setup.size);
    const size_t bytes = size_t(game.size) * size_t(game.size) * 4;
    EXPECT_NE(std::memcmp(game.rgba, editor.rgba, bytes), 0);
    EXPECT_NE(std::memcmp(game.rgba, setup.rgba, bytes), 0);
    EXPECT_NE(std::memcmp(editor.rgba, setup.rgba, bytes), 0);
}
