#include "AudioTestSupport.h"
#include "media/CAudioFile.h"
#include "media/CSampleCodeStream.h"
#include "media/G711.h"

#include <gtest/gtest.h>

using namespace audiotest;

namespace {

Bytes Aiff(uint16_t channels, uint32_t frames, uint16_t bits, uint16_t exponent, uint16_t mantissaTop,
           const Bytes& samples, uint32_t offset = 0)
{
    Bytes comm;
    PutBE16(comm, channels);
    PutBE32(comm, frames);
    PutBE16(comm, bits);
    PutBE16(comm, exponent);
    PutBE16(comm, mantissaTop);
    comm.resize(comm.size() + 6, 0);
    Bytes ssnd;
    PutBE32(ssnd, offset);
    PutBE32(ssnd, 0);
    ssnd.resize(ssnd.size() + offset, 0xEE);
    ssnd.insert(ssnd.end(), samples.begin(), samples.end());
    Bytes body;
    PutTag(body, "AIFF");
    PutTag(body, "COMM");
    PutBE32(body, uint32_t(comm.size()));
    body.insert(body.end(), comm.begin(), comm.end());
    PutTag(body, "SSND");
    PutBE32(body, uint32_t(ssnd.size()));
    body.insert(body.end(), ssnd.begin(), ssnd.end());
    Bytes file;
    PutTag(file, "FORM");
    PutBE32(file, uint32_t(body.size()));
    file.insert(file.end(), body.begin(), body.end());
    return file;
}

Bytes Au(uint32_t encoding, uint32_t rate, uint32_t channels, const Bytes& samples, uint32_t dataSize = UINT32_MAX - 1)
{
    Bytes file;
    PutBE32(file, 0x2E736E64);
    PutBE32(file, 28);
    PutBE32(file, dataSize == UINT32_MAX - 1 ? uint32_t(samples.size()) : dataSize);
    PutBE32(file, encoding);
    PutBE32(file, rate);
    PutBE32(file, channels);
    PutTag(file, "note");
    file.insert(file.end(), samples.begin(), samples.end());
    return file;
}
} // namespace

// WAV -> AIFF -> AU -> raw -> WAV for 8 and 16 bits, mono and stereo: the
// samples come back unchanged, and each hop reports the same format.
TEST(CAudioFileFormats, RoundTripsThroughEveryWriter)
{
    for (uint16_t bits : {8, 16})
        for (uint16_t channels : {1, 2}) {
            SCOPED_TRACE(std::to_string(bits) + " bits, " + std::to_string(channels) + " channels");
            TempFolder dir;
            Bytes data = bits == 8 ? Sine8(11025, channels, 1001) : Sine16(11025, channels, 1001);
            WriteFile(dir.File("a.wav"), SimpleWav(channels, 11025, bits, data));
            const int code = bits == 8 ? SAMPLE_CODE_S8 : SAMPLE_CODE_U16BE;
            const RawPcmDesc raw{16, 11025, uint32_t(code), channels};

            CAudioFile file;
            ASSERT_EQ(file.Open(dir.File("a.wav"), kStreamed), AUDIO_OK);
            ASSERT_EQ(file.Save(dir.File("b.aiff"), 0), AUDIO_OK);
            ASSERT_EQ(file.Open(dir.File("b.aiff"), kStreamed), AUDIO_OK);
            EXPECT_EQ(file.GetFileType(), AUDIO_FILE_AIFF);
            EXPECT_EQ(SampleData(file), data);
            ASSERT_EQ(file.Save(dir.File("c.au"), 0), AUDIO_OK);
            ASSERT_EQ(file.Open(dir.File("c.au"), kStreamed), AUDIO_OK);
            EXPECT_EQ(file.GetFileType(), AUDIO_FILE_AU);
            EXPECT_EQ(SampleData(file), data);
            AudioSaveOption option;
            option.sampleCode = code;
            ASSERT_EQ(file.Save(dir.File("d.pcm"), AudioModeType(AUDIO_SAVE_RAW), option), AUDIO_OK);
            EXPECT_EQ(ReadFile(dir.File("d.pcm")).size(), data.size()) << "nothing but the samples";
            ASSERT_EQ(file.Open(dir.File("d.pcm"), kStreamed | AudioModeType(AUDIO_TYPE_RAW), &raw), AUDIO_OK);
            EXPECT_EQ(file.GetFileType(), AUDIO_FILE_RAW);
            ASSERT_EQ(file.Save(dir.File("e.wav"), 0), AUDIO_OK);
            ASSERT_EQ(file.Open(dir.File("e.wav"), kStreamed), AUDIO_OK);
            EXPECT_EQ(file.GetFormat()->bitsPerSample, bits);
            EXPECT_EQ(file.GetFormat()->channels, channels);
            EXPECT_EQ(file.GetFormat()->samplesPerSec, 11025u);
            EXPECT_EQ(file.GetFrameCount(), 1001u);
            EXPECT_EQ(SampleData(file), data);
        }
}

