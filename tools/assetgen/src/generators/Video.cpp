// "video\al_intro.avi": the intro the game plays when it starts, about ten
// seconds of a flight over the savannah with the title fading in, over the
// savannah's sounds and a short theme.

#include "gamedata/DataFiles.h"
#include "generators/Generators.h"
#include "sink/CAssetSink.h"
#include "sound/SoundCatalogue.h"
#include "video/VideoEncoder.h"
#include "video/VideoScene.h"

namespace {

constexpr const char* kIntroName = kIntroVideo;
constexpr int kWidth = 640, kHeight = 480, kFramesPerSecond = 20, kSeconds = 10;
// Fine enough to keep the grass from smearing, well under the size budget.
constexpr int kQuantiser = 3;
// The soundtrack's loudest sample, as a share of full scale: below the
// effects, which peak near full scale.
constexpr double kSoundtrackPeak = 0.6;

} // namespace

void GenerateVideo(CAssetSink& sink)
{
    if (!sink.Wants(kIntroName))
        return;
    VideoScene scene(kWidth, kHeight);
    if (!scene.HasTitle())
        sink.Progress("intro video: the title font is missing; the intro has no title");
    VideoEncoder encoder;
    std::vector<uint8_t> file;
    bool ok = encoder.Open(kWidth, kHeight, kFramesPerSecond, kQuantiser,
                           ToPcm16(MakeIntroSoundtrack(kSeconds), kSoundtrackPeak), kSampleRate);
    RgbaImage frame;
    for (int i = 0; ok && i < kSeconds * kFramesPerSecond; ++i) {
        scene.Render(double(i) / kFramesPerSecond, frame);
        ok = encoder.AddFrame(frame);
    }
    if (ok)
        ok = encoder.Finish(file);
    if (!ok) {
        sink.Fail("cannot encode the intro video: " + encoder.Error());
        return;
    }
    sink.WriteBytes(kIntroName, file.data(), file.size());
}
