// What a game sounds like, recorded through the loopback mixer with
// --audio-out and measured: the warning, the two shots and the engine come
// at the passes that caused them, the engine's pitch rises with the speed,
// the intro's soundtrack is heard, a game without the sound library plays
// the same hunt in silence, and a read-only game folder still sounds.

#include "GameRunSupport.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr double kPassSeconds = 0.05;
constexpr long kPasses = 720;

// The mono mix of a 16-bit PCM WAV file (empty when it is not one).
struct Recording {
    int rate = 0;
    std::vector<float> mono;

    // RMS of pass p's samples (passes count from 1).
    double PassLevel(long pass) const { return Level((pass - 1) * kPassSeconds, pass * kPassSeconds); }
    double Level(double from, double to) const
    {
        const size_t a = size_t(from * rate), b = std::min(mono.size(), size_t(to * rate));
        double sum = 0;
        for (size_t i = a; i < b; ++i)
            sum += double(mono[i]) * mono[i];
        return b > a ? std::sqrt(sum / double(b - a)) : 0;
    }
    // The RMS of the loudest 400 ms within [from, to), in dB below full
    // scale: the level table's measure.
    double LoudestDb(double from, double to) const
    {
        const size_t a = size_t(from * rate), b = std::min(mono.size(), size_t(to * rate));
        const size_t n = size_t(0.4 * rate);
        double sum = 0, loudest = 0;
        for (size_t i = a; i < b; ++i) {
            sum += double(mono[i]) * mono[i];
            if (i >= a + n)
                sum -= double(mono[i - n]) * mono[i - n];
            loudest = std::max(loudest, sum);
        }
        const double rms = std::sqrt(loudest / double(n)) / 32767.0;
        return rms > 0 ? 20 * std::log10(rms) : -200.0;
    }
    // Sign changes per second over a stretch: a measure of pitch.
    double CrossingsPerSecond(double from, double to) const
    {
        const size_t a = size_t(from * rate), b = std::min(mono.size(), size_t(to * rate));
        int crossings = 0;
        for (size_t i = a + 1; i < b; ++i)
            crossings += (mono[i - 1] < 0) != (mono[i] < 0);
        return crossings / (to - from);
    }
};

Recording ReadWav(const std::string& path)
{
    Recording recording;
    std::ifstream in(path, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    auto u32 = [&](size_t at) {
        uint32_t v = 0;
        std::memcpy(&v, bytes.data() + at, 4);
        return v;
    };
    if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0)
        return recording;
    int channels = 0;
    for (size_t at = 12; at + 8 <= bytes.size();) {
        const uint32_t size = u32(at + 4);
        if (std::memcmp(&bytes[at], "fmt ", 4) == 0 && size >= 16) {
            channels = uint8_t(bytes[at + 10]);
            recording.rate = int(u32(at + 12));
        } else if (std::memcmp(&bytes[at], "data", 4) == 0 && channels > 0) {
            const size_t frames = std::min<size_t>(size, bytes.size() - at - 8) / (2 * size_t(channels));
            recording.mono.resize(frames);
            for (size_t f = 0; f < frames; ++f) {
                float sum = 0;
                for (int c = 0; c < channels; ++c) {
                    int16_t s;
                    std::memcpy(&s, &bytes[at + 8 + (f * size_t(channels) + size_t(c)) * 2], 2);
                    sum += s;
                }
                recording.mono[f] = sum / float(channels);
            }
        }
        at += 8 + size + (size & 1);
    }
    return recording;
}

// A recorded run in `folder`: `passes` passes of kPassSeconds with `script`,
// the sound written beside the folder.
GameOptions RecordedRun(const std::string& folder, const std::string& script, long passes)
{
    GameOptions options;
    options.dataFolder = folder;
    options.fullScreen = 0;
    options.seedGiven = true;
    options.seed = 2;
    options.fixedFrameTime = kPassSeconds;
    options.maxPasses = passes;
    options.scriptPath = script;
    options.audioOut = fs::path(VELDRA_TEST_OUTPUT_DIR) / (fs::path(folder).filename().string() + ".wav");
    return options;
}

// The scripted zebra hunt.
Recording Record(const std::string& folder, int* status)
{
    GameOptions options = RecordedRun(folder, std::string(VELDRA_TEST_SOURCE_DIR) + "/audio_hunt.script", kPasses);
    options.huntQuarry = 6;
    options.huntWeapon = 4;
    options.huntScenario = 2;
    *status = RunGameIn(options);
    return ReadWav(options.audioOut);
}


class AudioHunt : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!HaveGeneratedData())
            GTEST_SKIP() << "no generated data";
        setenv("SDL_VIDEODRIVER", "dummy", 0);
        setenv("ALSOFT_DRIVERS", "null", 0);
    }
};

} // namespace