TEST(CAudioFileFormats, AiffRatesFromTheirExponents)
{
    TempFolder dir;
    Bytes samples = {0x00, 0x10, 0xFF, 0xF0};
    WriteFile(dir.File("r.aif"), Aiff(1, 2, 16, 0x400D, 0xAC44, samples));
    CAudioFile file;
    ASSERT_EQ(file.Open(dir.File("r.aif"), kStreamed), AUDIO_OK);
    EXPECT_EQ(file.GetFormat()->samplesPerSec, 22050u);
    EXPECT_EQ(SampleData(file), (Bytes{0x10, 0x00, 0xF0, 0xFF})) << "big-endian samples become little-endian";

    WriteFile(dir.File("low.aif"), Aiff(1, 2, 16, 0x4008, 0x8000, samples));
    EXPECT_EQ(file.Open(dir.File("low.aif"), kStreamed), AUDIO_ERR_STRUCTURE);
    WriteFile(dir.File("high.aif"), Aiff(1, 2, 16, 0x4012, 0x8000, samples));
    EXPECT_EQ(file.Open(dir.File("high.aif"), kStreamed), AUDIO_ERR_STRUCTURE);
    WriteFile(dir.File("top.aif"), Aiff(1, 2, 16, 0x4011, 0xFFFF, samples));
    ASSERT_EQ(file.Open(dir.File("top.aif"), kStreamed), AUDIO_OK);
    EXPECT_EQ(file.GetFormat()->samplesPerSec, 524280u);
    WriteFile(dir.File("zero.aif"), Aiff(1, 2, 16, 0x400D, 0x0000, samples));
    EXPECT_EQ(file.Open(dir.File("zero.aif"), kStreamed), AUDIO_ERR_STRUCTURE) << "a zero rate";
}

TEST(CAudioFileFormats, AiffWriterStoresTheStandardRateFields)
{
    struct Row {
        uint32_t rate;
        uint16_t exponent;
        uint16_t mantissa;
    };
    const Row table[] = {{8000, 0x400B, 64000},  {11025, 0x400C, 44100}, {16000, 0x400C, 64000},
                         {22050, 0x400D, 44100}, {32000, 0x400D, 64000}, {32075, 0x400D, 64150},
                         {44100, 0x400E, 44100}, {48000, 0x400E, 48000}};
    TempFolder dir;
    for (const Row& row : table) {
        CAudioFile file;
        CMemoryBlock* block = CMemoryBlock::Allocate(4);
        ASSERT_EQ(file.Attach(MakePcmFormat(row.rate, 16, 1), block, BlockOwnership::Owned), 1);
        ASSERT_EQ(file.Save(dir.File("t.aiff"), 0), AUDIO_OK);
        Bytes bytes = ReadFile(dir.File("t.aiff"));
        ASSERT_EQ(bytes.size(), 58u);
        EXPECT_EQ(bytes[28] << 8 | bytes[29], row.exponent) << row.rate;
        EXPECT_EQ(bytes[30] << 8 | bytes[31], row.mantissa) << row.rate;
        EXPECT_EQ(bytes[4] << 24 | bytes[5] << 16 | bytes[6] << 8 | bytes[7], 4 + 46);
        EXPECT_EQ(bytes[22] << 24 | bytes[23] << 16 | bytes[24] << 8 | bytes[25], 2) << "sample frames";
    }
    // A rate outside the table is still stored exactly.
    CAudioFile odd;
    ASSERT_EQ(odd.Attach(MakePcmFormat(96001, 8, 1), CMemoryBlock::Allocate(3), BlockOwnership::Owned), 1);
    ASSERT_EQ(odd.Save(dir.File("odd.aiff"), 0), AUDIO_OK);
    EXPECT_EQ(ReadFile(dir.File("odd.aiff")).size(), 54u + 4u) << "odd data get a pad byte";
    ASSERT_EQ(odd.Open(dir.File("odd.aiff"), kStreamed), AUDIO_OK);
    EXPECT_EQ(odd.GetFormat()->samplesPerSec, 96001u);
    EXPECT_EQ(odd.GetFrameCount(), 3u);
}

