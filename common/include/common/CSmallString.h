#pragma once
// The libraries' own small string: a character buffer with capacity, length
// and a lock count. While locked (a caller holds the raw buffer to write into
// it), the buffer is never reallocated.

#include <cstddef>
#include <string_view>

class CSmallString {
public:
    CSmallString() = default;
    CSmallString(std::string_view text) { Assign(text); }
    CSmallString(const CSmallString& other) { Assign(other.View()); }
    CSmallString& operator=(const CSmallString& other);
    CSmallString& operator=(std::string_view text);
    ~CSmallString();

    // Returns false when the string is locked or memory runs out; the old
    // contents then stay.
    bool Assign(std::string_view text);
    bool Append(std::string_view text);

    const char* CStr() const { return m_buffer ? m_buffer : ""; }
    std::string_view View() const { return {CStr(), m_length}; }
    size_t Length() const { return m_length; }
    bool IsEmpty() const { return m_length == 0; }

    // Hands out a writable buffer of at least `minCapacity` characters plus the
    // terminator; Unlock(newLength) takes the written length back.
    char* Lock(size_t minCapacity);
    void Unlock(size_t newLength);
    int LockCount() const { return m_lockCount; }

    bool operator==(std::string_view other) const { return View() == other; }

private:
    bool Reserve(size_t capacity);

    char* m_buffer = nullptr;
    size_t m_capacity = 0;
    size_t m_length = 0;
    int m_lockCount = 0;
};
