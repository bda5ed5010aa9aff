// The working sound device, through the real library: on its loopback
// device, whose mix is rendered on demand and measured, and on the silent
// null output for what needs a device that plays to a card.

#include "sound/COpenAlLibrary.h"
#include "SoundTestSupport.h"
#include "common/CMemoryBlock.h"
#include "media/CDirectSoundDevice.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

using namespace soundtest;
using audiotest::TempFolder;

namespace {
constexpr int NC = SOUND_NO_CHANGE;
constexpr uint32_t kRate = 22050;

size_t Frame(double seconds)
{
    return static_cast<size_t>(std::lround(seconds * kRate));
}

// Level of a mono mix between two times.
double LevelBetween(const Samples& mix, double from, double to)
{
    return Rms(mix, 0, 1, Frame(from), Frame(to) - Frame(from));
}

// The test sine at its full level in every 50 ms window of [from, to).
void ExpectSteadyTone(const Samples& mix, double from, double to)
{
    for (double t = from; t + 0.05 <= to + 1e-9; t += 0.1)
        EXPECT_NEAR(LevelBetween(mix, t, t + 0.05), kSineRms, kSineRms * 0.03) << "at " << t << " s";
}

class LoopbackDevice : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(kNullDriver);
        ASSERT_TRUE(rig.device->HasLibrary()) << "the audio library must be installed for these tests";
        ASSERT_TRUE(rig.device->IsOutputOpen());
    }

    SoundEntry* LoadSine(double seconds, int copies = 1, double frequency = 441.0, bool streamed = false)
    {
        SoundEntry* sound = device().NewSound();
        const std::string path = SineWav(folder, "sound" + std::to_string(++m_files) + ".wav", kRate, 1, seconds,
                                         frequency);
        EXPECT_EQ(SOUND_OK, device().Load(sound, path, copies, SoundLoadOptions{.streamed = streamed}));
        return sound;
    }

    CDirectSoundDevice& device() { return *rig.device; }

    TempFolder folder;
    LoopbackRig rig;

private:
    int m_files = 0;
};
} // namespace

TEST_F(LoopbackDevice, RendersTheSoundAtItsLevelAndPitch)
{
    SoundEntry* sound = LoadSine(1.0);
    device().Play(sound, 0, NC, NC, NC, false);
    EXPECT_TRUE(device().IsPlaying(sound));
    const Samples mix = rig.Render(1.2);
    EXPECT_NEAR(LevelBetween(mix, 0.05, 0.95), kSineRms, kSineRms * 0.02);
    EXPECT_NEAR(CrossingFrequency(Samples(mix.begin(), mix.begin() + Frame(0.95)), kRate), 441.0, 2.0);
    EXPECT_LT(Onset(mix), Frame(0.005));
    EXPECT_LT(LevelBetween(mix, 1.05, 1.2), 5.0);
    EXPECT_FALSE(device().IsPlaying(sound));
}

TEST_F(LoopbackDevice, VolumeAndFrequencyScaleLevelAndPitch)
{
    SoundEntry* sound = LoadSine(1.0);
    // -600 hundredths of a decibel: a gain of 10^(-0.3), about half.
    device().Play(sound, 0, NC, -600, NC, false);
    Samples mix = rig.Render(0.5);
    EXPECT_NEAR(LevelBetween(mix, 0.05, 0.45) / kSineRms, std::pow(10.0, -0.3), 0.01);

    // Twice the sound's rate sounds an octave up.
    device().Play(sound, 0, NC, 0, int(2 * kRate), false);
    mix = rig.Render(0.4);
    EXPECT_NEAR(CrossingFrequency(Samples(mix.begin() + Frame(0.1), mix.end()), kRate), 882.0, 4.0);
    EXPECT_EQ(int(2 * kRate), device().GetFrequency(sound));
}