TEST_F(AudioHunt, TheWarningTheShotsAndTheEngineSoundWhenTheyShould)
{
    int status = -1;
    const Recording sound = Record(MakeGameFolder("audio_hunt"), &status);
    EXPECT_EQ(status, 0);
    ASSERT_EQ(sound.rate, 22050);
    ASSERT_EQ(sound.mono.size(), size_t(kPasses * kPassSeconds * sound.rate + 0.5));
    const double quiet = sound.Level(1, 9.9);
    EXPECT_LT(quiet, 30); // walking makes no sound

    // The warning: at once, the first time the hunter is more than 1000
    // units from the jeep (pass 202, 502.5 units walked from 500 away).
    EXPECT_LT(sound.PassLevel(201), 30);
    EXPECT_GT(sound.PassLevel(202), 1000);
    // The shots, in the passes that fired them, loud against what came before.
    for (long pass : {450L, 520L}) {
        EXPECT_LT(sound.Level((pass - 3) * kPassSeconds, (pass - 1) * kPassSeconds), 200) << "before pass " << pass;
        EXPECT_GT(sound.PassLevel(pass), 3000) << "pass " << pass;
    }
    // The engine idles once the starter has played (from pass 590), then
    // pulls away at full speed: the higher speed plays it faster.
    const double idle = sound.CrossingsPerSecond(620 * kPassSeconds, 638 * kPassSeconds);
    const double full = sound.CrossingsPerSecond(680 * kPassSeconds, 705 * kPassSeconds);
    EXPECT_GT(sound.Level(620 * kPassSeconds, 638 * kPassSeconds), 300);
    EXPECT_NEAR(full / idle, 30000.0 / 22050.0, 0.12) << "idle " << idle << " full " << full;

    // The level table of the hunt as heard: each shot between -18 and -14
    // dBFS, the warning no louder than a shot, the engine under both.
    // (Pass p's sound is the stretch from (p - 1) to p pass times.)
    const double warning = sound.LoudestDb(201 * kPassSeconds, 240 * kPassSeconds);
    const double shots[2] = {sound.LoudestDb(449 * kPassSeconds, 470 * kPassSeconds),
                             sound.LoudestDb(519 * kPassSeconds, 540 * kPassSeconds)};
    const double engine = sound.LoudestDb(620 * kPassSeconds, 638 * kPassSeconds);
    std::printf("level table (RMS of the loudest 400 ms, dBFS):\n  warning %6.1f\n  shot    %6.1f\n  shot    %6.1f\n"
                "  engine  %6.1f\n",
                warning, shots[0], shots[1], engine);
    for (double shot : shots) {
        EXPECT_GE(shot, -18.0);
        EXPECT_LE(shot, -14.0);
        EXPECT_LE(warning, shot + 0.1);
        EXPECT_LT(engine, shot - 3.0);
    }
    EXPECT_LT(engine, warning - 3.0);
}

// The intro's soundtrack plays from the first pass, falls silent while the
// window is in the background (the video waits), and goes on when the
// window comes back.
TEST_F(AudioHunt, TheIntroIsHeardFromItsStartAndAgainWhenTheWindowComesBack)
{
    const std::string folder = MakeGameFolder("audio_intro");
    std::ofstream(folder + "/focus.script") << "40 focus lost\n60 focus gained\n";
    const GameOptions options = RecordedRun(folder, folder + "/focus.script", 120);
    ASSERT_EQ(RunGameIn(options), 0);
    const Recording sound = ReadWav(options.audioOut);
    ASSERT_EQ(sound.rate, 22050);
    EXPECT_GT(sound.Level(0.0, 1.0), 300) << "the savannah from the start";
    EXPECT_GT(sound.Level(1.5, 1.95), 1000) << "the theme";
    EXPECT_EQ(sound.Level(2.0, 2.95), 0) << "nothing while in the background";
    EXPECT_GT(sound.Level(3.05, 5.0), 1000) << "the theme again";
}

TEST_F(AudioHunt, WithoutTheSoundLibraryTheSameHuntPlaysInSilence)
{
    setenv("VELDRA_OPENAL_LIBRARY", "/nonexistent/libopenal.so.1", 1);
    int status = -1;
    const Recording sound = Record(MakeGameFolder("audio_hunt_silent"), &status);
    unsetenv("VELDRA_OPENAL_LIBRARY");
    EXPECT_EQ(status, 0);
    ASSERT_EQ(sound.mono.size(), size_t(kPasses * kPassSeconds * 22050 + 0.5));
    EXPECT_EQ(sound.Level(0, kPasses * kPassSeconds), 0);
}

TEST_F(AudioHunt, AReadOnlyGameFolderStillSounds)
{
    const std::string folder = MakeGameFolder("audio_hunt_read_only", {}, true);
    for (const auto& entry : fs::directory_iterator(fs::path(folder) / "sounds"))
        fs::permissions(entry.path(), fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                        fs::perm_options::remove);
    fs::permissions(fs::path(folder) / "sounds", fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    int status = -1;
    const Recording readOnly = Record(folder, &status);
    EXPECT_EQ(status, 0);
    EXPECT_GT(readOnly.PassLevel(450), 3000);
    EXPECT_GT(readOnly.PassLevel(202), 1000);
    fs::permissions(fs::path(folder) / "sounds", fs::perms::owner_all, fs::perm_options::add);
}
