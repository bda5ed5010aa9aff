#include "GroundKernels.h"

#include "imaging/CpuFeatures.h"

#include <cstring>

namespace {

// One axis of the walk along the row: `value` starts at the left point and
// moves by ⌊j·|span|/n⌋ towards the right point.
struct AxisWalk {
    int32_t value;
    int32_t whole; // sign · (|span| div n): the part of a step every sample takes
    int32_t sign;
    int64_t remainder, error, samples;

    AxisWalk(int32_t start, int32_t span, int n)
        : value(start), sign(span < 0 ? -1 : 1), remainder(0), error(0), samples(n)
    {
        const int64_t magnitude = span < 0 ? -int64_t(span) : int64_t(span);
        whole = int32_t(magnitude / n) * sign;
        remainder = magnitude % n;
    }
    void Advance()
    {
        value += whole;
        error += remainder;
        if (error >= samples) {
            error -= samples;
            value += sign;
        }
    }
};

template <typename Pixel, bool Doubled>
void GroundRowPortable(const GroundRow& row)
{
    AxisWalk u(row.uLeft, row.uSpan, row.samples), v(row.vLeft, row.vSpan, row.samples);
    const auto* texture = static_cast<const Pixel*>(row.texture);
    auto* out = reinterpret_cast<Pixel*>(row.target);
    for (int j = 0; j < row.samples; ++j) {
        const Pixel pixel = texture[((uint32_t(v.value) & 255u) << 8) | (uint32_t(u.value) & 255u)];
        if constexpr (Doubled) {
            // memcpy keeps the unaligned stores well defined.
            const Pixel pair[2] = {pixel, pixel};
            std::memcpy(out + 2 * j, pair, sizeof pair);
        } else {
            std::memcpy(out + j, &pixel, sizeof pixel);
        }
        u.Advance();
        v.Advance();
    }
}

} // namespace

GroundRowKernel PortableGroundKernel(GroundPixels pixels, bool doubleWidth)
{
    if (pixels == GroundPixels::Index8)
        return doubleWidth ? GroundRowPortable<uint8_t, true> : GroundRowPortable<uint8_t, false>;
    return doubleWidth ? GroundRowPortable<uint16_t, true> : GroundRowPortable<uint16_t, false>;
}

GroundRowKernel ChooseGroundKernel(GroundPixels pixels, bool doubleWidth, bool simd)
{
    if (simd && CpuHasAvx2())
        if (GroundRowKernel kernel = Avx2GroundKernel(pixels, doubleWidth))
            return kernel;
    return PortableGroundKernel(pixels, doubleWidth);
}
