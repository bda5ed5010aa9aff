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

// The display palette's Create.
constexpr DibResult DDPAL_NO_CONTEXT = 4;     // no display context
constexpr DibResult DDPAL_CREATE_FAILED = 5;  // the display palette cannot be made or set

// Flip and viewport creation.
constexpr DibResult DDVIEW_NOT_SHOWN = 6;
constexpr DibResult DDVIEW_NO_CONTEXT = 6; // the display viewport needs a display context
