// The generated sounds, intro video and help page: each file is there, is
// what the game's players expect (22050 Hz 16-bit mono PCM, a decodable AVI
// of about ten seconds).

#include "common/DataPath.h"
#include "gamedata/DataFiles.h"
#include "gamedata/HuntTables.h"
#include "generators/Generators.h"
#include "media/CAudioFile.h"
#include "sink/CAssetSink.h"
#include "sound/SynthCurve.h"
#include "sound/SynthFilter.h"
#include "sound/SynthOscillator.h"
#include "sound/SynthSignal.h"
#include "video/VideoEncoder.h"
#include "video/VideoSilhouette.h"
#include "video/VideoTitle.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// Every sound the game loads, as paths under the data folder.
std::vector<std::string> SoundFiles()
{
    std::vector<std::string> names;
    for (const std::string& name : GameDataFiles())
        if (name.rfind("sounds\\", 0) == 0)
            names.push_back(ToNativeSeparators(name));
    return names;
}

const std::string kEngine = ToNativeSeparators(kJeepVoices[VOICE_ENGINE]);

std::vector<uint8_t> ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

uint32_t Le32(const uint8_t* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
uint16_t Le16(const uint8_t* p)
{
    return uint16_t(p[0] | p[1] << 8);
}

struct Wave {
    bool valid = false;
    uint16_t tag = 0, channels = 0, bits = 0;
    uint32_t rate = 0;
    std::vector<int16_t> samples;
};

// A plain reading of the RIFF chunks, checking every size against the file.
Wave ParseWave(const std::vector<uint8_t>& bytes)
{
    Wave wave;
    if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) || std::memcmp(&bytes[8], "WAVE", 4) ||
        Le32(&bytes[4]) != bytes.size() - 8)
        return wave;
    bool haveFormat = false, haveData = false;
    for (size_t at = 12; at + 8 <= bytes.size();) {
        const uint32_t size = Le32(&bytes[at + 4]);
        if (size > bytes.size() - at - 8)
            return wave;
        const uint8_t* body = &bytes[at + 8];
        if (!std::memcmp(&bytes[at], "fmt ", 4) && size >= 16) {
            wave.tag = Le16(body);
            wave.channels = Le16(body + 2);
            wave.rate = Le32(body + 4);
            wave.bits = Le16(body + 14);
            haveFormat = Le32(body + 8) == wave.rate * wave.channels * wave.bits / 8 &&
                         Le16(body + 12) == wave.channels * wave.bits / 8;
        } else if (!std::memcmp(&bytes[at], "data", 4)) {
            for (uint32_t i = 0; i + 1 < size; i += 2)
                wave.samples.push_back(int16_t(Le16(body + i)));
            haveData = true;
        }
        at += 8 + size + (size & 1);
    }
    wave.valid = haveFormat && haveData;
    return wave;
}

int Peak(const std::vector<int16_t>& samples)
{
    int peak = 0;
    for (int16_t s : samples)
        peak = std::max(peak, std::abs(int(s)));
    return peak;
}

fs::path MakeTempFolder(const char* what)
{
    static int counter = 0;
    const fs::path path = fs::temp_directory_path() /
                          ("artmedia-" + std::string(what) + "-" + std::to_string(::getpid()) + "-" +
                           std::to_string(counter++));
    fs::remove_all(path);
    fs::create_directories(path);
    return path;
}

void GenerateMedia(const fs::path& folder, const std::string& only = "")
{
    CAssetSink sink(folder.string(), only);
    GenerateSounds(sink);
    GenerateVideo(sink);
    GenerateHelpPage(sink);
    EXPECT_EQ(sink.Failures(), 0);
}

// Every regular file under `folder`, by its path relative to it.
std::map<std::string, std::vector<uint8_t>> FilesUnder(const fs::path& folder)
{
    std::map<std::string, std::vector<uint8_t>> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file())
            files[fs::relative(entry.path(), folder).generic_string()] = ReadFile(entry.path());
    return files;
}

