#include "imaging/CDib.h"

#include "blit/BlitDispatch.h"
#include "imaging/BlitClip.h"
#include "imaging/CDibPalette.h"
#include "imaging/CDibRegion.h"
#include "imaging/ConvertPixels.h"
#include "imaging/DibAssert.h"
#include "kernels/PixelAccess.h"
#include "kernels/rect/FillKernels.h"

#include <cstring>
#include <memory>
#include <utility>
#include <vector>

CDib::CDib() = default;

CDib::~CDib()
{
    // Kinds destroy their own storage in their destructors; what is left
    // here is the shared part.
    CDib::Destroy();
}

void CDib::Release()
{
    DIB_ASSERT(m_refCount > 0, "an image is released no more often than it is referenced");
    if (--m_refCount <= 0)
        delete this;
}

void CDib::Reset()
{
    m_width = m_height = 0;
    m_format = PF_NONE;
    m_lockedBits = nullptr;
    m_lockedPitch = 0;
    m_useCount = 0;
    m_sourceKey = m_destKey = 0;
    m_palette = nullptr;
    m_clipRegion = nullptr;
    m_frameCount = 1;
}

DibResult CDib::Blit(CDib* target, int dstX, int dstY, int dstW, int dstH, int srcX, int srcY, int srcW,
                     int srcH, uint32_t flags, BlitExtra extra)
{
    BlitRects rects{dstX, dstY, dstW, dstH, srcX, srcY, srcW, srcH};
    DibResult code;
    switch (ClipBlit(GetWidth(), GetHeight(), target, IsCreated(), rects, flags, &code)) {
    case BlitClipOutcome::Refused:
    case BlitClipOutcome::Nothing:
        return code;
    case BlitClipOutcome::Draw:
        break;
    }
    return BlitDispatch(this, target, rects, flags, extra);
}

DibResult CDib::Create(int, int, PixelFormat, uint32_t, uint32_t)
{
    return DIB_UNSUPPORTED;
}

DibResult CDib::CopyFrom(CDib* source)
{
    if (!source || source == this)
        return DIB_FAILED;
    uint8_t* srcBits;
    int srcPitch;
    DibResult code = source->Lock(&srcBits, &srcPitch);
    if (code != DIB_OK)
        return code;
    Destroy();
    code = Create(source->GetWidth(), source->GetHeight(), source->GetFormat());
    if (code != DIB_OK) {
        source->Unlock();
        return code;
    }
    uint8_t* dstBits;
    int dstPitch;
    code = Lock(&dstBits, &dstPitch);
    if (code != DIB_OK) {
        source->Unlock();
        return code;
    }
    const int height = GetHeight();
    const bool flip = IsBottomUp() != source->IsBottomUp();
    const size_t rowBytes = size_t(srcPitch < dstPitch ? srcPitch : dstPitch);
    for (int i = 0; i < height; ++i) {
        int to = flip ? height - 1 - i : i;
        std::memcpy(dstBits + size_t(to) * dstPitch, srcBits + size_t(i) * srcPitch, rowBytes);
    }
    Unlock();
    source->Unlock();

    if (CDibPalette* sourcePalette = source->GetPalette()) {
        CDibPalette* palette = NewPalette();
        if (palette->CopyFrom(sourcePalette) == DIB_OK)
            SetPalette(palette);
        palette->Release();
    }
    SetFrameCount(source->GetFrameCount());
    return DIB_OK;
}

namespace {

// The palette entries a conversion reads: 256 of them, a shorter palette
// padded with black so the converter never reads past it. Empty without a
// palette.
std::vector<PaletteEntry> EntriesOf(const CDibPalette* palette)
{
    std::vector<PaletteEntry> entries;
    if (palette && palette->GetCount() > 0) {
        entries.assign(256, PaletteEntry{});
        palette->GetEntries(entries.data(), 0, palette->GetCount() < 256 ? palette->GetCount() : 256);
    }
    return entries;
}

} // namespace

