#include "common/CSmallString.h"

#include <cstdlib>
#include <cstring>

CSmallString::~CSmallString()
{
    std::free(m_buffer);
}

CSmallString& CSmallString::operator=(const CSmallString& other)
{
    if (this != &other)
        Assign(other.View());
    return *this;
}

CSmallString& CSmallString::operator=(std::string_view text)
{
    Assign(text);
    return *this;
}

bool CSmallString::Reserve(size_t capacity)
{
    if (capacity <= m_capacity)
        return true;
    if (m_lockCount > 0)
        return false;
    size_t grown = m_capacity ? m_capacity * 2 : 16;
    if (grown < capacity)
        grown = capacity;
    char* buffer = static_cast<char*>(std::realloc(m_buffer, grown + 1));
    if (!buffer)
        return false;
    m_buffer = buffer;
    m_capacity = grown;
    return true;
}

bool CSmallString::Assign(std::string_view text)
{
    if (m_lockCount > 0)
        return false;
    // The text may point into our own buffer; copy through a temporary then.
    if (m_buffer && text.data() >= m_buffer && text.data() <= m_buffer + m_capacity) {
        CSmallString copy;
        if (!copy.Assign(text))
            return false;
        return Assign(copy.View());
    }
    if (!Reserve(text.size()))
        return false;
    if (!text.empty())
        std::memcpy(m_buffer, text.data(), text.size());
    m_length = text.size();
    if (m_buffer)
        m_buffer[m_length] = '\0';
    return true;
}

bool CSmallString::Append(std::string_view text)
{
    if (m_lockCount > 0)
        return false;
    CSmallString joined;
    if (!joined.Reserve(m_length + text.size()))
        return false;
    std::memcpy(joined.m_buffer, CStr(), m_length);
    if (!text.empty())
        std::memcpy(joined.m_buffer + m_length, text.data(), text.size());
    joined.m_length = m_length + text.size();
    joined.m_buffer[joined.m_length] = '\0';
    std::swap(m_buffer, joined.m_buffer);
    std::swap(m_capacity, joined.m_capacity);
    std::swap(m_length, joined.m_length);
    return true;
}

char* CSmallString::Lock(size_t minCapacity)
{
    if (!Reserve(minCapacity < 1 ? 1 : minCapacity))
        return nullptr;
    ++m_lockCount;
    return m_buffer;
}

void CSmallString::Unlock(size_t newLength)
{
    if (m_lockCount == 0)
        return;
    --m_lockCount;
    m_length = newLength <= m_capacity ? newLength : m_capacity;
    m_buffer[m_length] = '\0';
}
