#pragma once
// A display context and a hidden window on SDL's dummy video driver, so the
// display tests run without a screen.

#include "display/CDibDDContext.h"

#include <SDL.h>
#include <cstdlib>
#include <gtest/gtest.h>

class DisplayTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        setenv("SDL_VIDEODRIVER", "dummy", 0);
        context = new CDibDDContext(nullptr, nullptr, 0);
        ASSERT_TRUE(context->IsInitialised());
        window = SDL_CreateWindow("test", 0, 0, 640, 480, SDL_WINDOW_HIDDEN);
        ASSERT_NE(window, nullptr);
    }
    void TearDown() override
    {
        delete context;
        if (window)
            SDL_DestroyWindow(window);
    }
    CDibDDContext* context = nullptr;
    SDL_Window* window = nullptr;
};