TEST_F(LoopbackDevice, TheMasterGainScalesEverySoundAndOutlivesAReopenedOutput)
{
    SoundEntry* sound = LoadSine(2.0);
    device().SetMasterGain(0.25f);
    EXPECT_FLOAT_EQ(device().MasterGain(), 0.25f);
    device().Play(sound, 0, NC, NC, NC, false);
    Samples mix = rig.Render(0.5);
    EXPECT_NEAR(LevelBetween(mix, 0.1, 0.45) / kSineRms, 0.25, 0.01);
    device().SetMasterGain(0);
    mix = rig.Render(0.5);
    EXPECT_LT(LevelBetween(mix, 0.1, 0.45), 1.0);

    // Off and on again (the output is closed and opened): the gain holds.
    device().SetMasterGain(0.5f);
    device().SetActive(false);
    device().SetActive(true);
    ASSERT_TRUE(device().IsOutputOpen());
    device().Play(sound, 0, NC, NC, NC, false);
    mix = rig.Render(0.5);
    EXPECT_NEAR(LevelBetween(mix, 0.1, 0.45) / kSineRms, 0.5, 0.01);
    // Out of range is clamped.
    device().SetMasterGain(7.0f);
    EXPECT_FLOAT_EQ(device().MasterGain(), 1.0f);
    device().SetMasterGain(-1.0f);
    EXPECT_FLOAT_EQ(device().MasterGain(), 0.0f);
}

TEST_F(LoopbackDevice, CopiesOverlapAndAThirdPlayRestartsTheFirst)
{
    // A constant level, so overlapping copies add up plainly.
    SoundEntry* sound = device().NewSound();
    ASSERT_EQ(SOUND_OK, device().Load(sound, SineWav(folder, "level.wav", kRate, 1, 1.0, 0, 4000), 2));
    device().Play(sound, 0, NC, NC, NC, false); // copy 1 at 0.0 s
    Samples mix = rig.Render(0.1);
    device().Play(sound, 0, NC, NC, NC, false); // copy 2 at 0.1 s
    Samples more = rig.Render(0.1);
    mix.insert(mix.end(), more.begin(), more.end());
    device().Play(sound, 0, NC, NC, NC, false); // copy 1 again at 0.2 s
    more = rig.Render(0.1);
    // The first copy's cursor started again: 0.1 s in, not 0.3 s.
    EXPECT_NEAR(device().GetPosition(sound), Frame(0.1) * 2, 200);
    mix.insert(mix.end(), more.begin(), more.end());
    more = rig.Render(1.1);
    mix.insert(mix.end(), more.begin(), more.end());

    EXPECT_NEAR(LevelBetween(mix, 0.02, 0.09), 4000, 40);
    EXPECT_NEAR(LevelBetween(mix, 0.12, 0.19), 8000, 80);
    EXPECT_NEAR(LevelBetween(mix, 0.22, 1.08), 8000, 80); // copy 1 did not end at 1.0 s
    EXPECT_NEAR(LevelBetween(mix, 1.12, 1.18), 4000, 40); // copy 2 ended at 1.1 s
    EXPECT_LT(LevelBetween(mix, 1.22, 1.4), 5.0);         // copy 1 at 1.2 s
}

TEST_F(LoopbackDevice, NoChangeKeepsPropertiesWhereMinusOneSetsThem)
{
    SoundEntry* sound = LoadSine(0.5);
    device().Play(sound, 0, 2000, -600, 11025, false);
    device().Play(sound, 0, NC, NC, NC, false);
    EXPECT_EQ(2000, device().GetPan(sound));
    EXPECT_EQ(-600, device().GetVolume(sound));
    EXPECT_EQ(11025, device().GetFrequency(sound));

    device().Play(sound, 0, -1, -1, NC, false);
    EXPECT_EQ(-1, device().GetPan(sound));
    EXPECT_EQ(-1, device().GetVolume(sound));

    // Values outside the ranges are refused; frequency 0 is the sound's own.
    device().SetVolume(sound, 5);
    device().SetPan(sound, -10001);
    device().SetFrequency(sound, 50);
    EXPECT_EQ(-1, device().GetVolume(sound));
    EXPECT_EQ(-1, device().GetPan(sound));
    EXPECT_EQ(11025, device().GetFrequency(sound));
    device().SetFrequency(sound, SOUND_FREQUENCY_ORIGINAL);
    EXPECT_EQ(int(kRate), device().GetFrequency(sound));
}

