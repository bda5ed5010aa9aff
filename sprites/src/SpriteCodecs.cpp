#include "sprites/SpriteCodecs.h"

#include "sprites/ArleCodec.h"
#include "sprites/PictureFormat.h"
#include "sprites/PkcCodec.h"
#include "sprites/PrleCodec.h"
#include "sprites/TrleCodec.h"

namespace {

// One row per tag. New codecs add their row here and nothing else.
const SpriteCodec kCodecs[] = {
    {TAG_TRLE, TrleEncode8, TrleDecode},
    {TAG_ARLE, ArleEncode, ArleDecode},
    {TAG_PRLE, PrleEncode, PrleDecode},
    {TAG_PKCC, PkcEncode, nullptr},
    {TAG_PKC1, nullptr, PkcDecode},
    {TAG_PKC2, nullptr, PkcDecode},
};

const SpriteCodec* Find(uint32_t tag, bool encoding)
{
    for (const SpriteCodec& codec : kCodecs)
        if (codec.tag == tag && (encoding ? codec.encoder : codec.decoder) != nullptr)
            return &codec;
    return nullptr;
}

} // namespace

const SpriteCodec* FindSpriteEncoder(uint32_t tag) { return Find(tag, true); }
const SpriteCodec* FindSpriteDecoder(uint32_t tag) { return Find(tag, false); }

const SpriteCodec* SpriteCodecTable(size_t* count)
{
    if (count)
        *count = sizeof(kCodecs) / sizeof(kCodecs[0]);
    return kCodecs;
}
