// The document's frames, files, clipboard, tools and history. The per-frame
// tools work on each frame's picture through FrameTools.h in a
// CFrameProcessor and store the results as one undo step; the
// whole-sequence ones reorder the frames without touching their pixels.

#include "editor/CKVFEditorDoc.h"

#include "FrameTools.h"
#include "PackedFrames.h"
#include "ProgressScope.h"
#include "commands/CDeleteFrameCommand.h"
#include "commands/CInsertFrameCommand.h"
#include "commands/CReplaceFrameCommand.h"
#include "commands/CReplaceFramesCommand.h"
#include "editor/CAviFile.h"
#include "editor/PaletteFile.h"
#include "frames/CFrameProcessor.h"
#include "frames/CFramePacker.h"
#include "frames/CPlainPictureCheck.h"
#include "imaging/CDibPalette.h"
#include "sprites/CDibPacked.h"
#include "sprites/LoadPicture.h"
#include "sprites/PictureFormat.h"

#include <algorithm>
#include <cstring>
#include <memory>

CKVFEditorDoc::CKVFEditorDoc()
{
    // The document owns its working image; no image context may delete it.
}

CKVFEditorDoc::~CKVFEditorDoc() = default;

void CKVFEditorDoc::UpdateViews()
{
    if (m_updateViews)
        m_updateViews();
}

EditorStatus CKVFEditorDoc::LoadWorkingImage()
{
    m_workingDirty = false;
    const CStoredFrame* frame = m_frames.At(m_frames.Current());
    if (!frame) {
        m_working.Destroy();
        return EditorStatus::Ok;
    }
    if (DecodeFrame(frame, m_working) != DIB_OK) {
        m_working.Destroy();
        return EditorStatus::ImageFailed;
    }
    return EditorStatus::Ok;
}

void CKVFEditorDoc::Perform(std::unique_ptr<CEditCommand> command)
{
    m_history.Perform(std::move(command), m_frames);
    LoadWorkingImage();
}

void CKVFEditorDoc::DeleteContents()
{
    m_history.Clear();
    m_frames.Clear();
    m_working.Destroy();
    m_workingDirty = false;
    m_forcedModified = false;
    m_foreignVideo = false;
    UpdateViews();
}

bool CKVFEditorDoc::IsModified() const
{
    return m_workingDirty || m_forcedModified || !m_history.IsAtSavedPoint();
}

void CKVFEditorDoc::SetWorkingDirty()
{
    if (!m_frames.IsEmpty())
        m_workingDirty = true;
}

EditorStatus CKVFEditorDoc::Commit(const std::string& undoName)
{
    if (m_frames.IsEmpty() || !m_workingDirty)
        return EditorStatus::Ok;
    FrameRef frame = MakeStoredFrame(m_working);
    if (!frame)
        return EditorStatus::OutOfMemory;
    m_history.Perform(std::make_unique<CReplaceFrameCommand>(undoName, m_frames.Current(), std::move(frame)),
                      m_frames);
    // The working image already shows what was stored.
    m_workingDirty = false;
    UpdateViews();
    return EditorStatus::Ok;
}

EditorStatus CKVFEditorDoc::CommitBeforeChange()
{
    return m_frames.IsEmpty() ? EditorStatus::NothingToDo : Commit();
}

EditorStatus CKVFEditorDoc::SetCurrentFrame(int index)
{
    EditorStatus status = EditorStatus::NothingToDo;
    if (index >= 0 && index < m_frames.Count()) {
        status = Commit();
        if (status == EditorStatus::Ok) {
            m_frames.SetCurrent(index);
            status = LoadWorkingImage();
        }
    }
    UpdateViews();
    return status;
}

EditorStatus CKVFEditorDoc::GetFrameImage(int index, CDibSection& image)
{
    const CStoredFrame* frame = m_frames.At(index);
    if (!frame)
        return EditorStatus::NothingToDo;
    const DibResult code = index == m_frames.Current() && m_working.IsCreated() ? image.CopyFrom(&m_working)
                                                                                 : DecodeFrame(frame, image);
    return code == DIB_OK ? EditorStatus::Ok : EditorStatus::ImageFailed;
}

