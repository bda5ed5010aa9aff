// Times the colour quantizers on a sequence of generated 24-bit frames and
// compares them with libimagequant (default speed) in one run. Each method
// builds one palette shared by all frames and remaps every frame to 8 bits
// without error diffusion: ours through the library's octree nearest-colour
// search, as the editor's reduction does (the k-means method through its
// exact nearest-colour map), the peer through its own remapping. Printed per
// method: the palette time, the remap time, their total, the peer's total
// divided by ours, and the PSNR of the remapped frames against the 24-bit
// originals, both as remapped and with an exact nearest-colour search (which
// isolates the palette's quality from the remapping).

#include "bench/BenchTimer.h"
#include "imaging/CColourBoxQuantizer.h"
#include "imaging/CColourKMeansQuantizer.h"
#include "imaging/CColourOctreeQuantizer.h"
#include "imaging/ColourReduction.h"
#include "imaging/CNearestColourMap.h"
#include "imaging/ConvertPixels.h"

#include <libimagequant.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kWidth = 256, kHeight = 256, kFrames = 16;
constexpr int kPitch = kWidth * 3;

struct Frame {
    std::vector<uint8_t> bgr;   // 24-bit, blue first
    std::vector<uint8_t> rgba;  // the same pixels for the peer
    std::vector<uint8_t> index; // remapped output
};

uint8_t Clamp(int v) { return uint8_t(v < 0 ? 0 : (v > 255 ? 255 : v)); }

// A frame of a slowly changing scene: a two-axis gradient whose hue drifts
// from frame to frame, a radially shaded disc, a few flat rectangles and a
// noisy patch.
Frame MakeFrame(int f, std::mt19937& random)
{
    Frame frame;
    frame.bgr.resize(size_t(kPitch) * kHeight);
    auto put = [&](int x, int y, int r, int g, int b) {
        uint8_t* p = &frame.bgr[size_t(y) * kPitch + size_t(x) * 3];
        p[0] = Clamp(b);
        p[1] = Clamp(g);
        p[2] = Clamp(r);
    };
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            put(x, y, x + f * 4, y, (x + y) / 2 + 64 - f * 3);
    const int cx = 80 + f * 6, cy = 150, radius = 60;
    for (int y = cy - radius; y < cy + radius; ++y)
        for (int x = cx - radius; x < cx + radius; ++x) {
            const int d2 = (x - cx) * (x - cx) + (y - cy) * (y - cy);
            if (x < 0 || y < 0 || x >= kWidth || y >= kHeight || d2 >= radius * radius)
                continue;
            const int shade = 255 - int(std::sqrt(double(d2)) * 3.5);
            put(x, y, shade, shade * 3 / 4, shade / 3 + 20);
        }
    std::uniform_int_distribution<int> pos(0, 200), size(12, 50), channel(0, 255), noise(-24, 24);
    for (int i = 0; i < 6; ++i) {
        const int x0 = pos(random), y0 = pos(random), w = size(random), h = size(random);
        const int r = channel(random), g = channel(random), b = channel(random);
        for (int y = y0; y < y0 + h && y < kHeight; ++y)
            for (int x = x0; x < x0 + w && x < kWidth; ++x)
                put(x, y, r, g, b);
    }
    for (int y = 160; y < 250; ++y)
        for (int x = 150; x < 250; ++x) {
            uint8_t* p = &frame.bgr[size_t(y) * kPitch + size_t(x) * 3];
            put(x, y, p[2] + noise(random), p[1] + noise(random), p[0] + noise(random));
        }
    frame.rgba.resize(size_t(kWidth) * kHeight * 4);
    for (size_t i = 0; i < size_t(kWidth) * kHeight; ++i) {
        frame.rgba[i * 4 + 0] = frame.bgr[i * 3 + 2];
        frame.rgba[i * 4 + 1] = frame.bgr[i * 3 + 1];
        frame.rgba[i * 4 + 2] = frame.bgr[i * 3 + 0];
        frame.rgba[i * 4 + 3] = 255;
    }
    frame.index.resize(size_t(kWidth) * kHeight);
    return frame;
}

double Psnr(double squaredError, size_t samples)
{
    const double mse = squaredError / double(samples);
    return mse <= 0 ? 99.0 : 10.0 * std::log10(255.0 * 255.0 / mse);
}

