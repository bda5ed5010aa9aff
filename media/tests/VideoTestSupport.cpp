#include "VideoTestSupport.h"

#include "imaging/CDibPalette.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/mem.h>
#include <libswscale/swscale.h>
}

#include <cmath>
#include <cstring>
#include <memory>

namespace videotest {

namespace {

constexpr int kIoBufferSize = 1 << 14;

struct Output {
    std::vector<uint8_t> bytes;
    size_t position = 0;
};

#if LIBAVFORMAT_VERSION_MAJOR >= 61
int WriteOut(void* opaque, const uint8_t* data, int size)
#else
int WriteOut(void* opaque, uint8_t* data, int size)
#endif
{
    auto* out = static_cast<Output*>(opaque);
    if (size <= 0)
        return 0;
    if (out->position + size_t(size) > out->bytes.size())
        out->bytes.resize(out->position + size_t(size));
    std::memcpy(out->bytes.data() + out->position, data, size_t(size));
    out->position += size_t(size);
    return size;
}

int64_t SeekOut(void* opaque, int64_t offset, int whence)
{
    auto* out = static_cast<Output*>(opaque);
    switch (whence & ~AVSEEK_FORCE) {
    case AVSEEK_SIZE: return int64_t(out->bytes.size());
    case SEEK_SET: out->position = size_t(offset); break;
    case SEEK_CUR: out->position = size_t(int64_t(out->position) + offset); break;
    case SEEK_END: out->position = size_t(int64_t(out->bytes.size()) + offset); break;
    default: return -1;
    }
    return int64_t(out->position);
}

// Everything one file needs, freed together.
struct Muxer {
    Output output;
    AVFormatContext* format = nullptr;
    AVIOContext* io = nullptr;
    AVCodecContext* video = nullptr;
    AVCodecContext* audio = nullptr;
    AVStream* videoStream = nullptr;
    AVStream* audioStream = nullptr;
    SwsContext* scaler = nullptr;
    AVFrame* frame = nullptr;
    AVPacket* packet = nullptr;

    ~Muxer()
    {
        av_packet_free(&packet);
        av_frame_free(&frame);
        sws_freeContext(scaler);
        avcodec_free_context(&video);
        avcodec_free_context(&audio);
        if (format)
            avformat_free_context(format);
        if (io) {
            av_freep(&io->buffer);
            avio_context_free(&io);
        }
    }

    bool Drain(AVCodecContext* codec, AVStream* stream)
    {
        while (avcodec_receive_packet(codec, packet) == 0) {
            av_packet_rescale_ts(packet, codec->time_base, stream->time_base);
            packet->stream_index = stream->index;
            if (av_interleaved_write_frame(format, packet) < 0)
                return false;
        }
        return true;
    }
};

AVCodecContext* OpenVideoEncoder(const AviSpec& spec, AVFormatContext* format)
{
    const AVCodec* codec = avcodec_find_encoder_by_name(spec.codec.c_str());
    if (!codec)
        return nullptr;
    AVCodecContext* c = avcodec_alloc_context3(codec);
    c->width = spec.width;
    c->height = spec.height;
    c->time_base = AVRational{1, spec.framesPerSecond};
    c->framerate = AVRational{spec.framesPerSecond, 1};
    c->pix_fmt = codec->pix_fmts ? codec->pix_fmts[0] : AV_PIX_FMT_BGR24;
    c->thread_count = 1;
    c->gop_size = 4;
    c->max_b_frames = 0;
    c->flags |= AV_CODEC_FLAG_BITEXACT | AV_CODEC_FLAG_QSCALE;
    c->global_quality = FF_QP2LAMBDA * 2;
    if (format->oformat->flags & AVFMT_GLOBALHEADER)
        c->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    if (avcodec_open2(c, codec, nullptr) < 0)
        avcodec_free_context(&c);
    return c;
}

AVCodecContext* OpenAudioEncoder(int rate)
{
    const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_PCM_S16LE);
    if (!codec)
        return nullptr;
    AVCodecContext* c = avcodec_alloc_context3(codec);
    c->sample_fmt = AV_SAMPLE_FMT_S16;
    c->sample_rate = rate;
    av_channel_layout_default(&c->ch_layout, 1);
    c->time_base = AVRational{1, rate};
    if (avcodec_open2(c, codec, nullptr) < 0)
        avcodec_free_context(&c);
    return c;
}

bool AddVideoFrame(Muxer& m, const AviSpec& spec, int k)
{
    std::vector<uint8_t> rgb(size_t(spec.width) * spec.height * 3);
    for (int y = 0; y < spec.height; ++y)
        for (int x = 0; x < spec.width; ++x) {
            const uint32_t c = spec.paint ? spec.paint(k, x, y) : FrameColour(k);
            uint8_t* p = &rgb[(size_t(y) * spec.width + x) * 3];
            p[0] = uint8_t(c >> 16);
            p[1] = uint8_t(c >> 8);
            p[2] = uint8_t(c);
        }
    AVFrame* f = av_frame_alloc();
    f->format = m.video->pix_fmt;
    f->width = spec.width;
    f->height = spec.height;
    bool ok = av_frame_get_buffer(f, 0) >= 0;
    const uint8_t* planes[1] = {rgb.data()};
    const int pitches[1] = {spec.width * 3};
    ok = ok && sws_scale(m.scaler, planes, pitches, 0, spec.height, f->data, f->linesize) == spec.height;
    f->pts = k;
    f->quality = m.video->global_quality;
    ok = ok && avcodec_send_frame(m.video, f) >= 0 && m.Drain(m.video, m.videoStream);
    av_frame_free(&f);
    return ok;
}

bool AddAudio(Muxer& m, const AviSpec& spec, int k)
{
    const int rate = spec.audioRate;
    const int64_t first = int64_t(k) * rate / spec.framesPerSecond;
    const int count = int(int64_t(k + 1) * rate / spec.framesPerSecond - first);
    AVFrame* f = av_frame_alloc();
    f->format = AV_SAMPLE_FMT_S16;
    f->sample_rate = rate;
    av_channel_layout_default(&f->ch_layout, 1);
    f->nb_samples = count;
    bool ok = av_frame_get_buffer(f, 0) >= 0;
    for (int i = 0; ok && i < count; ++i)
        reinterpret_cast<int16_t*>(f->data[0])[i] =
            int16_t(std::lround(8000 * std::sin(2 * M_PI * 440.0 * double(first + i) / rate)));
    f->pts = first;
    ok = ok && avcodec_send_frame(m.audio, f) >= 0 && m.Drain(m.audio, m.audioStream);
    av_frame_free(&f);
    return ok;
}

} // namespace

