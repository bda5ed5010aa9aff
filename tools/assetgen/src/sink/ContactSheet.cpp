#include "sink/ContactSheet.h"

#include "imaging/PngWriter.h"

#include <algorithm>

// Pictures are laid out in rows, each scaled down (never up) to fit a cell
// of 160 × 160 on a checkered grey, so transparency shows; of a strip, only
// the first frame.
bool WriteContactSheet(const std::vector<RecordedPicture>& pictures, const std::string& path)
{
    constexpr int kCell = 160, kColumns = 12;
    const int rows = int((pictures.size() + kColumns - 1) / kColumns);
    if (rows == 0)
        return false;
    const int width = kCell * kColumns, height = kCell * rows;
    std::vector<uint32_t> sheet(size_t(width) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            sheet[size_t(y) * width + x] = ((x / 8 + y / 8) & 1) ? 0x9A9A9A : 0x7A7A7A;
    for (size_t n = 0; n < pictures.size(); ++n) {
        const RgbaImage& image = pictures[n].image;
        const int frameHeight = std::max(1, image.height / pictures[n].frames);
        const int cellX = int(n % kColumns) * kCell, cellY = int(n / kColumns) * kCell;
        const double scale = std::min(1.0, double(kCell - 4) / std::max(image.width, frameHeight));
        const int w = std::max(1, int(image.width * scale)), h = std::max(1, int(frameHeight * scale));
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const uint32_t p = image.Get(int(x / scale), int(y / scale));
                if (p >> 24)
                    sheet[size_t(cellY + 2 + y) * width + cellX + 2 + x] = p & 0xFFFFFF;
            }
    }
    return WriteRgbPng(sheet.data(), width, height, path);
}
