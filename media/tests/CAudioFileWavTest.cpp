#include "AudioTestSupport.h"
#include "media/CAudioFile.h"
#include "common/ByteOrder.h"
#include "media/G711.h"

#include <gtest/gtest.h>

using namespace audiotest;

namespace {

struct ProgressLog {
    std::vector<int> percents;
    static void Record(void* context, int, int percent) { static_cast<ProgressLog*>(context)->percents.push_back(percent); }
    bool Rises() const
    {
        for (size_t i = 1; i < percents.size(); ++i)
            if (percents[i] < percents[i - 1])
                return false;
        return true;
    }
};
} // namespace

TEST(CAudioFileWav, OpensStreamedWithFormatFramesAndData)
{
    TempFolder dir;
    Bytes data = Sine16(22050, 2, 300);
    WriteFile(dir.File("a.wav"), SimpleWav(2, 22050, 16, data));
    CAudioFile file;
    ASSERT_EQ(file.Open(dir.File("a.wav"), kStreamed), AUDIO_OK);
    EXPECT_EQ(file.GetState(), AUDIO_STATE_STREAM);
    EXPECT_EQ(file.GetFileType(), AUDIO_FILE_WAV);
    EXPECT_EQ(file.GetFrameCode(), 4);
    EXPECT_EQ(file.GetFrameCount(), 300u);
    EXPECT_EQ(file.GetFormat()->samplesPerSec, 22050u);
    EXPECT_EQ(SampleData(file), data);
    EXPECT_TRUE(file.GetInfoText("INAM").empty()) << "no INFO list: no texts";
    file.Close();
    EXPECT_EQ(file.GetState(), AUDIO_STATE_EMPTY);
    EXPECT_EQ(file.GetFormat(), nullptr);
}

TEST(CAudioFileWav, ReadsAroundOddChunksAndShortFormatChunks)
{
    TempFolder dir;
    Bytes data = {1, 2, 3, 4, 5};
    Bytes chunks;
    PutChunk(chunks, "junk", Bytes{7, 7, 7});
    PutChunk(chunks, "fmt ", PcmFmtBody(1, 1, 8000, 8, false));
    PutChunk(chunks, "data", data);
    WriteFile(dir.File("odd.wav"), Riff(chunks));
    CAudioFile file;
    ASSERT_EQ(file.Open(dir.File("odd.wav"), kStreamed), AUDIO_OK);
    EXPECT_EQ(file.GetFormat()->extraSize, 0) << "a 16-byte fmt chunk gives an 18-byte record";
    EXPECT_EQ(file.GetFormat()->blockAlign, 1);
    EXPECT_EQ(SampleData(file), data);
}

TEST(CAudioFileWav, RefusesBrokenFiles)
{
    TempFolder dir;
    CAudioFile file;
    Bytes data(100, 0x80);

    Bytes longData = SimpleWav(1, 8000, 8, data);
    WriteLE32(longData.data() + 42, 101); // the data chunk claims one byte more
    WriteFile(dir.File("long.wav"), longData);
    EXPECT_EQ(file.Open(dir.File("long.wav"), kStreamed), AUDIO_ERR_STRUCTURE);
    EXPECT_EQ(file.GetState(), AUDIO_STATE_EMPTY);
    EXPECT_EQ(file.Open(dir.File("long.wav"), AUDIO_OPEN_MEMORY | AUDIO_OPEN_READ_ONLY), AUDIO_ERR_PARSE_MEMORY);

    Bytes noFmt;
    PutChunk(noFmt, "data", data);
    WriteFile(dir.File("nofmt.wav"), Riff(noFmt));
    EXPECT_EQ(file.Open(dir.File("nofmt.wav"), kStreamed), AUDIO_ERR_STRUCTURE);

    WriteFile(dir.File("zero.wav"), SimpleWav(0, 8000, 8, data));
    EXPECT_EQ(file.Open(dir.File("zero.wav"), kStreamed), AUDIO_ERR_STRUCTURE) << "no channels";
    WriteFile(dir.File("norate.wav"), SimpleWav(1, 0, 8, data));
    EXPECT_EQ(file.Open(dir.File("norate.wav"), kStreamed), AUDIO_ERR_STRUCTURE) << "no rate";

    WriteFile(dir.File("empty.wav"), Bytes{});
    EXPECT_EQ(file.Open(dir.File("empty.wav"), kStreamed), AUDIO_ERR_OPEN);
    EXPECT_EQ(file.Open(dir.File("missing.wav"), kStreamed), AUDIO_ERR_OPEN);
    EXPECT_EQ(file.Open(dir.File("long.wav"), kStreamed | AudioModeType(9)), AUDIO_ERR_FILE_TYPE);
}

