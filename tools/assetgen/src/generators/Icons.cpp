#include "generators/Icons.h"

#include "common/AtomicFile.h"

#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string_view>

namespace {

// Every icon is designed on a 256 × 256 square; a layer covers part of it
// with a colour (which may vary across it). Layers are listed bottom first;
// each sample takes the colour of the topmost layer that covers it.
struct Colour {
    double r, g, b;
};
struct Point {
    double x, y;
};
using Covers = std::function<bool(double, double)>;
using Paint = std::function<Colour(double, double)>;
struct Layer {
    Covers covers;
    Paint paint;
};

constexpr double kDesign = 256.0;
// Samples a pixel is made of, per side: enough for smooth edges at 16 pixels.
constexpr int kSamples = 4;

Colour Rgb(int r, int g, int b)
{
    return {double(r), double(g), double(b)};
}

Paint Flat(Colour colour)
{
    return [colour](double, double) { return colour; };
}

// From `top` at y0 to `bottom` at y1, held beyond them.
Paint Vertical(Colour top, double y0, Colour bottom, double y1)
{
    return [=](double, double y) {
        const double t = std::clamp((y - y0) / (y1 - y0), 0.0, 1.0);
        return Colour{top.r + (bottom.r - top.r) * t, top.g + (bottom.g - top.g) * t,
                      top.b + (bottom.b - top.b) * t};
    };
}

Covers RoundRect(double x0, double y0, double x1, double y1, double radius)
{
    return [=](double x, double y) {
        if (x < x0 || x > x1 || y < y0 || y > y1)
            return false;
        const double dx = std::max({x0 + radius - x, 0.0, x - (x1 - radius)});
        const double dy = std::max({y0 + radius - y, 0.0, y - (y1 - radius)});
        return dx * dx + dy * dy <= radius * radius;
    };
}

Covers Ellipse(double cx, double cy, double rx, double ry)
{
    return [=](double x, double y) {
        const double u = (x - cx) / rx, v = (y - cy) / ry;
        return u * u + v * v <= 1.0;
    };
}

// Even-odd rule over the polygon's edges.
Covers Polygon(std::vector<Point> points)
{
    return [points = std::move(points)](double x, double y) {
        bool inside = false;
        for (size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
            const Point& a = points[i];
            const Point& b = points[j];
            if ((a.y > y) != (b.y > y) && x < a.x + (y - a.y) * (b.x - a.x) / (b.y - a.y))
                inside = !inside;
        }
        return inside;
    };
}

// A straight bar from `a` to `b`, `halfWidth` to each side.
Covers Bar(Point a, Point b, double halfWidth)
{
    const double length = std::hypot(b.x - a.x, b.y - a.y);
    const double nx = -(b.y - a.y) / length * halfWidth, ny = (b.x - a.x) / length * halfWidth;
    return Polygon({{a.x + nx, a.y + ny}, {b.x + nx, b.y + ny}, {b.x - nx, b.y - ny}, {a.x - nx, a.y - ny}});
}

Covers Any(std::vector<Covers> parts)
{
    return [parts = std::move(parts)](double x, double y) {
        for (const Covers& part : parts)
            if (part(x, y))
                return true;
        return false;
    };
}

Covers Both(Covers a, Covers b)
{
    return [a = std::move(a), b = std::move(b)](double x, double y) { return a(x, y) && b(x, y); };
}

Covers Badge()
{
    return RoundRect(8, 8, 248, 248, 48);
}

// Cells of `size` units from (x, y), one per character of `rows` that is
// `mark`.
Covers Cells(double x, double y, double size, std::vector<const char*> rows, char mark)
{
    return [=](double px, double py) {
        const int row = int(std::floor((py - y) / size)), column = int(std::floor((px - x) / size));
        if (px < x || py < y || row >= int(rows.size()))
            return false;
        const std::string_view line = rows[size_t(row)];
        return column < int(line.size()) && line[size_t(column)] == mark;
    };
}

// The game: an acacia against a setting sun on the savannah.
std::vector<Layer> GameIcon()
{
    const Covers ground = Both(Badge(), [](double, double y) { return y >= 172; });
    return {
        {Badge(), Vertical(Rgb(206, 78, 40), 8, Rgb(255, 196, 92), 176)},
        {Ellipse(128, 166, 62, 62), Flat(Rgb(255, 238, 170))},
        {ground, Vertical(Rgb(136, 106, 44), 172, Rgb(90, 68, 30), 248)},
        {Both(Badge(), Ellipse(54, 182, 70, 12)), Flat(Rgb(112, 88, 38))},
        {Any({Bar({126, 212}, {129, 130}, 7), Bar({128, 146}, {94, 104}, 5), Bar({128, 144}, {164, 100}, 5),
              Bar({128, 160}, {146, 116}, 4), Ellipse(128, 96, 84, 17), Ellipse(114, 84, 52, 13),
              Ellipse(152, 86, 40, 11)}),
         Flat(Rgb(44, 30, 22))},
    };
}

// The editor: a film strip of a galloping zebra in three frames, and a pencil.
std::vector<Layer> EditorIcon()
{
    std::vector<Layer> layers = {
        {Badge(), Flat(Rgb(50, 62, 84))},
        {RoundRect(44, 22, 212, 234, 12), Flat(Rgb(24, 24, 30))},
    };
    std::vector<Covers> holes;
    for (int k = 0; k < 7; ++k) {
        const double y = 32 + k * 29;
        holes.push_back(RoundRect(52, y, 64, y + 14, 3));
        holes.push_back(RoundRect(192, y, 204, y + 14, 3));
    }
    layers.push_back({Any(std::move(holes)), Flat(Rgb(176, 184, 200))});
    const std::vector<const char*> gallop[3] = {
        {".......##", "#########", "#########", ".#.....#.", "#.#...#.#"},
        {".......##", "#########", "#########", "..#...#..", "..#...#.."},
        {".......##", "#########", "#########", ".#.#.#.#.", "#...#...#"},
    };
    for (int k = 0; k < 3; ++k) {
        const double y = 32 + k * 68;
        layers.push_back({RoundRect(74, y, 182, y + 58, 4), Flat(Rgb(238, 226, 188))});
        const Covers animal = Cells(83, y + 4, 10, gallop[k], '#');
        // Stripes: every other column of the body is white.
        layers.push_back({animal, [y](double x, double py) {
                              const int column = int(std::floor((x - 83) / 10));
                              const int row = int(std::floor((py - y - 4) / 10));
                              const bool stripe = (row == 1 || row == 2) && column % 2 == 1 && column < 7;
                              return stripe ? Rgb(240, 240, 236) : Rgb(30, 30, 34);
                          }});
    }
    // The pencil lies from the top right down to its point at the bottom left.
    layers.push_back({Bar({238, 148}, {176, 210}, 13), Flat(Rgb(244, 192, 48))});
    layers.push_back({Bar({238, 148}, {226, 160}, 13), Flat(Rgb(180, 180, 192))});
    const double h = 13 / std::sqrt(2.0);
    layers.push_back({Polygon({{176 - h, 210 - h}, {176 + h, 210 + h}, {150, 236}}), Flat(Rgb(236, 204, 160))});
    layers.push_back({Polygon({{158 - 0.4 * h, 228 - 0.4 * h}, {158 + 0.4 * h, 228 + 0.4 * h}, {150, 236}}),
                      Flat(Rgb(34, 34, 34))});
    return layers;
}

// The setup tool: a key cap with an arrow, the controls it binds.
std::vector<Layer> SetupIcon()
{
    return {
        {Badge(), Flat(Rgb(44, 96, 64))},
        {RoundRect(44, 64, 212, 214, 30), Flat(Rgb(24, 56, 36))},
        {RoundRect(44, 52, 212, 204, 30), Flat(Rgb(196, 198, 188))},
        {RoundRect(62, 60, 194, 180, 22), Flat(Rgb(246, 246, 238))},
        {Polygon({{128, 80}, {172, 126}, {146, 126}, {146, 162}, {110, 162}, {110, 126}, {84, 126}}),
         Flat(Rgb(44, 96, 64))},
    };
}

// A sprite file: a page with a small many-coloured sprite on it.
std::vector<Layer> SpriteFileIcon()
{
    const std::vector<const char*> sprite = {"..1111..", ".122221.", "12233221", "12233221",
                                             "12222221", ".122221.", "..1..1..", ".11..11."};
    return {
        {Polygon({{46, 10}, {174, 10}, {222, 58}, {222, 246}, {46, 246}}), Flat(Rgb(96, 96, 104))},
        {Polygon({{54, 18}, {166, 18}, {214, 66}, {214, 238}, {54, 238}}), Flat(Rgb(252, 252, 248))},
        {Polygon({{166, 18}, {166, 66}, {214, 66}}), Flat(Rgb(206, 206, 214))},
        {Cells(78, 92, 14, sprite, '1'), Flat(Rgb(40, 40, 48))},
        {Cells(78, 92, 14, sprite, '2'), Flat(Rgb(232, 150, 52))},
        {Cells(78, 92, 14, sprite, '3'), Flat(Rgb(255, 230, 120))},
    };
}

std::vector<Layer> IconLayers(int index)
{
    switch (index) {
    case 0: return GameIcon();
    case 1: return EditorIcon();
    case 2: return SetupIcon();
    default: return SpriteFileIcon();
    }
}

uint8_t Channel(double value)
{
    return uint8_t(std::clamp(std::lround(value), 0L, 255L));
}

void AppendBytes(png_structp png, png_bytep data, png_size_t length)
{
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

// An RGBA PNG in memory; empty when libpng fails.
std::vector<uint8_t> EncodePng(const std::vector<uint8_t>& rgba, int size)
{
    std::vector<uint8_t> bytes;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return {};
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return {};
    }
    png_set_write_fn(png, &bytes, AppendBytes, nullptr);
    png_set_compression_level(png, 9);
    png_set_IHDR(png, info, png_uint_32(size), png_uint_32(size), 8, PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < size; ++y)
        png_write_row(png, rgba.data() + size_t(y) * size_t(size) * 4);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return bytes;
}

} // namespace

