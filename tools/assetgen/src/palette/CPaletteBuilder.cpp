#include "palette/CPaletteBuilder.h"

#include "palette/HighColour.h"
#include "palette/PaletteColours.h"

#include "imaging/CColourBoxQuantizer.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace {

constexpr int kKeys = 1 << 15;

int KeyOf(uint32_t rgb) { return int((rgb >> 19 & 31) << 10 | (rgb >> 11 & 31) << 5 | (rgb >> 3 & 31)); }

uint32_t ColourOfKey(int key)
{
    return uint32_t(WidenedLevel(key >> 10 & 31)) << 16 | uint32_t(WidenedLevel(key >> 5 & 31)) << 8 |
           WidenedLevel(key & 31);
}

float SquaredDistance(const float* a, const float* b)
{
    const float dr = a[0] - b[0], dg = a[1] - b[1], db = a[2] - b[2];
    return dr * dr + dg * dg + db * db;
}

// The displayable colour of a free centre: the nearest one, never the key's black.
uint32_t Displayable(const float* rgb)
{
    const uint32_t colour = NearestHighColour(uint32_t(std::clamp(int(rgb[0] + 0.5f), 0, 255)) << 16 |
                                              uint32_t(std::clamp(int(rgb[1] + 0.5f), 0, 255)) << 8 |
                                              uint32_t(std::clamp(int(rgb[2] + 0.5f), 0, 255)));
    return colour ? colour : NearestHighColour(0x080808);
}

// The seed's total pixel count: enough to give every colour of some weight
// at least one pixel, small enough for the quantizer's counters.
constexpr double kSeedPixels = double(1 << 22);

} // namespace

int CPaletteBuilder::AddDomain(Search search)
{
    Domain domain;
    domain.search = search;
    domain.weights.assign(kKeys, 0.0);
    m_domains.push_back(std::move(domain));
    return int(m_domains.size()) - 1;
}

int CPaletteBuilder::AddFixedBank(const std::vector<uint32_t>& colours, const std::vector<int>& domains)
{
    Bank bank;
    bank.size = int(colours.size());
    for (uint32_t c : colours)
        bank.colours.push_back(NearestHighColour(c & 0xFFFFFF));
    m_banks.push_back(bank);
    for (int d : domains)
        m_domains[size_t(d)].banks.push_back(int(m_banks.size()) - 1);
    return int(m_banks.size()) - 1;
}

int CPaletteBuilder::AddFreeBank(int size, int seedDomain, const std::vector<int>& domains)
{
    Bank bank;
    bank.free = true;
    bank.size = std::max(0, size);
    bank.seedDomain = seedDomain;
    m_banks.push_back(bank);
    for (int d : domains)
        m_domains[size_t(d)].banks.push_back(int(m_banks.size()) - 1);
    return int(m_banks.size()) - 1;
}

void CPaletteBuilder::Add(int domain, uint32_t rgb, double weight)
{
    if (weight > 0)
        m_domains[size_t(domain)].weights[size_t(KeyOf(NearestHighColour(rgb & 0xFFFFFF)))] += weight;
}

void CPaletteBuilder::Seed(Bank& bank, const Domain& domain) const
{
    bank.colours.clear();
    double total = 0;
    for (const Point& p : domain.points)
        total += p.weight;
    std::array<PaletteEntry, 256> seed{};
    int count = 0;
    if (total > 0 && bank.size > 0) {
        // The quantizer counts pixels, so each colour goes in as many pixels
        // as its share of the weight asks for.
        CColourBoxQuantizer quantizer(std::min(bank.size, 256), 5);
        std::vector<uint8_t> run;
        for (const Point& p : domain.points) {
            const long pixels = long(p.weight / total * kSeedPixels + 0.5);
            if (pixels <= 0)
                continue;
            const long chunk = std::min(pixels, 4096L);
            run.resize(size_t(chunk) * 3);
            for (long i = 0; i < chunk; ++i) {
                run[size_t(i) * 3] = uint8_t(p.rgb[2]);
                run[size_t(i) * 3 + 1] = uint8_t(p.rgb[1]);
                run[size_t(i) * 3 + 2] = uint8_t(p.rgb[0]);
            }
            for (long done = 0; done < pixels; done += chunk) {
                const long now = std::min(chunk, pixels - done);
                quantizer.AddPixels(run.data(), int(now), 1, int(now * 3), nullptr, nullptr, 0);
            }
        }
        count = quantizer.BuildPalette(seed.data());
    }
    for (int i = 0; i < bank.size; ++i) {
        // Colours the seed could not give start on its first one; the first
        // pass finds them empty and moves them to the worst-served colours.
        const PaletteEntry& e = seed[size_t(count > 0 ? std::min(i, count - 1) : 0)];
        bank.colours.push_back(ColourOf(e));
    }
}

