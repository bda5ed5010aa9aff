#include "editor/PaintOps.h"

#include "FrameTools.h"
#include "imaging/CDib.h"
#include "imaging/CDibPalette.h"
#include "imaging/ConvertPixels.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace {

// Whole or packed pixels of a locked picture, addressed from the top row.
// Packed pixels (1, 2, 4 bits) sit the bitmap way: the leftmost in the most
// significant bits of its byte. Wider pixels are little-endian.
class PixelAccess {
public:
    explicit PixelAccess(CDib& image) : m_image(image)
    {
        m_width = image.GetWidth();
        m_height = image.GetHeight();
        m_bitsPerPixel = PixelFormatBits(image.GetFormat());
        m_locked = image.IsCreated() && image.Lock(&m_bits, &m_pitch) == DIB_OK;
        m_bottomUp = image.IsBottomUp() != 0;
    }
    ~PixelAccess()
    {
        if (m_locked)
            m_image.Unlock();
    }
    PixelAccess(const PixelAccess&) = delete;
    PixelAccess& operator=(const PixelAccess&) = delete;

    bool IsUsable() const { return m_locked && m_bitsPerPixel >= 1 && m_bitsPerPixel <= 32; }
    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < m_width && y < m_height; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }

    uint32_t Get(int x, int y) const
    {
        const uint8_t* row = Row(y);
        if (m_bitsPerPixel < 8) {
            const size_t bit = size_t(x) * m_bitsPerPixel;
            const uint32_t shift = 8 - m_bitsPerPixel - uint32_t(bit % 8);
            return (row[bit / 8] >> shift) & ((1u << m_bitsPerPixel) - 1);
        }
        const uint8_t* pixel = row + size_t(x) * (m_bitsPerPixel / 8);
        uint32_t value = 0;
        for (uint32_t i = 0; i < m_bitsPerPixel / 8; ++i)
            value |= uint32_t(pixel[i]) << (8 * i);
        return value;
    }

    void Set(int x, int y, uint32_t value)
    {
        uint8_t* row = Row(y);
        if (m_bitsPerPixel < 8) {
            const size_t bit = size_t(x) * m_bitsPerPixel;
            const uint32_t shift = 8 - m_bitsPerPixel - uint32_t(bit % 8);
            const uint32_t mask = ((1u << m_bitsPerPixel) - 1) << shift;
            row[bit / 8] = uint8_t((row[bit / 8] & ~mask) | ((value << shift) & mask));
            return;
        }
        uint8_t* pixel = row + size_t(x) * (m_bitsPerPixel / 8);
        for (uint32_t i = 0; i < m_bitsPerPixel / 8; ++i)
            pixel[i] = uint8_t(value >> (8 * i));
    }

    const uint8_t* Address(int x, int y) const { return Row(y) + size_t(x) * (m_bitsPerPixel / 8); }

private:
    uint8_t* Row(int y) const
    {
        const int memoryRow = m_bottomUp ? m_height - 1 - y : y;
        return m_bits + ptrdiff_t(memoryRow) * m_pitch;
    }

    CDib& m_image;
    uint8_t* m_bits = nullptr;
    int m_pitch = 0;
    int m_width = 0;
    int m_height = 0;
    uint32_t m_bitsPerPixel = 0;
    bool m_locked = false;
    bool m_bottomUp = false;
};

void Include(PaintRect& rect, int x, int y)
{
    if (rect.IsEmpty()) {
        rect = {x, y, x + 1, y + 1};
        return;
    }
    rect.left = std::min(rect.left, x);
    rect.top = std::min(rect.top, y);
    rect.right = std::max(rect.right, x + 1);
    rect.bottom = std::max(rect.bottom, y + 1);
}

// The corners of a rectangle given in any order, ordered and clipped to the
// picture: the rows and columns of the picture that the rectangle covers,
// and whether each of its four sides lies inside. Kept in 64 bits until
// clipped, so corners near the ends of int never overflow.
struct ClippedRect {
    int left = 0, top = 0, right = -1, bottom = -1; // inclusive; empty when right < left or bottom < top
    bool leftInside = false, topInside = false, rightInside = false, bottomInside = false;
    bool IsEmpty() const { return right < left || bottom < top; }
};

