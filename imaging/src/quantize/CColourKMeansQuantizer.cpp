#include "imaging/CColourKMeansQuantizer.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <limits>

namespace {

constexpr int kBits = 6;
constexpr int kShift = 8 - kBits;

struct Colour {
    float red, green, blue;
};

float SquaredDistance(const Colour& a, const Colour& b)
{
    const float dr = a.red - b.red, dg = a.green - b.green, db = a.blue - b.blue;
    return dr * dr + dg * dg + db * db;
}

// The direction along which the weighted colours spread most (power
// iteration on their covariance). Sorting the palette along it makes the
// projection a tight lower bound on colour distance, which prunes the
// nearest-colour search.
Colour PrincipalAxis(const std::vector<Colour>& points, const std::vector<double>& weights)
{
    double total = 0, mean[3] = {0, 0, 0};
    for (size_t i = 0; i < points.size(); ++i) {
        total += weights[i];
        mean[0] += weights[i] * points[i].red;
        mean[1] += weights[i] * points[i].green;
        mean[2] += weights[i] * points[i].blue;
    }
    for (double& m : mean)
        m /= total;
    double cov[3][3] = {};
    for (size_t i = 0; i < points.size(); ++i) {
        const double d[3] = {points[i].red - mean[0], points[i].green - mean[1], points[i].blue - mean[2]};
        for (int a = 0; a < 3; ++a)
            for (int b = 0; b < 3; ++b)
                cov[a][b] += weights[i] * d[a] * d[b];
    }
    double axis[3] = {1, 1, 1};
    for (int iteration = 0; iteration < 32; ++iteration) {
        double next[3];
        for (int a = 0; a < 3; ++a)
            next[a] = cov[a][0] * axis[0] + cov[a][1] * axis[1] + cov[a][2] * axis[2];
        const double length = std::sqrt(next[0] * next[0] + next[1] * next[1] + next[2] * next[2]);
        if (length <= 0)
            break; // every colour is the same: any axis will do
        for (int a = 0; a < 3; ++a)
            axis[a] = next[a] / length;
    }
    const double length = std::sqrt(axis[0] * axis[0] + axis[1] * axis[1] + axis[2] * axis[2]);
    return {float(axis[0] / length), float(axis[1] / length), float(axis[2] / length)};
}

float Project(const Colour& c, const Colour& axis)
{
    return c.red * axis.red + c.green * axis.green + c.blue * axis.blue;
}

uint8_t ToByte(double v) { return uint8_t(v < 0 ? 0 : (v > 255 ? 255 : std::lround(v))); }

} // namespace

CColourKMeansQuantizer::CColourKMeansQuantizer(int maxColours, int passes)
    : CColourQuantizer(maxColours), m_seed(maxColours, kBits), m_passes(passes < 0 ? 0 : passes),
      m_slot(size_t(1) << (3 * kBits), 0)
{
}

CColourKMeansQuantizer::~CColourKMeansQuantizer() = default;

void CColourKMeansQuantizer::AddPixels(const uint8_t* bits, int width, int height, int pitch,
                                       QuantizeProgress progress, void* argument, uint32_t flags)
{
    if (!IsReadable(bits, width, height, pitch))
        return;
    m_seed.AddPixels(bits, width, height, pitch, progress, argument, flags);
    for (int y = 0; y < height; ++y) {
        const uint8_t* p = bits + ptrdiff_t(y) * pitch;
        for (int x = 0; x < width; ++x, p += 3) {
            const size_t bin = size_t(p[2] >> kShift) << (2 * kBits) | size_t(p[1] >> kShift) << kBits |
                               size_t(p[0] >> kShift);
            uint32_t slot = m_slot[bin];
            if (!slot) {
                m_cells.emplace_back();
                slot = m_slot[bin] = uint32_t(m_cells.size());
            }
            Cell& cell = m_cells[slot - 1];
            ++cell.count;
            cell.red += p[2];
            cell.green += p[1];
            cell.blue += p[0];
        }
    }
}

