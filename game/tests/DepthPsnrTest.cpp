// Runs the game program over the generated data twice with the same script,
// once in 8-bit palettised display and once in high colour, and compares the
// dumped frames screen by screen: every 8-bit frame must come within
// kGoalPsnr of the high-colour frame of the same pass. The program runs as a
// separate process (headless, fixed frame time, fixed seed) and only its
// PNG dumps and screen log are read, so the test sees exactly what a player
// would. The frames are kept side by side (8 bits left, high colour right)
// in the build folder for people to look at, with a list of the figures.
//
// Hunt frames are compared too once the program can start straight in a hunt
// (its --help lists --hunt): the view, the binoculars raised, the aim raised,
// the options box and an end picture over the frozen hunt, in every scenario.
// So are the jeep close up, driven and parked, and the far range seen from
// it, where sprites are hazed, fade in and are enlarged smoothly.
// The radar square is left out of hunt frames: it is drawn half-transparent
// in high colour and as a stipple in 8 bits by design.

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <png.h>
#include <spawn.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <vector>

extern char** environ;

namespace fs = std::filesystem;

namespace {

constexpr double kGoalPsnr = 36.0;

struct Rect {
    int left, top, right, bottom;
};

// The radar square in the hunt's top-left corner.
constexpr Rect kRadar = {10, 10, 110, 110};

// Screens of the game (ScreenId), as the screen log names them.
enum : int {
    SCREEN_MAIN = 0,
    SCREEN_QUARRY = 1,
    SCREEN_HUNT = 2,
    SCREEN_OPTIONS = 3,
    SCREEN_WEAPON = 4,
    SCREEN_SCENARIO = 5,
    SCREEN_TROPHIES = 13,
    SCREEN_CREDITS = 14,
};

// Any of the end pictures' screens: a hunt may end in more than one way.
constexpr int kAnyEndPicture = -2;

bool IsEndPicture(int screen) { return (screen >= 6 && screen <= 12) || (screen >= 15 && screen <= 17); }

// A dumped pass, what it shows and the screen it must be on.
struct Screenshot {
    long pass;
    std::string name;
    int screen;
};

const std::vector<Screenshot> kMenuShots = {
    {4, "main menu, start lit", SCREEN_MAIN},      {7, "quarry, giraffe", SCREEN_QUARRY},
    {10, "quarry, elephant", SCREEN_QUARRY},       {13, "quarry, hippo", SCREEN_QUARRY},
    {16, "quarry, lion", SCREEN_QUARRY},           {19, "quarry, lioness", SCREEN_QUARRY},
    {22, "quarry, rhino", SCREEN_QUARRY},          {25, "quarry, zebra", SCREEN_QUARRY},
    {28, "weapon, assault rifle", SCREEN_WEAPON},  {31, "weapon, crossbow", SCREEN_WEAPON},
    {34, "weapon, handgun", SCREEN_WEAPON},        {37, "weapon, muzzle-loader", SCREEN_WEAPON},
    {40, "weapon, rifle", SCREEN_WEAPON},          {43, "weapon, shotgun", SCREEN_WEAPON},
    {46, "scenario, grass land", SCREEN_SCENARIO}, {49, "scenario, desert", SCREEN_SCENARIO},
    {52, "scenario, plains", SCREEN_SCENARIO},     {62, "trophy room, first page", SCREEN_TROPHIES},
    {65, "trophy room, second page", SCREEN_TROPHIES}, {73, "credits", SCREEN_CREDITS},
    {76, "main menu", SCREEN_MAIN},
};

// The intro, one video frame a pass: the savannah at noon, the sun going
// down, the sunset's purples and pinks, dusk and the title. The menu is
// current behind it.
const std::vector<Screenshot> kIntroShots = {
    {2, "intro, start", SCREEN_MAIN},          {40, "intro, 2 s", SCREEN_MAIN},
    {80, "intro, 4 s", SCREEN_MAIN},           {120, "intro, 6 s", SCREEN_MAIN},
    {150, "intro, 7.5 s", SCREEN_MAIN},        {175, "intro, 8.75 s", SCREEN_MAIN},
    {198, "intro, the title", SCREEN_MAIN},
};

const std::vector<Screenshot> kHuntShots = {
    {5, "view", SCREEN_HUNT},
    {40, "binoculars up", SCREEN_HUNT},
    {100, "aiming", SCREEN_HUNT},
    {128, "options box", SCREEN_OPTIONS},
    {400, "end picture", kAnyEndPicture},
};

// The jeep close up (driven, and parked ahead once the hunter is out) and
// the far range while driving, where sprites are hazed, fade in and are
// enlarged smoothly.
const std::vector<Screenshot> kDriveShots = {
    {18, "chase view, the jeep close up", SCREEN_HUNT},
    {45, "driving through the far range", SCREEN_HUNT},
    {110, "out of the jeep, parked ahead", SCREEN_HUNT},
};

// Keys bound in the configuration for the hunt script (keyboard scan codes):
// arrows to move, space to fire, A to aim, B for the binoculars, D to drive.
const char* const kKeyBindings = "keyup=200\nkeydown=208\nkeyleft=203\nkeyright=205\n"
                                 "keybut0=57\nkeybut1=30\nkeybut2=48\nkeybut3=32\n";

struct Image {
    int width = 0, height = 0;
    std::vector<uint8_t> rgb;
};

bool ReadPng(const std::string& path, Image& image)
{
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&png, path.c_str()))
        return false;
    png.format = PNG_FORMAT_RGB;
    image.width = int(png.width);
    image.height = int(png.height);
    image.rgb.resize(PNG_IMAGE_SIZE(png));
    return png_image_finish_read(&png, nullptr, image.rgb.data(), 0, nullptr) != 0;
}

