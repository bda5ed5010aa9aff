#include "CVideoDrawHandler.h"

#include "imaging/CDibPalette.h"
#include "imaging/CDibSection.h"
#include "imaging/CNearestColourMap.h"
#include "media/IVideoViewport.h"

extern "C" {
#include <libavutil/frame.h>
#include <libavutil/pixdesc.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

// The converter's output for each back-buffer format. Ours name channels
// from the most significant bit down, FFmpeg's the 24- and 32-bit ones by
// byte order in memory, hence the swapped names there. 8-bit back buffers
// take 24-bit colour first and then their palette's nearest entries; with a
// palette of the colours high colour can show, they take the colours high
// colour shows instead, widened to 24 bits (so both depths start from the
// same picture, and the palette meets it exactly where it can).
AVPixelFormat ConverterFormatFor(PixelFormat format)
{
    switch (format) {
    case PF_RGB555: return AV_PIX_FMT_RGB555LE;
    case PF_BGR555: return AV_PIX_FMT_BGR555LE;
    case PF_RGB565: return AV_PIX_FMT_RGB565LE;
    case PF_BGR565: return AV_PIX_FMT_BGR565LE;
    case PF_RGB24: return AV_PIX_FMT_BGR24;
    case PF_BGR24: return AV_PIX_FMT_RGB24;
    case PF_RGB32: return AV_PIX_FMT_BGR0;
    case PF_BGR32: return AV_PIX_FMT_RGB0;
    case PF_INDEX8: return AV_PIX_FMT_BGR24;
    default: return AV_PIX_FMT_NONE;
    }
}

bool IsFullRangeYuv(AVPixelFormat format)
{
    return format == AV_PIX_FMT_YUVJ420P || format == AV_PIX_FMT_YUVJ422P || format == AV_PIX_FMT_YUVJ444P ||
           format == AV_PIX_FMT_YUVJ440P || format == AV_PIX_FMT_YUVJ411P;
}

// 8-bit back buffers show the video in a palette: the nearest colours alone
// turn its skies and shadows into bands. An ordered dither over about one
// step between palette colours blends the neighbours instead, and, unlike
// error diffusion, a still part of the picture keeps one pattern from frame
// to frame rather than crawling. The spread follows the palette's own step
// (half the typical distance from a colour to its nearest neighbour, per
// channel): a palette made for other pictures is sparse where the video's
// colours are and takes the widest dither, one made from the video itself a
// fine one that costs little of the picture.
constexpr int kWidestDither = 32;
constexpr int kFinestDither = 4;

int DitherSpreadFor(const CDibPalette& palette)
{
    const PaletteEntry* entries = palette.Entries();
    const int count = palette.GetCount();
    std::vector<int> steps;
    for (int i = 0; i < count; ++i) {
        if (entries[i].flags & PALETTE_FLAG_RESERVED)
            continue;
        int nearest = 256;
        for (int j = 0; j < count; ++j) {
            if (j == i || (entries[j].flags & PALETTE_FLAG_RESERVED))
                continue;
            const int d = std::max({std::abs(entries[i].red - entries[j].red),
                                    std::abs(entries[i].green - entries[j].green),
                                    std::abs(entries[i].blue - entries[j].blue)});
            if (d > 0)
                nearest = std::min(nearest, d);
        }
        steps.push_back(nearest);
    }
    if (steps.empty())
        return kWidestDither;
    std::nth_element(steps.begin(), steps.begin() + std::ptrdiff_t(steps.size() / 2), steps.end());
    return std::clamp(steps[steps.size() / 2] / 2, kFinestDither, kWidestDither);
}

// The converter's vector code may write a few pixels past a row's end, so
// it writes into a scratch buffer with room to spare, never into pictures.
constexpr size_t kScratchAlign = 64;
constexpr size_t kScratchSlack = 256;

} // namespace

DibRef<CDibSection> MakeFrameImage(int width, int height, PixelFormat format)
{
    DibRef<CDibSection> ref = MakeDib<CDibSection>();
    if (ref->Create(width, height, format) != DIB_OK)
        ref.Reset();
    return ref;
}

CVideoDrawHandler::CVideoDrawHandler() = default;

CVideoDrawHandler::~CVideoDrawHandler()
{
    sws_freeContext(m_scaler);
}

bool CVideoDrawHandler::CanDrawInto(PixelFormat format)
{
    return ConverterFormatFor(format) != AV_PIX_FMT_NONE;
}

int CVideoDrawHandler::Draw(const AVFrame& frame, DibRef<CDibSection>& image, IVideoViewport& viewport)
{
    CDib* surface = viewport.DrawingSurface();
    if (!surface || !surface->IsCreated() || !CanDrawInto(surface->GetFormat()))
        return VIDEO_DRAW_NO_SURFACE;
    if (!image.Get() || image->GetFormat() != surface->GetFormat()) {
        const int width = image.Get() ? image->GetWidth() : frame.width;
        const int height = image.Get() ? image->GetHeight() : frame.height;
        image = MakeFrameImage(width, height, surface->GetFormat());
        if (!image.Get())
            return VIDEO_DRAW_NO_SURFACE;
    }
    if (!Convert(frame, *image.Get(), *surface))
        return VIDEO_DRAW_BAD_FORMAT;
    // The video's size need not be the back buffer's: stretch over all of it.
    surface->Draw(0, 0, surface->GetWidth(), surface->GetHeight(), image.Get(), 0, 0, image->GetWidth(),
                  image->GetHeight(), 0, 0);
    viewport.Present();
    return VIDEO_DRAW_OK;
}