TEST_F(LoopbackDevice, PositionMinusOneContinuesFromTheCursor)
{
    SoundEntry* sound = LoadSine(1.0);
    device().Play(sound, 0, NC, NC, NC, false);
    rig.Render(0.2);
    device().Stop(sound);
    const uint32_t stopped = device().GetPosition(sound);
    EXPECT_NEAR(stopped, Frame(0.2) * 2, 200);
    // Stopped: silent once its 5 ms fade and the mixer's few samples of
    // delay are out, and the cursor stays.
    EXPECT_LT(Rms(rig.Render(0.1), 0, 1, Frame(0.01)), 5.0);
    EXPECT_EQ(stopped, device().GetPosition(sound));

    device().Play(sound, -1, NC, NC, NC, false);
    rig.Render(0.2);
    EXPECT_NEAR(device().GetPosition(sound), stopped + Frame(0.2) * 2, 200);

    // A cursor set while still is where the next start begins.
    device().Stop(sound);
    device().SetPosition(sound, 1001);
    EXPECT_EQ(1000u, device().GetPosition(sound)); // whole frames
    device().Play(sound, -1, NC, NC, NC, false);
    rig.Render(0.1);
    EXPECT_NEAR(device().GetPosition(sound), 1000 + Frame(0.1) * 2, 200);
}

TEST_F(LoopbackDevice, PanLeansTheSoundToOneSide)
{
    LoopbackRig stereo(kRate, 2);
    SoundEntry* sound = stereo.device->NewSound();
    ASSERT_EQ(SOUND_OK, stereo.device->Load(sound, SineWav(folder, "pan.wav", kRate, 1, 1.0), 1));
    for (int pan : {SOUND_PAN_LEFT, SOUND_PAN_CENTER, SOUND_PAN_RIGHT}) {
        stereo.device->Play(sound, 0, pan, NC, NC, false);
        const Samples mix = stereo.Render(0.3);
        const double left = Rms(mix, 0, 2, Frame(0.15));
        const double right = Rms(mix, 1, 2, Frame(0.15));
        if (pan == SOUND_PAN_LEFT)
            EXPECT_GT(left, 4 * right);
        else if (pan == SOUND_PAN_RIGHT)
            EXPECT_GT(right, 4 * left);
        else
            EXPECT_NEAR(left / right, 1.0, 0.02);
    }
}

// A pan attenuates only the far channel, and pan 0 plays at full level on
// both: the sound is not placed in space, where the library's pan law would
// take a centred sound down to 0.6 of its level on each side.
TEST_F(LoopbackDevice, PanZeroPlaysAtFullLevelOnBothChannels)
{
    LoopbackRig stereo(kRate, 2);
    SoundEntry* sound = stereo.device->NewSound();
    ASSERT_EQ(SOUND_OK, stereo.device->Load(sound, SineWav(folder, "full.wav", kRate, 1, 1.0), 1));
    struct Case {
        int pan, volume;
        double left, right; // expected shares of the full level
    };
    for (const Case& c : {Case{SOUND_PAN_CENTER, 0, 1.0, 1.0}, Case{-600, 0, 1.0, std::pow(10.0, -0.3)},
                          Case{600, 0, std::pow(10.0, -0.3), 1.0}, Case{SOUND_PAN_CENTER, -600, 0.5012, 0.5012}}) {
        SCOPED_TRACE("pan " + std::to_string(c.pan) + ", volume " + std::to_string(c.volume));
        stereo.device->Play(sound, 0, c.pan, c.volume, NC, false);
        const Samples mix = stereo.Render(0.3);
        EXPECT_NEAR(Rms(mix, 0, 2, Frame(0.05)) / kSineRms, c.left, 0.01);
        EXPECT_NEAR(Rms(mix, 1, 2, Frame(0.05)) / kSineRms, c.right, 0.01);
        stereo.device->Stop(sound);
        stereo.Render(0.05);
    }
    // A stereo sound keeps its sides apart at pan 0, each at full level.
    SoundEntry* sides = stereo.device->NewSound();
    ASSERT_EQ(SOUND_OK, stereo.device->Load(sides, SineWav(folder, "sides.wav", kRate, 2, 1.0), 1));
    stereo.device->Play(sides, 0, NC, NC, NC, false);
    const Samples mix = stereo.Render(0.3);
    EXPECT_NEAR(Rms(mix, 0, 2, Frame(0.05)) / kSineRms, 1.0, 0.01);
    EXPECT_NEAR(Rms(mix, 1, 2, Frame(0.05)) / kSineRms, 1.0, 0.01);
}