uint32_t FrameColour(int k)
{
    static const uint32_t kColours[] = {0xE02020, 0x20C040, 0x2040E0, 0xE0E040, 0x40E0E0, 0xE040E0, 0x808080, 0xF0A060};
    return kColours[k % 8];
}

bool Near(uint32_t a, uint32_t b, int tolerance)
{
    for (int shift : {0, 8, 16})
        if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > tolerance)
            return false;
    return true;
}

std::vector<uint8_t> MakeAvi(const AviSpec& spec)
{
    Muxer m;
    if (avformat_alloc_output_context2(&m.format, nullptr, "avi", nullptr) < 0 || !m.format)
        return {};
    m.format->flags |= AVFMT_FLAG_BITEXACT;
    auto* buffer = static_cast<unsigned char*>(av_malloc(kIoBufferSize));
    m.io = avio_alloc_context(buffer, kIoBufferSize, 1, &m.output, nullptr, WriteOut, SeekOut);
    m.format->pb = m.io;
    m.video = OpenVideoEncoder(spec, m.format);
    if (!m.video)
        return {};
    m.videoStream = avformat_new_stream(m.format, nullptr);
    m.videoStream->time_base = m.video->time_base;
    avcodec_parameters_from_context(m.videoStream->codecpar, m.video);
    if (spec.audioRate > 0) {
        if (!(m.audio = OpenAudioEncoder(spec.audioRate)))
            return {};
        m.audioStream = avformat_new_stream(m.format, nullptr);
        m.audioStream->time_base = m.audio->time_base;
        avcodec_parameters_from_context(m.audioStream->codecpar, m.audio);
    }
    m.scaler = sws_getContext(spec.width, spec.height, AV_PIX_FMT_RGB24, spec.width, spec.height, m.video->pix_fmt,
                              SWS_POINT, nullptr, nullptr, nullptr);
    m.packet = av_packet_alloc();
    if (!m.scaler || avformat_write_header(m.format, nullptr) < 0)
        return {};
    for (int k = 0; k < spec.frames; ++k)
        if (!AddVideoFrame(m, spec, k) || (m.audio && !AddAudio(m, spec, k)))
            return {};
    avcodec_send_frame(m.video, nullptr);
    if (!m.Drain(m.video, m.videoStream))
        return {};
    if (m.audio) {
        avcodec_send_frame(m.audio, nullptr);
        m.Drain(m.audio, m.audioStream);
    }
    if (av_write_trailer(m.format) < 0)
        return {};
    avio_flush(m.io);
    return std::move(m.output.bytes);
}

RecordingViewport::RecordingViewport(int width, int height, PixelFormat format)
{
    m_surface = MakeDib<CDibSection>();
    CDibSection* surface = m_surface.Get();
    EXPECT_EQ(surface->Create(width, height, format), DIB_OK);
    if (format == PF_INDEX8) {
        // A palette of 6 x 6 x 6 colours plus greys, like a menu palette.
        auto* palette = new CDibPalette;
        palette->Create(256);
        PaletteEntry entries[256] = {};
        for (int i = 0; i < 216; ++i)
            entries[i] = PaletteEntry{uint8_t(i / 36 * 51), uint8_t(i / 6 % 6 * 51), uint8_t(i % 6 * 51), 0};
        for (int i = 216; i < 256; ++i)
            entries[i] = PaletteEntry{uint8_t((i - 216) * 6), uint8_t((i - 216) * 6), uint8_t((i - 216) * 6), 0};
        palette->SetEntries(entries, 0, 256);
        surface->SetPalette(palette);
        palette->Release();
    }
}

void RecordingViewport::Present()
{
    presented.push_back(frameNumber ? frameNumber() : 0);
}

uint32_t RecordingViewport::ColourAt(int x, int y) const
{
    CDibSection& s = *m_surface.Get();
    const uint32_t pixel = s.GetPixel(x, y);
    switch (s.GetFormat()) {
    case PF_INDEX8: {
        PaletteEntry e{};
        s.GetPalette()->GetEntries(&e, int(pixel), 1);
        return uint32_t(e.red) << 16 | uint32_t(e.green) << 8 | e.blue;
    }
    case PF_RGB555: {
        const auto widen = [](uint32_t v) { return (v << 3) | (v >> 2); };
        return widen((pixel >> 10) & 31) << 16 | widen((pixel >> 5) & 31) << 8 | widen(pixel & 31);
    }
    default: return pixel & 0xFFFFFF; // PF_RGB32: blue in the low byte
    }
}

} // namespace videotest
