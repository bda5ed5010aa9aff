#pragma once
// CFrameProcessor: the loop of every operation that changes each frame of a
// document (the per-frame tools, colour reduction). A tool that needs only
// its own frame runs whole on worker threads (decode, change, store), one
// frame a worker; a tool that shares something between frames runs on this
// thread and only the storing goes to the workers (CFramePacker). The
// progress dialog shows "Processing frame i out of n ..." and is asked
// between frames whether the user cancelled.
//
// Nothing here touches the document: the results come back as new frames,
// which the document stores as one undo step, or drops (a failure, a
// cancel), leaving itself exactly as it was.

#include "editor/CStoredFrame.h"
#include "editor/EditorStatus.h"
#include "editor/EditorTypes.h"
#include "imaging/ColourReduction.h"
#include "imaging/DibResult.h"

#include <functional>
#include <future>
#include <memory>
#include <string>
#include <vector>

class CDibSection;
class IEditorProgress;

class CFrameProcessor {
public:
    // Makes `result` from frame `index` of `count` (`picture` may be changed).
    using Tool = std::function<DibResult(CDibSection& picture, int index, int count, CDibSection& result)>;

    CFrameProcessor(std::vector<const CStoredFrame*> frames, IEditorProgress* progress, std::string caption);

    // The tool's result for every frame, in order. ImageFailed when the tool
    // or a frame fails, OutOfMemory, Cancelled.
    EditorStatus Run(const Tool& tool, ToolThreads threads, std::vector<FrameRef>& results);

    // Every frame reduced as ReduceColours would reduce them all together:
    // for an 8-bit target a first pass feeds each frame to the quantizer, a
    // second converts them with its palette. Frames of fewer than 8 bits are
    // widened to 8 first, their indices and colours kept.
    EditorStatus ReduceColours(const ColourReductionOptions& options, std::vector<FrameRef>& results);

private:
    struct DecodedFrame {
        std::unique_ptr<CDibSection> picture;
        EditorStatus status = EditorStatus::Ok;
    };

    // Decodes frame `index` into `picture`, widened to whole bytes when asked.
    EditorStatus Decode(int index, CDibSection& picture, bool wholeBytes) const;
    // Frame `index` decoded, changed by the tool and stored; null on failure,
    // with the reason in `status`.
    FrameRef Apply(const Tool& tool, int index, EditorStatus& status) const;
    // Frame `index` decoded to whole bytes, now or on another thread.
    DecodedFrame DecodeWhole(int index) const;
    std::future<DecodedFrame> DecodeLater(int index) const;
    EditorStatus RunOnWorkers(const Tool& tool, std::vector<FrameRef>& results);

    std::vector<const CStoredFrame*> m_frames;
    IEditorProgress* m_progress;
    std::string m_caption;
};
