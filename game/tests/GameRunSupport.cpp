#include "GameRunSupport.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <png.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

std::string MakeGameFolder(const std::string& name, const std::string& config, bool copySounds)
{
    const fs::path data = VELDRA_GENERATED_DATA_DIR;
    const fs::path folder = fs::path(VELDRA_TEST_OUTPUT_DIR) / name;
    // A read-only folder left by an earlier run must be writable to go.
    std::error_code ignored;
    for (const fs::path& writable : {folder, folder / "sounds"})
        if (fs::exists(writable, ignored))
            fs::permissions(writable, fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(folder);
    fs::create_directories(folder);
    for (const char* sub : {"menu", "animals", "env", "sounds", "video"}) {
        if (!fs::exists(data / sub))
            continue;
        if (copySounds && std::string(sub) == "sounds")
            fs::copy(data / sub, folder / sub, fs::copy_options::recursive);
        else
            fs::create_directory_symlink(data / sub, folder / sub);
    }
    if (!config.empty())
        std::ofstream(folder / "config.dat") << config;
    return folder.string();
}

bool HaveGeneratedData()
{
    const fs::path data = VELDRA_GENERATED_DATA_DIR;
    return fs::exists(data / "menu" / "mback.bmp") && fs::exists(data / "env" / "back20.bmp") &&
           fs::exists(data / "sounds" / "rifle.wav");
}

std::string ScriptConfig(bool highColour)
{
    return std::string("[configuration]\nhighcolour=") + (highColour ? "1" : "0") +
           "\nkeyleft=203\nkeyright=205\nkeyup=200\nkeydown=208\nkeybut0=57\nkeybut1=30\nkeybut2=48\nkeybut3=32\n";
}

int RunGameIn(const GameOptions& options)
{
    char* cwd = ::getcwd(nullptr, 0);
    const std::string previous = cwd ? cwd : ".";
    std::free(cwd);
    CGameApp app;
    const int status = app.Run(options);
    if (::chdir(previous.c_str()) != 0)
        std::abort();
    return status;
}

uint64_t HashPng(const std::string& path)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str()))
        return 0;
    image.format = PNG_FORMAT_RGB;
    std::vector<uint8_t> pixels(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr))
        return 0;
    uint64_t hash = 1469598103934665603ull;
    for (uint8_t b : pixels)
        hash = (hash ^ b) * 1099511628211ull;
    return hash;
}

std::string Hex(uint64_t value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(value));
    return text;
}

std::map<std::string, std::string> ReadGoldens(const std::string& path)
{
    std::map<std::string, std::string> goldens;
    std::ifstream in(path);
    std::string key, value;
    while (in >> key >> value)
        goldens[key] = value;
    return goldens;
}