TEST(CAudioFileWav, UnknownExtensionsOpenAsWavButDoNotSave)
{
    TempFolder dir;
    WriteFile(dir.File("sound.xyz"), SimpleWav(1, 8000, 8, Bytes(10, 0x80)));
    CAudioFile file;
    ASSERT_EQ(file.Open(dir.File("sound.xyz"), kStreamed), AUDIO_OK);
    EXPECT_EQ(file.Save(dir.File("copy.xyz"), 0), AUDIO_ERR_SAVE_TYPE);
    EXPECT_EQ(file.Save(dir.File("copy.xyz"), AudioModeType(7)), AUDIO_ERR_SAVE_TYPE);
    EXPECT_EQ(file.Save(dir.File("copy.xyz"), AudioModeType(AUDIO_SAVE_WAV)), AUDIO_OK);
}

TEST(CAudioFileWav, InfoTextsRoundTripAndNameDefaultsToTheFileName)
{
    TempFolder dir;
    Bytes data = Sine8(8000, 1, 51);
    Bytes info;
    PutTag(info, "INFO");
    PutChunk(info, "IART", Bytes{'M', 'e', 0, 'x'});
    PutChunk(info, "ICMT", Bytes{'o', 'd', 'd', 0, 0});
    Bytes chunks;
    PutChunk(chunks, "fmt ", PcmFmtBody(1, 1, 8000, 8));
    PutChunk(chunks, "data", data);
    PutChunk(chunks, "LIST", info);
    WriteFile(dir.File("in.wav"), Riff(chunks));

    CAudioFile file;
    ASSERT_EQ(file.Open(dir.File("in.wav"), kStreamed), AUDIO_OK);
    EXPECT_EQ(file.GetInfoText("IART"), "Me") << "the text ends at the first zero";
    EXPECT_EQ(file.GetInfoText("ICMT"), "odd");
    EXPECT_TRUE(file.SetInfoText("ICOP", "(c) us"));
    EXPECT_FALSE(file.SetInfoText("XXXX", "no such tag"));
    ASSERT_EQ(file.Save(dir.File("Roar Of Lion.wav"), 0), AUDIO_OK);

    CAudioFile copy;
    ASSERT_EQ(copy.Open(dir.File("Roar Of Lion.wav"), kStreamed), AUDIO_OK);
    EXPECT_EQ(copy.GetInfoText("INAM"), "Roar Of Lion");
    EXPECT_EQ(copy.GetInfoText("IART"), "Me");
    EXPECT_EQ(copy.GetInfoText("ICOP"), "(c) us");
    EXPECT_EQ(SampleData(copy), data) << "odd data length survives with its pad byte";
    EXPECT_EQ(dir.Count(), 2u) << "no temporary file is left behind";
}

TEST(CAudioFileWav, HeaderOnlyKeepsNoDataAndHasNothingToSave)
{
    TempFolder dir;
    WriteFile(dir.File("h.wav"), SimpleWav(2, 44100, 16, Sine16(44100, 2, 10)));
    CAudioFile file;
    ASSERT_EQ(file.Open(dir.File("h.wav"), kStreamed | AUDIO_OPEN_HEADER_ONLY), AUDIO_OK);
    EXPECT_EQ(file.GetState(), AUDIO_STATE_HEADER);
    EXPECT_EQ(file.GetFormat()->channels, 2);
    EXPECT_EQ(file.GetFrameCount(), 0u);
    EXPECT_EQ(file.Save(dir.File("out.wav"), 0), AUDIO_ERR_NOTHING);
    EXPECT_EQ(file.LoadIntoMemory(), AUDIO_ERR_NOT_STREAMED);
    CAudioFile empty;
    EXPECT_EQ(empty.Save(dir.File("out.wav"), 0), AUDIO_ERR_NOTHING);
}

