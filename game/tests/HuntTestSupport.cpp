#include "HuntTestSupport.h"

#include "MiniGameData.h"
#include "imaging/CDibPalette.h"
#include "sprites/LoadPicture.h"

#include <cstdlib>
#include <unistd.h>

HuntStage::HuntStage(PixelFormat format)
{
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    m_folder = MakeMiniGameData("hunt");
    char* cwd = ::getcwd(nullptr, 0);
    m_previous = cwd ? cwd : ".";
    std::free(cwd);
    if (::chdir(m_folder.c_str()) != 0)
        std::abort();
    m_context = std::make_unique<CDibDDContext>();
    m_back = std::make_unique<CDibDD>();
    EXPECT_EQ(m_back->Create(640, 480, format), DIB_OK);
    if (format == PF_INDEX8) {
        CDibDD palette;
        if (LoadPicture(palette, PictureSource::File("menu\\pal20.bmp")) == DIB_OK)
            m_back->SetPalette(palette.GetPalette());
    }
}

HuntStage::~HuntStage()
{
    m_back.reset();
    m_context.reset();
    if (::chdir(m_previous.c_str()) != 0)
        std::abort();
    RemoveMiniGameData(m_folder);
}
