#pragma once
// CFrameSequence: the document's frames in order and the index of the current
// one. Frames are shared, never changed once stored: an edit stores a new
// frame in place of the old one, so the undo history can keep the old frame
// by reference (and time stretching can repeat a frame without copying it).
//
// Positions run from 0 to Count() - 1; the current index is 0 when there are
// no frames.

#include "common/CLinkedList.h"
#include "editor/CStoredFrame.h"

#include <vector>

class CFrameSequence {
public:
    CFrameSequence() = default;
    CFrameSequence(const CFrameSequence&) = delete;
    CFrameSequence& operator=(const CFrameSequence&) = delete;

    int Count() const { return int(m_frames.Count()); }
    bool IsEmpty() const { return m_frames.IsEmpty(); }
    int Current() const { return m_current; }
    // Clamped to the frames there are (0 when there are none).
    void SetCurrent(int index);

    // The frame at `index`, null outside 0..Count() - 1.
    const CStoredFrame* At(int index) const;
    // The frames in order (for walking them without the list).
    std::vector<const CStoredFrame*> Frames() const;
    // The same as shared references, for a change that keeps some of them.
    std::vector<FrameRef> Refs() const;
    FrameRef Ref(int index) const;

    // Inserts before position `position` (Count() appends). The current
    // index is left to the caller.
    void Insert(int position, FrameRef frame);
    // Takes the frame at `position` out; the current index is left to the caller.
    FrameRef Remove(int position);
    // Puts `frame` at `position` and hands back the frame that was there.
    FrameRef Replace(int position, FrameRef frame);
    // Exchanges every frame with `frames` (in order), and the current index
    // with `current`; the new index is clamped.
    void Exchange(std::vector<FrameRef>& frames, int& current);
    void Clear();

private:
    CLinkedList<FrameRef> m_frames;
    int m_current = 0;
};
