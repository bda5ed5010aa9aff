#include "imaging/CColourOctreeQuantizer.h"

#include "SampleRandom.h"

#include <cstddef>
#include <limits>

using Node = CColourOctree::Node;

CColourOctreeQuantizer::CColourOctreeQuantizer(int maxColours)
    : CColourQuantizer(maxColours), m_random(std::make_unique<SampleRandom>(DEFAULT_SAMPLE_SEED))
{
}

CColourOctreeQuantizer::~CColourOctreeQuantizer() = default;

void CColourOctreeQuantizer::SetSampleSeed(uint32_t seed) { m_random->Seed(seed); }

void CColourOctreeQuantizer::Accumulate(Node* leaf, uint64_t red, uint64_t green, uint64_t blue, uint64_t count)
{
    uint64_t total = leaf->pixelCount + count;
    red += leaf->sumRed;
    green += leaf->sumGreen;
    blue += leaf->sumBlue;
    // Only billions of pixels of one colour get here; halving the whole
    // record keeps its average while the count fits its 32 bits again.
    while (total > std::numeric_limits<uint32_t>::max()) {
        total >>= 1;
        red >>= 1;
        green >>= 1;
        blue >>= 1;
    }
    leaf->sumRed = red;
    leaf->sumGreen = green;
    leaf->sumBlue = blue;
    leaf->pixelCount = uint32_t(total);
}

void CColourOctreeQuantizer::AddColour(uint8_t red, uint8_t green, uint8_t blue)
{
    const uint32_t colour = uint32_t(red) << 16 | uint32_t(green) << 8 | blue;
    if (m_lastLeaf && colour == m_lastColour) {
        Accumulate(m_lastLeaf, red, green, blue, 1);
        return;
    }
    bool created = false;
    Node* leaf = m_tree.Insert(red, green, blue, 0, &created);
    if (created) {
        leaf->sumRed = red;
        leaf->sumGreen = green;
        leaf->sumBlue = blue;
        leaf->pixelCount = 1;
    } else {
        Accumulate(leaf, red, green, blue, 1);
    }
    m_lastLeaf = leaf;
    m_lastColour = colour;
    if (m_tree.LeafCount() > m_maxColours) {
        MergeOnce();
        m_lastLeaf = nullptr;
    }
}

void CColourOctreeQuantizer::MergeOnce()
{
    // The deepest reducible node, earliest in its depth's list: its leaves
    // are the closest together.
    Node* node = nullptr;
    for (int depth = 7; depth >= 0 && !node; --depth)
        for (auto* entry = m_tree.ReducibleList(depth).Head(); entry; entry = entry->next)
            if (entry->value->childCount > 1) {
                node = entry->value;
                break;
            }
    if (!node)
        return; // a single leaf cannot be over any limit of at least 1

    Node* first = node;
    while (first->depth < 8) {
        int child = 0;
        while (!first->children[child])
            ++child;
        first = first->children[child];
    }
    Node* last = node;
    while (last->depth < 8) {
        int child = 7;
        while (!last->children[child])
            --child;
        last = last->children[child];
    }

    const uint64_t red = first->sumRed + last->sumRed;
    const uint64_t green = first->sumGreen + last->sumGreen;
    const uint64_t blue = first->sumBlue + last->sumBlue;
    const uint64_t count = uint64_t(first->pixelCount) + last->pixelCount;
    m_tree.RemoveLeaf(first);
    m_tree.RemoveLeaf(last);

    bool created = false;
    Node* merged = m_tree.Insert(uint8_t(red / count), uint8_t(green / count), uint8_t(blue / count), 0, &created);
    if (created) {
        merged->sumRed = merged->sumGreen = merged->sumBlue = 0;
        merged->pixelCount = 0;
    }
    Accumulate(merged, red, green, blue, count);
}

void CColourOctreeQuantizer::AddPixels(const uint8_t* bits, int width, int height, int pitch,
                                       QuantizeProgress progress, void* argument, uint32_t flags)
{
    if (!IsReadable(bits, width, height, pitch))
        return;
    auto add = [this](const uint8_t* bgr) {
        if (m_useSkipMap && m_skipMap[SkipKey(bgr)])
            return;
        AddColour(bgr[2], bgr[1], bgr[0]);
    };

    if (!(flags & QUANTIZE_SAMPLE)) {
        for (int y = 0; y < height; ++y) {
            if (progress)
                progress(argument, int(int64_t(y) * 100 / height));
            const uint8_t* row = bits + ptrdiff_t(y) * pitch;
            for (int x = 0; x < width; ++x)
                add(row + size_t(x) * 3);
        }
        return;
    }

    // One pixel of each 4 × 4 block; the random number is its row-major
    // position inside the block.
    const int sampledWidth = width & ~3, sampledHeight = height & ~3;
    for (int y = 0; y < sampledHeight; y += 4) {
        if (progress)
            progress(argument, int(int64_t(y) * 100 / sampledHeight));
        for (int x = 0; x < sampledWidth; x += 4) {
            const int position = m_random->Next16();
            add(bits + ptrdiff_t(y + position / 4) * pitch + size_t(x + position % 4) * 3);
        }
    }
}

int CColourOctreeQuantizer::BuildPalette(PaletteEntry* entries)
{
    if (!entries)
        return 0;
    int written = 0;
    m_tree.ForEachLeaf([&](const Node& leaf) {
        if (written >= m_maxColours)
            return;
        entries[written++] = {uint8_t(leaf.colour >> 16), uint8_t(leaf.colour >> 8), uint8_t(leaf.colour), 0};
    });
    return written;
}
