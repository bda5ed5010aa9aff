#include "sprites/CDibTrle.h"

#include "imaging/CDibPalette.h"
#include "imaging/DibAssert.h"
#include "sprites/TrleCodec.h"

void CDibTrle::Reset()
{
    CDibPacked::Reset();
    m_view = TrleSpriteView{};
    m_runCache.Clear();
}

DibResult CDibTrle::Blit(CDib* target, int dstX, int dstY, int dstW, int dstH, int srcX, int srcY, int srcW,
                         int srcH, uint32_t flags, BlitExtra extra)
{
    if (!target)
        return DIB_FAILED;
    if (!IsCreated() || !m_view.dataArea)
        return DIB_NOT_CREATED;
    if (flags & BLIT_ALPHA) {
        // The alpha flag's argument is an image, as for every blit; the
        // sprite blitter wants the opacity sprite's view. Only a "TRLE" image
        // of this sprite's size has one; anything else draws nothing.
        const CDib* image = reinterpret_cast<const CDib*>(extra);
        const auto* opacity = image && image->GetKind() == DIB_KIND_TRLE ? dynamic_cast<const CDibTrle*>(image)
                                                                          : nullptr;
        if (!opacity || !opacity->IsCreated() || opacity->GetWidth() != GetWidth() ||
            opacity->GetHeight() != GetHeight())
            extra = 0;
        else
            extra = reinterpret_cast<BlitExtra>(&opacity->View());
    }
    return TrleBlit(m_view, target, dstX, dstY, dstW, dstH, srcX, srcY, srcW, srcH, flags, extra);
}

DibResult CDibTrle::ConvertFormat(PixelFormat newFormat, CDibPalette* newPalette, uint32_t flags, uint32_t)
{
    if (!IsCreated())
        return DIB_NOT_CREATED;
    if (newFormat == m_format && newFormat != PF_INDEX8)
        return DIB_OK;

    CDibPalette* palette = newPalette ? newPalette : m_palette;
    PaletteEntry entries[256] = {};
    const PaletteEntry* table = nullptr;
    if (palette && palette->GetCount() == 256) {
        palette->GetEntries(entries, 0, 256);
        table = entries;
    }
    uint8_t* converted;
    if (newFormat == PF_INDEX8 && (flags & 1))
        converted = table ? TrleConvertFast8(InfoHeader(), AvailableBytes(), table, palette->GetInverseMap())
                          : nullptr;
    else
        converted = TrleConvertFormat(InfoHeader(), AvailableBytes(), newFormat, table);
    if (!converted)
        return DIB_TRLE_CONVERT_FAILED;

    // The old palette (possibly the one used here) goes with the old picture;
    // an 8-bit result takes the palette it was mapped to.
    if (palette)
        palette->AddRef();
    DibResult code = AdoptCodecResult(converted);
    if (code == DIB_OK && newFormat == PF_INDEX8)
        SetPalette(palette);
    if (palette)
        palette->Release();
    return code == DIB_OK ? DIB_OK : DIB_TRLE_CONVERT_FAILED;
}

DibResult CDibTrle::SetPalette(CDibPalette* palette)
{
    DibResult code = CDibPacked::SetPalette(palette);
    m_view.palette = m_palette;
    return code;
}

CDib* CDibTrle::NewImage()
{
    return new CDibTrle;
}

DibResult CDibTrle::Lock(uint8_t**, int*)
{
    return IsCreated() ? DIB_COMPRESSED : DIB_NOT_CREATED;
}

DibResult CDibTrle::Attach(CMemoryBlock* block)
{
    // Only this system's "TRLE" pictures: other programs' bitmaps are not
    // read here.
    return AdoptBlock(block, AdoptMode::Fresh);
}

DibResult CDibTrle::Compress(uint32_t)
{
    return IsCreated() ? DIB_ALREADY_COMPRESSED : DIB_NOT_CREATED;
}

DibResult CDibTrle::ExaminePicture(const uint8_t* info, size_t available, PictureFacts& facts) const
{
    TrleLayout layout;
    if (!ReadTrleLayout(info, available, layout))
        return DIB_NOT_A_PICTURE;
    facts.format = layout.format;
    facts.compressed = 0; // drawn encoded
    facts.pictureSize = PictureSize(info);
    facts.dataOffset = layout.dataOffset;
    return DIB_OK;
}

void CDibTrle::OnPictureChanged()
{
    // The row table was validated by ExaminePicture just before.
    const uint8_t* info = InfoHeader();
    m_runCache.Clear();
    if (!info) {
        m_view = TrleSpriteView{};
        return;
    }
    m_view.dataArea = info + DataOffset();
    m_view.dataSize = InfoImageSize(info);
    m_view.width = GetWidth();
    m_view.height = GetHeight();
    m_view.format = m_format;
    m_view.palette = m_palette;
    // New bytes may lie where the old ones were: what was cached went above.
    DIB_ASSERT(ValidateTrleView(m_view), "an attached sprite's row table lies inside its data area");
    m_view.runCache = &m_runCache;
}
