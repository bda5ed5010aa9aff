#include "MiniGameFrameTest.h"

#include "MiniGameData.h"

#include <cstdlib>
#include <unistd.h>

void MiniGameFrameTest::SetUp()
{
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    folder = MakeMiniGameData(m_folderName);
    char* cwd = ::getcwd(nullptr, 0);
    previous = cwd;
    std::free(cwd);
    ASSERT_EQ(::chdir(folder.c_str()), 0);
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0);
    window = SDL_CreateWindow("test", 0, 0, 640, 480, SDL_WINDOW_HIDDEN);
}

void MiniGameFrameTest::TearDown()
{
    frame.reset();
    SDL_DestroyWindow(window);
    SDL_Quit();
    ASSERT_EQ(::chdir(previous.c_str()), 0);
    RemoveMiniGameData(folder);
}
