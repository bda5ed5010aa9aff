// Portable scaled kernels. Source columns and rows are picked with integer
// error accumulators (nearest-lower sampling): target column j shows source
// column floor(j × srcWidth / width), counted from the right when mirrored.
// The step is split into a quotient and a remainder, so a huge source
// squeezed into a few pixels costs no more per pixel than any other.

#include "kernels/rect/BlitKernels.h"
#include "kernels/rect/PixelOps.h"
#include "kernels/rect/PortableKernels.h"

#include <cstring>

namespace {

// Applies a pixel rule to every target pixel with the source pixel (and
// opacity) the accumulators pick for it.
template <int Bytes, bool MirrorX, class Rule>
void WalkScaled(const BlitParams& p, const Rule& rule)
{
    const int dw = p.width, dh = p.height, sw = p.srcWidth, sh = p.srcHeight;
    const int qx = sw / dw, rx = sw % dw, qy = sh / dh, ry = sh % dh;
    const int dir = MirrorX ? -1 : 1;
    int row = 0, rowErr = 0;
    for (int k = 0; k < dh; ++k) {
        uint8_t* d = p.dst + k * p.dstPitch;
        const uint8_t* s = p.src + row * p.srcPitch;
        const uint8_t* a = p.alpha ? p.alpha + row * p.alphaPitch : nullptr;
        int col = MirrorX ? sw - 1 : 0, err = 0;
        for (int j = 0; j < dw; ++j) {
            rule(p, d + j * Bytes, s + col * Bytes, a, col, j, k);
            col += dir * qx;
            err += rx;
            if (err >= dw) {
                err -= dw;
                col += dir;
            }
        }
        row += qy;
        rowErr += ry;
        if (rowErr >= dh) {
            rowErr -= dh;
            ++row;
        }
    }
}

// A plain scaled copy (no keys), row by row: a target row that shows the
// same source row as the row above is a copy of that row, and a row at the
// source's own width (unmirrored) is the source row as it is; only rows that
// really stretch are walked pixel by pixel. What lands in every pixel is what
// WalkScaled would put there.
template <int Bytes, bool MirrorX>
void CopyScaled(const BlitParams& p)
{
    const int dw = p.width, dh = p.height, sw = p.srcWidth, sh = p.srcHeight;
    const int qy = sh / dh, ry = sh % dh;
    const size_t rowBytes = size_t(dw) * Bytes;
    const KeyedRule<Bytes, 0> copy;
    int row = 0, rowErr = 0, shown = -1;
    for (int k = 0; k < dh; ++k) {
        uint8_t* d = p.dst + k * p.dstPitch;
        const uint8_t* s = p.src + row * p.srcPitch;
        if (row == shown) {
            std::memmove(d, d - p.dstPitch, rowBytes);
        } else if (!MirrorX && sw == dw) {
            std::memmove(d, s, rowBytes);
        } else {
            const int qx = sw / dw, rx = sw % dw, dir = MirrorX ? -1 : 1;
            int col = MirrorX ? sw - 1 : 0, err = 0;
            for (int j = 0; j < dw; ++j) {
                copy(p, d + j * Bytes, s + col * Bytes, nullptr, col, j, k);
                col += dir * qx;
                err += rx;
                if (err >= dw) {
                    err -= dw;
                    col += dir;
                }
            }
        }
        shown = row;
        row += qy;
        rowErr += ry;
        if (rowErr >= dh) {
            rowErr -= dh;
            ++row;
        }
    }
}

template <int Bytes, template <int, int> class Rule>
struct ScaledKeyedLoop {
    template <int Keys, bool MirrorX>
    struct Impl {
        static void Run(const BlitParams& p) { WalkScaled<Bytes, MirrorX>(p, Rule<Bytes, Keys>()); }
    };
};

// Keyed scaling, or the row-wise copy when no key is asked for.
template <int Bytes>
struct ScaledCopyOrKeyed {
    template <int Keys, bool MirrorX>
    struct Impl {
        static void Run(const BlitParams& p)
        {
            if constexpr (Keys == 0)
                CopyScaled<Bytes, MirrorX>(p);
            else
                WalkScaled<Bytes, MirrorX>(p, KeyedRule<Bytes, Keys>());
        }
    };
};

template <bool Is565>
struct ScaledAlpha16 {
    template <bool MirrorX>
    struct Impl {
        static void Run(const BlitParams& p) { WalkScaled<2, MirrorX>(p, AlphaBlendRule<2, AlphaTable16<Is565>>()); }
    };
};

} // namespace

void ScaledKeyed8Portable(const BlitParams& p) { RunSpecialised<ScaledCopyOrKeyed<1>::Impl>(p); }
void ScaledKeyed16Portable(const BlitParams& p) { RunSpecialised<ScaledCopyOrKeyed<2>::Impl>(p); }
void ScaledKeyed24Portable(const BlitParams& p) { RunSpecialised<ScaledCopyOrKeyed<3>::Impl>(p); }
void ScaledKeyed32Portable(const BlitParams& p) { RunSpecialised<ScaledCopyOrKeyed<4>::Impl>(p); }
void ScaledStipple8Portable(const BlitParams& p) { RunSpecialised<ScaledKeyedLoop<1, StippleRule>::Impl>(p); }
void ScaledStipple16Portable(const BlitParams& p) { RunSpecialised<ScaledKeyedLoop<2, StippleRule>::Impl>(p); }
void ScaledStipple24Portable(const BlitParams& p) { RunSpecialised<ScaledKeyedLoop<3, StippleRule>::Impl>(p); }
void ScaledStipple32Portable(const BlitParams& p) { RunSpecialised<ScaledKeyedLoop<4, StippleRule>::Impl>(p); }
void ScaledAlpha555Portable(const BlitParams& p) { RunMirrorSpecialised<ScaledAlpha16<false>::Impl>(p); }
void ScaledAlpha565Portable(const BlitParams& p) { RunMirrorSpecialised<ScaledAlpha16<true>::Impl>(p); }
