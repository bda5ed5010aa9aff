#include "editor/CStoredFrame.h"

#include "sprites/PictureFormat.h"
#include "sprites/PictureLayout.h"

#include <climits>
#include <cstring>
#include <lz4.h>
#include <new>

namespace {

// Packing that saves less than an eighth is not worth unpacking every time
// the frame is shown.
bool WorthPacking(size_t packed, size_t plain)
{
    return packed < plain - plain / 8;
}

// Frames up to 4 K × 2 K at 32 bits reuse one packing buffer per thread.
constexpr size_t kKeptBufferBytes = size_t(40) << 20;

} // namespace

FrameRef CStoredFrame::FromPicture(const uint8_t* picture, size_t size)
{
    if (!picture || size < INFO_HEADER_SIZE || ReadLE32(picture) != INFO_HEADER_SIZE)
        return {};
    const uint32_t compression = InfoCompression(picture);
    if (compression != BI_RGB && compression != BI_BITFIELDS)
        return {};
    const size_t headerSize = PictureHeaderSize(picture, HeaderRule::Editor);
    const size_t pixelBytes = PictureDataSize(picture);
    const PixelFormat format = PackedPictureFormat(picture, size);
    const uint32_t width = InfoWidth(picture), height = InfoHeight(picture);
    if (headerSize == 0 || format == PF_NONE || size != headerSize + pixelBytes || pixelBytes > size_t(INT_MAX) ||
        width < 1 || width > 65535 || height < 1 || height > 65535)
        return {};

    std::shared_ptr<CStoredFrame> frame(new (std::nothrow) CStoredFrame);
    if (!frame)
        return {};
    try {
        frame->m_width = int(width);
        frame->m_height = int(height);
        frame->m_format = format;
        frame->m_header.assign(picture, picture + headerSize);
        frame->m_pixelBytes = pixelBytes;
        const uint8_t* pixels = picture + headerSize;
        // Packed into a buffer each thread keeps, then copied at its packed
        // size: a fresh buffer of the bound's size would be mapped and
        // faulted in for every frame.
        thread_local std::vector<uint8_t> packed;
        packed.resize(static_cast<size_t>(LZ4_compressBound(int(pixelBytes))));
        const int packedSize = pixelBytes == 0 ? 0
                                               : LZ4_compress_default(reinterpret_cast<const char*>(pixels),
                                                                      reinterpret_cast<char*>(packed.data()),
                                                                      int(pixelBytes), int(packed.size()));
        if (packedSize > 0 && WorthPacking(size_t(packedSize), pixelBytes)) {
            frame->m_pixels.assign(packed.data(), packed.data() + packedSize);
            frame->m_packed = true;
        } else {
            frame->m_pixels.assign(pixels, pixels + pixelBytes);
        }
        // A rare huge frame's buffer is not kept for the life of the thread.
        if (packed.capacity() > kKeptBufferBytes)
            packed = {};
    } catch (const std::bad_alloc&) {
        return {};
    }
    return frame;
}

size_t CStoredFrame::StoredBytes() const
{
    return sizeof(CStoredFrame) + m_header.size() + m_pixels.size();
}

bool CStoredFrame::UnpackPixels(uint8_t* out) const
{
    if (!m_packed) {
        if (m_pixelBytes > 0)
            std::memcpy(out, m_pixels.data(), m_pixelBytes);
        return true;
    }
    const int produced = LZ4_decompress_safe(reinterpret_cast<const char*>(m_pixels.data()),
                                             reinterpret_cast<char*>(out), int(m_pixels.size()), int(m_pixelBytes));
    return produced >= 0 && size_t(produced) == m_pixelBytes;
}

std::vector<uint8_t> CStoredFrame::Picture() const
{
    std::vector<uint8_t> picture;
    try {
        picture.resize(m_header.size() + m_pixelBytes);
    } catch (const std::bad_alloc&) {
        return {};
    }
    std::memcpy(picture.data(), m_header.data(), m_header.size());
    if (!UnpackPixels(picture.data() + m_header.size()))
        return {};
    return picture;
}
