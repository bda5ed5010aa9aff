#include "editor/ToolParams.h"

namespace {

bool Within(int value, int low, int high)
{
    return value >= low && value <= high;
}

} // namespace

bool ResizeParams::IsValid() const
{
    return Within(width, kMinSide, kMaxSide) && Within(height, kMinSide, kMaxSide);
}

bool CanvasParams::IsValid() const
{
    return Within(width, kMinSide, kMaxSide) && Within(height, kMinSide, kMaxSide) &&
           Within(x, kMinOffset, kMaxOffset) && Within(y, kMinOffset, kMaxOffset);
}

bool TimeStretchParams::IsValid() const
{
    return Within(frames, kMinFrames, kMaxFrames);
}

bool ColourDepthParams::IsValid() const
{
    switch (target) {
    case ColourTarget::Index8:
    case ColourTarget::Rgb555:
    case ColourTarget::Rgb565:
    case ColourTarget::Rgb24:
    case ColourTarget::Rgb32:
        break;
    default:
        return false;
    }
    switch (method) {
    case ColourMethod::Octree:
    case ColourMethod::Box5:
    case ColourMethod::Box6:
    case ColourMethod::KMeans:
        break;
    default:
        return false;
    }
    return Within(colours, kMinColours, kMaxColours);
}
