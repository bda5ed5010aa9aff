#include "render3d/Render3dNoise.h"

#include "render3d/Render3dRandom.h"

#include <cmath>
#include <utility>

namespace {

// A shuffled table of 0..255, twice over so that sums of two entries index
// it without wrapping; built once from a fixed seed.
struct Permutation {
    uint8_t p[512];
    Permutation()
    {
        for (int i = 0; i < 256; ++i)
            p[i] = uint8_t(i);
        Render3dRandom rng(0x5EED);
        for (int i = 255; i > 0; --i)
            std::swap(p[i], p[rng.Below(i + 1)]);
        for (int i = 0; i < 256; ++i)
            p[256 + i] = p[i];
    }
};

const Permutation& Table()
{
    static const Permutation table;
    return table;
}

inline int Hash(const uint8_t* p, int x, int y, int z)
{
    return p[p[p[x & 255] + (y & 255)] + (z & 255)];
}

} // namespace

double LatticeHash(int x, int y, int z, uint32_t seed)
{
    // The seed picks a far-off region of the lattice.
    const int sx = int(seed * 0x9E37u >> 3), sy = int(seed * 0x85EBu >> 5), sz = int(seed * 0xC2B2u >> 7);
    const uint8_t* p = Table().p;
    const int h = Hash(p, x + sx, y + sy, z + sz);
    const int g = Hash(p, x + sx + 97, y + sy + 31, z + sz + 57);
    return (h * 256 + g) * (1.0 / 65536.0);
}

double ValueNoise(const Vec3& p, uint32_t seed)
{
    const double fx = std::floor(p.x), fy = std::floor(p.y), fz = std::floor(p.z);
    auto fade = [](double t) { return t * t * (3 - 2 * t); };
    const double tx = fade(p.x - fx), ty = fade(p.y - fy), tz = fade(p.z - fz);
    const int x = int(fx) + int(seed * 0x9E37u >> 3), y = int(fy) + int(seed * 0x85EBu >> 5);
    const int z = int(fz) + int(seed * 0xC2B2u >> 7);
    const uint8_t* t = Table().p;
    auto corner = [&](int i, int j, int k) { return Hash(t, x + i, y + j, z + k) * (1.0 / 255.0); };
    const double near = Lerp(Lerp(corner(0, 0, 0), corner(1, 0, 0), tx), Lerp(corner(0, 1, 0), corner(1, 1, 0), tx), ty);
    const double far = Lerp(Lerp(corner(0, 0, 1), corner(1, 0, 1), tx), Lerp(corner(0, 1, 1), corner(1, 1, 1), tx), ty);
    return Lerp(near, far, tz) * (255.0 / 256.0); // stays below 1
}

double FractalNoise(const Vec3& p, uint32_t seed)
{
    double sum = 0, amplitude = 0.5, total = 0;
    Vec3 q = p;
    for (int octave = 0; octave < 4; ++octave) {
        sum += amplitude * ValueNoise(q, seed + uint32_t(octave) * 101u);
        total += amplitude;
        amplitude *= 0.5;
        q = q * 2.03;
    }
    return sum / total;
}

CellDistances CellNoise(const Vec3& p, uint32_t seed)
{
    const int ix = int(std::floor(p.x)), iy = int(std::floor(p.y)), iz = int(std::floor(p.z));
    double best = 1e9, second = 1e9, value = 0;
    for (int k = -1; k <= 1; ++k)
        for (int j = -1; j <= 1; ++j)
            for (int i = -1; i <= 1; ++i) {
                const int cx = ix + i, cy = iy + j, cz = iz + k;
                const Vec3 feature(cx + LatticeHash(cx, cy, cz, seed), cy + LatticeHash(cx, cy, cz, seed + 1),
                                   cz + LatticeHash(cx, cy, cz, seed + 2));
                const double d = Length(feature - p);
                if (d < best) {
                    second = best;
                    best = d;
                    value = LatticeHash(cx, cy, cz, seed + 3);
                } else if (d < second) {
                    second = d;
                }
            }
    return {best, second, value};
}
