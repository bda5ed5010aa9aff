#include "VideoTestSupport.h"
#include "common/ByteOrder.h"
#include "common/CMemoryBlock.h"
#include "media/CSoundDevice.h"
#include "media/VideoPlayer.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace videotest;

namespace {

// Frames of lossy codecs come back close to what went in, not equal.
constexpr int kLossy = 24;

struct Case {
    const char* codec;
    int width, height;
};

std::string Describe(const Case& c)
{
    return std::string(c.codec) + " " + std::to_string(c.width) + "x" + std::to_string(c.height);
}

// Opens `file` for a fresh recording viewport and counts end notices.
struct Playback {
    explicit Playback(PixelFormat format = PF_RGB32, int width = 640, int height = 480)
        : viewport(width, height, format)
    {
        viewport.frameNumber = [this] { return player.FrameNumber(); };
    }
    int Open(const std::vector<uint8_t>& bytes, CSoundDevice* sound = nullptr)
    {
        file = bytes;
        return OpenVideoMemory(player, file.data(), file.size(), &viewport, sound);
    }
    int Play() { return PlayVideo(player, [this] { ++ends; }); }

    std::vector<uint8_t> file;
    RecordingViewport viewport;
    VideoPlayer player;
    int ends = 0;
};

// The sound calls a soundtrack makes.
class RecordingSound final : public CSoundDevice {
public:
    int LoadBlock(SoundEntry* sound, CMemoryBlock* block, int, const SoundLoadOptions& options) override
    {
        const uint8_t* bytes = block->Lock();
        if (block->Size() >= 44) {
            rate = ReadLE32(bytes + 24);
            channels = ReadLE16(bytes + 22);
            dataBytes = ReadLE32(bytes + 40);
            wholeFile = dataBytes + 44 == block->Size();
        }
        block->Unlock();
        if (options.flags & SOUND_LOAD_OWN_BLOCK)
            delete block;
        loaded = sound;
        streamed = options.streamed;
        return SOUND_OK;
    }
    void Play(SoundEntry*, int position, int, int, int, bool) override { plays.push_back(position); }
    void Stop(SoundEntry*) override { ++stops; }
    void DeleteSound(SoundEntry* sound) override
    {
        deleted += sound == loaded;
        CSoundDevice::DeleteSound(sound);
    }

    SoundEntry* loaded = nullptr;
    bool streamed = true, wholeFile = false;
    uint32_t rate = 0, dataBytes = 0;
    uint16_t channels = 0;
    std::vector<int> plays;
    int stops = 0, deleted = 0;
};

} // namespace

class VideoCodecTest : public ::testing::TestWithParam<Case> {};

// Frames are shown in order at the video's own rate whatever the tick: with
// 30 ms ticks at 10 frames a second, tick n shows frame floor(3n / 10).
TEST_P(VideoCodecTest, FramesArriveInOrderAtTheirTimes)
{
    const Case c = GetParam();
    AviSpec spec;
    spec.codec = c.codec;
    spec.width = c.width;
    spec.height = c.height;
    spec.frames = 6;
    const std::vector<uint8_t> avi = MakeAvi(spec);
    if (avi.empty())
        GTEST_SKIP() << "this FFmpeg cannot write " << c.codec;

    Playback p;
    ASSERT_EQ(p.Open(avi), VIDEO_OK) << Describe(c);
    EXPECT_EQ(p.player.Width(), c.width);
    EXPECT_EQ(p.player.Height(), c.height);
    ASSERT_EQ(p.Play(), VIDEO_OK);
    EXPECT_EQ(p.player.FrameNumber(), 0);
    EXPECT_TRUE(Near(p.viewport.ColourAt(320, 240), FrameColour(0), kLossy)) << Describe(c);
    int n = 0;
    while (IsVideoPlaying(p.player) && n < 100) {
        TickVideo(p.player, 0.03);
        ++n;
        if (!IsVideoPlaying(p.player))
            break;
        ASSERT_EQ(p.player.FrameNumber(), 3 * n / 10) << Describe(c) << " tick " << n;
        EXPECT_TRUE(Near(p.viewport.ColourAt(5, 470), FrameColour(3 * n / 10), kLossy)) << Describe(c) << " tick " << n;
    }
    // Six frames of 100 ms: the end comes with the tick that reaches 600 ms.
    EXPECT_EQ(n, 20);
    EXPECT_EQ(p.ends, 1);
    EXPECT_EQ(p.viewport.presented, (std::vector<int64_t>{0, 1, 2, 3, 4, 5}));
}

