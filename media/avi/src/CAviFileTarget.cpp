#include "avi/CAviFileTarget.h"

#include "common/CAtomicOutputFile.h"

#include <algorithm>
#include <cassert>

uint64_t CAviFileTarget::Size() const
{
    return m_file.Size();
}

bool CAviFileTarget::WriteAt(uint64_t position, const uint8_t* bytes, size_t count)
{
    const uint64_t end = m_file.Size();
    assert(position <= end);
    const size_t inside = size_t(std::min<uint64_t>(count, end - position));
    if (inside > 0 && !m_file.WriteAt(position, bytes, inside))
        return false;
    return inside == count || m_file.Write(bytes + inside, count - inside);
}