bool CVideoDrawHandler::Convert(const AVFrame& frame, CDibSection& image, CDib& surface)
{
    const auto source = static_cast<AVPixelFormat>(frame.format);
    const AVPixFmtDescriptor* description = av_pix_fmt_desc_get(source);
    if (!description || frame.width < 1 || frame.height < 1 || !sws_isSupportedInput(source))
        return false;
    const PixelFormat format = image.GetFormat();
    CNearestColourMap* map = nullptr;
    if (format == PF_INDEX8 && !(map = MapFor(surface)))
        return false;
    const bool widen = map && m_highColourPalette;
    const AVPixelFormat target = widen ? AV_PIX_FMT_RGB555LE : ConverterFormatFor(format);
    const int width = image.GetWidth(), height = image.GetHeight();
    m_scaler = sws_getCachedContext(m_scaler, frame.width, frame.height, source, width, height, target,
                                    SWS_BILINEAR, nullptr, nullptr, nullptr);
    if (!m_scaler)
        return false;
    if (!(description->flags & AV_PIX_FMT_FLAG_RGB) && description->nb_components >= 3) {
        // Decoders tag studio or full range; the converter assumes studio
        // range unless told, which would wash out full-range frames.
        const int space = frame.colorspace == AVCOL_SPC_BT709 ? SWS_CS_ITU709 : SWS_CS_ITU601;
        const int fullRange = frame.color_range == AVCOL_RANGE_JPEG || IsFullRangeYuv(source);
        sws_setColorspaceDetails(m_scaler, sws_getCoefficients(space), fullRange, sws_getCoefficients(SWS_CS_DEFAULT),
                                 1, 0, 1 << 16, 1 << 16);
    }

    const int bytes = format == PF_INDEX8 ? 3 : int(PixelFormatBytes(format));
    const size_t pitch = (size_t(width) * size_t(bytes) + kScratchAlign - 1) / kScratchAlign * kScratchAlign;
    m_bgr.resize(pitch * size_t(height) + kScratchAlign + kScratchSlack);
    const uintptr_t start = (reinterpret_cast<uintptr_t>(m_bgr.data()) + kScratchAlign - 1) & ~(kScratchAlign - 1);
    uint8_t* scratch = reinterpret_cast<uint8_t*>(start);
    uint8_t* planes[4] = {scratch, nullptr, nullptr, nullptr};
    int pitches[4] = {int(pitch), 0, 0, 0};
    if (sws_scale(m_scaler, frame.data, frame.linesize, 0, frame.height, planes, pitches) != height)
        return false;

    if (widen)
        for (int y = 0; y < height; ++y) {
            // In place, from the right: a pixel's three bytes never reach
            // the two of a pixel not yet widened.
            uint8_t* row = scratch + size_t(y) * pitch;
            for (int x = width - 1; x >= 0; --x) {
                const unsigned v = unsigned(row[2 * x]) | unsigned(row[2 * x + 1]) << 8;
                const unsigned r = v >> 10 & 31, g = v >> 5 & 31, b = v & 31;
                // As high colour shows them: five bits at the top of eight.
                row[3 * x] = uint8_t(b << 3);
                row[3 * x + 1] = uint8_t(g << 3);
                row[3 * x + 2] = uint8_t(r << 3);
            }
        }
    uint8_t* bits;
    int imagePitch;
    if (image.Lock(&bits, &imagePitch) != DIB_OK)
        return false;
    if (map) {
        map->MapPixelsOrdered(bits, imagePitch, scratch, int(pitch), width, height, m_spread);
    } else {
        for (int y = 0; y < height; ++y)
            std::memcpy(bits + ptrdiff_t(y) * imagePitch, scratch + size_t(y) * pitch, size_t(width) * size_t(bytes));
    }
    image.Unlock();
    if (map && image.GetPalette() != surface.GetPalette())
        image.SetPalette(surface.GetPalette());
    return true;
}

CNearestColourMap* CVideoDrawHandler::MapFor(CDib& surface)
{
    const CDibPalette* palette = surface.GetPalette();
    if (!palette || palette->GetCount() == 0 || !palette->Entries())
        return nullptr;
    if (!m_map || m_mapSerial != palette->GetSerial() || m_mapVersion != palette->GetVersion()) {
        m_map = std::make_unique<CNearestColourMap>(palette->Entries(), palette->GetCount());
        m_mapSerial = palette->GetSerial();
        m_mapVersion = palette->GetVersion();
        m_spread = DitherSpreadFor(*palette);
        m_highColourPalette = true;
        for (int i = 0; i < palette->GetCount(); ++i) {
            const PaletteEntry& e = palette->Entries()[i];
            if (!(e.flags & PALETTE_FLAG_RESERVED) && ((e.red | e.green | e.blue) & 7))
                m_highColourPalette = false;
        }
    }
    return m_map.get();
}
