// The AVI layer: what it writes it reads back, packet for packet; every
// chunk is checked against its container when asked; the one seek rule
// keeps both directions inside the bytes there are; a failing target is
// reported, never taken for a finished file.

#include "AvioSeek.h"
#include "avi/CAviInput.h"
#include "avi/CAviMemoryTarget.h"
#include "avi/CAviOutput.h"
#include "avi/RiffLayout.h"
#include "common/ByteOrder.h"

#include <gtest/gtest.h>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include <vector>

namespace {

constexpr int kWidth = 4, kHeight = 2, kFrameBytes = kWidth * kHeight * 3;

std::vector<uint8_t> Frame(int n)
{
    std::vector<uint8_t> bytes(kFrameBytes);
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = uint8_t(n * 40 + int(i));
    return bytes;
}

// An uncompressed 24-bit video of `frames` frames at 15 per second.
AviResult WriteVideo(IAviByteTarget& target, int frames)
{
    std::unique_ptr<CAviOutput> output;
    if (AviResult made = CAviOutput::Create(target, output); made != AviResult::Ok)
        return made;
    AVStream* stream = avformat_new_stream(output->Format(), nullptr);
    if (!stream)
        return AviResult::OutOfMemory;
    stream->time_base = AVRational{1, 15};
    AVCodecParameters& par = *stream->codecpar;
    par.codec_type = AVMEDIA_TYPE_VIDEO;
    par.codec_id = AV_CODEC_ID_RAWVIDEO;
    par.width = kWidth;
    par.height = kHeight;
    par.bits_per_coded_sample = 24;
    if (AviResult header = output->WriteHeader(); header != AviResult::Ok)
        return header;
    AVPacket* packet = av_packet_alloc();
    for (int i = 0; i < frames; ++i) {
        const std::vector<uint8_t> bytes = Frame(i);
        if (av_new_packet(packet, kFrameBytes) < 0)
            break;
        std::copy(bytes.begin(), bytes.end(), packet->data);
        packet->pts = packet->dts = i;
        packet->duration = 1;
        packet->flags |= AV_PKT_FLAG_KEY;
        if (AviResult written = output->Write(packet); written != AviResult::Ok) {
            av_packet_free(&packet);
            return written;
        }
    }
    av_packet_free(&packet);
    return output->Finish();
}

// The frames of the first video stream, as read back.
std::vector<std::vector<uint8_t>> ReadVideo(const std::vector<uint8_t>& file, CAviInput::LayoutCheck check)
{
    std::vector<std::vector<uint8_t>> frames;
    CAviInput input;
    if (input.Open(file.data(), file.size(), check) != AviResult::Ok)
        return frames;
    const int stream = input.FirstVideoStream();
    input.KeepOnlyStream(stream);
    AVPacket* packet = av_packet_alloc();
    while (av_read_frame(input.Format(), packet) >= 0) {
        if (packet->stream_index == stream)
            frames.emplace_back(packet->data, packet->data + packet->size);
        av_packet_unref(packet);
    }
    av_packet_free(&packet);
    return frames;
}

class FailingTarget : public IAviByteTarget {
public:
    uint64_t Size() const override { return m_size; }
    bool WriteAt(uint64_t position, const uint8_t*, size_t count) override
    {
        if (m_size + count > 300)
            return false;
        m_size = std::max<uint64_t>(m_size, position + count);
        return true;
    }

private:
    uint64_t m_size = 0;
};

} // namespace

TEST(AviLayer, WhatIsWrittenReadsBackPacketForPacket)
{
    CAviMemoryTarget target;
    ASSERT_EQ(WriteVideo(target, 3), AviResult::Ok);
    const std::vector<uint8_t> file = target.Take();
    EXPECT_EQ(target.Size(), 0u);
    ASSERT_GT(file.size(), 12u);
    EXPECT_EQ(CheckRiffLayout(file.data(), file.size()), RiffLayout::Sound);

    const auto frames = ReadVideo(file, CAviInput::LayoutCheck::WholeFile);
    ASSERT_EQ(frames.size(), 3u);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(frames[size_t(i)], Frame(i)) << i;

    // The same packets, the same bytes.
    CAviMemoryTarget again;
    ASSERT_EQ(WriteVideo(again, 3), AviResult::Ok);
    EXPECT_EQ(again.Take(), file);
}