// Stopping a looping sound, or starting one again while it plays, never
// cuts it off in one sample: it fades out within a few milliseconds, so the
// largest step in the output stays near the wave's own steepest slope.
TEST_F(LoopbackDevice, StopAndRestartFadeInsteadOfClicking)
{
    LoopbackRig stereo(kRate, 2);
    // A constant level: any cut would be a step of its whole height.
    SoundEntry* level = stereo.device->NewSound();
    ASSERT_EQ(SOUND_OK, stereo.device->Load(level, SineWav(folder, "dc.wav", kRate, 1, 0.5, 0, kSinePeak), 1));
    stereo.device->Play(level, 0, NC, NC, NC, true);
    stereo.Render(0.3); // looped past its end
    stereo.device->Stop(level);
    EXPECT_FALSE(stereo.device->IsPlaying(level));
    const Samples after = stereo.Render(0.05);
    Samples left;
    for (size_t i = 0; i < after.size(); i += 2)
        left.push_back(after[i]);
    EXPECT_GT(std::abs(left.front()), int(kSinePeak * 0.8)) << "the fade begins at the sound's level";
    // A linear fade over 5 ms falls by kSinePeak / 110 a sample.
    EXPECT_LE(LargestStep(left, 0, left.size()), int(kSinePeak / (kRate * 0.005) * 1.5));
    EXPECT_LT(Rms(left, 0, 1, Frame(0.01)), 1.0) << "silent 10 ms after the stop";
    stereo.device->Service();

    // Started again at 0 while it plays, a sine's old voice fades out under
    // the new one instead of jumping to the new one's first sample.
    SoundEntry* sine = stereo.device->NewSound();
    ASSERT_EQ(SOUND_OK, stereo.device->Load(sine, SineWav(folder, "again.wav", kRate, 1, 1.0), 1));
    const int slope = int(std::ceil(kSinePeak * 2 * M_PI * 441.0 / kRate));
    stereo.device->Play(sine, 0, NC, NC, NC, true);
    Samples mix = stereo.Render(0.1128); // a quarter of a cycle past whole ones: at the peak
    stereo.device->Play(sine, 0, NC, NC, NC, true);
    Samples more = stereo.Render(0.1);
    mix.insert(mix.end(), more.begin(), more.end());
    stereo.device->Stop(sine);
    more = stereo.Render(0.05);
    mix.insert(mix.end(), more.begin(), more.end());
    Samples restartLeft;
    for (size_t i = 0; i < mix.size(); i += 2)
        restartLeft.push_back(mix[i]);
    EXPECT_LE(LargestStep(restartLeft, 0, restartLeft.size()), slope * 2);
    EXPECT_LT(Rms(restartLeft, 0, 1, restartLeft.size() - Frame(0.03)), 1.0);
    // The restarted voice plays from its start at full level.
    EXPECT_NEAR(Rms(restartLeft, 0, 1, Frame(0.1128) + Frame(0.02), Frame(0.07)), kSineRms, kSineRms * 0.02);
}

TEST_F(LoopbackDevice, SoundsLoadedBeforeActivationPlayAndSurviveDeactivation)
{
    LoopbackRig late(kRate, 1, LoopbackRig::Start::Inactive);
    SoundEntry* sound = late.device->NewSound();
    ASSERT_EQ(SOUND_OK, late.device->Load(sound, SineWav(folder, "late.wav", kRate, 1, 1.0), 2));
    EXPECT_TRUE(late.device->IsLoaded(sound));
    late.device->Play(sound, 0, NC, NC, NC, false);
    EXPECT_FALSE(late.device->IsPlaying(sound));

    for (int round = 0; round < 2; ++round) {
        late.device->SetActive(true);
        ASSERT_TRUE(late.device->IsActive());
        late.device->Play(sound, 0, NC, NC, NC, false);
        EXPECT_TRUE(late.device->IsPlaying(sound));
        EXPECT_NEAR(Rms(late.Render(0.2), 0, 1, Frame(0.05)), kSineRms, kSineRms * 0.02) << "round " << round;
        late.device->SetActive(false);
        EXPECT_FALSE(late.device->IsActive());
        EXPECT_TRUE(late.device->IsLoaded(sound));
        EXPECT_FALSE(late.device->IsPlaying(sound));
    }
}

