#pragma once
// What the sprite codec fuzz targets share: finding the picture in an input
// and checking that what decoded survives a re-encode unchanged.

#include "common/CMemoryBlock.h"
#include "sprites/PictureFormat.h"

#include <cstdlib>
#include <cstring>

// The picture in a fuzz input (a sprite file or a bare packed picture), or
// null. Pictures of more than 4 Mi pixels are skipped: legitimate ones of up
// to 65535 × 65535 decode from small inputs, beyond the fuzzer's memory.
inline const uint8_t* FuzzPicture(const uint8_t* data, size_t size, size_t& available)
{
    available = size;
    const uint8_t* picture = FindInfoHeader(data, available);
    if (!picture)
        return nullptr;
    const int32_t rows = int32_t(InfoHeight(picture));
    if (rows > 0 && uint64_t(InfoWidth(picture)) * uint64_t(rows) > (1u << 22))
        return nullptr;
    return picture;
}

using FuzzCodec = uint8_t* (*)(const uint8_t* picture, size_t available);

// Aborts unless `decoded` encodes and decodes back to the same bytes.
inline void CheckRoundTrip(const uint8_t* decoded, FuzzCodec encode, FuzzCodec decode)
{
    const size_t size = PictureSize(decoded);
    uint8_t* again = encode(decoded, size);
    uint8_t* back = again ? decode(again, PictureSize(again)) : nullptr;
    if (!back || PictureSize(back) != size || std::memcmp(back, decoded, size) != 0)
        std::abort();
    FreePicture(back);
    FreePicture(again);
}

// A block holding exactly the input, so any read past it trips the sanitizer.
inline CMemoryBlock* FuzzBlock(const uint8_t* data, size_t size)
{
    CMemoryBlock* block = CMemoryBlock::Allocate(size);
    if (!block)
        return nullptr;
    if (size)
        std::memcpy(block->Lock(), data, size);
    block->Unlock();
    return block;
}