TEST(CAudioFileFormats, AiffEdgeCases)
{
    TempFolder dir;
    CAudioFile file;
    Bytes samples = {1, 2, 3, 4, 5, 6};
    // An offset before the samples, and a frame count shorter than the chunk.
    WriteFile(dir.File("off.aif"), Aiff(1, 4, 8, 0x400B, 0xFA00, samples, 3));
    ASSERT_EQ(file.Open(dir.File("off.aif"), kStreamed), AUDIO_OK);
    EXPECT_EQ(SampleData(file), (Bytes{0x81, 0x82, 0x83, 0x84}));
    // An offset past the chunk.
    Bytes bad = Aiff(1, 4, 8, 0x400B, 0xFA00, samples, 3);
    bad[46] = 0x7F; // the offset field of SSND
    WriteFile(dir.File("bad.aif"), bad);
    EXPECT_EQ(file.Open(dir.File("bad.aif"), kStreamed), AUDIO_ERR_STRUCTURE);
    WriteFile(dir.File("wide.aif"), Aiff(1, 1, 24, 0x400B, 0xFA00, samples));
    EXPECT_EQ(file.Open(dir.File("wide.aif"), kStreamed), AUDIO_ERR_ENCODING);
    WriteFile(dir.File("mono0.aif"), Aiff(0, 1, 8, 0x400B, 0xFA00, samples));
    EXPECT_EQ(file.Open(dir.File("mono0.aif"), kStreamed), AUDIO_ERR_STRUCTURE);
    Bytes aifc = Aiff(1, 1, 8, 0x400B, 0xFA00, samples);
    aifc[11] = 'C';
    WriteFile(dir.File("c.aif"), aifc);
    EXPECT_EQ(file.Open(dir.File("c.aif"), kStreamed), AUDIO_ERR_STRUCTURE);
    // Header only does not need the samples.
    Bytes noSound = Aiff(1, 1, 8, 0x400B, 0xFA00, samples);
    noSound.resize(38);
    WriteFile(dir.File("h.aif"), noSound);
    EXPECT_EQ(file.Open(dir.File("h.aif"), kStreamed | AUDIO_OPEN_HEADER_ONLY), AUDIO_OK);
    EXPECT_EQ(file.Open(dir.File("h.aif"), kStreamed), AUDIO_ERR_STRUCTURE);
}

TEST(CAudioFileFormats, AuEncodings)
{
    TempFolder dir;
    CAudioFile file;
    Bytes codes = {0x00, 0x7F, 0x80, 0xFF, 0x12, 0xD5};
    WriteFile(dir.File("mu.au"), Au(1, 8000, 1, codes));
    ASSERT_EQ(file.Open(dir.File("mu.au"), kStreamed), AUDIO_OK);
    EXPECT_EQ(file.GetFormat()->bitsPerSample, 16);
    EXPECT_EQ(file.GetFrameCode(), 3);
    Bytes pcm = SampleData(file);
    ASSERT_EQ(pcm.size(), 12u);
    for (size_t i = 0; i < codes.size(); ++i)
        EXPECT_EQ(static_cast<int16_t>(pcm[2 * i] | pcm[2 * i + 1] << 8), MuLawToLinear(codes[i]));

    WriteFile(dir.File("a.snd"), Au(27, 8000, 2, codes));
    ASSERT_EQ(file.Open(dir.File("a.snd"), kStreamed), AUDIO_OK);
    pcm = SampleData(file);
    ASSERT_EQ(pcm.size(), 12u);
    EXPECT_EQ(static_cast<int16_t>(pcm[10] | pcm[11] << 8), ALawToLinear(0xD5));

    WriteFile(dir.File("five.au"), Au(5, 8000, 1, codes));
    EXPECT_EQ(file.Open(dir.File("five.au"), kStreamed), AUDIO_ERR_ENCODING);
    // "Unknown" data size: the samples run to the end of the file.
    WriteFile(dir.File("open.au"), Au(2, 8000, 1, codes, 0xFFFFFFFF));
    ASSERT_EQ(file.Open(dir.File("open.au"), kStreamed), AUDIO_OK);
    EXPECT_EQ(file.GetFrameCount(), 6u);
    WriteFile(dir.File("long.au"), Au(2, 8000, 1, codes, 7));
    EXPECT_EQ(file.Open(dir.File("long.au"), kStreamed), AUDIO_ERR_STRUCTURE);
    Bytes magic = Au(2, 8000, 1, codes);
    magic[0] = 0;
    WriteFile(dir.File("magic.au"), magic);
    EXPECT_EQ(file.Open(dir.File("magic.au"), kStreamed), AUDIO_ERR_STRUCTURE);
    WriteFile(dir.File("norate.au"), Au(2, 0, 1, codes));
    EXPECT_EQ(file.Open(dir.File("norate.au"), kStreamed), AUDIO_ERR_STRUCTURE);
}

