#pragma once
// Result codes of the image, palette and codec operations; 0 is success.

#include <cstdint>

using DibResult = uint32_t;

constexpr DibResult DIB_OK = 0;
// Not supported by this image kind, or a required pointer argument is null.
constexpr DibResult DIB_UNSUPPORTED = 1;
// Creation failed, target null, source rectangle outside the source.
constexpr DibResult DIB_FAILED = 2;
// The image or palette is not created (palette Create/CopyFrom: already has entries).
constexpr DibResult DIB_NOT_CREATED = 3;
constexpr DibResult DIB_LOCKED = 4;
constexpr DibResult DIB_UNKNOWN_CODEC = 5;
constexpr DibResult DIB_NOT_COMPRESSED = 6;
constexpr DibResult DIB_ALREADY_COMPRESSED = 7;
constexpr DibResult DIB_IN_USE_BY_DC = 8;
constexpr DibResult DIB_PALETTE_MISMATCH = 10;
constexpr DibResult DIB_PALETTE_EMPTY = 11;
constexpr DibResult DIB_COMPRESSED = 12;
constexpr DibResult DIB_TRLE_CONVERT_FAILED = 13;
