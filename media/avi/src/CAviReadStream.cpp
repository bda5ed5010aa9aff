#include "CAviReadStream.h"

#include "AvioSeek.h"

extern "C" {
#include <libavformat/avio.h>
#include <libavutil/error.h>
#include <libavutil/mem.h>
}

#include <algorithm>
#include <cstring>

namespace {

// FFmpeg's own read buffer; small, the bytes are in memory already.
constexpr int kReadBuffer = 32 * 1024;

} // namespace

std::unique_ptr<CAviReadStream> CAviReadStream::Create(const uint8_t* data, size_t size)
{
    std::unique_ptr<CAviReadStream> stream(new CAviReadStream(data, size));
    auto* buffer = static_cast<uint8_t*>(av_malloc(kReadBuffer));
    if (!buffer)
        return nullptr;
    stream->m_context = avio_alloc_context(buffer, kReadBuffer, 0, stream.get(), Read, nullptr, Seek);
    if (!stream->m_context) {
        av_free(buffer);
        return nullptr;
    }
    return stream;
}

CAviReadStream::~CAviReadStream()
{
    if (!m_context)
        return;
    // The buffer is FFmpeg's by now (it may have swapped it for another).
    av_freep(&m_context->buffer);
    avio_context_free(&m_context);
}

int CAviReadStream::Read(void* self, uint8_t* buffer, int wanted)
{
    auto& stream = *static_cast<CAviReadStream*>(self);
    if (stream.m_offset >= stream.m_size)
        return AVERROR_EOF;
    const size_t count = std::min(stream.m_size - stream.m_offset, size_t(wanted > 0 ? wanted : 0));
    std::memcpy(buffer, stream.m_data + stream.m_offset, count);
    stream.m_offset += count;
    return int(count);
}

int64_t CAviReadStream::Seek(void* self, int64_t offset, int whence)
{
    auto& stream = *static_cast<CAviReadStream*>(self);
    const int64_t position = ResolveAvioSeek(offset, whence, stream.m_offset, stream.m_size);
    if (position >= 0 && !(whence & AVSEEK_SIZE))
        stream.m_offset = size_t(position);
    return position;
}
