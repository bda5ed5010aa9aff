#pragma once
// CColourOctreeQuantizer: colour reduction with an octree that never holds
// more than maxColours leaves. Every new colour becomes a leaf; when that
// makes one leaf too many, the deepest node with two or more children gives
// up its first and last leaf, which merge into one leaf at their average.
// Memory stays bounded however many pixels are added.

#include "imaging/CColourOctree.h"
#include "imaging/CColourQuantizer.h"

#include <memory>

class SampleRandom;

class CColourOctreeQuantizer : public CColourQuantizer {
public:
    // The sampling generator starts from a fixed seed, so that sampled
    // reductions are reproducible.
    static constexpr uint32_t DEFAULT_SAMPLE_SEED = 0x2545F491u;

    explicit CColourOctreeQuantizer(int maxColours);
    ~CColourOctreeQuantizer() override;

    // Honours the skip map and QUANTIZE_SAMPLE: with sampling the size is
    // cut down to multiples of 4 and one pseudo-randomly chosen pixel of
    // every 4 × 4 block is added; progress comes once per block row.
    void AddPixels(const uint8_t* bits, int width, int height, int pitch, QuantizeProgress progress,
                   void* argument, uint32_t flags) override;
    // The leaves' colours in tree order.
    int BuildPalette(PaletteEntry* entries) override;

    void SetSampleSeed(uint32_t seed);
    int LeafCount() const { return m_tree.LeafCount(); }
    // The tree itself: its leaves carry the colour sums and pixel counts.
    const CColourOctree& Tree() const { return m_tree; }

    // Adds one colour (exposed for callers that walk pixels themselves).
    void AddColour(uint8_t red, uint8_t green, uint8_t blue);

private:
    void MergeOnce();
    // Adds a colour record to a leaf, scaling the record down when the
    // 32-bit pixel count would overflow (the average stays the same).
    static void Accumulate(CColourOctree::Node* leaf, uint64_t red, uint64_t green, uint64_t blue,
                           uint64_t count);

    CColourOctree m_tree;
    std::unique_ptr<SampleRandom> m_random;
    // The leaf of the last colour added: runs of one colour skip the walk.
    // Cleared by every merge, which may delete it.
    CColourOctree::Node* m_lastLeaf = nullptr;
    uint32_t m_lastColour = 0;
};
