#include "CMemoryAvio.h"

extern "C" {
#include <libavformat/avio.h>
#include <libavutil/error.h>
#include <libavutil/mem.h>
}

#include <cstdio>
#include <cstring>

namespace {

// FFmpeg's own read buffer; small, the data is in memory already.
constexpr int kBufferSize = 1 << 14;

} // namespace

std::unique_ptr<CMemoryAvio> CMemoryAvio::Create(const uint8_t* data, size_t size)
{
    std::unique_ptr<CMemoryAvio> avio(new CMemoryAvio(data, size));
    auto* buffer = static_cast<unsigned char*>(av_malloc(kBufferSize));
    if (!buffer)
        return nullptr;
    avio->m_io = avio_alloc_context(buffer, kBufferSize, 0, avio.get(), Read, nullptr, Seek);
    if (!avio->m_io) {
        av_free(buffer);
        return nullptr;
    }
    return avio;
}

CMemoryAvio::~CMemoryAvio()
{
    if (m_io) {
        // FFmpeg may have replaced the buffer it was given; free the current one.
        av_freep(&m_io->buffer);
        avio_context_free(&m_io);
    }
}

int CMemoryAvio::Read(void* opaque, uint8_t* buffer, int size)
{
    auto* self = static_cast<CMemoryAvio*>(opaque);
    if (size <= 0)
        return 0;
    const size_t left = self->m_size - self->m_position;
    if (left == 0)
        return AVERROR_EOF;
    const size_t count = left < size_t(size) ? left : size_t(size);
    std::memcpy(buffer, self->m_data + self->m_position, count);
    self->m_position += count;
    return int(count);
}

int64_t CMemoryAvio::Seek(void* opaque, int64_t offset, int whence)
{
    auto* self = static_cast<CMemoryAvio*>(opaque);
    whence &= ~AVSEEK_FORCE;
    if (whence == AVSEEK_SIZE)
        return int64_t(self->m_size);
    // Offsets come from the file: compare before adding, so no sum overflows.
    const int64_t size = int64_t(self->m_size);
    int64_t base;
    switch (whence) {
    case SEEK_SET: base = 0; break;
    case SEEK_CUR: base = int64_t(self->m_position); break;
    case SEEK_END: base = size; break;
    default: return AVERROR(EINVAL);
    }
    if (offset < -base || offset > size - base)
        return AVERROR(EINVAL);
    self->m_position = size_t(base + offset);
    return int64_t(self->m_position);
}
