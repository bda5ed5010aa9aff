#include "video/VideoEncoder.h"

#include "avi/CAviOutput.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/error.h>
}

#include <algorithm>

namespace {

// Studio-range BT.601, the colours MPEG-4 decoders assume, in integers.
uint8_t Luma(int r, int g, int b)
{
    return uint8_t(((66 * r + 129 * g + 25 * b + 128) >> 8) + 16);
}
uint8_t ChromaBlue(int r, int g, int b)
{
    return uint8_t(((-38 * r - 74 * g + 112 * b + 128) >> 8) + 128);
}
uint8_t ChromaRed(int r, int g, int b)
{
    return uint8_t(((112 * r - 94 * g - 18 * b + 128) >> 8) + 128);
}

} // namespace

VideoEncoder::VideoEncoder() = default;

VideoEncoder::~VideoEncoder()
{
    Release();
}

void VideoEncoder::Release()
{
    av_packet_free(&m_packet);
    av_frame_free(&m_frame);
    avcodec_free_context(&m_codec);
    m_output.reset();
    m_stream = nullptr;
    m_soundStream = nullptr;
    m_headerWritten = false;
}

bool VideoEncoder::Fail(const std::string& what, int code)
{
    m_error = what;
    if (code < 0) {
        char text[AV_ERROR_MAX_STRING_SIZE] = {};
        av_strerror(code, text, sizeof text);
        m_error += std::string(": ") + text;
    }
    Release();
    return false;
}

bool VideoEncoder::Open(int width, int height, int framesPerSecond, int quantiser, std::vector<int16_t> soundtrack,
                        int sampleRate)
{
    Release();
    m_file.Take();
    m_nextPts = 0;
    m_soundtrack = std::move(soundtrack);
    m_sampleRate = sampleRate;
    m_framesPerSecond = framesPerSecond;
    m_soundWritten = 0;
    if (width <= 0 || height <= 0 || (width | height) & 1 || framesPerSecond <= 0)
        return Fail("unsupported video size or rate");
    if (!m_soundtrack.empty() && (sampleRate < 8000 || sampleRate > 48000))
        return Fail("unsupported soundtrack rate");

    const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_MPEG4);
    if (!codec)
        return Fail("no MPEG-4 encoder in this FFmpeg");
    if (CAviOutput::Create(m_file, m_output) != AviResult::Ok)
        return Fail("cannot set up the AVI muxer");
    AVFormatContext* format = m_output->Format();
    int code = 0;

    m_codec = avcodec_alloc_context3(codec);
    if (!m_codec)
        return Fail("out of memory");
    m_codec->width = width;
    m_codec->height = height;
    m_codec->pix_fmt = AV_PIX_FMT_YUV420P;
    m_codec->time_base = AVRational{1, framesPerSecond};
    m_codec->framerate = AVRational{framesPerSecond, 1};
    m_codec->gop_size = framesPerSecond * 2;
    m_codec->max_b_frames = 0;
    m_codec->thread_count = 1;
    m_codec->color_range = AVCOL_RANGE_MPEG;
    m_codec->colorspace = AVCOL_SPC_BT470BG;
    m_codec->flags |= AV_CODEC_FLAG_BITEXACT | AV_CODEC_FLAG_QSCALE;
    m_quality = FF_QP2LAMBDA * std::clamp(quantiser, 2, 31);
    m_codec->global_quality = m_quality;
    if (format->oformat->flags & AVFMT_GLOBALHEADER)
        m_codec->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    if ((code = avcodec_open2(m_codec, codec, nullptr)) < 0)
        return Fail("cannot open the MPEG-4 encoder", code);

    m_stream = avformat_new_stream(format, nullptr);
    if (!m_stream)
        return Fail("out of memory");
    m_stream->time_base = m_codec->time_base;
    if ((code = avcodec_parameters_from_context(m_stream->codecpar, m_codec)) < 0)
        return Fail("cannot describe the video stream", code);

    if (!m_soundtrack.empty() && !AddSoundtrackStream(sampleRate))
        return false;

    m_frame = av_frame_alloc();
    m_packet = av_packet_alloc();
    if (!m_frame || !m_packet)
        return Fail("out of memory");
    m_frame->format = AV_PIX_FMT_YUV420P;
    m_frame->width = width;
    m_frame->height = height;
    if ((code = av_frame_get_buffer(m_frame, 0)) < 0)
        return Fail("out of memory", code);

    if (m_output->WriteHeader() != AviResult::Ok)
        return Fail("cannot write the AVI header");
    m_headerWritten = true;
    return true;
}

