#include "media/CBlockStream.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr size_t kGrowthStep = 32768;
}

CBlockStream::CBlockStream(CMemoryBlock* block, BlockStreamMode mode, BlockOwnership ownership)
    : m_mode(mode), m_block(block), m_owns(ownership == BlockOwnership::Owned)
{
    if (!block) {
        m_usable = mode == BlockStreamMode::Write;
        return;
    }
    m_data = block->Lock();
    // An empty block has no memory to lock but is a perfectly good empty stream.
    m_usable = m_data != nullptr || block->Size() == 0;
    if (m_usable && mode == BlockStreamMode::Write && block->IsReadOnly() && block->Size() != 0)
        m_usable = false;
    m_length = m_data ? block->Size() : 0;
}

CBlockStream* CBlockStream::CreateWriter(size_t capacity)
{
    CMemoryBlock* block = capacity ? CMemoryBlock::Allocate(capacity) : nullptr;
    auto* stream = new CBlockStream(block, BlockStreamMode::Write, BlockOwnership::Owned);
    // A fresh writer starts empty whatever its capacity.
    stream->m_length = 0;
    if (capacity && !block)
        stream->m_usable = false;
    return stream;
}

CBlockStream::~CBlockStream()
{
    if (m_block && m_data)
        m_block->Unlock();
    if (m_owns)
        delete m_block;
}

size_t CBlockStream::Read(void* buffer, size_t length)
{
    if (!m_usable || m_position >= m_length || length == 0)
        return 0;
    size_t count = std::min(length, m_length - m_position);
    std::memcpy(buffer, m_data + m_position, count);
    m_position += count;
    return count;
}

bool CBlockStream::Grow(size_t needed)
{
    if (needed > SIZE_MAX - kGrowthStep)
        return false;
    CMemoryBlock* bigger = CMemoryBlock::Allocate(needed + kGrowthStep);
    if (!bigger)
        return false;
    uint8_t* data = bigger->Lock();
    if (!data) {
        delete bigger;
        return false;
    }
    if (m_length)
        std::memcpy(data, m_data, m_length);
    if (m_block) {
        if (m_data)
            m_block->Unlock();
        if (m_owns)
            delete m_block;
    }
    m_block = bigger;
    m_data = data;
    m_owns = true;
    return true;
}

size_t CBlockStream::Write(const void* buffer, size_t length)
{
    if (!m_usable || m_mode != BlockStreamMode::Write || length == 0)
        return 0;
    if (length > SIZE_MAX - m_position)
        return 0;
    size_t end = m_position + length;
    size_t capacity = m_block && m_data ? m_block->Size() : 0;
    if (end > capacity && !Grow(end))
        return 0;
    std::memcpy(m_data + m_position, buffer, length);
    m_position = end;
    m_length = std::max(m_length, m_position);
    return length;
}

int64_t CBlockStream::Seek(int64_t offset, int origin)
{
    int64_t base = 0;
    if (origin == STREAM_SEEK_CUR)
        base = static_cast<int64_t>(m_position);
    else if (origin == STREAM_SEEK_END)
        base = static_cast<int64_t>(m_length);
    int64_t target;
    if (__builtin_add_overflow(base, offset, &target))
        target = offset < 0 ? 0 : static_cast<int64_t>(m_length);
    target = std::clamp<int64_t>(target, 0, static_cast<int64_t>(m_length));
    m_position = static_cast<size_t>(target);
    return target;
}

uint32_t CBlockStream::GetCapabilities() const
{
    return STREAM_CAN_READ | STREAM_CAN_WRITE | STREAM_CAN_SEEK | STREAM_HAS_SIZE;
}
