#include "CVideoSoundtrack.h"

#include "avi/CAviInput.h"
#include "common/ByteOrder.h"
#include "common/CMemoryBlock.h"
#include "media/CSoundDevice.h"
#include "media/VideoPlayer.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libswresample/swresample.h>
}

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

constexpr AVCodecID kSoundtrackCodecs[] = {
    AV_CODEC_ID_PCM_S16LE, AV_CODEC_ID_PCM_U8,    AV_CODEC_ID_PCM_S24LE, AV_CODEC_ID_PCM_S32LE,
    AV_CODEC_ID_PCM_F32LE, AV_CODEC_ID_PCM_MULAW, AV_CODEC_ID_PCM_ALAW,  AV_CODEC_ID_ADPCM_MS,
    AV_CODEC_ID_ADPCM_IMA_WAV, AV_CODEC_ID_MP2,   AV_CODEC_ID_MP3,
};
constexpr int kMinSampleRate = 4000, kMaxSampleRate = 192000, kMaxSoundtrackChannels = 8;
// Rates the sound device plays as they are; others become the game's rate.
constexpr int kMinKeptRate = 8000, kMaxKeptRate = 48000, kFallbackRate = 22050;
constexpr int kMaxSoundErrorsInARow = 64;
constexpr size_t kWaveHeaderSize = 44;

struct CodecCloser {
    void operator()(AVCodecContext* c) const { avcodec_free_context(&c); }
};
struct PacketFreer {
    void operator()(AVPacket* p) const { av_packet_free(&p); }
};
struct FrameFreer {
    void operator()(AVFrame* f) const { av_frame_free(&f); }
};
struct ResamplerFreer {
    void operator()(SwrContext* s) const { swr_free(&s); }
};

bool IsSoundtrackCodec(AVCodecID id)
{
    return std::find(std::begin(kSoundtrackCodecs), std::end(kSoundtrackCodecs), id) != std::end(kSoundtrackCodecs);
}

// The decoded track: interleaved signed 16-bit samples.
struct Pcm {
    std::vector<uint8_t> bytes;
    int rate = 0;
    int channels = 0;
};

class TrackDecoder {
public:
    bool Open(const uint8_t* data, size_t size);
    bool Run(Pcm& pcm);

private:
    bool Convert(const AVFrame* frame, Pcm& pcm);

    CAviInput m_input;
    int m_stream = -1;
    std::unique_ptr<AVCodecContext, CodecCloser> m_codec;
    std::unique_ptr<SwrContext, ResamplerFreer> m_resampler;
    int m_outRate = 0;
    int m_outChannels = 0;
};

