#include "AudioTestSupport.h"
#include "media/CAcmStream.h"
#include "media/CBlockStream.h"
#include "media/CFormatConverter.h"
#include "media/G711.h"

#include <gtest/gtest.h>

using namespace audiotest;

namespace {
CBlockStream* StreamOf(const Bytes& bytes)
{
    CMemoryBlock* block = CMemoryBlock::Allocate(bytes.size());
    if (!bytes.empty())
        std::memcpy(block->Lock(), bytes.data(), bytes.size());
    block->Unlock();
    return new CBlockStream(block, BlockStreamMode::Read, BlockOwnership::Owned);
}

WaveFormat LawFormat(uint16_t tag, uint32_t rate, uint16_t channels)
{
    WaveFormat f;
    f.formatTag = tag;
    f.channels = channels;
    f.samplesPerSec = rate;
    f.bitsPerSample = 8;
    f.blockAlign = channels;
    f.avgBytesPerSec = rate * channels;
    return f;
}

int16_t Sample(const Bytes& b, size_t index)
{
    return static_cast<int16_t>(b[2 * index] | b[2 * index + 1] << 8);
}

// Sign changes of one channel: twice the number of periods.
int ZeroCrossings(const Bytes& pcm16, uint16_t channels, uint16_t channel = 0)
{
    int crossings = 0;
    size_t frames = pcm16.size() / 2 / channels;
    for (size_t i = 1; i < frames; ++i) {
        int a = Sample(pcm16, (i - 1) * channels + channel);
        int b = Sample(pcm16, i * channels + channel);
        crossings += (a < 0) != (b < 0);
    }
    return crossings;
}

int PeakOf(const Bytes& pcm16, uint16_t channels, uint16_t channel)
{
    int peak = 0;
    for (size_t i = channel; i < pcm16.size() / 2; i += channels)
        peak = std::max(peak, std::abs(int(Sample(pcm16, i))));
    return peak;
}
} // namespace

TEST(CFormatConverter, IdenticalFormatsPassThrough)
{
    Bytes data = Sine16(22050, 1, 1001);
    WaveFormat f = MakePcmFormat(22050, 16, 1);
    CFormatConverter converter(f, f, StreamOf(data), StreamOwnership::Owned);
    EXPECT_EQ(converter.GetHealth(), 1);
    EXPECT_EQ(converter.GetStageCount(), 0);
    EXPECT_EQ(converter.GetSize(), static_cast<int64_t>(data.size()));
    EXPECT_EQ(ReadAll(&converter), data);
}

TEST(CFormatConverter, StageCountsFollowTheChainRules)
{
    Bytes data(8000, 0x80);
    CFormatConverter widen(MakePcmFormat(22050, 8, 1), MakePcmFormat(22050, 16, 1), StreamOf(data),
                           StreamOwnership::Owned);
    EXPECT_EQ(widen.GetStageCount(), 1);

    CFormatConverter law(LawFormat(WAVE_FORMAT_MULAW, 8000, 1), MakePcmFormat(22050, 8, 2), StreamOf(data),
                         StreamOwnership::Owned);
    EXPECT_EQ(law.GetHealth(), 1);
    EXPECT_EQ(law.GetStageCount(), 3) << "decode, then rate and channels, then bits";

    CFormatConverter rate(MakePcmFormat(22050, 16, 1), MakePcmFormat(44100, 16, 1), StreamOf(data),
                          StreamOwnership::Owned);
    EXPECT_EQ(rate.GetStageCount(), 1);

    CFormatConverter toLaw(MakePcmFormat(22050, 8, 2), LawFormat(WAVE_FORMAT_ALAW, 11025, 2), StreamOf(data),
                           StreamOwnership::Owned);
    EXPECT_EQ(toLaw.GetHealth(), 1);
    EXPECT_EQ(toLaw.GetStageCount(), 2);
}

TEST(CFormatConverter, EightToSixteenBitsIsExact)
{
    Bytes data = {0x00, 0x80, 0xFF, 0x81};
    CFormatConverter converter(MakePcmFormat(11025, 8, 1), MakePcmFormat(11025, 16, 1), StreamOf(data),
                               StreamOwnership::Owned);
    Bytes out = ReadAll(&converter);
    ASSERT_EQ(out.size(), 8u);
    EXPECT_EQ(Sample(out, 0), -32768);
    EXPECT_EQ(Sample(out, 1), 0);
    EXPECT_EQ(Sample(out, 2), 0x7F00);
    EXPECT_EQ(Sample(out, 3), 0x100);
}