int CColourKMeansQuantizer::BuildPalette(PaletteEntry* entries)
{
    m_passesRun = 0;
    if (!entries)
        return 0;
    std::array<PaletteEntry, QUANTIZE_MAX_COLOURS> seed{};
    const int k = m_seed.BuildPalette(seed.data());
    if (k == 0 || m_cells.empty())
        return 0;

    std::vector<Colour> points(m_cells.size());
    std::vector<double> weights(m_cells.size());
    for (size_t i = 0; i < m_cells.size(); ++i) {
        const double n = double(m_cells[i].count);
        points[i] = {float(m_cells[i].red / n), float(m_cells[i].green / n), float(m_cells[i].blue / n)};
        weights[i] = n;
    }
    std::vector<Colour> centroids(static_cast<size_t>(k));
    for (int j = 0; j < k; ++j)
        centroids[size_t(j)] = {float(seed[size_t(j)].red), float(seed[size_t(j)].green), float(seed[size_t(j)].blue)};
    const Colour axis = PrincipalAxis(points, weights);
    std::vector<float> pointProjection(points.size());
    for (size_t i = 0; i < points.size(); ++i)
        pointProjection[i] = Project(points[i], axis);

    std::vector<int> assigned(points.size(), -1);
    std::vector<int> order(static_cast<size_t>(k));
    std::vector<float> sortedProjection(static_cast<size_t>(k));
    struct Sum {
        double weight, red, green, blue;
    };
    std::vector<Sum> sums(static_cast<size_t>(k));
    double previousError = std::numeric_limits<double>::max();

    for (int pass = 0; pass < m_passes; ++pass) {
        for (int j = 0; j < k; ++j)
            order[size_t(j)] = j;
        std::sort(order.begin(), order.end(), [&](int a, int b) {
            return Project(centroids[size_t(a)], axis) < Project(centroids[size_t(b)], axis);
        });
        for (int j = 0; j < k; ++j)
            sortedProjection[size_t(j)] = Project(centroids[size_t(order[size_t(j)])], axis);
        std::fill(sums.begin(), sums.end(), Sum{0, 0, 0, 0});

        double error = 0;
        for (size_t i = 0; i < points.size(); ++i) {
            const Colour& point = points[i];
            const float projection = pointProjection[i];
            // Start from last pass's colour: it is usually still the nearest,
            // which makes the pruning bound tight from the first step.
            int best = assigned[i];
            float bestDistance = best >= 0 ? SquaredDistance(point, centroids[size_t(best)])
                                           : std::numeric_limits<float>::max();
            const int start = int(std::lower_bound(sortedProjection.begin(), sortedProjection.end(), projection) -
                                  sortedProjection.begin());
            for (int j = start; j < k; ++j) {
                const float gap = sortedProjection[size_t(j)] - projection;
                if (gap * gap >= bestDistance)
                    break;
                const float d = SquaredDistance(point, centroids[size_t(order[size_t(j)])]);
                if (d < bestDistance) {
                    bestDistance = d;
                    best = order[size_t(j)];
                }
            }
            for (int j = start - 1; j >= 0; --j) {
                const float gap = projection - sortedProjection[size_t(j)];
                if (gap * gap >= bestDistance)
                    break;
                const float d = SquaredDistance(point, centroids[size_t(order[size_t(j)])]);
                if (d < bestDistance) {
                    bestDistance = d;
                    best = order[size_t(j)];
                }
            }
            assigned[i] = best;
            error += weights[i] * bestDistance;
            Sum& sum = sums[size_t(best)];
            sum.weight += weights[i];
            sum.red += double(m_cells[i].red);
            sum.green += double(m_cells[i].green);
            sum.blue += double(m_cells[i].blue);
        }
        // A colour that lost all its pixels stays where it was.
        for (int j = 0; j < k; ++j)
            if (sums[size_t(j)].weight > 0) {
                const Sum& sum = sums[size_t(j)];
                centroids[size_t(j)] = {float(sum.red / sum.weight), float(sum.green / sum.weight),
                                        float(sum.blue / sum.weight)};
            }
        ++m_passesRun;
        // Later passes polish what the eye cannot see; stop when one gains
        // less than a thousandth of the error.
        if (previousError - error < error * 1e-3)
            break;
        previousError = error;
    }

    for (int j = 0; j < k; ++j)
        entries[j] = {ToByte(centroids[size_t(j)].red), ToByte(centroids[size_t(j)].green),
                      ToByte(centroids[size_t(j)].blue), 0};
    return k;
}
