#include "palette/CHuntPreview.h"

#include "AnimalKinds.h"
#include "palette/HighColour.h"
#include "palette/ScreenTime.h"

#include "imaging/CDibPalette.h"

#include <cmath>
#include <fnmatch.h>
#include <strings.h>

namespace {

constexpr int kWidth = 640, kHeight = 480;
constexpr double kFocal = 320.0, kHalfFov = M_PI / 4, kEye = 48.0;

uint32_t ColourOf(const PaletteEntry& e) { return uint32_t(e.red) << 16 | uint32_t(e.green) << 8 | e.blue; }

CDibPalette* MakePalette(const PaletteEntry* entries)
{
    CDibPalette* palette = new CDibPalette;
    palette->Create(256);
    palette->SetEntries(entries, 0, 256);
    return palette;
}

const char* const kScenery[3][3] = {
    {"env\\back10.bmp", "env\\grass10.bmp", "env\\tree2?.bmp"},
    {"env\\back20.bmp", "env\\grass20.bmp", "env\\tree1?.bmp"},
    {"env\\back30.bmp", "env\\grass30.bmp", "env\\tree3?.bmp"},
};

} // namespace

CHuntPreview::CHuntPreview(const std::vector<WrittenPicture>& pictures, const CContextPalettes& palettes, int context)
    : m_pictures(pictures), m_palettes(palettes), m_context(context),
      m_palette(MakePalette(palettes.Palette(context).data()))
{
}

CHuntPreview::~CHuntPreview() { m_palette->Release(); }

const WrittenPicture* CHuntPreview::Find(const std::string& name) const
{
    for (const WrittenPicture& picture : m_pictures)
        if (picture.source && strcasecmp(picture.source->name.c_str(), name.c_str()) == 0)
            return &picture;
    return nullptr;
}

void CHuntPreview::Draw(Frame& frame, const WrittenPicture* picture, int srcX, int srcY, int srcW, int srcH, int dstX,
                        int dstY, int dstW, int dstH) const
{
    if (!picture || srcW <= 0 || srcH <= 0 || dstW <= 0 || dstH <= 0)
        return;
    CDibPalette* own = MakePalette(picture->palette.data());
    const uint8_t* table = static_cast<const uint8_t*>(own->GetConversionTable(PF_INDEX8, m_palette));
    const PaletteEntry* shown = m_palette->Entries();
    const int w = picture->source->image.width;
    for (int y = std::max(0, dstY); y < std::min(kHeight, dstY + dstH); ++y)
        for (int x = std::max(0, dstX); x < std::min(kWidth, dstX + dstW); ++x) {
            const int sx = srcX + int(int64_t(x - dstX) * srcW / dstW), sy = srcY + int(int64_t(y - dstY) * srcH / dstH);
            const uint8_t index = picture->indices[size_t(sy) * w + sx];
            if (!index || !table)
                continue;
            frame.highColour[size_t(y) * kWidth + x] = HighColourOf(ColourOf(picture->palette[index]));
            frame.eightBit[size_t(y) * kWidth + x] = ColourOf(shown[table[index]]);
        }
    own->Release();
}

void CHuntPreview::DrawGround(Frame& frame, double angle, int horizon) const
{
    const WrittenPicture* ground = Find(kScenery[m_context - 1][1]);
    if (!ground)
        return;
    const double k = kEye * kFocal / std::cos(kHalfFov), x0 = 10500, y0 = 10500;
    const double aL = angle + kHalfFov, aR = angle - kHalfFov;
    const PaletteEntry* shown = m_palette->Entries();
    for (int i = 1; horizon + i - 1 < kHeight; ++i) {
        const double r = k / i;
        int level = 0;
        if (r > 8000)
            level = 32;
        else if (r >= 1500)
            level = int((r - 1500) / ((8000.0 - 1500) / 32) + 0.5);
        const int uL = int(x0 + r * std::cos(aL)), vL = int(y0 + r * std::sin(aL));
        const int uR = int(x0 + r * std::cos(aR)), vR = int(y0 + r * std::sin(aR));
        const int n = kWidth / 2, du = std::abs(uR - uL), dv = std::abs(vR - vL);
        const int su = uR >= uL ? 1 : -1, sv = vR >= vL ? 1 : -1;
        int u = uL, v = vL, eu = 0, ev = 0;
        const int y = horizon + i - 1;
        for (int j = 0; j < n; ++j) {
            const uint8_t texel = ground->indices[size_t(v & 255) * 256 + size_t(u & 255)];
            const uint32_t hazed = Hazed(ColourOf(ground->palette[texel]), level);
            const uint32_t high = HighColourOf(hazed);
            const int index = m_palette->NearestIndex(uint8_t(hazed >> 16), uint8_t(hazed >> 8), uint8_t(hazed));
            for (int x = 2 * j; x < 2 * j + 2; ++x) {
                frame.highColour[size_t(y) * kWidth + x] = high;
                frame.eightBit[size_t(y) * kWidth + x] = ColourOf(shown[index < 0 ? 0 : index]);
            }
            for (eu += du; eu >= n; eu -= n)
                u += su;
            for (ev += dv; ev >= n; ev -= n)
                v += sv;
        }
    }
}