TEST_F(LoopbackDevice, NoActivationWithoutAWindow)
{
    auto device = CDirectSoundDevice::CreateLoopback(rig.format);
    device->SetActive(true);
    EXPECT_FALSE(device->IsActive());
    Samples mix(100, 7);
    EXPECT_FALSE(device->RenderSamples(mix.data(), 100));
    EXPECT_EQ(Samples(100, 0), mix);
}

TEST_F(LoopbackDevice, FailedLoadsEmptyTheEntryButAMissingResourceDoesNot)
{
    SoundEntry* sound = LoadSine(0.2);
    const std::string wav = SineWav(folder, "resource.wav", kRate, 1, 0.2);
    const audiotest::Bytes bytes = audiotest::ReadFile(wav);
    const ResourceEntry entries[] = {{"SHOT", "WAVE", bytes.data(), bytes.size()}};
    const ResourceTable table{entries, 1};

    EXPECT_EQ(SOUND_NO_RESOURCE, device().LoadResource(sound, &table, "MISSING", 1));
    EXPECT_TRUE(device().IsLoaded(sound));
    EXPECT_EQ(SOUND_OPEN_FAILED, device().Load(sound, folder.File("missing.wav"), 1));
    EXPECT_FALSE(device().IsLoaded(sound));
    EXPECT_EQ(0, device().GetSampleRate(sound));

    EXPECT_EQ(SOUND_OK, device().LoadResource(sound, &table, "shot", 2));
    device().Play(sound, 0, NC, NC, NC, false);
    EXPECT_GT(Rms(rig.Render(0.1)), kSineRms / 2);

    EXPECT_EQ(SOUND_NO_ENTRY, device().Load(nullptr, wav, 1));
    EXPECT_EQ(SOUND_NO_ENTRY, device().LoadBlock(sound, nullptr, 1));
    // A block handed over goes even when there is no entry to take it.
    EXPECT_EQ(SOUND_NO_ENTRY, device().LoadBlock(nullptr, CMemoryBlock::Allocate(16), 1,
                                                 SoundLoadOptions{.flags = SOUND_LOAD_OWN_BLOCK}));
}

TEST_F(LoopbackDevice, SoundFilesAreMappedReadOnly)
{
    // A game folder nobody may write must still sound: the device never
    // asks for write access to a sound file.
    const std::string path = SineWav(folder, "readonly.wav", kRate, 1, 0.2);
    SoundEntry* sound = device().NewSound();
    ASSERT_EQ(SOUND_OK, device().Load(sound, path, 1, SoundLoadOptions{.streamed = true}));
    std::ifstream maps("/proc/self/maps");
    std::string line;
    int mappings = 0;
    while (std::getline(maps, line))
        if (line.size() > path.size() && line.compare(line.size() - path.size(), path.size(), path) == 0) {
            ++mappings;
            EXPECT_EQ('-', line[line.find(' ') + 2]) << line;
        }
    EXPECT_EQ(1, mappings);
}

