#include "AudioTestSupport.h"
#include "media/CAudioFile.h"
#include "media/CMpegAudioStream.h"

#include <gtest/gtest.h>

#if defined(VELDRA_HAVE_AVCODEC)
extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/channel_layout.h>
}
#endif

using namespace audiotest;

namespace {
#if defined(VELDRA_HAVE_AVCODEC)
// Encodes a sine as an MPEG audio elementary stream: layer III when the
// encoder for it is installed, else layer II. Empty when neither is.
Bytes EncodeMpeg(uint32_t rate, int channels, size_t frames)
{
    const AVCodec* codec = avcodec_find_encoder_by_name("libmp3lame");
    if (!codec)
        codec = avcodec_find_encoder(AV_CODEC_ID_MP2);
    if (!codec)
        return {};
    AVCodecContext* context = avcodec_alloc_context3(codec);
    context->sample_rate = static_cast<int>(rate);
    context->bit_rate = 128000;
    av_channel_layout_default(&context->ch_layout, channels);
    context->sample_fmt = AV_SAMPLE_FMT_NONE;
    for (const AVSampleFormat* f = codec->sample_fmts; f && *f != AV_SAMPLE_FMT_NONE; ++f)
        if (*f == AV_SAMPLE_FMT_S16 || *f == AV_SAMPLE_FMT_S16P)
            context->sample_fmt = *f;
    Bytes out;
    if (context->sample_fmt == AV_SAMPLE_FMT_NONE || avcodec_open2(context, codec, nullptr) < 0) {
        avcodec_free_context(&context);
        return out;
    }
    Bytes pcm = Sine16(rate, static_cast<uint16_t>(channels), frames, 1000.0, 15000.0);
    AVFrame* frame = av_frame_alloc();
    AVPacket* packet = av_packet_alloc();
    auto drain = [&] {
        while (avcodec_receive_packet(context, packet) == 0) {
            out.insert(out.end(), packet->data, packet->data + packet->size);
            av_packet_unref(packet);
        }
    };
    const bool planar = context->sample_fmt == AV_SAMPLE_FMT_S16P;
    for (size_t done = 0; done < frames;) {
        size_t n = std::min<size_t>(static_cast<size_t>(context->frame_size), frames - done);
        frame->nb_samples = static_cast<int>(n);
        frame->format = context->sample_fmt;
        frame->sample_rate = context->sample_rate;
        av_channel_layout_copy(&frame->ch_layout, &context->ch_layout);
        av_frame_get_buffer(frame, 0);
        for (size_t i = 0; i < n; ++i)
            for (int c = 0; c < channels; ++c) {
                const uint8_t* sample = &pcm[((done + i) * channels + c) * 2];
                if (planar)
                    std::memcpy(frame->data[c] + 2 * i, sample, 2);
                else
                    std::memcpy(frame->data[0] + 2 * (i * channels + c), sample, 2);
            }
        avcodec_send_frame(context, frame);
        av_frame_unref(frame);
        drain();
        done += n;
    }
    avcodec_send_frame(context, nullptr);
    drain();
    av_packet_free(&packet);
    av_frame_free(&frame);
    avcodec_free_context(&context);
    return out;
}
#else
Bytes EncodeMpeg(uint32_t, int, size_t)
{
    return {};
}
#endif

// Restores the decoder library's name whatever a test does.
struct LibraryNameGuard {
    ~LibraryNameGuard() { CMpegAudioStream::SetDecoderLibraryName(nullptr); }
};
} // namespace

TEST(CMpegAudioStream, DecodesToExactlyTheReportedSize)
{
    Bytes mpeg = EncodeMpeg(44100, 2, 44100);
    if (mpeg.empty())
        GTEST_SKIP() << "no MPEG audio encoder to make the input with";
    CMpegAudioStream stream(BlockOf(mpeg));
    if (!stream.GetHealth() && !CMpegAudioStream::IsDecoderLibraryLoaded())
        GTEST_SKIP() << "the MPEG decoding library is not installed";
    ASSERT_EQ(stream.GetHealth(), 1);
    MpegAudioInfo info;
    ASSERT_TRUE(stream.GetInfo(info));
    EXPECT_EQ(info.size, 40u);
    EXPECT_EQ(info.sampleRate, 44100u);
    EXPECT_EQ(info.channels, 2u);
    const int64_t size = stream.GetSize();
    EXPECT_EQ(size % 4, 0);
    EXPECT_GE(size, 44100 * 4) << "every input frame comes back";
    EXPECT_LT(size, 44100 * 4 + 4 * 4096) << "plus at most the encoder's delay and padding";
    Bytes pcm = ReadAll(&stream, 3000);
    EXPECT_EQ(static_cast<int64_t>(pcm.size()), size);
    EXPECT_TRUE(stream.IsAtEnd());
    // The tone is there: a 1 kHz sine crosses zero 2000 times a second.
    // Counted away from the ends, where encoder delay and padding are silent.
    int crossings = 0;
    int peak = 0;
    for (size_t i = 4 * 10000; i < 4 * 30000; i += 4) {
        int a = static_cast<int16_t>(pcm[i - 4] | pcm[i - 3] << 8);
        int b = static_cast<int16_t>(pcm[i] | pcm[i + 1] << 8);
        crossings += (a < 0) != (b < 0);
        peak = std::max(peak, std::abs(b));
    }
    EXPECT_NEAR(crossings, 2000 * 20000 / 44100, 10);
    EXPECT_NEAR(peak, 15000, 2500);

    // Seeking in PCM bytes, frame aligned, then reading the same bytes again.
    EXPECT_EQ(stream.Seek(40002, STREAM_SEEK_SET), 40000);
    Bytes part(400);
    ASSERT_EQ(stream.Read(part.data(), part.size()), part.size());
    EXPECT_TRUE(std::equal(part.begin(), part.end(), pcm.begin() + 40000));
    EXPECT_EQ(stream.Seek(0, STREAM_SEEK_END), size);
}