bool TrackDecoder::Open(const uint8_t* data, size_t size)
{
    if (m_input.Open(data, size, CAviInput::LayoutCheck::None) != AviResult::Ok)
        return false;
    AVFormatContext* format = m_input.Format();
    m_stream = av_find_best_stream(format, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    if (m_stream < 0)
        return false;
    const AVCodecParameters* par = format->streams[m_stream]->codecpar;
    const int channels = par->ch_layout.nb_channels;
    if (!IsSoundtrackCodec(par->codec_id) || channels < 1 || channels > kMaxSoundtrackChannels || par->sample_rate < kMinSampleRate ||
        par->sample_rate > kMaxSampleRate)
        return false;
    m_input.KeepOnlyStream(m_stream);
    const AVCodec* codec = avcodec_find_decoder(par->codec_id);
    if (!codec)
        return false;
    m_codec.reset(avcodec_alloc_context3(codec));
    if (!m_codec || avcodec_parameters_to_context(m_codec.get(), par) < 0)
        return false;
    m_codec->thread_count = 1;
    if (avcodec_open2(m_codec.get(), codec, nullptr) < 0 || m_codec->ch_layout.nb_channels != channels)
        return false;

    m_outChannels = std::min(channels, 2);
    m_outRate = par->sample_rate >= kMinKeptRate && par->sample_rate <= kMaxKeptRate ? par->sample_rate
                                                                                      : kFallbackRate;
    AVChannelLayout in, out;
    av_channel_layout_default(&in, channels);
    av_channel_layout_default(&out, m_outChannels);
    SwrContext* resampler = nullptr;
    const int code = swr_alloc_set_opts2(&resampler, &out, AV_SAMPLE_FMT_S16, m_outRate, &in, m_codec->sample_fmt,
                                         m_codec->sample_rate, 0, nullptr);
    av_channel_layout_uninit(&in);
    av_channel_layout_uninit(&out);
    m_resampler.reset(resampler);
    return code >= 0 && m_resampler && swr_init(m_resampler.get()) >= 0;
}

bool TrackDecoder::Convert(const AVFrame* frame, Pcm& pcm)
{
    const size_t frameBytes = size_t(m_outChannels) * 2;
    const int capacity = swr_get_out_samples(m_resampler.get(), frame ? frame->nb_samples : 0);
    if (capacity < 0)
        return false;
    const size_t before = pcm.bytes.size();
    pcm.bytes.resize(before + (size_t(capacity) + 16) * frameBytes);
    uint8_t* target = pcm.bytes.data() + before;
    const int produced = swr_convert(m_resampler.get(), &target, capacity + 16,
                                     frame ? const_cast<const uint8_t**>(frame->extended_data) : nullptr,
                                     frame ? frame->nb_samples : 0);
    pcm.bytes.resize(before + size_t(std::max(produced, 0)) * frameBytes);
    return produced >= 0;
}

bool TrackDecoder::Run(Pcm& pcm)
{
    std::unique_ptr<AVPacket, PacketFreer> packet(av_packet_alloc());
    std::unique_ptr<AVFrame, FrameFreer> frame(av_frame_alloc());
    if (!packet || !frame)
        return false;
    pcm.rate = m_outRate;
    pcm.channels = m_outChannels;
    bool draining = false;
    int errors = 0;
    while (pcm.bytes.size() < VIDEO_MAX_SOUNDTRACK_BYTES && errors <= kMaxSoundErrorsInARow) {
        int code = avcodec_receive_frame(m_codec.get(), frame.get());
        if (code == 0) {
            // A frame whose layout changed midway is damage: leave it out.
            if (frame->format == m_codec->sample_fmt && frame->sample_rate == m_codec->sample_rate &&
                frame->ch_layout.nb_channels == m_codec->ch_layout.nb_channels && !Convert(frame.get(), pcm))
                ++errors;
            av_frame_unref(frame.get());
            continue;
        }
        if (code == AVERROR_EOF)
            break;
        if (code != AVERROR(EAGAIN)) {
            ++errors;
            continue;
        }
        if (draining)
            break;
        if (av_read_frame(m_input.Format(), packet.get()) < 0) {
            draining = true;
            avcodec_send_packet(m_codec.get(), nullptr);
            continue;
        }
        if (packet->stream_index == m_stream)
            errors = avcodec_send_packet(m_codec.get(), packet.get()) < 0 ? errors + 1 : 0;
        av_packet_unref(packet.get());
    }
    Convert(nullptr, pcm); // what the resampler still holds
    const size_t frameBytes = size_t(pcm.channels) * 2;
    const size_t kept = std::min(pcm.bytes.size(), VIDEO_MAX_SOUNDTRACK_BYTES / frameBytes * frameBytes);
    pcm.bytes.resize(kept);
    return kept > 0;
}

// A whole WAV file around the samples, as the sound device loads it.
CMemoryBlock* WaveFileOf(const Pcm& pcm)
{
    const uint32_t dataBytes = uint32_t(pcm.bytes.size());
    CMemoryBlock* block = CMemoryBlock::Allocate(kWaveHeaderSize + dataBytes);
    if (!block)
        return nullptr;
    uint8_t* p = block->Lock();
    const uint16_t align = uint16_t(pcm.channels * 2);
    std::memcpy(p, "RIFF", 4);
    WriteLE32(p + 4, uint32_t(kWaveHeaderSize - 8) + dataBytes);
    std::memcpy(p + 8, "WAVEfmt ", 8);
    WriteLE32(p + 16, 16);
    WriteLE16(p + 20, 1); // PCM
    WriteLE16(p + 22, uint16_t(pcm.channels));
    WriteLE32(p + 24, uint32_t(pcm.rate));
    WriteLE32(p + 28, uint32_t(pcm.rate) * align);
    WriteLE16(p + 32, align);
    WriteLE16(p + 34, 16);
    std::memcpy(p + 36, "data", 4);
    WriteLE32(p + 40, dataBytes);
    std::memcpy(p + kWaveHeaderSize, pcm.bytes.data(), dataBytes);
    block->Unlock();
    return block;
}

} // namespace

std::unique_ptr<CVideoSoundtrack> CVideoSoundtrack::Load(const uint8_t* data, size_t size, CSoundDevice& device)
{
    Pcm pcm;
    {
        TrackDecoder decoder;
        if (!decoder.Open(data, size) || !decoder.Run(pcm))
            return nullptr;
    }
    CMemoryBlock* block = WaveFileOf(pcm);
    if (!block)
        return nullptr;
    std::unique_ptr<CVideoSoundtrack> track(new CVideoSoundtrack(device));
    track->m_sound = device.NewSound();
    // The device owns the block from here on, whatever it answers.
    if (device.LoadBlock(track->m_sound, block, 1, SoundLoadOptions{.flags = SOUND_LOAD_OWN_BLOCK}) != SOUND_OK)
        return nullptr;
    track->m_rate = uint32_t(pcm.rate);
    track->m_channels = pcm.channels;
    track->m_bytes = uint32_t(pcm.bytes.size());
    return track;
}

CVideoSoundtrack::~CVideoSoundtrack()
{
    m_device.DeleteSound(m_sound);
}

void CVideoSoundtrack::PlayFrom(int64_t microseconds)
{
    // Ten hours is past the end of any track kept; the bound keeps the
    // product below in range.
    constexpr int64_t kLongest = int64_t(36000) * 1000000;
    const uint64_t frameBytes = uint64_t(m_channels) * 2;
    const uint64_t offset = uint64_t(std::clamp<int64_t>(microseconds, 0, kLongest)) * m_rate / 1000000 * frameBytes;
    if (offset >= m_bytes)
        return;
    m_device.Play(m_sound, int(offset), SOUND_NO_CHANGE, SOUND_NO_CHANGE, SOUND_NO_CHANGE, false);
}

void CVideoSoundtrack::Stop()
{
    m_device.Stop(m_sound);
}