TEST_F(LoopbackDevice, FormatQueriesDescribeThePlaybackFormat)
{
    SoundEntry* sound = device().NewSound();
    const std::string stereo = SineWav(folder, "stereo.wav", kRate, 2, 0.5);
    ASSERT_EQ(SOUND_OK, device().Load(sound, stereo, 1, SoundLoadOptions{.flags = SOUND_LOAD_FORMAT_FILE}));
    EXPECT_EQ(int(kRate), device().GetSampleRate(sound));
    EXPECT_EQ(16, device().GetBitsPerSample(sound));
    EXPECT_EQ(2, device().GetChannels(sound));
    EXPECT_EQ(11025u, device().GetFrameCount(sound));
    EXPECT_EQ(4, device().GetFrameSize(sound));
    EXPECT_EQ(44100u, device().GetByteLength(sound));

    // The device's primary format, converted once when the buffer is built.
    const WaveFormat primary = MakePcmFormat(11025, 8, 1);
    device().SetWindowAndFormat(this, &primary);
    ASSERT_EQ(SOUND_OK, device().Load(sound, stereo, 1, SoundLoadOptions{.flags = SOUND_LOAD_FORMAT_PRIMARY}));
    EXPECT_EQ(11025, device().GetSampleRate(sound));
    EXPECT_EQ(1, device().GetFrameSize(sound));
    device().Play(sound, 0, NC, NC, NC, false);
    const Samples mix = rig.Render(0.4);
    EXPECT_NEAR(CrossingFrequency(mix, kRate), 441.0, 3.0);
    EXPECT_NEAR(Rms(mix, 0, 1, Frame(0.05), Frame(0.3)), kSineRms, kSineRms * 0.05);
}

TEST_F(LoopbackDevice, ASoundTheLibraryCannotTakeStaysLoadedAndSilent)
{
    // 24-bit samples kept in the file's own format have no buffer format.
    audiotest::Bytes data(3 * 2205, 0x10);
    const std::string path = folder.File("deep.wav");
    audiotest::WriteFile(path, audiotest::SimpleWav(1, kRate, 24, data));
    SoundEntry* sound = device().NewSound();
    ASSERT_EQ(SOUND_OK, device().Load(sound, path, 1));
    EXPECT_TRUE(device().IsLoaded(sound));
    device().Play(sound, 0, NC, NC, NC, false);
    EXPECT_FALSE(device().IsPlaying(sound));
    EXPECT_EQ(0, device().GetVolume(sound));
}

TEST_F(LoopbackDevice, AStreamedSoundPlaysThroughItsEndWithoutAGap)
{
    SoundEntry* sound = LoadSine(2.5, 3, 441.0, true);
    device().Play(sound, 0, NC, NC, NC, false);
    const Samples mix = rig.RenderServiced(3.0);
    // The steepest step of this sine is 8000 x 2 pi x 441 / 22050, about
    // 1005; a seam between chunks that dropped or repeated data jumps further.
    EXPECT_LE(LargestStep(mix, Frame(0.01), Frame(2.49)), 1010);
    ExpectSteadyTone(mix, 0.05, 2.45);
    EXPECT_LT(LevelBetween(mix, 2.55, 3.0), 5.0);
    EXPECT_FALSE(device().IsPlaying(sound));
}

TEST_F(LoopbackDevice, AStreamThatRanDryGoesOnAtTheNextRefill)
{
    SoundEntry* sound = LoadSine(3.0, 1, 441.0, true);
    device().Play(sound, 0, NC, NC, NC, false);
    // One second is queued; without a refill the stream falls silent after it.
    const Samples dry = rig.Render(1.5);
    EXPECT_GT(LevelBetween(dry, 0.05, 0.95), kSineRms * 0.97);
    EXPECT_LT(LevelBetween(dry, 1.05, 1.5), 5.0);
    EXPECT_TRUE(device().IsPlaying(sound));
    const Samples resumed = rig.RenderServiced(2.5);
    ExpectSteadyTone(resumed, 0.05, 1.95);
    EXPECT_LT(LevelBetween(resumed, 2.05, 2.5), 5.0);
    EXPECT_FALSE(device().IsPlaying(sound));
}

TEST_F(LoopbackDevice, ALoopingStreamGoesOnUntilStopped)
{
    SoundEntry* sound = LoadSine(0.3, 1, 441.0, true);
    device().Play(sound, 0, NC, NC, NC, true);
    const Samples mix = rig.RenderServiced(2.0);
    ExpectSteadyTone(mix, 0.05, 1.95);
    EXPECT_TRUE(device().IsPlaying(sound));
    device().Stop(sound);
    EXPECT_FALSE(device().IsPlaying(sound));
    EXPECT_LT(Rms(rig.RenderServiced(0.3), 0, 1, Frame(0.05)), 5.0);

    // Started again part-way in: the stream is read from there.
    device().Play(sound, int(Frame(0.2) * 2), NC, NC, NC, false);
    const Samples tail = rig.RenderServiced(0.3);
    EXPECT_GT(Rms(tail, 0, 1, 0, Frame(0.09)), kSineRms * 0.9);
    EXPECT_LT(Rms(tail, 0, 1, Frame(0.12)), 5.0);
}

