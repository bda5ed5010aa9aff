#include "CVideoDecoder.h"

#include "avi/CAviInput.h"
#include "media/VideoPlayer.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/mathematics.h>
}

#include <cmath>

namespace {

// The codecs an AVI file of ours may use. Anything else is refused before a
// decoder is opened, which keeps the decoders hostile bytes can reach few.
constexpr AVCodecID kVideoCodecs[] = {
    AV_CODEC_ID_RAWVIDEO, AV_CODEC_ID_MJPEG,     AV_CODEC_ID_MPEG4,      AV_CODEC_ID_MSMPEG4V2,
    AV_CODEC_ID_MSMPEG4V3, AV_CODEC_ID_H263,     AV_CODEC_ID_H264,       AV_CODEC_ID_MPEG1VIDEO,
    AV_CODEC_ID_MPEG2VIDEO, AV_CODEC_ID_CINEPAK, AV_CODEC_ID_MSVIDEO1,   AV_CODEC_ID_MSRLE,
    AV_CODEC_ID_PNG,       AV_CODEC_ID_HUFFYUV,  AV_CODEC_ID_FFVHUFF,
};

// A frame more than this far after the one before has a timestamp that is
// not believed: it gets the next slot at the video's rate instead, so damage
// cannot stall playback for hours.
constexpr int64_t kMaxGap = 5'000'000;
// Timestamps beyond this (in either unit) are not believed either; keeping
// them small keeps every sum below far from overflowing.
constexpr int64_t kStampLimit = int64_t(1) << 52;
// A stream that yields no frame for this many packets, or fails this many
// times in a row, has ended.
constexpr int kMaxPacketsWithoutFrame = 4096;
constexpr int kMaxErrorsInARow = 64;
// Rates outside this range are damage; such a video plays at the default.
constexpr double kMinFrameRate = 1.0, kMaxFrameRate = 240.0, kDefaultFrameRate = 15.0;

bool IsVideoCodec(AVCodecID id)
{
    for (AVCodecID accepted : kVideoCodecs)
        if (id == accepted)
            return true;
    return false;
}

bool IsValidRate(AVRational rate)
{
    if (rate.num <= 0 || rate.den <= 0)
        return false;
    const double value = av_q2d(rate);
    return value >= kMinFrameRate && value <= kMaxFrameRate;
}

} // namespace

int CVideoDecoder::Open(const uint8_t* data, size_t size, std::unique_ptr<CVideoDecoder>& decoder)
{
    decoder.reset();
    std::unique_ptr<CVideoDecoder> made(new CVideoDecoder);
    const int code = made->OpenStream(data, size);
    if (code == VIDEO_OK)
        decoder = std::move(made);
    return code;
}

