#include "palette/CPictureMapper.h"

#include <algorithm>
#include <cstdlib>

namespace {

std::vector<PaletteEntry> UsableOnly(const PaletteEntry* entries, const std::vector<bool>& usable)
{
    std::vector<PaletteEntry> copy(entries, entries + 256);
    for (size_t i = 0; i < copy.size(); ++i)
        copy[i].flags = i > 0 && i < usable.size() && usable[i] ? 0 : PALETTE_FLAG_RESERVED;
    return copy;
}

int Channel(uint32_t argb, int shift) { return int(argb >> shift & 0xFF); }

} // namespace

CPictureMapper::CPictureMapper(const PaletteEntry* entries, const std::vector<bool>& usable)
    : m_entries(entries, entries + 256), m_nearest(UsableOnly(entries, usable).data(), 256)
{
}

std::vector<uint8_t> CPictureMapper::Map(const RgbaImage& image, Dithering dithering)
{
    const int w = image.width, h = image.height;
    std::vector<uint8_t> indices(size_t(w) * h, 0);
    auto opaque = [&](int x, int y) { return x >= 0 && y >= 0 && x < w && y < h && (image.Get(x, y) >> 24) != 0; };

    // Which pixels are dithered: opaque with every neighbour opaque, no
    // large change towards the neighbours (an edge), and some change within
    // a few pixels along the row or the column (a slow gradient changes
    // only every few rows; a flat area nowhere).
    std::vector<uint8_t> smooth(size_t(w) * h, 0);
    if (dithering == Dithering::Smooth)
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                if (!opaque(x, y))
                    continue;
                const uint32_t p = image.Get(x, y);
                auto difference = [&](int nx, int ny) {
                    const uint32_t q = image.Get(std::clamp(nx, 0, w - 1), std::clamp(ny, 0, h - 1));
                    int most = 0;
                    for (int shift : {16, 8, 0})
                        most = std::max(most, std::abs(Channel(p, shift) - Channel(q, shift)));
                    return most;
                };
                int change = 0;
                bool inside = true;
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx) {
                        inside = inside && opaque(std::clamp(x + dx, 0, w - 1), std::clamp(y + dy, 0, h - 1));
                        change = std::max(change, difference(x + dx, y + dy));
                    }
                bool varies = change > 0;
                for (int d = 2; d <= kFlatReach && !varies; ++d)
                    varies = difference(x - d, y) || difference(x + d, y) || difference(x, y - d) ||
                             difference(x, y + d);
                smooth[size_t(y) * w + x] = inside && varies && change <= kSmoothLimit;
            }

    // Floyd-Steinberg in serpentine order; two rows of carried error.
    std::vector<int> current(size_t(w + 2) * 3, 0), next(size_t(w + 2) * 3, 0);
    for (int y = 0; y < h; ++y) {
        const bool leftToRight = (y % 2) == 0;
        std::fill(next.begin(), next.end(), 0);
        for (int i = 0; i < w; ++i) {
            const int x = leftToRight ? i : w - 1 - i;
            const uint32_t p = image.Get(x, y);
            if (!(p >> 24))
                continue;
            const bool diffuse = smooth[size_t(y) * w + x] != 0;
            int want[3] = {Channel(p, 16), Channel(p, 8), Channel(p, 0)};
            if (diffuse)
                for (int k = 0; k < 3; ++k)
                    want[k] = std::clamp(want[k] + std::clamp(current[size_t(x + 1) * 3 + k], -kErrorLimit, kErrorLimit),
                                         0, 255);
            const int index = m_nearest.Nearest(uint8_t(want[0]), uint8_t(want[1]), uint8_t(want[2]));
            indices[size_t(y) * w + x] = uint8_t(index > 0 ? index : 0);
            if (!diffuse || index < 0)
                continue;
            const PaletteEntry& e = m_entries[size_t(index)];
            const int error[3] = {want[0] - e.red, want[1] - e.green, want[2] - e.blue};
            const int ahead = leftToRight ? 1 : -1;
            for (int k = 0; k < 3; ++k) {
                current[size_t(x + 1 + ahead) * 3 + k] += error[k] * 7 / 16;
                next[size_t(x + 1 - ahead) * 3 + k] += error[k] * 3 / 16;
                next[size_t(x + 1) * 3 + k] += error[k] * 5 / 16;
                next[size_t(x + 1 + ahead) * 3 + k] += error[k] * 1 / 16;
            }
        }
        std::swap(current, next);
    }
    return indices;
}
