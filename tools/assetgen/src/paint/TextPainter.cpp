#include "paint/TextPainter.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// Code points of a UTF-8 string (malformed bytes are skipped).
std::vector<uint32_t> DecodeUtf8(const std::string& text)
{
    std::vector<uint32_t> out;
    for (size_t i = 0; i < text.size();) {
        const uint8_t c = uint8_t(text[i]);
        int extra = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : -1;
        if (extra < 0 || i + size_t(extra) >= text.size()) {
            ++i;
            continue;
        }
        uint32_t code = extra == 0 ? c : uint32_t(c & (0x3F >> extra));
        for (int k = 1; k <= extra; ++k)
            code = code << 6 | (uint8_t(text[i + size_t(k)]) & 0x3F);
        out.push_back(code);
        i += size_t(extra) + 1;
    }
    return out;
}

struct Mask {
    int x0 = 0, y0 = 0, width = 0, height = 0; // placement of the mask in image pixels
    std::vector<uint8_t> cover;
    uint8_t At(int x, int y) const
    {
        x -= x0;
        y -= y0;
        if (x < 0 || y < 0 || x >= width || y >= height)
            return 0;
        return cover[size_t(y) * width + x];
    }
};

// The mask grown by a disc of `radius`.
Mask Grow(const Mask& mask, int radius)
{
    Mask out;
    out.x0 = mask.x0 - radius;
    out.y0 = mask.y0 - radius;
    out.width = mask.width + 2 * radius;
    out.height = mask.height + 2 * radius;
    out.cover.assign(size_t(out.width) * out.height, 0);
    for (int y = 0; y < out.height; ++y)
        for (int x = 0; x < out.width; ++x) {
            int best = 0;
            for (int dy = -radius; dy <= radius && best < 255; ++dy)
                for (int dx = -radius; dx <= radius; ++dx) {
                    if (dx * dx + dy * dy > radius * radius + radius)
                        continue;
                    best = std::max(best, int(mask.At(out.x0 + x + dx, out.y0 + y + dy)));
                }
            out.cover[size_t(y) * out.width + x] = uint8_t(best);
        }
    return out;
}

void Composite(RgbaImage& image, const Mask& mask, int dx, int dy, uint32_t colour)
{
    for (int y = 0; y < mask.height; ++y)
        for (int x = 0; x < mask.width; ++x) {
            const int amount = mask.cover[size_t(y) * mask.width + x];
            const int px = mask.x0 + x + dx, py = mask.y0 + y + dy;
            if (!amount || !image.Inside(px, py))
                continue;
            const uint32_t p = image.Get(px, py);
            if (!(p >> 24)) {
                if (amount >= 128)
                    image.Set(px, py, colour | 0xFF000000u);
                continue;
            }
            image.Blend(px, py, colour, amount);
        }
}

// Loads each glyph of `text` with `flags` and calls visit(glyph slot, pen x)
// for it, kerning between pairs; returns the pen position after the text.
template <typename Visit>
int WalkGlyphs(FT_Face face, const std::string& text, int pen, FT_Int32 flags, Visit&& visit)
{
    FT_UInt previous = 0;
    for (uint32_t code : DecodeUtf8(text)) {
        const FT_UInt glyph = FT_Get_Char_Index(face, code);
        if (previous && glyph && FT_HAS_KERNING(face)) {
            FT_Vector kern;
            FT_Get_Kerning(face, previous, glyph, FT_KERNING_DEFAULT, &kern);
            pen += int(kern.x >> 6);
        }
        previous = glyph;
        if (FT_Load_Glyph(face, glyph, flags) != 0)
            continue;
        visit(face->glyph, pen);
        pen += int(face->glyph->advance.x >> 6);
    }
    return pen;
}

} // namespace

CTextPainter::CTextPainter()
{
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0)
        return;
    m_library = library;
    FT_Face sans = nullptr, serif = nullptr;
    const std::string folder = VELDRA_FONT_DIR;
    if (FT_New_Face(library, (folder + "/DejaVuSans-Bold.ttf").c_str(), 0, &sans) != 0 ||
        FT_New_Face(library, (folder + "/DejaVuSerif-Bold.ttf").c_str(), 0, &serif) != 0) {
        std::fprintf(stderr, "assetgen: cannot load the fonts from %s\n", folder.c_str());
        if (sans)
            FT_Done_Face(sans);
        return;
    }
    m_sans = sans;
    m_serif = serif;
    m_ready = true;
}