EditorStatus CKVFEditorDoc::GetStoredFrameImage(const CStoredFrame& frame, CDibSection& image) const
{
    return DecodeFrame(&frame, image) == DIB_OK ? EditorStatus::Ok : EditorStatus::ImageFailed;
}

EditorStatus CKVFEditorDoc::InsertFrame(const uint8_t* picture, size_t size, InsertPlace place,
                                        const std::string& undoName)
{
    FrameRef frame;
    EditorStatus status = FrameFromPicture(picture, size, frame);
    // Strokes on the current frame are stored before the index moves to the
    // new frame, so they stay with the frame they were painted on.
    if (status == EditorStatus::Ok)
        status = Commit();
    if (status != EditorStatus::Ok)
        return status;
    int position = 0;
    if (!m_frames.IsEmpty())
        position = m_frames.Current() + (place == InsertPlace::After ? 1 : 0);
    Perform(std::make_unique<CInsertFrameCommand>(undoName, std::move(frame), position));
    UpdateViews();
    return EditorStatus::Ok;
}

EditorStatus CKVFEditorDoc::DuplicateFrame()
{
    if (m_frames.IsEmpty() || !m_working.IsCreated())
        return EditorStatus::NothingToDo;
    const std::vector<uint8_t> picture = PlainPictureOf(m_working);
    if (picture.empty())
        return EditorStatus::OutOfMemory;
    return InsertFrame(picture.data(), picture.size(), InsertPlace::After, "Duplicate Frame");
}

EditorStatus CKVFEditorDoc::InsertBlankFrame(EditorColour background)
{
    if (m_frames.IsEmpty() || !m_working.IsCreated())
        return EditorStatus::NothingToDo;
    CDibSection blank;
    if (blank.Create(m_working.GetWidth(), m_working.GetHeight(), m_working.GetFormat()) != DIB_OK ||
        (m_working.GetPalette() && blank.SetPalette(m_working.GetPalette()) != DIB_OK) ||
        blank.FillRect(0, 0, blank.GetWidth(), blank.GetHeight(), PixelOfColour(blank, background)) != DIB_OK)
        return EditorStatus::OutOfMemory;
    const std::vector<uint8_t> picture = PlainPictureOf(blank);
    if (picture.empty())
        return EditorStatus::OutOfMemory;
    return InsertFrame(picture.data(), picture.size(), InsertPlace::After, "Insert Blank Frame");
}

EditorStatus CKVFEditorDoc::DeleteCurrentFrame(const std::string& undoName)
{
    const EditorStatus status = CommitBeforeChange();
    if (status != EditorStatus::Ok)
        return status;
    Perform(std::make_unique<CDeleteFrameCommand>(undoName, m_frames.Current()));
    UpdateViews();
    return EditorStatus::Ok;
}

bool CKVFEditorDoc::IsSameFormat() const
{
    const std::vector<const CStoredFrame*> frames = m_frames.Frames();
    for (const CStoredFrame* frame : frames) {
        if (frame->Width() != frames[0]->Width() || frame->Height() != frames[0]->Height() ||
            frame->Format() != frames[0]->Format())
            return false;
    }
    return true;
}

std::vector<uint8_t> CKVFEditorDoc::Copy()
{
    if (m_frames.IsEmpty() || !m_working.IsCreated())
        return {};
    return PlainPictureOf(m_working);
}

std::vector<uint8_t> CKVFEditorDoc::Cut()
{
    std::vector<uint8_t> picture = Copy();
    if (!picture.empty() && DeleteCurrentFrame("Cut") != EditorStatus::Ok)
        picture.clear();
    return picture;
}

EditorStatus CKVFEditorDoc::Paste(const uint8_t* picture, size_t size, InsertPlace place)
{
    return InsertFrame(picture, size, place, "Paste");
}

