#include "palette/CContextPalettes.h"

#include "gamedata/DataFiles.h"
#include "gamedata/HuntTables.h"
#include "palette/CPaletteBuilder.h"
#include "palette/HighColour.h"
#include "palette/PaletteColours.h"
#include "palette/ScreenTime.h"

#include <algorithm>
#include <cmath>
#include <fnmatch.h>
#include <map>
#include <set>

namespace {

const uint32_t kGroups[CContextPalettes::kContexts] = {GROUP_MENU, GROUP_DESERT, GROUP_PLAINS, GROUP_GRASS};

bool IsPanorama(const RecordedPicture& picture)
{
    return ::fnmatch("env\\\\back*.bmp", picture.name.c_str(), FNM_CASEFOLD) == 0;
}

bool OneScenario(uint32_t groups)
{
    return groups == GROUP_DESERT || groups == GROUP_PLAINS || groups == GROUP_GRASS;
}

// The distinct displayable colours of a picture's opaque pixels, or an empty
// list when it has more than `most`.
std::vector<uint32_t> FewColours(const RgbaImage& image, int most)
{
    std::set<uint32_t> colours;
    for (uint32_t p : image.pixels)
        if (p >> 24) {
            colours.insert(NearestHighColour(p & 0xFFFFFF));
            if (int(colours.size()) > most)
                return {};
        }
    return {colours.begin(), colours.end()};
}

void AddUnique(std::vector<uint32_t>& list, uint32_t colour)
{
    if (colour != 0 && std::find(list.begin(), list.end(), colour) == list.end())
        list.push_back(colour);
}

// A pixel whose eight neighbours all have its colour. A wrong colour shows
// most there, while grain and edges hide it, so flat pixels weigh more.
bool IsFlat(const RgbaImage& image, int x, int y)
{
    const uint32_t p = image.Get(x, y);
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (image.Get(std::clamp(x + dx, 0, image.width - 1), std::clamp(y + dy, 0, image.height - 1)) != p)
                return false;
    return true;
}
constexpr double kFlatWeight = 4.0;

// The colours one picture shows in one domain, and the mean squared error
// per channel the palette should keep them within.
struct ColourSet {
    int domain;
    std::vector<std::pair<uint32_t, double>> colours;
    double aim;
};

double MseOfPsnr(double psnr) { return 255.0 * 255.0 / std::pow(10.0, psnr / 10); }

// Aims, as PSNR of the palette's nearest colours against the displayable
// colours: pictures written in a palette (their high-colour look against the
// art then loses about another dB to rounding), sprites in their own colours
// mapped by the game, the hazed ground.
const double kPictureMse = MseOfPsnr(36.0);
const double kSpriteMse = MseOfPsnr(32.0);
const double kGroundMse = MseOfPsnr(40.0);
constexpr int kRounds = 8;
constexpr double kLeastBoost = 1.5, kMostBoost = 4.0;


// The domains of the reduction. Each scenario has two: what is written in
// its palette, and what the game maps to it with its own search.
enum Domain { kMenu, kOverHunt, kDesert, kPlains, kGrass, kDesertMapped, kPlainsMapped, kGrassMapped, kDomains };

int ScenarioDomain(uint32_t group) { return group == GROUP_DESERT ? kDesert : group == GROUP_PLAINS ? kPlains : kGrass; }

// The colours of every picture in every domain it belongs to, weighted by
// what the player sees.
std::vector<ColourSet> CollectColours(const std::vector<RecordedPicture>& pictures,
                                      const std::vector<WrittenPicture>& own)
{
    std::vector<ColourSet> sets;
    const std::vector<double> weights = PixelWeights(pictures);
    const std::vector<double> groundPixels = GroundPixelsByHazeLevel();
    for (size_t i = 0; i < pictures.size(); ++i) {
        const RecordedPicture& picture = pictures[i];
        const RgbaImage& image = picture.image;
        std::map<uint32_t, double> colours;
        if (picture.use == PaletteUse::Context) {
            int domain = -1;
            if (picture.groups == GROUP_MENU)
                domain = kMenu;
            else if (OneScenario(picture.groups))
                domain = ScenarioDomain(picture.groups);
            else if (picture.groups && !(picture.groups & GROUP_MENU))
                domain = kOverHunt;
            if (domain < 0)
                continue;
            // The binoculars' lens colour is never seen: it is left out.
            const uint32_t unseen = picture.name == kBinocularPicture
                                        ? image.Get(CContextPalettes::kLensX, CContextPalettes::kLensY)
                                        : 0;
            for (int y = 0; y < image.height; ++y) {
                const double w = IsPanorama(picture) ? PanoramaPixelWeight(y, image.height) : weights[i];
                for (int x = 0; x < image.width; ++x) {
                    const uint32_t p = image.pixels[size_t(y) * image.width + x];
                    if ((p >> 24) && p != unseen)
                        colours[NearestHighColour(p & 0xFFFFFF)] += IsFlat(image, x, y) ? kFlatWeight * w : w;
                }
            }
            sets.push_back({domain, {colours.begin(), colours.end()}, kPictureMse});
        } else if (picture.use == PaletteUse::Own) {
            for (uint8_t index : own[i].indices)
                if (index)
                    colours[ColourOf(own[i].palette[index])] += weights[i];
            for (int s = 0; s < 3; ++s)
                if (picture.groups & kGroups[s + 1])
                    sets.push_back({kDesertMapped + s, {colours.begin(), colours.end()}, kSpriteMse});
        } else if (OneScenario(picture.groups)) {
            // The ground as the renderer shows it: each texel's colour at every
            // haze level, as often as that level covers the screen.
            std::vector<double> texels(256, 0.0);
            for (uint8_t index : own[i].indices)
                texels[index] += 1.0 / double(own[i].indices.size());
            for (int level = 0; level < kHazeLevels; ++level)
                for (int e = 1; e < 256; ++e)
                    if (texels[size_t(e)] > 0)
                        colours[HighColourOf(Hazed(ColourOf(own[i].palette[size_t(e)]), level))] +=
                            texels[size_t(e)] * groundPixels[size_t(level)];
            sets.push_back({ScenarioDomain(picture.groups) + 3, {colours.begin(), colours.end()}, kGroundMse});
        }
    }
    return sets;
}

// The colours of each bank: the menus' own, the shared, then each scenario's.
struct Banks {
    std::vector<uint32_t> menu, shared, scenario[3];
};

// One reduction over every domain, the sets weighed by `boost`; the mean
// squared error of each set comes back through `errors`.
Banks Reduce(const std::vector<ColourSet>& sets, const std::vector<double>& boost,
             const std::vector<uint32_t>& fixedMenu, const std::vector<uint32_t>& fixedHunt, int sharedColours,
             std::vector<double>& errors)
{
    CPaletteBuilder builder;
    int domain[kDomains];
    for (int d = 0; d < kDomains; ++d)
        domain[d] = builder.AddDomain(d >= kDesertMapped ? CPaletteBuilder::Search::Game : CPaletteBuilder::Search::Exact);
    std::vector<int> huntDomains;
    for (int d = kOverHunt; d < kDomains; ++d)
        huntDomains.push_back(domain[d]);
    // Banks in palette order. Black, entry 0, is there for the game's search only.
    builder.AddFixedBank({0}, {domain[kDesertMapped], domain[kPlainsMapped], domain[kGrassMapped]});
    builder.AddFixedBank(fixedMenu, {domain[kMenu]});
    builder.AddFixedBank(fixedHunt, huntDomains);
    const int menuBank = builder.AddFreeBank(255 - int(fixedMenu.size()), domain[kMenu], {domain[kMenu]});
    const int sharedBank = builder.AddFreeBank(sharedColours, domain[kOverHunt], huntDomains);
    int scenarioBank[3];
    for (int s = 0; s < 3; ++s)
        scenarioBank[s] = builder.AddFreeBank(255 - int(fixedHunt.size()) - sharedColours, domain[kDesert + s],
                                              {domain[kDesert + s], domain[kDesertMapped + s]});
    for (size_t k = 0; k < sets.size(); ++k)
        for (const auto& [rgb, weight] : sets[k].colours)
            builder.Add(domain[sets[k].domain], rgb, weight * boost[k]);
    builder.Build();

    errors.assign(sets.size(), 0.0);
    for (size_t k = 0; k < sets.size(); ++k) {
        double error = 0, weight = 0;
        for (const auto& [rgb, w] : sets[k].colours) {
            error += w * builder.SquaredError(domain[sets[k].domain], rgb);
            weight += w;
        }
        errors[k] = weight > 0 ? error / weight / 3 : 0;
    }
    Banks banks;
    banks.menu = builder.BankColours(menuBank);
    banks.shared = builder.BankColours(sharedBank);
    for (int s = 0; s < 3; ++s)
        banks.scenario[s] = builder.BankColours(scenarioBank[s]);
    return banks;
}

void Fill(std::array<PaletteEntry, 256>& palette, size_t& at, const std::vector<uint32_t>& colours)
{
    for (uint32_t c : colours)
        if (at < 256)
            palette[at++] = EntryOf(c);
}

} // namespace