bool WritePng(const std::string& path, const Image& image)
{
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    png.width = uint32_t(image.width);
    png.height = uint32_t(image.height);
    png.format = PNG_FORMAT_RGB;
    return png_image_write_to_file(&png, path.c_str(), 0, image.rgb.data(), 0, nullptr) != 0;
}

bool Inside(const Rect& r, int x, int y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }

// PSNR over every pixel outside `masks` (99 dB for identical pictures).
double Psnr(const Image& a, const Image& b, const std::vector<Rect>& masks)
{
    double squared = 0;
    long count = 0;
    for (int y = 0; y < a.height; ++y)
        for (int x = 0; x < a.width; ++x) {
            bool masked = false;
            for (const Rect& r : masks)
                masked = masked || Inside(r, x, y);
            if (masked)
                continue;
            for (int c = 0; c < 3; ++c) {
                const double d = double(a.rgb[(size_t(y) * a.width + x) * 3 + c]) - b.rgb[(size_t(y) * b.width + x) * 3 + c];
                squared += d * d;
                ++count;
            }
        }
    if (count == 0 || squared == 0)
        return 99.0;
    return 10 * std::log10(255.0 * 255.0 * double(count) / squared);
}

Image SideBySide(const Image& left, const Image& right)
{
    Image out;
    out.width = left.width + 4 + right.width;
    out.height = std::max(left.height, right.height);
    out.rgb.assign(size_t(out.width) * out.height * 3, 255);
    auto paste = [&](const Image& from, int x0) {
        for (int y = 0; y < from.height; ++y)
            std::copy_n(&from.rgb[size_t(y) * from.width * 3], size_t(from.width) * 3,
                        &out.rgb[(size_t(y) * out.width + x0) * 3]);
    };
    paste(left, 0);
    paste(right, left.width + 4);
    return out;
}

std::string Program() { return std::string(VELDRA_TEST_OUTPUT_DIR) + "/Veldra"; }