TEST(CFormatConverter, MuLawDecodesThroughTheTable)
{
    Bytes codes(256);
    for (int i = 0; i < 256; ++i)
        codes[size_t(i)] = uint8_t(i);
    CFormatConverter converter(LawFormat(WAVE_FORMAT_MULAW, 8000, 1), MakePcmFormat(8000, 16, 1), StreamOf(codes),
                               StreamOwnership::Owned);
    Bytes out = ReadAll(&converter, 7);
    ASSERT_EQ(out.size(), 512u);
    for (int i = 0; i < 256; ++i)
        EXPECT_EQ(Sample(out, size_t(i)), MuLawToLinear(uint8_t(i)));
}

TEST(CFormatConverter, RateChangeKeepsPitchLevelAndExactLength)
{
    const size_t frames = 22050; // one second
    Bytes data = Sine16(22050, 1, frames, 441.0);
    CFormatConverter converter(MakePcmFormat(22050, 16, 1), MakePcmFormat(44100, 16, 1), StreamOf(data),
                               StreamOwnership::Owned);
    ASSERT_EQ(converter.GetHealth(), 1);
    EXPECT_EQ(converter.GetSize(), int64_t(frames) * 4);
    Bytes out = ReadAll(&converter, 1000);
    EXPECT_EQ(out.size(), frames * 4) << "the converter yields exactly its size";
    EXPECT_TRUE(converter.IsAtEnd());
    EXPECT_NEAR(ZeroCrossings(out, 1), 2 * 441, 4);
    EXPECT_NEAR(PeakOf(out, 1, 0), 12000, 400);
}

TEST(CFormatConverter, ChannelChangesKeepTheLevel)
{
    Bytes mono = Sine16(11025, 1, 4000, 300.0);
    CFormatConverter up(MakePcmFormat(11025, 16, 1), MakePcmFormat(11025, 16, 2), StreamOf(mono),
                        StreamOwnership::Owned);
    Bytes stereo = ReadAll(&up);
    ASSERT_EQ(stereo.size(), mono.size() * 2);
    for (size_t i = 0; i < 4000; i += 37) {
        EXPECT_NEAR(Sample(stereo, 2 * i), Sample(mono, i), 1);
        EXPECT_NEAR(Sample(stereo, 2 * i + 1), Sample(mono, i), 1);
    }
    // Channel 1 of the source is half as loud as channel 0: the mix is 3/4.
    Bytes two = Sine16(11025, 2, 4000, 300.0);
    CFormatConverter down(MakePcmFormat(11025, 16, 2), MakePcmFormat(11025, 16, 1), StreamOf(two),
                          StreamOwnership::Owned);
    Bytes mixed = ReadAll(&down);
    ASSERT_EQ(mixed.size(), two.size() / 2);
    for (size_t i = 0; i < 4000; i += 37)
        EXPECT_NEAR(Sample(mixed, i), (Sample(two, 2 * i) + Sample(two, 2 * i + 1)) / 2, 1);
}

TEST(CFormatConverter, ThreeStageChainYieldsItsPromisedSize)
{
    Bytes codes(8001);
    for (size_t i = 0; i < codes.size(); ++i)
        codes[i] = LinearToMuLaw(static_cast<int16_t>(10000 * std::sin(double(i) / 5)));
    CFormatConverter converter(LawFormat(WAVE_FORMAT_MULAW, 8000, 1), MakePcmFormat(22050, 8, 2), StreamOf(codes),
                               StreamOwnership::Owned);
    ASSERT_EQ(converter.GetHealth(), 1);
    const int64_t expected = int64_t(8001) * 44100 / 8000 / 2 * 2;
    EXPECT_EQ(converter.GetSize(), expected);
    EXPECT_EQ(int64_t(ReadAll(&converter, 333).size()), expected);
    // Reading again after a seek to the start gives the same bytes.
    converter.Seek(0, STREAM_SEEK_SET);
    Bytes first = ReadAll(&converter);
    converter.Seek(0, STREAM_SEEK_SET);
    EXPECT_EQ(ReadAll(&converter), first);
}

