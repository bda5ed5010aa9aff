#include "video/VideoTitle.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>

namespace {

// Releases the library (and with it the face) on every path out.
struct FreeTypeLibrary {
    FT_Library library = nullptr;
    ~FreeTypeLibrary()
    {
        if (library)
            FT_Done_FreeType(library);
    }
};

} // namespace

bool VideoTitle::Render(const std::string& fontFile, const std::string& text, int pixelHeight, int letterSpacing)
{
    m_width = m_height = 0;
    m_mask.clear();
    FreeTypeLibrary ft;
    FT_Face face = nullptr;
    if (FT_Init_FreeType(&ft.library) || FT_New_Face(ft.library, fontFile.c_str(), 0, &face) ||
        FT_Set_Pixel_Sizes(face, 0, FT_UInt(pixelHeight)))
        return false;
    const int ascender = int(face->size->metrics.ascender >> 6);
    const int descender = int(-(face->size->metrics.descender >> 6));

    // First the width, then the glyphs into the mask.
    int width = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (FT_Load_Char(face, FT_ULong(uint8_t(text[i])), FT_LOAD_DEFAULT))
            return false;
        width += int(face->glyph->advance.x >> 6) + (i + 1 < text.size() ? letterSpacing : 0);
    }
    if (width <= 0)
        return false;
    std::vector<uint8_t> mask(size_t(width) * (ascender + descender), 0);
    int pen = 0;
    for (char c : text) {
        if (FT_Load_Char(face, FT_ULong(uint8_t(c)), FT_LOAD_RENDER))
            return false;
        const FT_GlyphSlot glyph = face->glyph;
        const FT_Bitmap& bitmap = glyph->bitmap;
        if (bitmap.pixel_mode != FT_PIXEL_MODE_GRAY || bitmap.pitch < 0)
            return false;
        for (unsigned row = 0; row < bitmap.rows; ++row)
            for (unsigned column = 0; column < bitmap.width; ++column) {
                const int x = pen + glyph->bitmap_left + int(column);
                const int y = ascender - glyph->bitmap_top + int(row);
                if (x < 0 || y < 0 || x >= width || y >= ascender + descender)
                    continue;
                uint8_t& m = mask[size_t(y) * width + x];
                m = std::max(m, bitmap.buffer[size_t(row) * size_t(bitmap.pitch) + column]);
            }
        pen += int(glyph->advance.x >> 6) + letterSpacing;
    }
    m_width = width;
    m_height = ascender + descender;
    m_mask = std::move(mask);
    return true;
}