int CVideoDecoder::OpenStream(const uint8_t* data, size_t size)
{
    m_input = std::make_unique<CAviInput>();
    m_packet = av_packet_alloc();
    m_next = av_frame_alloc();
    m_shown = av_frame_alloc();
    if (!m_packet || !m_next || !m_shown)
        return VIDEO_NO_MEMORY;
    // A file cut short plays as far as it goes.
    switch (m_input->Open(data, size, CAviInput::LayoutCheck::None)) {
    case AviResult::Ok: break;
    case AviResult::NoData: return VIDEO_NO_FILE;
    case AviResult::OutOfMemory: return VIDEO_NO_MEMORY;
    default: return VIDEO_NOT_AVI;
    }
    m_format = m_input->Format();

    m_stream = av_find_best_stream(m_format, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    if (m_stream < 0)
        return VIDEO_NO_VIDEO_STREAM;
    AVStream* stream = m_format->streams[m_stream];
    const AVCodecParameters* par = stream->codecpar;
    if (!IsVideoCodec(par->codec_id))
        return VIDEO_UNSUPPORTED_CODEC;
    if (par->width < 1 || par->height < 1 || par->width > VIDEO_MAX_SIDE || par->height > VIDEO_MAX_SIDE ||
        int64_t(par->width) * par->height > VIDEO_MAX_PIXELS)
        return VIDEO_BAD_SIZE;
    m_width = par->width;
    m_height = par->height;
    // Only the video's packets are wanted; the demultiplexer skips the rest.
    m_input->KeepOnlyStream(m_stream);

    const AVCodec* codec = avcodec_find_decoder(par->codec_id);
    if (!codec)
        return VIDEO_UNSUPPORTED_CODEC;
    m_codec = avcodec_alloc_context3(codec);
    if (!m_codec)
        return VIDEO_NO_MEMORY;
    if (avcodec_parameters_to_context(m_codec, par) < 0)
        return VIDEO_UNSUPPORTED_CODEC;
    m_codec->thread_count = 1;
    m_codec->max_pixels = VIDEO_MAX_PIXELS;
    m_codec->pkt_timebase = stream->time_base;
    if (avcodec_open2(m_codec, codec, nullptr) < 0)
        return VIDEO_UNSUPPORTED_CODEC;

    if (stream->time_base.num > 0 && stream->time_base.den > 0) {
        m_timeBaseNum = stream->time_base.num;
        m_timeBaseDen = stream->time_base.den;
    }
    AVRational rate = stream->avg_frame_rate;
    if (!IsValidRate(rate))
        rate = stream->r_frame_rate;
    if (!IsValidRate(rate))
        rate = AVRational{m_timeBaseDen, m_timeBaseNum};
    const double framesPerSecond = IsValidRate(rate) ? av_q2d(rate) : kDefaultFrameRate;
    m_frameDuration = std::llround(1e6 / framesPerSecond);
    return VIDEO_OK;
}

CVideoDecoder::~CVideoDecoder()
{
    av_frame_free(&m_shown);
    av_frame_free(&m_next);
    av_packet_free(&m_packet);
    avcodec_free_context(&m_codec);
    m_format = nullptr;
    m_input.reset();
}

bool CVideoDecoder::DecodeNext()
{
    int packets = 0, errors = 0;
    while (!m_ended) {
        int code = avcodec_receive_frame(m_codec, m_next);
        if (code == 0)
            return true;
        if (code == AVERROR_EOF)
            break;
        if (code != AVERROR(EAGAIN)) {
            if (++errors > kMaxErrorsInARow)
                break;
            continue;
        }
        if (m_draining || ++packets > kMaxPacketsWithoutFrame)
            break;
        code = av_read_frame(m_format, m_packet);
        if (code < 0) {
            // The end of the file, or damage the demultiplexer cannot get
            // past: what the decoder still holds comes out, then the end.
            m_draining = true;
            avcodec_send_packet(m_codec, nullptr);
            continue;
        }
        if (m_packet->stream_index == m_stream) {
            code = avcodec_send_packet(m_codec, m_packet);
            if (code < 0 && ++errors > kMaxErrorsInARow) {
                av_packet_unref(m_packet);
                break;
            }
            if (code >= 0)
                errors = 0;
        }
        av_packet_unref(m_packet);
    }
    m_ended = true;
    return false;
}

int64_t CVideoDecoder::TimeOf(const AVFrame& frame)
{
    int64_t time = -1;
    const int64_t stamp = frame.best_effort_timestamp;
    if (stamp != AV_NOPTS_VALUE && m_timeBaseDen > 0 && stamp > -kStampLimit && stamp < kStampLimit) {
        const int64_t micro = av_rescale_q(stamp, AVRational{m_timeBaseNum, m_timeBaseDen}, AVRational{1, 1000000});
        if (micro > -kStampLimit && micro < kStampLimit) {
            if (m_firstStamp == INT64_MIN)
                m_firstStamp = micro;
            time = micro - m_firstStamp;
        }
    }
    const int64_t earliest = m_lastTime < 0 ? 0 : m_lastTime;
    if (time < earliest || time > earliest + kMaxGap)
        time = m_lastTime < 0 ? 0 : m_lastTime + m_frameDuration;
    m_lastTime = time;
    return time;
}

bool CVideoDecoder::Peek(int64_t& timeMicroseconds)
{
    if (!m_nextReady) {
        if (!DecodeNext())
            return false;
        m_nextReady = true;
        m_nextTime = TimeOf(*m_next);
    }
    timeMicroseconds = m_nextTime;
    return true;
}

const AVFrame* CVideoDecoder::Take()
{
    if (!m_nextReady)
        return nullptr;
    av_frame_unref(m_shown);
    av_frame_move_ref(m_shown, m_next);
    m_nextReady = false;
    ++m_taken;
    return m_shown;
}