struct DecodedVideo {
    bool opened = false;
    int width = 0, height = 0, frames = 0;
    double framesPerSecond = 0;
    // The mean luma of rows [top, bottom) of two chosen frames.
    double earlyBand = 0, lastBand = 0;
    // The soundtrack, if there is one: 16-bit samples, interleaved.
    int soundRate = 0, soundChannels = 0;
    std::vector<int16_t> sound;

    // RMS of the soundtrack over [from, to) seconds.
    double SoundLevel(double from, double to) const
    {
        const size_t a = size_t(from * soundRate) * size_t(soundChannels);
        const size_t b = std::min(sound.size(), size_t(to * soundRate) * size_t(soundChannels));
        double sum = 0;
        for (size_t i = a; i < b; ++i)
            sum += double(sound[i]) * sound[i];
        return b > a ? std::sqrt(sum / double(b - a)) : 0.0;
    }
};

// Feeds every packet of `stream` to `codec` and then flushes it; `receive`
// takes the frames as they come out.
template <class Receive>
void DecodeStream(AVFormatContext* format, int stream, AVCodecContext* codec, AVPacket* packet, Receive receive)
{
    while (av_read_frame(format, packet) >= 0) {
        if (packet->stream_index == stream && avcodec_send_packet(codec, packet) >= 0)
            receive();
        av_packet_unref(packet);
    }
    avcodec_send_packet(codec, nullptr);
    receive();
}

