#include "imaging/CColourOctree.h"

#include <bit>

namespace {
inline int ChildNumber(uint8_t r, uint8_t g, uint8_t b, int level)
{
    const int bit = 7 - level;
    return ((r >> bit) & 1) << 2 | ((g >> bit) & 1) << 1 | ((b >> bit) & 1);
}
} // namespace

CColourOctree::CColourOctree() : m_root(NewNode(nullptr, 0, 0)) {}

CColourOctree::~CColourOctree()
{
    for (auto& list : m_reducible)
        while (!list.IsEmpty())
            list.TakeTail();
    DeleteSubtree(m_root);
    for (Node* node : m_spare)
        delete node;
}

CColourOctree::Node* CColourOctree::NewNode(Node* parent, uint8_t indexInParent, uint8_t depth)
{
    Node* node;
    if (m_spare.empty()) {
        node = new Node;
    } else {
        node = m_spare.back();
        m_spare.pop_back();
        // Field by field: assigning a whole new Node compiles to a string
        // store whose start-up cost was most of a quantizer's time.
        node->children.fill(nullptr);
        node->childCount = 0;
        node->colour = 0;
        node->index = 0;
        node->sumRed = node->sumGreen = node->sumBlue = 0;
        node->pixelCount = 0;
        node->reducibleHandle = nullptr;
    }
    node->parent = parent;
    node->indexInParent = indexInParent;
    node->depth = depth;
    return node;
}

void CColourOctree::DeleteSubtree(Node* node)
{
    for (Node* child : node->children)
        if (child)
            DeleteSubtree(child);
    delete node;
}

void CColourOctree::ReleaseNode(Node* node)
{
    m_spare.push_back(node);
}

CColourOctree::Node* CColourOctree::Insert(uint8_t r, uint8_t g, uint8_t b, int index, bool* created)
{
    Node* node = m_root;
    bool madeNode = false;
    for (int level = 0; level < 8; ++level) {
        const int child = ChildNumber(r, g, b, level);
        if (!node->children[child]) {
            node->children[child] = NewNode(node, uint8_t(child), uint8_t(level + 1));
            madeNode = true;
            if (++node->childCount == 2)
                node->reducibleHandle = m_reducible[level].AddTail(node);
        }
        node = node->children[child];
    }
    if (created)
        *created = madeNode;
    if (madeNode) {
        node->colour = uint32_t(r) << 16 | uint32_t(g) << 8 | b;
        node->index = index;
        ++m_leafCount;
    }
    return node;
}

CColourOctree::Node* CColourOctree::FindExact(uint8_t r, uint8_t g, uint8_t b) const
{
    Node* node = m_root;
    for (int level = 0; level < 8 && node; ++level)
        node = node->children[ChildNumber(r, g, b, level)];
    return node;
}

int CColourOctree::FindNearest(uint8_t& r, uint8_t& g, uint8_t& b) const
{
    if (m_leafCount == 0)
        return -1;
    const Node* node = m_root;
    int wanted = 0, taken = 0;
    for (int level = 0; level < 8; ++level) {
        const int own = ChildNumber(r, g, b, level);
        if (level == 0) {
            wanted = own;
        } else {
            // Per component: if the path took the bit it wanted, follow the
            // colour again; if it passed above the colour, keep to the low
            // side (0); if below, keep to the high side (1).
            int next = 0;
            for (int c = 2; c >= 0; --c) {
                const int w = (wanted >> c) & 1, t = (taken >> c) & 1;
                const int bit = (t == w) ? (own >> c) & 1 : (t > w ? 0 : 1);
                next |= bit << c;
            }
            wanted = next;
        }
        taken = wanted;
        if (!node->children[wanted]) {
            int best = -1, bestDistance = 4;
            for (int child = 0; child < 8; ++child) {
                if (!node->children[child])
                    continue;
                const int distance = std::popcount(unsigned(child ^ wanted));
                if (distance < bestDistance) {
                    bestDistance = distance;
                    best = child;
                }
            }
            if (best < 0)
                return -1; // only a damaged tree has an inner node without children
            taken = best;
        }
        node = node->children[taken];
    }
    r = uint8_t(node->colour >> 16);
    g = uint8_t(node->colour >> 8);
    b = uint8_t(node->colour);
    return node->index;
}

void CColourOctree::RemoveLeaf(Node* leaf)
{
    if (!leaf || leaf->depth != 8)
        return;
    --m_leafCount;
    Node* node = leaf;
    while (node != m_root) {
        Node* parent = node->parent;
        parent->children[node->indexInParent] = nullptr;
        if (node->reducibleHandle)
            m_reducible[node->depth].Remove(node->reducibleHandle);
        ReleaseNode(node);
        --parent->childCount;
        if (parent->childCount == 1 && parent->reducibleHandle) {
            m_reducible[parent->depth].Remove(parent->reducibleHandle);
            parent->reducibleHandle = nullptr;
        }
        if (parent->childCount > 0)
            break;
        node = parent;
    }
}
