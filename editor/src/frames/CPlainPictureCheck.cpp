#include "CPlainPictureCheck.h"

#include "sprites/PictureFormat.h"

#include <cstring>

void CPlainPictureCheck::Learn(const uint8_t* picture, size_t size, const CStoredFrame& frame)
{
    m_header.clear();
    const std::vector<uint8_t>& header = frame.Header();
    const uint32_t bits = PixelFormatBits(frame.Format());
    if (!picture || size < header.size() + frame.PixelBytes() || bits < 8 ||
        std::memcmp(picture, header.data(), header.size()) != 0)
        return;
    m_header = header;
    m_pixelBytes = frame.PixelBytes();
    m_rowBytes = size_t(frame.Width()) * (bits / 8);
    m_stride = DibRowStride(frame.Width(), bits);
}

bool CPlainPictureCheck::IsPlain(const uint8_t* picture, size_t size) const
{
    return !m_header.empty() && picture && size == m_header.size() + m_pixelBytes &&
           std::memcmp(picture, m_header.data(), m_header.size()) == 0;
}

std::vector<uint8_t> CPlainPictureCheck::Copy(const uint8_t* picture) const
{
    std::vector<uint8_t> copy(picture, picture + m_header.size() + m_pixelBytes);
    if (m_stride > m_rowBytes)
        for (size_t row = m_header.size(); row + m_stride <= copy.size(); row += m_stride)
            std::memset(copy.data() + row + m_rowBytes, 0, m_stride - m_rowBytes);
    return copy;
}
