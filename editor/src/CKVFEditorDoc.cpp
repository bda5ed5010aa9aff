// The document's frames, files, clipboard and history. The tools are in
// CKVFEditorDocTools.cpp.

#include "editor/CKVFEditorDoc.h"

#include "PackedFrames.h"
#include "ProgressScope.h"
#include "commands/CDeleteFrameCommand.h"
#include "commands/CInsertFrameCommand.h"
#include "commands/CReplaceFrameCommand.h"
#include "commands/CReplaceFramesCommand.h"
#include "editor/CAviFile.h"
#include "sprites/PictureFormat.h"

CKVFEditorDoc::CKVFEditorDoc() = default;

CKVFEditorDoc::~CKVFEditorDoc() = default;

void CKVFEditorDoc::UpdateViews()
{
    if (m_updateViews)
        m_updateViews();
}

EditorStatus CKVFEditorDoc::LoadWorkingImage()
{
    m_workingDirty = false;
    CDibPacked* frame = m_frames.At(m_frames.Current());
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

EditorStatus CKVFEditorDoc::Commit()
{
    if (m_frames.IsEmpty() || !m_workingDirty)
        return EditorStatus::Ok;
    FrameRef frame = MakeStoredFrame(m_working);
    if (!frame)
        return EditorStatus::OutOfMemory;
    m_history.Perform(std::make_unique<CReplaceFrameCommand>("Paint", m_frames.Current(), std::move(frame)),
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
    CDibPacked* frame = m_frames.At(index);
    if (!frame)
        return EditorStatus::NothingToDo;
    const DibResult code = index == m_frames.Current() && m_working.IsCreated() ? image.CopyFrom(&m_working)
                                                                                 : DecodeFrame(frame, image);
    return code == DIB_OK ? EditorStatus::Ok : EditorStatus::ImageFailed;
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
    const std::vector<CDibPacked*> frames = m_frames.Frames();
    for (const CDibPacked* frame : frames) {
        if (frame->GetWidth() != frames[0]->GetWidth() || frame->GetHeight() != frames[0]->GetHeight() ||
            frame->GetFormat() != frames[0]->GetFormat())
            return false;
    }
    return true;
}

std::vector<uint8_t> CKVFEditorDoc::Copy()
{
    if (m_frames.IsEmpty() || !m_working.IsCreated())
        return {};
    FrameRef picture = MakePlainFrame(m_working);
    return picture ? PictureBytes(*picture) : std::vector<uint8_t>();
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
    // The frames are read in full before the open document is given up.
    std::vector<FrameRef> frames;
    frames.reserve(size_t(count));
    {
        ProgressScope scope(count > 0 ? progress : nullptr, PROGRESS_LOADING);
        scope.SetRange(0, count);
        for (int i = 0; i < count; ++i) {
            size_t size = 0;
            const uint8_t* picture = file.GetFrame(i, &size);
            if (!picture)
                return file.LastStatus();
            FrameRef frame;
            if (file.RepeatsPreviousFrame() && !frames.empty()) {
                // Frames never change once stored: a repeat is the same frame again.
                frame = frames.back();
            } else {
                status = FrameFromPicture(picture, size, frame);
                if (status != EditorStatus::Ok)
                    return status == EditorStatus::NotAPicture ? EditorStatus::DamagedVideo : status;
            }
            frames.push_back(std::move(frame));
            scope.SetPosition(i);
        }
    }
    file.Close();

    m_history.Clear();
    m_frames.Clear();
    int current = count > 0 ? count - 1 : 0;
    m_frames.Exchange(frames, current);
    m_forcedModified = false;
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

    const std::vector<CDibPacked*> frames = m_frames.Frames();
    const int count = int(frames.size());
    CAviFile file;
    {
        const FrameRef first = PlainFrame(frames[0]);
        if (!first)
            return EditorStatus::ImageFailed;
        const uint8_t* info = first->GetInfoHeader();
        status = file.OpenWrite(path, info, PictureHeaderSize(info, HeaderRule::Editor));
        if (status != EditorStatus::Ok)
            return status;
    }
    {
        ProgressScope scope(progress, PROGRESS_SAVING);
        scope.SetRange(0, count);
        for (int i = 0; i < count && status == EditorStatus::Ok; ++i) {
            const FrameRef plain = PlainFrame(frames[size_t(i)]);
            if (!plain)
                status = EditorStatus::ImageFailed;
            else
                status = file.WriteFrame(plain->GetInfoHeader(), plain->GetPictureSize());
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
    return m_workingDirty && !m_frames.IsEmpty() ? std::string("Paint") : m_history.UndoName();
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
