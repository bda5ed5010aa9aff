#include "Render3dNoise.h"

#include <cmath>

double LatticeHash(int x, int y, int z, uint32_t seed)
{
    uint32_t h = seed * 0x27D4EB2Du;
    h ^= uint32_t(x) * 0x8DA6B343u;
    h = (h << 13 | h >> 19) * 5u + 0xE6546B64u;
    h ^= uint32_t(y) * 0xD8163841u;
    h = (h << 13 | h >> 19) * 5u + 0xE6546B64u;
    h ^= uint32_t(z) * 0xCB1AB31Fu;
    h ^= h >> 16;
    h *= 0x85EBCA6Bu;
    h ^= h >> 13;
    h *= 0xC2B2AE35u;
    h ^= h >> 16;
    return h * (1.0 / 4294967296.0);
}

double ValueNoise(const Vec3& p, uint32_t seed)
{
    const double fx = std::floor(p.x), fy = std::floor(p.y), fz = std::floor(p.z);
    const int ix = int(fx), iy = int(fy), iz = int(fz);
    auto fade = [](double t) { return t * t * (3 - 2 * t); };
    const double tx = fade(p.x - fx), ty = fade(p.y - fy), tz = fade(p.z - fz);
    double corners[2][2][2];
    for (int k = 0; k < 2; ++k)
        for (int j = 0; j < 2; ++j)
            for (int i = 0; i < 2; ++i)
                corners[k][j][i] = LatticeHash(ix + i, iy + j, iz + k, seed);
    double plane[2];
    for (int k = 0; k < 2; ++k) {
        const double a = Lerp(corners[k][0][0], corners[k][0][1], tx);
        const double b = Lerp(corners[k][1][0], corners[k][1][1], tx);
        plane[k] = Lerp(a, b, ty);
    }
    return Lerp(plane[0], plane[1], tz);
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