CTextPainter::~CTextPainter()
{
    if (m_sans)
        FT_Done_Face(FT_Face(m_sans));
    if (m_serif)
        FT_Done_Face(FT_Face(m_serif));
    if (m_library)
        FT_Done_FreeType(FT_Library(m_library));
}

void* CTextPainter::FaceFor(FontFace face, int size)
{
    if (!m_ready)
        return nullptr;
    FT_Face f = FT_Face(face == FontFace::Serif ? m_serif : m_sans);
    FT_Set_Pixel_Sizes(f, 0, FT_UInt(std::max(1, size)));
    return f;
}

int CTextPainter::Measure(const std::string& text, FontFace face, int size)
{
    FT_Face f = FT_Face(FaceFor(face, size));
    if (!f)
        return 0;
    const int width = WalkGlyphs(f, text, 0, FT_LOAD_DEFAULT, [](FT_GlyphSlot, int) {});
    return width;
}

int CTextPainter::CapHeight(FontFace face, int size)
{
    FT_Face f = FT_Face(FaceFor(face, size));
    if (!f || FT_Load_Char(f, 'H', FT_LOAD_DEFAULT) != 0)
        return size * 7 / 10;
    return int(f->glyph->metrics.horiBearingY >> 6);
}

int CTextPainter::FitSize(const std::string& text, FontFace face, int size, int width)
{
    while (size > 6 && Measure(text, face, size) > width)
        --size;
    return size;
}

void CTextPainter::Draw(RgbaImage& image, const std::string& text, int x, int baseline, const TextStyle& style)
{
    FT_Face f = FT_Face(FaceFor(style.face, style.size));
    if (!f)
        return;
    // Lay the glyphs out first to know the mask's extent.
    struct Placed {
        int left, top, width, rows;
        std::vector<uint8_t> bits;
    };
    std::vector<Placed> glyphs;
    WalkGlyphs(f, text, x, FT_LOAD_RENDER, [&](FT_GlyphSlot slot, int pen) {
        const FT_Bitmap& bitmap = slot->bitmap;
        Placed placed{pen + slot->bitmap_left, baseline - slot->bitmap_top, int(bitmap.width), int(bitmap.rows), {}};
        placed.bits.resize(size_t(placed.width) * placed.rows);
        for (int r = 0; r < placed.rows; ++r)
            for (int c = 0; c < placed.width; ++c)
                placed.bits[size_t(r) * placed.width + c] = bitmap.buffer[r * bitmap.pitch + c];
        glyphs.push_back(std::move(placed));
    });
    if (glyphs.empty())
        return;
    Mask mask;
    int x0 = 1 << 30, y0 = 1 << 30, x1 = -(1 << 30), y1 = -(1 << 30);
    for (const Placed& g : glyphs) {
        x0 = std::min(x0, g.left);
        y0 = std::min(y0, g.top);
        x1 = std::max(x1, g.left + g.width);
        y1 = std::max(y1, g.top + g.rows);
    }
    if (x1 <= x0 || y1 <= y0)
        return;
    mask.x0 = x0;
    mask.y0 = y0;
    mask.width = x1 - x0;
    mask.height = y1 - y0;
    mask.cover.assign(size_t(mask.width) * mask.height, 0);
    for (const Placed& g : glyphs)
        for (int r = 0; r < g.rows; ++r)
            for (int c = 0; c < g.width; ++c) {
                uint8_t& m = mask.cover[size_t(g.top - y0 + r) * mask.width + (g.left - x0 + c)];
                m = std::max(m, g.bits[size_t(r) * g.width + c]);
            }
    const Mask outline = style.outline > 0 ? Grow(mask, style.outline) : Mask{};
    if (style.shadow > 0)
        Composite(image, style.outline > 0 ? outline : mask, style.shadow, style.shadow, style.shadowColour);
    if (style.outline > 0)
        Composite(image, outline, 0, 0, style.outlineColour);
    Composite(image, mask, 0, 0, style.colour);
}

void CTextPainter::DrawCentred(RgbaImage& image, const std::string& text, int x, int y, int w, int h,
                               TextStyle style)
{
    style.size = FitSize(text, style.face, style.size, w - 2 * style.outline - style.shadow);
    const int width = Measure(text, style.face, style.size);
    const int cap = CapHeight(style.face, style.size);
    Draw(image, text, x + (w - width) / 2, y + (h + cap) / 2, style);
}
