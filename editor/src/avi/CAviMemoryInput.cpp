#include "CAviMemoryInput.h"

#include "AvioSeek.h"

extern "C" {
#include <libavformat/avio.h>
#include <libavutil/error.h>
#include <libavutil/mem.h>
}

#include <algorithm>
#include <cstdio>
#include <cstring>

std::unique_ptr<CAviMemoryInput> CAviMemoryInput::Create(const uint8_t* data, size_t size)
{
    constexpr int kReadBuffer = 32 * 1024;
    std::unique_ptr<CAviMemoryInput> input(new CAviMemoryInput(data, size));
    auto* buffer = static_cast<uint8_t*>(av_malloc(kReadBuffer));
    if (!buffer)
        return nullptr;
    input->m_context = avio_alloc_context(buffer, kReadBuffer, 0, input.get(), ReadPacket, nullptr, SeekTo);
    if (!input->m_context) {
        av_free(buffer);
        return nullptr;
    }
    return input;
}

CAviMemoryInput::~CAviMemoryInput()
{
    if (!m_context)
        return;
    // The buffer is FFmpeg's by now (it may have swapped it for another).
    av_freep(&m_context->buffer);
    avio_context_free(&m_context);
}

int CAviMemoryInput::ReadPacket(void* self, uint8_t* buffer, int wanted)
{
    auto& input = *static_cast<CAviMemoryInput*>(self);
    if (input.m_offset >= input.m_size)
        return AVERROR_EOF;
    const size_t count = std::min(input.m_size - input.m_offset, size_t(wanted > 0 ? wanted : 0));
    std::memcpy(buffer, input.m_data + input.m_offset, count);
    input.m_offset += count;
    return int(count);
}

int64_t CAviMemoryInput::SeekTo(void* self, int64_t offset, int whence)
{
    auto& input = *static_cast<CAviMemoryInput*>(self);
    const int64_t position = ResolveAvioSeek(offset, whence, input.m_offset, input.m_size);
    if (position >= 0 && !(whence & AVSEEK_SIZE))
        input.m_offset = size_t(position);
    return position;
}