void CHuntPreview::DrawPanorama(Frame& frame, double angle, int horizon) const
{
    const WrittenPicture* panorama = Find(kScenery[m_context - 1][0]);
    if (!panorama)
        return;
    const int w = panorama->source->image.width, h = panorama->source->image.height;
    double t = 2 * M_PI - angle - kHalfFov;
    while (t < 0)
        t += 2 * M_PI;
    const int xs = int(w * t / (2 * M_PI)) % w, span = w / 4;
    const int first = std::min(span, w - xs);
    const int firstWidth = kWidth * first / span;
    Draw(frame, panorama, xs, 0, first, h, 0, horizon - 2 * h, firstWidth, 2 * h);
    if (first < span)
        Draw(frame, panorama, 0, 0, span - first, h, firstWidth, horizon - 2 * h, kWidth - firstWidth, 2 * h);
}

void CHuntPreview::DrawObject(Frame& frame, const WrittenPicture* picture, int frameHeight, double size,
                              double distance, double relative, int horizon) const
{
    if (!picture)
        return;
    const double z = std::cos(relative) * distance, s = kFocal / z;
    const int k = int(s * kEye), xoff = int(std::tan(relative) * kWidth * 0.5);
    const int w = picture->source->image.width;
    const int drawW = int(w * size / frameHeight * s), drawH = int(s * size);
    Draw(frame, picture, 0, 0, w, frameHeight, kWidth / 2 - drawW / 2 + xoff, -drawH + horizon + k, drawW, drawH);
}

void CHuntPreview::DrawBinoculars(Frame& frame, int top) const
{
    const WrittenPicture* bino = Find(CContextPalettes::kBinoculars);
    if (!bino)
        return;
    const int w = bino->source->image.width, h = bino->source->image.height;
    const uint8_t lens = bino->indices[size_t(CContextPalettes::kLensY) * w + CContextPalettes::kLensX];
    // The lens shows the back buffer's (220, top + 133) at twice its size.
    const Frame before = frame;
    const int srcH = std::min(kHeight - top, 90), srcY = top + 133;
    for (int y = 0; y < h && top + y < kHeight; ++y)
        for (int x = 0; x < w; ++x) {
            const uint8_t index = bino->indices[size_t(y) * w + x];
            if (!index)
                continue;
            const size_t at = size_t(top + y) * kWidth + x;
            if (index == lens && x >= 120 && x < 520 && y >= 110 && y < 290) {
                const int sx = 220 + (x - 120) * 200 / 400, sy = srcY + (y - 110) * srcH / 180;
                const size_t from = size_t(std::min(sy, kHeight - 1)) * kWidth + sx;
                frame.highColour[at] = before.highColour[from];
                frame.eightBit[at] = before.eightBit[from];
                continue;
            }
            frame.highColour[at] = HighColourOf(ColourOf(bino->palette[index]));
        }
    // The body through the game's mapping, one table for the whole picture.
    CDibPalette* own = MakePalette(bino->palette.data());
    const uint8_t* table = static_cast<const uint8_t*>(own->GetConversionTable(PF_INDEX8, m_palette));
    for (int y = 0; y < h && top + y < kHeight; ++y)
        for (int x = 0; x < w; ++x) {
            const uint8_t index = bino->indices[size_t(y) * w + x];
            if (index && !(index == lens && x >= 120 && x < 520 && y >= 110 && y < 290) && table)
                frame.eightBit[size_t(top + y) * kWidth + x] = ColourOf(m_palette->Entries()[table[index]]);
        }
    own->Release();
}