// Runs the program headless and waits for it (at most `seconds`); its output
// goes to `logPath`. Returns the exit status, or -1 when it could not run or
// had to be stopped.
int RunProgram(const std::vector<std::string>& arguments, const std::string& logPath, int seconds = 300)
{
    std::vector<std::string> environment;
    for (char** e = environ; *e; ++e)
        if (std::strncmp(*e, "SDL_VIDEODRIVER=", 16) != 0 && std::strncmp(*e, "ALSOFT_DRIVERS=", 15) != 0)
            environment.push_back(*e);
    environment.push_back("SDL_VIDEODRIVER=dummy");
    environment.push_back("ALSOFT_DRIVERS=null");
    std::vector<char*> envp, argv;
    for (std::string& e : environment)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    std::vector<std::string> args = arguments;
    args.insert(args.begin(), Program());
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    pid_t child = 0;
    const int spawned = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return -1;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    int status = 0;
    for (;;) {
        const pid_t done = ::waitpid(child, &status, WNOHANG);
        if (done == child)
            break;
        if (done < 0 && errno != EINTR)
            return -1;
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(child, SIGKILL);
            ::waitpid(child, &status, 0);
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string ReadTextFile(const std::string& path)
{
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The screen shown at every pass of a screen log ("<pass> <screen>" at each change).
int ScreenAt(const std::string& log, long pass)
{
    std::istringstream lines(log);
    long at = 0;
    int screen = -1, current = -1;
    while (lines >> at >> screen) {
        if (at > pass)
            break;
        current = screen;
    }
    return current;
}

// A game folder of its own: links to the generated data, a configuration of
// the display depth with the hunt's keys bound, and four trophies.
fs::path PrepareFolder(const fs::path& root, const std::string& name, bool highColour)
{
    const fs::path folder = root / (name + (highColour ? "-16" : "-8"));
    fs::remove_all(folder);
    fs::create_directories(folder);
    const fs::path data = VELDRA_GENERATED_DATA_DIR;
    for (const char* sub : {"menu", "animals", "env", "sounds", "video"})
        if (fs::exists(data / sub))
            fs::create_directory_symlink(fs::absolute(data / sub), folder / sub);
    const int32_t trophies[5] = {4, 7, 2, 1, 6};
    std::ofstream(folder / "trophy.bin", std::ios::binary).write(reinterpret_cast<const char*>(trophies), 20);
    std::ofstream(folder / "config.dat") << "[configuration]\nhighcolour=" << (highColour ? 1 : 0) << "\n"
                                         << kKeyBindings;
    return folder;
}

// One run of a script in both depths, compared shot by shot.
struct Pass {
    std::string name;         // names the folders and pictures
    std::string script;       // path of the script
    std::vector<std::string> options; // more program options
    const char* frameTime;    // seconds per pass
    long passes;              // the program quits after this many
    std::vector<Screenshot> shots;
    std::vector<Rect> masks;  // left out of every comparison
};

struct Figure {
    std::string shot;
    double psnr;
};

// Compares one shot of `pass` in both depths and adds its figure.
void CompareShot(const fs::path& root, const Pass& pass, const Screenshot& shot, const std::string& log,
                 std::vector<Figure>& figures)
{
    SCOPED_TRACE(pass.name + ", " + shot.name + " (pass " + std::to_string(shot.pass) + ")");
    if (shot.screen == kAnyEndPicture)
        EXPECT_TRUE(IsEndPicture(ScreenAt(log, shot.pass))) << "the hunt did not end in time";
    else
        EXPECT_EQ(ScreenAt(log, shot.pass), shot.screen) << "the script did not reach this screen";
    Image frames[2];
    for (int depth = 0; depth < 2; ++depth) {
        const fs::path file = root / (pass.name + (depth ? "-16" : "-8")) / ("pass" + std::to_string(shot.pass) + ".png");
        ASSERT_TRUE(ReadPng(file.string(), frames[depth])) << "no frame dumped: " << file;
    }
    ASSERT_EQ(frames[0].width, frames[1].width);
    ASSERT_EQ(frames[0].height, frames[1].height);
    const double psnr = Psnr(frames[0], frames[1], pass.masks);
    figures.push_back({pass.name + ", " + shot.name, psnr});
    EXPECT_GE(psnr, kGoalPsnr) << "8 bits against high colour";
    WritePng((root / (pass.name + "-" + std::to_string(shot.pass) + ".png")).string(), SideBySide(frames[0], frames[1]));
}

// Runs `pass` in both depths and compares its shots. Every failure is a test
// failure; the figures come back for the report.
std::vector<Figure> CompareDepths(const fs::path& root, const Pass& pass)
{
    std::vector<Figure> figures;
    std::string dumpAt;
    for (const Screenshot& shot : pass.shots)
        dumpAt += (dumpAt.empty() ? "" : ",") + std::to_string(shot.pass);
    std::string logs[2];
    for (int depth = 0; depth < 2; ++depth) {
        const bool highColour = depth == 1;
        const fs::path folder = PrepareFolder(root, pass.name, highColour);
        std::vector<std::string> args = {"--data", folder.string(), "--windowed", "--seed", "1",
                                         "--fixed-dt", pass.frameTime, "--script", pass.script, "--frames",
                                         std::to_string(pass.passes), "--dump-frames", (folder / "pass%d.png").string(),
                                         "--dump-at", dumpAt, "--screen-log", (folder / "screens.txt").string()};
        args.insert(args.end(), pass.options.begin(), pass.options.end());
        const int status = RunProgram(args, (folder / "output.txt").string());
        EXPECT_EQ(status, 0) << pass.name << (highColour ? " in high colour" : " in 8 bits")
                             << ": the program failed; see " << (folder / "output.txt");
        logs[depth] = ReadTextFile((folder / "screens.txt").string());
    }
    // Both depths must have walked through the same screens at the same passes.
    EXPECT_EQ(logs[0], logs[1]) << pass.name << ": the two depths went different ways";

    for (const Screenshot& shot : pass.shots)
        CompareShot(root, pass, shot, logs[0], figures);
    return figures;
}

void WriteReport(const fs::path& path, const std::vector<Figure>& figures)
{
    std::ofstream out(path, std::ios::app);
    for (const Figure& figure : figures) {
        char line[200];
        std::snprintf(line, sizeof line, "%-48s %6.2f dB\n", figure.shot.c_str(), figure.psnr);
        out << line;
    }
}

// The folder for this test's runs, or an empty path (with the reason) when
// the program or the generated data are missing.
// The folder the figures go to; empty, with the reason, when the program or
// the data the build makes is missing (a broken build, not a skip).
fs::path ReadyFolder(std::string& reason)
{
    if (!fs::exists(Program())) {
        reason = "no game program at " + Program();
        return {};
    }
    if (!fs::exists(fs::path(VELDRA_GENERATED_DATA_DIR) / "menu" / "palMain.bmp")) {
        reason = std::string("no generated data in ") + VELDRA_GENERATED_DATA_DIR;
        return {};
    }
    const fs::path root = fs::path(VELDRA_TEST_OUTPUT_DIR) / "depth_psnr";
    fs::create_directories(root);
    return root;
}

} // namespace

TEST(DepthPsnr, EveryMenuScreenShowsInEightBitsAsInHighColour)
{
    std::string reason;
    const fs::path root = ReadyFolder(reason);
    if (root.empty())
        FAIL() << reason;
    fs::remove(root / "menus.txt");
    // One pass a tick, so that each click is acted on in the pass it comes in.
    const Pass menus = {"menus", std::string(VELDRA_TEST_SOURCE_DIR) + "/depth_psnr_menus.script", {"--no-video"}, "0.05", 90,
                        kMenuShots, {}};
    const std::vector<Figure> figures = CompareDepths(root, menus);
    WriteReport(root / "menus.txt", figures);
    EXPECT_EQ(figures.size(), kMenuShots.size());
}

// The intro in 8 bits keeps its colours: it is shown in a palette of its
// own while it plays, and the menus' palette comes back after it (the menu
// shot after the intro is compared too).
TEST(DepthPsnr, TheIntroShowsInEightBitsAsInHighColour)
{
    std::string reason;
    const fs::path root = ReadyFolder(reason);
    if (root.empty())
        FAIL() << reason;
    fs::remove(root / "intro.txt");
    const fs::path script = root / "intro.script";
    std::ofstream(script) << "# nothing pressed: the intro plays to its end\n";
    std::vector<Screenshot> shots = kIntroShots;
    shots.push_back({215, "main menu after the intro", SCREEN_MAIN});
    const Pass intro = {"intro", script.string(), {}, "0.05", 216, shots, {}};
    const std::vector<Figure> figures = CompareDepths(root, intro);
    WriteReport(root / "intro.txt", figures);
    for (const Figure& figure : figures)
        std::printf("%-48s %6.2f dB\n", figure.shot.c_str(), figure.psnr);
    EXPECT_EQ(figures.size(), shots.size());
}

namespace {

// Runs a hunt script (from --hunt, 0.1 s a pass) in every scenario and
// compares its shots; the figures go to `report` in the test's folder.
void CompareHuntsInEveryScenario(const std::string& name, const std::string& script, long passes,
                                 const std::vector<Screenshot>& shots, const std::string& report)
{
    std::string reason;
    const fs::path root = ReadyFolder(reason);
    if (root.empty())
        FAIL() << reason;
    fs::remove(root / report);
    for (const char* scenario : {"desert", "plains", "grassland"}) {
        const Pass hunt = {name + "-" + scenario,
                           std::string(VELDRA_TEST_SOURCE_DIR) + "/" + script,
                           {"--no-video", "--hunt", std::string("zebra,rifle,") + scenario},
                           "0.1",
                           passes,
                           shots,
                           {kRadar}};
        WriteReport(root / report, CompareDepths(root, hunt));
    }
}

} // namespace

TEST(DepthPsnr, HuntFramesShowInEightBitsAsInHighColour)
{
    CompareHuntsInEveryScenario("hunt", "depth_psnr_hunt.script", 420, kHuntShots, "hunts.txt");
}

TEST(DepthPsnr, CloseUpsAndTheFarRangeShowInEightBitsAsInHighColour)
{
    CompareHuntsInEveryScenario("drive", "depth_psnr_drive.script", 120, kDriveShots, "drives.txt");
}