DibResult CDib::ConvertFormat(PixelFormat newFormat, CDibPalette* newPalette, uint32_t flags, uint32_t)
{
    if (!IsCreated())
        return DIB_NOT_CREATED;
    if (!newPalette && newFormat == m_format)
        return DIB_OK;
    if (!PixelFormatIsKnown(newFormat))
        return DIB_FAILED;
    // Pointers handed out by Lock lead into the picture this would replace.
    if (m_useCount > 0)
        return DIB_LOCKED;
    const bool fromIndexed = PixelFormatIsIndexed(m_format), toIndexed = PixelFormatIsIndexed(newFormat);
    // Indices without colours cannot be converted into anything.
    if (fromIndexed && (!m_palette || m_palette->GetCount() == 0))
        return DIB_PALETTE_EMPTY;

    // The converted picture is made whole in a new image of this kind; only
    // when every step has succeeded does it replace this one, so a refused
    // conversion leaves the picture as it was.
    std::unique_ptr<CDib> made(NewImage());
    if (!made)
        return DIB_FAILED;
    DibResult code = made->Create(GetWidth(), GetHeight(), newFormat);
    if (code != DIB_OK)
        return code;

    // An indexed target without a new palette keeps the indices and the
    // colours when they fit (a 4-bit picture widened to 8 bits); with
    // nothing to choose colours from, there is nothing to convert to.
    bool keepIndices = false;
    if (newPalette) {
        code = made->SetPalette(newPalette);
    } else if (toIndexed) {
        const int targetCount = 1 << PixelFormatBits(newFormat);
        if (!fromIndexed || m_palette->GetCount() > targetCount)
            return DIB_PALETTE_EMPTY;
        CDibPalette* kept = made->NewPalette();
        std::vector<PaletteEntry> entries = EntriesOf(m_palette);
        code = kept->Create(targetCount);
        if (code == DIB_OK)
            code = kept->SetEntries(entries.data(), 0, targetCount);
        if (code == DIB_OK)
            code = made->SetPalette(kept);
        kept->Release();
        keepIndices = true;
    }
    if (code != DIB_OK)
        return code;

    const std::vector<PaletteEntry> sourceEntries = EntriesOf(m_palette);
    const std::vector<PaletteEntry> targetEntries = EntriesOf(made->GetPalette());
    uint8_t *srcBits, *dstBits;
    int srcPitch, dstPitch;
    code = Lock(&srcBits, &srcPitch);
    if (code != DIB_OK)
        return code;
    code = made->Lock(&dstBits, &dstPitch);
    if (code != DIB_OK) {
        Unlock();
        return code;
    }
    // The converter walks rows top-down; bottom-up images go through a
    // negative pitch from their top row.
    const int h = GetHeight();
    const uint8_t* srcTop = IsBottomUp() ? srcBits + size_t(h - 1) * srcPitch : srcBits;
    uint8_t* dstTop = made->IsBottomUp() ? dstBits + size_t(h - 1) * dstPitch : dstBits;
    const int srcStep = IsBottomUp() ? -srcPitch : srcPitch, dstStep = made->IsBottomUp() ? -dstPitch : dstPitch;
    bool converted = true;
    if (keepIndices)
        CopyIndices(dstTop, dstStep, PixelFormatBits(newFormat), srcTop, srcStep, PixelFormatBits(m_format),
                    GetWidth(), h);
    else
        converted = ConvertPixels(dstTop, newFormat, srcTop, GetWidth(), h, dstStep, srcStep, m_format,
                                  targetEntries.empty() ? nullptr : targetEntries.data(),
                                  sourceEntries.empty() ? nullptr : sourceEntries.data(), flags & 3);
    made->Unlock();
    Unlock();
    if (!converted)
        return DIB_PALETTE_EMPTY; // an indexed side without its palette; the picture is as it was

    const int frames = m_frameCount;
    code = TakePicture(made.get());
    if (code != DIB_OK)
        return code;
    // As after a new Create: keys and clip region belonged to the old picture.
    SetClipRegion(nullptr);
    m_sourceKey = m_destKey = 0;
    SetFrameCount(frames);
    return DIB_OK;
}

