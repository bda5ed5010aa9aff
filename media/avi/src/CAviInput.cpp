#include "avi/CAviInput.h"

#include "CAviReadStream.h"
#include "avi/RiffLayout.h"

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
    Close();
}

void CAviInput::Close()
{
    if (m_format)
        avformat_close_input(&m_format);
    m_stream.reset(); // after the demultiplexer that read from it
}

AviResult CAviInput::Open(const uint8_t* data, size_t size, LayoutCheck check)
{
    Close();
    if (!data || size == 0)
        return AviResult::NoData;
    if (check == LayoutCheck::WholeFile) {
        switch (CheckRiffLayout(data, size)) {
        case RiffLayout::NotRiff: return AviResult::NotAvi;
        case RiffLayout::Damaged: return AviResult::Damaged;
        case RiffLayout::Sound: break;
        }
    }
    QuietLibraries();
    const AVInputFormat* avi = av_find_input_format("avi");
    if (!avi)
        return AviResult::NotAvi;
    m_stream = CAviReadStream::Create(data, size);
    AVFormatContext* format = avformat_alloc_context();
    if (!m_stream || !format) {
        avformat_free_context(format);
        return AviResult::OutOfMemory;
    }
    format->pb = m_stream->Context();
    format->io_open = RefuseNestedOpen;
    format->max_streams = kMaxStreams;
    // On failure FFmpeg frees the context (not our stream) and clears the pointer.
    if (avformat_open_input(&format, "", avi, nullptr) < 0)
        return AviResult::NotAvi;
    m_format = format;
    return AviResult::Ok;
}

void CAviInput::KeepOnlyStream(int keep)
{
    for (unsigned i = 0; m_format && i < m_format->nb_streams; ++i)
        m_format->streams[i]->discard = int(i) == keep ? AVDISCARD_DEFAULT : AVDISCARD_ALL;
}

int CAviInput::FirstVideoStream() const
{
    for (unsigned i = 0; m_format && i < m_format->nb_streams; ++i)
        if (m_format->streams[i]->codecpar->codec_type == AVMEDIA_TYPE_VIDEO)
            return int(i);
    return -1;
}
