#include "paint/PaintNoise.h"

#include <cmath>

uint32_t Hash3(uint32_t a, uint32_t b, uint32_t seed)
{
    uint32_t h = seed * 0x9E3779B1u ^ a * 0x85EBCA77u ^ b * 0xC2B2AE3Du;
    h ^= h >> 16;
    h *= 0x7FEB352Du;
    h ^= h >> 15;
    h *= 0x846CA68Bu;
    h ^= h >> 16;
    return h;
}

double HashUnit(uint32_t a, uint32_t b, uint32_t seed)
{
    return (Hash3(a, b, seed) >> 8) / double(1u << 24);
}

namespace {

double Smooth(double t)
{
    return t * t * (3 - 2 * t);
}

int Wrap(int v, int period)
{
    const int m = v % period;
    return m < 0 ? m + period : m;
}

} // namespace

double WrappedNoise(double x, double y, int cellsX, int cellsY, uint32_t seed)
{
    const double fx = std::floor(x), fy = std::floor(y);
    const int ix = int(fx), iy = int(fy);
    const double tx = Smooth(x - fx), ty = Smooth(y - fy);
    auto at = [&](int i, int j) {
        return HashUnit(uint32_t(Wrap(i, cellsX)), uint32_t(Wrap(j, cellsY)), seed);
    };
    const double top = at(ix, iy) + (at(ix + 1, iy) - at(ix, iy)) * tx;
    const double bottom = at(ix, iy + 1) + (at(ix + 1, iy + 1) - at(ix, iy + 1)) * tx;
    return top + (bottom - top) * ty;
}

double TiledFbm(double x, double y, int size, int cells, int octaves, double gain, uint32_t seed)
{
    double sum = 0, weight = 1, total = 0;
    for (int o = 0; o < octaves; ++o) {
        const double scale = double(cells) / size;
        sum += weight * WrappedNoise(x * scale, y * scale, cells, cells, seed + uint32_t(o) * 7919u);
        total += weight;
        weight *= gain;
        cells *= 2;
    }
    return sum / total;
}

double WrappedFbm1(double x, int period, int cells, int octaves, double gain, uint32_t seed)
{
    double sum = 0, weight = 1, total = 0;
    for (int o = 0; o < octaves; ++o) {
        const double scale = double(cells) / period;
        sum += weight * WrappedNoise(x * scale, 0.5, cells, 1, seed + uint32_t(o) * 104729u);
        total += weight;
        weight *= gain;
        cells *= 2;
    }
    return sum / total;
}