// Appends the 16-bit samples of the video's audio stream, if it has one.
void DecodeSound(AVFormatContext* format, DecodedVideo& video)
{
    av_seek_frame(format, -1, 0, AVSEEK_FLAG_BACKWARD);
    const int stream = av_find_best_stream(format, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    const AVCodec* decoder = stream >= 0 ? avcodec_find_decoder(format->streams[stream]->codecpar->codec_id) : nullptr;
    AVCodecContext* codec = decoder ? avcodec_alloc_context3(decoder) : nullptr;
    AVPacket* packet = av_packet_alloc();
    AVFrame* frame = av_frame_alloc();
    if (codec && packet && frame && avcodec_parameters_to_context(codec, format->streams[stream]->codecpar) >= 0 &&
        avcodec_open2(codec, decoder, nullptr) >= 0 && codec->sample_fmt == AV_SAMPLE_FMT_S16) {
        video.soundRate = codec->sample_rate;
        video.soundChannels = codec->ch_layout.nb_channels;
        auto receive = [&]() {
            while (avcodec_receive_frame(codec, frame) == 0) {
                const auto* samples = reinterpret_cast<const int16_t*>(frame->data[0]);
                video.sound.insert(video.sound.end(), samples,
                                   samples + size_t(frame->nb_samples) * size_t(video.soundChannels));
            }
        };
        DecodeStream(format, stream, codec, packet, receive);
    }
    av_frame_free(&frame);
    av_packet_free(&packet);
    avcodec_free_context(&codec);
}

DecodedVideo DecodeVideo(const fs::path& path, int bandTop, int bandBottom, int earlyFrame)
{
    DecodedVideo video;
    AVFormatContext* format = nullptr;
    if (avformat_open_input(&format, path.c_str(), nullptr, nullptr) < 0)
        return video;
    AVCodecContext* codec = nullptr;
    AVPacket* packet = av_packet_alloc();
    AVFrame* frame = av_frame_alloc();
    const int stream = avformat_find_stream_info(format, nullptr) >= 0
                           ? av_find_best_stream(format, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0)
                           : -1;
    const AVCodec* decoder = stream >= 0 ? avcodec_find_decoder(format->streams[stream]->codecpar->codec_id) : nullptr;
    if (decoder && (codec = avcodec_alloc_context3(decoder)) &&
        avcodec_parameters_to_context(codec, format->streams[stream]->codecpar) >= 0 &&
        avcodec_open2(codec, decoder, nullptr) >= 0 && packet && frame) {
        video.opened = true;
        const AVRational rate = format->streams[stream]->avg_frame_rate;
        video.framesPerSecond = rate.den ? av_q2d(rate) : 0.0;
        auto bandLuma = [&]() {
            double sum = 0;
            for (int y = bandTop; y < bandBottom; ++y)
                for (int x = 0; x < frame->width; ++x)
                    sum += frame->data[0][ptrdiff_t(y) * frame->linesize[0] + x];
            return sum / (double(bandBottom - bandTop) * frame->width);
        };
        auto receive = [&]() {
            while (avcodec_receive_frame(codec, frame) == 0) {
                video.width = frame->width;
                video.height = frame->height;
                if (frame->height >= bandBottom) {
                    if (video.frames == earlyFrame)
                        video.earlyBand = bandLuma();
                    video.lastBand = bandLuma();
                }
                ++video.frames;
            }
        };
        DecodeStream(format, stream, codec, packet, receive);
        DecodeSound(format, video);
    }
    av_frame_free(&frame);
    av_packet_free(&packet);
    avcodec_free_context(&codec);
    avformat_close_input(&format);
    return video;
}

class ArtMediaTest : public ::testing::Test {
protected:
    static Wave Sound(const std::string& name) { return ParseWave(ReadFile(s_folder / name)); }

    static const fs::path s_folder;
};

// The sounds, the video and the help page as the build generated them.
const fs::path ArtMediaTest::s_folder = VELDRA_GENERATED_DATA_DIR;

TEST_F(ArtMediaTest, EverySoundIsANormalisedWaveTheGameCanOpen)
{
    for (const std::string& name : SoundFiles()) {
        SCOPED_TRACE(name);
        const Wave wave = Sound(name);
        ASSERT_TRUE(wave.valid);
        EXPECT_EQ(wave.tag, 1);
        EXPECT_EQ(wave.channels, 1);
        EXPECT_EQ(wave.rate, 22050u);
        EXPECT_EQ(wave.bits, 16);
        // Short effects: a fifth of a second to two seconds.
        EXPECT_GE(wave.samples.size(), 22050u / 5);
        EXPECT_LE(wave.samples.size(), 2u * 22050u);
        // Made at a clear level, with headroom left: nothing clips.
        const int peak = Peak(wave.samples);
        EXPECT_GE(peak, 32767 / 8);
        EXPECT_LT(peak, 32767);

        // The game's own reader agrees on the format and the length.
        CAudioFile file;
        ASSERT_EQ(file.Open((s_folder / name).string(), AUDIO_OPEN_MEMORY | AUDIO_OPEN_READ_ONLY), AUDIO_OK);
        ASSERT_NE(file.GetFormat(), nullptr);
        EXPECT_EQ(file.GetFormat()->samplesPerSec, 22050u);
        EXPECT_EQ(file.GetFormat()->bitsPerSample, 16);
        EXPECT_EQ(file.GetFormat()->channels, 1);
        EXPECT_EQ(file.GetFrameCount(), wave.samples.size());
    }
}

// The mix's balance, by the RMS of each sound's loudest 400 ms: every shot
// between -18 and -14 dBFS (one gun no quieter than another), no warning
// louder than the quietest shot, and the engine under both.
TEST_F(ArtMediaTest, SoundsStandAtTheirLevelsInTheMix)
{
    const auto level = [](const std::string& name) {
        const Wave wave = Sound(ToNativeSeparators(name));
        EXPECT_TRUE(wave.valid) << name;
        return LoudestRmsDb(wave.samples);
    };
    double quietestShot = 0, loudestShot = -200;
    for (const WeaponDesc& weapon : kWeapons) {
        const double shot = level(weapon.shotSound);
        EXPECT_GE(shot, -18.0) << weapon.shotSound;
        EXPECT_LE(shot, -14.0) << weapon.shotSound;
        quietestShot = std::min(quietestShot, shot);
        loudestShot = std::max(loudestShot, shot);
    }
    EXPECT_LE(loudestShot - quietestShot, 1.0);
    double loudestWarning = -200;
    for (int voice : {VOICE_WRONG_ANIMAL, VOICE_OUT_OF_AREA, VOICE_TOO_FAR, VOICE_SPARE_1, VOICE_SPARE_2, VOICE_SPARE_3})
        loudestWarning = std::max(loudestWarning, level(kJeepVoices[voice]));
    EXPECT_LE(loudestWarning, quietestShot);
    const double engine = level(kJeepVoices[VOICE_ENGINE]);
    EXPECT_LT(engine, loudestWarning - 3.0);
    EXPECT_LT(engine, quietestShot - 3.0);
}

// The level measure itself: a full-scale square wave is 0 dBFS, a sine 3 dB
// under its peak, and a short burst is judged by its loudest stretch only.
TEST(ArtMediaSignal, LevelsAreTheRmsOfTheLoudestStretchAndLimitingReachesThem)
{
    std::vector<int16_t> square(22050);
    for (size_t i = 0; i < square.size(); ++i)
        square[i] = (i / 50) % 2 ? 32767 : -32767;
    EXPECT_NEAR(LoudestRmsDb(square), 0.0, 0.01);
    std::vector<int16_t> sine(44100, 0);
    for (size_t i = 22050; i < sine.size(); ++i)
        sine[i] = int16_t(std::lround(16384 * std::sin(2 * M_PI * 441.0 * double(i) / 22050)));
    EXPECT_NEAR(LoudestRmsDb(sine), 20 * std::log10(0.5 / std::sqrt(2.0)), 0.05);

    // A sharp shot: a crack of full scale dying away within 30 ms. Brought
    // to -16 dBFS its peaks are rounded off below the ceiling.
    Signal shot(22050, 0.0f);
    for (size_t i = 0; i < shot.size(); ++i)
        shot[i] = float(std::sin(double(i) * 0.7) * std::exp(-double(i) / 300.0));
    const std::vector<int16_t> pcm = ToPcm16AtLevel(shot, -16.0);
    EXPECT_NEAR(LoudestRmsDb(pcm), -16.0, 0.1);
    EXPECT_LE(Peak(pcm), int(0.98 * 32767) + 1);
    EXPECT_EQ(Peak(ToPcm16AtLevel(Signal(100, 0.0f), -16.0)), 0);
}

TEST_F(ArtMediaTest, SoundsStartAndEndQuietlyAndDifferFromEachOther)
{
    std::map<std::vector<int16_t>, std::string> seen;
    for (const std::string& name : SoundFiles()) {
        SCOPED_TRACE(name);
        const Wave wave = Sound(name);
        ASSERT_TRUE(wave.valid);
        ASSERT_FALSE(wave.samples.empty());
        // A sound that stops on a loud sample clicks; the loop is the exception.
        if (name != kEngine) {
            EXPECT_LT(std::abs(int(wave.samples.back())), 330);
            EXPECT_LT(std::abs(int(wave.samples.front())), 3300);
        }
        EXPECT_TRUE(seen.emplace(wave.samples, name).second) << "same samples as " << seen[wave.samples];
    }
}

TEST_F(ArtMediaTest, EngineLoopJoinsItsStartWithoutAJump)
{
    const Wave engine = Sound(kEngine);
    ASSERT_TRUE(engine.valid);
    ASSERT_GT(engine.samples.size(), 2u);
    const int peak = Peak(engine.samples);
    int largestStep = 0;
    for (size_t i = 1; i < engine.samples.size(); ++i)
        largestStep = std::max(largestStep, std::abs(engine.samples[i] - engine.samples[i - 1]));
    const int seam = std::abs(engine.samples.front() - engine.samples.back());
    EXPECT_LE(seam, peak / 10);
    EXPECT_LE(seam, largestStep);
    // It idles all the way through: no silent stretch inside the loop.
    const size_t quarter = engine.samples.size() / 4;
    for (int part = 0; part < 4; ++part) {
        const std::vector<int16_t> piece(engine.samples.begin() + part * quarter,
                                         engine.samples.begin() + (part + 1) * quarter);
        EXPECT_GT(Peak(piece), peak / 2) << "quarter " << part;
    }
}

TEST_F(ArtMediaTest, IntroVideoDecodesToTenSecondsWithTheTitleAtTheEnd)
{
    const fs::path path = s_folder / ToNativeSeparators(kIntroVideo);
    ASSERT_TRUE(fs::exists(path));
    EXPECT_LT(fs::file_size(path), 5u * 1024 * 1024);
    EXPECT_GT(fs::file_size(path), 50u * 1024);
    const std::vector<uint8_t> bytes = ReadFile(path);
    ASSERT_GE(bytes.size(), 12u);
    EXPECT_EQ(std::memcmp(bytes.data(), "RIFF", 4), 0);
    EXPECT_EQ(std::memcmp(&bytes[8], "AVI ", 4), 0);

    // The title shows in the sky at the top; early on that band is only sky.
    const DecodedVideo video = DecodeVideo(path, 60, 156, 40);
    ASSERT_TRUE(video.opened);
    EXPECT_EQ(video.width, 640);
    EXPECT_EQ(video.height, 480);
    ASSERT_GT(video.framesPerSecond, 0.0);
    const double seconds = video.frames / video.framesPerSecond;
    EXPECT_GE(seconds, 9.5);
    EXPECT_LE(seconds, 10.5);
    EXPECT_GT(video.lastBand, video.earlyBand + 10.0);
}

// Heard from the first second: the savannah, then the theme over it, and
// quiet again at the very end.
TEST_F(ArtMediaTest, IntroVideoCarriesItsSoundtrack)
{
    const DecodedVideo video = DecodeVideo(s_folder / ToNativeSeparators(kIntroVideo), 60, 156, 40);
    ASSERT_TRUE(video.opened);
    EXPECT_EQ(video.soundRate, 22050);
    ASSERT_EQ(video.soundChannels, 1);
    EXPECT_NEAR(double(video.sound.size()) / video.soundRate, 10.0, 0.01);
    const double ambience = video.SoundLevel(0.5, 1.4), theme = video.SoundLevel(1.5, 6.5),
                 chord = video.SoundLevel(7.0, 8.5), end = video.SoundLevel(9.98, 10.0);
    EXPECT_GT(ambience, 300.0);
    EXPECT_GT(theme, 2 * ambience);
    EXPECT_GT(chord, 2 * ambience);
    EXPECT_LT(end, 100.0);
    const auto loudest = std::max_element(video.sound.begin(), video.sound.end(),
                                          [](int16_t a, int16_t b) { return std::abs(a) < std::abs(b); });
    EXPECT_NEAR(std::abs(*loudest), 0.6 * 32767, 2); // below the effects
}

TEST_F(ArtMediaTest, HelpPageExplainsControlsWeaponsAndRules)
{
    const std::vector<uint8_t> bytes = ReadFile(s_folder / "Veldra.html");
    const std::string html(bytes.begin(), bytes.end());
    ASSERT_FALSE(html.empty());
    EXPECT_EQ(html.rfind("<!DOCTYPE html>", 0), 0u);
    EXPECT_NE(html.find("</html>"), std::string::npos);
    EXPECT_NE(html.find("charset=\"utf-8\""), std::string::npos);
    // The eight controls and the setup tool's default keys.
    for (const char* text : {"Up", "Down", "Left", "Right", "Fire", "Weapon", "Binoculars", "Jeep", "&uarr;", "&darr;",
                             "&larr;", "&rarr;", "Space", "Enter", "Right Shift", "Right Ctrl"})
        EXPECT_NE(html.find(text), std::string::npos) << text;
    for (const char* text : {"Assault rifle", "Crossbow", "Handgun", "Muzzle-loader", "Rifle", "Shotgun", "jail",
                             "protected", "killed", "lost", "trophy", "quarry", "wind", "Esc",
                             "Pause", "F10", "F11", "F12", "keypad", "Hunting Aids", "Game pad"})
        EXPECT_NE(html.find(text), std::string::npos) << text;
    // Self-contained: nothing is fetched from elsewhere.
    for (const char* text : {"http:", "https:", "src=", "<script", "@import", "url("})
        EXPECT_EQ(html.find(text), std::string::npos) << text;
}

TEST(ArtMediaOnly, OnlyTheNamedFileIsMade)
{
    const fs::path folder = MakeTempFolder("only");
    GenerateMedia(folder, kJeepVoices[VOICE_ENGINE]);
    const auto files = FilesUnder(folder);
    fs::remove_all(folder);
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(files.begin()->first, kEngine);
}

TEST(ArtMediaEncoder, RefusesBadSizesAndFramesWithAReason)
{
    std::vector<uint8_t> file;
    VideoEncoder odd;
    EXPECT_FALSE(odd.Open(15, 10, 20, 3));
    EXPECT_FALSE(odd.Error().empty());
    EXPECT_FALSE(odd.Open(16, 10, 20, 3, {1, 2, 3}, 1000)); // no such sound rate
    EXPECT_FALSE(odd.Error().empty());
    EXPECT_FALSE(odd.AddFrame(RgbaImage(15, 10)));
    EXPECT_FALSE(odd.Finish(file));

    VideoEncoder encoder;
    ASSERT_TRUE(encoder.Open(32, 16, 20, 3)) << encoder.Error();
    EXPECT_FALSE(encoder.AddFrame(RgbaImage(16, 16)));
    EXPECT_FALSE(encoder.Error().empty());
    // After a failure the encoder is closed and says so instead of crashing.
    EXPECT_FALSE(encoder.AddFrame(RgbaImage(32, 16)));
    EXPECT_FALSE(encoder.Finish(file));
    EXPECT_TRUE(file.empty());
}

TEST(ArtMediaEncoder, SmallClipRoundTrips)
{
    // Half a second of a ramp as its soundtrack, every sample kept.
    std::vector<int16_t> ramp(11025);
    for (size_t i = 0; i < ramp.size(); ++i)
        ramp[i] = int16_t(int(i % 2000) * 16 - 16000);
    VideoEncoder encoder;
    ASSERT_TRUE(encoder.Open(32, 16, 10, 3, ramp, 22050)) << encoder.Error();
    for (int i = 0; i < 5; ++i)
        ASSERT_TRUE(encoder.AddFrame(RgbaImage(32, 16, Rgb(40 * i, 128, 255 - 40 * i)))) << encoder.Error();
    std::vector<uint8_t> file;
    ASSERT_TRUE(encoder.Finish(file)) << encoder.Error();
    const fs::path folder = MakeTempFolder("clip");
    const fs::path path = folder / "clip.avi";
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(file.data()), std::streamsize(file.size()));
    const DecodedVideo video = DecodeVideo(path, 0, 16, 0);
    fs::remove_all(folder);
    ASSERT_TRUE(video.opened);
    EXPECT_EQ(video.frames, 5);
    EXPECT_EQ(video.width, 32);
    EXPECT_DOUBLE_EQ(video.framesPerSecond, 10.0);
    EXPECT_EQ(video.soundRate, 22050);
    EXPECT_EQ(video.soundChannels, 1);
    EXPECT_EQ(video.sound, ramp);
}

