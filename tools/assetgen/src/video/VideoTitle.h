#pragma once
// VideoTitle: a line of text rendered once into a coverage mask (0..255) with
// FreeType, for the intro to fade in over its pictures.

#include <cstdint>
#include <string>
#include <vector>

class VideoTitle {
public:
    // False (and an empty mask) when the font cannot be loaded or rendered.
    bool Render(const std::string& fontFile, const std::string& text, int pixelHeight, int letterSpacing);

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    // Coverage at (x, y); 0 outside the mask.
    uint8_t At(int x, int y) const
    {
        return x < 0 || y < 0 || x >= m_width || y >= m_height ? 0 : m_mask[size_t(y) * m_width + x];
    }

private:
    int m_width = 0;
    int m_height = 0;
    std::vector<uint8_t> m_mask;
};