TEST(AviLayer, AFileCutShortIsRefusedOnlyWhenTheWholeLayoutIsChecked)
{
    CAviMemoryTarget target;
    ASSERT_EQ(WriteVideo(target, 6), AviResult::Ok);
    std::vector<uint8_t> file = target.Take();
    file.resize(file.size() - 40); // into the index
    CAviInput input;
    EXPECT_EQ(input.Open(file.data(), file.size(), CAviInput::LayoutCheck::WholeFile), AviResult::Damaged);
    EXPECT_EQ(input.Format(), nullptr);
    EXPECT_EQ(input.Open(file.data(), file.size(), CAviInput::LayoutCheck::None), AviResult::Ok);
    EXPECT_NE(input.Format(), nullptr);

    EXPECT_EQ(input.Open(nullptr, 0, CAviInput::LayoutCheck::None), AviResult::NoData);
    const std::vector<uint8_t> wave = {'R', 'I', 'F', 'F', 4, 0, 0, 0, 'W', 'A', 'V', 'E'};
    EXPECT_EQ(input.Open(wave.data(), wave.size(), CAviInput::LayoutCheck::WholeFile), AviResult::NotAvi);
    const std::vector<uint8_t> junk(100, 0xFF);
    EXPECT_EQ(input.Open(junk.data(), junk.size(), CAviInput::LayoutCheck::WholeFile), AviResult::NotAvi);
    EXPECT_EQ(input.Open(junk.data(), junk.size(), CAviInput::LayoutCheck::None), AviResult::NotAvi);
}

TEST(AviLayer, RiffChunksMustLieWithinTheirContainers)
{
    auto riff = [](const std::vector<uint8_t>& body) {
        std::vector<uint8_t> file(12 + body.size());
        std::copy(body.begin(), body.end(), file.begin() + 12);
        WriteLE32(file.data(), FourCC("RIFF"));
        WriteLE32(&file[4], uint32_t(file.size() - 8));
        WriteLE32(&file[8], FourCC("AVI "));
        return file;
    };
    // A list holding an odd chunk whose pad byte is the last byte missing.
    std::vector<uint8_t> good = riff({'L', 'I', 'S', 'T', 13, 0, 0, 0, 'h', 'd', 'r', 'l', 'a', 'b', 'c', 'd', 1, 0,
                                      0, 0, 7});
    EXPECT_EQ(CheckRiffLayout(good.data(), good.size()), RiffLayout::Sound);
    // The inner chunk claims more than its list holds.
    std::vector<uint8_t> bad = good;
    bad[12 + 8 + 4 + 4] = 2;
    EXPECT_EQ(CheckRiffLayout(bad.data(), bad.size()), RiffLayout::Damaged);
    // Lists nested beyond reason.
    std::vector<uint8_t> deep(12 * 12);
    for (size_t i = 0; i < 12; ++i) {
        WriteLE32(&deep[12 * i], FourCC("LIST"));
        WriteLE32(&deep[12 * i + 4], uint32_t(deep.size() - 12 * i - 8));
        WriteLE32(&deep[12 * i + 8], FourCC("xxxx"));
    }
    const std::vector<uint8_t> nested = riff(deep);
    EXPECT_EQ(CheckRiffLayout(nested.data(), nested.size()), RiffLayout::Damaged);
    const uint8_t wave[] = {'R', 'I', 'F'};
    EXPECT_EQ(CheckRiffLayout(wave, sizeof wave), RiffLayout::NotRiff);
}

TEST(AviLayer, OneSeekRuleStaysInsideTheBytes)
{
    EXPECT_EQ(ResolveAvioSeek(10, SEEK_SET, 0, 100), 10);
    EXPECT_EQ(ResolveAvioSeek(-10, SEEK_END, 0, 100), 90);
    EXPECT_EQ(ResolveAvioSeek(5, SEEK_CUR, 95, 100), 100);
    EXPECT_EQ(ResolveAvioSeek(0, AVSEEK_SIZE, 7, 100), 100);
    EXPECT_EQ(ResolveAvioSeek(0, SEEK_SET | AVSEEK_FORCE, 7, 100), 0);
    EXPECT_LT(ResolveAvioSeek(101, SEEK_SET, 0, 100), 0);
    EXPECT_LT(ResolveAvioSeek(-1, SEEK_SET, 0, 100), 0);
    EXPECT_LT(ResolveAvioSeek(6, SEEK_CUR, 95, 100), 0);
    EXPECT_LT(ResolveAvioSeek(INT64_MIN, SEEK_END, 0, 100), 0);
    EXPECT_LT(ResolveAvioSeek(INT64_MAX, SEEK_CUR, 50, 100), 0);
    EXPECT_LT(ResolveAvioSeek(0, 42, 0, 100), 0);
}

TEST(AviLayer, AFailingTargetIsReportedNotFinished)
{
    FailingTarget target;
    EXPECT_EQ(WriteVideo(target, 50), AviResult::WriteFailed);
}