EditorStatus CKVFEditorDoc::OpenDocument(const std::string& path, IEditorProgress* progress)
{
    CAviFile file;
    EditorStatus status = file.OpenRead(path);
    if (status != EditorStatus::Ok)
        return status;
    const int count = file.GetFrameCount();
    // The frames are read in full before the open document is given up; the
    // reading goes on while worker threads store the frames read.
    std::vector<FrameRef> frames;
    {
        ProgressScope scope(count > 0 ? progress : nullptr, PROGRESS_LOADING);
        scope.SetRange(0, count);
        CFramePacker packer{size_t(count)};
        CPlainPictureCheck plain;
        std::vector<bool> repeats(size_t(count), false);
        for (int i = 0; i < count; ++i) {
            if (scope.IsCancelled())
                return EditorStatus::Cancelled;
            size_t size = 0;
            const uint8_t* picture = file.GetFrame(i, &size);
            if (!picture)
                return file.LastStatus();
            if (file.RepeatsPreviousFrame() && i > 0) {
                // Frames never change once stored: a repeat is the same frame again.
                repeats[size_t(i)] = true;
            } else if (plain.IsPlain(picture, size)) {
                packer.Pack(size_t(i), plain.Copy(picture));
            } else {
                FrameRef frame;
                status = FrameFromPicture(picture, size, frame);
                if (status != EditorStatus::Ok)
                    return status == EditorStatus::NotAPicture ? EditorStatus::DamagedVideo : status;
                plain.Learn(picture, size, *frame);
                packer.Put(size_t(i), std::move(frame));
            }
            scope.SetPosition(i);
        }
        if (!packer.Finish(frames, repeats))
            return EditorStatus::OutOfMemory;
    }
    const bool foreign = file.IsForeignCodec();
    file.Close();

    m_history.Clear();
    m_frames.Clear();
    int current = 0;
    m_frames.Exchange(frames, current);
    m_forcedModified = false;
    m_foreignVideo = foreign;
    status = LoadWorkingImage();
    UpdateViews();
    return status;
}

EditorStatus CKVFEditorDoc::SaveDocument(const std::string& path, IEditorProgress* progress)
{
    if (!IsSameFormat())
        return EditorStatus::NotSameFormat;
    EditorStatus status = CommitBeforeChange();
    if (status != EditorStatus::Ok)
        return status;

    const std::vector<const CStoredFrame*> frames = m_frames.Frames();
    const int count = int(frames.size());
    CAviFile file;
    status = file.OpenWrite(path, frames[0]->Header().data(), frames[0]->Header().size());
    if (status != EditorStatus::Ok)
        return status;
    {
        ProgressScope scope(progress, PROGRESS_SAVING);
        scope.SetRange(0, count);
        for (int i = 0; i < count && status == EditorStatus::Ok; ++i) {
            if (scope.IsCancelled()) {
                status = EditorStatus::Cancelled;
                break;
            }
            const std::vector<uint8_t> plain = frames[size_t(i)]->Picture();
            status = plain.empty() ? EditorStatus::ImageFailed : file.WriteFrame(plain.data(), plain.size());
            scope.SetPosition(i);
        }
    }
    if (status == EditorStatus::Ok)
        status = file.Close();
    if (status != EditorStatus::Ok) {
        file.Discard();
        return status;
    }
    m_history.MarkSaved();
    m_forcedModified = false;
    m_foreignVideo = false;
    // Saving walks through the frames and leaves the last one current.
    m_frames.SetCurrent(count - 1);
    status = LoadWorkingImage();
    UpdateViews();
    return status;
}

bool CKVFEditorDoc::CanUndo() const
{
    return (m_workingDirty && !m_frames.IsEmpty()) || m_history.CanUndo();
}

bool CKVFEditorDoc::CanRedo() const
{
    return !m_workingDirty && m_history.CanRedo();
}

EditorStatus CKVFEditorDoc::Undo()
{
    // Strokes not yet stored become the step that is undone.
    const EditorStatus status = Commit();
    if (status != EditorStatus::Ok)
        return status;
    if (!m_history.Undo(m_frames))
        return EditorStatus::NothingToDo;
    LoadWorkingImage();
    UpdateViews();
    return EditorStatus::Ok;
}

