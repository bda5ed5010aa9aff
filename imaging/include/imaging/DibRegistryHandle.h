#pragma once
// An object's entry in the context's registry of live images, clip regions or
// palettes. It names the context whose list holds the entry, so an object
// always leaves the list it is in, whichever context is current when it goes.
// A context clears the handles of everything still listed when it is
// destroyed, so a non-empty handle always names a live context.

#include "common/CLinkedList.h"

class CDibContext;

template <typename T>
struct DibRegistryHandle {
    CDibContext* context = nullptr;
    typename CLinkedList<T*>::Node* node = nullptr;

    explicit operator bool() const { return node != nullptr; }
};
