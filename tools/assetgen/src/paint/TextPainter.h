#pragma once
// CTextPainter: lettering for the menus and the hunt display, rendered
// through FreeType from the bold sans and serif faces of the DejaVu family.
// Text is laid out on whole pixels with the faces' kerning, then composited
// as a coverage mask: an optional drop shadow, an optional outline (the mask
// grown by a disc), then the fill.

#include "paint/RgbaImage.h"

#include <string>

enum class FontFace { Sans, Serif };

struct TextStyle {
    FontFace face = FontFace::Sans;
    int size = 20;                        // pixel height of the em square
    uint32_t colour = 0xFFFFFFFF;
    int outline = 0;                      // outline radius in pixels, 0 for none
    uint32_t outlineColour = 0xFF000000;
    int shadow = 0;                       // shadow offset down-right, 0 for none
    uint32_t shadowColour = 0xFF000000;
};

class CTextPainter {
public:
    CTextPainter();
    ~CTextPainter();
    CTextPainter(const CTextPainter&) = delete;
    CTextPainter& operator=(const CTextPainter&) = delete;

    // False when FreeType or a face could not be loaded (nothing is drawn).
    bool IsReady() const { return m_ready; }

    // Advance width of `text` (UTF-8) at `size`.
    int Measure(const std::string& text, FontFace face, int size);
    // Height of capitals at `size` (for centring).
    int CapHeight(FontFace face, int size);
    // Draws with the pen starting at x on the baseline y.
    void Draw(RgbaImage& image, const std::string& text, int x, int baseline, const TextStyle& style);
    // Centres one line in the box, first shrinking the size until it fits the width.
    void DrawCentred(RgbaImage& image, const std::string& text, int x, int y, int w, int h, TextStyle style);
    // Largest size up to `size` at which `text` fits in `width`.
    int FitSize(const std::string& text, FontFace face, int size, int width);

private:
    void* FaceFor(FontFace face, int size);

    void* m_library = nullptr; // FT_Library
    void* m_sans = nullptr;    // FT_Face
    void* m_serif = nullptr;   // FT_Face
    bool m_ready = false;
};