TEST(ArtMediaSignal, NormalisingReachesThePeakAndKeepsSilenceSilent)
{
    const std::vector<int16_t> pcm = ToPcm16({0.0f, 0.25f, -0.5f, 0.1f}, 0.5);
    ASSERT_EQ(pcm.size(), 4u);
    EXPECT_EQ(pcm[2], -16384); // the largest sample lands on the requested level
    EXPECT_EQ(pcm[1], 8192);
    EXPECT_EQ(pcm[0], 0);
    const std::vector<int16_t> silent = ToPcm16(Signal(10, 0.0f), 0.9);
    EXPECT_EQ(Peak(silent), 0);
    // A level above full scale is held at full scale, never wrapped.
    EXPECT_EQ(ToPcm16({-2.0f, 1.0f}, 3.0)[0], -32767);
}

// The level a filter settles to for a sine of `frequency` (peak of the last
// half second of one second).
double FilterGain(SynthFilter::Kind kind, double corner, double frequency)
{
    SynthFilter filter(kind, corner, 0.707);
    SynthOscillator tone;
    float peak = 0.0f;
    for (int i = 0; i < kSampleRate; ++i) {
        const float out = filter.Process(tone.Sine(frequency));
        if (i >= kSampleRate / 2)
            peak = std::max(peak, std::fabs(out));
    }
    return peak;
}

