#pragma once
// CDibTrle: a packed image that holds only "TRLE" sprites and keeps them
// encoded. Its compressed flag stays clear, because the picture is meant to be
// drawn as it is: Blit draws straight from the row table, ConvertFormat
// converts the stored pixels without decoding. The row table is checked once,
// when the picture is attached; the blitters then trust it.

#include "imaging/TrleRunCache.h"
#include "imaging/TrleSprite.h"
#include "sprites/CDibPacked.h"

class CDibTrle : public CDibPacked {
public:
    CDibTrle() = default;
    ~CDibTrle() override = default;

    void Reset() override;
    // As every blit, except that keyed blits need BLIT_SRCKEY and with
    // BLIT_ALPHA `extra` is a CDib*: a "TRLE" image of this sprite's size
    // and row layout holding the opacity of each stored pixel. Any other
    // image (or none) draws nothing.
    DibResult Blit(CDib* target, int dstX, int dstY, int dstW, int dstH, int srcX, int srcY, int srcW, int srcH,
                   uint32_t flags, BlitExtra extra) override;
    // DIB_NOT_CREATED without a picture; DIB_OK at once when the format is
    // already `newFormat` (unless that is PF_INDEX8: then the pixels are
    // mapped to `newPalette`). An 8-bit target takes `newPalette` (or the
    // image's own; 256 entries), through its inverse colour map when flags
    // bit 0 is set, by nearest colour otherwise. DIB_TRLE_CONVERT_FAILED when
    // no picture results (PF_BGR24/PF_BGR32 targets, a missing palette); the
    // image is then unchanged.
    [[nodiscard]] DibResult ConvertFormat(PixelFormat newFormat, CDibPalette* newPalette, uint32_t flags,
                            uint32_t arg = 0) override;
    int GetKind() const override { return DIB_KIND_TRLE; }
    DibResult SetPalette(CDibPalette* palette) override;
    CDib* NewImage() override;
    // Pixel access is refused (DIB_COMPRESSED): the pixels stay encoded.
    [[nodiscard]] DibResult Lock(uint8_t** bits, int* pitch) override;

    // Accepts only "TRLE" pictures of 8, 16, 24 or 32 bits whose row table
    // fits the block; anything else gives DIB_NOT_A_PICTURE (the block is
    // deleted, the image unchanged).
    [[nodiscard]] DibResult Attach(CMemoryBlock* block) override;
    // DIB_NOT_CREATED without a picture, otherwise DIB_ALREADY_COMPRESSED:
    // the picture is encoded already.
    [[nodiscard]] DibResult Compress(uint32_t tag) override;

    // The sprite as the blitters see it, with the image's palette and run
    // cache; an empty view (null data) while nothing is attached. Valid until
    // the picture changes.
    const TrleSpriteView& View() const { return m_view; }

protected:
    [[nodiscard]] DibResult ExaminePicture(const uint8_t* info, size_t available, PictureFacts& facts) const override;
    void OnPictureChanged() override;

private:
    TrleSpriteView m_view;
    // Runs and converted pixels of an 8-bit sprite, made on its first keyed
    // blit through each table and kept until the picture changes.
    TrleRunCache m_runCache;
};
