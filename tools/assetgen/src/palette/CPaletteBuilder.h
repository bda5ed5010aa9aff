#pragma once
// CPaletteBuilder: makes the 8-bit palettes of several display contexts at
// once by weighted colour reduction.
//
// The palette entries are grouped into banks. A fixed bank holds colours
// chosen beforehand (the mouse pointer's, the binocular lens colour); a free
// bank gets its colours from the reduction. Each domain is a set of weighted
// colours that one context shows, and may use the colours of some banks
// only: the pictures shown over the hunt in every scenario may use the bank
// that every scenario palette shares, a scenario's own scenery may use that
// bank and its own as well. The reduction seeds each free bank with the
// project's minimum-variance quantizer over its seed domain and then moves
// every free colour to the weighted mean of the colours that pick it (a
// k-means pass), each domain choosing only among its banks, so shared
// colours settle where all their domains need them.
//
// Colours are the displayable ones of HighColour.h and so are the results:
// a palette made here shows in 8 bits exactly what high colour shows.

#include "imaging/CColourOctree.h"

#include <cstddef>
#include <memory>
#include <cstdint>
#include <vector>

class CPaletteBuilder {
public:
    // How the colours of a domain find their palette colour.
    enum class Search {
        // The nearest colour: pictures written in the palette by the
        // generator itself.
        Exact,
        // The game's own nearest-colour search (the image library's octree
        // over the palette, black at index 0 included): pictures in their own
        // colours that the game maps when it draws them. The reduction then
        // moves each colour to the mean of what that search brings to it, so
        // the palette suits the search the game makes.
        Game,
    };

    // A domain: colours that one context shows.
    int AddDomain(Search search = Search::Exact);
    // A bank of fixed colours (0x00RRGGBB, taken to displayable ones) that
    // the given domains may use. Banks are laid out in the order they are
    // added, as the palettes will be: a domain searched as the game does
    // sees its banks' colours at indices in that order.
    int AddFixedBank(const std::vector<uint32_t>& colours, const std::vector<int>& domains);
    // A bank of `size` colours from the reduction, seeded from the colours of
    // `seedDomain`, that the given domains may use.
    int AddFreeBank(int size, int seedDomain, const std::vector<int>& domains);
    // Adds `weight` to the colour of a domain; the colour is first taken to
    // its nearest displayable colour.
    void Add(int domain, uint32_t rgb, double weight);

    // Runs the reduction. Pure black never comes out of a free bank (it is
    // the colour key of the game's pictures): a free colour that would be
    // black becomes the darkest grey.
    void Build(int passes = 24);

    // The colours of a bank after Build, in bank order.
    const std::vector<uint32_t>& BankColours(int bank) const { return m_banks[size_t(bank)].colours; }
    // Squared distance from a colour to the nearest colour a domain may use
    // (after Build).
    double SquaredError(int domain, uint32_t rgb) const;

private:
    struct Bank {
        bool free = false;
        int seedDomain = -1;
        int size = 0;
        std::vector<uint32_t> colours;
    };
    struct Point {
        float rgb[3];
        double weight;
    };
    struct Domain {
        Search search = Search::Exact;
        std::vector<int> banks;
        std::vector<double> weights; // by 5-5-5 key
        std::vector<Point> points;   // the occupied keys, made by Build
    };
    struct Centre {
        float rgb[3];
        int bank;
    };

    void MakePoints();
    void SeedCentres();
    void Seed(Bank& bank, const Domain& domain) const;
    // One k-means pass: assigns every point by its domain's search (its
    // squared distance into `distances`), moves the free centres, and
    // returns the weighted error of the assignment.
    double Pass(std::vector<std::vector<float>>& distances);
    void SettleOnDisplayable();
    std::vector<int> CentresOf(const Domain& domain) const;
    // Nearest of `candidates` to `p`; its squared distance through `distance`.
    int Nearest(const float* p, const std::vector<int>& candidates, float& distance) const;
    // The centre a colour of domain `d` goes to, by the domain's search.
    int Find(size_t d, const float* p, float& distance) const;
    void BuildOctrees();

    std::vector<Bank> m_banks;
    std::vector<Domain> m_domains;
    std::vector<Centre> m_centres;
    std::vector<std::vector<int>> m_candidates; // per domain, the centres it may use
    // Per domain searched as the game does, the octree over its centres'
    // displayable colours (indices into its candidates).
    std::vector<std::unique_ptr<CColourOctree>> m_octrees;
};
