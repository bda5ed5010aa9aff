#pragma once
// CColourOctree: an 8-level colour tree. Level k branches on bit 7-k of red,
// green and blue (child number 4r + 2g + b); leaves sit at depth 8 and carry
// a palette index. It answers exact and nearest-colour queries in 8 steps and
// doubles as the octree colour quantizer's tree, whose leaves also carry
// colour sums and a pixel count.

#include "common/CLinkedList.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

class CColourOctree {
public:
    struct Node {
        Node* parent = nullptr;
        uint8_t indexInParent = 0;
        uint8_t depth = 0; // 0 for the root, 8 for leaves
        uint8_t childCount = 0;
        std::array<Node*, 8> children{};
        uint32_t colour = 0; // leaves: 0x00RRGGBB
        int index = 0;       // leaves: palette index
        // Leaves of the quantizer: the colour sums and the pixel count.
        uint64_t sumRed = 0, sumGreen = 0, sumBlue = 0;
        uint32_t pixelCount = 0;
        // Entry in the reducible list of this node's depth (null while the
        // node has fewer than two children).
        CLinkedList<Node*>::Node* reducibleHandle = nullptr;
    };

    CColourOctree();
    ~CColourOctree();
    CColourOctree(const CColourOctree&) = delete;
    CColourOctree& operator=(const CColourOctree&) = delete;

    // Inserts a leaf. When the colour is already present the existing leaf
    // keeps its first index, `created` is false, and that leaf is returned.
    Node* Insert(uint8_t red, uint8_t green, uint8_t blue, int index, bool* created = nullptr);
    // The leaf of exactly this colour, or null.
    Node* FindExact(uint8_t red, uint8_t green, uint8_t blue) const;
    // Nearest search: writes the leaf's colour back and returns its index, or
    // -1 when the tree is empty.
    int FindNearest(uint8_t& red, uint8_t& green, uint8_t& blue) const;
    // Removes a leaf and every ancestor left without children.
    void RemoveLeaf(Node* leaf);

    int LeafCount() const { return m_leafCount; }
    const Node* Root() const { return m_root; }
    // Nodes with two or more children, per depth 0..7, in the order they
    // became reducible.
    const CLinkedList<Node*>& ReducibleList(int depth) const { return m_reducible[depth]; }

    // Leaves in tree order: children in ascending number at every level.
    template <typename F>
    void ForEachLeaf(F&& visit) const { VisitLeaves(m_root, visit); }

private:
    Node* NewNode(Node* parent, uint8_t indexInParent, uint8_t depth);
    // Keeps a node taken out of the tree for the next NewNode: a quantizer
    // inserts and removes nodes for nearly every pixel it reads.
    void ReleaseNode(Node* node);
    void DeleteSubtree(Node* node);

    template <typename F>
    static void VisitLeaves(const Node* node, F& visit)
    {
        if (node->depth == 8) {
            visit(*node);
            return;
        }
        for (const Node* child : node->children)
            if (child)
                VisitLeaves(child, visit);
    }

    // Before the root, which the constructor makes through NewNode.
    std::vector<Node*> m_spare; // nodes out of the tree, ready for reuse
    Node* m_root;
    int m_leafCount = 0;
    std::array<CLinkedList<Node*>, 8> m_reducible;
};
