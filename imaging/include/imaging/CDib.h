#pragma once
// CDib: the abstract image shared by the game and the editor. Every picture
// (a sprite strip, an off-screen frame, a window, a display surface) is one of
// its kinds; a kind overrides the virtual operations below and appends its
// own after them, so code written against CDib works with every kind.
//
// Every image has one owner: the object or scope it lives in, a
// std::unique_ptr, or, for images that are shared, the DibRef handles that
// count its references (DibRef.h). Release deletes an image at its last
// reference, so only images made with `new` are ever handed to AddRef and
// Release.

#include "imaging/BlitFlags.h"
#include "imaging/DibResult.h"
#include "imaging/PixelFormat.h"

#include <cstddef>
#include <cstdint>

class CDibPalette;
class CDibRegion;

// Image kinds, as reported by GetKind.
enum : int {
    DIB_KIND_ABSTRACT = 0,
    DIB_KIND_PACKED = 1,
    DIB_KIND_SECTION = 2,
    DIB_KIND_TRLE = 4,
    DIB_KIND_WINDOW = 5,
    DIB_KIND_DISPLAY = 6,
};

// The calls that make, copy, convert or lock an image, or read its keys, are
// [[nodiscard]]: a caller that goes on after a refusal works on an empty or
// half-made picture or an unset value. The drawing calls (Blit, Draw,
// DrawFrame, FillRect, DrawLine, BlendRect), setting a palette, clip region
// or key, Unlock and Destroy are not: they refuse only what leaves the image
// as it was, and the caller can only go on.
class CDib {
public:
    CDib();
    CDib(const CDib&) = delete;
    CDib& operator=(const CDib&) = delete;

    // Clears every field (without releasing references); frameCount 1.
    virtual void Reset();
    // Draws this image into `target` (clipping, keys, mirroring, scaling,
    // translucency); see BlitFlags.h.
    virtual DibResult Blit(CDib* target, int dstX, int dstY, int dstW, int dstH,
                           int srcX, int srcY, int srcW, int srcH, uint32_t flags, BlitExtra extra);
    virtual ~CDib();
    // DIB_UNSUPPORTED unless the kind can make pictures of its own.
    [[nodiscard]]
    virtual DibResult Create(int width, int height, PixelFormat format, uint32_t arg1 = 0, uint32_t arg2 = 0);
    // Copies size, format, pixels (upright), palette and frame count.
    [[nodiscard]] virtual DibResult CopyFrom(CDib* source);
    // Converts the pixels to another format (and palette) in place:
    // DIB_NOT_CREATED without a picture; DIB_LOCKED while locked; DIB_FAILED
    // for a format this kind cannot hold; the palette's refusal
    // (DIB_PALETTE_MISMATCH, DIB_PALETTE_EMPTY) when it does not fit the new
    // format; DIB_PALETTE_EMPTY for an indexed picture without colours, or an
    // indexed target without a palette unless the picture's own colours fit
    // it (then the indices are kept). On any refusal the picture is
    // unchanged. On success the frame count stays and, as after Create,
    // colour keys and clip region are cleared.
    [[nodiscard]]
    virtual DibResult ConvertFormat(PixelFormat newFormat, CDibPalette* newPalette, uint32_t flags, uint32_t arg = 0);
    // Releases palette, clip region and storage; the image becomes empty.
    virtual DibResult Destroy();
    // One of the DIB_KIND_* values.
    virtual int GetKind() const;
    virtual int GetWidth() const;
    virtual int GetHeight() const;
    virtual CDibPalette* GetPalette() const;
    virtual DibResult SyncPalette();
    virtual DibResult SetPalette(CDibPalette* palette);
    virtual CDibPalette* NewPalette();
    virtual CDibRegion* GetClipRegion() const;
    virtual DibResult SetClipRegion(CDibRegion* region);
    virtual CDibRegion* NewClipRegion();
    // A new empty image of the same kind (used by ConvertFormat).
    virtual CDib* NewImage();
    // `source` drawn into this image: Blit seen from the target's side.
    virtual DibResult Draw(int dstX, int dstY, int dstW, int dstH, CDib* source,
                           int srcX, int srcY, int srcW, int srcH, uint32_t flags, BlitExtra extra);
    // Frame `frame` of `source` at (x, y) unscaled; DIB_FAILED for a frame
    // the source does not have.
    virtual DibResult DrawFrame(int x, int y, CDib* source, int frame, uint32_t flags, BlitExtra extra);
    virtual DibResult FillRect(int x, int y, int w, int h, uint32_t colour);
    virtual DibResult DrawLine(int x1, int y1, int x2, int y2, uint32_t colour);
    virtual DibResult BlendRect(int x, int y, int w, int h, int mode, uint32_t colour, int level);
    // Whole pixels of 8 bits and more, little-endian, row y from the top.
    virtual uint32_t GetPixel(int x, int y);
    virtual void SetPixel(int x, int y, uint32_t value);
    [[nodiscard]] virtual DibResult GetSourceKey(uint32_t* value) const;
    virtual DibResult SetSourceKey(uint32_t value);
    [[nodiscard]] virtual DibResult GetDestKey(uint32_t* value) const;
    virtual DibResult SetDestKey(uint32_t value);
    // Frames stacked vertically; always at least 1.
    virtual int GetFrameCount() const;
    virtual int SetFrameCount(int count);
    // Pixel access. Rows are `pitch` bytes apart; row 0 is the top row
    // unless IsBottomUp().
    [[nodiscard]] virtual DibResult Lock(uint8_t** bits, int* pitch);
    virtual DibResult Unlock();
    // Faults the pixel pages in ahead of time.
    virtual void Touch();
    // 1 when row 0 of Lock is the bottom row.
    virtual int IsBottomUp() const;

