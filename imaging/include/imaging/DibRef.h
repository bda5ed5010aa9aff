#pragma once
// DibRef: the one owning handle for reference-counted images. It holds one
// reference and releases it when it goes; copies add a reference. An image
// made with `new` starts with one reference, which Adopt takes over.
//
// Images held this way usually leave the context's registry (see
// CDib::LeaveRegistry), so that only the handles decide when they go.

#include <cassert>
#include <utility>

template <typename T>
class DibRef {
public:
    DibRef() = default;
    // Takes over the reference the caller holds (a fresh `new` image).
    static DibRef Adopt(T* image)
    {
        DibRef ref;
        ref.m_image = image;
        return ref;
    }
    // Adds a reference of its own to an image someone else holds.
    static DibRef Share(T* image)
    {
        if (image)
            image->AddRef();
        return Adopt(image);
    }
    DibRef(const DibRef& other) : m_image(other.m_image)
    {
        if (m_image)
            m_image->AddRef();
    }
    DibRef(DibRef&& other) noexcept : m_image(std::exchange(other.m_image, nullptr)) {}
    DibRef& operator=(DibRef other) noexcept
    {
        std::swap(m_image, other.m_image);
        return *this;
    }
    ~DibRef() { Reset(); }

    void Reset()
    {
        if (T* image = std::exchange(m_image, nullptr)) {
            assert(image->GetRefCount() > 0);
            image->Release();
        }
    }
    T* Get() const { return m_image; }
    T* operator->() const
    {
        assert(m_image);
        return m_image;
    }
    T& operator*() const
    {
        assert(m_image);
        return *m_image;
    }
    explicit operator bool() const { return m_image != nullptr; }

private:
    T* m_image = nullptr;
};
