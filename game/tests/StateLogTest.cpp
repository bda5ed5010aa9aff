// The game keeps time by its own fixed tick: one scripted hunt (keys at
// game times) played at 30, 60 and 144 passes a second leaves the same state
// log tick for tick, and so it does with the portable drawing kernels.

#include "GameRunSupport.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr double kSeconds = 12;

std::string ReadText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The state log of the scripted hunt at `passesPerSecond`; paused by
// Escape at pass `pauseAt` for `pausePasses` passes when given.
std::string PlayAt(int passesPerSecond, const std::string& tag, long pauseAt = 0, long pausePasses = 0)
{
    const std::string folder = MakeGameFolder("state_log_" + tag + std::to_string(passesPerSecond), ScriptConfig(false));
    GameOptions options;
    options.dataFolder = folder;
    options.fullScreen = 0;
    options.seedGiven = true;
    options.seed = 5;
    options.fixedFrameTime = 1.0 / passesPerSecond;
    options.maxPasses = long(std::lround(kSeconds * passesPerSecond));
    options.scriptPath = std::string(VELDRA_TEST_SOURCE_DIR) + "/state_log_hunt.script";
    if (pauseAt > 0) {
        const std::string script = folder + "/paused.script";
        std::ofstream out(script);
        for (long pass : {pauseAt, pauseAt + pausePasses})
            out << pass << " key down ESCAPE\n" << pass << " key up ESCAPE\n";
        out << ReadText(options.scriptPath);
        options.scriptPath = script;
        // The tick that pauses runs again on resuming and the pass that
        // resumes gives no time: a second more holds what they take.
        options.maxPasses += pausePasses + passesPerSecond;
    }
    options.stateLog = folder + "/ticks.txt";
    options.huntQuarry = 6;
    options.huntWeapon = 4;
    options.huntScenario = 2;
    EXPECT_EQ(RunGameIn(options), 0);
    return ReadText(options.stateLog);
}

std::vector<std::vector<std::string>> Rows(const std::string& log)
{
    std::vector<std::vector<std::string>> rows;
    std::istringstream lines(log);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream words(line);
        rows.emplace_back();
        for (std::string word; words >> word;)
            rows.back().push_back(word);
    }
    return rows;
}

class StateLog : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!HaveGeneratedData())
            GTEST_SKIP() << "no generated data";
        setenv("SDL_VIDEODRIVER", "dummy", 0);
        setenv("VELDRA_OPENAL_LIBRARY", "/nonexistent/libopenal.so.1", 1);
    }
    void TearDown() override
    {
        unsetenv("VELDRA_OPENAL_LIBRARY");
        unsetenv("VELDRA_PORTABLE");
    }
};

} // namespace

TEST_F(StateLog, TheSameHuntTickForTickAtThirtySixtyAndOneHundredFortyFourPassesASecond)
{
    const std::string at30 = PlayAt(30, "");
    const auto rows = Rows(at30);
    // Twelve seconds are 240 ticks, each line with the hunter, the jeep, 24
    // animals, the kill report and the end status.
    ASSERT_EQ(rows.size(), 240u);
    EXPECT_EQ(rows.front()[0], "1");
    EXPECT_EQ(rows.front()[1], "0.05");
    EXPECT_EQ(rows.back()[0], "240");
    EXPECT_EQ(rows.back()[1], "12.00");
    for (const auto& row : rows)
        ASSERT_EQ(row.size(), 8u + 24u + 2u);
    // The hunt went somewhere: the hunter walked, drove and braked.
    bool drove = false, fullSpeed = false;
    for (const auto& row : rows) {
        drove = drove || row[6] == "1";
        fullSpeed = fullSpeed || row[7] == "300";
    }
    EXPECT_TRUE(drove);
    EXPECT_TRUE(fullSpeed);
    EXPECT_NE(rows.front()[2], rows.back()[2]);
    EXPECT_EQ(rows.back()[6], "1");
    EXPECT_LT(std::stoi(rows.back()[7]), 0); // the brake held from full speed backs the jeep

    EXPECT_EQ(PlayAt(60, ""), at30);
    EXPECT_EQ(PlayAt(144, ""), at30);
    setenv("VELDRA_PORTABLE", "1", 1);
    EXPECT_EQ(PlayAt(30, "portable"), at30);
    EXPECT_EQ(PlayAt(60, "portable"), at30);
    EXPECT_EQ(PlayAt(144, "portable"), at30);
}

TEST_F(StateLog, APauseStopsTheHuntsTimeAndTheSameHuntGoesOnAfterIt)
{
    // Paused in the middle of the hunt for three seconds of passes: the log
    // holds the same ticks, none while paused. The paused runs go on a
    // little longer; their first lines are compared.
    const auto firstLines = [](const std::string& log, size_t lines) {
        size_t end = 0;
        for (size_t i = 0; i < lines; ++i) {
            end = log.find('\n', end);
            if (end == std::string::npos)
                return log;
            ++end;
        }
        return log.substr(0, end);
    };
    const std::string plain = PlayAt(20, "plain");
    ASSERT_EQ(Rows(plain).size(), 240u);
    const size_t lines = size_t(std::count(plain.begin(), plain.end(), '\n'));
    EXPECT_EQ(firstLines(PlayAt(20, "paused", 70, 60), lines), plain);
    EXPECT_EQ(firstLines(PlayAt(60, "paused", 500, 180), lines), PlayAt(60, "plain"));
}
