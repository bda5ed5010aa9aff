#pragma once
// CKVFEditorDoc: the sprite editor's document, an ordered sequence of frames
// and one working image, the current frame uncompressed, on which the view
// paints and every per-frame tool acts.
//
// Frames are stored in the system's plain picture form, their pixels packed
// with a fast in-memory codec (CStoredFrame), which keeps long sequences
// small and costs a millisecond a frame. Operations over the whole document
// store their results on worker threads while they go on; each can be
// cancelled from its progress dialog and then leaves the document exactly as
// it was. Anything that moves between frames, saves or runs a tool commits
// the working image first, so no stroke is lost.
//
// Every change to the frames is a command in the undo history (see
// CEditHistory): inserting, deleting, committing a painted frame, every
// tool. The document is modified while it differs from the state it was
// opened or saved in, or while the working image holds unsaved strokes.
//
// No widgets here: the window calls these operations, shows the messages of
// the results (EditorStatusMessage) and runs the dialogs that fill the
// parameter records (ToolParams.h). Failures leave the document as it was.

#include "editor/CEditHistory.h"
#include "editor/CFrameSequence.h"
#include "editor/EditorCommandState.h"
#include "editor/EditorStatus.h"
#include "editor/EditorTypes.h"
#include "editor/ToolParams.h"
#include "imaging/CDibSection.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class IEditorProgress;

class CKVFEditorDoc {
public:
    // The document type's string: ".avi" files named "KVF Files".
    static constexpr const char* kDocumentString =
        "KVF Editor\n\nKVF\nKVF Files\n.avi\nKVFEditor.Document\nKVF Document";
    static constexpr const char* kFileExtension = ".avi";
    // The file dialog of Remove Alpha Channel.
    static constexpr const char* kMaskFilter = "Bitmaps (*.bmp)|*.bmp||";
    // The progress line of the per-frame tools: the 0-based frame and the count.
    static constexpr const char* kFrameProgressFormat = "Processing frame %d out of %d ...";
    // The undo step of strokes that were not named.
    static constexpr const char* kPaintStep = "Paint";

    CKVFEditorDoc();
    ~CKVFEditorDoc();
    CKVFEditorDoc(const CKVFEditorDoc&) = delete;
    CKVFEditorDoc& operator=(const CKVFEditorDoc&) = delete;

    // Called whenever what the views show may have changed.
    void SetUpdateViews(std::function<void()> update) { m_updateViews = std::move(update); }

    // --- The document as a whole.

    // New: no frames, an empty working image, index 0, no history, clean.
    void DeleteContents();
    // Reads an AVI file. Every frame of its first video stream becomes a
    // frame and the first is current; the document is then clean with no
    // history. On failure (the file cannot be read, a frame is damaged, the
    // user cancelled) the open document is untouched.
    EditorStatus OpenDocument(const std::string& path, IEditorProgress* progress = nullptr);
    // Writes every frame as an uncompressed AVI file at 15 frames per
    // second, whole or not at all. NotSameFormat when the frames differ,
    // NothingToDo (silent) with no frames. Each frame is made current in
    // turn, so the last is current afterwards.
    EditorStatus SaveDocument(const std::string& path, IEditorProgress* progress = nullptr);
    bool IsModified() const;
    // True when the document was opened from a video of another codec than
    // uncompressed bitmaps: saving it makes an uncompressed file, often many
    // times larger, so the window asks first.
    bool WasOpenedFromForeignVideo() const { return m_foreignVideo; }
    // Marks the document modified until the next save, open or new, even
    // where no frame changed.
    void SetModifiedFlag() { m_forcedModified = true; }

    // --- Frames and the working image.

    int GetFrameCount() const { return m_frames.Count(); }
    int GetCurrentFrame() const { return m_frames.Current(); }
    // A frame as stored; null out of range. Stored frames never change.
    const CStoredFrame* GetFrame(int index) const { return m_frames.At(index); }
    // The same, shared, for keeping something made from it while it lives.
    FrameRef GetFrameRef(int index) const { return m_frames.Ref(index); }
    // A stored frame's picture in `image` (the stored picture, without the
    // working image's unsaved strokes).
    EditorStatus GetStoredFrameImage(const CStoredFrame& frame, CDibSection& image) const;
    // The current frame uncompressed (not created when there are no frames).
    // The view paints into it and then calls SetWorkingDirty.
    CDibSection& GetWorkingImage() { return m_working; }
    // Marks the working image changed (and the document modified).
    void SetWorkingDirty();
    bool IsWorkingDirty() const { return m_workingDirty; }
    // Stores a dirty working image as the current frame, one undo step
    // named `undoName` ("Pen Stroke", "Fill"). The view calls it at the end
    // of each stroke so that every stroke is a step of its own.
    EditorStatus Commit(const std::string& undoName = kPaintStep);
    // Commits, then makes frame `index` current (nothing when out of range).
    EditorStatus SetCurrentFrame(int index);
    // Frame `index` uncompressed in `image`, for previews and onion skins:
    // the working image, unsaved strokes and all, for the current frame.
    // NothingToDo out of range.
    EditorStatus GetFrameImage(int index, CDibSection& image);
    // Inserts a packed picture (with or without its 14-byte file header;
    // other programs' bitmaps and every sprite codec are read) before or
    // after the current frame and makes it current; into an empty document
    // it becomes frame 0. The working image is committed first.
    // `undoName` names the step.
    EditorStatus InsertFrame(const uint8_t* picture, size_t size, InsertPlace place,
                             const std::string& undoName = "Insert Frame");
    // A copy of the current frame (strokes and all) after it, made current.
    EditorStatus DuplicateFrame();
    // A frame of the current frame's size and format filled with
    // `background` after it, made current.
    EditorStatus InsertBlankFrame(EditorColour background);
    // Commits, then removes the current frame: the index stays, moves back
    // by one past the end, and is 0 when no frame is left.
    EditorStatus DeleteCurrentFrame(const std::string& undoName = "Delete Frame");
    // True when every frame has the width, height and pixel format of the
    // first (and for no frames).
    bool IsSameFormat() const;