EditorStatus CKVFEditorDoc::Redo()
{
    if (!CanRedo() || !m_history.Redo(m_frames))
        return EditorStatus::NothingToDo;
    LoadWorkingImage();
    UpdateViews();
    return EditorStatus::Ok;
}

std::string CKVFEditorDoc::GetUndoName() const
{
    return m_workingDirty && !m_frames.IsEmpty() ? std::string(kPaintStep) : m_history.UndoName();
}

std::string CKVFEditorDoc::GetRedoName() const
{
    return CanRedo() ? m_history.RedoName() : std::string();
}

void CKVFEditorDoc::BeginCommandGroup(const std::string& name)
{
    Commit();
    m_history.BeginGroup(name);
}

void CKVFEditorDoc::EndCommandGroup()
{
    Commit();
    m_history.EndGroup(m_frames);
}

void CKVFEditorDoc::CancelCommandGroup()
{
    // Strokes made inside the group are stored first, so they go with it.
    Commit();
    m_history.CancelGroup(m_frames);
    LoadWorkingImage();
    UpdateViews();
}

EditorCommandState CKVFEditorDoc::GetCommandState(bool clipboardHasPicture, bool strokeInProgress) const
{
    const int count = m_frames.Count();
    EditorCommandState state;
    state.exportFile = state.resize = state.changeColourDepth = state.loadPalette = count >= 1;
    state.enlargeCanvas = state.timeStretch = state.reverse = state.removeAlphaChannel = state.invert = count >= 1;
    state.fadeIn = state.fadeOut = state.mirror = state.flip = count >= 2;
    state.savePalette = count >= 1 && m_working.GetFormat() == PF_INDEX8;
    state.copy = state.cut = count >= 1;
    state.paste = state.pasteBefore = clipboardHasPicture && !strokeInProgress;
    state.undo = CanUndo() && !strokeInProgress;
    state.redo = CanRedo() && !strokeInProgress;
    return state;
}

void CKVFEditorDoc::ReplaceFrames(const std::string& name, std::vector<FrameRef> frames, int current)
{
    Perform(std::make_unique<CReplaceFramesCommand>(name, std::move(frames), current));
    UpdateViews();
}

EditorStatus CKVFEditorDoc::CheckNewSize(int width, int height) const
{
    for (const CStoredFrame* frame : m_frames.Frames())
        if (!FitsFrameLimit(frame->Format(), width, height))
            return EditorStatus::TooLarge;
    return EditorStatus::Ok;
}

EditorStatus CKVFEditorDoc::ApplyToEachFrame(const std::string& name, const char* caption,
                                             IEditorProgress* progress, ToolThreads threads,
                                             const FrameTool& tool)
{
    EditorStatus status = CommitBeforeChange();
    if (status != EditorStatus::Ok)
        return status;
    std::vector<FrameRef> results;
    status = CFrameProcessor(m_frames.Frames(), progress, caption).Run(tool, threads, results);
    if (status != EditorStatus::Ok)
        return status;
    // As if each frame had been made current in turn: the last one is.
    const int last = int(results.size()) - 1;
    ReplaceFrames(name, std::move(results), last);
    return EditorStatus::Ok;
}

EditorStatus CKVFEditorDoc::Resize(const ResizeParams& params, IEditorProgress* progress)
{
    if (!params.IsValid())
        return EditorStatus::BadParameters;
    const EditorStatus status = CheckNewSize(params.width, params.height);
    if (status != EditorStatus::Ok)
        return status;
    return ApplyToEachFrame("Resize", PROGRESS_PROCESSING, progress, ToolThreads::Workers,
                            [&](CDibSection& picture, int, int, CDibSection& result) {
                                return ResizePicture(picture, params.width, params.height, result);
                            });
}