TEST_F(LoopbackDevice, TheSameCallsRenderTheSameSamples)
{
    auto run = [this] {
        LoopbackRig once(kRate, 2);
        SoundEntry* shot = once.device->NewSound();
        SoundEntry* engine = once.device->NewSound();
        once.device->Load(shot, SineWav(folder, "shot.wav", kRate, 1, 0.3, 300), 2);
        once.device->Load(engine, SineWav(folder, "engine.wav", kRate, 1, 0.4, 120), 1,
                          SoundLoadOptions{.streamed = true});
        once.device->Play(engine, 0, -2000, -300, NC, true);
        Samples all;
        for (int pass = 0; pass < 40; ++pass) {
            if (pass % 7 == 0)
                once.device->Play(shot, 0, pass * 100 - 2000, NC, 20000 + pass * 100, false);
            once.device->SetFrequency(engine, 22050 + pass * 300);
            const Samples part = once.Render(1.0 / 30);
            all.insert(all.end(), part.begin(), part.end());
            once.device->Service();
        }
        return all;
    };
    const Samples first = run();
    EXPECT_GT(Rms(first), 1000.0);
    EXPECT_EQ(first, run());
}

// A library whose device reports itself disconnected when told to, and
// whose loopback device will not open while told so.
namespace {
LPALCGETINTEGERV g_getIntegerv = nullptr;
LPALCLOOPBACKOPENDEVICESOFT g_openLoopback = nullptr;
bool g_reportLost = false;
bool g_refuseOpen = false;

void ALC_APIENTRY GetIntegervLosing(ALCdevice* device, ALCenum what, ALCsizei size, ALCint* values)
{
    if (what == ALC_CONNECTED && g_reportLost && size >= 1) {
        *values = ALC_FALSE;
        return;
    }
    g_getIntegerv(device, what, size, values);
}

ALCdevice* ALC_APIENTRY OpenLoopbackRefusing(const ALCchar* name)
{
    return g_refuseOpen ? nullptr : g_openLoopback(name);
}
} // namespace

TEST_F(LoopbackDevice, ALostDeviceIsReopenedWithItsSounds)
{
    std::shared_ptr<COpenAlLibrary> library = COpenAlLibrary::Load();
    ASSERT_TRUE(library);
    g_getIntegerv = library->fn.alcGetIntegerv;
    g_openLoopback = library->fn.alcLoopbackOpenDeviceSOFT;
    library->fn.alcGetIntegerv = GetIntegervLosing;
    library->fn.alcLoopbackOpenDeviceSOFT = OpenLoopbackRefusing;
    g_reportLost = false;
    g_refuseOpen = false;

    CDirectSoundDevice lossy(library, &rig.format);
    int window = 0;
    lossy.SetWindowAndFormat(&window, nullptr);
    lossy.SetActive(true);
    SoundEntry* sound = lossy.NewSound();
    ASSERT_EQ(SOUND_OK, lossy.Load(sound, SineWav(folder, "lost.wav", kRate, 1, 1.0), 1));
    Samples mix(Frame(0.2));

    // Lost, and found again by the next start.
    g_reportLost = true;
    lossy.Play(sound, 0, NC, NC, NC, false);
    g_reportLost = false;
    ASSERT_TRUE(lossy.RenderSamples(mix.data(), uint32_t(mix.size())));
    EXPECT_NEAR(Rms(mix, 0, 1, Frame(0.05)), kSineRms, kSineRms * 0.02);

    // Lost while the output cannot be reopened: silent but active, then
    // back after the service has waited its turn.
    g_reportLost = true;
    g_refuseOpen = true;
    lossy.Service();
    g_reportLost = false;
    EXPECT_TRUE(lossy.IsActive());
    EXPECT_FALSE(lossy.IsOutputOpen());
    lossy.Play(sound, 0, NC, NC, NC, false);
    EXPECT_FALSE(lossy.IsPlaying(sound));
    g_refuseOpen = false;
    for (int i = 0; i < 40 && !lossy.IsOutputOpen(); ++i)
        lossy.Service();
    ASSERT_TRUE(lossy.IsOutputOpen());
    lossy.Play(sound, 0, NC, NC, NC, false);
    ASSERT_TRUE(lossy.RenderSamples(mix.data(), uint32_t(mix.size())));
    EXPECT_NEAR(Rms(mix, 0, 1, Frame(0.05)), kSineRms, kSineRms * 0.02);
}

