#pragma once
// The vector kernels, written once against a vector type V (Sse2Vector.h or
// Avx2Vector.h) and instantiated by each tier's file. Every loop handles
// whole vectors and finishes the row with the per-pixel rule of PixelOps.h,
// the same one the portable twin uses, so both tiers give the same pixels.
//
// Include only after the tier's vector header, from a *_sse2.cpp or
// *_avx2.cpp file. Everything has internal linkage (see PixelOps.h).

#include "kernels/rect/BlitKernels.h"
#include "kernels/rect/PixelOps.h"

#include <cstring>

namespace {

template <class V, int Bytes>
inline typename V::R SplatPixel(uint32_t v)
{
    if constexpr (Bytes == 1)
        return V::Set8(v);
    else if constexpr (Bytes == 2)
        return V::Set16(v);
    else
        return V::Set32(v);
}

template <class V, int Bytes>
inline typename V::R EqPixels(typename V::R a, typename V::R b)
{
    if constexpr (Bytes == 1)
        return V::Eq8(a, b);
    else if constexpr (Bytes == 2)
        return V::Eq16(a, b);
    else
        return V::Eq32(a, b);
}

// Where the keyed-copy rule lets the source pixel in: all ones per pixel.
template <class V, int Bytes, int Keys>
inline typename V::R WriteMask(typename V::R s, typename V::R t, typename V::R srcKey, typename V::R dstKey)
{
    if constexpr (Keys == KEYS_NONE)
        return V::Ones();
    else if constexpr (Keys == KEYS_SOURCE)
        return V::AndNot(EqPixels<V, Bytes>(s, srcKey), V::Ones());
    else if constexpr (Keys == KEYS_DEST)
        return EqPixels<V, Bytes>(t, dstKey);
    else
        return V::AndNot(EqPixels<V, Bytes>(s, srcKey), EqPixels<V, Bytes>(t, dstKey));
}

// Source pixels j .. j + lanes - 1 of a row in target order: a plain load,
// or, mirrored, the lanes ending at column w - 1 - j reversed.
template <class V, int Bytes, bool MirrorX>
inline typename V::R LoadSource(const uint8_t* row, int j, int w)
{
    constexpr int kLanes = V::kBytes / Bytes;
    if constexpr (!MirrorX) {
        return V::Load(row + j * Bytes);
    } else {
        const typename V::R v = V::Load(row + (w - j - kLanes) * Bytes);
        if constexpr (Bytes == 2)
            return V::Reverse16(v);
        else
            return V::Reverse32(v);
    }
}

// Runs block(d, s, a, j, k) over the whole vectors of every row and the pixel
// rule over the pixels left at its end; d, s and a are the row starts of the
// target, the source and the opacity (null without one).
template <class V, int Bytes, bool MirrorX, class Block, class Rule>
inline void ForEachVector(const BlitParams& p, const Block& block, const Rule& rule)
{
    constexpr int kLanes = V::kBytes / Bytes;
    const int w = p.width;
    ForEachRow(p, [&](uint8_t* d, const uint8_t* s, const uint8_t* a, int k) {
        int j = 0;
        for (; j + kLanes <= w; j += kLanes)
            block(d, s, a, j, k);
        for (; j < w; ++j) {
            const int c = MirrorX ? w - 1 - j : j;
            rule(p, d + j * Bytes, s + c * Bytes, a, c, j, k);
        }
    });
}

// Keyed copy of 8 or 16-bit pixels: compare and select per vector. Mirrored
// calls (which the dispatcher sends to the portable kernel anyway) run the
// rule pixel by pixel.
template <class V, int Bytes>
struct KeyedVector {
    template <int Keys, bool MirrorX>
    struct Impl {
        static void Run(const BlitParams& p)
        {
            using R = typename V::R;
            if constexpr (MirrorX) {
                ForEachPixel<Bytes, true>(p, KeyedRule<Bytes, Keys>());
            } else if constexpr (Keys == KEYS_NONE) {
                ForEachRow(p, [&](uint8_t* d, const uint8_t* s, const uint8_t*, int) {
                    std::memmove(d, s, size_t(p.width) * Bytes);
                });
            } else {
                const R sk = SplatPixel<V, Bytes>(p.srcKey), dk = SplatPixel<V, Bytes>(p.dstKey);
                const auto block = [&](uint8_t* d, const uint8_t* s, const uint8_t*, int j, int) {
                    const R sv = V::Load(s + j * Bytes), tv = V::Load(d + j * Bytes);
                    V::Store(d + j * Bytes, V::Select(WriteMask<V, Bytes, Keys>(sv, tv, sk, dk), sv, tv));
                };
                ForEachVector<V, Bytes, false>(p, block, KeyedRule<Bytes, Keys>());
            }
        }
    };
};

// 8-bit stipple: the candidate mask of a row is the matrix row compared with
// the level once per call; it repeats every 8 pixels, so one vector of it
// serves every block of the row.
template <class V>
struct StippleVector8 {
    template <int Keys, bool MirrorX>
    struct Impl {
        static void Run(const BlitParams& p)
        {
            using R = typename V::R;
            if constexpr (MirrorX) {
                ForEachPixel<1, true>(p, StippleRule<1, Keys>());
            } else {
                alignas(32) uint8_t masks[8][V::kBytes];
                for (int r = 0; r < 8; ++r)
                    for (int i = 0; i < V::kBytes; ++i)
                        masks[r][i] = StippleAllows(p.dstX + i, r, p.level >> 2) ? 0xFF : 0;
                const R sk = V::Set8(p.srcKey), dk = V::Set8(p.dstKey);
                const auto block = [&](uint8_t* d, const uint8_t* s, const uint8_t*, int j, int k) {
                    const R sv = V::Load(s + j), tv = V::Load(d + j);
                    const R write = V::And(V::Load(masks[(p.dstY + k) & 7]), WriteMask<V, 1, Keys>(sv, tv, sk, dk));
                    V::Store(d + j, V::Select(write, sv, tv));
                };
                ForEachVector<V, 1, false>(p, block, StippleRule<1, Keys>());
            }
        }
    };
};

// Exact 16-bit mix of whole vectors: per channel (s × ws + t × wt) >> 8 with
// ws + wt = 256. Channels are at most 63, so every product and sum fits a
// 16-bit lane (63 × 256 = 16128).
template <class V, bool Is565>
inline typename V::R Mix16ExactVector(typename V::R s, typename V::R t, typename V::R ws, typename V::R wt)
{
    using L = Layout16<Is565>;
    const typename V::R five = V::Set16(31), green = V::Set16(L::kGreenMask);
    auto mix = [&](typename V::R sc, typename V::R tc) {
        return V::template Srl16<8>(V::Add16(V::Mul16(sc, ws), V::Mul16(tc, wt)));
    };
    const typename V::R r = mix(V::And(V::template Srl16<L::kHigh>(s), five), V::And(V::template Srl16<L::kHigh>(t), five));
    const typename V::R g =
        mix(V::And(V::template Srl16<L::kGreen>(s), green), V::And(V::template Srl16<L::kGreen>(t), green));
    const typename V::R b = mix(V::And(s, five), V::And(t, five));
    return V::Or(V::Or(V::template Sll16<L::kHigh>(r), V::template Sll16<L::kGreen>(g)), b);
}

// Exact mix of the colour bytes of 32-bit pixels, each byte widened to 16
// bits (255 × 256 = 65280 still fits an unsigned lane). ws and wt hold one
// weight per byte, laid out like the pixels. The fourth byte is the target's.
template <class V>
inline typename V::R MixBytesExactVector(typename V::R s, typename V::R t, typename V::R wsLo, typename V::R wsHi,
                                         typename V::R wtLo, typename V::R wtHi)
{
    const typename V::R zero = V::Zero();
    auto mix = [&](typename V::R sc, typename V::R tc, typename V::R ws, typename V::R wt) {
        return V::template Srl16<8>(V::Add16(V::Mul16(sc, ws), V::Mul16(tc, wt)));
    };
    const typename V::R lo = mix(V::UnpackLo8(s, zero), V::UnpackLo8(t, zero), wsLo, wtLo);
    const typename V::R hi = mix(V::UnpackHi8(s, zero), V::UnpackHi8(t, zero), wsHi, wtHi);
    return V::Select(V::Set32(0xFF000000u), t, V::PackUs16(lo, hi));
}

template <class V, bool Is565>
struct Blend16ExactVector {
    template <int Keys, bool MirrorX>
    struct Impl {
        static void Run(const BlitParams& p)
        {
            using R = typename V::R;
            const R ws = V::Set16(p.level), wt = V::Set16(256 - p.level);
            const R sk = V::Set16(p.srcKey), dk = V::Set16(p.dstKey);
            const auto block = [&](uint8_t* d, const uint8_t* s, const uint8_t*, int j, int) {
                const R sv = LoadSource<V, 2, MirrorX>(s, j, p.width), tv = V::Load(d + j * 2);
                R out = Mix16ExactVector<V, Is565>(sv, tv, ws, wt);
                if constexpr (Keys != KEYS_NONE)
                    out = V::Select(WriteMask<V, 2, Keys>(sv, tv, sk, dk), out, tv);
                V::Store(d + j * 2, out);
            };
            using Rule = typename LevelBlend<LevelExact16<Is565>>::template Rule<2, Keys>;
            ForEachVector<V, 2, MirrorX>(p, block, Rule());
        }
    };
};

template <class V>
struct Blend32ExactVector {
    template <int Keys, bool MirrorX>
    struct Impl {
        static void Run(const BlitParams& p)
        {
            using R = typename V::R;
            const R ws = V::Set16(p.level), wt = V::Set16(256 - p.level);
            const R sk = V::Set32(p.srcKey), dk = V::Set32(p.dstKey);
            const auto block = [&](uint8_t* d, const uint8_t* s, const uint8_t*, int j, int) {
                const R sv = LoadSource<V, 4, MirrorX>(s, j, p.width), tv = V::Load(d + j * 4);
                R out = MixBytesExactVector<V>(sv, tv, ws, ws, wt, wt);
                if constexpr (Keys != KEYS_NONE)
                    out = V::Select(WriteMask<V, 4, Keys>(sv, tv, sk, dk), out, tv);
                V::Store(d + j * 4, out);
            };
            using Rule = typename LevelBlend<LevelExactBytes>::template Rule<4, Keys>;
            ForEachVector<V, 4, MirrorX>(p, block, Rule());
        }
    };
};

// Opacity bytes j .. j + lanes - 1 in target order, widened to the pixel
// size (16 or 32 bits).
template <class V, int Bytes, bool MirrorX>
inline typename V::R LoadAlpha(const uint8_t* row, int j, int w)
{
    constexpr int kLanes = V::kBytes / Bytes;
    if constexpr (Bytes == 2) {
        if constexpr (!MirrorX)
            return V::LoadBytesAs16(row + j);
        else
            return V::Reverse16(V::LoadBytesAs16(row + w - j - kLanes));
    } else {
        if constexpr (!MirrorX)
            return V::LoadBytesAs32(row + j);
        else
            return V::Reverse32(V::LoadBytesAs32(row + w - j - kLanes));
    }
}

// Per-pixel alpha with exact weights a and 256 - a; a = 255 takes the source
// whole and a = 0 keeps the target whole.
template <class V, bool Is565>
struct Alpha16ExactVector {
    template <bool MirrorX>
    struct Impl {
        static void Run(const BlitParams& p)
        {
            using R = typename V::R;
            const R full = V::Set16(255), whole = V::Set16(256), zero = V::Zero();
            const auto block = [&](uint8_t* d, const uint8_t* s, const uint8_t* a, int j, int) {
                const R sv = LoadSource<V, 2, MirrorX>(s, j, p.width), tv = V::Load(d + j * 2);
                const R av = LoadAlpha<V, 2, MirrorX>(a, j, p.width);
                const R mixed = Mix16ExactVector<V, Is565>(sv, tv, av, V::Sub16(whole, av));
                const R kept = V::Select(V::Eq16(av, zero), tv, mixed);
                V::Store(d + j * 2, V::Select(V::Eq16(av, full), sv, kept));
            };
            ForEachVector<V, 2, MirrorX>(p, block, AlphaBlendRule<2, AlphaExact16<Is565>>());
        }
    };
};

// The 32-bit form: each pixel's opacity is spread over its four bytes
// (a × 0x01010101) so that it widens exactly like the pixel does. At a = 0
// the mix gives the target back whole, its fourth byte included.
template <class V>
struct Alpha32ExactVector {
    template <bool MirrorX>
    struct Impl {
        static void Run(const BlitParams& p)
        {
            using R = typename V::R;
            const R full = V::Set32(255), whole = V::Set16(256), zero = V::Zero();
            const auto block = [&](uint8_t* d, const uint8_t* s, const uint8_t* a, int j, int) {
                const R sv = LoadSource<V, 4, MirrorX>(s, j, p.width), tv = V::Load(d + j * 4);
                const R av = LoadAlpha<V, 4, MirrorX>(a, j, p.width);
                R spread = V::Or(av, V::template Sll32<8>(av));
                spread = V::Or(spread, V::template Sll32<16>(spread));
                const R lo = V::UnpackLo8(spread, zero), hi = V::UnpackHi8(spread, zero);
                const R mixed = MixBytesExactVector<V>(sv, tv, lo, hi, V::Sub16(whole, lo), V::Sub16(whole, hi));
                V::Store(d + j * 4, V::Select(V::Eq32(av, full), sv, mixed));
            };
            ForEachVector<V, 4, MirrorX>(p, block, AlphaBlendRule<4, AlphaExactBytes>());
        }
    };
};

// Blend fill with exact weights: colour k (weight 256 - level) over every
// pixel of the rectangle (weight level).
template <class V, bool Is565>
void BlendFillExactVector(uint8_t* bits, ptrdiff_t pitch, int x, int y, int w, int h, uint32_t colour,
                          uint32_t level)
{
    using R = typename V::R;
    constexpr int kLanes = V::kBytes / 2;
    const R k = V::Set16(colour), ws = V::Set16(256 - level), wt = V::Set16(level);
    for (int row = 0; row < h; ++row) {
        uint8_t* d = bits + (y + row) * pitch + ptrdiff_t(x) * 2;
        int j = 0;
        for (; j + kLanes <= w; j += kLanes)
            V::Store(d + j * 2, Mix16ExactVector<V, Is565>(k, V::Load(d + j * 2), ws, wt));
        for (; j < w; ++j)
            StorePixel<2>(d + j * 2, Mix16Exact<Is565>(colour, LoadPixel<2>(d + j * 2), 256 - level));
    }
}

} // namespace

