// The intro video in the game: the frame plays it over its back buffer, stops
// it on Escape, hears of its end once, and goes to the main menu when the
// file is missing or damaged; a headless run shows the same video frame at
// the same pass every time. The videos are uncompressed AVI files written
// here by hand, so these tests rely on no encoder.

#include "MiniGameData.h"
#include "MiniGameFrameTest.h"
#include "common/ByteOrder.h"
#include "common/KeyCodes.h"
#include "game/CGameApp.h"
#include "game/CIntroVideo.h"
#include "game/CMainFrame.h"
#include "game/CScreen.h"
#include "game/CVolumeDisplay.h"
#include "imaging/CDib.h"
#include "imaging/CDibPalette.h"

#include <SDL.h>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <optional>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<uint8_t>;

void PutTag(Bytes& out, const char* tag) { out.insert(out.end(), tag, tag + 4); }
void Put32(Bytes& out, uint32_t v)
{
    out.resize(out.size() + 4);
    WriteLE32(&out[out.size() - 4], v);
}
void Put16(Bytes& out, uint16_t v)
{
    out.resize(out.size() + 2);
    WriteLE16(&out[out.size() - 2], v);
}
// Opens a chunk; returns where its size goes, for CloseChunk.
size_t OpenChunk(Bytes& out, const char* tag, const char* listType = nullptr)
{
    PutTag(out, tag);
    const size_t at = out.size();
    Put32(out, 0);
    if (listType)
        PutTag(out, listType);
    return at;
}
void CloseChunk(Bytes& out, size_t at)
{
    WriteLE32(&out[at], uint32_t(out.size() - at - 4));
    if (out.size() & 1)
        out.push_back(0);
}

// An uncompressed AVI: `frames` frames of 24-bit bottom-up rows, frame k all
// of colour colours[k] (0xRRGGBB), with its index.
Bytes UncompressedAvi(int width, int height, int framesPerSecond, const std::vector<uint32_t>& colours)
{
    const uint32_t pitch = (uint32_t(width) * 3 + 3) & ~3u;
    const uint32_t frameBytes = pitch * uint32_t(height);
    const uint32_t frames = uint32_t(colours.size());
    Bytes out;
    const size_t riff = OpenChunk(out, "RIFF", "AVI ");
    const size_t hdrl = OpenChunk(out, "LIST", "hdrl");
    const size_t avih = OpenChunk(out, "avih");
    for (uint32_t v : {uint32_t(1000000 / framesPerSecond), frameBytes * framesPerSecond, 0u, 0x10u, frames, 0u, 1u,
                       frameBytes, uint32_t(width), uint32_t(height), 0u, 0u, 0u, 0u})
        Put32(out, v);
    CloseChunk(out, avih);
    const size_t strl = OpenChunk(out, "LIST", "strl");
    const size_t strh = OpenChunk(out, "strh");
    PutTag(out, "vids");
    PutTag(out, "DIB ");
    for (uint32_t v : {0u, 0u, 0u, 1u, uint32_t(framesPerSecond), 0u, frames, frameBytes, 0xFFFFFFFFu, 0u})
        Put32(out, v);
    for (uint16_t v : {uint16_t(0), uint16_t(0), uint16_t(width), uint16_t(height)})
        Put16(out, v);
    CloseChunk(out, strh);
    const size_t strf = OpenChunk(out, "strf");
    for (uint32_t v : {40u, uint32_t(width), uint32_t(height)})
        Put32(out, v);
    Put16(out, 1);
    Put16(out, 24);
    for (uint32_t v : {0u, frameBytes, 0u, 0u, 0u, 0u})
        Put32(out, v);
    CloseChunk(out, strf);
    CloseChunk(out, strl);
    CloseChunk(out, hdrl);

    const size_t movi = OpenChunk(out, "LIST", "movi");
    const size_t moviStart = movi + 4; // where the index counts offsets from
    std::vector<uint32_t> offsets;
    for (uint32_t colour : colours) {
        offsets.push_back(uint32_t(out.size() - moviStart));
        const size_t chunk = OpenChunk(out, "00db");
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x)
                out.insert(out.end(), {uint8_t(colour), uint8_t(colour >> 8), uint8_t(colour >> 16)});
            out.resize(out.size() + (pitch - uint32_t(width) * 3));
        }
        CloseChunk(out, chunk);
    }
    CloseChunk(out, movi);
    const size_t idx1 = OpenChunk(out, "idx1");
    for (uint32_t offset : offsets) {
        PutTag(out, "00db");
        Put32(out, 0x10);
        Put32(out, offset);
        Put32(out, frameBytes);
    }
    CloseChunk(out, idx1);
    CloseChunk(out, riff);
    return out;
}