    // --- The clipboard's commands, on packed pictures as bytes.

    // The working image as a packed picture (info header first); empty
    // without frames.
    std::vector<uint8_t> Copy();
    // Copy, then delete the current frame.
    std::vector<uint8_t> Cut();
    // "Insert Clipboard contents after current frame" (or before it).
    EditorStatus Paste(const uint8_t* picture, size_t size, InsertPlace place = InsertPlace::After);

    // --- Tools. The per-frame tools commit, change every frame (reporting
    // "Processing frame i out of n ..." to `progress`) and leave the last
    // frame current. The whole-sequence tools leave frame 0 current.

    EditorStatus Resize(const ResizeParams& params, IEditorProgress* progress = nullptr);
    EditorStatus EnlargeCanvas(const CanvasParams& params, EditorColour background,
                               IEditorProgress* progress = nullptr);
    // Frame i of n is faded by i × 256 / (n − 1) (in) or (n − 1 − i) × 256 /
    // (n − 1) (out); pixels of the background colour keep it. NothingToDo
    // for fewer than two frames.
    EditorStatus FadeIn(EditorColour background, IEditorProgress* progress = nullptr);
    EditorStatus FadeOut(EditorColour background, IEditorProgress* progress = nullptr);
    EditorStatus Mirror(IEditorProgress* progress = nullptr);
    EditorStatus Flip(IEditorProgress* progress = nullptr);
    EditorStatus Invert(IEditorProgress* progress = nullptr);
    // `maskPath` names an 8-bit strip as wide as the frames and as high as
    // all of them: band i (frame 0 at the top) is frame i's opacity over the
    // background colour. NotSameFormat when the frames differ, MaskMismatch
    // (silent) for a strip that does not fit.
    EditorStatus RemoveAlphaChannel(const std::string& maskPath, EditorColour background,
                                    IEditorProgress* progress = nullptr);
    EditorStatus ChangeColourDepth(const ColourDepthParams& params, IEditorProgress* progress = nullptr);
    // Writes the current frame's 256 colours as a ".pal" file (NotIndexed
    // unless it is 8-bit).
    EditorStatus SavePalette(const std::string& path);
    // Converts every frame to 8 bits with the colours of a ".pal" file,
    // without error diffusion.
    EditorStatus LoadPalette(const std::string& path, IEditorProgress* progress = nullptr);
    EditorStatus Reverse();
    // New frame k is old frame k × n / m (n old frames, m new ones).
    EditorStatus TimeStretch(const TimeStretchParams& params);

    // --- Undo and redo.

    // A dirty working image counts as a step to undo.
    bool CanUndo() const;
    bool CanRedo() const;
    EditorStatus Undo();
    EditorStatus Redo();
    // The step Undo (Redo) would take ("Resize"), empty when there is none.
    std::string GetUndoName() const;
    std::string GetRedoName() const;
    // Changes made between these make one undo step (an import, say).
    void BeginCommandGroup(const std::string& name);
    void EndCommandGroup();
    // Takes back the changes made since BeginCommandGroup and leaves no step.
    void CancelCommandGroup();
    // Limits and counts of the history.
    CEditHistory& History() { return m_history; }
    // Bytes the history keeps alive beyond the document's own frames.
    size_t HistoryHeldBytes() const { return m_history.HeldBytes(m_frames); }

    // The commands' enabling, given whether the clipboard holds a picture
    // and whether a mouse operation (a stroke) is in progress.
    EditorCommandState GetCommandState(bool clipboardHasPicture, bool strokeInProgress) const;

private:
    using FrameTool = std::function<DibResult(CDibSection& picture, int index, int count, CDibSection& result)>;

    // What every change of the whole sequence starts with: NothingToDo
    // without frames, else the working image committed.
    EditorStatus CommitBeforeChange();
    EditorStatus Fade(const std::string& name, bool fadeIn, EditorColour background, IEditorProgress* progress);
    // Loads the current frame into the working image (clearing its dirty flag).
    EditorStatus LoadWorkingImage();
    void UpdateViews();
    void Perform(std::unique_ptr<CEditCommand> command);
    // Runs `tool` on every frame and stores the results as one step.
    EditorStatus ApplyToEachFrame(const std::string& name, const char* caption, IEditorProgress* progress,
                                  ToolThreads threads, const FrameTool& tool);
    // Replaces every frame (one step) and makes `current` current.
    void ReplaceFrames(const std::string& name, std::vector<FrameRef> frames, int current);
    // TooLarge unless every frame, made width × height, fits the frame limit.
    EditorStatus CheckNewSize(int width, int height) const;

    CFrameSequence m_frames;
    CDibSection m_working;
    bool m_workingDirty = false;
    bool m_forcedModified = false;
    bool m_foreignVideo = false;
    CEditHistory m_history;
    std::function<void()> m_updateViews;
};