TEST(CMpegAudioStream, FilesShareTheLibraryAndOpenThroughCAudioFile)
{
    Bytes mpeg = EncodeMpeg(22050, 1, 5000);
    if (mpeg.empty())
        GTEST_SKIP() << "no MPEG audio encoder to make the input with";
    TempFolder dir;
    WriteFile(dir.File("call.mp3"), mpeg);
    {
        CAudioFile first;
        const int result = first.Open(dir.File("call.mp3"), AUDIO_OPEN_STREAM);
        if (result == AUDIO_ERR_WRITE && !CMpegAudioStream::IsDecoderLibraryLoaded())
            GTEST_SKIP() << "the MPEG decoding library is not installed";
        ASSERT_EQ(result, AUDIO_OK);
        EXPECT_EQ(first.GetFileType(), AUDIO_FILE_MPEG);
        EXPECT_EQ(first.GetFrameCode(), 3);
        EXPECT_EQ(first.GetMpegInfo().sampleRate, 22050u);
        EXPECT_GE(first.GetFrameCount(), 5000u);
        {
            CAudioFile second;
            ASSERT_EQ(second.Open(dir.File("call.mp3"), AUDIO_OPEN_STREAM), AUDIO_OK);
            first.Close();
            EXPECT_TRUE(CMpegAudioStream::IsDecoderLibraryLoaded()) << "still held by the second file";
            // The decoded sound saves like any other.
            ASSERT_EQ(second.Save(dir.File("call.wav"), 0), AUDIO_OK);
        }
        EXPECT_FALSE(CMpegAudioStream::IsDecoderLibraryLoaded()) << "unloaded with the last decoder";
    }
    CAudioFile header;
    ASSERT_EQ(header.Open(dir.File("call.mp3"), AUDIO_OPEN_STREAM | AUDIO_OPEN_HEADER_ONLY), AUDIO_OK);
    EXPECT_EQ(header.GetState(), AUDIO_STATE_HEADER);
    EXPECT_FALSE(CMpegAudioStream::IsDecoderLibraryLoaded()) << "header only releases the decoder";
    CAudioFile wav;
    ASSERT_EQ(wav.Open(dir.File("call.wav"), AUDIO_OPEN_STREAM | AUDIO_OPEN_READ_ONLY), AUDIO_OK);
    EXPECT_EQ(wav.GetFormat()->samplesPerSec, 22050u);
}

TEST(CMpegAudioStream, WithoutTheLibraryFilesFailWithCodeNine)
{
    LibraryNameGuard guard;
    CMpegAudioStream::SetDecoderLibraryName("libveldra-no-such-decoder.so.0");
    TempFolder dir;
    WriteFile(dir.File("x.mp2"), Bytes(1000, 0xFF));
    CAudioFile file;
    EXPECT_EQ(file.Open(dir.File("x.mp2"), AUDIO_OPEN_STREAM), AUDIO_ERR_WRITE);
    EXPECT_EQ(file.GetState(), AUDIO_STATE_EMPTY);
    CMpegAudioStream stream(BlockOf(Bytes(16, 0)));
    EXPECT_EQ(stream.GetHealth(), 0);
    uint8_t b[4];
    EXPECT_EQ(stream.Read(b, 4), 0u);
}

TEST(CMpegAudioStream, DataThatIsNoMpegAudioIsRefused)
{
    CMpegAudioStream zeros(BlockOf(Bytes(4096, 0)));
    EXPECT_EQ(zeros.GetHealth(), 0);
    EXPECT_FALSE(CMpegAudioStream::IsDecoderLibraryLoaded()) << "a refused file does not keep the library loaded";
    CMpegAudioStream none(nullptr);
    EXPECT_EQ(none.GetHealth(), 0);
}
