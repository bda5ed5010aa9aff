#include "CFrameProcessor.h"

#include "CFramePacker.h"
#include "CIndexedConversion.h"
#include "PackedFrames.h"
#include "ProgressScope.h"
#include "editor/CKVFEditorDoc.h"
#include "imaging/CDibPalette.h"
#include "imaging/CDibSection.h"
#include "imaging/CNearestColourMap.h"

#include <future>
#include <memory>
#include <mutex>
#include <system_error>

namespace {

// The document's own progress line.
constexpr const char* kFrameLine = CKVFEditorDoc::kFrameProgressFormat;

} // namespace

CFrameProcessor::CFrameProcessor(std::vector<const CStoredFrame*> frames, IEditorProgress* progress,
                                 std::string caption)
    : m_frames(std::move(frames)), m_progress(progress), m_caption(std::move(caption))
{
}

EditorStatus CFrameProcessor::Decode(int index, CDibSection& picture, bool wholeBytes) const
{
    if (DecodeFrame(m_frames[size_t(index)], picture) != DIB_OK)
        return EditorStatus::ImageFailed;
    if (wholeBytes && PixelFormatBits(picture.GetFormat()) < 8 && picture.ConvertFormat(PF_INDEX8, nullptr, 0) != DIB_OK)
        return EditorStatus::ImageFailed;
    return EditorStatus::Ok;
}

CFrameProcessor::DecodedFrame CFrameProcessor::DecodeWhole(int index) const
{
    DecodedFrame frame;
    frame.picture = std::make_unique<CDibSection>();
    frame.status = Decode(index, *frame.picture, true);
    return frame;
}

std::future<CFrameProcessor::DecodedFrame> CFrameProcessor::DecodeLater(int index) const
{
    try {
        return std::async(std::launch::async, [this, index] { return DecodeWhole(index); });
    } catch (const std::system_error&) {
        // No thread to be had: the frame is decoded when it is asked for.
        return std::async(std::launch::deferred, [this, index] { return DecodeWhole(index); });
    }
}

FrameRef CFrameProcessor::Apply(const Tool& tool, int index, EditorStatus& status) const
{
    CDibSection picture, result;
    status = Decode(index, picture, false);
    if (status != EditorStatus::Ok)
        return nullptr;
    if (tool(picture, index, int(m_frames.size()), result) != DIB_OK) {
        status = EditorStatus::ImageFailed;
        return nullptr;
    }
    FrameRef frame = MakeStoredFrame(result);
    if (!frame)
        status = EditorStatus::OutOfMemory;
    return frame;
}

EditorStatus CFrameProcessor::Run(const Tool& tool, ToolThreads threads, std::vector<FrameRef>& results)
{
    if (threads == ToolThreads::Workers)
        return RunOnWorkers(tool, results);
    const int count = int(m_frames.size());
    ProgressScope scope(m_progress, m_caption);
    CFramePacker packer{size_t(count)};
    for (int i = 0; i < count; ++i) {
        scope.ShowFrame(kFrameLine, i, count);
        if (scope.IsCancelled())
            return EditorStatus::Cancelled;
        CDibSection picture, result;
        EditorStatus status = Decode(i, picture, false);
        if (status != EditorStatus::Ok)
            return status;
        if (tool(picture, i, count, result) != DIB_OK)
            return EditorStatus::ImageFailed;
        std::vector<uint8_t> plain = PlainPictureOf(result);
        if (plain.empty())
            return EditorStatus::OutOfMemory;
        packer.Pack(size_t(i), std::move(plain));
    }
    return packer.Finish(results) ? EditorStatus::Ok : EditorStatus::OutOfMemory;
}