    // Not virtual.
    PixelFormat GetFormat() const { return m_format; }
    bool IsCreated() const { return m_format != PF_NONE; }
    int GetUseCount() const { return m_useCount; }
    void AddRef() { ++m_refCount; }
    // Drops one reference and deletes the image at zero.
    void Release();
    int GetRefCount() const { return m_refCount; }
    uint32_t SourceKey() const { return m_sourceKey; }
    uint32_t DestKey() const { return m_destKey; }

protected:
    // Replaces this image's picture (size, format, pixels, palette) with the
    // one held by `from`, a new image of this kind made by NewImage, which
    // nobody has locked and which may be left with anything. ConvertFormat
    // calls it once the converted picture is complete. Kinds that own plain
    // storage exchange it and cannot fail; the default copies.
    [[nodiscard]] virtual DibResult TakePicture(CDib* from);
    // Exchanges the shared picture fields (size, format, palette) with `other`.
    void SwapPictureFields(CDib& other);

    uint8_t* LockPixel(int x, int y, int* bytes);
    // SetPalette of the kinds that keep a colour table of their own:
    // DIB_NOT_CREATED without a picture; null is always accepted;
    // DIB_PALETTE_EMPTY for an empty palette, DIB_PALETTE_MISMATCH when the
    // image is not 1- to 8-bit or the entry count is not 2^bits. The
    // attached palette is copied into the table at once (`paletteVersion` is
    // the kind's record of the version last copied).
    [[nodiscard]] DibResult AttachTablePalette(CDibPalette* palette, uint32_t& paletteVersion);

    // Fields shared by every kind.
    uint16_t m_width = 0;
    uint16_t m_height = 0;
    PixelFormat m_format = PF_NONE;
    uint8_t* m_lockedBits = nullptr;
    int m_lockedPitch = 0; // wide enough for any row of a 65535-pixel picture
    uint16_t m_useCount = 0;
    uint32_t m_sourceKey = 0;
    uint32_t m_destKey = 0;
    int m_refCount = 1;
    CDibPalette* m_palette = nullptr;
    CDibRegion* m_clipRegion = nullptr;
    int m_frameCount = 1;
};

// Validates a size for a new picture: 1..65535 on both axes.
inline bool IsValidImageSize(int width, int height)
{
    return width >= 1 && width <= 65535 && height >= 1 && height <= 65535;
}