// Colours the mini data's palette holds exactly (entry i is i, 255 - i, 7i),
// so an 8-bit back buffer shows frame colour i as index i.
uint32_t PaletteColour(int i)
{
    return uint32_t(i) << 16 | uint32_t(255 - i) << 8 | uint32_t(uint8_t(i * 7));
}

void WriteFile(const std::string& path, const Bytes& bytes)
{
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

// Every pixel of the back buffer has the same index.
bool FilledWith(CDib* back, uint32_t index)
{
    for (int y = 0; y < back->GetHeight(); ++y)
        for (int x = 0; x < back->GetWidth(); ++x)
            if (back->GetPixel(x, y) != index)
                return false;
    return true;
}

} // namespace

class IntroVideoTest : public MiniGameFrameTest {
protected:
    IntroVideoTest() : MiniGameFrameTest("intro") {}
    // Builds the game with the intro player; the video starts on the way.
    // `longestPass` as the game sets it for measured time.
    void Start(double longestPass = 0)
    {
        frame = std::make_unique<CMainFrame>();
        auto video = std::make_unique<CIntroVideo>(frame->Sound());
        intro = video.get();
        frame->SetVideoPlayer(std::move(video));
        FrameSettings settings;
        settings.fullScreen = false;
        settings.longestPass = longestPass;
        ASSERT_TRUE(frame->Create(window, 1, settings));
        frame->OnFirstMove();
    }
    CIntroVideo* intro = nullptr;
};

// A 320 x 240 video at 10 frames a second: each pass of 0.1 s shows the next
// frame over the whole back buffer; after the last the end is noticed once
// and the next pass draws the main menu.
TEST_F(IntroVideoTest, PlaysOverTheWholeBackBufferThenTheMenu)
{
    WriteFile("video/al_intro.avi", UncompressedAvi(320, 240, 10, {PaletteColour(60), PaletteColour(90),
                                                                   PaletteColour(120)}));
    Start();
    ASSERT_TRUE(intro->IsPlaying());
    EXPECT_EQ(intro->Player().Width(), 320);
    EXPECT_TRUE(FilledWith(frame->BackBuffer(), 60u));
    frame->SetFrameTime(0.1);
    EXPECT_FALSE(frame->RunFrame());
    EXPECT_TRUE(FilledWith(frame->BackBuffer(), 90u));
    EXPECT_FALSE(frame->RunFrame());
    EXPECT_TRUE(FilledWith(frame->BackBuffer(), 120u));
    EXPECT_EQ(intro->EndNotices(), 0);
    EXPECT_FALSE(frame->RunFrame()); // the last frame's time runs out
    EXPECT_FALSE(intro->IsPlaying());
    EXPECT_EQ(intro->EndNotices(), 1);
    EXPECT_TRUE(frame->RunFrame()); // the menu is shown once
    for (int i = 0; i < 4; ++i)
        EXPECT_FALSE(frame->RunFrame()); // and not again while nothing changes
    EXPECT_EQ(intro->EndNotices(), 1);
    EXPECT_EQ(frame->CurrentScreenId(), ScreenId::MainMenu);
    EXPECT_FALSE(FilledWith(frame->BackBuffer(), 120u));
}

TEST_F(IntroVideoTest, EscapeStopsTheVideoAndTheMenuFollows)
{
    WriteFile("video/al_intro.avi", UncompressedAvi(64, 48, 10, std::vector<uint32_t>(50, PaletteColour(77))));
    Start();
    frame->SetFrameTime(0.1);
    EXPECT_FALSE(frame->RunFrame());
    EXPECT_TRUE(intro->IsPlaying());
    frame->OnKey(dik::ESCAPE, true);
    EXPECT_FALSE(frame->RunFrame());
    EXPECT_FALSE(intro->IsPlaying());
    frame->OnKey(dik::ESCAPE, false);
    EXPECT_TRUE(frame->RunFrame());
    EXPECT_EQ(intro->EndNotices(), 0);
    EXPECT_FALSE(FilledWith(frame->BackBuffer(), 77u));
}