const IconDesc kIcons[] = {
    {"veldra", "apps"},
    {"kvfedit", "apps"},
    {"veldra-setup", "apps"},
    {"image-x-veldra-sprite", "mimetypes"},
};
const int kIconCount = int(sizeof kIcons / sizeof kIcons[0]);
const int kIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};
const int kIconSizeCount = int(sizeof kIconSizes / sizeof kIconSizes[0]);

std::vector<uint8_t> RenderIcon(int index, int size)
{
    const std::vector<Layer> layers = IconLayers(index);
    std::vector<uint8_t> rgba(size_t(size) * size_t(size) * 4, 0);
    const double unit = kDesign / size;
    for (int py = 0; py < size; ++py)
        for (int px = 0; px < size; ++px) {
            double r = 0, g = 0, b = 0;
            int hits = 0;
            for (int sy = 0; sy < kSamples; ++sy)
                for (int sx = 0; sx < kSamples; ++sx) {
                    const double x = (px + (sx + 0.5) / kSamples) * unit;
                    const double y = (py + (sy + 0.5) / kSamples) * unit;
                    for (auto layer = layers.rbegin(); layer != layers.rend(); ++layer)
                        if (layer->covers(x, y)) {
                            const Colour c = layer->paint(x, y);
                            r += c.r;
                            g += c.g;
                            b += c.b;
                            ++hits;
                            break;
                        }
                }
            if (hits == 0)
                continue;
            uint8_t* out = rgba.data() + (size_t(py) * size_t(size) + size_t(px)) * 4;
            out[0] = Channel(r / hits);
            out[1] = Channel(g / hits);
            out[2] = Channel(b / hits);
            out[3] = Channel(255.0 * hits / (kSamples * kSamples));
        }
    return rgba;
}

