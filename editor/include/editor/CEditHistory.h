#pragma once
// CEditHistory: the undo and redo steps of a document, each a command. It
// is bounded by the memory its steps keep alive (the frames only they still
// hold) and by a number of steps; the oldest steps go first, but the newest
// always stays, so the last change can be undone. (That step holds at most
// what the document itself held a moment before.)
//
// It also knows the saved point, so a document undone or redone back to the
// state it was saved in is clean again; a saved state that can no longer be
// reached (dropped as too old, or on a redo branch that a new change cut
// off) leaves the document modified until the next save.

#include "editor/CEditCommand.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>

class CCommandGroup;
class CFrameSequence;

class CEditHistory {
public:
    static constexpr size_t kDefaultMaxBytes = size_t(128) << 20;
    static constexpr size_t kDefaultMaxSteps = 500;
    // What one step costs besides its frames, so that steps holding no frames
    // are still bounded by memory.
    static constexpr size_t kStepOverhead = 256;

    CEditHistory();
    ~CEditHistory();
    CEditHistory(const CEditHistory&) = delete;
    CEditHistory& operator=(const CEditHistory&) = delete;

    // Applies to the next change (a smaller bound is felt then). At least one step.
    void SetLimits(size_t maxBytes, size_t maxSteps);

    // Executes the command on `frames` and records it as the newest step
    // (or as part of the open group), dropping every redo step.
    void Perform(std::unique_ptr<CEditCommand> command, CFrameSequence& frames);

    // Commands performed between BeginGroup and the matching EndGroup make
    // one step named `name`. Groups nest; the outermost names the step. A
    // group with no commands leaves no step.
    void BeginGroup(const std::string& name);
    void EndGroup(CFrameSequence& frames);
    // Takes back every change of the open group (all its levels) and closes
    // it, leaving no step: an operation that failed half-way.
    void CancelGroup(CFrameSequence& frames);
    bool InGroup() const { return m_groupDepth > 0; }

    bool CanUndo() const { return !InGroup() && m_done > 0; }
    bool CanRedo() const { return !InGroup() && m_done < m_steps.size(); }
    // The name of the step Undo (Redo) would take, empty when there is none.
    std::string UndoName() const;
    std::string RedoName() const;
    bool Undo(CFrameSequence& frames);
    bool Redo(CFrameSequence& frames);

    // Forgets every step; the present state becomes the saved one.
    void Clear();
    void MarkSaved();
    bool IsAtSavedPoint() const;

    size_t StepCount() const { return m_steps.size(); }
    size_t UndoCount() const { return m_done; }
    // Bytes kept alive by the steps beyond the frames `frames` holds.
    size_t HeldBytes(const CFrameSequence& frames) const;

private:
    void Record(std::unique_ptr<CEditCommand> command, CFrameSequence& frames);
    void Trim(const CFrameSequence& frames);
    void DropOldest();

    std::deque<std::unique_ptr<CEditCommand>> m_steps;
    size_t m_done = 0;      // steps 0 .. m_done - 1 are applied
    uint64_t m_dropped = 0; // steps dropped from the front so far
    // The saved state as a count of applied steps since the start (including
    // dropped ones); kNeverSaved when it cannot be reached.
    static constexpr uint64_t kNeverSaved = UINT64_MAX;
    uint64_t m_saved = 0;
    size_t m_maxBytes = kDefaultMaxBytes;
    size_t m_maxSteps = kDefaultMaxSteps;
    std::unique_ptr<CCommandGroup> m_group;
    int m_groupDepth = 0;
};