TEST(CAudioFileWav, LoadsWholeFilesIntoMemoryWithProgress)
{
    TempFolder dir;
    Bytes data = Sine16(22050, 1, 40000);
    WriteFile(dir.File("m.wav"), SimpleWav(1, 22050, 16, data));
    CAudioFile file;
    ProgressLog log;
    ASSERT_EQ(file.Open(dir.File("m.wav"), AUDIO_OPEN_MEMORY | AUDIO_OPEN_READ_ONLY, nullptr, ProgressLog::Record, &log),
              AUDIO_OK);
    EXPECT_EQ(file.GetState(), AUDIO_STATE_MEMORY);
    EXPECT_EQ(file.GetFrameCount(), 40000u);
    EXPECT_EQ(SampleData(file), data);
    ASSERT_GE(log.percents.size(), 3u) << "reported per 32768-byte piece";
    EXPECT_TRUE(log.Rises());
    EXPECT_EQ(log.percents.back(), 100);
    EXPECT_EQ(file.LoadIntoMemory(), AUDIO_ERR_NOT_STREAMED);
}

TEST(CAudioFileWav, MemoryStepBringsStreamedDataIntoMemory)
{
    TempFolder dir;
    Bytes data = Sine8(11025, 2, 20000);
    WriteFile(dir.File("s.wav"), SimpleWav(2, 11025, 8, data));
    CAudioFile file;
    file.SetTempFolder(dir.Path());
    ProgressLog log;
    ASSERT_EQ(file.Open(dir.File("s.wav"), kStreamed | AUDIO_OPEN_CONVERT, nullptr, ProgressLog::Record, &log),
              AUDIO_OK);
    EXPECT_EQ(file.GetState(), AUDIO_STATE_MEMORY);
    EXPECT_EQ(file.GetDataStream(), nullptr);
    EXPECT_EQ(SampleData(file), data);
    EXPECT_EQ(file.GetFrameCount(), 20000u);
    EXPECT_EQ(log.percents.back(), 100);
    EXPECT_EQ(dir.Count(), 1u) << "the temporary file is gone from the folder already";
}

TEST(CAudioFileWav, CompressedFilesConvertToPcmWhenLoadedIntoMemory)
{
    TempFolder dir;
    Bytes codes(9000);
    for (size_t i = 0; i < codes.size(); ++i)
        codes[i] = static_cast<uint8_t>(i * 7);
    Bytes chunks;
    PutChunk(chunks, "fmt ", PcmFmtBody(WAVE_FORMAT_MULAW, 1, 8000, 8));
    PutChunk(chunks, "data", codes);
    WriteFile(dir.File("law.wav"), Riff(chunks));

    // Streamed, the file keeps its own format; frames are unknown for it.
    CAudioFile streamed;
    ASSERT_EQ(streamed.Open(dir.File("law.wav"), kStreamed), AUDIO_OK);
    EXPECT_EQ(streamed.GetFormat()->formatTag, WAVE_FORMAT_MULAW);
    EXPECT_EQ(streamed.GetFrameCode(), 0);
    EXPECT_EQ(streamed.GetFrameCount(), 0u);

    CAudioFile file;
    file.SetTempFolder(dir.Path());
    ProgressLog log;
    ASSERT_EQ(file.Open(dir.File("law.wav"), AUDIO_OPEN_MEMORY | AUDIO_OPEN_CONVERT | AUDIO_OPEN_READ_ONLY, nullptr,
                        ProgressLog::Record, &log),
              AUDIO_OK);
    EXPECT_EQ(file.GetState(), AUDIO_STATE_MEMORY);
    EXPECT_EQ(file.GetFormat()->formatTag, WAVE_FORMAT_PCM);
    EXPECT_EQ(file.GetFormat()->bitsPerSample, 16);
    Bytes pcm = SampleData(file);
    ASSERT_EQ(pcm.size(), codes.size() * 2);
    for (size_t i = 0; i < codes.size(); i += 101)
        EXPECT_EQ(static_cast<int16_t>(pcm[2 * i] | pcm[2 * i + 1] << 8), MuLawToLinear(codes[i]));
    EXPECT_TRUE(log.Rises());
    EXPECT_EQ(log.percents.back(), 100);
    EXPECT_TRUE(std::find_if(log.percents.begin(), log.percents.end(), [](int p) { return p > 0 && p <= 50; }) !=
                log.percents.end());
    // Compressed data in memory: frames through the byte rate.
    CAudioFile held;
    CMemoryBlock* block = CMemoryBlock::Allocate(codes.size());
    std::memcpy(block->Lock(), codes.data(), codes.size());
    block->Unlock();
    ASSERT_EQ(held.Attach(*streamed.GetFormat(), block, BlockOwnership::Owned), 1);
    EXPECT_EQ(held.GetFrameCount(), 9000u);
    file.Close();
    EXPECT_EQ(dir.Count(), 1u) << "the converted temporary file goes with the data";
}