TEST(ArtMediaSynth, FiltersPassAndStopWhereTheySay)
{
    EXPECT_NEAR(FilterGain(SynthFilter::Kind::LowPass, 1000, 100), 1.0, 0.02);
    EXPECT_LT(FilterGain(SynthFilter::Kind::LowPass, 1000, 8000), 0.03);
    EXPECT_NEAR(FilterGain(SynthFilter::Kind::HighPass, 1000, 8000), 1.0, 0.05);
    EXPECT_LT(FilterGain(SynthFilter::Kind::HighPass, 1000, 100), 0.02);
    // A band pass has unit gain at its centre, little far from it.
    EXPECT_NEAR(FilterGain(SynthFilter::Kind::BandPass, 1000, 1000), 1.0, 0.02);
    EXPECT_LT(FilterGain(SynthFilter::Kind::BandPass, 1000, 60), 0.1);
    // Corners beyond the usable range are clamped, never unstable.
    EXPECT_LE(FilterGain(SynthFilter::Kind::LowPass, 1e9, 5000), 1.05);
}

TEST(ArtMediaSynth, OscillatorsKeepPitchAndRangeWhileSweeping)
{
    // 441 Hz for one second crosses zero upwards 441 times.
    SynthOscillator sine;
    int crossings = 0;
    float previous = sine.Sine(441.0);
    for (int i = 1; i < kSampleRate; ++i) {
        const float v = sine.Sine(441.0);
        crossings += previous < 0.0f && v >= 0.0f;
        previous = v;
    }
    EXPECT_NEAR(crossings, 441, 1);
    // A fast sweep stays within range and never jumps by more than an edge.
    SynthOscillator saw, square;
    for (int i = 0; i < kSampleRate; ++i) {
        const double f = 50.0 + 5000.0 * i / kSampleRate;
        const float a = saw.Saw(f), b = square.Square(f);
        ASSERT_LE(std::fabs(a), 1.3f) << i;
        ASSERT_LE(std::fabs(b), 1.3f) << i;
        ASSERT_GE(saw.Phase(), 0.0);
        ASSERT_LT(saw.Phase(), 1.0);
    }
}

