#include "CResampler.h"

extern "C" {
#include <libavutil/channel_layout.h>
#include <libavutil/samplefmt.h>
#include <libswresample/swresample.h>
}

#include <climits>

namespace {
constexpr int kMaxResampleChannels = 8;
// The filter's tables grow with the ratio of the rates; beyond this no real
// sound goes, and a hostile header must not size them.
constexpr uint32_t kMaxResampleRate = 768000;

AVSampleFormat SampleFormatOf(const WaveFormat& format)
{
    if (format.formatTag == WAVE_FORMAT_IEEE_FLOAT)
        return format.bitsPerSample == 32 ? AV_SAMPLE_FMT_FLT : AV_SAMPLE_FMT_NONE;
    if (format.formatTag != WAVE_FORMAT_PCM)
        return AV_SAMPLE_FMT_NONE;
    switch (format.bitsPerSample) {
    case 8:
        return AV_SAMPLE_FMT_U8;
    case 16:
        return AV_SAMPLE_FMT_S16;
    case 32:
        return AV_SAMPLE_FMT_S32;
    default:
        return AV_SAMPLE_FMT_NONE;
    }
}
} // namespace

CResampler::~CResampler()
{
    swr_free(&m_context);
}

bool CResampler::Supports(const WaveFormat& format)
{
    return SampleFormatOf(format) != AV_SAMPLE_FMT_NONE && format.channels >= 1 &&
           format.channels <= kMaxResampleChannels && format.samplesPerSec >= 1 && format.samplesPerSec <= kMaxResampleRate &&
           format.blockAlign == format.channels * format.bitsPerSample / 8;
}

bool CResampler::Open(const WaveFormat& in, const WaveFormat& out)
{
    if (!Supports(in) || !Supports(out))
        return false;
    m_in = in;
    m_out = out;
    return Create();
}

bool CResampler::Create()
{
    swr_free(&m_context);
    AVChannelLayout inLayout;
    AVChannelLayout outLayout;
    av_channel_layout_default(&inLayout, m_in.channels);
    av_channel_layout_default(&outLayout, m_out.channels);
    int status = swr_alloc_set_opts2(&m_context, &outLayout, SampleFormatOf(m_out), static_cast<int>(m_out.samplesPerSec),
                                     &inLayout, SampleFormatOf(m_in), static_cast<int>(m_in.samplesPerSec), 0, nullptr);
    av_channel_layout_uninit(&inLayout);
    av_channel_layout_uninit(&outLayout);
    if (status < 0 || !m_context)
        return false;
    // The library's own down- and up-mix lowers the level by 3 dB; sound
    // effects keep their loudness when only the channel count changes.
    if (m_in.channels == 1 && m_out.channels == 2) {
        const double both[] = {1.0, 1.0};
        swr_set_matrix(m_context, both, 1);
    } else if (m_in.channels == 2 && m_out.channels == 1) {
        const double average[] = {0.5, 0.5};
        swr_set_matrix(m_context, average, 2);
    }
    if (swr_init(m_context) < 0) {
        swr_free(&m_context);
        return false;
    }
    return true;
}

bool CResampler::Run(const uint8_t* in, size_t frames, std::vector<uint8_t>& out)
{
    if (!m_context || frames > INT_MAX)
        return false;
    for (;;) {
        int capacity = swr_get_out_samples(m_context, static_cast<int>(frames));
        if (capacity < 0)
            return false;
        capacity += 16;
        size_t before = out.size();
        out.resize(before + static_cast<size_t>(capacity) * m_out.blockAlign);
        uint8_t* target = out.data() + before;
        const uint8_t* source = in;
        int produced = swr_convert(m_context, &target, capacity, in ? &source : nullptr, static_cast<int>(frames));
        if (produced < 0) {
            out.resize(before);
            return false;
        }
        out.resize(before + static_cast<size_t>(produced) * m_out.blockAlign);
        // A flush may need more than one call to drain the filter.
        if (in || produced == 0)
            return true;
    }
}

bool CResampler::Convert(const uint8_t* in, size_t frames, std::vector<uint8_t>& out)
{
    if (frames == 0)
        return true;
    return Run(in, frames, out);
}

bool CResampler::Flush(std::vector<uint8_t>& out)
{
    return Run(nullptr, 0, out);
}

bool CResampler::Reset()
{
    return Create();
}