ClippedRect ClipCorners(const PixelAccess& pixels, int x0, int y0, int x1, int y1)
{
    const int64_t left = std::min(x0, x1), right = std::max(x0, x1);
    const int64_t top = std::min(y0, y1), bottom = std::max(y0, y1);
    ClippedRect clipped;
    clipped.left = int(std::max<int64_t>(left, 0));
    clipped.right = int(std::min<int64_t>(right, int64_t(pixels.Width()) - 1));
    clipped.top = int(std::max<int64_t>(top, 0));
    clipped.bottom = int(std::min<int64_t>(bottom, int64_t(pixels.Height()) - 1));
    clipped.leftInside = clipped.left == left;
    clipped.rightInside = clipped.right == right;
    clipped.topInside = clipped.top == top;
    clipped.bottomInside = clipped.bottom == bottom;
    return clipped;
}

// Sets columns left to right (inclusive) of row y, all inside the picture.
void SetRun(PixelAccess& pixels, int y, int left, int right, uint32_t value, PaintRect& changed)
{
    for (int x = left; x <= right; ++x)
        pixels.Set(x, y, value);
    Include(changed, left, y);
    Include(changed, right, y);
}

enum class RectArea { Outline, Whole };

PaintRect PaintRectArea(CDib& image, int x0, int y0, int x1, int y1, EditorColour colour, RectArea area)
{
    PaintRect changed;
    PixelAccess pixels(image);
    if (!pixels.IsUsable())
        return changed;
    const ClippedRect rect = ClipCorners(pixels, x0, y0, x1, y1);
    if (rect.IsEmpty())
        return changed;
    const uint32_t value = PixelOfColour(image, colour);
    if (area == RectArea::Whole) {
        for (int y = rect.top; y <= rect.bottom; ++y)
            SetRun(pixels, y, rect.left, rect.right, value, changed);
        return changed;
    }
    // A side outside the picture is left out rather than drawn along the
    // edge, so the part of the outline inside is where the whole one runs.
    if (rect.topInside)
        SetRun(pixels, rect.top, rect.left, rect.right, value, changed);
    if (rect.bottomInside)
        SetRun(pixels, rect.bottom, rect.left, rect.right, value, changed);
    for (int y = rect.top; y <= rect.bottom; ++y) {
        if (rect.leftInside)
            SetRun(pixels, y, rect.left, rect.left, value, changed);
        if (rect.rightInside)
            SetRun(pixels, y, rect.right, rect.right, value, changed);
    }
    return changed;
}

} // namespace

PaintRect PaintLine(CDib& image, int x0, int y0, int x1, int y1, EditorColour colour)
{
    PaintRect changed;
    PixelAccess pixels(image);
    if (!pixels.IsUsable())
        return changed;
    const uint32_t value = PixelOfColour(image, colour);
    // Bresenham over the whole line; the points outside are skipped, so the
    // part inside lies exactly where the unclipped line runs. Mouse positions
    // stay within a few screens of the picture, so the walk is short. The
    // walk stays between the two ends, so every point fits an int.
    const int64_t dx = std::llabs(int64_t(x1) - x0), dy = -std::llabs(int64_t(y1) - y0);
    const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    int64_t error = dx + dy;
    int64_t x = x0, y = y0;
    for (;;) {
        if (pixels.Contains(int(x), int(y))) {
            pixels.Set(int(x), int(y), value);
            Include(changed, int(x), int(y));
        }
        if (x == x1 && y == y1)
            break;
        const int64_t twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x += sx;
        }
        if (twice <= dx) {
            error += dx;
            y += sy;
        }
    }
    return changed;
}

PaintRect PaintRectangle(CDib& image, int x0, int y0, int x1, int y1, EditorColour colour)
{
    return PaintRectArea(image, x0, y0, x1, y1, colour, RectArea::Outline);
}

PaintRect PaintFilledRectangle(CDib& image, int x0, int y0, int x1, int y1, EditorColour colour)
{
    return PaintRectArea(image, x0, y0, x1, y1, colour, RectArea::Whole);
}