TEST(ArtMediaSynth, CurvesHoldTheirEndsAndInterpolateBetween)
{
    const SynthCurve curve({{1.0, 10.0}, {2.0, 20.0}, {2.0, 50.0}, {4.0, 0.0}});
    EXPECT_DOUBLE_EQ(curve.At(0.0), 10.0);
    EXPECT_DOUBLE_EQ(curve.At(1.5), 15.0);
    EXPECT_DOUBLE_EQ(curve.At(2.0), 50.0); // a step: the later point wins at its time
    EXPECT_DOUBLE_EQ(curve.At(3.0), 25.0);
    EXPECT_DOUBLE_EQ(curve.At(9.0), 0.0);
    EXPECT_DOUBLE_EQ(curve.End(), 4.0);
    EXPECT_DOUBLE_EQ(SynthCurve({}).At(1.0), 0.0);
}

TEST(ArtMediaSynth, SaturatingKeepsSignAndPeakAndFadesReachSilence)
{
    Signal signal{0.0f, 0.1f, -0.4f, 0.2f, 0.4f};
    Saturate(signal, 2.5);
    EXPECT_FLOAT_EQ(signal[2], -1.0f);
    EXPECT_FLOAT_EQ(signal[4], 1.0f);
    // Quiet samples come up relative to the peak.
    EXPECT_GT(signal[1], 0.25f * signal[4]);
    EXPECT_EQ(signal[0], 0.0f);

    Signal tone(1000, 1.0f);
    FadeIn(tone, 0.01);
    FadeOut(tone, 0.01);
    EXPECT_EQ(tone.front(), 0.0f);
    EXPECT_EQ(tone.back(), 0.0f);
    EXPECT_FLOAT_EQ(tone[500], 1.0f);
    // A fade longer than the signal is cut to it.
    Signal shortOne(3, 1.0f);
    FadeOut(shortOne, 5.0);
    EXPECT_EQ(shortOne.back(), 0.0f);
}