INSTANTIATE_TEST_SUITE_P(Codecs, VideoCodecTest,
                         ::testing::Values(Case{"rawvideo", 32, 24}, Case{"rawvideo", 320, 240},
                                           Case{"mjpeg", 64, 48}, Case{"mjpeg", 320, 240},
                                           Case{"mpeg4", 48, 32}, Case{"mpeg4", 640, 480}),
                         [](const auto& info) {
                             return std::string(info.param.codec) + "_" + std::to_string(info.param.width) + "x" +
                                    std::to_string(info.param.height);
                         });

// Long ticks skip frames instead of slowing the video down.
TEST(VideoPlayer, LateFramesAreSkipped)
{
    AviSpec spec;
    spec.frames = 9;
    Playback p;
    ASSERT_EQ(p.Open(MakeAvi(spec)), VIDEO_OK);
    p.Play();
    for (int i = 0; i < 3; ++i)
        TickVideo(p.player, 0.25);
    EXPECT_EQ(p.viewport.presented, (std::vector<int64_t>{0, 2, 5, 7}));
    EXPECT_TRUE(IsVideoPlaying(p.player));
    TickVideo(p.player, 1.0);
    EXPECT_FALSE(IsVideoPlaying(p.player));
    EXPECT_EQ(p.ends, 1);
}

// A video of another size fills the whole back buffer: each quarter of the
// picture lands on the same quarter of the screen, in every depth.
TEST(VideoPlayer, SmallVideoFillsTheBackBuffer)
{
    const uint32_t quarters[4] = {0xE02020, 0x20C040, 0x2040E0, 0xE0E040};
    for (const char* codec : {"rawvideo", "mpeg4"})
        for (PixelFormat format : {PF_RGB32, PF_RGB555, PF_INDEX8}) {
            AviSpec spec;
            spec.codec = codec;
            spec.width = 320;
            spec.height = 240;
            spec.frames = 1;
            spec.paint = [&](int, int x, int y) { return quarters[(y >= 120) * 2 + (x >= 160)]; };
            Playback p(format);
            p.viewport.Surface().FillRect(0, 0, 640, 480, 0x1234);
            const uint32_t untouched = p.viewport.ColourAt(0, 0);
            ASSERT_EQ(p.Open(MakeAvi(spec)), VIDEO_OK) << codec;
            ASSERT_EQ(p.Play(), VIDEO_OK);
            const int tolerance = format == PF_INDEX8 ? 40 : kLossy;
            int wrong = 0;
            for (int y = 0; y < 480; ++y)
                for (int x = 0; x < 640; ++x) {
                    // The codec may blur across the quarters' edges.
                    if (std::abs(x - 320) < 8 || std::abs(y - 240) < 8)
                        continue;
                    const uint32_t colour = p.viewport.ColourAt(x, y);
                    wrong += colour == untouched || !Near(colour, quarters[(y >= 240) * 2 + (x >= 320)], tolerance);
                }
            EXPECT_EQ(wrong, 0) << codec << " format " << std::hex << format;
            EXPECT_EQ(p.player.FrameImage()->GetFormat(), format);
            EXPECT_EQ(p.player.FrameImage()->GetWidth(), 320);
        }
}

// The frame image follows the back buffer when its format changes.
TEST(VideoPlayer, FollowsABackBufferThatChangesFormat)
{
    Playback p(PF_RGB32);
    ASSERT_EQ(p.Open(MakeAvi(AviSpec{})), VIDEO_OK);
    EXPECT_EQ(p.viewport.Surface().Create(640, 480, PF_RGB555), DIB_OK);
    p.Play();
    EXPECT_EQ(p.player.FrameImage()->GetFormat(), PF_RGB555);
    EXPECT_TRUE(Near(p.viewport.ColourAt(100, 100), FrameColour(0), 8));
}

TEST(VideoPlayer, StopEndsPlaybackWithoutANoticeAndPlayResumes)
{
    AviSpec spec;
    spec.frames = 4;
    Playback p;
    ASSERT_EQ(p.Open(MakeAvi(spec)), VIDEO_OK);
    p.Play();
    TickVideo(p.player, 0.1);
    StopVideo(p.player);
    EXPECT_FALSE(IsVideoPlaying(p.player));
    EXPECT_EQ(VideoSecondsToNextFrame(p.player), -1.0);
    for (int i = 0; i < 10; ++i)
        TickVideo(p.player, 0.1);
    EXPECT_EQ(p.player.FrameNumber(), 1);
    EXPECT_EQ(p.ends, 0);

    ASSERT_EQ(p.Play(), VIDEO_OK);
    EXPECT_EQ(p.player.FrameNumber(), 1);
    for (int i = 0; i < 10; ++i)
        TickVideo(p.player, 0.1);
    EXPECT_EQ(p.player.FrameNumber(), 3);
    EXPECT_EQ(p.ends, 1);
}