std::vector<int> CPaletteBuilder::CentresOf(const Domain& domain) const
{
    std::vector<int> centres;
    for (size_t c = 0; c < m_centres.size(); ++c)
        if (std::find(domain.banks.begin(), domain.banks.end(), m_centres[c].bank) != domain.banks.end())
            centres.push_back(int(c));
    return centres;
}

int CPaletteBuilder::Nearest(const float* p, const std::vector<int>& candidates, float& distance) const
{
    int best = -1;
    distance = std::numeric_limits<float>::max();
    for (int c : candidates) {
        const float d = SquaredDistance(p, m_centres[size_t(c)].rgb);
        if (d < distance) {
            distance = d;
            best = c;
        }
    }
    return best;
}

void CPaletteBuilder::BuildOctrees()
{
    m_octrees.clear();
    m_octrees.resize(m_domains.size());
    for (size_t d = 0; d < m_domains.size(); ++d) {
        if (m_domains[d].search != Search::Game)
            continue;
        auto tree = std::make_unique<CColourOctree>();
        const std::vector<int>& candidates = m_candidates[d];
        for (size_t i = 0; i < candidates.size(); ++i) {
            const Centre& centre = m_centres[size_t(candidates[i])];
            const uint32_t c = m_banks[size_t(centre.bank)].free ? Displayable(centre.rgb)
                                                                 : uint32_t(centre.rgb[0]) << 16 |
                                                                       uint32_t(centre.rgb[1]) << 8 | uint32_t(centre.rgb[2]);
            tree->Insert(uint8_t(c >> 16), uint8_t(c >> 8), uint8_t(c), int(i));
        }
        m_octrees[d] = std::move(tree);
    }
}

int CPaletteBuilder::Find(size_t d, const float* p, float& distance) const
{
    if (!m_octrees[d])
        return Nearest(p, m_candidates[d], distance);
    uint8_t r = uint8_t(p[0]), g = uint8_t(p[1]), b = uint8_t(p[2]);
    const int found = m_octrees[d]->FindNearest(r, g, b);
    if (found < 0) {
        distance = 0;
        return -1;
    }
    // The distance to the colour the game would show.
    const float shown[3] = {float(r), float(g), float(b)};
    distance = SquaredDistance(p, shown);
    return m_candidates[d][size_t(found)];
}

void CPaletteBuilder::Build(int passes)
{
    MakePoints();
    SeedCentres();
    // The game's search does not always pick the nearest colour, so passes
    // need not improve on each other: the best centres are kept.
    std::vector<std::vector<float>> distances(m_domains.size());
    double previous = std::numeric_limits<double>::max(), best = previous;
    std::vector<Centre> bestCentres = m_centres;
    for (int pass = 0; pass < passes; ++pass) {
        const std::vector<Centre> before = m_centres;
        const double total = Pass(distances);
        if (total < best) {
            best = total;
            bestCentres = before;
        }
        if (std::fabs(previous - total) <= previous * 1e-5)
            break;
        previous = total;
    }
    m_centres = bestCentres;
    SettleOnDisplayable();
}

void CPaletteBuilder::MakePoints()
{
    for (Domain& domain : m_domains) {
        domain.points.clear();
        for (int key = 0; key < kKeys; ++key)
            if (domain.weights[size_t(key)] > 0) {
                const uint32_t c = ColourOfKey(key);
                domain.points.push_back({{float(c >> 16 & 0xFF), float(c >> 8 & 0xFF), float(c & 0xFF)},
                                         domain.weights[size_t(key)]});
            }
    }
}

void CPaletteBuilder::SeedCentres()
{
    for (Bank& bank : m_banks)
        if (bank.free) {
            static const Domain kEmpty;
            Seed(bank, bank.seedDomain >= 0 && bank.seedDomain < int(m_domains.size())
                           ? m_domains[size_t(bank.seedDomain)]
                           : kEmpty);
        }
    m_centres.clear();
    for (size_t b = 0; b < m_banks.size(); ++b)
        for (uint32_t c : m_banks[b].colours)
            m_centres.push_back({{float(c >> 16 & 0xFF), float(c >> 8 & 0xFF), float(c & 0xFF)}, int(b)});
    m_candidates.clear();
    for (const Domain& domain : m_domains)
        m_candidates.push_back(CentresOf(domain));
}