// The entry points of one tier (see SimdKernels.h), for the tier's file to expand.
#define VELDRA_DEFINE_SIMD_KERNELS(tier)                                                                     \
    void Keyed8_##tier(const BlitParams& p) { RunSpecialised<KeyedVector<Vec, 1>::Impl>(p); }                \
    void Keyed16_##tier(const BlitParams& p) { RunSpecialised<KeyedVector<Vec, 2>::Impl>(p); }               \
    void Stipple8_##tier(const BlitParams& p) { RunSpecialised<StippleVector8<Vec>::Impl>(p); }              \
    void Blend555Exact_##tier(const BlitParams& p) { RunSpecialised<Blend16ExactVector<Vec, false>::Impl>(p); } \
    void Blend565Exact_##tier(const BlitParams& p) { RunSpecialised<Blend16ExactVector<Vec, true>::Impl>(p); } \
    void Blend32Exact_##tier(const BlitParams& p) { RunSpecialised<Blend32ExactVector<Vec>::Impl>(p); }      \
    void Alpha555Exact_##tier(const BlitParams& p)                                                           \
    {                                                                                                        \
        RunMirrorSpecialised<Alpha16ExactVector<Vec, false>::Impl>(p);                                       \
    }                                                                                                        \
    void Alpha565Exact_##tier(const BlitParams& p) { RunMirrorSpecialised<Alpha16ExactVector<Vec, true>::Impl>(p); } \
    void Alpha32Exact_##tier(const BlitParams& p) { RunMirrorSpecialised<Alpha32ExactVector<Vec>::Impl>(p); } \
    void BlendFill555Exact_##tier(uint8_t* bits, ptrdiff_t pitch, int x, int y, int w, int h, uint32_t colour, \
                                  uint32_t level)                                                            \
    {                                                                                                        \
        BlendFillExactVector<Vec, false>(bits, pitch, x, y, w, h, colour, level);                            \
    }                                                                                                        \
    void BlendFill565Exact_##tier(uint8_t* bits, ptrdiff_t pitch, int x, int y, int w, int h, uint32_t colour, \
                                  uint32_t level)                                                            \
    {                                                                                                        \
        BlendFillExactVector<Vec, true>(bits, pitch, x, y, w, h, colour, level);                             \
    }