// The end is announced once, and the one told may close the player there.
TEST(VideoPlayer, EndNoticeComesOnceAndMayCloseThePlayer)
{
    AviSpec spec;
    spec.frames = 2;
    Playback p;
    ASSERT_EQ(p.Open(MakeAvi(spec)), VIDEO_OK);
    EXPECT_EQ(VideoSecondsToNextFrame(p.player), -1.0);
    ASSERT_EQ(PlayVideo(p.player, [&] { ++p.ends, CloseVideo(p.player); }), VIDEO_OK);
    EXPECT_NEAR(VideoSecondsToNextFrame(p.player), 0.1, 1e-9);
    TickVideo(p.player, 0.03);
    EXPECT_NEAR(VideoSecondsToNextFrame(p.player), 0.07, 1e-9);
    TickVideo(p.player, 0.07);
    // The last frame shows; then the wait is for its time to run out.
    EXPECT_NEAR(VideoSecondsToNextFrame(p.player), 0.1, 1e-9);
    for (int i = 0; i < 5; ++i)
        TickVideo(p.player, 0.1);
    EXPECT_EQ(p.ends, 1);
    EXPECT_FALSE(p.player.IsOpen());
    EXPECT_EQ(p.player.FrameImage(), nullptr);
    EXPECT_EQ(PlayVideo(p.player), VIDEO_NOT_OPEN);
}

TEST(VideoPlayer, ClosedPlayerAndMissingPiecesAreHarmless)
{
    VideoPlayer player;
    CloseVideo(player);
    EXPECT_EQ(PlayVideo(player), VIDEO_NOT_OPEN);
    EXPECT_FALSE(IsVideoPlaying(player));
    TickVideo(player, 1.0);
    StopVideo(player);

    RecordingViewport viewport(640, 480, PF_RGB32);
    EXPECT_EQ(OpenVideo(player, "/nonexistent/video/al_intro.avi", &viewport), VIDEO_NO_FILE);
    EXPECT_EQ(OpenVideo(player, "/", &viewport), VIDEO_NO_FILE);
    const std::vector<uint8_t> avi = MakeAvi(AviSpec{});
    EXPECT_EQ(OpenVideoMemory(player, avi.data(), avi.size(), nullptr), VIDEO_NO_SURFACE);
    RecordingViewport fourBit(640, 480, PF_INDEX4);
    EXPECT_EQ(OpenVideoMemory(player, avi.data(), avi.size(), &fourBit), VIDEO_NO_SURFACE);
    EXPECT_EQ(OpenVideoMemory(player, avi.data(), 0, &viewport), VIDEO_NO_FILE);
    EXPECT_FALSE(player.IsOpen());
}

TEST(VideoPlayer, OpensAFileAndKeepsItUntilClosed)
{
    const std::string path =
        (std::filesystem::temp_directory_path() / ("video-" + std::to_string(::getpid()) + ".avi")).string();
    const std::vector<uint8_t> avi = MakeAvi(AviSpec{});
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(avi.data()), std::streamsize(avi.size()));
    RecordingViewport viewport(640, 480, PF_RGB32);
    VideoPlayer player;
    ASSERT_EQ(OpenVideo(player, path, &viewport), VIDEO_OK);
    ASSERT_EQ(PlayVideo(player), VIDEO_OK);
    for (int i = 0; i < 4; ++i)
        TickVideo(player, 0.1);
    EXPECT_EQ(player.FrameNumber(), 4);
    CloseVideo(player);
    std::filesystem::remove(path);
}