DibResult CDib::TakePicture(CDib* from)
{
    // Kinds that cannot hand their storage over copy it.
    CDibPalette* palette = from->GetPalette();
    DibResult code = CopyFrom(from);
    if (code == DIB_OK && palette)
        code = SetPalette(palette);
    return code;
}

void CDib::SwapPictureFields(CDib& other)
{
    std::swap(m_width, other.m_width);
    std::swap(m_height, other.m_height);
    std::swap(m_format, other.m_format);
    std::swap(m_palette, other.m_palette);
}

DibResult CDib::Destroy()
{
    if (m_palette)
        m_palette->Release();
    if (m_clipRegion)
        m_clipRegion->Release();
    CDib::Reset();
    return DIB_OK;
}

int CDib::GetKind() const { return DIB_KIND_ABSTRACT; }
int CDib::GetWidth() const { return m_width; }
int CDib::GetHeight() const { return m_height; }
CDibPalette* CDib::GetPalette() const { return m_palette; }
DibResult CDib::SyncPalette() { return DIB_UNSUPPORTED; }

DibResult CDib::SetPalette(CDibPalette* palette)
{
    if (palette)
        palette->AddRef();
    if (m_palette)
        m_palette->Release();
    m_palette = palette;
    return DIB_OK;
}

DibResult CDib::AttachTablePalette(CDibPalette* palette, uint32_t& paletteVersion)
{
    if (!IsCreated())
        return DIB_NOT_CREATED;
    if (palette) {
        if (palette->GetCount() == 0)
            return DIB_PALETTE_EMPTY;
        const uint32_t bits = PixelFormatBits(m_format);
        if (!PixelFormatIsIndexed(m_format) || bits > 8 || palette->GetCount() != (1 << bits))
            return DIB_PALETTE_MISMATCH;
    }
    if (const DibResult code = CDib::SetPalette(palette); code != DIB_OK)
        return code;
    if (palette) {
        paletteVersion = palette->GetVersion() - 1;
        SyncPalette();
    }
    return DIB_OK;
}

CDibPalette* CDib::NewPalette() { return new CDibPalette; }
CDibRegion* CDib::GetClipRegion() const { return m_clipRegion; }

DibResult CDib::SetClipRegion(CDibRegion* region)
{
    if (region)
        region->AddRef();
    if (m_clipRegion)
        m_clipRegion->Release();
    m_clipRegion = region;
    return DIB_OK;
}

CDibRegion* CDib::NewClipRegion() { return new CDibRegion; }
CDib* CDib::NewImage() { return nullptr; }

DibResult CDib::Draw(int dstX, int dstY, int dstW, int dstH, CDib* source, int srcX, int srcY, int srcW, int srcH,
                     uint32_t flags, BlitExtra extra)
{
    if (!source)
        return DIB_FAILED;
    return source->Blit(this, dstX, dstY, dstW, dstH, srcX, srcY, srcW, srcH, flags, extra);
}

DibResult CDib::DrawFrame(int x, int y, CDib* source, int frame, uint32_t flags, BlitExtra extra)
{
    if (!source || frame < 0 || frame >= source->GetFrameCount())
        return DIB_FAILED;
    const int h = source->GetHeight() / source->GetFrameCount();
    return Draw(x, y, source->GetWidth(), h, source, 0, frame * h, source->GetWidth(), h, flags, extra);
}

