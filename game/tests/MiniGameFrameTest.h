#pragma once
// A fixture for tests that build the game's frame on a mini game folder:
// the folder made and entered (the game reads its data from the working
// folder), SDL's video started on its dummy driver and a hidden 640 x 480
// window; afterwards the frame is destroyed before the window, the working
// folder restored and the folder removed.

#include "game/CMainFrame.h"

#include <SDL.h>
#include <gtest/gtest.h>
#include <memory>
#include <string>

class MiniGameFrameTest : public ::testing::Test {
protected:
    explicit MiniGameFrameTest(std::string folderName) : m_folderName(std::move(folderName)) {}
    void SetUp() override;
    void TearDown() override;

    std::string folder, previous;
    SDL_Window* window = nullptr;
    std::unique_ptr<CMainFrame> frame;

private:
    std::string m_folderName;
};
