#include "CFrameProcessor.h"

#include "CFramePacker.h"
#include "CIndexedConversion.h"
#include "PackedFrames.h"
#include "ProgressScope.h"
#include "editor/CKVFEditorDoc.h"
#include "imaging/CDibPalette.h"
#include "imaging/CDibSection.h"
#include "imaging/CNearestColourMap.h"

#include <memory>

namespace {

// The document's own progress line.
constexpr const char* kFrameLine = CKVFEditorDoc::kFrameProgressFormat;

} // namespace

CFrameProcessor::CFrameProcessor(std::vector<const CStoredFrame*> frames, IEditorProgress* progress,
                                 std::string caption)
    : m_frames(std::move(frames)), m_progress(progress), m_caption(std::move(caption))
{
}

EditorStatus CFrameProcessor::Decode(int index, CDibSection& picture, bool wholeBytes)
{
    if (DecodeFrame(m_frames[size_t(index)], picture) != DIB_OK)
        return EditorStatus::ImageFailed;
    if (wholeBytes && PixelFormatBits(picture.GetFormat()) < 8 && picture.ConvertFormat(PF_INDEX8, nullptr, 0) != DIB_OK)
        return EditorStatus::ImageFailed;
    return EditorStatus::Ok;
}

EditorStatus CFrameProcessor::Run(const Tool& tool, std::vector<FrameRef>& results)
{
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
        for (int i = 0; i < count; ++i) {
            show(0, i);
            if (scope.IsCancelled())
                return EditorStatus::Cancelled;
            CDibSection picture;
            EditorStatus status = Decode(i, picture, true);
            if (status != EditorStatus::Ok)
                return status;
            if (AddReductionFrame(*quantizer, &picture, options) != DIB_OK)
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