namespace {

// The rectangle to fill: the clip region's bounds (or the image) cut with the
// request. False when nothing is left.
bool ClipFill(const CDib& image, int& x, int& y, int& w, int& h)
{
    DibRect k{0, 0, image.GetWidth(), image.GetHeight()};
    if (CDibRegion* region = image.GetClipRegion()) {
        DibRect bounds;
        if (region->GetBounds(&bounds) == DIB_OK) {
            // A region reaching outside the image must not let a fill out.
            int left = bounds.x > 0 ? bounds.x : 0, top = bounds.y > 0 ? bounds.y : 0;
            int right = bounds.x + bounds.w < k.w ? bounds.x + bounds.w : k.w;
            int bottom = bounds.y + bounds.h < k.h ? bounds.y + bounds.h : k.h;
            k = {left, top, right - left, bottom - top};
        }
    }
    int64_t left = x > k.x ? x : k.x, top = y > k.y ? y : k.y;
    int64_t right = int64_t(x) + w < k.x + k.w ? int64_t(x) + w : k.x + k.w;
    int64_t bottom = int64_t(y) + h < k.y + k.h ? int64_t(y) + h : k.y + k.h;
    if (w <= 0 || h <= 0 || right <= left || bottom <= top)
        return false;
    x = int(left);
    y = int(top);
    w = int(right - left);
    h = int(bottom - top);
    return true;
}

// Rows top-down whatever the image's storage order.
struct TopDownView {
    uint8_t* top;
    int pitch;
};

TopDownView ViewTopDown(const CDib& image, uint8_t* bits, int pitch)
{
    if (image.IsBottomUp())
        return {bits + size_t(image.GetHeight() - 1) * pitch, -pitch};
    return {bits, pitch};
}

} // namespace

DibResult CDib::FillRect(int x, int y, int w, int h, uint32_t colour)
{
    if (!IsCreated())
        return DIB_NOT_CREATED;
    if (!ClipFill(*this, x, y, w, h))
        return DIB_OK;
    uint8_t* bits;
    int pitch;
    DibResult code = Lock(&bits, &pitch);
    if (code != DIB_OK)
        return code;
    TopDownView view = ViewTopDown(*this, bits, pitch);
    FillRectKernel(view.top, view.pitch, PixelFormatBits(m_format), x, y, w, h, colour);
    Unlock();
    return DIB_OK;
}

DibResult CDib::DrawLine(int x1, int y1, int x2, int y2, uint32_t colour)
{
    if (!IsCreated())
        return DIB_NOT_CREATED;
    int left = 0, top = 0, right = GetWidth() - 1, bottom = GetHeight() - 1;
    if (CDibRegion* region = GetClipRegion()) {
        DibRect b;
        if (region->GetBounds(&b) == DIB_OK) {
            left = b.x > left ? b.x : left;
            top = b.y > top ? b.y : top;
            right = b.x + b.w - 1 < right ? b.x + b.w - 1 : right;
            bottom = b.y + b.h - 1 < bottom ? b.y + b.h - 1 : bottom;
        }
    }
    auto outcode = [&](int64_t x, int64_t y) {
        int code = 0;
        if (x < left) code |= 1;
        else if (x > right) code |= 2;
        if (y < top) code |= 4;
        else if (y > bottom) code |= 8;
        return code;
    };
    // 64-bit while clipping: end points far outside must not overflow.
    int64_t ax = x1, ay = y1, bx = x2, by = y2;
    for (int guard = 0; guard < 16; ++guard) {
        int ca = outcode(ax, ay), cb = outcode(bx, by);
        if ((ca | cb) == 0)
            break;
        if (ca & cb)
            return DIB_OK;
        int c = ca ? ca : cb;
        int64_t x, y;
        if (c & 8) {
            y = bottom;
            x = ax + (y - ay) * (bx - ax) / (by - ay);
        } else if (c & 2) {
            x = right;
            y = ay + (x - ax) * (by - ay) / (bx - ax);
        } else if (c & 1) {
            x = left;
            y = ay + (x - ax) * (by - ay) / (bx - ax);
        } else {
            y = top;
            x = ax + (y - ay) * (bx - ax) / (by - ay);
        }
        if (c == ca) {
            ax = x;
            ay = y;
        } else {
            bx = x;
            by = y;
        }
    }
    if (outcode(ax, ay) | outcode(bx, by))
        return DIB_OK;
    const uint32_t bits = PixelFormatBits(m_format);
    if (bits < 8)
        return DIB_OK;
    uint8_t* pixels;
    int pitch;
    DibResult code = Lock(&pixels, &pitch);
    if (code != DIB_OK)
        return code;
    TopDownView view = ViewTopDown(*this, pixels, pitch);
    DrawLineKernel(view.top, view.pitch, int(bits / 8), int(ax), int(ay), int(bx), int(by), colour);
    Unlock();
    return DIB_OK;
}

