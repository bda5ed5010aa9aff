#include "avi/CAviMemoryTarget.h"

#include <cassert>
#include <cstring>
#include <utility>

bool CAviMemoryTarget::WriteAt(uint64_t position, const uint8_t* bytes, size_t count)
{
    assert(position <= m_bytes.size());
    if (count > m_bytes.max_size() - position)
        return false;
    if (position + count > m_bytes.size())
        m_bytes.resize(size_t(position + count));
    if (count > 0)
        std::memcpy(m_bytes.data() + position, bytes, count);
    return true;
}
