#pragma once
// DibRef: the one owning handle for reference-counted images. It holds one
// reference and releases it when it goes; copies add a reference. An image
// made with `new` starts with one reference, which Adopt takes over; MakeDib
// makes one and adopts it in a single step.
//
// An image on the stack or inside another object has its owner already and
// is never handed to a DibRef.

#include <cassert>
#include <concepts>
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
    // A handle of a kind converts to a handle of its base, keeping the reference.
    template <typename U>
        requires std::convertible_to<U*, T*>
    DibRef(DibRef<U>&& other) noexcept : m_image(other.Detach()) {}
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
    // Gives the reference up to the caller, leaving the handle empty.
    [[nodiscard]] T* Detach() { return std::exchange(m_image, nullptr); }
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

// A new image of kind T, owned by the handle returned.
template <typename T, typename... Args>
DibRef<T> MakeDib(Args&&... args)
{
    return DibRef<T>::Adopt(new T(std::forward<Args>(args)...));
}