TEST(CAudioFileFormats, AuWriterEncodesMuLawAndALaw)
{
    TempFolder dir;
    Bytes data = Sine16(8000, 2, 500);
    WriteFile(dir.File("in.wav"), SimpleWav(2, 8000, 16, data));
    CAudioFile file;
    ASSERT_EQ(file.Open(dir.File("in.wav"), kStreamed), AUDIO_OK);
    for (int choice : {AU_SAVE_MULAW, AU_SAVE_ALAW}) {
        AudioSaveOption option;
        option.auEncoding = choice;
        ASSERT_EQ(file.Save(dir.File("out.au"), 0, option), AUDIO_OK);
        Bytes bytes = ReadFile(dir.File("out.au"));
        ASSERT_EQ(bytes.size(), 28u + 1000u) << "one byte per sample";
        EXPECT_EQ(bytes[15], choice == AU_SAVE_MULAW ? 1 : 27);
        EXPECT_EQ(bytes[11], 1000 & 0xFF);
        EXPECT_EQ(std::string(bytes.begin() + 24, bytes.begin() + 28), "mood");
        for (size_t i = 0; i < 1000; i += 7) {
            auto s = static_cast<int16_t>(data[2 * i] | data[2 * i + 1] << 8);
            EXPECT_EQ(bytes[28 + i], choice == AU_SAVE_MULAW ? LinearToMuLaw(s) : LinearToALaw(s));
        }
    }
    AudioSaveOption bad;
    bad.auEncoding = 3;
    EXPECT_EQ(file.Save(dir.File("bad.au"), 0, bad), AUDIO_ERR_SAVE_TYPE);
}

TEST(CAudioFileFormats, RawPcmDescriptionsAndCodes)
{
    TempFolder dir;
    Bytes le = {0x00, 0x80, 0x34, 0x12};
    WriteFile(dir.File("x.raw"), le);
    CAudioFile file;
    const uint32_t mode = kStreamed | AudioModeType(AUDIO_TYPE_RAW);
    EXPECT_EQ(file.Open(dir.File("x.raw"), mode, nullptr), AUDIO_ERR_SAVE_TYPE);
    RawPcmDesc desc{12, 8000, SAMPLE_CODE_U16LE, 1};
    EXPECT_EQ(file.Open(dir.File("x.raw"), mode, &desc), AUDIO_ERR_SAVE_TYPE) << "wrong record size";
    desc = {16, 8000, 7, 1};
    EXPECT_EQ(file.Open(dir.File("x.raw"), mode, &desc), AUDIO_ERR_SAVE_TYPE) << "no such code";
    desc = {16, 0, SAMPLE_CODE_U16LE, 1};
    EXPECT_EQ(file.Open(dir.File("x.raw"), mode, &desc), AUDIO_ERR_SAVE_TYPE) << "no rate";
    desc = {16, 8000, SAMPLE_CODE_U16LE, 1};
    ASSERT_EQ(file.Open(dir.File("x.raw"), mode, &desc), AUDIO_OK);
    EXPECT_EQ(SampleData(file), (Bytes{0x00, 0x00, 0x34, 0x92}));
    // Every code written and read back restores the samples.
    for (int code = SAMPLE_CODE_S16LE; code <= SAMPLE_CODE_U16BE; ++code) {
        AudioSaveOption option;
        option.sampleCode = code;
        ASSERT_EQ(file.Save(dir.File("y.raw"), AudioModeType(AUDIO_SAVE_RAW), option), AUDIO_OK);
        CAudioFile back;
        RawPcmDesc again{16, 8000, uint32_t(code), 1};
        ASSERT_EQ(back.Open(dir.File("y.raw"), mode, &again), AUDIO_OK);
        EXPECT_EQ(SampleData(back), SampleData(file)) << code;
    }
    AudioSaveOption eight;
    eight.sampleCode = SAMPLE_CODE_U8;
    ASSERT_EQ(file.Save(dir.File("z.raw"), AudioModeType(AUDIO_SAVE_RAW), eight), AUDIO_OK);
    EXPECT_EQ(ReadFile(dir.File("z.raw")), (Bytes{0x80, 0x12})) << "16-bit data narrowed for an 8-bit code";
    AudioSaveOption none;
    EXPECT_EQ(file.Save(dir.File("n.raw"), AudioModeType(AUDIO_SAVE_RAW), none), AUDIO_ERR_SAVE_TYPE);
}

TEST(CAudioFileFormats, MemoryStepForOtherTypes)
{
    TempFolder dir;
    Bytes codes(5000, 0x12);
    WriteFile(dir.File("m.au"), Au(1, 8000, 1, codes));
    CAudioFile file;
    file.SetTempFolder(dir.Path());
    ASSERT_EQ(file.Open(dir.File("m.au"), kStreamed | 0x08), AUDIO_OK) << "any memory-step bit will do";
    EXPECT_EQ(file.GetState(), AUDIO_STATE_MEMORY);
    EXPECT_EQ(file.GetFileType(), AUDIO_FILE_WAV);
    EXPECT_EQ(file.GetMemoryData()->Size(), 10000u);
    EXPECT_EQ(file.GetFrameCount(), 5000u);
}