TEST(CAudioFileWav, SavesThroughATargetFormat)
{
    TempFolder dir;
    Bytes data = Sine16(22050, 1, 22050);
    WriteFile(dir.File("in.wav"), SimpleWav(1, 22050, 16, data));
    CAudioFile file;
    ASSERT_EQ(file.Open(dir.File("in.wav"), kStreamed), AUDIO_OK);
    AudioSaveOption option;
    WaveFormat target = MakePcmFormat(44100, 8, 2);
    option.targetFormat = &target;
    ProgressLog log;
    ASSERT_EQ(file.Save(dir.File("out.wav"), 0, option, ProgressLog::Record, &log), AUDIO_OK);
    EXPECT_EQ(log.percents.back(), 100);
    CAudioFile out;
    ASSERT_EQ(out.Open(dir.File("out.wav"), kStreamed), AUDIO_OK);
    EXPECT_EQ(out.GetFormat()->samplesPerSec, 44100u);
    EXPECT_EQ(out.GetFrameCode(), 2);
    EXPECT_EQ(out.GetFrameCount(), 44100u);

    WaveFormat impossible = target;
    impossible.formatTag = 0x55;
    option.targetFormat = &impossible;
    EXPECT_EQ(file.Save(dir.File("bad.wav"), 0, option), AUDIO_ERR_ENCODING);
    EXPECT_FALSE(std::filesystem::exists(dir.File("bad.wav")));
    EXPECT_EQ(file.Save(dir.File("nofolder/x.wav"), 0), AUDIO_ERR_CREATE);
}

TEST(CAudioFileWav, OpensBlocksBorrowedOrOwned)
{
    Bytes data = Sine16(8000, 1, 100);
    Bytes bytes = SimpleWav(1, 8000, 16, data);
    CMemoryBlock* borrowed = CMemoryBlock::Wrap(bytes.data(), bytes.size(), BlockOwnership::Borrowed);
    {
        CAudioFile file;
        ASSERT_EQ(file.Open(borrowed, AUDIO_OPEN_STREAM), AUDIO_OK);
        EXPECT_EQ(SampleData(file), data);
    }
    EXPECT_EQ(borrowed->LockCount(), 0) << "the caller's block is left as it was";
    delete borrowed;

    auto* owned = CMemoryBlock::Allocate(bytes.size());
    std::memcpy(owned->Lock(), bytes.data(), bytes.size());
    owned->Unlock();
    CAudioFile file;
    ASSERT_EQ(file.Open(owned, AUDIO_OPEN_STREAM | AUDIO_OPEN_OWN_BLOCK), AUDIO_OK);
    EXPECT_EQ(file.GetFrameCount(), 100u);
    // A handed-over block is deleted also when opening fails (checked by the
    // leak sanitizer).
    auto* junk = CMemoryBlock::Allocate(10);
    EXPECT_EQ(file.Open(junk, AUDIO_OPEN_STREAM | AUDIO_OPEN_OWN_BLOCK), AUDIO_ERR_STRUCTURE);
}

TEST(CAudioFileWav, DeletesTemporaryFilesOnClose)
{
    TempFolder dir;
    WriteFile(dir.File("t.wav"), SimpleWav(1, 8000, 8, Bytes(10, 0x80)));
    {
        CAudioFile file;
        ASSERT_EQ(file.Open(dir.File("t.wav"), kStreamed | AUDIO_OPEN_DELETE_ON_CLOSE), AUDIO_OK);
        EXPECT_TRUE(std::filesystem::exists(dir.File("t.wav")));
    }
    EXPECT_FALSE(std::filesystem::exists(dir.File("t.wav")));
}
