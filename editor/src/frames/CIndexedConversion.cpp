#include "CIndexedConversion.h"

#include "imaging/CDibPalette.h"
#include "imaging/ConvertPixels.h"
#include "sprites/PictureFormat.h"

#include <cstring>
#include <new>

std::unique_ptr<CIndexedConversion> CIndexedConversion::Learn(const CStoredFrame& source,
                                                              const std::vector<uint8_t>& converted,
                                                              const CDibPalette& palette,
                                                              const ColourReductionOptions& options)
{
    // The k-means method without diffusion remaps through its own map, not
    // through the converter.
    if (options.target != ColourTarget::Index8 || (options.method == ColourMethod::KMeans && !options.errorDiffusion))
        return nullptr;
    const PixelFormat format = source.Format();
    if (!PixelFormatIsKnown(format) || PixelFormatIsIndexed(format) || converted.size() < INFO_HEADER_SIZE ||
        palette.GetCount() <= 0)
        return nullptr;
    std::unique_ptr<CIndexedConversion> conversion(new CIndexedConversion);
    conversion->m_width = source.Width();
    conversion->m_height = source.Height();
    conversion->m_sourceFormat = format;
    conversion->m_header.assign(converted.begin(), converted.begin() + std::ptrdiff_t(PictureHeaderSize(
                                                                          converted.data(), HeaderRule::Editor)));
    palette.GetEntries(conversion->m_entries.data(), 0, palette.GetCount() < 256 ? palette.GetCount() : 256);
    conversion->m_flags = options.errorDiffusion ? CONVERT_DITHER : 0;
    std::vector<uint8_t> picture;
    if (!conversion->ConvertedPicture(source, picture) || picture != converted)
        return nullptr;
    return conversion;
}

bool CIndexedConversion::Takes(const CStoredFrame& frame) const
{
    return frame.Width() == m_width && frame.Height() == m_height && frame.Format() == m_sourceFormat;
}

bool CIndexedConversion::ConvertedPicture(const CStoredFrame& frame, std::vector<uint8_t>& picture) const
{
    // Each worker keeps its buffers from frame to frame: fresh ones of a
    // megabyte each would be mapped and faulted in for every frame.
    thread_local std::vector<uint8_t> pixels;
    if (!Takes(frame))
        return false;
    try {
        pixels.resize(frame.PixelBytes());
        picture.resize(m_header.size() + DibRowStride(m_width, 8) * size_t(m_height));
    } catch (const std::bad_alloc&) {
        return false;
    }
    if (!frame.UnpackPixels(pixels.data()))
        return false;
    const size_t sourceStride = DibRowStride(m_width, PixelFormatBits(m_sourceFormat));
    const size_t targetStride = DibRowStride(m_width, 8);
    uint8_t* bits = picture.data() + m_header.size();
    std::memcpy(picture.data(), m_header.data(), m_header.size());
    // The converter walks rows from the top, as the image objects hand them
    // over: both pictures are stored bottom-up.
    const ptrdiff_t last = m_height - 1;
    if (!ConvertPixels(bits + last * ptrdiff_t(targetStride), PF_INDEX8, pixels.data() + last * ptrdiff_t(sourceStride),
                       m_width, m_height, -int(targetStride), -int(sourceStride), m_sourceFormat, m_entries.data(),
                       nullptr, m_flags))
        return false;
    // The rows' padding is zero, as in every picture the editor stores; a
    // reused buffer may hold an earlier picture's bytes there.
    if (targetStride > size_t(m_width))
        for (int y = 0; y < m_height; ++y)
            std::memset(bits + size_t(y) * targetStride + size_t(m_width), 0, targetStride - size_t(m_width));
    return true;
}

FrameRef CIndexedConversion::Convert(const CStoredFrame& frame) const
{
    thread_local std::vector<uint8_t> picture;
    return ConvertedPicture(frame, picture) ? CStoredFrame::FromPicture(picture.data(), picture.size()) : nullptr;
}
