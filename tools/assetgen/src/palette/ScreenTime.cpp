#include "palette/ScreenTime.h"

#include "sink/CAssetSink.h"

#include <cmath>
#include <fnmatch.h>
#include <map>

namespace {

constexpr double kScreen = 640.0 * 480.0;

// How a table line weighs the pictures it matches.
enum class Share {
    // `amount` is the share of the context's time each pixel is on screen.
    PerPixel,
    // `amount` is a share of the screen, spread over every pixel of every
    // picture the line matches (many pictures of which a few show at once).
    Spread,
};

struct Line {
    const char* pattern; // a glob over the data names, any case
    Share share;
    double amount;
};

// Menu time: the main menu most, then the three choices, the trophy room and
// the credits. Two-frame buttons show each frame about half the time; one
// of several name plates shows at a time.
// Hunt time (per scenario): the hunt display always; binoculars raised a
// sixth of the time, the gun an aim a third; the end pictures and the options
// box a few seconds of every hunt. Scenery takes the rest of the screen (the
// ground and panorama come in by their own rules).
constexpr Line kLines[] = {
    {"menu\\\\mback.bmp", Share::PerPixel, 0.30},
    {"menu\\\\m*.bmp", Share::PerPixel, 0.15},
    {"menu\\\\hback.bmp", Share::PerPixel, 0.20},
    {"menu\\\\hn*.bmp", Share::PerPixel, 0.20 / 7},
    {"menu\\\\hEmpty.bmp", Share::PerPixel, 0.01},
    {"menu\\\\h*.bmp", Share::PerPixel, 0.10},
    {"menu\\\\weBack.bmp", Share::PerPixel, 0.15},
    {"menu\\\\wen*.bmp", Share::PerPixel, 0.15 / 6},
    {"menu\\\\weEmpty.bmp", Share::PerPixel, 0.01},
    {"menu\\\\we*.bmp", Share::PerPixel, 0.075},
    {"menu\\\\scback.bmp", Share::PerPixel, 0.15},
    {"menu\\\\sc*.bmp", Share::PerPixel, 0.075},
    {"menu\\\\btn*.bmp", Share::PerPixel, 0.075},
    {"menu\\\\trback.bmp", Share::PerPixel, 0.12},
    {"menu\\\\tr*.bmp", Share::PerPixel, 0.06},
    {"menu\\\\crback.bmp", Share::PerPixel, 0.08},
    {"menu\\\\cr*.bmp", Share::PerPixel, 0.04},
    // Over the hunt.
    {"menu\\\\gCompass.bmp", Share::PerPixel, 2.0 / 12},
    {"menu\\\\gDir.bmp", Share::PerPixel, 1.0},
    {"menu\\\\gWind.bmp", Share::PerPixel, 1.0},
    {"menu\\\\g[bft]*.bmp", Share::PerPixel, 0.5},
    {"menu\\\\goption.bmp", Share::PerPixel, 0.5},
    {"menu\\\\pt[12].bmp", Share::PerPixel, 1.0},
    {"menu\\\\bino.bmp", Share::PerPixel, 0.16},
    {"menu\\\\smoke*.bmp", Share::PerPixel, 0.02},
    {"menu\\\\op*.bmp", Share::PerPixel, 0.02},
    {"menu\\\\En*.bmp", Share::PerPixel, 0.06},
    {"menu\\\\gun*.bmp", Share::Spread, 0.06},
    {"menu\\\\jeep_*.bmp", Share::Spread, 0.015},
    {"animals\\\\*", Share::Spread, 0.03},
    {"env\\\\tree*.bmp", Share::Spread, 0.08},
};

bool Matches(const Line& line, const std::string& name)
{
    return ::fnmatch(line.pattern, name.c_str(), FNM_CASEFOLD) == 0;
}

size_t OpaquePixels(const RecordedPicture& picture)
{
    size_t count = 0;
    for (uint32_t p : picture.image.pixels)
        count += (p >> 24) != 0;
    return count;
}

} // namespace

std::vector<double> PixelWeights(const std::vector<RecordedPicture>& pictures)
{
    std::vector<double> weights(pictures.size(), 0.0);
    std::vector<int> lineOf(pictures.size(), -1);
    constexpr int kLineCount = int(sizeof kLines / sizeof kLines[0]);
    // Spread lines share out over all the pixels they match; trees are
    // spread within their own scenario.
    std::map<std::pair<int, uint32_t>, double> spreadPixels;
    for (size_t i = 0; i < pictures.size(); ++i)
        for (int l = 0; l < kLineCount; ++l)
            if (Matches(kLines[l], pictures[i].name)) {
                lineOf[i] = l;
                if (kLines[l].share == Share::Spread)
                    spreadPixels[{l, pictures[i].groups}] += double(OpaquePixels(pictures[i]));
                break;
            }
    for (size_t i = 0; i < pictures.size(); ++i) {
        const int l = lineOf[i];
        if (l < 0)
            continue;
        if (kLines[l].share == Share::PerPixel) {
            weights[i] = kLines[l].amount;
        } else {
            const double pixels = spreadPixels[{l, pictures[i].groups}];
            weights[i] = pixels > 0 ? kLines[l].amount * kScreen / pixels : 0.0;
        }
    }
    return weights;
}

std::vector<double> GroundPixelsByHazeLevel()
{
    std::vector<double> pixels(kHazeLevels, 0.0);
    const double focal = 320.0, halfFov = M_PI / 4;
    const struct {
        double eye, time;
    } kViews[] = {{48.0, 0.8}, {80.0, 0.2}};
    for (const auto& view : kViews) {
        const double k = view.eye * focal / std::cos(halfFov);
        for (int i = 1; i <= 480 - 240; ++i) {
            const double r = k / i;
            int level = 0;
            if (r > 8000)
                level = 32;
            else if (r >= 1500)
                level = int((r - 1500) / ((8000.0 - 1500) / 32) + 0.5);
            pixels[size_t(level > 32 ? 32 : level)] += 640 * view.time;
        }
    }
    return pixels;
}

double PanoramaPixelWeight(int row, int height)
{
    // Each shown panorama pixel covers two screen pixels, a quarter of the time.
    return row >= height / 2 ? 0.5 : 0.05;
}