bool VideoEncoder::AddSoundtrackStream(int sampleRate)
{
    m_soundStream = avformat_new_stream(m_output->Format(), nullptr);
    if (!m_soundStream)
        return Fail("out of memory");
    m_soundStream->time_base = AVRational{1, sampleRate};
    AVCodecParameters* sound = m_soundStream->codecpar;
    sound->codec_type = AVMEDIA_TYPE_AUDIO;
    sound->codec_id = AV_CODEC_ID_PCM_S16LE;
    sound->format = AV_SAMPLE_FMT_S16;
    sound->sample_rate = sampleRate;
    av_channel_layout_default(&sound->ch_layout, 1);
    sound->bits_per_coded_sample = 16;
    sound->block_align = 2;
    sound->bit_rate = int64_t(sampleRate) * 16;
    return true;
}

bool VideoEncoder::WriteSound(int64_t end)
{
    end = std::min<int64_t>(end, int64_t(m_soundtrack.size()));
    if (!m_soundStream || end <= m_soundWritten)
        return true;
    const int samples = int(end - m_soundWritten);
    int code = av_new_packet(m_packet, samples * 2);
    if (code < 0)
        return Fail("out of memory", code);
    // Little-endian 16-bit, whatever the machine's own order.
    for (int i = 0; i < samples; ++i) {
        const uint16_t v = uint16_t(m_soundtrack[size_t(m_soundWritten + i)]);
        m_packet->data[2 * i] = uint8_t(v);
        m_packet->data[2 * i + 1] = uint8_t(v >> 8);
    }
    m_packet->pts = m_packet->dts = m_soundWritten;
    m_packet->duration = samples;
    m_packet->stream_index = m_soundStream->index;
    m_packet->flags |= AV_PKT_FLAG_KEY;
    m_soundWritten = end;
    const AviResult written = m_output->Write(m_packet);
    av_packet_unref(m_packet);
    return written == AviResult::Ok ? true : Fail("cannot write the soundtrack");
}

bool VideoEncoder::Drain()
{
    for (;;) {
        int code = avcodec_receive_packet(m_codec, m_packet);
        if (code == AVERROR(EAGAIN) || code == AVERROR_EOF)
            return true;
        if (code < 0)
            return Fail("encoding failed", code);
        av_packet_rescale_ts(m_packet, m_codec->time_base, m_stream->time_base);
        m_packet->stream_index = m_stream->index;
        if (m_output->Write(m_packet) != AviResult::Ok)
            return Fail("cannot write a frame");
    }
}

bool VideoEncoder::AddFrame(const RgbaImage& image)
{
    if (!m_headerWritten)
        return Fail("the encoder is not open");
    if (image.width != m_codec->width || image.height != m_codec->height)
        return Fail("frame size differs from the video's");
    int code = av_frame_make_writable(m_frame);
    if (code < 0)
        return Fail("out of memory", code);
    const int w = image.width, h = image.height;
    auto channel = [&](int x, int y, int shift) { return int((image.pixels[size_t(y) * w + x] >> shift) & 0xFF); };
    for (int y = 0; y < h; ++y) {
        uint8_t* luma = m_frame->data[0] + ptrdiff_t(y) * m_frame->linesize[0];
        for (int x = 0; x < w; ++x)
            luma[x] = Luma(channel(x, y, 16), channel(x, y, 8), channel(x, y, 0));
    }
    // Chroma from the average colour of each 2 x 2 block.
    for (int y = 0; y < h / 2; ++y) {
        uint8_t* blue = m_frame->data[1] + ptrdiff_t(y) * m_frame->linesize[1];
        uint8_t* red = m_frame->data[2] + ptrdiff_t(y) * m_frame->linesize[2];
        for (int x = 0; x < w / 2; ++x) {
            int sum[3] = {0, 0, 0};
            for (int k = 0; k < 4; ++k)
                for (int c = 0; c < 3; ++c)
                    sum[c] += channel(2 * x + (k & 1), 2 * y + (k >> 1), 16 - 8 * c);
            const int r = (sum[0] + 2) / 4, g = (sum[1] + 2) / 4, b = (sum[2] + 2) / 4;
            blue[x] = ChromaBlue(r, g, b);
            red[x] = ChromaRed(r, g, b);
        }
    }
    m_frame->pts = m_nextPts++;
    m_frame->quality = m_quality;
    if ((code = avcodec_send_frame(m_codec, m_frame)) < 0)
        return Fail("encoding failed", code);
    return Drain() && WriteSound(m_nextPts * m_sampleRate / m_framesPerSecond);
}

bool VideoEncoder::Finish(std::vector<uint8_t>& file)
{
    if (!m_headerWritten)
        return Fail("the encoder is not open");
    int code = avcodec_send_frame(m_codec, nullptr);
    if (code < 0)
        return Fail("encoding failed", code);
    if (!Drain() || !WriteSound(int64_t(m_soundtrack.size())))
        return false;
    if (m_output->Finish() != AviResult::Ok)
        return Fail("cannot finish the AVI file");
    file = m_file.Take();
    Release();
    return true;
}