// PSNR of the frames' index pictures through `palette`.
double RemapPsnr(const std::vector<Frame>& frames, const std::array<PaletteEntry, 256>& palette)
{
    double error = 0;
    for (const Frame& frame : frames)
        for (size_t i = 0; i < frame.index.size(); ++i) {
            const PaletteEntry& e = palette[frame.index[i]];
            const int db = frame.bgr[i * 3] - e.blue, dg = frame.bgr[i * 3 + 1] - e.green,
                      dr = frame.bgr[i * 3 + 2] - e.red;
            error += double(dr * dr + dg * dg + db * db);
        }
    return Psnr(error, frames.size() * size_t(kWidth) * kHeight * 3);
}

// PSNR when every pixel takes the palette entry nearest to it (squared
// distance over the first `count` entries).
double ExactPsnr(const std::vector<Frame>& frames, const std::array<PaletteEntry, 256>& palette, int count)
{
    double error = 0;
    std::vector<int> cache(1 << 24, -1);
    for (const Frame& frame : frames)
        for (size_t i = 0; i < size_t(kWidth) * kHeight; ++i) {
            const int b = frame.bgr[i * 3], g = frame.bgr[i * 3 + 1], r = frame.bgr[i * 3 + 2];
            int& best = cache[size_t(r) << 16 | size_t(g) << 8 | size_t(b)];
            if (best < 0) {
                best = 1 << 30;
                for (int k = 0; k < count; ++k) {
                    const int dr = r - palette[k].red, dg = g - palette[k].green, db = b - palette[k].blue;
                    best = std::min(best, dr * dr + dg * dg + db * db);
                }
            }
            error += best;
        }
    return Psnr(error, frames.size() * size_t(kWidth) * kHeight * 3);
}

struct Result {
    std::string name;
    double paletteSeconds = 0, remapSeconds = 0;
    double psnr = 0, exactPsnr = 0;
    int colours = 0;
};

// One of our quantizers: palette from every frame, then the library's
// nearest-colour remap (the octree search of an unreserved palette).
Result RunOurs(const char* name, std::vector<Frame>& frames,
               const std::function<std::unique_ptr<CColourQuantizer>()>& make, uint32_t flags, bool exactRemap = false)
{
    Result result;
    result.name = name;
    std::array<PaletteEntry, 256> palette{};
    const int runs = 5;
    result.paletteSeconds = TimeBest(
        [&] {
            auto quantizer = make();
            for (Frame& frame : frames)
                quantizer->AddPixels(frame.bgr.data(), kWidth, kHeight, kPitch, nullptr, nullptr, flags);
            palette.fill(PaletteEntry{});
            result.colours = quantizer->BuildPalette(palette.data());
        },
        runs);
    result.remapSeconds = TimeBest(
        [&] {
            if (exactRemap) {
                CNearestColourMap map(palette.data(), 256);
                for (Frame& frame : frames)
                    map.MapPixels(frame.index.data(), kWidth, frame.bgr.data(), kPitch, kWidth, kHeight);
                return;
            }
            // A refused frame is left black, so the figures below show it.
            for (Frame& frame : frames)
                if (!ConvertPixels(frame.index.data(), PF_INDEX8, frame.bgr.data(), kWidth, kHeight, kWidth, kPitch,
                                   PF_RGB24, palette.data(), nullptr, 0))
                    frame.index.assign(frame.index.size(), 0);
        },
        runs);
    result.psnr = RemapPsnr(frames, palette);
    result.exactPsnr = ExactPsnr(frames, palette, result.colours);
    return result;
}