// A tap of Escape that begins and ends between two passes, any other key,
// or a click: each skips the intro.
TEST_F(IntroVideoTest, AnyKeyOrAClickSkipsTheIntroEvenWithinOnePass)
{
    WriteFile("video/al_intro.avi", UncompressedAvi(64, 48, 10, std::vector<uint32_t>(50, PaletteColour(77))));
    for (int way = 0; way < 3; ++way) {
        Start();
        frame->SetFrameTime(0.1);
        ASSERT_TRUE(intro->IsPlaying());
        if (way == 0) {
            frame->OnKey(dik::ESCAPE, true);
            frame->OnKey(dik::ESCAPE, false);
        } else if (way == 1) {
            frame->OnKey(dik::SPACE, true);
        } else {
            frame->OnMouseButton(true);
            frame->OnMouseButton(false);
        }
        EXPECT_FALSE(frame->RunFrame());
        EXPECT_FALSE(intro->IsPlaying()) << "way " << way;
        EXPECT_EQ(intro->EndNotices(), 0);
    }
}

// The click that skips the intro was made on the menu's exit button as it
// will appear: the menu that follows does not take it.
TEST_F(IntroVideoTest, AClickDuringTheIntroDoesNotReachTheMenu)
{
    WriteFile("video/al_intro.avi", UncompressedAvi(64, 48, 10, std::vector<uint32_t>(50, PaletteColour(77))));
    Start();
    const CScreenItem& exit = frame->Screen(ScreenId::MainMenu)->Item(4);
    ASSERT_GT(exit.right, exit.left);
    frame->OnMouseMove((exit.left + exit.right) / 2, (exit.top + exit.bottom) / 2);
    frame->SetFrameTime(0.1);
    EXPECT_FALSE(frame->RunFrame());
    frame->OnMouseButton(true);
    frame->OnMouseButton(false);
    EXPECT_FALSE(frame->RunFrame()); // skipped by the click
    EXPECT_FALSE(intro->IsPlaying());
    EXPECT_TRUE(frame->RunFrame()); // the menu, shown once
    for (int pass = 0; pass < 4; ++pass)
        EXPECT_FALSE(frame->RunFrame());
    EXPECT_FALSE(frame->CloseRequested());
    EXPECT_EQ(frame->CurrentScreenId(), ScreenId::MainMenu);
    // A click made now, with the menu showing, is the menu's.
    frame->OnMouseButton(true);
    frame->OnMouseButton(false);
    EXPECT_FALSE(frame->RunFrame());
    EXPECT_TRUE(frame->CloseRequested());
}

// The intro runs on the pass's own time, not the game's: a pass that took
// half a second shows the frame due at half a second (the four before it
// are dropped), although a pass gives the game at most a quarter of one.
TEST_F(IntroVideoTest, ASlowPassDropsFramesInsteadOfSlowingTheIntro)
{
    std::vector<uint32_t> colours;
    for (int k = 0; k < 20; ++k)
        colours.push_back(PaletteColour(30 + 9 * k));
    WriteFile("video/al_intro.avi", UncompressedAvi(64, 48, 10, colours));
    Start(0.25);
    frame->SetFrameTime(0.5);
    EXPECT_FALSE(frame->RunFrame());
    EXPECT_EQ(intro->Player().FrameNumber(), 5);
    EXPECT_TRUE(FilledWith(frame->BackBuffer(), uint32_t(30 + 9 * 5)));
    EXPECT_DOUBLE_EQ(intro->Player().Position(), 0.5);
    EXPECT_EQ(frame->GameClock().Ticks(), 0); // the game itself waits for the intro
}

// Every pixel of the volume sign's place has `index`: no sign over the frame.
bool SignPlaceFilledWith(CDib* back, uint32_t index)
{
    for (int y = CVolumeDisplay::kTop; y < CVolumeDisplay::kTop + CVolumeDisplay::kHeight; ++y)
        for (int x = CVolumeDisplay::kLeft; x < CVolumeDisplay::kLeft + CVolumeDisplay::kWidth; ++x)
            if (back->GetPixel(x, y) != index)
                return false;
    return true;
}

