#include "CIndexedConversion.h"

#include "imaging/CDibPalette.h"
#include "imaging/ConvertPixels.h"
#include "sprites/PictureFormat.h"

#include <cstring>

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
    if (conversion->ConvertedPicture(source) != converted)
        return nullptr;
    return conversion;
}

bool CIndexedConversion::Takes(const CStoredFrame& frame) const
{
    return frame.Width() == m_width && frame.Height() == m_height && frame.Format() == m_sourceFormat;
}

std::vector<uint8_t> CIndexedConversion::ConvertedPicture(const CStoredFrame& frame) const
{
    std::vector<uint8_t> pixels(frame.PixelBytes());
    if (!Takes(frame) || !frame.UnpackPixels(pixels.data()))
        return {};
    const size_t sourceStride = DibRowStride(m_width, PixelFormatBits(m_sourceFormat));
    const size_t targetStride = DibRowStride(m_width, 8);
    std::vector<uint8_t> picture(m_header.size() + targetStride * size_t(m_height), 0);
    std::memcpy(picture.data(), m_header.data(), m_header.size());
    // The converter walks rows from the top, as the image objects hand them
    // over: both pictures are stored bottom-up.
    const ptrdiff_t last = m_height - 1;
    ConvertPixels(picture.data() + m_header.size() + last * ptrdiff_t(targetStride), PF_INDEX8,
                  pixels.data() + last * ptrdiff_t(sourceStride), m_width, m_height, -int(targetStride),
                  -int(sourceStride), m_sourceFormat, m_entries.data(), nullptr, m_flags);
    return picture;
}

FrameRef CIndexedConversion::Convert(const CStoredFrame& frame) const
{
    const std::vector<uint8_t> picture = ConvertedPicture(frame);
    return picture.empty() ? nullptr : CStoredFrame::FromPicture(picture.data(), picture.size());
}
