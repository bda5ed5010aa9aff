#include "avi/CAviOutput.h"

#include "AvioSeek.h"
#include "avi/IAviByteTarget.h"

extern "C" {
#include <libavcodec/packet.h>
#include <libavformat/avformat.h>
#include <libavutil/mem.h>
}

namespace {

constexpr int kWriteBuffer = 64 * 1024;

} // namespace

AviResult CAviOutput::Create(IAviByteTarget& target, std::unique_ptr<CAviOutput>& output)
{
    output.reset();
    std::unique_ptr<CAviOutput> made(new CAviOutput(target));
    auto* buffer = static_cast<uint8_t*>(av_malloc(kWriteBuffer));
    if (buffer)
        made->m_io = avio_alloc_context(buffer, kWriteBuffer, 1, made.get(), nullptr, WriteBytes, Seek);
    if (!made->m_io) {
        av_free(buffer);
        return AviResult::OutOfMemory;
    }
    if (avformat_alloc_output_context2(&made->m_format, nullptr, "avi", nullptr) < 0 || !made->m_format)
        return AviResult::OutOfMemory;
    made->m_format->pb = made->m_io;
    made->m_format->flags |= AVFMT_FLAG_CUSTOM_IO | AVFMT_FLAG_BITEXACT;
    output = std::move(made);
    return AviResult::Ok;
}

CAviOutput::~CAviOutput()
{
    avformat_free_context(m_format); // the byte output is ours, freed below
    if (m_io) {
        av_freep(&m_io->buffer);
        avio_context_free(&m_io);
    }
}

AviResult CAviOutput::WriteHeader()
{
    if (m_headerWritten || avformat_write_header(m_format, nullptr) < 0 || m_ioFailed)
        return AviResult::WriteFailed;
    m_headerWritten = true;
    return AviResult::Ok;
}

AviResult CAviOutput::Write(AVPacket* packet)
{
    if (!m_headerWritten || m_finished) {
        av_packet_unref(packet);
        return AviResult::WriteFailed;
    }
    const int written = av_interleaved_write_frame(m_format, packet);
    return written < 0 || m_ioFailed ? AviResult::WriteFailed : AviResult::Ok;
}

AviResult CAviOutput::Finish()
{
    if (!m_headerWritten || m_finished || av_write_trailer(m_format) < 0)
        return AviResult::WriteFailed;
    avio_flush(m_io);
    m_finished = true;
    return m_ioFailed ? AviResult::WriteFailed : AviResult::Ok;
}

#if LIBAVFORMAT_VERSION_MAJOR >= 61
int CAviOutput::WriteBytes(void* self, const uint8_t* bytes, int size)
#else
int CAviOutput::WriteBytes(void* self, uint8_t* bytes, int size)
#endif
{
    auto& output = *static_cast<CAviOutput*>(self);
    const size_t count = size_t(size > 0 ? size : 0);
    // The seek rule keeps the position within what was written.
    if (!output.m_target.WriteAt(output.m_position, bytes, count)) {
        output.m_ioFailed = true;
        return AVERROR(EIO);
    }
    output.m_position += count;
    return size;
}

int64_t CAviOutput::Seek(void* self, int64_t offset, int whence)
{
    // A multiplexer only ever goes back into what it wrote.
    auto& output = *static_cast<CAviOutput*>(self);
    const int64_t position = ResolveAvioSeek(offset, whence, output.m_position, output.m_target.Size());
    if (position >= 0 && !(whence & AVSEEK_SIZE))
        output.m_position = uint64_t(position);
    return position;
}
