#pragma once
// The table of sprite codecs, by the four-letter tag of the compression
// field. Compress looks a tag up for its encoder, Decompress for its decoder;
// kvftool lists and uses the same table. A row may have only one of the two:
// "PKCC" is a request to encode (stored as "PKC1" or "PKC2"), and those two
// are only ever decoded.
//
// An encoder or decoder takes a packed picture (info header first) and the
// bytes really there, and returns a new picture from AllocPicture of exactly
// PictureSize bytes, or null when it refuses the input.

#include <cstddef>
#include <cstdint>

using PictureCodecFunction = uint8_t* (*)(const uint8_t* picture, size_t available);

struct SpriteCodec {
    uint32_t tag;                 // FourCC, as stored (or requested)
    PictureCodecFunction encoder; // null: this tag cannot be requested
    PictureCodecFunction decoder; // null: this tag is never stored
};

// The row for `tag` with an encoder (or decoder), or null.
const SpriteCodec* FindSpriteEncoder(uint32_t tag);
const SpriteCodec* FindSpriteDecoder(uint32_t tag);

// Every row, for listing.
const SpriteCodec* SpriteCodecTable(size_t* count);