TEST(CAcmStream, SeeksInTargetBytes)
{
    Bytes data = Sine16(8000, 1, 8000);
    CAcmStream stage(MakePcmFormat(8000, 16, 1), MakePcmFormat(8000, 8, 2), StreamOf(data), StreamOwnership::Owned);
    ASSERT_EQ(stage.GetHealth(), 1);
    EXPECT_EQ(stage.GetSize(), 16000);
    EXPECT_EQ(stage.Seek(1001, STREAM_SEEK_SET), 1000) << "rounded down to whole source blocks";
    EXPECT_EQ(stage.Seek(0, STREAM_SEEK_CUR), 1000);
    EXPECT_EQ(stage.Seek(-10, STREAM_SEEK_END), 15990);
    EXPECT_EQ(stage.Seek(100000, STREAM_SEEK_SET), 16000);
    EXPECT_EQ(stage.Seek(-5, STREAM_SEEK_SET), 0);
    uint8_t b[4];
    stage.Seek(2000, STREAM_SEEK_SET);
    ASSERT_EQ(stage.Read(b, 2), 2u);
    // Sample 1000 of the source, as unsigned 8-bit, in both channels.
    int expected = (Sample(data, 1000) >> 8) + 128;
    EXPECT_EQ(b[0], expected);
    EXPECT_EQ(b[1], expected);
}

TEST(CAcmStream, UnsupportedOrBrokenFormatsAreUnusable)
{
    Bytes data(100, 0);
    WaveFormat adpcm = MakePcmFormat(22050, 4, 1);
    adpcm.formatTag = 2;
    adpcm.blockAlign = 256;
    adpcm.avgBytesPerSec = 11100;
    CFormatConverter compressed(adpcm, MakePcmFormat(22050, 16, 1), StreamOf(data), StreamOwnership::Owned);
    EXPECT_EQ(compressed.GetHealth(), 0);
    uint8_t b[4];
    EXPECT_EQ(compressed.Read(b, 4), 0u);

    WaveFormat zeroRate = MakePcmFormat(0, 16, 1);
    CFormatConverter broken(zeroRate, MakePcmFormat(22050, 16, 2), StreamOf(data), StreamOwnership::Owned);
    EXPECT_EQ(broken.GetHealth(), 0);

    WaveFormat noAlign = MakePcmFormat(22050, 16, 1);
    noAlign.blockAlign = 0;
    CAcmStream stage(noAlign, MakePcmFormat(22050, 8, 1), StreamOf(data), StreamOwnership::Owned);
    EXPECT_EQ(stage.GetHealth(), 0);

    // Mu-law only decodes to 16-bit PCM of the same rate and channels.
    EXPECT_FALSE(CAcmStream::CanConvert(LawFormat(WAVE_FORMAT_MULAW, 8000, 1), MakePcmFormat(8000, 8, 1)));
    EXPECT_TRUE(CAcmStream::CanConvert(LawFormat(WAVE_FORMAT_MULAW, 8000, 1), MakePcmFormat(8000, 16, 1)));
}

TEST(CAcmStream, FloatSamplesDecodeToPcm)
{
    Bytes floats;
    for (float v : {0.0f, 0.5f, -0.5f, 1.0f}) {
        uint32_t bits;
        std::memcpy(&bits, &v, 4);
        PutLE32(floats, bits);
    }
    WaveFormat source = MakePcmFormat(8000, 32, 1);
    source.formatTag = WAVE_FORMAT_IEEE_FLOAT;
    CFormatConverter converter(source, MakePcmFormat(8000, 16, 1), StreamOf(floats), StreamOwnership::Owned);
    EXPECT_EQ(converter.GetStageCount(), 1);
    Bytes out = ReadAll(&converter);
    ASSERT_EQ(out.size(), 8u);
    EXPECT_EQ(Sample(out, 0), 0);
    EXPECT_EQ(Sample(out, 1), 16384);
    EXPECT_EQ(Sample(out, 2), -16384);
    EXPECT_EQ(Sample(out, 3), 32767);
}