// The volume keys bring their sign up over the video as over a menu, at
// once (not only with the next frame), on every frame while it lasts, and
// it goes after its second and a half, again without waiting for a frame;
// the intro plays on, unskipped.
TEST_F(IntroVideoTest, TheVolumeSignShowsOverTheVideo)
{
    // One frame a second, so that the sign comes and goes between frames.
    WriteFile("video/al_intro.avi", UncompressedAvi(64, 48, 1, {PaletteColour(50), PaletteColour(70),
                                                                PaletteColour(90), PaletteColour(110)}));
    Start();
    frame->SetFrameTime(0.2);
    EXPECT_FALSE(frame->RunFrame());
    EXPECT_TRUE(FilledWith(frame->BackBuffer(), 50u));
    frame->OnKey(dik::F12, true);
    frame->OnKey(dik::F12, false);
    frame->SetFrameTime(0); // no new frame is due: the one showing gets the sign
    EXPECT_FALSE(frame->RunFrame());
    ASSERT_TRUE(intro->IsPlaying());
    EXPECT_TRUE(frame->VolumeDisplay().Visible());
    EXPECT_FALSE(SignPlaceFilledWith(frame->BackBuffer(), 50u));
    EXPECT_EQ(frame->BackBuffer()->GetPixel(0, 0), 50u);
    EXPECT_EQ(frame->BackBuffer()->GetPixel(CVolumeDisplay::kLeft - 1, CVolumeDisplay::kTop), 50u);
    frame->SetFrameTime(0.5);
    EXPECT_FALSE(frame->RunFrame()); // 0.7 s
    EXPECT_FALSE(frame->RunFrame()); // 1.2 s: the next frame, under the sign
    EXPECT_EQ(frame->BackBuffer()->GetPixel(0, 0), 70u);
    EXPECT_FALSE(SignPlaceFilledWith(frame->BackBuffer(), 70u));
    EXPECT_FALSE(frame->RunFrame()); // 1.7 s: the sign's time is up, the frame stays
    EXPECT_FALSE(frame->VolumeDisplay().Visible());
    EXPECT_TRUE(FilledWith(frame->BackBuffer(), 70u));
    EXPECT_TRUE(intro->IsPlaying());
    EXPECT_EQ(intro->EndNotices(), 0);
}

// Missing, empty, truncated or damaged: the player stays closed and the very
// first pass draws the menu.
TEST_F(IntroVideoTest, ABadFileGoesStraightToTheMenu)
{
    const Bytes good = UncompressedAvi(32, 24, 10, {PaletteColour(40), PaletteColour(41)});
    Bytes damaged = good;
    std::memset(&damaged[12], 0xEE, 64); // the headers
    const std::vector<std::optional<Bytes>> cases = {std::nullopt, Bytes{}, Bytes(good.begin(), good.begin() + 100),
                                                     damaged};
    for (const std::optional<Bytes>& bytes : cases) {
        fs::remove("video/al_intro.avi");
        if (bytes)
            WriteFile("video/al_intro.avi", *bytes);
        Start();
        EXPECT_FALSE(intro->IsPlaying());
        EXPECT_FALSE(intro->Player().IsOpen());
        EXPECT_TRUE(frame->RunFrame());
        EXPECT_EQ(frame->CurrentScreenId(), ScreenId::MainMenu);
    }
}

// The whole program, headless: an early pass dumps a video frame, unlike the
// menu's picture, and two runs dump the same bytes.
TEST(IntroVideoRun, EarlyPassShowsTheSameVideoFrameEveryRun)
{
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("VELDRA_OPENAL_LIBRARY", "/nonexistent/libopenal.so.1", 1);
    char* cwd = ::getcwd(nullptr, 0);
    const std::string previous = cwd;
    std::free(cwd);
    std::vector<std::string> dumps;
    for (int run = 0; run < 2; ++run) {
        const std::string folder = MakeMiniGameData("intro-run");
        std::vector<uint32_t> colours;
        for (int k = 0; k < 20; ++k)
            colours.push_back(PaletteColour(30 + 9 * k));
        WriteFile(folder + "/video/al_intro.avi", UncompressedAvi(160, 120, 20, colours));
        GameOptions options;
        options.dataFolder = folder;
        options.fullScreen = 0;
        options.seedGiven = true;
        options.seed = 3;
        options.fixedFrameTime = 0.05;
        options.maxPasses = 30;
        options.dumpPattern = folder + "/pass%d.png";
        options.dumpAt = {3, 25};
        CGameApp app;
        EXPECT_EQ(app.Run(options), 0);
        ASSERT_EQ(::chdir(previous.c_str()), 0);
        for (int pass : {3, 25}) {
            std::ifstream in(folder + "/pass" + std::to_string(pass) + ".png", std::ios::binary);
            dumps.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
            EXPECT_FALSE(dumps.back().empty()) << "pass " << pass;
        }
        RemoveMiniGameData(folder);
    }
    EXPECT_NE(dumps[0], dumps[1]); // a video frame, then the menu
    EXPECT_EQ(dumps[0], dumps[2]);
    EXPECT_EQ(dumps[1], dumps[3]);
}
