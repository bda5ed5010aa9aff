#pragma once
// CDepthList: world objects ordered from the farthest (head) to the nearest
// (tail) by their distance to the hunter. A new object goes in front of the
// first one that is not farther than it, so of two at exactly the same
// distance the later one comes first and is drawn behind the other.
// The list does not own its objects.

#include <cstddef>
#include <vector>

class CWorldObject;

class CDepthList {
public:
    void Insert(CWorldObject* object);
    // The farthest object, taken off the list; null when empty.
    CWorldObject* RemoveHead();
    void RemoveAll() { m_objects.clear(); }

    size_t Count() const { return m_objects.size(); }
    bool IsEmpty() const { return m_objects.empty(); }
    // Far to near.
    const std::vector<CWorldObject*>& Objects() const { return m_objects; }

private:
    std::vector<CWorldObject*> m_objects;
};