// The peer: one histogram over all frames, one palette, every frame remapped
// without dithering (our comparison runs have none either).
Result RunPeer(std::vector<Frame>& frames)
{
    Result result;
    result.name = "libimagequant (speed 4)";
    std::array<PaletteEntry, 256> palette{};
    liq_attr* attr = liq_attr_create();
    liq_set_max_colors(attr, 256);
    std::vector<liq_image*> images;
    liq_result* quantized = nullptr;
    auto release = [&] {
        if (quantized)
            liq_result_destroy(quantized);
        quantized = nullptr;
        for (liq_image* image : images)
            liq_image_destroy(image);
        images.clear();
    };
    // Both steps are timed inside each run (the first remap through a result
    // finishes its palette, so a result cannot be reused); best of five.
    result.paletteSeconds = result.remapSeconds = 1e30;
    for (int run = 0; run < 5; ++run) {
        release();
        const auto start = std::chrono::steady_clock::now();
        liq_histogram* histogram = liq_histogram_create(attr);
        for (Frame& frame : frames) {
            images.push_back(liq_image_create_rgba(attr, frame.rgba.data(), kWidth, kHeight, 0));
            liq_histogram_add_image(histogram, attr, images.back());
        }
        const liq_error error = liq_histogram_quantize(histogram, attr, &quantized);
        liq_histogram_destroy(histogram);
        if (error != LIQ_OK) {
            std::fprintf(stderr, "libimagequant failed to quantize (%d)\n", int(error));
            std::exit(1);
        }
        liq_set_dithering_level(quantized, 0);
        const auto middle = std::chrono::steady_clock::now();
        for (size_t i = 0; i < frames.size(); ++i)
            liq_write_remapped_image(quantized, images[i], frames[i].index.data(), frames[i].index.size());
        const auto end = std::chrono::steady_clock::now();
        result.paletteSeconds = std::min(result.paletteSeconds, std::chrono::duration<double>(middle - start).count());
        result.remapSeconds = std::min(result.remapSeconds, std::chrono::duration<double>(end - middle).count());
    }
    const liq_palette* colours = liq_get_palette(quantized);
    result.colours = int(colours->count);
    for (unsigned i = 0; i < colours->count; ++i)
        palette[i] = {colours->entries[i].r, colours->entries[i].g, colours->entries[i].b, 0};
    result.psnr = RemapPsnr(frames, palette);
    result.exactPsnr = ExactPsnr(frames, palette, result.colours);
    release();
    liq_attr_destroy(attr);
    return result;
}

} // namespace

int main(int, char** argv)
{
    // Our quantizers run on one thread; so does the peer unless the caller
    // asks otherwise. Its thread pool reads the variable when it loads, so
    // the process starts again with it set.
    if (!std::getenv("OMP_NUM_THREADS")) {
        setenv("OMP_NUM_THREADS", "1", 1);
        execv("/proc/self/exe", argv);
    }
    std::mt19937 random(7);
    std::vector<Frame> frames;
    for (int f = 0; f < kFrames; ++f)
        frames.push_back(MakeFrame(f, random));
    std::printf("%d frames of %d x %d, 24-bit, reduced to one palette of 256 colours, no error diffusion\n"
                "peer threads: OMP_NUM_THREADS=%s; times are the best of 5 runs\n\n",
                kFrames, kWidth, kHeight, std::getenv("OMP_NUM_THREADS") ? std::getenv("OMP_NUM_THREADS") : "?");

    std::vector<Result> results;
    results.push_back(RunPeer(frames));
    results.push_back(RunOurs("octree", frames, [] { return std::make_unique<CColourOctreeQuantizer>(256); }, 0));
    results.push_back(RunOurs("octree, sampled", frames,
                              [] { return std::make_unique<CColourOctreeQuantizer>(256); }, QUANTIZE_SAMPLE));
    results.push_back(RunOurs("box, 5 bits", frames, [] { return std::make_unique<CColourBoxQuantizer>(256, 5); }, 0));
    results.push_back(RunOurs("box, 6 bits", frames, [] { return std::make_unique<CColourBoxQuantizer>(256, 6); }, 0));
    results.push_back(RunOurs("k-means (box 6 + passes)", frames,
                              [] { return std::make_unique<CColourKMeansQuantizer>(256); }, 0, true));

    const Result& peer = results.front();
    const double peerTotal = peer.paletteSeconds + peer.remapSeconds;
    std::printf("%-26s %8s %8s %8s %12s %8s %8s %7s %s\n", "method", "palette", "remap", "total", "peer/ours",
                "PSNR", "exact", "dPSNR", "colours");
    for (const Result& r : results) {
        const double total = r.paletteSeconds + r.remapSeconds;
        std::printf("%-26s %6.1fms %6.1fms %6.1fms %11.2fx %6.2fdB %6.2fdB %+6.2f %d\n", r.name.c_str(),
                    r.paletteSeconds * 1e3, r.remapSeconds * 1e3, total * 1e3, peerTotal / total, r.psnr,
                    r.exactPsnr, r.psnr - peer.psnr, r.colours);
    }
    auto speedup = [&](const Result& r) { return peerTotal / (r.paletteSeconds + r.remapSeconds); };
    std::printf("\ngoals: sampled octree %.1fx faster than the peer (goal 5x), box 6 bits %.1fx (goal 3x)\n",
                speedup(results[2]), speedup(results[4]));
    return 0;
}