EditorStatus CKVFEditorDoc::EnlargeCanvas(const CanvasParams& params, EditorColour background,
                                          IEditorProgress* progress)
{
    if (!params.IsValid())
        return EditorStatus::BadParameters;
    const EditorStatus status = CheckNewSize(params.width, params.height);
    if (status != EditorStatus::Ok)
        return status;
    return ApplyToEachFrame("Enlarge Canvas", PROGRESS_PROCESSING, progress, ToolThreads::Workers,
                            [&](CDibSection& picture, int, int, CDibSection& result) {
                                return PlacePictureOnCanvas(picture, params.width, params.height, params.x, params.y,
                                                            background, result);
                            });
}

EditorStatus CKVFEditorDoc::Fade(const std::string& name, bool fadeIn, EditorColour background,
                                 IEditorProgress* progress)
{
    // With one frame the factor would divide by zero: there is nothing to fade between.
    if (m_frames.Count() < 2)
        return EditorStatus::NothingToDo;
    return ApplyToEachFrame(name, PROGRESS_PROCESSING, progress, ToolThreads::Workers,
                            [&](CDibSection& picture, int index, int count, CDibSection& result) {
                                return FadePicture(picture, FadeFactor(index, count, fadeIn), background, result);
                            });
}

EditorStatus CKVFEditorDoc::FadeIn(EditorColour background, IEditorProgress* progress)
{
    return Fade("Fade In", true, background, progress);
}

EditorStatus CKVFEditorDoc::FadeOut(EditorColour background, IEditorProgress* progress)
{
    return Fade("Fade Out", false, background, progress);
}

EditorStatus CKVFEditorDoc::Mirror(IEditorProgress* progress)
{
    return ApplyToEachFrame("Mirror", PROGRESS_PROCESSING, progress, ToolThreads::Workers,
                            [](CDibSection& picture, int, int, CDibSection& result) {
                                return MirrorPicture(picture, BLIT_MIRROR_X, result);
                            });
}

EditorStatus CKVFEditorDoc::Flip(IEditorProgress* progress)
{
    return ApplyToEachFrame("Flip", PROGRESS_PROCESSING, progress, ToolThreads::Workers,
                            [](CDibSection& picture, int, int, CDibSection& result) {
                                return MirrorPicture(picture, BLIT_MIRROR_Y, result);
                            });
}

EditorStatus CKVFEditorDoc::Invert(IEditorProgress* progress)
{
    return ApplyToEachFrame("Invert", PROGRESS_PROCESSING, progress, ToolThreads::Workers,
                            [](CDibSection& picture, int, int, CDibSection& result) {
                                return InvertPicture(picture, result);
                            });
}

EditorStatus CKVFEditorDoc::RemoveAlphaChannel(const std::string& maskPath, EditorColour background,
                                               IEditorProgress* progress)
{
    if (m_frames.IsEmpty())
        return EditorStatus::NothingToDo;
    if (!IsSameFormat())
        return EditorStatus::NotSameFormat;
    CDibPacked mask;
    if (LoadPicture(mask, PictureSource::File(maskPath)) != DIB_OK)
        return EditorStatus::CannotOpenFile;
    // The size is checked before an encoded strip is decoded, so a header
    // claiming a huge picture costs nothing.
    const int width = m_frames.At(0)->Width(), height = m_frames.At(0)->Height();
    if (mask.GetFormat() != PF_INDEX8 || mask.GetWidth() != width ||
        int64_t(mask.GetHeight()) != int64_t(height) * m_frames.Count())
        return EditorStatus::MaskMismatch;
    if (mask.IsCompressed() && mask.Decompress() != DIB_OK)
        return EditorStatus::MaskMismatch;
    CDibSection strip, band;
    if (strip.CopyFrom(&mask) != DIB_OK || band.Create(width, height, PF_INDEX8) != DIB_OK)
        return EditorStatus::OutOfMemory;
    return ApplyToEachFrame("Remove Alpha Channel", PROGRESS_LOADING, progress, ToolThreads::ThisThread,
                            [&](CDibSection& picture, int index, int, CDibSection& result) {
                                // Band `index` from the top of the strip is this frame's opacity.
                                for (int y = 0; y < height; ++y)
                                    std::memcpy(band.Bits() + ptrdiff_t(y) * band.Pitch(),
                                                strip.Bits() + (ptrdiff_t(index) * height + y) * strip.Pitch(),
                                                size_t(width));
                                return RemoveAlphaFromPicture(picture, band, background, result);
                            });
}

