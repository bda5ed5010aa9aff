#include "video/VideoScene.h"

#include "sound/SynthNoise.h"
#include "video/VideoSilhouette.h"

#include <algorithm>
#include <cmath>

namespace {

struct Colour {
    double r, g, b;
};

Colour Mix(const Colour& a, const Colour& b, double t)
{
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

uint32_t Pack(const Colour& c)
{
    return Rgb(int(std::lround(c.r)), int(std::lround(c.g)), int(std::lround(c.b)));
}

Colour Unpack(uint32_t argb)
{
    return {double((argb >> 16) & 0xFF), double((argb >> 8) & 0xFF), double(argb & 0xFF)};
}

double SmoothStep(double edge0, double edge1, double x)
{
    const double t = std::clamp((x - edge0) / (edge1 - edge0), 0.0, 1.0);
    return t * t * (3.0 - 2.0 * t);
}

// Smooth value noise in [0, 1]: random heights on the integer lattice,
// blended with smoothstep weights. Pure integer hashing keeps it exact.
double Lattice(int x, int y)
{
    uint32_t h = uint32_t(x) * 0x8DA6B343u ^ uint32_t(y) * 0xD8163841u;
    h ^= h >> 13;
    h *= 0x85EBCA6Bu;
    h ^= h >> 16;
    return double(h & 0xFFFF) / 65535.0;
}

double ValueNoise(double x, double y)
{
    const double fx = std::floor(x), fy = std::floor(y);
    const int ix = int(fx), iy = int(fy);
    const double tx = SmoothStep(0, 1, x - fx), ty = SmoothStep(0, 1, y - fy);
    const double top = Lattice(ix, iy) + (Lattice(ix + 1, iy) - Lattice(ix, iy)) * tx;
    const double bottom = Lattice(ix, iy + 1) + (Lattice(ix + 1, iy + 1) - Lattice(ix, iy + 1)) * tx;
    return top + (bottom - top) * ty;
}

// The palette of a savannah evening.
constexpr Colour kHaze{236, 176, 120};      // the air at the horizon
constexpr Colour kSkyLow{250, 186, 114};
constexpr Colour kSkyMiddle{226, 146, 124};
constexpr Colour kSkyHigh{116, 104, 156};
constexpr Colour kSkyTop{50, 66, 136};
constexpr Colour kSunGlow{255, 170, 90};
constexpr Colour kSunDisc{255, 244, 214};
constexpr Colour kCloudLit{255, 204, 156};
constexpr Colour kCloudShade{178, 120, 136};
constexpr Colour kFarHills{168, 118, 122};
constexpr Colour kNearHills{112, 80, 70};
constexpr Colour kDryGrass{176, 146, 80};
constexpr Colour kGreenGrass{118, 112, 52};
constexpr Colour kSilhouette{40, 29, 24};

// Where the sun stands: its direction and height above the horizon (radians).
constexpr double kSunAzimuth = 0.18, kSunElevation = 0.085;
// How quickly the air hides what is far away (metres).
constexpr double kHazeDistance = 260.0;

double FarHills(double azimuth)
{
    return 0.042 + 0.02 * std::sin(2.3 * azimuth + 0.7) + 0.011 * std::sin(5.9 * azimuth + 2.1) +
           0.004 * std::sin(14.2 * azimuth + 0.4);
}

double NearHills(double azimuth, double cameraX)
{
    return 0.016 + 0.01 * std::sin(3.7 * azimuth + 1.3 + cameraX * 0.004) + 0.005 * std::sin(9.1 * azimuth + 0.2) +
           0.002 * std::sin(23.0 * azimuth + 1.0);
}

} // namespace

VideoScene::VideoScene(int width, int height)
    : m_width(width), m_height(height), m_horizon(int(height * 0.62)), m_focal(width * 0.8)
{
    BuildSky();

    // The herds and trees: fixed positions from a fixed seed.
    SynthNoise random(0x5AFA41u);
    auto between = [&](double low, double high) { return low + (high - low) * random.Unit(); };
    auto side = [&]() { return random.Next() < 0 ? -1.0 : 1.0; };
    for (int i = 0; i < 48; ++i)
        m_things.push_back({Kind::Acacia, side() * between(14, 190), between(25, 750), between(0.8, 1.4), 0});
    for (int i = 0; i < 90; ++i)
        m_things.push_back({Kind::Bush, side() * between(6, 150), between(10, 750), between(0.6, 1.4), 0});
    for (int i = 0; i < 7; ++i)
        m_things.push_back({Kind::Zebra, between(22, 40), between(95, 120), -between(1.2, 1.6), between(0, 6.28)});
    for (int i = 0; i < 3; ++i)
        m_things.push_back({Kind::Giraffe, between(-42, -24), between(150, 175), between(0.8, 1.0), between(0, 6.28)});
    for (int i = 0; i < 3; ++i)
        m_things.push_back({Kind::Elephant, between(20, 34), between(205, 230), -between(0.6, 0.8), between(0, 6.28)});

    m_title.Render(std::string(VELDRA_FONT_DIR) + "/DejaVuSerif-Bold.ttf", "VELDRA", height / 5, height / 60);
}

VideoScene::Camera VideoScene::CameraAt(double seconds) const
{
    // Forward at 22 m/s, drifting and swaying a little like a low aircraft.
    return {6.0 * std::sin(0.35 * seconds), 22.0 * seconds, 7.0 + 0.8 * std::sin(0.7 * seconds),
            0.06 * std::sin(0.25 * seconds + 0.5)};
}

void VideoScene::BuildSky()
{
    // Wide enough for the view's half angle plus the camera's sway.
    const double halfView = std::atan(m_width / 2.0 / m_focal) + 0.1;
    m_skyStart = -halfView;
    const int columns = int(std::ceil(2.0 * halfView * m_focal)) + 2;
    m_sky = RgbaImage(columns, m_horizon);
    for (int y = 0; y < m_horizon; ++y) {
        const double elevation = (m_horizon - y - 0.5) / m_focal;
        Colour sky;
        if (elevation < 0.1)
            sky = Mix(kSkyLow, kSkyMiddle, elevation / 0.1);
        else if (elevation < 0.3)
            sky = Mix(kSkyMiddle, kSkyHigh, (elevation - 0.1) / 0.2);
        else
            sky = Mix(kSkyHigh, kSkyTop, std::min(1.0, (elevation - 0.3) / 0.3));
        for (int x = 0; x < columns; ++x) {
            const double azimuth = m_skyStart + x / m_focal;
            Colour c = sky;
            // The sun's glow, then long thin clouds lit from below.
            const double dx = (azimuth - kSunAzimuth) * m_focal, dy = (elevation - kSunElevation) * m_focal;
            const double d = std::sqrt(dx * dx + dy * dy);
            const double glow = 0.55 * std::exp(-d / 70.0) + 0.35 * std::exp(-d / 18.0);
            c = Mix(c, kSunGlow, std::min(1.0, glow));
            const double n = 0.65 * ValueNoise(x * 0.006, y * 0.05) + 0.35 * ValueNoise(x * 0.02 + 31.0, y * 0.12);
            const double density = std::clamp((n - 0.55) * 3.5, 0.0, 1.0) * SmoothStep(0.02, 0.12, elevation);
            const Colour cloud = Mix(kCloudShade, kCloudLit, std::exp(-d / 260.0));
            c = Mix(c, cloud, 0.6 * density);
            c = Mix(c, kSunDisc, std::clamp(17.5 - d, 0.0, 1.0) * (1.0 - 0.5 * density));
            // The far hills, hazy blue-violet against the glow.
            const double hill = FarHills(azimuth) * m_focal - (m_horizon - y - 0.5);
            if (hill > -0.5)
                c = Mix(c, Mix(kFarHills, kHaze, 0.35), std::clamp(hill + 0.5, 0.0, 1.0));
            m_sky.pixels[size_t(y) * columns + x] = Pack(c);
        }
    }
}

void VideoScene::DrawSky(RgbaImage& frame, const Camera& camera) const
{
    for (int x = 0; x < m_width; ++x) {
        const double azimuth = std::atan((x + 0.5 - m_width / 2.0) / m_focal) + camera.yaw;
        // Blend the two nearest panorama columns so a slow turn glides.
        const double u = std::clamp((azimuth - m_skyStart) * m_focal, 0.0, double(m_sky.width - 2));
        const int column = int(u);
        const double t = u - column;
        const double nearHill = NearHills(azimuth, camera.x) * m_focal;
        for (int y = 0; y < m_horizon; ++y) {
            Colour c = Mix(Unpack(m_sky.Get(column, y)), Unpack(m_sky.Get(column + 1, y)), t);
            const double cover = nearHill - (m_horizon - y - 0.5);
            if (cover > -0.5)
                c = Mix(c, Mix(kNearHills, kHaze, 0.3), std::clamp(cover + 0.5, 0.0, 1.0));
            frame.pixels[size_t(y) * m_width + x] = Pack(c);
        }
    }
}

void VideoScene::DrawGround(RgbaImage& frame, const Camera& camera) const
{
    const double cosYaw = std::cos(camera.yaw), sinYaw = std::sin(camera.yaw);
    for (int y = m_horizon; y < m_height; ++y) {
        const double z = camera.height * m_focal / (y - m_horizon + 0.5);
        const double haze = 1.0 - std::exp(-z / kHazeDistance);
        const double detail = std::clamp(1.0 - z / 60.0, 0.0, 1.0);
        for (int x = 0; x < m_width; ++x) {
            const double across = (x + 0.5 - m_width / 2.0) * z / m_focal;
            const double wx = camera.x + across * cosYaw + z * sinYaw;
            const double wz = camera.z + z * cosYaw - across * sinYaw;
            const double patches = 0.7 * ValueNoise(wx * 0.025, wz * 0.025) + 0.3 * ValueNoise(wx * 0.11 + 17.0, wz * 0.11);
            Colour grass = Mix(kDryGrass, kGreenGrass, patches);
            if (detail > 0.0) {
                const double tufts = 1.0 + 0.35 * (ValueNoise(wx * 0.9, wz * 0.9) - 0.5) * detail;
                grass = {grass.r * tufts, grass.g * tufts, grass.b * tufts};
            }
            // Seen against the sun the grass is darker than its colour.
            grass = {grass.r * 0.8, grass.g * 0.8, grass.b * 0.8};
            frame.pixels[size_t(y) * m_width + x] = Pack(Mix(grass, kHaze, haze));
        }
    }
}

void VideoScene::DrawThings(RgbaImage& frame, const Camera& camera, double seconds) const
{
    struct Placed {
        const Thing* thing;
        double x, depth;
    };
    std::vector<Placed> visible;
    const double cosYaw = std::cos(camera.yaw), sinYaw = std::sin(camera.yaw);
    for (const Thing& thing : m_things) {
        const bool animal = thing.kind != Kind::Acacia && thing.kind != Kind::Bush;
        const double dx = thing.x + (animal ? thing.size * seconds : 0.0) - camera.x, dz = thing.z - camera.z;
        const double across = dx * cosYaw - dz * sinYaw, depth = dx * sinYaw + dz * cosYaw;
        if (depth > 2.0 && depth < 650.0)
            visible.push_back({&thing, across, depth});
    }
    // Farthest first, so nearer things cover them.
    std::stable_sort(visible.begin(), visible.end(), [](const Placed& a, const Placed& b) { return a.depth > b.depth; });
    for (const Placed& p : visible) {
        const Thing& thing = *p.thing;
        const double scale = m_focal / p.depth;
        const double sx = m_width / 2.0 + p.x * scale, sy = m_horizon + camera.height * scale;
        const uint32_t colour = Pack(Mix(kSilhouette, kHaze, 1.0 - std::exp(-p.depth / kHazeDistance)));
        // Strides per second grow with the walking speed.
        const double stride = thing.phase + seconds * 2.0 * M_PI * std::fabs(thing.size) * 1.1;
        const bool mirrored = thing.size < 0;
        switch (thing.kind) {
        case Kind::Acacia:
            VideoSilhouette::Acacia(thing.size).Draw(frame, sx, sy, scale, false, colour);
            break;
        case Kind::Bush:
            VideoSilhouette::Bush(thing.size).Draw(frame, sx, sy, scale, false, colour);
            break;
        case Kind::Giraffe:
            VideoSilhouette::Giraffe(stride).Draw(frame, sx, sy, scale, mirrored, colour);
            break;
        case Kind::Elephant:
            VideoSilhouette::Elephant(stride).Draw(frame, sx, sy, scale, mirrored, colour);
            break;
        case Kind::Zebra:
            VideoSilhouette::Zebra(stride).Draw(frame, sx, sy, scale, mirrored, colour);
            break;
        }
    }
}

void VideoScene::DrawTitle(RgbaImage& frame, double seconds) const
{
    const double alpha = SmoothStep(5.5, 7.5, seconds);
    if (alpha <= 0.0 || !HasTitle())
        return;
    const int left = (m_width - m_title.Width()) / 2, top = m_height / 8;
    const int shadow = std::max(2, m_height / 100);
    const Colour gold{255, 232, 160}, amber{222, 142, 52}, dark{30, 16, 10};
    for (int y = -shadow; y < m_title.Height() + shadow; ++y)
        for (int x = -shadow; x < m_title.Width() + shadow; ++x) {
            const double under = m_title.At(x - shadow, y - shadow) * 0.6 * alpha;
            frame.Blend(left + x, top + y, Pack(dark), int(under));
            const int cover = m_title.At(x, y);
            if (cover > 0) {
                const Colour fill = Mix(gold, amber, double(y) / m_title.Height());
                frame.Blend(left + x, top + y, Pack(fill), int(cover * alpha));
            }
        }
}

void VideoScene::Render(double seconds, RgbaImage& frame) const
{
    if (frame.width != m_width || frame.height != m_height)
        frame = RgbaImage(m_width, m_height, 0xFF000000u);
    const Camera camera = CameraAt(seconds);
    DrawSky(frame, camera);
    DrawGround(frame, camera);
    DrawThings(frame, camera, seconds);
    DrawTitle(frame, seconds);
    // Out of black over the first second.
    const double light = SmoothStep(0.0, 1.0, seconds);
    if (light < 1.0)
        for (uint32_t& p : frame.pixels) {
            const Colour c = Unpack(p);
            p = Pack({c.r * light, c.g * light, c.b * light});
        }
}