TEST(ArtMediaVideo, TitleRendersAndAMissingFontIsReported)
{
    VideoTitle title;
    ASSERT_TRUE(title.Render(std::string(VELDRA_FONT_DIR) + "/DejaVuSerif-Bold.ttf", "VELDRA", 40, 4));
    EXPECT_GT(title.Width(), 3 * title.Height());
    int inked = 0;
    for (int y = 0; y < title.Height(); ++y)
        for (int x = 0; x < title.Width(); ++x)
            inked += title.At(x, y) > 128;
    EXPECT_GT(inked, title.Width() * title.Height() / 10);
    EXPECT_EQ(title.At(-1, 0), 0);
    EXPECT_EQ(title.At(title.Width(), 0), 0);

    VideoTitle missing;
    EXPECT_FALSE(missing.Render("/no/such/font.ttf", "VELDRA", 40, 4));
    EXPECT_EQ(missing.Width(), 0);
    EXPECT_EQ(missing.At(0, 0), 0);
}

TEST(ArtMediaVideo, SilhouettesStandOnTheirOriginAndMirror)
{
    auto draw = [](bool mirrored) {
        RgbaImage frame(200, 200, Rgb(255, 255, 255));
        VideoSilhouette::Giraffe(0.0).Draw(frame, 100, 180, 20, mirrored, Rgb(0, 0, 0));
        return frame;
    };
    const RgbaImage facingRight = draw(false), facingLeft = draw(true);
    auto inked = [](const RgbaImage& frame, int x0, int x1) {
        int count = 0;
        for (int y = 0; y < frame.height; ++y)
            for (int x = x0; x < x1; ++x)
                count += (frame.Get(x, y) & 0xFF) < 128;
        return count;
    };
    // Nothing below the ground line; the head (ahead and high) is on the facing side.
    for (int y = 182; y < 200; ++y)
        for (int x = 0; x < 200; ++x)
            ASSERT_EQ(facingRight.Get(x, y) & 0xFFFFFF, 0xFFFFFFu) << x << "," << y;
    EXPECT_GT(inked(facingRight, 100, 200), inked(facingRight, 0, 100));
    EXPECT_GT(inked(facingLeft, 0, 100), inked(facingLeft, 100, 200));
    EXPECT_NEAR(inked(facingLeft, 0, 200), inked(facingRight, 0, 200), inked(facingRight, 0, 200) / 20);
    // Drawing partly off the frame is clipped, not a fault.
    RgbaImage small(10, 10, Rgb(255, 255, 255));
    VideoSilhouette::Elephant(1.0).Draw(small, -5, 30, 40, false, Rgb(0, 0, 0));
    EXPECT_EQ(small.Get(9, 9) & 0xFFFFFF, 0u); // the elephant fills this corner
    RgbaImage blank(10, 10, Rgb(255, 255, 255));
    VideoSilhouette::Acacia(1.0).Draw(blank, 5, 5, 0.0, false, Rgb(0, 0, 0)); // no size: nothing drawn
    for (uint32_t p : blank.pixels)
        ASSERT_EQ(p & 0xFFFFFF, 0xFFFFFFu);
}

} // namespace