std::vector<CHuntPreview::Frame> CHuntPreview::Frames()
{
    std::vector<Frame> frames;
    Frame view;
    view.name = "view";
    view.highColour.assign(size_t(kWidth) * kHeight, 0);
    view.eightBit.assign(size_t(kWidth) * kHeight, 0);
    const double angle = 0.3;
    const int horizon = 240;
    DrawGround(view, angle, horizon);
    DrawPanorama(view, angle, horizon);
    // Trees and animals from the farthest to the nearest.
    std::vector<const WrittenPicture*> trees;
    for (const WrittenPicture& picture : m_pictures)
        if (picture.source && ::fnmatch(kScenery[m_context - 1][2], picture.source->name.c_str(), FNM_NOESCAPE) == 0)
            trees.push_back(&picture);
    const struct {
        int kind; // tree index, or -1 - animal id
        double distance, relative;
    } kObjects[] = {
        {0, 2600, -0.55}, {1, 2200, 0.5}, {-1 - int(AnimalId::Elephant), 1400, 0.3}, {2, 1500, -0.2},
        {-1 - int(AnimalId::Rhino), 900, -0.42}, {3, 800, 0.62}, {-1 - int(AnimalId::Hippo), 700, 0.05},
        {-1 - int(AnimalId::Giraffe), 600, -0.2}, {-1 - int(AnimalId::Lion), 420, 0.32},
        {-1 - int(AnimalId::Zebra), 400, -0.52}, {-1 - int(AnimalId::Lioness), 300, -0.05}, {4, 380, -0.68},
    };
    for (const auto& object : kObjects) {
        if (object.kind >= 0) {
            if (trees.empty())
                continue;
            const WrittenPicture* tree = trees[size_t(object.kind) % trees.size()];
            DrawObject(view, tree, tree->source->image.height, 256, object.distance, object.relative, horizon);
        } else {
            const AnimalKind& kind = kAnimalKinds[size_t(-1 - object.kind)];
            DrawObject(view, Find(kind.strips[2]), kind.frameHeight, kind.size, object.distance, object.relative,
                       horizon);
        }
    }
    // The hunt display: compass and wind dial (one frame each), toggles off.
    const struct {
        const char* name;
        int frames, frame, x, y;
    } kItems[] = {
        {"menu\\gCompass.bmp", 12, 1, 540, 0},  {"menu\\gCompass.bmp", 12, 4, 540, 107},
        {"menu\\gbino.bmp", 2, 0, 560, 225},    {"menu\\gfoot.bmp", 2, 0, 545, 273},
        {"menu\\gtarget.bmp", 2, 0, 540, 360},  {"menu\\goption.bmp", 2, 0, 514, 419},
        {"menu\\gDir.bmp", 1, 0, 545, 76},      {"menu\\gWind.bmp", 1, 0, 535, 183},
    };
    for (const auto& item : kItems)
        if (const WrittenPicture* picture = Find(item.name)) {
            const int w = picture->source->image.width, h = picture->source->image.height / item.frames;
            Draw(view, picture, 0, item.frame * h, w, h, item.x, item.y, w, h);
        }
    frames.push_back(view);

    Frame binoculars = view;
    binoculars.name = "binoculars";
    DrawBinoculars(binoculars, 40);
    frames.push_back(binoculars);

    Frame aim = view;
    aim.name = "aim";
    if (const WrittenPicture* gun = Find("menu\\gun3.bmp")) {
        const int w = gun->source->image.width, h = gun->source->image.height / gun->source->frames;
        Draw(aim, gun, 0, 0, w, h, 160, 80, w, h);
    }
    frames.push_back(aim);

    const char* const kEnds[] = {"menu\\EnZebra.bmp", "menu\\EnJail.bmp"};
    for (const char* name : kEnds)
        if (const WrittenPicture* end = Find(name)) {
            Frame over = view;
            over.name = std::string("end ") + (name + 7);
            const int w = end->source->image.width, h = end->source->image.height;
            const int x = w < kWidth ? 145 : 0, y = w < kWidth ? 75 : 0;
            Draw(over, end, 0, 0, w, h, x, y, w, h);
            frames.push_back(over);
        }
    return frames;
}