EditorStatus CFrameProcessor::RunOnWorkers(const Tool& tool, std::vector<FrameRef>& results)
{
    const int count = int(m_frames.size());
    ProgressScope scope(m_progress, m_caption);
    // The first failure in frame order is the one reported.
    std::mutex failureMutex;
    int failedFrame = count;
    EditorStatus failure = EditorStatus::Ok;
    {
        CFramePacker packer{size_t(count)};
        for (int i = 0; i < count; ++i) {
            // Adding waits while the workers are a few frames behind, so the
            // bar and Cancel follow the work actually done.
            scope.ShowFrame(kFrameLine, i, count);
            if (scope.IsCancelled())
                return EditorStatus::Cancelled; // the packer waits for the frames under way
            packer.Make(size_t(i), [&, i] {
                EditorStatus status = EditorStatus::Ok;
                FrameRef frame = Apply(tool, i, status);
                if (!frame) {
                    std::lock_guard<std::mutex> lock(failureMutex);
                    if (i < failedFrame) {
                        failedFrame = i;
                        failure = status;
                    }
                }
                return frame;
            });
        }
        if (packer.Finish(results))
            return EditorStatus::Ok;
    }
    results.clear();
    return failure != EditorStatus::Ok ? failure : EditorStatus::OutOfMemory;
}

EditorStatus CFrameProcessor::ReduceColours(const ColourReductionOptions& options, std::vector<FrameRef>& results)
{
    const int count = int(m_frames.size());
    ProgressScope scope(m_progress, m_caption);
    // The quantizer's pass, then the conversion's: each takes half the bar.
    const int passes = options.target == ColourTarget::Index8 ? 2 : 1;
    auto show = [&](int pass, int index) {
        scope.ShowFrame(kFrameLine, index, count);
        scope.SetPosition(int((int64_t(pass) * count + index) * 100 / (int64_t(passes) * count)));
    };

    CDibPalette* palette = nullptr;
    if (options.target == ColourTarget::Index8) {
        std::unique_ptr<CColourQuantizer> quantizer = MakeColourQuantizer(options.method, options.colours);
        // The quantizer takes the frames one by one in order, so its result
        // is the same whatever the threads; the next frame is decoded on
        // another thread meanwhile.
        std::future<DecodedFrame> next = DecodeLater(0);
        for (int i = 0; i < count; ++i) {
            show(0, i);
            DecodedFrame frame = next.get();
            if (i + 1 < count)
                next = DecodeLater(i + 1);
            if (scope.IsCancelled())
                return EditorStatus::Cancelled;
            if (frame.status != EditorStatus::Ok)
                return frame.status;
            if (AddReductionFrame(*quantizer, frame.picture.get(), options) != DIB_OK)
                return EditorStatus::ImageFailed;
        }
        if (FinishReductionPalette(*quantizer, options, &palette) != DIB_OK)
            return EditorStatus::ImageFailed;
    }
    // The palette is released however the second pass ends.
    const std::unique_ptr<CDibPalette, void (*)(CDibPalette*)> held(palette, [](CDibPalette* p) {
        if (p)
            p->Release();
    });

    // The exact nearest-colour map of the k-means method, built once.
    std::unique_ptr<CNearestColourMap> map;
    if (palette && options.method == ColourMethod::KMeans && !options.errorDiffusion)
        map = std::make_unique<CNearestColourMap>(palette->Entries(), palette->GetCount());
    // The first frame is converted here, through the image objects; frames
    // like it are then converted on the workers straight from their pixels
    // into a picture with the first one's header (see CIndexedConversion).
    // It outlives the packer, whose jobs use it.
    std::unique_ptr<CIndexedConversion> onWorkers;
    CFramePacker packer{size_t(count)};
    for (int i = 0; i < count; ++i) {
        show(passes - 1, i);
        if (scope.IsCancelled())
            return EditorStatus::Cancelled;
        if (onWorkers && onWorkers->Takes(*m_frames[size_t(i)])) {
            const CStoredFrame* frame = m_frames[size_t(i)];
            const CIndexedConversion* conversion = onWorkers.get();
            packer.Make(size_t(i), [frame, conversion] { return conversion->Convert(*frame); });
            continue;
        }
        CDibSection picture;
        EditorStatus status = Decode(i, picture, true);
        if (status != EditorStatus::Ok)
            return status;
        if (ReduceFrame(&picture, palette, options, map.get()) != DIB_OK)
            return EditorStatus::ImageFailed;
        std::vector<uint8_t> plain = PlainPictureOf(picture);
        if (plain.empty())
            return EditorStatus::OutOfMemory;
        if (!onWorkers && palette)
            onWorkers = CIndexedConversion::Learn(*m_frames[size_t(i)], plain, *palette, options);
        packer.Pack(size_t(i), std::move(plain));
    }
    return packer.Finish(results) ? EditorStatus::Ok : EditorStatus::OutOfMemory;
}