PaintRect FloodFill(CDib& image, int x, int y, EditorColour colour)
{
    PaintRect changed;
    PixelAccess pixels(image);
    if (!pixels.IsUsable() || !pixels.Contains(x, y))
        return changed;
    const uint32_t target = pixels.Get(x, y);
    const uint32_t value = PixelOfColour(image, colour);
    if (target == value)
        return changed;
    // Scanline fill: each popped seed fills its whole run of the target value
    // and seeds the runs above and below it. Filled pixels no longer hold the
    // target, so every pixel is filled once and the stack stays bounded by
    // the picture's size.
    std::vector<std::pair<int, int>> seeds{{x, y}};
    while (!seeds.empty()) {
        const auto [seedX, seedY] = seeds.back();
        seeds.pop_back();
        if (pixels.Get(seedX, seedY) != target)
            continue;
        int left = seedX, right = seedX;
        while (left > 0 && pixels.Get(left - 1, seedY) == target)
            --left;
        while (right + 1 < pixels.Width() && pixels.Get(right + 1, seedY) == target)
            ++right;
        for (int i = left; i <= right; ++i)
            pixels.Set(i, seedY, value);
        Include(changed, left, seedY);
        Include(changed, right, seedY);
        for (int row : {seedY - 1, seedY + 1}) {
            if (row < 0 || row >= pixels.Height())
                continue;
            bool inRun = false;
            for (int i = left; i <= right; ++i) {
                const bool matches = pixels.Get(i, row) == target;
                if (matches && !inRun)
                    seeds.emplace_back(i, row);
                inRun = matches;
            }
        }
    }
    return changed;
}

bool ColourAt(CDib& image, int x, int y, EditorColour& colour)
{
    PixelAccess pixels(image);
    if (!pixels.IsUsable() || !pixels.Contains(x, y))
        return false;
    const PixelFormat format = image.GetFormat();
    if (PixelFormatIsIndexed(format)) {
        const CDibPalette* palette = image.GetPalette();
        const uint32_t index = pixels.Get(x, y);
        if (!palette || int(index) >= palette->GetCount()) {
            colour = EditorColour{0, 0, 0};
            return true;
        }
        const PaletteEntry& entry = palette->Entries()[index];
        colour = EditorColour{entry.red, entry.green, entry.blue};
        return true;
    }
    // Widened the way every conversion of the picture widens it, so the
    // dropper reports what the view shows.
    uint8_t rgb[4] = {};
    if (!ConvertPixels(rgb, PF_RGB24, pixels.Address(x, y), 1, 1, 4, 4, format, nullptr, nullptr, 0))
        return false;
    colour = EditorColour{rgb[2], rgb[1], rgb[0]};
    return true;
}

EditorColour PaintedColour(CDib& image, EditorColour colour)
{
    if (!image.IsCreated())
        return colour;
    const PixelFormat format = image.GetFormat();
    const uint32_t pixel = PixelOfColour(image, colour);
    if (PixelFormatIsIndexed(format)) {
        const CDibPalette* palette = image.GetPalette();
        if (!palette || int(pixel) >= palette->GetCount())
            return colour;
        const PaletteEntry& entry = palette->Entries()[pixel];
        return EditorColour{entry.red, entry.green, entry.blue, int(pixel)};
    }
    // The pixel widened as ColourAt widens it.
    uint8_t bytes[4] = {};
    for (uint32_t i = 0; i < PixelFormatBytes(format) && i < 4; ++i)
        bytes[i] = uint8_t(pixel >> (8 * i));
    uint8_t rgb[4] = {};
    if (!ConvertPixels(rgb, PF_RGB24, bytes, 1, 1, 4, 4, format, nullptr, nullptr, 0))
        return colour;
    return EditorColour{rgb[2], rgb[1], rgb[0]};
}

PaintRect Union(const PaintRect& a, const PaintRect& b)
{
    if (a.IsEmpty())
        return b;
    if (b.IsEmpty())
        return a;
    return PaintRect{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                     std::max(a.bottom, b.bottom)};
}