bool GenerateIcons(const std::string& folder)
{
    namespace fs = std::filesystem;
    for (int size_index = 0; size_index < kIconSizeCount; ++size_index) {
        const int size = kIconSizes[size_index];
        const std::string dimension = std::to_string(size) + "x" + std::to_string(size);
        for (int i = 0; i < kIconCount; ++i) {
            const fs::path path = fs::path(folder) / "hicolor" / dimension / kIcons[i].context /
                                  (std::string(kIcons[i].name) + ".png");
            std::error_code error;
            fs::create_directories(path.parent_path(), error);
            const std::vector<uint8_t> png = EncodePng(RenderIcon(i, size), size);
            if (png.empty() || !WriteFileAtomically(path.string(), png.data(), png.size())) {
                std::fprintf(stderr, "assetgen: cannot write the icon %s\n", path.string().c_str());
                return false;
            }
        }
    }
    return true;
}

const int kWindowIconSizes[] = {16, 32, 48, 64};
const int kWindowIconSizeCount = int(sizeof kWindowIconSizes / sizeof kWindowIconSizes[0]);

std::string WindowIconSource()
{
    std::string text = "// Made by assetgen --window-icons: the programs' window icons, straight RGBA,\n"
                       "// top row first. Not to be edited; the generator draws them.\n\n";
    std::string table = "const WindowIconImage kWindowIconTable[] = {\n";
    for (int i = 0; i < kIconCount; ++i) {
        if (std::string_view(kIcons[i].context) != "apps")
            continue;
        for (int s = 0; s < kWindowIconSizeCount; ++s) {
            const int size = kWindowIconSizes[s];
            std::string symbol = std::string("kIcon_") + kIcons[i].name + "_" + std::to_string(size);
            std::replace(symbol.begin(), symbol.end(), '-', '_');
            text += "static const unsigned char " + symbol + "[] = {";
            const std::vector<uint8_t> rgba = RenderIcon(i, size);
            for (size_t b = 0; b < rgba.size(); ++b) {
                text += b % 24 == 0 ? "\n    " : " ";
                text += std::to_string(rgba[b]) + ",";
            }
            text += "\n};\n";
            table += std::string("    {\"") + kIcons[i].name + "\", " + std::to_string(size) + ", " + symbol + "},\n";
        }
    }
    return text + "\n" + table + "};\n";
}

bool WriteWindowIconSource(const std::string& path)
{
    const std::string text = WindowIconSource();
    std::ifstream existing(path, std::ios::binary);
    if (existing && std::string(std::istreambuf_iterator<char>(existing), {}) == text)
        return true;
    if (!WriteFileAtomically(path, text.data(), text.size())) {
        std::fprintf(stderr, "assetgen: cannot write the window icons %s\n", path.c_str());
        return false;
    }
    return true;
}
