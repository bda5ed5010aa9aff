#include "blit/BlitKernelChoice.h"

#include "imaging/BlitFlags.h"

namespace {

using Id = BlitKernelId;

bool Is565(PixelFormat f)
{
    return f == PF_RGB565 || f == PF_BGR565;
}

BlitKernelChoice Portable(Id id, bool needsAlpha = false)
{
    return {true, id, BlitTier::Portable, needsAlpha};
}

BlitKernelChoice Vector(Id id, bool needsAlpha = false)
{
    return {true, id, BestSimdTier(), needsAlpha};
}

BlitKernelChoice ChooseScaled(uint32_t bits, PixelFormat format, uint32_t flags)
{
    // Scaling knows no blend: BLIT_BLEND acts as BLIT_STIPPLE, and of the
    // alpha flags only BLIT_ALPHA on 16 bits is honoured.
    const bool stippled = flags & (BLIT_STIPPLE | BLIT_BLEND);
    switch (bits) {
    case 8: return Portable(stippled ? Id::ScaledStipple8 : Id::ScaledKeyed8);
    case 16:
        if (flags & BLIT_ALPHA)
            return Portable(Is565(format) ? Id::ScaledAlpha565 : Id::ScaledAlpha555, true);
        return Portable(stippled ? Id::ScaledStipple16 : Id::ScaledKeyed16);
    case 24: return Portable(stippled ? Id::ScaledStipple24 : Id::ScaledKeyed24);
    case 32: return Portable(stippled ? Id::ScaledStipple32 : Id::ScaledKeyed32);
    default: return {};
    }
}

} // namespace

BlitKernelChoice ChooseBlitKernel(PixelFormat format, uint32_t flags, bool scaled, bool simd)
{
    const uint32_t bits = PixelFormatBits(format);
    if (scaled)
        return ChooseScaled(bits, format, flags);

    // "Vector" in the table below: allowed, and not mirrored horizontally.
    const bool vector = simd && !(flags & BLIT_MIRROR_X);
    const bool stippled = flags & (BLIT_STIPPLE | BLIT_BLEND);
    switch (bits) {
    case 8:
        if (flags & (BLIT_ALPHA | BLIT_ALPHA_STIPPLE))
            return Portable(Id::AlphaStipple8, true);
        if (!stippled) {
            if (vector)
                return Vector(Id::Keyed8);
            return Portable(flags == 0 ? Id::Copy8 : Id::Keyed8);
        }
        return vector ? Vector(Id::Stipple8) : Portable(Id::Stipple8);
    case 16:
        if (flags & BLIT_ALPHA) {
            if (vector)
                return Vector(Is565(format) ? Id::Alpha565Exact : Id::Alpha555Exact, true);
            return Portable(Is565(format) ? Id::Alpha565 : Id::Alpha555, true);
        }
        if (flags & BLIT_ALPHA_STIPPLE)
            return Portable(Id::AlphaStipple16, true);
        if (flags & BLIT_STIPPLE)
            return Portable(Id::Stipple16);
        if (flags & BLIT_BLEND) {
            if (simd)
                return Vector(Is565(format) ? Id::Blend565Exact : Id::Blend555Exact);
            return Portable(Is565(format) ? Id::Blend565 : Id::Blend555);
        }
        if (vector)
            return Vector(Id::Keyed16);
        return Portable(flags == 0 ? Id::Copy16 : Id::Keyed16);
    case 24:
        if (flags & BLIT_ALPHA)
            return Portable(Id::Alpha24, true);
        if (flags & BLIT_ALPHA_STIPPLE)
            return Portable(Id::AlphaStipple24, true);
        if (flags & BLIT_BLEND)
            return Portable(Id::Blend24);
        return Portable(flags & BLIT_STIPPLE ? Id::Stipple24 : Id::Keyed24);
    case 32:
        if (flags & BLIT_ALPHA)
            return simd ? Vector(Id::Alpha32Exact, true) : Portable(Id::Alpha32, true);
        if (flags & BLIT_ALPHA_STIPPLE)
            return Portable(Id::AlphaStipple32, true);
        if (flags & BLIT_BLEND)
            return simd ? Vector(Id::Blend32Exact) : Portable(Id::Blend32);
        return Portable(flags & BLIT_STIPPLE ? Id::Stipple32 : Id::Keyed32);
    default:
        return {};
    }
}
