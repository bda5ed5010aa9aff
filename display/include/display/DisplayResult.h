#pragma once
// Result codes of the display kinds, beyond the image library's.

#include "imaging/DibResult.h"

constexpr DibResult DD_NO_CONTEXT = 15;  // no display context, or not the display kind
constexpr DibResult DD_CALL_FAILED = 16; // a display call failed (a trace line says why)
constexpr DibResult DD_WRONG_KIND = 17;  // the palette or clip region is not the display kind
constexpr DibResult DD_CANNOT_LOCK = 18; // the surface cannot be locked

// Init of the display context.
constexpr DibResult DDINIT_ALREADY = 3;
constexpr DibResult DDINIT_SUBSYSTEM_FAILED = 4;
constexpr DibResult DDINIT_DEVICE_FAILED = 6;

// Flip and viewport creation.
constexpr DibResult DDVIEW_NOT_SHOWN = 6;