TEST(SoundCardDevice, ListsSelectsAndOpensTheNullOutput)
{
    ASSERT_TRUE(kNullDriver);
    CDirectSoundDevice device;
    ASSERT_TRUE(device.HasLibrary());
    ASSERT_GE(device.GetDeviceCount(), 1);
    EXPECT_FALSE(device.GetDeviceName(0).empty());
    EXPECT_EQ("", device.GetDeviceName(device.GetDeviceCount()));
    EXPECT_EQ("", device.GetDeviceName(-1));

    EXPECT_EQ(-1, device.GetSelectedDevice());
    device.SelectDevice(device.GetDeviceCount());
    EXPECT_EQ(-1, device.GetSelectedDevice());
    device.SelectDevice(0);
    EXPECT_EQ(0, device.GetSelectedDevice());

    int window = 0;
    device.SetWindowAndFormat(&window, nullptr);
    device.SetActive(true);
    EXPECT_TRUE(device.IsActive());
    EXPECT_EQ(0x200000FFu, device.GetCapsMask());
    device.SetActive(false);
    device.SelectDevice(-1);
    EXPECT_EQ(-1, device.GetSelectedDevice());
    device.SetActive(true);
    EXPECT_TRUE(device.IsActive());
}

TEST(SilentDevice, EveryCallReturnsWhenTheLibraryIsMissing)
{
    TempFolder folder;
    ::setenv("VELDRA_OPENAL_LIBRARY", "libveldra-no-such-audio.so.1", 1);
    CDirectSoundDevice device;
    auto loopback = CDirectSoundDevice::CreateLoopback(MakePcmFormat(kRate, 8, 1));
    ::unsetenv("VELDRA_OPENAL_LIBRARY");
    EXPECT_FALSE(device.HasLibrary());
    EXPECT_FALSE(loopback->HasLibrary());

    int window = 0;
    device.SetWindowAndFormat(&window, nullptr);
    device.SetActive(true);
    EXPECT_FALSE(device.IsActive());
    EXPECT_EQ(0, device.GetDeviceCount());
    EXPECT_EQ(0u, device.GetCapsMask());

    // Files still open; nothing plays.
    SoundEntry* sound = device.NewSound();
    EXPECT_EQ(SOUND_OK, device.Load(sound, SineWav(folder, "quiet.wav", kRate, 1, 0.1), 2));
    EXPECT_TRUE(device.IsLoaded(sound));
    EXPECT_EQ(int(kRate), device.GetSampleRate(sound));
    device.Play(sound, 0, NC, NC, NC, true);
    device.SetVolume(sound, -600);
    device.Service();
    EXPECT_FALSE(device.IsPlaying(sound));
    EXPECT_EQ(0, device.GetVolume(sound));
    EXPECT_EQ(0u, device.GetPosition(sound));
    device.StopAll();
    EXPECT_EQ(SOUND_OPEN_FAILED, device.Load(sound, folder.File("none.wav"), 1));
    EXPECT_FALSE(device.IsLoaded(sound));
    device.DeleteSound(sound);

    // Unsigned 8-bit silence, the recording keeps its length.
    std::vector<uint8_t> out(64, 0);
    EXPECT_FALSE(loopback->RenderSamples(out.data(), 64));
    EXPECT_EQ(std::vector<uint8_t>(64, 0x80), out);
}