const char* CContextPalettes::FileName(int context) { return kScenarios[context].palette; }
uint32_t CContextPalettes::Group(int context) { return kGroups[context]; }

void CContextPalettes::Build(const std::vector<RecordedPicture>& pictures, const std::vector<WrittenPicture>& own)
{
    // Fixed colours: those of the few-colour pictures (the mouse pointer, the
    // radar marks), in every palette they are shown with, so they show
    // exactly. Those shown both in the menus and over the hunt come first,
    // at the same indices in every palette.
    std::vector<uint32_t> everywhere, overHunt;
    for (const RecordedPicture& picture : pictures) {
        if (picture.use != PaletteUse::Context || !(picture.groups & GROUP_HUNT) || OneScenario(picture.groups))
            continue;
        for (uint32_t c : FewColours(picture.image, kFewColours))
            AddUnique(picture.groups & GROUP_MENU ? everywhere : overHunt, c);
    }
    std::vector<uint32_t> fixedHunt = everywhere;
    for (uint32_t c : overHunt)
        AddUnique(fixedHunt, c);
    m_everywhere = int(everywhere.size());

    // Pictures the reduction serves worse than their aim get more weight in
    // the next round, so small pictures are not starved by the large ones.
    const std::vector<ColourSet> sets = CollectColours(pictures, own);
    std::vector<double> boost(sets.size(), 1.0), errors;
    Banks banks;
    for (int round = 0; round < kRounds; ++round) {
        banks = Reduce(sets, boost, everywhere, fixedHunt, kSharedColours, errors);
        bool short_ = false;
        for (size_t k = 0; k < sets.size(); ++k)
            if (errors[k] > sets[k].aim) {
                boost[k] *= std::clamp(std::pow(errors[k] / sets[k].aim, 2), kLeastBoost, kMostBoost);
                short_ = true;
            }
        if (!short_)
            break;
    }

    m_palettes = {};
    size_t at = 1;
    Fill(m_palettes[0], at, everywhere);
    Fill(m_palettes[0], at, banks.menu);
    for (int s = 0; s < 3; ++s) {
        at = 1;
        Fill(m_palettes[size_t(s + 1)], at, fixedHunt);
        Fill(m_palettes[size_t(s + 1)], at, banks.shared);
        m_overHunt = int(at) - 1;
        Fill(m_palettes[size_t(s + 1)], at, banks.scenario[s]);
    }
    ChooseLens(pictures);
}

