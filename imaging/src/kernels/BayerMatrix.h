#pragma once
// The kernels' name for the ordered-dither matrix (imaging/OrderedDither.h),
// anchored to the target: pixel (x, y) uses kBayer[y & 7][x & 7].
//
// The name has internal linkage on purpose: the vector kernels include this
// through their pixel rules, compiled with other instruction-set flags; the
// matrix itself is data, the same in every unit.

#include "imaging/OrderedDither.h"

namespace {

constexpr const auto& kBayer = kOrderedDither;

} // namespace