EditorStatus CKVFEditorDoc::ChangeColourDepth(const ColourDepthParams& params, IEditorProgress* progress)
{
    if (!params.IsValid())
        return EditorStatus::BadParameters;
    EditorStatus status = CommitBeforeChange();
    if (status != EditorStatus::Ok)
        return status;
    ColourReductionOptions options;
    options.target = params.target;
    options.method = params.method;
    options.colours = params.colours;
    options.includeSystemColours = params.includeWindowsColours;
    options.errorDiffusion = params.errorDiffusion;
    // The palette of an 8-bit target is quantized from every frame's pixels
    // together; the frames are decoded once for it and once to convert them.
    std::vector<FrameRef> results;
    status = CFrameProcessor(m_frames.Frames(), progress, PROGRESS_PROCESSING).ReduceColours(options, results);
    if (status != EditorStatus::Ok)
        return status;
    const int last = int(results.size()) - 1;
    ReplaceFrames("Change Color Depth", std::move(results), last);
    return EditorStatus::Ok;
}

EditorStatus CKVFEditorDoc::SavePalette(const std::string& path)
{
    if (m_frames.IsEmpty())
        return EditorStatus::NothingToDo;
    const CDibPalette* palette = m_working.GetPalette();
    if (m_working.GetFormat() != PF_INDEX8 || !palette)
        return EditorStatus::NotIndexed;
    return WritePaletteFile(path, palette->Entries(), palette->GetCount());
}

EditorStatus CKVFEditorDoc::LoadPalette(const std::string& path, IEditorProgress* progress)
{
    if (m_frames.IsEmpty())
        return EditorStatus::NothingToDo;
    PaletteEntries entries;
    const EditorStatus status = ReadPaletteFile(path, entries);
    if (status != EditorStatus::Ok)
        return status;
    CDibPalette* palette = new CDibPalette;
    if (palette->Create(256) != DIB_OK || palette->SetEntries(entries.data(), 0, 256) != DIB_OK) {
        palette->Release();
        return EditorStatus::OutOfMemory;
    }
    const EditorStatus result = ApplyToEachFrame(
        "Load Palette", PROGRESS_PROCESSING, progress, ToolThreads::ThisThread, [&](CDibSection& picture, int, int, CDibSection& converted) {
            DibResult code = converted.CopyFrom(&picture);
            return code == DIB_OK ? converted.ConvertFormat(PF_INDEX8, palette, 0) : code;
        });
    palette->Release();
    return result;
}

EditorStatus CKVFEditorDoc::Reverse()
{
    const EditorStatus status = CommitBeforeChange();
    if (status != EditorStatus::Ok)
        return status;
    std::vector<FrameRef> reversed = m_frames.Refs();
    std::reverse(reversed.begin(), reversed.end());
    ReplaceFrames("Reverse", std::move(reversed), 0);
    return EditorStatus::Ok;
}

EditorStatus CKVFEditorDoc::TimeStretch(const TimeStretchParams& params)
{
    if (!params.IsValid())
        return EditorStatus::BadParameters;
    const EditorStatus status = CommitBeforeChange();
    if (status != EditorStatus::Ok)
        return status;
    // Stored frames never change, so a repeated frame is the same frame twice.
    const std::vector<FrameRef> frames = m_frames.Refs();
    const int64_t oldCount = int64_t(frames.size()), newCount = params.frames;
    std::vector<FrameRef> stretched;
    stretched.reserve(size_t(newCount));
    for (int64_t k = 0; k < newCount; ++k)
        stretched.push_back(frames[size_t(k * oldCount / newCount)]);
    ReplaceFrames("Time Stretch/Shrink", std::move(stretched), 0);
    return EditorStatus::Ok;
}
