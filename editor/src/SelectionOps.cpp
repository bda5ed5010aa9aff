#include "editor/SelectionOps.h"

#include "FrameTools.h"
#include "PackedFrames.h"
#include "imaging/CDibSection.h"
#include "sprites/CDibPacked.h"

#include <algorithm>
#include <cstring>

namespace {

PaintRect Clip(const CDib& image, PaintRect rect)
{
    rect.left = std::max(rect.left, 0);
    rect.top = std::max(rect.top, 0);
    rect.right = std::min(rect.right, image.GetWidth());
    rect.bottom = std::min(rect.bottom, image.GetHeight());
    return rect.IsEmpty() ? PaintRect{} : rect;
}

// `from` drawn onto `image` at (x, y) with whole-byte pixels of one format;
// pictures of fewer bits go through the picture's own pixel reads.
PaintRect DrawAt(CDib& image, CDib& from, int x, int y)
{
    const PaintRect target = Clip(image, PaintRect{x, y, x + from.GetWidth(), y + from.GetHeight()});
    if (target.IsEmpty())
        return {};
    for (int row = target.top; row < target.bottom; ++row)
        for (int column = target.left; column < target.right; ++column)
            image.SetPixel(column, row, from.GetPixel(column - x, row - y));
    return target;
}

} // namespace

PaintRect SelectionRect(const CDib& image, int x0, int y0, int x1, int y1)
{
    return Clip(image, PaintRect{std::min(x0, x1), std::min(y0, y1), std::max(x0, x1) + 1, std::max(y0, y1) + 1});
}

std::vector<uint8_t> CopyArea(CDib& image, const PaintRect& area)
{
    const PaintRect clipped = Clip(image, area);
    if (clipped.IsEmpty())
        return {};
    CDibSection part;
    if (part.Create(clipped.right - clipped.left, clipped.bottom - clipped.top, image.GetFormat()) != DIB_OK ||
        (image.GetPalette() && part.SetPalette(image.GetPalette()) != DIB_OK))
        return {};
    DrawAt(part, image, -clipped.left, -clipped.top);
    return PlainPictureOf(part);
}

PaintRect PasteArea(CDib& image, const uint8_t* picture, size_t size, int x, int y)
{
    FrameRef frame;
    if (!image.IsCreated() || FrameFromPicture(picture, size, frame) != EditorStatus::Ok)
        return {};
    CDibSection pasted;
    if (DecodeFrame(frame.get(), pasted) != DIB_OK)
        return {};
    const bool indexed = PixelFormatIsIndexed(image.GetFormat());
    if (pasted.GetFormat() != image.GetFormat() || indexed) {
        if (pasted.ConvertFormat(image.GetFormat(), indexed ? image.GetPalette() : nullptr, 0) != DIB_OK)
            return {};
    }
    return DrawAt(image, pasted, x, y);
}

PaintRect MoveArea(CDib& image, const PaintRect& area, int dx, int dy, EditorColour background)
{
    const PaintRect clipped = Clip(image, area);
    if (clipped.IsEmpty() || (dx == 0 && dy == 0))
        return {};
    const std::vector<uint8_t> lifted = CopyArea(image, clipped);
    if (lifted.empty())
        return {};
    const PaintRect cleared = PaintFilledRectangle(image, clipped.left, clipped.top, clipped.right - 1,
                                                   clipped.bottom - 1, background);
    return Union(cleared, PasteArea(image, lifted.data(), lifted.size(), clipped.left + dx, clipped.top + dy));
}