double CPaletteBuilder::Pass(std::vector<std::vector<float>>& distances)
{
    BuildOctrees();
    struct Sum {
        double rgb[3] = {0, 0, 0};
        double weight = 0;
    };
    std::vector<Sum> sums(m_centres.size());
    double total = 0;
    for (size_t d = 0; d < m_domains.size(); ++d) {
        const std::vector<Point>& points = m_domains[d].points;
        distances[d].assign(points.size(), 0.0f);
        for (size_t i = 0; i < points.size(); ++i) {
            const Point& p = points[i];
            const int c = Find(d, p.rgb, distances[d][i]);
            if (c < 0)
                continue;
            Sum& s = sums[size_t(c)];
            for (int k = 0; k < 3; ++k)
                s.rgb[k] += p.rgb[k] * p.weight;
            s.weight += p.weight;
            total += distances[d][i] * p.weight;
        }
    }
    // Free centres move to the mean of their colours. An empty one moves to
    // the colour that pays most for its distance among the domains that may
    // use it; that colour then counts as served.
    for (size_t c = 0; c < m_centres.size(); ++c) {
        Centre& centre = m_centres[c];
        if (!m_banks[size_t(centre.bank)].free)
            continue;
        if (sums[c].weight > 0) {
            for (int k = 0; k < 3; ++k)
                centre.rgb[k] = float(sums[c].rgb[k] / sums[c].weight);
            continue;
        }
        double bestError = 0;
        size_t bestDomain = 0, bestPoint = 0;
        for (size_t d = 0; d < m_domains.size(); ++d) {
            const std::vector<int>& banks = m_domains[d].banks;
            if (std::find(banks.begin(), banks.end(), centre.bank) == banks.end())
                continue;
            for (size_t i = 0; i < m_domains[d].points.size(); ++i) {
                const double error = distances[d][i] * m_domains[d].points[i].weight;
                if (error > bestError) {
                    bestError = error;
                    bestDomain = d;
                    bestPoint = i;
                }
            }
        }
        if (bestError > 0) {
            std::copy_n(m_domains[bestDomain].points[bestPoint].rgb, 3, centre.rgb);
            distances[bestDomain][bestPoint] = 0;
        }
    }
    return total;
}

void CPaletteBuilder::SettleOnDisplayable()
{
    // Each free colour takes the displayable colour next to its mean that
    // serves the colours that pick it best, so a colour that weighs much
    // comes out exactly; never the key's black.
    BuildOctrees();
    std::vector<std::vector<const Point*>> members(m_centres.size());
    for (size_t d = 0; d < m_domains.size(); ++d)
        for (const Point& p : m_domains[d].points) {
            float distance;
            const int c = Find(d, p.rgb, distance);
            if (c >= 0)
                members[size_t(c)].push_back(&p);
        }
    size_t next = 0;
    for (Bank& bank : m_banks)
        for (uint32_t& colour : bank.colours) {
            const size_t c = next++;
            if (!bank.free)
                continue;
            const uint32_t mean = Displayable(m_centres[c].rgb);
            colour = mean;
            double best = -1;
            for (int dr = -1; dr <= 1; ++dr)
                for (int dg = -1; dg <= 1; ++dg)
                    for (int db = -1; db <= 1; ++db) {
                        const float candidate[3] = {float(NearestHighColourChannel(int(mean >> 16 & 0xFF) + 8 * dr)),
                                                    float(NearestHighColourChannel(int(mean >> 8 & 0xFF) + 8 * dg)),
                                                    float(NearestHighColourChannel(int(mean & 0xFF) + 8 * db))};
                        const uint32_t rgb = uint32_t(candidate[0]) << 16 | uint32_t(candidate[1]) << 8 |
                                             uint32_t(candidate[2]);
                        if (rgb == 0)
                            continue;
                        double error = 0;
                        for (const Point* point : members[c])
                            error += point->weight * SquaredDistance(point->rgb, candidate);
                        if (best < 0 || error < best) {
                            best = error;
                            colour = rgb;
                        }
                    }
        }
    for (size_t b = 0, i = 0; b < m_banks.size(); ++b)
        for (uint32_t colour : m_banks[b].colours) {
            Centre& centre = m_centres[i++];
            centre.rgb[0] = float(colour >> 16 & 0xFF);
            centre.rgb[1] = float(colour >> 8 & 0xFF);
            centre.rgb[2] = float(colour & 0xFF);
        }
    BuildOctrees();
}

double CPaletteBuilder::SquaredError(int domain, uint32_t rgb) const
{
    const float p[3] = {float(rgb >> 16 & 0xFF), float(rgb >> 8 & 0xFF), float(rgb & 0xFF)};
    float distance;
    return Find(size_t(domain), p, distance) >= 0 ? distance : 0.0;
}
