// The editor's document on a sequence of the size artists bring to it: 200
// frames of 640 × 480 at 24 bits (184 MB of pixels). Each whole-document
// operation (the per-frame tools, the frame-order tools, colour reduction,
// export as a PKC sequence, opening and saving the document, the end of a
// pen stroke) is timed beside a memcpy of the document's pixels in the same
// run; printed per operation: its time, the memcpy's, their ratio, and the
// process's peak memory while it ran as a multiple of the document's plain
// pixels.
//
// Every operation starts from the same document: each is undone and the
// history cleared before the next. `editor_bench [FRAMES [OPERATION...]]`
// runs fewer frames or only the named operations (by the first word of
// their row, case-insensitive).

#include "bench/BenchTimer.h"
#include "editor/CKVFEditorDoc.h"
#include "editor/PaintOps.h"
#include "editor/SpriteExport.h"
#include "imaging/CDibSection.h"
#include "sprites/CDibPacked.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <strings.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kWidth = 640, kHeight = 480;

uint8_t Clamp(int v)
{
    return uint8_t(v < 0 ? 0 : (v > 255 ? 255 : v));
}

// Frame f of a scene such as a sequence taken from video: a sky gradient, a
// textured ground with a little sensor noise, and a shaded figure moving
// across; the colours drift from frame to frame.
std::vector<uint8_t> MakeFrame(int f, uint32_t& state)
{
    CDibSection section;
    Require(section.Create(kWidth, kHeight, PF_RGB24) == DIB_OK, "make the section");
    auto noise = [&state] {
        state = state * 1664525u + 1013904223u;
        return int(state >> 29) - 4;
    };
    const int horizon = kHeight * 5 / 8;
    const int cx = 60 + f * 3 % (kWidth - 120), cy = horizon - 40, radius = 70;
    for (int y = 0; y < kHeight; ++y) {
        uint8_t* row = section.Bits() + ptrdiff_t(y) * section.Pitch();
        for (int x = 0; x < kWidth; ++x) {
            int r, g, b;
            if (y < horizon) {
                r = 90 + y / 4 + f / 8;
                g = 140 + y / 5;
                b = 230 - y / 8;
            } else {
                const int grain = ((x * 7 + y * 13) ^ (x * y)) & 15;
                r = 150 + grain + noise();
                g = 120 + grain / 2 + noise();
                b = 60 + noise();
            }
            const int dx = x - cx, dy = y - cy, d2 = dx * dx + dy * dy;
            if (d2 < radius * radius) {
                const int shade = 255 - int(std::sqrt(double(d2)) * 2.5);
                r = shade;
                g = shade * 2 / 3;
                b = shade / 3 + 10;
            }
            row[x * 3 + 0] = Clamp(b);
            row[x * 3 + 1] = Clamp(g);
            row[x * 3 + 2] = Clamp(r);
        }
    }
    CDibPacked packed;
    Require(packed.CopyFrom(&section) == DIB_OK, "pack the section");
    const uint8_t* info = packed.GetInfoHeader();
    return std::vector<uint8_t>(info, info + packed.GetPictureSize());
}

// The process's peak resident memory since the last ResetPeak, in bytes.
void ResetPeak()
{
    std::ofstream("/proc/self/clear_refs") << "5";
}

size_t PeakBytes()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return size_t(std::strtoull(line.c_str() + 6, nullptr, 10)) * 1024;
    return 0;
}

struct Operation {
    const char* name;
    // Runs the operation once: its time in seconds, negative when it failed.
    std::function<double()> run;
    // Brings the document back to where it started.
    std::function<void()> undo;
};