// Damaged files are refused or end early; none crashes, hangs or plays for
// ever. Truncations at every sixteenth of the file and flipped bytes.
TEST(VideoPlayer, TruncatedAndCorruptFilesAreHandledCleanly)
{
    for (const char* codec : {"rawvideo", "mjpeg", "mpeg4"}) {
        AviSpec spec;
        spec.codec = codec;
        spec.frames = 8;
        spec.audioRate = 8000;
        const std::vector<uint8_t> avi = MakeAvi(spec);
        ASSERT_FALSE(avi.empty()) << codec;
        std::vector<std::vector<uint8_t>> damaged;
        for (int i = 0; i < 16; ++i)
            damaged.emplace_back(avi.begin(), avi.begin() + ptrdiff_t(avi.size() * size_t(i) / 16));
        for (uint32_t seed = 1; seed <= 16; ++seed) {
            std::vector<uint8_t> bytes = avi;
            for (size_t at = seed * 7; at < bytes.size(); at += 13 + seed * 31)
                bytes[at] ^= uint8_t(0x5A + seed);
            damaged.push_back(std::move(bytes));
        }
        RecordingSound sound;
        int opened = 0, refused = 0;
        for (size_t i = 0; i < damaged.size(); ++i) {
            Playback p(PF_INDEX8);
            const int code = p.Open(damaged[i], &sound);
            if (code != VIDEO_OK) {
                ++refused;
                EXPECT_FALSE(p.player.IsOpen()) << codec << " case " << i;
                EXPECT_EQ(PlayVideo(p.player), VIDEO_NOT_OPEN);
                continue;
            }
            ++opened;
            p.Play();
            for (int t = 0; t < 200 && IsVideoPlaying(p.player); ++t)
                TickVideo(p.player, 0.1);
            EXPECT_FALSE(IsVideoPlaying(p.player)) << codec << " case " << i;
            EXPECT_LE(p.ends, 1);
        }
        // Both ways out were taken: the damage was not all of one kind.
        EXPECT_GT(opened, 0) << codec;
        EXPECT_GT(refused, 0) << codec;
    }
}

TEST(VideoPlayer, RefusesWhatIsNotAnAviVideo)
{
    Playback p;
    const std::vector<uint8_t> riffWave = {'R', 'I', 'F', 'F', 4, 0, 0, 0, 'W', 'A', 'V', 'E'};
    EXPECT_EQ(p.Open(riffWave), VIDEO_NOT_AVI);
    EXPECT_EQ(p.Open(std::vector<uint8_t>(1000, 0xFF)), VIDEO_NOT_AVI);
    EXPECT_FALSE(p.player.IsOpen());
}

// The frame size in the stream's format chunk is checked before any decoder
// sees it: absurd or empty sizes are refused.
TEST(VideoPlayer, RefusesAbsurdFrameSizes)
{
    const std::vector<uint8_t> avi = MakeAvi(AviSpec{});
    const auto strf = std::search(avi.begin(), avi.end(), std::begin("strf"), std::end("strf") - 1);
    ASSERT_NE(strf, avi.end());
    const size_t at = size_t(strf - avi.begin()) + 8; // the bitmap header
    ASSERT_EQ(ReadLE32(&avi[at + 4]), 32u);
    for (uint32_t width : {0u, 5000u, 100000u, 0x80000000u}) {
        std::vector<uint8_t> bytes = avi;
        WriteLE32(&bytes[at + 4], width);
        Playback p;
        const int code = p.Open(bytes);
        EXPECT_TRUE(code == VIDEO_BAD_SIZE || code == VIDEO_NOT_AVI) << width << " gave " << code;
    }
    std::vector<uint8_t> tall = avi;
    WriteLE32(&tall[at + 4], 4096);
    WriteLE32(&tall[at + 8], 4096);
    Playback p;
    EXPECT_EQ(p.Open(tall), VIDEO_BAD_SIZE);
}

// An audio track is decoded whole and played beside the frames from the
// play position; it stops with the video and leaves the device on close.
TEST(VideoPlayer, SoundtrackPlaysThroughTheSoundDevice)
{
    AviSpec spec;
    spec.frames = 10;
    spec.audioRate = 22050;
    RecordingSound sound;
    {
        Playback p;
        ASSERT_EQ(p.Open(MakeAvi(spec), &sound), VIDEO_OK);
        ASSERT_TRUE(p.player.HasSoundtrack());
        EXPECT_FALSE(sound.streamed);
        EXPECT_TRUE(sound.wholeFile);
        EXPECT_EQ(sound.rate, 22050u);
        EXPECT_EQ(sound.channels, 1);
        EXPECT_EQ(sound.dataBytes, 22050u * 2); // one second
        p.Play();
        TickVideo(p.player, 0.5);
        StopVideo(p.player);
        p.Play();
        EXPECT_EQ(sound.plays, (std::vector<int>{0, 11025 * 2}));
        EXPECT_EQ(sound.stops, 1);
        TickVideo(p.player, 0.6);
        EXPECT_EQ(p.ends, 1);
        EXPECT_EQ(sound.stops, 2);
    }
    EXPECT_EQ(sound.deleted, 1);

    // The silent device takes no sound; the video plays without one.
    CSoundDevice silent;
    Playback p;
    ASSERT_EQ(p.Open(MakeAvi(spec), &silent), VIDEO_OK);
    EXPECT_FALSE(p.player.HasSoundtrack());
    EXPECT_EQ(p.Play(), VIDEO_OK);
}
