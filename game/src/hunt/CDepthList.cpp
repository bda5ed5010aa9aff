#include "game/hunt/CDepthList.h"

#include "game/hunt/CWorldObject.h"

#include <cassert>

void CDepthList::Insert(CWorldObject* object)
{
    assert(object);
    auto place = m_objects.begin();
    while (place != m_objects.end() && (*place)->distance > object->distance)
        ++place;
    m_objects.insert(place, object);
}

CWorldObject* CDepthList::RemoveHead()
{
    if (m_objects.empty())
        return nullptr;
    CWorldObject* head = m_objects.front();
    m_objects.erase(m_objects.begin());
    return head;
}
