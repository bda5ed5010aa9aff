#pragma once
// Rows of a locked image from the top, whatever its storage order: a
// bottom-up image is walked from its last stored row with a negative pitch.

#include "imaging/CDib.h"

#include <cstddef>
#include <cstdint>

struct TopDownRows {
    uint8_t* top = nullptr;
    ptrdiff_t pitch = 0;
};

inline TopDownRows ViewTopDown(const CDib& image, uint8_t* bits, int pitch)
{
    if (image.IsBottomUp())
        return {bits + ptrdiff_t(image.GetHeight() - 1) * pitch, -ptrdiff_t(pitch)};
    return {bits, pitch};
}
