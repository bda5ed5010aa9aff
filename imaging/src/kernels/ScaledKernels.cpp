// Portable scaled kernels. Source columns and rows are picked with integer
// error accumulators (nearest-lower sampling): target column j shows source
// column floor(j × srcWidth / width), counted from the right when mirrored.
// The step is split into a quotient and a remainder, so a huge source
// squeezed into a few pixels costs no more per pixel than any other.

#include "kernels/BlitKernels.h"
#include "kernels/PixelOps.h"
#include "kernels/PortableKernels.h"

namespace {

// Walks the target rectangle and calls draw(target pixel, source pixel offset
// in the row, source row, j, k) for every target pixel.
template <int Bytes, bool MirrorX, class Draw>
inline void WalkScaled(const BlitParams& p, Draw draw)
{
    const int dw = p.width, dh = p.height, sw = p.srcWidth, sh = p.srcHeight;
    const int qx = sw / dw, rx = sw % dw, qy = sh / dh, ry = sh % dh;
    const int dir = MirrorX ? -1 : 1;
    int row = 0, rowErr = 0;
    for (int k = 0; k < dh; ++k) {
        uint8_t* d = p.dst + k * p.dstPitch;
        int col = MirrorX ? sw - 1 : 0, err = 0;
        for (int j = 0; j < dw; ++j) {
            draw(d + j * Bytes, col, row, j, k);
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

template <int Bytes, bool Stippled>
struct ScaledCopy {
    template <int Keys, bool MirrorX>
    struct Impl {
        static void Run(const BlitParams& p)
        {
            const uint32_t level = p.level >> 2;
            WalkScaled<Bytes, MirrorX>(p, [&](uint8_t* d, int col, int row, int j, int k) {
                if (Stippled && !StippleAllows(p.dstX + j, p.dstY + k, level))
                    return;
                const uint32_t sv = LoadPixel<Bytes>(p.src + row * p.srcPitch + col * Bytes);
                const uint32_t tv = (Keys & KEYS_DEST) ? LoadPixel<Bytes>(d) : 0;
                if (KeyAllows<Keys>(sv, tv, p.srcKey, p.dstKey))
                    StorePixel<Bytes>(d, sv);
            });
        }
    };
};

template <bool Is565>
struct ScaledAlpha16 {
    template <bool MirrorX>
    struct Impl {
        static void Run(const BlitParams& p)
        {
            WalkScaled<2, MirrorX>(p, [&](uint8_t* d, int col, int row, int, int) {
                const uint32_t sv = LoadPixel<2>(p.src + row * p.srcPitch + col * 2);
                const uint32_t a = p.alpha[row * p.alphaPitch + col];
                StorePixel<2>(d, Alpha16Table<Is565>(sv, LoadPixel<2>(d), a));
            });
        }
    };
};

} // namespace

void ScaledKeyed8Portable(const BlitParams& p) { RunSpecialised<ScaledCopy<1, false>::Impl>(p); }
void ScaledKeyed16Portable(const BlitParams& p) { RunSpecialised<ScaledCopy<2, false>::Impl>(p); }
void ScaledKeyed24Portable(const BlitParams& p) { RunSpecialised<ScaledCopy<3, false>::Impl>(p); }
void ScaledKeyed32Portable(const BlitParams& p) { RunSpecialised<ScaledCopy<4, false>::Impl>(p); }
void ScaledStipple8Portable(const BlitParams& p) { RunSpecialised<ScaledCopy<1, true>::Impl>(p); }
void ScaledStipple16Portable(const BlitParams& p) { RunSpecialised<ScaledCopy<2, true>::Impl>(p); }
void ScaledStipple24Portable(const BlitParams& p) { RunSpecialised<ScaledCopy<3, true>::Impl>(p); }
void ScaledStipple32Portable(const BlitParams& p) { RunSpecialised<ScaledCopy<4, true>::Impl>(p); }
void ScaledAlpha555Portable(const BlitParams& p) { RunMirrorSpecialised<ScaledAlpha16<false>::Impl>(p); }
void ScaledAlpha565Portable(const BlitParams& p) { RunMirrorSpecialised<ScaledAlpha16<true>::Impl>(p); }