double Seconds(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The time `work` takes, or -1 when it does not succeed.
double Timed(const std::function<bool()>& work)
{
    const auto start = std::chrono::steady_clock::now();
    const bool ok = work();
    const double seconds = Seconds(start);
    return ok ? seconds : -1.0;
}

bool Selected(const std::vector<std::string>& only, const char* name)
{
    if (only.empty())
        return true;
    const std::string first(name, std::strcspn(name, " "));
    for (const std::string& word : only)
        if (strcasecmp(word.c_str(), first.c_str()) == 0)
            return true;
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    const int frames = argc > 1 ? std::max(2, std::atoi(argv[1])) : 200;
    std::vector<std::string> only(argv + std::min(argc, 2), argv + argc);

    char folderTemplate[] = "/tmp/editor_bench_XXXXXX";
    if (!mkdtemp(folderTemplate)) {
        std::perror("mkdtemp");
        return 1;
    }
    const std::filesystem::path folder(folderTemplate);
    const std::string documentPath = (folder / "document.avi").string();

    CKVFEditorDoc doc;
    {
        uint32_t state = 12345;
        for (int f = 0; f < frames; ++f) {
            const std::vector<uint8_t> picture = MakeFrame(f, state);
            doc.InsertFrame(picture.data(), picture.size(), InsertPlace::After);
        }
    }
    // The document as a user finds it: opened from its file, history empty.
    if (doc.SaveDocument(documentPath) != EditorStatus::Ok || doc.OpenDocument(documentPath) != EditorStatus::Ok) {
        std::fprintf(stderr, "cannot write and read %s\n", documentPath.c_str());
        return 1;
    }

    const size_t plainBytes = size_t(frames) * size_t(kWidth * 3) * kHeight;
    auto undo = [&doc] {
        doc.Undo();
        doc.History().Clear();
    };
    auto nothing = [] {};
    const CanvasParams canvas{kWidth + 32, kHeight + 32, 16, 16};
    const ResizeParams resize{kWidth * 3 / 4, kHeight * 3 / 4};
    const TimeStretchParams stretch{frames * 3 / 2};
    ColourDepthParams octree;
    ColourDepthParams variance;
    variance.method = ColourMethod::Box6;
    variance.errorDiffusion = true;
    ExportOptions pkc;
    pkc.encoding = ExportEncoding::Pkc;
    const std::string exportPath = (folder / "walk.bmp").string();
    const std::string savePath = (folder / "saved.avi").string();
    int strokeFrame = 0;

    auto ok = [](EditorStatus status) { return status == EditorStatus::Ok; };
    const std::vector<Operation> operations = {
        // Opened as into a new window: the document open before is let go
        // first, so the peak is the opening's own (the mapped file counts).
        {"Open the uncompressed document",
         [&] {
             doc.DeleteContents();
             ResetPeak();
             return Timed([&] { return ok(doc.OpenDocument(documentPath)); });
         },
         nothing},
        {"Save the document", [&] { return Timed([&] { return ok(doc.SaveDocument(savePath)); }); }, nothing},
        {"Invert", [&] { return Timed([&] { return ok(doc.Invert()); }); }, undo},
        {"Mirror", [&] { return Timed([&] { return ok(doc.Mirror()); }); }, undo},
        {"Flip", [&] { return Timed([&] { return ok(doc.Flip()); }); }, undo},
        {"Fade In", [&] { return Timed([&] { return ok(doc.FadeIn(EditorColour{255, 255, 255})); }); }, undo},
        {"Resize to 3/4", [&] { return Timed([&] { return ok(doc.Resize(resize)); }); }, undo},
        {"Enlarge Canvas", [&] { return Timed([&] { return ok(doc.EnlargeCanvas(canvas, EditorColour{})); }); },
         undo},
        {"Reverse", [&] { return Timed([&] { return ok(doc.Reverse()); }); }, undo},
        {"Time Stretch x1.5", [&] { return Timed([&] { return ok(doc.TimeStretch(stretch)); }); }, undo},
        {"Octree 256 colours", [&] { return Timed([&] { return ok(doc.ChangeColourDepth(octree)); }); }, undo},
        {"MinVariance6 + diffusion", [&] { return Timed([&] { return ok(doc.ChangeColourDepth(variance)); }); },
         undo},
        {"Export PKC sequence",
         [&] { return Timed([&] { return ok(ExportFrames(doc, exportPath, ExportLayout::Sequence, pkc)); }); },
         nothing},
        {"Pen stroke end",
         [&] {
             // Only the commit is timed: moving to the frame is not the stroke's end.
             doc.SetCurrentFrame(strokeFrame++ % frames);
             PaintLine(doc.GetWorkingImage(), 10, 10, 300, 200, EditorColour{255, 0, 0});
             doc.SetWorkingDirty();
             return Timed([&] { return ok(doc.Commit()); });
         },
         undo},
    };

    std::printf("editor_bench: %d frames of %d x %d at 24 bits, %.1f MB of pixels\n", frames, kWidth, kHeight,
                double(plainBytes) / 1e6);
    std::printf("%-32s %10s %10s %8s %12s\n", "operation", "ours (s)", "memcpy (s)", "ratio", "peak/pixels");
    bool failed = false;
    for (const Operation& operation : operations) {
        if (!Selected(only, operation.name))
            continue;
        // Fast operations are timed several times and the best kept; slow
        // ones once, or the benchmark would take an hour before they are fast.
        double best = 1e30;
        size_t peak = 0;
        for (int run = 0; run < 5; ++run) {
            ResetPeak();
            const double seconds = operation.run();
            peak = std::max(peak, PeakBytes());
            operation.undo();
            if (seconds < 0) {
                best = -1;
                break;
            }
            best = std::min(best, seconds);
            if (seconds > 0.5)
                break;
        }
        // The peer's buffers live only while it runs, outside the peak measured above.
        double copy = 0;
        {
            std::vector<uint8_t> source(plainBytes, 1), target(plainBytes, 0);
            copy = TimeBest([&] { std::memcpy(target.data(), source.data(), plainBytes); }, 5);
        }
        if (best < 0) {
            std::printf("%-32s %10s\n", operation.name, "FAILED");
            failed = true;
            continue;
        }
        std::printf("%-32s %10.4f %10.4f %8.1f %12.2f\n", operation.name, best, copy, best / copy,
                    double(peak) / double(plainBytes));
        std::fflush(stdout);
    }
    std::filesystem::remove_all(folder);
    return failed ? 1 : 0;
}
