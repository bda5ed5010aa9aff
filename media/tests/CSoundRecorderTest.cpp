// The recorder: frames owed by fixed frame times, what it keeps, and the
// WAV file it writes.

#include "SoundTestSupport.h"
#include "media/CSoundRecorder.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace soundtest;
using audiotest::TempFolder;

namespace {
Samples AsSamples(const std::vector<uint8_t>& bytes)
{
    Samples out(bytes.size() / 2);
    std::memcpy(out.data(), bytes.data(), out.size() * 2);
    return out;
}
} // namespace

TEST(SoundRecorder, FixedStepsAddUpToWholeFramesWithoutDrift)
{
    ASSERT_TRUE(kNullDriver);
    LoopbackRig rig(44100, 2);
    CSoundRecorder recorder(*rig.device);
    EXPECT_EQ(4u, recorder.Format().blockAlign);
    uint64_t sum = 0;
    // 0.016 s is 705.6 frames: passes take 705 or 706 so the total stays
    // round(time x rate).
    for (int pass = 0; pass < 1000; ++pass) {
        const uint32_t frames = recorder.Advance(0.016);
        EXPECT_TRUE(frames == 705 || frames == 706) << "pass " << pass;
        sum += frames;
    }
    EXPECT_EQ(705600u, sum);
    EXPECT_EQ(705600u, recorder.FrameCount());
    EXPECT_EQ(705600u * 4, recorder.Samples().size());
    EXPECT_EQ(0u, recorder.Advance(0));
    EXPECT_EQ(0u, recorder.Advance(-1));
    // A runaway step takes a minute at most, and the steps after it line up.
    EXPECT_EQ(60u * 44100, recorder.Advance(1e9));
    EXPECT_EQ(706u, recorder.Advance(0.016)); // round(705.6)
}

TEST(SoundRecorder, APlayedSoundStartsAtThePassThatPlayedIt)
{
    TempFolder folder;
    LoopbackRig rig;
    SoundEntry* shot = rig.device->NewSound();
    ASSERT_EQ(SOUND_OK, rig.device->Load(shot, SineWav(folder, "shot.wav", 22050, 1, 0.2), 2));
    CSoundRecorder recorder(*rig.device);
    for (int pass = 0; pass < 30; ++pass) {
        if (pass == 15)
            rig.device->Play(shot, 0, SOUND_NO_CHANGE, SOUND_NO_CHANGE, SOUND_NO_CHANGE, false);
        recorder.Advance(1.0 / 30);
    }
    ASSERT_EQ(22050u, recorder.FrameCount());
    const Samples mix = AsSamples(recorder.Samples());
    // At 0.5 s, give or take the mixer's few samples of delay.
    const size_t onset = Onset(mix);
    EXPECT_GE(onset, 11025u);
    EXPECT_LE(onset, 11025u + 64);
    EXPECT_NEAR(Rms(mix, 0, 1, 11025 + 200, 4000), kSineRms, kSineRms * 0.02);
}

TEST(SoundRecorder, SavesTheRecordingWholeAsAWavFile)
{
    TempFolder folder;
    LoopbackRig rig(22050, 2);
    SoundEntry* tone = rig.device->NewSound();
    ASSERT_EQ(SOUND_OK, rig.device->Load(tone, SineWav(folder, "tone.wav", 22050, 1, 1.0), 1));
    rig.device->Play(tone, 0, SOUND_PAN_LEFT, SOUND_NO_CHANGE, SOUND_NO_CHANGE, false);
    CSoundRecorder recorder(*rig.device);
    recorder.Advance(0.25);

    const std::string path = folder.File("hunt.wav");
    ASSERT_EQ(AUDIO_OK, recorder.Save(path));
    CAudioFile file;
    ASSERT_EQ(AUDIO_OK, file.Open(path, AUDIO_OPEN_STREAM | AUDIO_OPEN_READ_ONLY));
    EXPECT_EQ(22050u, file.GetFormat()->samplesPerSec);
    EXPECT_EQ(2, file.GetFormat()->channels);
    EXPECT_EQ(16, file.GetFormat()->bitsPerSample);
    EXPECT_EQ(recorder.Samples(), audiotest::SampleData(file));
    file.Close();

    // A folder that is not there: an error, and no file or leftover.
    EXPECT_NE(AUDIO_OK, recorder.Save(folder.File("none/hunt.wav")));
    EXPECT_EQ(2u, folder.Count()); // tone.wav and hunt.wav
    // Bytes that are not whole frames are refused.
    const uint8_t odd[3] = {1, 2, 3};
    EXPECT_NE(AUDIO_OK, CSoundRecorder::SavePcmAsWav(folder.File("odd.wav"), recorder.Format(), odd, 3));
    EXPECT_FALSE(std::filesystem::exists(folder.File("odd.wav")));
}

TEST(SoundRecorder, WithoutTheLibraryTheRecordingIsSilenceOfTheRightLength)
{
    TempFolder folder;
    auto device = CDirectSoundDevice::CreateLoopback(MakePcmFormat(11025, 16, 1), "libveldra-no-such-audio.so.1");
    int window = 0;
    device->SetWindowAndFormat(&window, nullptr);
    device->SetActive(true);
    CSoundRecorder recorder(*device);
    for (int pass = 0; pass < 10; ++pass)
        recorder.Advance(0.1);
    EXPECT_EQ(11025u, recorder.FrameCount());
    EXPECT_EQ(std::vector<uint8_t>(11025 * 2, 0), recorder.Samples());
    EXPECT_EQ(AUDIO_OK, recorder.Save(folder.File("quiet.wav")));

    // An empty recording is still a file.
    CSoundRecorder empty(*device);
    EXPECT_EQ(AUDIO_OK, empty.Save(folder.File("empty.wav")));
    CAudioFile file;
    EXPECT_EQ(AUDIO_OK, file.Open(folder.File("empty.wav"), AUDIO_OPEN_STREAM | AUDIO_OPEN_READ_ONLY));
    EXPECT_EQ(0u, file.GetFrameCount());
}
