// "video\al_intro.avi": the intro the game plays when it starts, about ten
// seconds of a flight over the savannah with the title fading in, over the
// savannah's sounds and a short theme.

#include "gamedata/DataFiles.h"
#include "generators/Generators.h"
#include "imaging/PaletteEntry.h"
#include "palette/CPaletteBuilder.h"
#include "sink/CAssetSink.h"
#include "sound/SoundCatalogue.h"
#include "video/VideoEncoder.h"
#include "video/VideoScene.h"

#include <algorithm>
#include <map>
#include <utility>
#include <vector>

namespace {

constexpr const char* kIntroName = kIntroVideo;
constexpr int kWidth = 640, kHeight = 480, kFramesPerSecond = 20, kSeconds = 10;
// Fine enough to keep the grass from smearing, well under the size budget.
constexpr int kQuantiser = 3;
// The soundtrack's loudest sample, as a share of full scale: below the
// effects, which peak near full scale.
constexpr double kSoundtrackPeak = 0.6;
// The intro's palette weighs every second frame, every second pixel of it
// each way: plenty for its colours, a quarter of the work.
constexpr int kPaletteFrameStep = 2, kPalettePixelStep = 2;
// Rounds of reweighing after the first palette (see IntroPalette).
constexpr int kPaletteRounds = 2;

// The intro's own 8-bit palette: black at entry 0, as in every palette of
// the game, the seven other colours one high-colour step from black (the
// intro fades in from black, and the decoded video's faint noise there
// lands on exactly these), and 248 colours reduced from the frames. A palette fitted to all
// frames at once serves the long sunset best and the short noon at the start
// worst; every frame must show well, so after each round the frames are
// weighed again by how far the palette falls short on them, and the palette
// is made once more.
class IntroPalette {
public:
    // Black first; a step is 8 of 255 in the displayable colours.
    inline static const std::vector<uint32_t> kNearBlack = {0x000000, 0x080000, 0x000800, 0x000008,
                                                            0x080800, 0x080008, 0x000808, 0x080808};

    void Weigh(const RgbaImage& frame)
    {
        // Counted by colour (to 5 bits a channel, the reduction's own
        // grain), so that measuring a frame costs a search a colour.
        std::map<uint32_t, double> counts;
        for (int y = 0; y < frame.height; y += kPalettePixelStep)
            for (int x = 0; x < frame.width; x += kPalettePixelStep)
                counts[(frame.Get(x, y) & 0xF8F8F8) | 0x040404] += 1.0;
        m_frames.emplace_back(counts.begin(), counts.end());
    }

    void Write(CAssetSink& sink)
    {
        std::vector<double> weights(m_frames.size(), 1.0);
        std::vector<uint32_t> colours = Build(weights, nullptr);
        for (int round = 0; round < kPaletteRounds; ++round)
            colours = Build(weights, &weights);
        std::vector<uint32_t> all = kNearBlack;
        all.insert(all.end(), colours.begin(), colours.end());
        PaletteEntry palette[256] = {};
        for (size_t i = 0; i < all.size() && i < 256; ++i)
            palette[i] = {uint8_t(all[i] >> 16), uint8_t(all[i] >> 8), uint8_t(all[i]), 0};
        std::vector<uint8_t> indices(256);
        for (int i = 0; i < 256; ++i)
            indices[size_t(i)] = uint8_t(i);
        sink.WriteIndexed(kIntroPalette, 16, 16, indices, palette, PictureStorage::Plain8);
    }

private:
    // The free colours of a palette made with each frame weighed as given;
    // with `reweigh`, each frame's weight is then multiplied by its mean
    // squared error against the mean of all frames' errors.
    std::vector<uint32_t> Build(const std::vector<double>& weights, std::vector<double>* reweigh) const
    {
        CPaletteBuilder builder;
        const int domain = builder.AddDomain();
        builder.AddFixedBank(kNearBlack, {domain});
        const int bank = builder.AddFreeBank(256 - int(kNearBlack.size()), domain, {domain});
        for (size_t f = 0; f < m_frames.size(); ++f)
            for (const auto& [rgb, count] : m_frames[f])
                builder.Add(domain, rgb, weights[f] * count);
        builder.Build();
        if (reweigh) {
            std::vector<double> errors(m_frames.size(), 0.0);
            double total = 0;
            for (size_t f = 0; f < m_frames.size(); ++f) {
                double pixels = 0;
                for (const auto& [rgb, count] : m_frames[f]) {
                    errors[f] += builder.SquaredError(domain, rgb) * count;
                    pixels += count;
                }
                errors[f] /= std::max(pixels, 1.0);
                total += errors[f];
            }
            const double mean = total / double(std::max<size_t>(m_frames.size(), 1));
            if (mean > 0)
                for (size_t f = 0; f < m_frames.size(); ++f)
                    (*reweigh)[f] *= errors[f] / mean;
        }
        return builder.BankColours(bank);
    }

    // Per weighed frame, its colours and how many pixels have each.
    std::vector<std::vector<std::pair<uint32_t, double>>> m_frames;
};

} // namespace

void GenerateVideo(CAssetSink& sink)
{
    if (!sink.Wants(kIntroName) && !sink.Wants(kIntroPalette))
        return;
    VideoScene scene(kWidth, kHeight);
    if (!scene.HasTitle())
        sink.Progress("intro video: the title font is missing; the intro has no title");
    VideoEncoder encoder;
    std::vector<uint8_t> file;
    bool ok = encoder.Open(kWidth, kHeight, kFramesPerSecond, kQuantiser,
                           ToPcm16(MakeIntroSoundtrack(kSeconds), kSoundtrackPeak), kSampleRate);
    RgbaImage frame;
    IntroPalette palette;
    for (int i = 0; ok && i < kSeconds * kFramesPerSecond; ++i) {
        scene.Render(double(i) / kFramesPerSecond, frame);
        if (i % kPaletteFrameStep == 0)
            palette.Weigh(frame);
        ok = encoder.AddFrame(frame);
    }
    if (ok)
        ok = encoder.Finish(file);
    if (!ok) {
        sink.Fail("cannot encode the intro video: " + encoder.Error());
        return;
    }
    sink.WriteBytes(kIntroName, file.data(), file.size());
    palette.Write(sink);
}
