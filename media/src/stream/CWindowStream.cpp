#include "media/CWindowStream.h"

#include <algorithm>

CWindowStream::CWindowStream(CStream* base, int64_t start, int64_t length, StreamOwnership ownership)
    : m_base(base), m_owns(ownership == StreamOwnership::Owned)
{
    constexpr uint32_t kNeeded = STREAM_CAN_READ | STREAM_CAN_SEEK;
    if (!base || (base->GetCapabilities() & kNeeded) != kNeeded || !base->GetHealth() || start < 0 || length < 0)
        return;
    int64_t baseSize = base->GetSize();
    if (start > baseSize)
        return;
    m_start = start;
    m_length = std::min(length, baseSize - start);
    m_usable = base->Seek(start, STREAM_SEEK_SET) == start;
}

CWindowStream::~CWindowStream()
{
    if (m_owns)
        delete m_base;
}

int64_t CWindowStream::RelativePosition()
{
    return m_base->Tell() - m_start;
}

size_t CWindowStream::Read(void* buffer, size_t length)
{
    if (!m_usable)
        return 0;
    int64_t relative = RelativePosition();
    // Someone else moved the shared base outside the window: nothing to read
    // here until the window is seeked again.
    if (relative < 0 || relative >= m_length)
        return 0;
    size_t count = static_cast<size_t>(std::min<int64_t>(static_cast<int64_t>(length), m_length - relative));
    return m_base->Read(buffer, count);
}

int64_t CWindowStream::Seek(int64_t offset, int origin)
{
    if (!m_usable)
        return 0;
    int64_t base = 0;
    if (origin == STREAM_SEEK_CUR) {
        if (offset == 0)
            return std::clamp<int64_t>(RelativePosition(), 0, m_length);
        base = RelativePosition();
    } else if (origin == STREAM_SEEK_END) {
        base = m_length;
    }
    int64_t target;
    if (__builtin_add_overflow(base, offset, &target))
        target = offset < 0 ? 0 : m_length;
    target = std::clamp<int64_t>(target, 0, m_length);
    return m_base->Seek(m_start + target, STREAM_SEEK_SET) - m_start;
}

bool CWindowStream::IsAtEnd()
{
    if (!m_usable)
        return true;
    return m_base->IsAtEnd() || RelativePosition() >= m_length;
}
