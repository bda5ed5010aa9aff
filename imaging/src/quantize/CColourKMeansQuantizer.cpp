#include "imaging/CColourKMeansQuantizer.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <limits>

namespace {

// The refinement works on the seed's 6-bit bins. 5-bit bins would make the
// passes several times cheaper on noisy pictures, but would fuse distinct
// colours that lie within 8 steps of each other, which sprites with few,
// close colours (anti-aliased edges) notice.
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

// The nearest of a pass's colours. The colours are sorted along the
// principal axis, where the gap between projections is a lower bound on the
// distance, so the search walks outwards from the point's projection and
// stops as soon as the gap alone is worse than the best found. A point that
// stays within half the distance from its colour to that colour's nearest
// neighbour cannot have a nearer colour (triangle inequality) and skips the
// walk altogether.
class NearestSearch {
public:
    NearestSearch(const std::vector<Colour>& colours, const Colour& axis)
        : m_colours(colours), m_order(colours.size()), m_projection(colours.size()), m_safe(colours.size())
    {
        for (size_t j = 0; j < colours.size(); ++j)
            m_order[j] = int(j);
        std::sort(m_order.begin(), m_order.end(), [&](int a, int b) {
            return Project(colours[size_t(a)], axis) < Project(colours[size_t(b)], axis);
        });
        for (size_t j = 0; j < colours.size(); ++j)
            m_projection[j] = Project(colours[size_t(m_order[j])], axis);
        for (size_t j = 0; j < colours.size(); ++j) {
            float nearest = std::numeric_limits<float>::max();
            for (size_t other = 0; other < colours.size(); ++other)
                if (other != j)
                    nearest = std::min(nearest, SquaredDistance(colours[j], colours[other]));
            m_safe[j] = nearest / 4; // (half the distance) squared
        }
    }

    // `best` comes in as the point's colour of the last pass (or -1) and
    // leaves as its nearest colour; returns the squared distance to it.
    float Find(const Colour& point, float projection, int& best) const
    {
        float bestDistance = std::numeric_limits<float>::max();
        if (best >= 0) {
            bestDistance = SquaredDistance(point, m_colours[size_t(best)]);
            if (bestDistance <= m_safe[size_t(best)])
                return bestDistance;
        }
        const int count = int(m_order.size());
        const int start = int(std::lower_bound(m_projection.begin(), m_projection.end(), projection) -
                              m_projection.begin());
        auto consider = [&](int j) {
            const float gap = m_projection[size_t(j)] - projection;
            if (gap * gap >= bestDistance)
                return false;
            const float d = SquaredDistance(point, m_colours[size_t(m_order[size_t(j)])]);
            if (d < bestDistance) {
                bestDistance = d;
                best = m_order[size_t(j)];
            }
            return true;
        };
        for (int j = start; j < count && consider(j); ++j) {
        }
        for (int j = start - 1; j >= 0 && consider(j); --j) {
        }
        return bestDistance;
    }

private:
    const std::vector<Colour>& m_colours;
    std::vector<int> m_order;
    std::vector<float> m_projection; // sorted
    std::vector<float> m_safe;
};

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
    std::vector<double> cellError(points.size(), 0);
    struct Sum {
        double weight, red, green, blue;
    };
    std::vector<Sum> sums(static_cast<size_t>(k));
    double previousError = std::numeric_limits<double>::max();

    for (int pass = 0; pass < m_passes; ++pass) {
        const NearestSearch search(centroids, axis);
        std::fill(sums.begin(), sums.end(), Sum{0, 0, 0, 0});
        double error = 0;
        for (size_t i = 0; i < points.size(); ++i) {
            const float distance = search.Find(points[i], pointProjection[i], assigned[i]);
            cellError[i] = weights[i] * distance;
            error += cellError[i];
            Sum& sum = sums[size_t(assigned[i])];
            sum.weight += weights[i];
            sum.red += double(m_cells[i].red);
            sum.green += double(m_cells[i].green);
            sum.blue += double(m_cells[i].blue);
        }
        bool moved = false;
        for (int j = 0; j < k; ++j) {
            const Sum& sum = sums[size_t(j)];
            if (sum.weight > 0) {
                centroids[size_t(j)] = {float(sum.red / sum.weight), float(sum.green / sum.weight),
                                        float(sum.blue / sum.weight)};
                continue;
            }
            // A colour that lost all its pixels is wasted where it is: it
            // moves to the bin that is worst served, which then counts as
            // served so that no two colours take the same bin.
            const size_t worst = size_t(std::max_element(cellError.begin(), cellError.end()) - cellError.begin());
            if (cellError[worst] <= 0)
                continue; // every bin already has its own colour
            centroids[size_t(j)] = points[worst];
            cellError[worst] = 0;
            moved = true;
        }
        ++m_passesRun;
        // Later passes polish what the eye cannot see; stop when one gains
        // less than a thousandth of the error.
        if (!moved && previousError - error < error * 1e-3)
            break;
        previousError = error;
    }

    for (int j = 0; j < k; ++j)
        entries[j] = {ToByte(centroids[size_t(j)].red), ToByte(centroids[size_t(j)].green),
                      ToByte(centroids[size_t(j)].blue), 0};
    return k;
}
