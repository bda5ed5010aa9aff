#pragma once
// The per-pixel rules of the blitters, written once: the portable kernels are
// made of them, and every vector kernel finishes the pixels left at the end
// of a row with them, so both give the same pixels by construction.
//
// Everything here has internal linkage on purpose. The SSE2 and AVX2 files
// include this header too, compiled with other instruction-set flags; a
// shared inline copy built there must never be the one the portable code
// ends up calling.

#include "imaging/BlitFlags.h"
#include "kernels/BayerMatrix.h"
#include "kernels/rect/BlendTable.h"
#include "kernels/rect/BlitKernels.h"

#include <cstdint>
#include <cstring>

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "pixels are read as little-endian words");

namespace {

// The key rule of a call, as the low two flag bits give it.
enum KeyMode : int { KEYS_NONE = 0, KEYS_SOURCE = 1, KEYS_DEST = 2, KEYS_BOTH = 3 };

template <int Bytes>
inline uint32_t LoadPixel(const uint8_t* p)
{
    if constexpr (Bytes == 1) {
        return p[0];
    } else if constexpr (Bytes == 2) {
        uint16_t v;
        std::memcpy(&v, p, 2);
        return v;
    } else if constexpr (Bytes == 3) {
        return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16;
    } else {
        uint32_t v;
        std::memcpy(&v, p, 4);
        return v;
    }
}

template <int Bytes>
inline void StorePixel(uint8_t* p, uint32_t v)
{
    if constexpr (Bytes == 1) {
        p[0] = uint8_t(v);
    } else if constexpr (Bytes == 2) {
        const uint16_t w = uint16_t(v);
        std::memcpy(p, &w, 2);
    } else if constexpr (Bytes == 3) {
        p[0] = uint8_t(v);
        p[1] = uint8_t(v >> 8);
        p[2] = uint8_t(v >> 16);
    } else {
        std::memcpy(p, &v, 4);
    }
}

// The keyed-copy rule: may source pixel s replace target pixel t?
template <int Keys>
inline bool KeyAllows(uint32_t s, uint32_t t, uint32_t srcKey, uint32_t dstKey)
{
    if constexpr (Keys == KEYS_NONE)
        return true;
    else if constexpr (Keys == KEYS_SOURCE)
        return s != srcKey;
    else if constexpr (Keys == KEYS_DEST)
        return t == dstKey;
    else
        return s != srcKey && t == dstKey;
}

// Stipple: target pixel (x, y) is a candidate at this level (0..64).
inline bool StippleAllows(int x, int y, uint32_t level)
{
    return kBayer[y & 7][x & 7] <= level;
}

// Alpha stipple: opacity a draws where (a >> 2) != 0 and the matrix allows
// level (a >> 2) + 1.
inline bool AlphaStippleAllows(int x, int y, uint32_t a)
{
    const uint32_t level = a >> 2;
    return level != 0 && kBayer[y & 7][x & 7] <= level + 1;
}

// Channel positions of the 16-bit layouts. Red and blue are treated alike,
// so the blue-first orders mix the same way.
template <bool Is565>
struct Layout16 {
    static constexpr int kHigh = Is565 ? 11 : 10; // the upper 5-bit channel
    static constexpr int kGreen = 5;
    static constexpr uint32_t kGreenMask = Is565 ? 63 : 31;
    // Through the table green is mixed from its upper five bits.
    static constexpr int kGreenTable = Is565 ? 6 : 5;
};

// 16-bit mix through the blend table: source weight ws, target weight wt
// (each 0..256, looked up as ws >> 3 and wt >> 3), channels at five bits.
// In 565 the lowest green bit comes out 0; the spare top bit of 555 stays 0.
template <bool Is565>
inline uint32_t Mix16Table(uint32_t s, uint32_t t, uint32_t ws, uint32_t wt)
{
    using L = Layout16<Is565>;
    const auto& ts = kBlendTable[ws >> 3];
    const auto& tt = kBlendTable[wt >> 3];
    const uint32_t r = (ts[(s >> L::kHigh) & 31] + tt[(t >> L::kHigh) & 31]) >> 8;
    const uint32_t g = (ts[(s >> L::kGreenTable) & 31] + tt[(t >> L::kGreenTable) & 31]) >> 8;
    const uint32_t b = (ts[s & 31] + tt[t & 31]) >> 8;
    return r << L::kHigh | g << L::kGreenTable | b;
}

// 16-bit mix with exact weights: v = (s × ws + t × (256 - ws)) >> 8 per
// channel, the six-bit green of 565 included.
template <bool Is565>
inline uint32_t Mix16Exact(uint32_t s, uint32_t t, uint32_t ws)
{
    using L = Layout16<Is565>;
    const uint32_t wt = 256 - ws;
    const uint32_t r = (((s >> L::kHigh) & 31) * ws + ((t >> L::kHigh) & 31) * wt) >> 8;
    const uint32_t g = (((s >> L::kGreen) & L::kGreenMask) * ws + ((t >> L::kGreen) & L::kGreenMask) * wt) >> 8;
    const uint32_t b = ((s & 31) * ws + (t & 31) * wt) >> 8;
    return r << L::kHigh | g << L::kGreen | b;
}

// Mix of the three colour bytes of a 24 or 32-bit pixel through the blend
// table (each byte narrowed to five bits, the sum shifted right 5). The
// fourth byte, which is no channel, is the target's.
inline uint32_t MixBytesTable(uint32_t s, uint32_t t, uint32_t ws, uint32_t wt)
{
    const auto& ts = kBlendTable[ws >> 3];
    const auto& tt = kBlendTable[wt >> 3];
    uint32_t v = t & 0xFF000000u;
    for (int shift = 0; shift < 24; shift += 8)
        v |= ((ts[(s >> (shift + 3)) & 31] + tt[(t >> (shift + 3)) & 31]) >> 5) << shift;
    return v;
}

// Exact mix of the three colour bytes: v = (s × ws + t × (256 - ws)) >> 8;
// the fourth byte is the target's.
inline uint32_t MixBytesExact(uint32_t s, uint32_t t, uint32_t ws)
{
    const uint32_t wt = 256 - ws;
    uint32_t v = t & 0xFF000000u;
    for (int shift = 0; shift < 24; shift += 8)
        v |= ((((s >> shift) & 255) * ws + ((t >> shift) & 255) * wt) >> 8) << shift;
    return v;
}

// Per-pixel opacity: 0 keeps the target, 255 takes the source whole, and
// anything between mixes. The table kernels weigh a against 255 - a.
template <bool Is565>
inline uint32_t Alpha16Table(uint32_t s, uint32_t t, uint32_t a)
{
    return a == 0 ? t : a == 255 ? s : Mix16Table<Is565>(s, t, a, 255 - a);
}

// (The mix at a = 0 would give the target's channels back but drop the spare
// top bit of 555, so 0 is taken literally here too.)
template <bool Is565>
inline uint32_t Alpha16Exact(uint32_t s, uint32_t t, uint32_t a)
{
    return a == 0 ? t : a == 255 ? s : Mix16Exact<Is565>(s, t, a);
}

inline uint32_t AlphaBytesTable(uint32_t s, uint32_t t, uint32_t a)
{
    return a == 0 ? t : a == 255 ? s : MixBytesTable(s, t, a, 255 - a);
}

inline uint32_t AlphaBytesExact(uint32_t s, uint32_t t, uint32_t a)
{
    return a == 255 ? s : MixBytesExact(s, t, a);
}

// Calls row(target row, source row, opacity row or null, k) for every row
// of a rectangle kernel's parameters.
template <class Params, class Row>
inline void ForEachRow(const Params& p, const Row& row)
{
    for (int k = 0; k < p.height; ++k)
        row(p.dst + k * p.dstPitch, p.src + k * p.srcPitch, p.alpha ? p.alpha + k * p.alphaPitch : nullptr, k);
}

// The pixel rules as every kernel applies them, portable loops and the
// leftovers of vector loops alike: rule(p, target pixel, source pixel,
// opacity row, c, j, k) for column j of row k of the target, which shows
// column c of the source row (and of the opacity row).
template <int Bytes, int Keys>
struct KeyedRule {
    template <class Params>
    void operator()(const Params& p, uint8_t* t, const uint8_t* s, const uint8_t*, int, int, int) const
    {
        const uint32_t sv = LoadPixel<Bytes>(s);
        const uint32_t tv = (Keys & KEYS_DEST) ? LoadPixel<Bytes>(t) : 0;
        if (KeyAllows<Keys>(sv, tv, p.srcKey, p.dstKey))
            StorePixel<Bytes>(t, sv);
    }
};

template <int Bytes, int Keys>
struct StippleRule {
    template <class Params>
    void operator()(const Params& p, uint8_t* t, const uint8_t* s, const uint8_t* a, int c, int j, int k) const
    {
        if (StippleAllows(p.dstX + j, p.dstY + k, p.level >> 2))
            KeyedRule<Bytes, Keys>()(p, t, s, a, c, j, k);
    }
};

template <int Bytes>
struct AlphaStippleRule {
    template <class Params>
    void operator()(const Params& p, uint8_t* t, const uint8_t* s, const uint8_t* a, int c, int j, int k) const
    {
        if (AlphaStippleAllows(p.dstX + j, p.dstY + k, a[c]))
            StorePixel<Bytes>(t, LoadPixel<Bytes>(s));
    }
};

// A level blend is the keyed copy with Mix(s, t, level) written instead of s.
template <class Mix>
struct LevelBlend {
    template <int Bytes, int Keys>
    struct Rule {
        template <class Params>
        void operator()(const Params& p, uint8_t* t, const uint8_t* s, const uint8_t*, int, int, int) const
        {
            const uint32_t sv = LoadPixel<Bytes>(s), tv = LoadPixel<Bytes>(t);
            if (KeyAllows<Keys>(sv, tv, p.srcKey, p.dstKey))
                StorePixel<Bytes>(t, Mix::Apply(sv, tv, p.level));
        }
    };
};

// Per-pixel alpha: Mix(s, t, a); the keys are not consulted.
template <int Bytes, class Mix>
struct AlphaBlendRule {
    template <class Params>
    void operator()(const Params&, uint8_t* t, const uint8_t* s, const uint8_t* a, int c, int, int) const
    {
        StorePixel<Bytes>(t, Mix::Apply(LoadPixel<Bytes>(s), LoadPixel<Bytes>(t), a[c]));
    }
};

// The mixes of the blending rules.
template <bool Is565>
struct LevelTable16 {
    static uint32_t Apply(uint32_t s, uint32_t t, uint32_t level) { return Mix16Table<Is565>(s, t, level, 256 - level); }
};
template <bool Is565>
struct LevelExact16 {
    static uint32_t Apply(uint32_t s, uint32_t t, uint32_t level) { return Mix16Exact<Is565>(s, t, level); }
};
struct LevelTableBytes {
    static uint32_t Apply(uint32_t s, uint32_t t, uint32_t level) { return MixBytesTable(s, t, level, 256 - level); }
};
struct LevelExactBytes {
    static uint32_t Apply(uint32_t s, uint32_t t, uint32_t level) { return MixBytesExact(s, t, level); }
};
template <bool Is565>
struct AlphaTable16 {
    static uint32_t Apply(uint32_t s, uint32_t t, uint32_t a) { return Alpha16Table<Is565>(s, t, a); }
};
template <bool Is565>
struct AlphaExact16 {
    static uint32_t Apply(uint32_t s, uint32_t t, uint32_t a) { return Alpha16Exact<Is565>(s, t, a); }
};
struct AlphaTableBytes {
    static uint32_t Apply(uint32_t s, uint32_t t, uint32_t a) { return AlphaBytesTable(s, t, a); }
};
struct AlphaExactBytes {
    static uint32_t Apply(uint32_t s, uint32_t t, uint32_t a) { return AlphaBytesExact(s, t, a); }
};

// Applies a rule to every pixel of the rectangle.
template <int Bytes, bool MirrorX, class Params, class Rule>
inline void ForEachPixel(const Params& p, const Rule& rule)
{
    const int w = p.width;
    ForEachRow(p, [&](uint8_t* d, const uint8_t* s, const uint8_t* a, int k) {
        for (int j = 0; j < w; ++j) {
            const int c = MirrorX ? w - 1 - j : j;
            rule(p, d + j * Bytes, s + c * Bytes, a, c, j, k);
        }
    });
}

// Portable kernels made of a rule: the loop specialised for the call's keys
// and mirroring (Rule<Bytes, Keys>), or for its mirroring alone.
template <int Bytes, template <int, int> class Rule>
struct KeyedLoop {
    template <int Keys, bool MirrorX>
    struct Impl {
        static void Run(const BlitParams& p) { ForEachPixel<Bytes, MirrorX>(p, Rule<Bytes, Keys>()); }
    };
};

template <int Bytes, class Rule>
struct MirrorLoop {
    template <bool MirrorX>
    struct Impl {
        static void Run(const BlitParams& p) { ForEachPixel<Bytes, MirrorX>(p, Rule()); }
    };
};

// Runs Impl<Keys, MirrorX>::Run specialised for the call's key and mirror
// flags: the one decision a kernel makes, before its loops.
template <template <int Keys, bool MirrorX> class Impl>
inline void RunSpecialised(const BlitParams& p)
{
    static constexpr BlitKernel kVariants[8] = {
        &Impl<0, false>::Run, &Impl<1, false>::Run, &Impl<2, false>::Run, &Impl<3, false>::Run,
        &Impl<0, true>::Run,  &Impl<1, true>::Run,  &Impl<2, true>::Run,  &Impl<3, true>::Run,
    };
    kVariants[(p.flags & 3) | ((p.flags & BLIT_MIRROR_X) ? 4 : 0)](p);
}

// The same for kernels that ignore the colour keys.
template <template <bool MirrorX> class Impl>
inline void RunMirrorSpecialised(const BlitParams& p)
{
    if (p.flags & BLIT_MIRROR_X)
        Impl<true>::Run(p);
    else
        Impl<false>::Run(p);
}

} // namespace
