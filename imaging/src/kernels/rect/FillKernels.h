#pragma once
// Kernels behind FillRect, DrawLine and BlendRect. Rectangles and end points
// are already clipped; `bits` is the top row.

#include "imaging/PixelFormat.h"

#include <cstdint>

void FillRectKernel(uint8_t* bits, int pitch, uint32_t bitsPerPixel, int x, int y, int w, int h, uint32_t value);
// Plots max(|dx|, |dy|) pixels from (x1, y1) towards (x2, y2), the end point excluded.
void DrawLineKernel(uint8_t* bits, int pitch, int bytesPerPixel, int x1, int y1, int x2, int y2, uint32_t colour);
// Mixes `colour` (weight 256 - level) into 16-bit pixels (weight level):
// exact weights when the vector kernels may run, the blend table otherwise.
void BlendFillKernel16(uint8_t* bits, int pitch, PixelFormat format, int x, int y, int w, int h,
                       uint32_t colour, int level);