void CContextPalettes::ChooseLens(const std::vector<RecordedPicture>& pictures)
{
    // The lens colour is never seen (the magnified view replaces it), so it
    // takes the shared colour farthest from every colour of the binoculars'
    // body: an entry of its own would only draw the game's search to it.
    m_lens = -1;
    for (const RecordedPicture& picture : pictures) {
        if (picture.name != kBinocularPicture || !picture.image.Inside(kLensX, kLensY))
            continue;
        const uint32_t lensArt = picture.image.Get(kLensX, kLensY);
        std::set<uint32_t> body;
        for (uint32_t p : picture.image.pixels)
            if ((p >> 24) && p != lensArt)
                body.insert(NearestHighColour(p & 0xFFFFFF));
        long farthest = -1;
        for (int i = m_everywhere + 1; i <= m_overHunt; ++i) {
            const PaletteEntry& e = m_palettes[1][size_t(i)];
            long nearest = 1L << 30;
            for (uint32_t c : body) {
                const long dr = long(c >> 16 & 0xFF) - e.red, dg = long(c >> 8 & 0xFF) - e.green,
                           db = long(c & 0xFF) - e.blue;
                nearest = std::min(nearest, dr * dr + dg * dg + db * db);
            }
            if (nearest > farthest) {
                farthest = nearest;
                m_lens = i;
            }
        }
    }
}

bool CContextPalettes::PaletteFor(uint32_t groups, std::array<PaletteEntry, 256>& entries,
                                  std::vector<bool>& usable) const
{
    usable.assign(256, false);
    entries = {};
    for (int c = 0; c < kContexts; ++c)
        if (groups == kGroups[c]) {
            entries = m_palettes[size_t(c)];
            for (size_t i = 1; i < 256; ++i)
                usable[i] = true;
            return true;
        }
    if (!groups)
        return false;
    // Shown in several contexts: only the entries they all share, at the
    // same indices, copied into a palette of their own.
    const int shared = (groups & GROUP_MENU) ? m_everywhere : m_overHunt;
    const std::array<PaletteEntry, 256>& from = m_palettes[(groups & GROUP_MENU) && !(groups & GROUP_HUNT) ? 0 : 1];
    for (int i = 1; i <= shared; ++i) {
        entries[size_t(i)] = from[size_t(i)];
        usable[size_t(i)] = true;
    }
    return shared > 0;
}
