#include "CAviInput.h"

#include "CMemoryAvio.h"
#include "media/VideoPlayer.h"

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/log.h>
}

#include <mutex>

namespace {

constexpr unsigned kMaxStreams = 16;

void QuietLibraries()
{
    static std::once_flag once;
    std::call_once(once, [] { av_log_set_level(AV_LOG_QUIET); });
}

// The AVI demultiplexer never needs another file; refuse if anything asks.
int RefuseNestedOpen(AVFormatContext*, AVIOContext**, const char*, int, AVDictionary**)
{
    return AVERROR(EPERM);
}

} // namespace

CAviInput::CAviInput() = default;

CAviInput::~CAviInput()
{
    if (m_format)
        avformat_close_input(&m_format);
    m_input.reset(); // after the demultiplexer that read from it
}

int CAviInput::Open(const uint8_t* data, size_t size)
{
    if (!data || size == 0)
        return VIDEO_NO_FILE;
    QuietLibraries();
    const AVInputFormat* avi = av_find_input_format("avi");
    if (!avi)
        return VIDEO_NOT_AVI;
    m_input = CMemoryAvio::Create(data, size);
    AVFormatContext* format = avformat_alloc_context();
    if (!m_input || !format) {
        avformat_free_context(format);
        return VIDEO_NO_MEMORY;
    }
    format->pb = m_input->Context();
    format->io_open = RefuseNestedOpen;
    format->max_streams = kMaxStreams;
    // On failure FFmpeg frees the context (not our input) and clears the pointer.
    if (avformat_open_input(&format, "", avi, nullptr) < 0)
        return VIDEO_NOT_AVI;
    m_format = format;
    return VIDEO_OK;
}

void CAviInput::KeepOnlyStream(int keep)
{
    for (unsigned i = 0; m_format && i < m_format->nb_streams; ++i)
        m_format->streams[i]->discard = int(i) == keep ? AVDISCARD_DEFAULT : AVDISCARD_ALL;
}