DibResult CDib::BlendRect(int x, int y, int w, int h, int mode, uint32_t colour, int level)
{
    if (!IsCreated())
        return DIB_NOT_CREATED;
    if (mode != 1 || PixelFormatBits(m_format) != 16 || !ClipFill(*this, x, y, w, h))
        return DIB_OK;
    if (level < 0)
        level = 0;
    if (level > 256)
        level = 256;
    uint8_t* bits;
    int pitch;
    DibResult code = Lock(&bits, &pitch);
    if (code != DIB_OK)
        return code;
    TopDownView view = ViewTopDown(*this, bits, pitch);
    BlendFillKernel16(view.top, view.pitch, m_format, x, y, w, h, colour, level);
    Unlock();
    return DIB_OK;
}

// Locks the image and finds pixel (x, y) counted from the top row; null when
// the pixel cannot be reached (not created, below 8 bits, outside, lock
// refused). The caller unlocks after a non-null answer.
uint8_t* CDib::LockPixel(int x, int y, int* bytes)
{
    *bytes = int(PixelFormatBytes(m_format));
    if (!IsCreated() || *bytes == 0 || x < 0 || y < 0 || x >= GetWidth() || y >= GetHeight())
        return nullptr;
    uint8_t* bits;
    int pitch;
    if (Lock(&bits, &pitch) != DIB_OK)
        return nullptr;
    const int row = IsBottomUp() ? GetHeight() - 1 - y : y;
    return bits + size_t(row) * pitch + size_t(x) * *bytes;
}

uint32_t CDib::GetPixel(int x, int y)
{
    int bytes;
    uint8_t* pixel = LockPixel(x, y, &bytes);
    if (!pixel)
        return 0;
    const uint32_t value = ReadPixel(pixel, bytes);
    Unlock();
    return value;
}

void CDib::SetPixel(int x, int y, uint32_t value)
{
    int bytes;
    if (uint8_t* pixel = LockPixel(x, y, &bytes)) {
        WritePixel(pixel, bytes, value);
        Unlock();
    }
}

DibResult CDib::GetSourceKey(uint32_t* value) const
{
    if (value)
        *value = m_sourceKey;
    return DIB_OK;
}

DibResult CDib::SetSourceKey(uint32_t value)
{
    m_sourceKey = value;
    return DIB_OK;
}

DibResult CDib::GetDestKey(uint32_t* value) const
{
    if (value)
        *value = m_destKey;
    return DIB_OK;
}

DibResult CDib::SetDestKey(uint32_t value)
{
    m_destKey = value;
    return DIB_OK;
}

int CDib::GetFrameCount() const { return m_frameCount; }

int CDib::SetFrameCount(int count)
{
    m_frameCount = count > 1 ? count : 1;
    return m_frameCount;
}

DibResult CDib::Lock(uint8_t**, int*) { return DIB_UNSUPPORTED; }
DibResult CDib::Unlock() { return DIB_UNSUPPORTED; }
void CDib::Touch() {}
int CDib::IsBottomUp() const { return 0; }
